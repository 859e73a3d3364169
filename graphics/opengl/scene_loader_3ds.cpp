#include "graphics/opengl/scene_loader_3ds.h"

#include <cstdio>
#include <utility>

#include "graphics/formats/chunk_reader_3ds.h"
#include "graphics/image.h"
#include "graphics/image_cache.h"
#include "graphics/mesh_builder_3ds.h"
#include "graphics/opengl/scene.h"
#include "graphics/opengl/scene_builder_3ds.h"
#include "graphics/opengl/texture_manager.h"
#include "manager/exceptions.h"

namespace demo {

namespace {

class ManagerTextures final : public SceneTextures3DS {
  public:
    // `file` names the 3DS file in the notes.
    explicit ManagerTextures(std::string file = {}) : file_(std::move(file)) {}

    void material(const std::string& materialName, const std::string& mapFile) override {
        Image* image = nullptr;
        try {
            image = ImageCache::instance()->get(mapFile);
        } catch (const ResourceMissing&) {
        }
        if (image == nullptr) {
            // The show plays on without the map: say so, or the faces'
            // stand-in texture would go unexplained.
            const std::string& failure = ImageCache::instance()->lastFailure();
            const std::string why =
                failure.empty() ? "not found" : "could not be decoded (" + failure + ")";
            std::printf("%s%smaterial '%s': texture map '%s' %s.\n", file_.c_str(),
                        file_.empty() ? "" : ": ", materialName.c_str(), mapFile.c_str(),
                        why.c_str());
            std::fflush(stdout);
            return;
        }
        const TextureParams params{kFilterBilinear, kTextureMipmap, GL_REPEAT, GL_REPEAT, GL_REPEAT};
        Texture* texture = nullptr;
        try {
            texture = new Texture2D(materialName, image, params);
        } catch (...) {
            ImageCache::instance()->release(image);
            throw;
        }
        texture->images.clear();  // the pixels are uploaded; the image goes
        ImageCache::instance()->release(image);
        TextureManager::instance()->enter(texture);
        // Only the meshes that use it hold it: the last one frees it, and a
        // later material of its name frees it when no mesh took it.
        --texture->referenceCount;
    }

    Texture* faceTexture(const std::string& materialName) override {
        TextureManager* manager = TextureManager::instance();
        try {
            return manager->get(materialName);
        } catch (const ExceptionBase&) {
            return manager->get("Default");
        }
    }

    Release textureRelease() const override { return releaseTexture; }

  private:
    std::string file_;
    static void releaseTexture(Texture* texture) { TextureManager::instance()->release(texture); }
};

}  // namespace

void buildMaterial3DS(const Chunk3DS& material) {
    ManagerTextures textures;
    buildMaterial3DS(material, textures);
}

bool collectFaceTextures3DS(const Chunk3DS& objBlock, std::vector<Texture*>& textures) {
    ManagerTextures manager;
    const std::vector<std::string> names = faceMaterials3DS(objBlock);
    for (const std::string& name : names) textures.push_back(manager.faceTexture(name));
    return !names.empty();
}

std::unique_ptr<Scene> buildScene3DS(const std::string& fileName) {
    std::unique_ptr<Chunk3DS> root = loadChunkFile3DS(fileName);
    if (root == nullptr) return nullptr;
    ManagerTextures textures(fileName);
    try {
        return buildScene3DS(*root, fileName, &textures);
    } catch (const BinaryReaderException& e) {
        throw BinaryReaderException(fileName + ": " + e.message(), e.sourceFile(), e.sourceLine());
    } catch (const ExceptionBase& e) {
        throw ExceptionBase(fileName + ": " + e.message(), e.sourceFile(), e.sourceLine());
    }
}

}  // namespace demo
