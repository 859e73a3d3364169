#include "graphics/opengl/texture.h"

#include <GL/glext.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "graphics/image.h"
#include "graphics/image_cache.h"
#include "graphics/opengl/glh_extensions.h"
#include "manager/exceptions.h"

namespace demo {

namespace {

constexpr const char* kTextureUnit = "graphics/opengl/texture";
constexpr int kUnequalLayersLine = 276;
constexpr int kNoLayersLine = 268;
constexpr int kUnsupportedLine = 94;
constexpr int kMissingImageLine = 101;
constexpr int kCubeFacesLine = 341;
constexpr int kTooLongLine = 158;
constexpr int kTooLargeLine = 160;
constexpr int kNoMemoryLine = 166;

// The driver must have the extension before anything is sent: on some
// drivers unresolved entry points are stubs rather than null.
void requireSupport(bool supported, const char* kind) {
    if (!supported) {
        throwTextureException(std::string(kind) + " textures not supported by the driver",
                              kUnsupportedLine);
    }
}

bool compressionSupported() {
    probeExtensions();
    return probe::glCompressedTexImage1DARB != nullptr &&
           probe::glCompressedTexImage2DARB != nullptr &&
           probe::glGetCompressedTexImageARB != nullptr;
}

Image* requireImage(Image* image, const std::string& name) {
    if (image == nullptr)
        throwTextureException("texture image not found: " + name, kMissingImageLine);
    return image;
}

void setWrap(GLenum target, GLenum parameter, int wrap) {
    glTexParameteri(target, parameter, wrap);
}

// After the driver compressed level 0, reads it back and sends it again
// as compressed data. Drivers without a compressed format for the request
// keep it uncompressed; then there is nothing to read back.
// Its size is the builder's, which scales to powers of two.
struct CompressedLevel {
    GLint internalFormat = 0;
    GLint width = 0;
    GLint height = 0;
    std::vector<unsigned char> data;
};

bool readCompressedLevel(GLenum target, CompressedLevel& level) {
    GLint compressed = 0;
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_COMPRESSED_ARB, &compressed);
    if (compressed == 0) return false;
    GLint size = 0;
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_INTERNAL_FORMAT, &level.internalFormat);
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_WIDTH, &level.width);
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_HEIGHT, &level.height);
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_COMPRESSED_IMAGE_SIZE_ARB, &size);
    if (size <= 0) return false;
    level.data.resize(static_cast<std::size_t>(size));
    probe::glGetCompressedTexImageARB(target, 0, level.data.data());
    return true;
}

// The driver's largest side for `limit`. A driver that names none is held to
// the largest side a JPEG may have.
GLint driverLimit(GLenum limit) {
    GLint largest = 0;
    glGetIntegerv(limit, &largest);
    if (largest > 0) return largest;
    glGetError();
    return 16384;
}

// "<kind> texture too large: <name> (<sides>; <why>)".
[[noreturn]] void throwTooLarge(const std::string& name, const char* kind,
                                const std::vector<int>& sides, const std::string& why,
                                int line) {
    std::string size;
    for (int side : sides) size += (size.empty() ? "" : "x") + std::to_string(side);
    throwTextureException(
        std::string(kind) + " texture too large: " + name + " (" + size + "; " + why + ")", line);
}

// Bounded, as a driver without a context may answer with an error each time.
void clearGLErrors() {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

}  // namespace

void requireTextureFits(const std::string& name, const char* kind, std::initializer_list<int> sides,
                        GLenum limit) {
    const GLint largest = driverLimit(limit);
    for (int side : sides) {
        if (side > largest) {
            throwTooLarge(name, kind, sides, "the driver holds " + std::to_string(largest),
                          kTooLargeLine);
        }
    }
}

void throwTextureException(const std::string& message, int line) {
    throw TextureException(message, kTextureUnit, line);
}

GLenum imagePixelFormat(const Image& image) {
    switch (image.bytesPerPixel) {
        case 1:
            return GL_LUMINANCE;
        case 3:
            return GL_RGB;
        default:
            return GL_RGBA;
    }
}

TextureHandle::~TextureHandle() {
    if (created) glDeleteTextures(1, &id);
    created = false;
}

Texture::Texture(std::string name, const TextureParams& params)
    : name(std::move(name)),
      filter(params.filter),
      flags(params.flags),
      wrapS(params.wrapS),
      wrapT(params.wrapT),
      wrapR(params.wrapR) {}

Texture::Texture(std::string name, const TextureParams& params, GLenum target)
    : Texture(std::move(name), params) {
    handle = std::make_unique<TextureHandle>(target);
}

Texture::~Texture() {
    if (!releasesImages) return;
    for (Image* image : images) ImageCache::instance()->release(image);
}

void Texture::bind() {
    if (!handle) return;
    if (!handle->created) {
        glGenTextures(1, &handle->id);
        handle->created = true;
    }
    glBindTexture(handle->target, handle->id);
}

// Past the proxy, only the error flag tells that the driver had no memory:
// the proxy may have accepted the size, and the level may still report it. Any other error
// means the texels were not taken either. A refused texture leaves neither
// its half-made GL texture nor the error. Each upload starts by clearing the
// errors of earlier calls, so that those read here are its own.
void Texture::sendChecked(const char* kind, std::initializer_list<int> sides,
                          const std::function<void()>& send) {
    send();
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR) return;
    clearGLErrors();
    handle = std::make_unique<TextureHandle>(handle->target);
    if (error == GL_OUT_OF_MEMORY)
        throwTooLarge(name, kind, sides, "the driver has no memory for it", kNoMemoryLine);
    char code[16];
    std::snprintf(code, sizeof code, "0x%04x", error);
    throwTextureException(
        std::string(kind) + " texture refused by the driver: " + name + " (GL error " + code + ")",
        kNoMemoryLine);
}

// The size limit alone does not tell what the driver holds: six large cube
// faces may each be within it and still outgrow its memory. Asking the proxy
// refuses such a texture without the GL_OUT_OF_MEMORY that sending it raises.
void Texture::requireDriverRoom(const char* kind, GLenum proxy, int width, int height, int depth) {
    if (proxy == GL_PROXY_TEXTURE_3D) {
        probe::glTexImage3DEXT(proxy, 0, GL_RGBA8, width, height, depth, 0, GL_RGBA,
                               GL_UNSIGNED_BYTE, nullptr);
    } else if (proxy == GL_PROXY_TEXTURE_1D) {
        glTexImage1D(proxy, 0, GL_RGBA8, width, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    } else {
        glTexImage2D(proxy, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    }
    GLint taken = 0;
    glGetTexLevelParameteriv(proxy, 0, GL_TEXTURE_WIDTH, &taken);
    if (taken != 0) return;
    std::vector<int> sides{width};  // named as the side limits name them
    if (proxy != GL_PROXY_TEXTURE_1D && proxy != GL_PROXY_TEXTURE_CUBE_MAP_ARB)
        sides.push_back(height);
    if (proxy == GL_PROXY_TEXTURE_3D) sides.push_back(depth);
    throwTooLarge(name, kind, sides, "the driver has no memory for it", kNoMemoryLine);
}

bool Texture::wantsMipmaps() const {
    return (flags & kTextureMipmap) != 0 || filter == kFilterTrilinear;
}

void Texture::applyFilter() {
    bool mipmap = (flags & kTextureMipmap) != 0;
    GLint minFilter = GL_LINEAR_MIPMAP_LINEAR;
    GLint magFilter = GL_LINEAR;
    if (filter == kFilterNearest) {
        minFilter = mipmap ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST;
        magFilter = GL_NEAREST;
    } else if (filter == kFilterBilinear) {
        minFilter = mipmap ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR;
    }
    glTexParameteri(target(), GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(target(), GL_TEXTURE_MAG_FILTER, magFilter);
}

// ---- 1-D

Texture1D::Texture1D(std::string name, Image* image, const TextureParams& params)
    : Texture(std::move(name), params, GL_TEXTURE_1D) {
    images.push_back(requireImage(image, this->name));
    if ((flags & kTextureCompress) != 0) requireSupport(compressionSupported(), "compressed");
    upload();
}

void Texture1D::upload() {
    if (images.empty()) return;
    clearGLErrors();
    if ((flags & kTextureCompress) != 0) {
        uploadCompressed();
    } else {
        uploadPlain();
    }
}

void Texture1D::uploadPlain() {
    const Image& image = *images.front();
    GLint length = image.width * image.height;
    const GLint limit = driverLimit(GL_MAX_TEXTURE_SIZE);
    // GL would refuse it with an error; the mipmap builder scales it down
    // to fit instead, so only it may see so long a row.
    bool fits = length <= limit;
    if (!fits && !wantsMipmaps()) {
        std::printf("%s: 1d texture too long\n", image.name.c_str());
        std::fflush(stdout);
        throwTextureException("1d texture too long: " + name + " (" + std::to_string(length) +
                                  " texels; the driver holds " + std::to_string(limit) + ")",
                              kTooLongLine);
    }
    bool normalMap = (flags & kTextureNormalMap) != 0;
    GLenum format = imagePixelFormat(image);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    bind();
    setWrap(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, wrapS);
    if (fits) {
        requireDriverRoom("1d", GL_PROXY_TEXTURE_1D, length);
        sendChecked("1d", {length}, [&] {
            glTexImage1D(GL_TEXTURE_1D, 0, normalMap ? GL_RGB8 : GL_RGBA8, length, 0, format,
                         GL_UNSIGNED_BYTE, image.pixels);
        });
    }
    if (wantsMipmaps()) {
        sendChecked("1d", {length}, [&] {
            gluBuild1DMipmaps(GL_TEXTURE_1D, normalMap ? GL_RGB : GL_RGBA, length, format,
                              GL_UNSIGNED_BYTE, image.pixels);
        });
    }
    applyFilter();
}

void Texture1D::uploadCompressed() {
    const Image& image = *images.front();
    GLint length = image.width * image.height;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    bind();
    setWrap(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, wrapS);
    sendChecked("1d", {length}, [&] {
        gluBuild1DMipmaps(GL_TEXTURE_1D, GL_COMPRESSED_RGBA_ARB, length, imagePixelFormat(image),
                          GL_UNSIGNED_BYTE, image.pixels);
    });
    CompressedLevel level;
    if (readCompressedLevel(GL_TEXTURE_1D, level)) {
        bind();
        setWrap(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, wrapS);
        sendChecked("1d", {length}, [&] {
            probe::glCompressedTexImage1DARB(GL_TEXTURE_1D, 0, level.internalFormat, level.width, 0,
                                             static_cast<GLsizei>(level.data.size()),
                                             level.data.data());
        });
    }
    applyFilter();
}

// ---- 2-D

Texture2D::Texture2D(std::string name, Image* image, const TextureParams& params)
    : Texture(std::move(name), params, GL_TEXTURE_2D) {
    images.push_back(requireImage(image, this->name));
    if ((flags & kTextureCompress) != 0) requireSupport(compressionSupported(), "compressed");
    upload();
}

void Texture2D::upload() {
    if (images.empty()) return;
    clearGLErrors();
    if ((flags & kTextureCompress) != 0) {
        uploadCompressed();
    } else {
        uploadPlain();
    }
}

void Texture2D::uploadPlain() {
    const Image& image = *images.front();
    // A normal map keeps three channels whatever the image holds: JPEG
    // images are RGBA, and reading them as packed RGB would shear them.
    bool normalMap = (flags & kTextureNormalMap) != 0;
    GLenum format = imagePixelFormat(image);
    // As for 1-D: what the driver cannot hold only the mipmap builder sees.
    const GLint limit = driverLimit(GL_MAX_TEXTURE_SIZE);
    const bool fits = image.width <= limit && image.height <= limit;
    if (!fits && !wantsMipmaps())
        requireTextureFits(name, "2d", {image.width, image.height}, GL_MAX_TEXTURE_SIZE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    bind();
    setWrap(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
    setWrap(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);
    static const GLfloat white[4] = {1, 1, 1, 1};
    static const GLfloat black[4] = {0, 0, 0, 0};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, white);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0.0f);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
    if (fits) {
        requireDriverRoom("2d", GL_PROXY_TEXTURE_2D, image.width, image.height);
        sendChecked("2d", {image.width, image.height}, [&] {
            glTexImage2D(GL_TEXTURE_2D, 0, normalMap ? GL_RGB8 : GL_RGBA8, image.width,
                         image.height, 0, format, GL_UNSIGNED_BYTE, image.pixels);
        });
    }
    if (wantsMipmaps()) {
        sendChecked("2d", {image.width, image.height}, [&] {
            gluBuild2DMipmaps(GL_TEXTURE_2D, normalMap ? GL_RGB : GL_RGBA, image.width,
                              image.height, format, GL_UNSIGNED_BYTE, image.pixels);
        });
    }
    applyFilter();
}

// Keeps the driver's default filters, as no filter is set here.
void Texture2D::uploadCompressed() {
    const Image& image = *images.front();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    bind();
    setWrap(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
    setWrap(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);
    sendChecked("2d", {image.width, image.height}, [&] {
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_COMPRESSED_RGBA_ARB, image.width, image.height,
                          imagePixelFormat(image), GL_UNSIGNED_BYTE, image.pixels);
    });
    CompressedLevel level;
    if (!readCompressedLevel(GL_TEXTURE_2D, level)) return;
    bind();
    setWrap(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
    setWrap(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);
    sendChecked("2d", {image.width, image.height}, [&] {
        probe::glCompressedTexImage2DARB(GL_TEXTURE_2D, 0, level.internalFormat, level.width,
                                         level.height, 0, static_cast<GLsizei>(level.data.size()),
                                         level.data.data());
    });
}

// ---- 3-D

Texture3D::Texture3D(std::string name, const std::vector<Image*>& layers,
                     const TextureParams& params)
    : Texture(std::move(name), params, GL_TEXTURE_3D) {
    if (layers.empty()) throwTextureException("zero 3d-texture layers given", kNoLayersLine);
    for (Image* layer : layers) images.push_back(requireImage(layer, this->name));
    const Image& first = *images.front();
    for (const Image* layer : images) {
        if (layer->width != first.width || layer->height != first.height ||
            layer->bytesPerPixel != first.bytesPerPixel) {
            throwTextureException("3d-texture layers are not all of the same size",
                                  kUnequalLayersLine);
        }
    }
    std::size_t layerBytes = first.byteCount();
    probeExtensions();
    requireSupport(probe::glTexImage3DEXT != nullptr, "3d");
    requireTextureFits(this->name, "3d",
                       {first.width, first.height, static_cast<int>(images.size())},
                       GL_MAX_3D_TEXTURE_SIZE);
    // Before the layers are copied: within the side limit they may still
    // come to gigabytes that the driver would refuse anyway. Their size never
    // changes, so upload() need not ask again.
    requireDriverRoom("3d", GL_PROXY_TEXTURE_3D, first.width, first.height,
                      static_cast<int>(images.size()));
    layers_.reserve(layerBytes * images.size());
    for (const Image* layer : images) {
        layers_.insert(layers_.end(), layer->pixels, layer->pixels + layerBytes);
    }
    upload();
}

void Texture3D::upload() {
    if (images.empty()) return;
    clearGLErrors();
    const Image& first = *images.front();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    bind();
    setWrap(GL_TEXTURE_3D, GL_TEXTURE_WRAP_S, wrapS);
    setWrap(GL_TEXTURE_3D, GL_TEXTURE_WRAP_T, wrapT);
    setWrap(GL_TEXTURE_3D, GL_TEXTURE_WRAP_R, wrapR);
    const GLsizei depth = static_cast<GLsizei>(images.size());
    sendChecked("3d", {first.width, first.height, depth}, [&] {
        probe::glTexImage3DEXT(GL_TEXTURE_3D, 0, GL_RGBA8, first.width, first.height, depth, 0,
                               imagePixelFormat(first), GL_UNSIGNED_BYTE, layers_.data());
    });
    // The min filter of "trilinear" and "mipmap" samples the smaller levels.
    if (wantsMipmaps()) {
        sendChecked("3d", {first.width, first.height, depth}, [&] {
            gluBuild3DMipmaps(GL_TEXTURE_3D, GL_RGBA, first.width, first.height, depth,
                              imagePixelFormat(first), GL_UNSIGNED_BYTE, layers_.data());
        });
    }
    applyFilter();
}

// ---- cube

namespace {

constexpr GLenum kCubeFaces[6] = {
    GL_TEXTURE_CUBE_MAP_POSITIVE_Z_ARB, GL_TEXTURE_CUBE_MAP_POSITIVE_Y_ARB,
    GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z_ARB,
    GL_TEXTURE_CUBE_MAP_NEGATIVE_Y_ARB, GL_TEXTURE_CUBE_MAP_NEGATIVE_X_ARB,
};

}  // namespace

TextureCube::TextureCube(std::string name, Image* const (&faces)[6], const TextureParams& params)
    : Texture(std::move(name), params, GL_TEXTURE_CUBE_MAP_ARB) {
    for (Image* face : faces) images.push_back(requireImage(face, this->name));
    const Image& first = *images.front();
    for (const Image* face : images) {
        if (face->width != first.width || face->height != first.width ||
            face->bytesPerPixel != first.bytesPerPixel) {
            throwTextureException("cubemap faces are not six squares of the same size",
                                  kCubeFacesLine);
        }
    }
    requireSupport(
        extensionListed("GL_ARB_texture_cube_map") || extensionListed("GL_EXT_texture_cube_map"),
        "cube");
    requireTextureFits(this->name, "cube", {first.width}, GL_MAX_CUBE_MAP_TEXTURE_SIZE_ARB);
    upload();
}

void TextureCube::upload() {
    if (images.size() != 6) return;
    clearGLErrors();
    requireDriverRoom("cube", GL_PROXY_TEXTURE_CUBE_MAP_ARB, images.front()->width,
                      images.front()->width);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    bind();
    for (int i = 0; i < 6; ++i) {
        const Image& face = *images[static_cast<std::size_t>(i)];
        sendChecked("cube", {face.width}, [&] {
            glTexImage2D(kCubeFaces[i], 0, GL_RGBA8, face.width, face.height, 0,
                         imagePixelFormat(face), GL_UNSIGNED_BYTE, face.pixels);
        });
    }
    GLint both = filter == kFilterBilinear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_MIN_FILTER, both);
    glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_MAG_FILTER, both);
}

// ---- rectangle

TextureRectangle::TextureRectangle(std::string name, Image* image, const TextureParams& params)
    : Texture(std::move(name), params, GL_TEXTURE_RECTANGLE_NV) {
    images.push_back(requireImage(image, this->name));
    requireSupport(extensionListed("GL_NV_texture_rectangle") ||
                       extensionListed("GL_ARB_texture_rectangle") ||
                       extensionListed("GL_EXT_texture_rectangle"),
                   "rectangle");
    requireTextureFits(this->name, "rectangle", {images.front()->width, images.front()->height},
                       GL_MAX_RECTANGLE_TEXTURE_SIZE_NV);
    upload();
}

void TextureRectangle::upload() {
    if (images.empty()) return;
    const Image& image = *images.front();
    if (wrapS == GL_REPEAT) wrapS = GL_CLAMP;
    if (wrapT == GL_REPEAT) wrapT = GL_CLAMP;
    clearGLErrors();
    requireDriverRoom("rectangle", GL_PROXY_TEXTURE_RECTANGLE_NV, image.width, image.height);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    bind();
    setWrap(GL_TEXTURE_RECTANGLE_NV, GL_TEXTURE_WRAP_S, wrapS);
    setWrap(GL_TEXTURE_RECTANGLE_NV, GL_TEXTURE_WRAP_T, wrapT);
    sendChecked("rectangle", {image.width, image.height}, [&] {
        glTexImage2D(GL_TEXTURE_RECTANGLE_NV, 0, GL_RGBA8, image.width, image.height, 0,
                     imagePixelFormat(image), GL_UNSIGNED_BYTE, image.pixels);
    });
    flags &= ~kTextureMipmap;
    if (filter == kFilterTrilinear) filter = kFilterBilinear;
    applyFilter();
}

}  // namespace demo
