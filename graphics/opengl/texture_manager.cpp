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

constexpr int kWordRepeat = 0;
constexpr int kWordClamp = 1;

int wrapOf(int word, int current) {
    if (word == kWordRepeat) return GL_REPEAT;
    if (word == kWordClamp) return GL_CLAMP;
    return current;
}

int filterOf(int word) { return word < 0 ? kFilterBilinear : word; }

// A word out of a list whose refusal names the word given, not the parameter.
class WordParameter final : public CustomParameter {
  public:
    WordParameter(int& index, const char* const* words) : index_(index), words_(words) {}
    void readParameter(const char*, AsciiReader& reader) override {
        Token value = reader.nextToken();
        std::vector<const char*> names;
        for (const char* const* word = words_; *word != nullptr; ++word) {
            if ((value.kind == TOKEN_STRING || value.kind == TOKEN_QUOTED) && value.text == *word) {
                index_ = static_cast<int>(word - words_);
                return;
            }
            names.push_back(*word);
        }
        throw reader.error(AsciiReader::describeOneOf("values", names, value),
                           source::kOneOfIndexValuesExpected);
    }

  private:
    int& index_;
    const char* const* words_;
};

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

    // A file that no source has is not found; one that is there but gives
    // no image could not be decoded, for the reason the image cache names.
    Image* fetch(const std::string& name) {
        if (name.empty()) throwTextureException("texture image name is empty", kImageNotFoundLine);
        Image* image = nullptr;
        std::string failure;
        try {
            image = ImageCache::instance()->get(name);
            failure = ImageCache::instance()->lastFailure();
        } catch (const ResourceMissing&) {
        }
        if (image == nullptr && failure.empty()) {
            throwTextureException("texture image not found: " + name, kImageNotFoundLine);
        }
        if (image == nullptr) {
            throwTextureException(
                "texture image could not be decoded: " + name + " (" + failure + ")",
                kImageNotFoundLine);
        }
        images_.push_back(image);
        return image;
    }
    // The texture keeps the references for its life (it may upload its
    // images again) and gives them back when it goes.
    Texture* keep(Texture* texture) {
        images_.clear();
        texture->releasesImages = true;
        return texture;
    }

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
        throwTextureException(
            "rectangle texture without \"filename\" needs \"width\" and \"height\" above 0",
            kImageNotFoundLine);
    }
    // Before the blank image is allocated.
    requireTextureFits(name, "rectangle", {definition.width, definition.height},
                       GL_MAX_RECTANGLE_TEXTURE_SIZE_NV);
    auto blank = std::make_unique<Image>(name, definition.width, definition.height, Image::RGBA);
    std::memset(blank->pixels, 0, blank->byteCount());
    return forgetImages(new TextureRectangle(name, blank.get(), params));
}

Texture* makeTexture(int type, const std::string& name, const TextureDefinition& definition) {
    static const char* const kinds[] = {"texture1d", "texture2d"};
    if (type <= 1 && definition.filename.empty()) {
        throwTextureException(std::string(kinds[type]) + " without \"filename\"",
                              kImageNotFoundLine);
    }
    FetchedImages fetched;
    switch (type) {
        case 0: {
            Image* image = fetched.fetch(definition.filename);
            return fetched.keep(new Texture1D(name, image, makeTextureParams(definition)));
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
            return fetched.keep(new Texture3D(name, layers, params));
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
    default_ = forgetImages(new Texture2D("Default", &image, params));
    store("Default", default_);
}

TextureManager::~TextureManager() { releaseCounted(default_); }

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
    // still hold it and release it later. The manager's own reference on
    // "Default" moves to the texture that now has the name.
    Texture* displaced = store(texture->name, texture);
    if (texture->name == "Default" && texture != default_) {
        ++texture->referenceCount;
        --default_->referenceCount;
        default_ = texture;
    }
    if (displaced != nullptr && displaced->referenceCount < 1) delete displaced;
}

Texture* TextureManager::parseTexture(AsciiReader& reader, const std::string& name) {
    static const char* const types[] = {"texture1d", "texture2d", "texture3d",
                                        "cube",      "rectangle", nullptr};
    static const char* const filters[] = {"linear", "bilinear", "trilinear", nullptr};
    static const char* const wraps[] = {"repeat", "clamp", nullptr};
    int type = reader.readOneOf(types);
    TextureDefinition d;
    WordParameter filter(d.filter, filters), wrap(d.wrap, wraps), sWrap(d.sWrap, wraps),
        tWrap(d.tWrap, wraps), rWrap(d.rWrap, wraps);
    ParameterDesc table[] = {
        {"filename", PARAM_STRING, &d.filename, nullptr},
        {"filenames", PARAM_STRING_LIST, &d.filenames, nullptr},
        {"width", PARAM_INT, &d.width, nullptr},
        {"height", PARAM_INT, &d.height, nullptr},
        {"depth", PARAM_INT, &d.depth, nullptr},
        {"filter", PARAM_CUSTOM, static_cast<CustomParameter*>(&filter), nullptr},
        {"wrap", PARAM_CUSTOM, static_cast<CustomParameter*>(&wrap), nullptr},
        {"s-wrap", PARAM_CUSTOM, static_cast<CustomParameter*>(&sWrap), nullptr},
        {"t-wrap", PARAM_CUSTOM, static_cast<CustomParameter*>(&tWrap), nullptr},
        {"r-wrap", PARAM_CUSTOM, static_cast<CustomParameter*>(&rWrap), nullptr},
        {"compress", PARAM_FLAG, &d.compress, nullptr},
        {"mipmap", PARAM_FLAG, &d.mipmap, nullptr},
        {"normalmap", PARAM_FLAG, &d.normalMap, nullptr},
        {nullptr, PARAM_END, nullptr, nullptr},
    };
    // Every kind needs at least an image name or a size from its block.
    reader.expectSymbol('{');
    reader.pushBack(Token{TOKEN_SYMBOL, '{', 0, {}});
    reader.readParameters(table);
    return makeTexture(type, name, d);
}

}  // namespace demo
