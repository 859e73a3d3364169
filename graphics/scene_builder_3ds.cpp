#include "graphics/scene_builder_3ds.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "graphics/camera_model.h"
#include "graphics/light_model.h"
#include "graphics/mesh_builder_3ds.h"
#include "graphics/scene.h"
#include "graphics/scene_object.h"
#include "graphics/track_controller.h"
#include "graphics/vertex_buffer.h"

namespace demo {

namespace id = chunk3ds;

namespace {

constexpr float kDegreesToLeftHandedRadians = -0.0174532924f;
constexpr float kCameraFieldOfView = 45.0f;
constexpr float kCameraAspect = 1.3333334f;

const std::string* nodeName(const Chunk3DS& node) {
    const Chunk3DS* c = node.child(id::kTrackObjName);
    const NodeName3DS* n = c ? c->get<NodeName3DS>() : nullptr;
    return n ? &n->name : nullptr;
}

template <typename T>
const Track3DS<T>* trackOf(const Chunk3DS* node, std::uint32_t trackId) {
    const Chunk3DS* c = node ? node->child(trackId) : nullptr;
    const Track3DS<T>* t = c ? c->get<Track3DS<T>>() : nullptr;
    return t && !t->times.empty() ? t : nullptr;  // a track without keys is absent
}

template <typename T>
void setKeys(AnimatedParam<T>& param, const Track3DS<T>* track) {
    if (track == nullptr) return;
    param.setKeys(std::vector<T>(track->values), std::vector<float>(track->times));
}

}  // namespace

void fillTracks3DS(SceneObject& object, const Chunk3DS& node) {
    const Chunk3DS* pivot = node.child(id::kTrackPivot);
    const Vector3* p = pivot ? pivot->get<Vector3>() : nullptr;
    if (p && object.mesh) {
        std::uint8_t* at = nullptr;
        int stride = 0, count = 0;
        if (VertexBuffer::streamPointer("position", object.mesh->vertices.get(), &at, &stride, &count)) {
            for (int i = 0; i < count; ++i, at += stride) {
                Vector3 v;
                std::memcpy(&v, at, sizeof v);
                v = v - *p;
                std::memcpy(at, &v, sizeof v);
            }
        }
    }
    if (object.trackController == nullptr) return;
    TrackController& controller = *object.trackController;
    setKeys(controller.position, trackOf<Vector3>(&node, id::kTrackPos));
    if (const auto* rotate = trackOf<Quaternion>(&node, id::kTrackRotate)) {
        std::vector<float> numbers(rotate->times.size());
        for (std::size_t i = 0; i < numbers.size(); ++i) numbers[i] = static_cast<float>(i);
        if (controller.rotationIndex.setKeys(std::move(numbers), std::vector<float>(rotate->times))) {
            controller.rotationKeys = rotate->values;
        }
    }
    setKeys(controller.scale, trackOf<Vector3>(&node, id::kTrackScale));
}

void buildMaterial3DS(const Chunk3DS& material, SceneTextures3DS& textures) {
    const Chunk3DS* texture = material.child(id::kTexture);
    const Chunk3DS* file = texture ? texture->child(id::kMapFile) : nullptr;
    const Chunk3DS* name = material.child(id::kMatName);
    const std::string* map = file ? file->get<std::string>() : nullptr;
    if (!map || map->empty() || !name || !name->get<std::string>()) return;
    std::string lower = *map;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    textures.material(*name->get<std::string>(), lower);
}

namespace {

class Builder {
  public:
    Builder(Chunk3DS& root, Scene& scene, SceneTextures3DS* textures)
        : root_(root), scene_(scene), textures_(textures) {}

    void build(Chunk3DS& objMesh) {
        for (const Chunk3DS& c : objMesh.children) {
            if (c.id == id::kMaterial) material(c);
        }
        for (Chunk3DS& c : objMesh.children) {
            if (c.id != id::kObjBlock || c.children.empty()) continue;
            const std::string* name = c.get<std::string>();
            switch (c.children.front().id) {
                case id::kTriMesh: meshObject(*name, c); break;
                case id::kLight: light(*name, c.children.front()); break;
                case id::kCamera: camera(*name, c.children.front()); break;
                default: break;
            }
        }
        if (const Chunk3DS* keyframer = root_.child(id::kKeyframer)) hierarchy(*keyframer);
    }

  private:
    struct Placed {
        SceneObject* object;
        bool matched = false;  // claimed by a key-framer node
    };

    void material(const Chunk3DS& m) {
        if (textures_) buildMaterial3DS(m, *textures_);
    }

    void meshObject(const std::string& name, Chunk3DS& block) {
        auto owned = std::make_unique<SceneObject>(name);
        SceneObject& object = *owned;
        const Chunk3DS* node = findKeyframerNode(root_, id::kTrackInfo, name);
        if (buildMesh3DS(object, block, node != nullptr)) {
            if (textures_) {
                object.mesh->releaseTexture = textures_->textureRelease();
                for (const std::string& m : faceMaterials3DS(block)) {
                    object.mesh->textures.push_back(textures_->faceTexture(m));
                }
            }
        } else {
            std::printf("3DS object '%s' has no vertex or face list: it is kept without a mesh.\n",
                        name.c_str());
        }
        scene_.addObject(std::move(owned));
        placed_.push_back({&object});
        if (node) animate(object, *node);
    }

    void animate(SceneObject& object, const Chunk3DS& node) {
        object.trackController = std::make_shared<TrackController>();
        fillTracks3DS(object, node);
    }

    void light(const std::string& name, const Chunk3DS& chunk) {
        const Chunk3DS* colour = chunk.child(id::kRgbF);
        const Vector3 k = colour ? *colour->get<Vector3>() : Vector3{0, 0, 0};
        const Chunk3DS* spot = chunk.child(id::kSpotlight);
        const Rgb rgb{k.x, k.y, k.z};
        auto light = std::make_unique<LightModel>(name, Rgb{0, 0, 0}, rgb, rgb, Rgb{1, 0, 0}, spot != nullptr);
        light->transform.setPosition(*chunk.get<Vector3>());
        if (spot) light->transform.lookAt(spot->get<Spotlight3DS>()->target, 0.0f);
        light->transform.updateMatrices();
        LightModel& l = *scene_.addLight(std::move(light));
        if (!spot) {
            if (const Chunk3DS* node = findKeyframerNode(root_, id::kTrackLight, name)) {
                l.newTrackController();
                setKeys(l.trackController->position, trackOf<Vector3>(node, id::kTrackPos));
            }
            return;
        }
        const Chunk3DS* body = findKeyframerNode(root_, id::kTrackSpotL, name);
        const Chunk3DS* target = findKeyframerNode(root_, id::kTrackLightTgt, name);
        if (!body && !target) return;
        l.newTrackController();
        setKeys(l.trackController->position, trackOf<Vector3>(body, id::kTrackPos));
        setKeys(l.target, trackOf<Vector3>(target, id::kTrackPos));
    }

    void camera(const std::string& name, const Chunk3DS& chunk) {
        const Camera3DS& c = *chunk.get<Camera3DS>();
        auto camera = std::make_unique<CameraModel>(name, kCameraFieldOfView, kCameraAspect);
        camera->transform.setPosition(c.position);
        camera->transform.up = Vector3{0, 0, -1};
        camera->transform.lookAt(c.target, 0.0f);
        camera->transform.updateMatrices();
        CameraModel& cam = *scene_.addCamera(std::move(camera));
        const Chunk3DS* body = findKeyframerNode(root_, id::kTrackCamera, name);
        const Chunk3DS* target = findKeyframerNode(root_, id::kTrackCamTgt, name);
        if (!body && !target) return;
        cam.newTrackController();
        setKeys(cam.trackController->position, trackOf<Vector3>(body, id::kTrackPos));
        if (const auto* roll = trackOf<float>(body, id::kTrackRoll)) {
            std::vector<float> radians(roll->values);
            for (float& r : radians) r *= kDegreesToLeftHandedRadians;
            cam.roll.setKeys(std::move(radians), std::vector<float>(roll->times));
        }
        setKeys(cam.target, trackOf<Vector3>(target, id::kTrackPos));
    }

    // Key-framer nodes B002-B007 are numbered 0, 1, 2, ... in file order and
    // parents are named by that number. Each object node claims the first
    // placed object of its name not yet claimed; links are made once every
    // node is known, and a link that would close a cycle is dropped.
    void hierarchy(const Chunk3DS& keyframer) {
        std::vector<SceneObject*> byNumber;
        std::vector<std::pair<SceneObject*, int>> links;
        int dummies = 0;
        for (const Chunk3DS& node : keyframer.children) {
            if (node.id < id::kTrackInfo || node.id > id::kTrackSpotL) continue;
            SceneObject* object = nullptr;
            const Chunk3DS* named = node.child(id::kTrackObjName);
            const NodeName3DS* n = named ? named->get<NodeName3DS>() : nullptr;
            if (node.id == id::kTrackInfo && n) {
                object = n->name == "$$$DUMMY" ? dummy(node, dummies++) : claim(n->name);
                if (object) links.emplace_back(object, n->parent);
            }
            byNumber.push_back(object);
        }
        for (auto [object, parentNumber] : links) {
            if (parentNumber < 0 || parentNumber >= static_cast<int>(byNumber.size())) continue;
            SceneObject* parent = byNumber[static_cast<std::size_t>(parentNumber)];
            if (parent == nullptr || object->parent != nullptr || isAncestor(object, parent)) continue;
            parent->addChild(object);
        }
    }

    SceneObject* dummy(const Chunk3DS& node, int number) {
        SceneObject* object = scene_.addObject(std::make_unique<SceneObject>("DUMMY" + std::to_string(number)));
        placed_.push_back({object, true});
        animate(*object, node);
        return object;
    }

    SceneObject* claim(const std::string& name) {
        for (Placed& p : placed_) {
            if (!p.matched && p.object->name == name) {
                p.matched = true;
                return p.object;
            }
        }
        return nullptr;
    }

    static bool isAncestor(const SceneObject* object, const SceneObject* of) {
        for (const SceneObject* at = of; at != nullptr; at = at->parent) {
            if (at == object) return true;
        }
        return false;
    }

    Chunk3DS& root_;
    Scene& scene_;
    SceneTextures3DS* textures_;
    std::vector<Placed> placed_;
};

}  // namespace

const Chunk3DS* findKeyframerNode(const Chunk3DS& root, std::uint32_t nodeId, const std::string& name) {
    const Chunk3DS* keyframer = root.child(id::kKeyframer);
    if (keyframer == nullptr) return nullptr;
    for (const Chunk3DS& node : keyframer->children) {
        if (node.id != nodeId) continue;
        const std::string* n = nodeName(node);
        if (n && *n == name) return &node;
    }
    return nullptr;
}

std::unique_ptr<Scene> buildScene3DS(Chunk3DS& root, const std::string& name,
                                     SceneTextures3DS* textures) {
    Chunk3DS* objMesh = root.child(id::kObjMesh);
    if (objMesh == nullptr) return nullptr;
    auto scene = std::make_unique<Scene>(name);
    Builder(root, *scene, textures).build(*objMesh);
    return scene;
}

}  // namespace demo
