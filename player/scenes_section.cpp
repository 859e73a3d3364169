#include "player/scenes_section.h"

#include <string>

#include "graphics/scene_manager.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "manager/source_location.h"

namespace demo {

namespace {

constexpr source::Location kSceneRefused{source::kDemoPlayer, 226};

}  // namespace

void readScenesSection(AsciiReader& reader) {
    reader.expectSymbol('{');
    for (;;) {
        Token token = reader.nextToken();
        if (token.isSymbol('}')) return;
        reader.pushBack(token);
        std::string name = reader.readStringOrQuoted();
        Scene* scene = nullptr;
        try {
            scene = SceneManager::instance()->loadTimed(name, reader);
        } catch (const ParseError&) {
            throw;
        } catch (const ExceptionBase& e) {
            throw reader.error(e.message(), kSceneRefused);
        }
        --scene->referenceCount;
    }
}

}  // namespace demo
