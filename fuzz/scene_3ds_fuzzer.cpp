// libFuzzer over the 3DS chunk reader and the scene builder, materials
// included: any input gives a scene, no scene or a format error; never a
// crash, a hang, a huge allocation or a read outside the input or a mesh.

#include <cstddef>
#include <cstdint>
#include <string>

#include "graphics/formats/chunk_reader_3ds.h"
#include "graphics/opengl/scene.h"
#include "graphics/opengl/scene_builder_3ds.h"
#include "graphics/opengl/texture.h"
#include "manager/binary_reader.h"
#include "manager/exceptions.h"

namespace {

// Materials without OpenGL: every face group gets one placeholder texture
// that outlives every scene, so nothing is made per input and nothing leaks.
class PlaceholderTextures final : public demo::SceneTextures3DS {
  public:
    void material(const std::string&, const std::string&) override {}

    demo::Texture* faceTexture(const std::string&) override { return &placeholder_; }

  private:
    demo::Texture placeholder_{"placeholder", demo::TextureParams{}};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static PlaceholderTextures textures;
    try {
        std::unique_ptr<demo::Chunk3DS> root = demo::readChunkTree3DS(data, size);
        if (root) demo::buildScene3DS(*root, "fuzz.3ds", &textures);
    } catch (const demo::ExceptionBase&) {
    }
    try {  // the same bytes as a run of top-level chunks
        demo::BinaryReader in(data, size);
        std::uint32_t length = 0;
        while (in.remaining() > 0) demo::readChunk3DS(in, length);
    } catch (const demo::ExceptionBase&) {
    }
    return 0;
}
