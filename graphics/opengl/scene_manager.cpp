#include "graphics/opengl/scene_manager.h"

#include "graphics/opengl/scene_loader_3ds.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "manager/path_lookup.h"
#include "manager/pending_types.h"

namespace demo {

namespace {

constexpr source::Location kUnknownSceneType{"graphics/scene", 34};
constexpr const char* kLoaderUnit = "graphics/opengl/scene_manager";
constexpr int kNoSceneLine = 20;

Scene* load3DS(const std::string& file) {
    std::unique_ptr<Scene> scene = buildScene3DS(file);
    if (scene == nullptr) {
        throw ExceptionBase(file + ": not a 3DS scene (no main chunk with an object section)",
                            kLoaderUnit, kNoSceneLine);
    }
    return scene.release();
}

}  // namespace

Scene* SceneCreator3DS::create(const std::string&, AsciiReader& reader) {
    return load3DS(reader.readQuotedString());
}

SceneManager* SceneManager::instance() {
    static SceneManager* manager = new SceneManager();
    return manager;
}

SceneManager::SceneManager() { pending.push_back(std::make_unique<SceneCreator3DS>()); }

void SceneManager::addCreator(std::unique_ptr<SceneCreator> creator) {
    pending.push_back(std::move(creator));
}

Scene* SceneManager::create(const std::string& name, AsciiReader& reader) {
    const std::string type = reader.readQuotedString();
    drainPendingTypes(pending, types, [](SceneCreator& creator) { return creator.name(); });
    auto found = types.find(type);
    if (found == types.end())
        throw reader.error("Unknown scene type '" + type + "'.", kUnknownSceneType);
    return found->second->create(name, reader);
}

Scene* SceneManager::loadTimed(const std::string& name, AsciiReader& reader) {
    return keep(timedCreate([&] { return create(name, reader); }));
}

Scene* SceneManager::keep(Scene* scene) {
    if (scene == nullptr) return nullptr;
    if (Scene* displaced = store(scene->name, scene)) {
        if (displaced->refCount < 1) destroy(displaced);
    }
    return scene;
}

Scene* SceneManager::create(const std::string& name) { return createByName(name); }

Scene* SceneManager::createByName(const std::string& name) {
    // get() times this load as well, and steps the progress bar for it. A
    // 3DS file is a scene of its own: a show may ask again for one that it
    // loaded, after its users have let it go.
    if (endsWithIgnoringCase(name, ".3ds"))
        return keep(timedCreate([&] { return load3DS(name); }, false));
    AsciiReader reader(name);
    return keep(timedCreate([&] { return create(name, reader); }, false));
}

}  // namespace demo
