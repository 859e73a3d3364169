#include "player/scenes_section.h"

#include "graphics/opengl/scene_manager.h"
#include "player/named_entries.h"

namespace demo {

void readScenesSection(AsciiReader& reader) {
    readNamedEntries(reader, {source::kDemoPlayer, 226}, [&](const std::string& name) {
        const Token type = reader.nextToken();  // read again by the manager
        reader.pushBack(type);
        Scene* scene = SceneManager::instance()->loadTimed(name, reader);
        if (scene == nullptr) {
            throw ExceptionBase(name + ": the scene type '" + type.text + "' made no scene",
                                source::kDemoPlayer, 226);
        }
        // The manager keeps the scene without a reference of its own.
        --scene->refCount;
    });
}

}  // namespace demo
