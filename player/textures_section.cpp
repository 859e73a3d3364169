#include "player/textures_section.h"

#include "graphics/opengl/texture_manager.h"
#include "player/named_entries.h"

namespace demo {

void readTexturesSection(AsciiReader& reader) {
    readNamedEntries(reader, {source::kDemoPlayer, 214}, [&](const std::string& name) {
        // The manager keeps the texture without a reference of its own.
        --TextureManager::instance()->createTimed(name, reader)->referenceCount;
    });
}

}  // namespace demo
