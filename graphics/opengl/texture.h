#pragma once
// Named, reference-counted OpenGL textures made from images. Every kind
// uploads itself in its constructor, so a constructed texture is ready to
// bind; upload() re-sends the current contents of its images.

#include <GL/gl.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace demo {

class Image;

// Bits of TextureParams::flags.
inline constexpr int kTextureMipmap = 1;
inline constexpr int kTextureCompress = 2;
inline constexpr int kTextureNormalMap = 8;

// Filter codes: the script words "linear", "bilinear", "trilinear".
inline constexpr int kFilterNearest = 0;
inline constexpr int kFilterBilinear = 1;
inline constexpr int kFilterTrilinear = 2;

struct TextureParams {
    int filter = kFilterBilinear;
    int flags = 0;
    int wrapS = GL_REPEAT;  // GL_REPEAT or GL_CLAMP
    int wrapT = GL_REPEAT;
    int wrapR = GL_REPEAT;
};

// The GL name of a texture, generated on the first bind.
class TextureHandle {
  public:
    explicit TextureHandle(GLenum target) : target(target) {}
    virtual ~TextureHandle();
    TextureHandle(const TextureHandle&) = delete;
    TextureHandle& operator=(const TextureHandle&) = delete;

    bool created = false;
    GLenum target;
    GLuint id = 0;
};

class Texture {
  public:
    // A texture of no kind: no handle, type 0, nothing to upload.
    Texture(std::string name, const TextureParams& params);
    virtual ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    virtual int type() const { return 0; }
    virtual void upload() {}
    // Generates the GL name on first use, then binds it.
    virtual void bind();

    GLenum target() const { return handle ? handle->target : 0; }

    std::string name;
    int referenceCount = 1;
    std::unique_ptr<TextureHandle> handle;
    // Not owned; whoever supplied them keeps them alive while upload() may
    // be called. Emptied by owners that release them after construction.
    std::vector<Image*> images;
    // Set when the images hold references of the image cache, which the
    // texture gives back when it goes.
    bool releasesImages = false;
    int filter;
    int flags;
    int wrapS;
    int wrapT;
    int wrapR;

    // Min and mag filter of the bound texture from filter and the mipmap bit.
    void applyFilter();

  protected:
    Texture(std::string name, const TextureParams& params, GLenum target);
    bool wantsMipmaps() const;
    // Runs `send`, which hands texels of the given size to the driver, and
    // refuses the texture when the driver had no memory for them; see there.
    void sendChecked(const char* kind, std::initializer_list<int> sides,
                     const std::function<void()>& send);
    // Refuses the texture when the driver's proxy for it (GL_PROXY_TEXTURE_*)
    // has no room for level 0 of that size, before any texel is sent.
    void requireDriverRoom(const char* kind, GLenum proxy, int width, int height = 1,
                           int depth = 1);
};

class Texture1D : public Texture {
  public:
    // The whole image is one row of width x height texels.
    Texture1D(std::string name, Image* image, const TextureParams& params);
    int type() const override { return 1; }
    void upload() override;

  private:
    void uploadPlain();
    void uploadCompressed();
};

class Texture2D : public Texture {
  public:
    Texture2D(std::string name, Image* image, const TextureParams& params);
    int type() const override { return 2; }
    void upload() override;

  private:
    void uploadPlain();
    void uploadCompressed();
};

class Texture3D : public Texture {
  public:
    // One layer per image, all of one size; their pixels are copied.
    Texture3D(std::string name, const std::vector<Image*>& layers, const TextureParams& params);
    int type() const override { return 3; }
    void upload() override;

    const std::vector<unsigned char>& layers() const { return layers_; }

  private:
    std::vector<unsigned char> layers_;
};

class TextureCube : public Texture {
  public:
    // Faces in the order +Z, +Y, +X, -Z, -Y, -X; six squares of one size.
    TextureCube(std::string name, Image* const (&faces)[6], const TextureParams& params);
    int type() const override { return 4; }
    void upload() override;
};

class TextureRectangle : public Texture {
  public:
    // Always clamped, never mipmapped; "trilinear" acts as "bilinear".
    TextureRectangle(std::string name, Image* image, const TextureParams& params);
    int type() const override { return 5; }
    void upload() override;
};

// The GL pixel format that matches an image's bytes per pixel.
GLenum imagePixelFormat(const Image& image);

// TextureException "<kind> texture too large: <name> (...)" when one of the
// sides exceeds what the driver reports for `limit` (a GL_MAX_* name).
void requireTextureFits(const std::string& name, const char* kind, std::initializer_list<int> sides,
                        GLenum limit);

// Throws TextureException(message) from the texture unit at `line`.
[[noreturn]] void throwTextureException(const std::string& message, int line);

}  // namespace demo
