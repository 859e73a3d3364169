#include "player/scenes_section.h"

#include "graphics/opengl/scene_manager.h"
#include "player/named_entries.h"

namespace demo {

void readScenesSection(AsciiReader& reader) {
    readNamedEntries(reader, {source::kDemoPlayer, 226}, [&](const std::string& name) {
        // The manager keeps the scene without a reference of its own.
        --SceneManager::instance()->loadTimed(name, reader)->referenceCount;
    });
}

}  // namespace demo
