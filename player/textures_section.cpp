#include "player/textures_section.h"

#include <string>

#include "graphics/opengl/texture_manager.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "manager/source_location.h"

namespace demo {

namespace {

constexpr source::Location kTextureRefused{source::kDemoPlayer, 214};

}  // namespace

void readTexturesSection(AsciiReader& reader) {
    reader.expectSymbol('{');
    for (;;) {
        Token token = reader.nextToken();
        if (token.isSymbol('}')) return;
        reader.pushBack(token);
        std::string name = reader.readStringOrQuoted();
        Texture* texture = nullptr;
        try {
            texture = TextureManager::instance()->createTimed(name, reader);
        } catch (const TextureException& e) {
            throw reader.error(e.message(), kTextureRefused);
        }
        --texture->referenceCount;
    }
}

}  // namespace demo
