#pragma once
// The single cache of named textures. A texture definition is a type word
// ("texture1d", "texture2d", "texture3d", "cube", "rectangle") and a
// parameter block; the show script's textures section holds named
// definitions, and a name never declared is read from a file of that name.

#include <string>
#include <vector>

#include "graphics/opengl/texture.h"
#include "manager/resource_cache.h"
#include "manager/singleton.h"

namespace demo {

class AsciiReader;

// The values of one parameter block; -1 marks a word or size not given.
struct TextureDefinition {
    std::string filename;                // 1-D, 2-D, rectangle; cube pattern with "%d"
    std::vector<std::string> filenames;  // 3-D layers, cube faces
    int width = -1;                      // blank rectangle size
    int height = -1;
    int depth = -1;   // accepted, ignored
    int filter = -1;  // "linear", "bilinear", "trilinear"
    int wrap = -1;    // "repeat", "clamp"
    int sWrap = -1;
    int tWrap = -1;
    int rWrap = -1;
    bool compress = false;
    bool mipmap = false;
    bool normalMap = false;
};

TextureParams makeTextureParams(const TextureDefinition& definition);

class TextureManager : public ResourceCache<Texture>, public Singleton {
  public:
    // Made on first use, which needs the OpenGL context: it uploads the
    // clamped, mipmapped, black 256 x 256 "Default".
    static TextureManager* instance();

    // A textures-section entry, the reader placed after its name: timed,
    // stored under the name (replacing, and releasing, an earlier texture
    // of that name) and returned with one reference, the caller's.
    Texture* createTimed(const std::string& name, AsciiReader& reader);

    // Stores a texture made elsewhere under its name, as createTimed does;
    // the texture's reference stays with whoever made it.
    void enter(Texture* texture);

    ~TextureManager() override;  // gives back its reference on "Default"

    // One definition read into a new texture called name. TextureException
    // for a missing image or unusable layers or faces, ParseError for a bad
    // block; images fetched for it are released again on failure.
    Texture* parseTexture(AsciiReader& reader, const std::string& name);

    // The texture defined by the file `name` (the cache's loader on a miss).
    Texture* create(const std::string& name) override;

  private:
    TextureManager();

    // Whichever texture is "Default" now, the built-in one or the latest
    // declaration of that name. The manager holds a reference of its own on
    // it, so that it outlasts its users: the 3DS loader falls back to it for
    // every material without a map, at any time.
    Texture* default_ = nullptr;
};

}  // namespace demo
