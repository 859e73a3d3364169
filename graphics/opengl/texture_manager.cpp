#include "graphics/opengl/texture_manager.h"

#include <cstring>
#include <memory>

#include "graphics/image.h"
#include "graphics/image_cache.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "manager/parameters.h"

namespace demo {

namespace {

constexpr int kImageNotFoundLine = 388;
constexpr int kNoLayersLine = 412;
constexpr int kCubeUndefinedLine = 431;
constexpr int kCubePatternLine = 437;
constexpr int kNoContextLine = 352;
constexpr int kRectangleTooLargeLine = 394;

constexpr int kWordRepeat = 0;
constexpr int kWordClamp = 1;

int wrapOf(int word, int current) {
    if (word == kWordRepeat) return GL_REPEAT;
    if (word == kWordClamp) return GL_CLAMP;
    return current;
}

int filterOf(int word) { return word < 0 ? kFilterBilinear : word; }

// Images fetched from the cache for one definition. Those still listed on
// the way out are released: all of them when the texture could not be made,
// the ones whose pixels the texture has consumed otherwise.
class FetchedImages {
  public:
    FetchedImages() = default;
    FetchedImages(const FetchedImages&) = delete;
    FetchedImages& operator=(const FetchedImages&) = delete;
    ~FetchedImages() {
        for (Image* image : images_) ImageCache::instance()->release(image);
    }

    // A file that no source has is as missing as one of no loadable type.
    Image* fetch(const std::string& name) {
        Image* image = nullptr;
        try {
            image = ImageCache::instance()->get(name);
        } catch (const ResourceMissing&) {
        }
        if (image == nullptr) {
            throwTextureException("texture image not found: " + name, kImageNotFoundLine);
        }
        images_.push_back(image);
        return image;
    }
    // The texture keeps the references (it may upload its images again).
    void keep() { images_.clear(); }

  private:
    std::vector<Image*> images_;
};

// The texture has consumed its images: it must not point at them once
// they are released.
Texture* forgetImages(Texture* texture) {
    texture->images.clear();
    return texture;
}

std::string cubeFaceName(const std::string& pattern, int face) {
    std::size_t at = pattern.find("%d");
    return pattern.substr(0, at) + std::to_string(face + 1) + pattern.substr(at + 2);
}

Texture* makeCube(const std::string& name, const TextureDefinition& definition) {
    TextureParams params = makeTextureParams(definition);
    const std::string& pattern = definition.filename;
    if (pattern.empty() && definition.filenames.size() != 6) {
        throwTextureException("cubemap filename(s) either not defined or invalidly defined",
                              kCubeUndefinedLine);
    }
    if (!pattern.empty() && pattern.find("%d") == std::string::npos) {
        throwTextureException("cubemap texture filename expects \"%d\" in the name",
                              kCubePatternLine);
    }
    FetchedImages fetched;
    Image* faces[6];
    for (int i = 0; i < 6; ++i) {
        faces[i] = fetched.fetch(pattern.empty() ? definition.filenames[static_cast<std::size_t>(i)]
                                                 : cubeFaceName(pattern, i));
    }
    return forgetImages(new TextureCube(name, faces, params));
}

Texture* makeRectangle(const std::string& name, const TextureDefinition& definition) {
    TextureParams params;
    params.filter = filterOf(definition.filter);
    params.flags = params.filter == kFilterTrilinear ? kTextureMipmap : 0;
    if (!definition.filename.empty()) {
        FetchedImages fetched;
        Image* image = fetched.fetch(definition.filename);
        return forgetImages(new TextureRectangle(name, image, params));
    }
    if (definition.width <= 0 || definition.height <= 0) {
        throwTextureException("texture image not found: ", kImageNotFoundLine);
    }
    // A size the driver cannot take would fail the upload silently, or the
    // blank image's allocation loudly.
    GLint largest = 0;
    glGetIntegerv(GL_MAX_RECTANGLE_TEXTURE_SIZE_NV, &largest);
    if (largest <= 0) largest = 16384;
    if (definition.width > largest || definition.height > largest) {
        throwTextureException("rectangle texture too large", kRectangleTooLargeLine);
    }
    auto blank = std::make_unique<Image>(name, definition.width, definition.height, Image::RGBA);
    std::memset(blank->pixels, 0, blank->byteCount());
    return forgetImages(new TextureRectangle(name, blank.get(), params));
}

Texture* makeTexture(int type, const std::string& name, const TextureDefinition& definition) {
    FetchedImages fetched;
    switch (type) {
        case 0: {
            Image* image = fetched.fetch(definition.filename);
            Texture* texture = new Texture1D(name, image, makeTextureParams(definition));
            fetched.keep();
            return texture;
        }
        case 1: {
            Image* image = fetched.fetch(definition.filename);
            return forgetImages(new Texture2D(name, image, makeTextureParams(definition)));
        }
        case 2: {
            if (definition.filenames.empty()) {
                throwTextureException("zero 3d-texture layers given", kNoLayersLine);
            }
            TextureParams params = makeTextureParams(definition);
            std::vector<Image*> layers;
            for (const std::string& layer : definition.filenames) {
                layers.push_back(fetched.fetch(layer));
            }
            Texture* texture = new Texture3D(name, layers, params);
            fetched.keep();
            return texture;
        }
        case 3:
            return makeCube(name, definition);
        default:
            return makeRectangle(name, definition);
    }
}

}  // namespace

TextureParams makeTextureParams(const TextureDefinition& definition) {
    TextureParams params;
    params.filter = filterOf(definition.filter);
    params.wrapS = params.wrapT = definition.wrap == kWordClamp ? GL_CLAMP : GL_REPEAT;
    params.wrapS = wrapOf(definition.sWrap, params.wrapS);
    params.wrapT = wrapOf(definition.tWrap, params.wrapT);
    params.wrapR = wrapOf(definition.rWrap, GL_REPEAT);
    bool mipmap = definition.mipmap || params.filter == kFilterTrilinear;
    params.flags = (mipmap ? kTextureMipmap : 0) | (definition.compress ? kTextureCompress : 0) |
                   (definition.normalMap ? kTextureNormalMap : 0);
    return params;
}

TextureManager* TextureManager::instance() {
    static TextureManager* manager = new TextureManager();
    return manager;
}

TextureManager::TextureManager() {
    // Without a current context every upload below would go nowhere.
    if (glGetString(GL_VERSION) == nullptr) {
        throwTextureException("textures need an OpenGL context", kNoContextLine);
    }
    Image image("Default", 256, 256, Image::RGBA);
    std::memset(image.pixels, 0, image.byteCount());
    TextureParams params{kFilterBilinear, kTextureMipmap, GL_CLAMP, GL_CLAMP, GL_CLAMP};
    store("Default", forgetImages(new Texture2D("Default", &image, params)));
}

Texture* TextureManager::create(const std::string& name) {
    AsciiReader reader(name);
    return parseTexture(reader, name);
}

Texture* TextureManager::createTimed(const std::string& name, AsciiReader& reader) {
    Texture* texture = timedCreate([&] { return parseTexture(reader, name); }, false);
    enter(texture);
    return texture;
}

void TextureManager::enter(Texture* texture) {
    // The earlier texture of this name loses the map; its users, if any,
    // still hold it and release it later.
    if (Texture* displaced = store(texture->name, texture)) {
        if (displaced->referenceCount < 1) delete displaced;
    }
}

Texture* TextureManager::parseTexture(AsciiReader& reader, const std::string& name) {
    static const char* const types[] = {"texture1d", "texture2d", "texture3d",
                                        "cube",      "rectangle", nullptr};
    static const char* const filters[] = {"linear", "bilinear", "trilinear", nullptr};
    static const char* const wraps[] = {"repeat", "clamp", nullptr};
    int type = reader.readOneOf(types);
    TextureDefinition d;
    ParameterDesc table[] = {
        {"filename", PARAM_STRING, &d.filename, nullptr},
        {"filenames", PARAM_STRING_LIST, &d.filenames, nullptr},
        {"width", PARAM_INT, &d.width, nullptr},
        {"height", PARAM_INT, &d.height, nullptr},
        {"depth", PARAM_INT, &d.depth, nullptr},
        {"filter", PARAM_ENUM_INDEX, &d.filter, filters},
        {"wrap", PARAM_ENUM_INDEX, &d.wrap, wraps},
        {"s-wrap", PARAM_ENUM_INDEX, &d.sWrap, wraps},
        {"t-wrap", PARAM_ENUM_INDEX, &d.tWrap, wraps},
        {"r-wrap", PARAM_ENUM_INDEX, &d.rWrap, wraps},
        {"compress", PARAM_FLAG, &d.compress, nullptr},
        {"mipmap", PARAM_FLAG, &d.mipmap, nullptr},
        {"normalmap", PARAM_FLAG, &d.normalMap, nullptr},
        {nullptr, PARAM_END, nullptr, nullptr},
    };
    reader.readParameters(table);
    return makeTexture(type, name, d);
}

}  // namespace demo
