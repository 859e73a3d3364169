#include "graphics/opengl/scene_builder_3ds.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <string_view>
#include <vector>

#include "graphics/mesh_builder_3ds.h"
#include "graphics/opengl/scene.h"
#include "graphics/scene_object.h"
#include "graphics/track_controller.h"
#include "graphics/vertex_buffer.h"

namespace demo {

namespace id = chunk3ds;

namespace {

constexpr float kDegreesToLeftHandedRadians = -0.0174532924f;
constexpr float kCameraFieldOfView = 45.0f;
constexpr float kCameraAspect = 1.3333334f;
constexpr std::string_view kDummyName = "$$$DUMMY";

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

// The keys themselves when `take`, else a copy. Only the builder takes: the
// tree is its own (buildScene3DS gets it mutable) and it takes each node's
// keys once, so nothing reads an array after it has been given away.
template <typename T>
std::vector<T> keysOf(const std::vector<T>& keys, bool take) {
    return take ? std::move(const_cast<std::vector<T>&>(keys)) : keys;
}

template <typename T>
void setKeys(AnimatedParam<T>& param, const Track3DS<T>* track, bool take = false) {
    if (track == nullptr) return;
    param.setKeys(keysOf(track->values, take), keysOf(track->times, take));
}

void fillTracks(SceneObject& object, const Chunk3DS& node, bool take);

}  // namespace

void fillTracks3DS(SceneObject& object, const Chunk3DS& node) { fillTracks(object, node, false); }

namespace {

void fillTracks(SceneObject& object, const Chunk3DS& node, bool take) {
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
    setKeys(controller.position, trackOf<Vector3>(&node, id::kTrackPos), take);
    if (const auto* rotate = trackOf<Quaternion>(&node, id::kTrackRotate)) {
        std::vector<float> numbers(rotate->times.size());
        for (std::size_t i = 0; i < numbers.size(); ++i) numbers[i] = static_cast<float>(i);
        if (controller.rotationIndex.setKeys(std::move(numbers), keysOf(rotate->times, take))) {
            controller.rotationKeys = keysOf(rotate->values, take);
        }
    }
    setKeys(controller.scale, trackOf<Vector3>(&node, id::kTrackScale), take);
}

}  // namespace

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
        : root_(root), scene_(scene), textures_(textures) {
        indexNodes();
    }

    void build(Chunk3DS& objMesh) {
        for (const Chunk3DS& c : objMesh.children) {
            if (c.id == id::kMaterial) material(c);
        }
        countUses(objMesh);
        placed_.reserve(objMesh.children.size());
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
    // A mesh object in placement order. Once every object is placed they are
    // sorted by name (stably), and key-framer nodes claim the objects of a
    // name in placement order: the first of a name counts the claims.
    struct Placed {
        std::string_view name;  // views the object's own name
        SceneObject* object;
        std::uint32_t claims = 0;
    };

    // A key-framer node of kind B002-B007 under its name, sorted (stably) by
    // name so that every lookup is a binary search rather than a walk over
    // the key-framer; the first of a name and kind is the one found.
    struct Node {
        std::string_view name;  // views the node's TRACKOBJNAME
        const Chunk3DS* node;
    };

    static bool isNodeKind(std::uint32_t nodeId) {
        return nodeId >= id::kTrackInfo && nodeId <= id::kTrackSpotL;
    }

    template <typename T>
    static auto byName(std::vector<T>& items, std::string_view name) {
        return std::lower_bound(
            items.begin(), items.end(), name,
            [](const T& item, std::string_view key) { return item.name < key; });
    }

    template <typename T>
    static void sortByName(std::vector<T>& items) {
        std::stable_sort(items.begin(), items.end(),
                         [](const T& a, const T& b) { return a.name < b.name; });
    }

    void indexNodes() {
        keyframer_ = root_.child(id::kKeyframer);
        if (keyframer_ == nullptr) return;
        uses_.assign(keyframer_->children.size(), 0);
        nodes_.reserve(keyframer_->children.size());
        for (const Chunk3DS& node : keyframer_->children) {
            const std::string* n = isNodeKind(node.id) ? nodeName(node) : nullptr;
            if (n == nullptr) continue;
            nodes_.push_back({*n, &node});
            if (node.id == id::kTrackInfo && *n == kDummyName) ++uses_[indexOf(node)];
        }
        sortByName(nodes_);
    }

    std::size_t indexOf(const Chunk3DS& node) const {
        return static_cast<std::size_t>(&node - keyframer_->children.data());
    }

    // How many mesh objects each object node animates (objects may share a
    // name, and then the first node of the name).
    void countUses(const Chunk3DS& objMesh) {
        if (keyframer_ == nullptr) return;
        for (const Chunk3DS& c : objMesh.children) {
            if (c.id != id::kObjBlock || triMeshOf3DS(c) == nullptr) continue;
            const std::string& name = *c.get<std::string>();
            if (const Chunk3DS* node = findKeyframerNode(root_, id::kTrackInfo, name)) {
                ++uses_[indexOf(*node)];
            }
        }
    }

    // Hides the free function of that name inside the builder: the same
    // answer from the index.
    const Chunk3DS* findKeyframerNode(const Chunk3DS& root, std::uint32_t nodeId,
                                      const std::string& name) {
        if (!isNodeKind(nodeId)) return demo::findKeyframerNode(root, nodeId, name);
        for (auto at = byName(nodes_, name); at != nodes_.end() && at->name == name; ++at) {
            if (at->node->id == nodeId) return at->node;
        }
        return nullptr;
    }

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
            std::printf("%s: 3DS object '%s' has no vertex or face list: it is kept without a mesh.\n",
                        scene_.name.c_str(), name.c_str());
        }
        scene_.addObject(std::move(owned));
        placed_.push_back({object.name, &object});
        if (node) animate(object, *node);
    }

    // The last object a node animates takes its keys; any earlier one copies.
    void animate(SceneObject& object, const Chunk3DS& node) {
        newTracks(object);
        std::uint32_t& uses = uses_[indexOf(node)];
        fillTracks(object, node, uses > 0 && --uses == 0);
    }

    void light(const std::string& name, const Chunk3DS& chunk) {
        const Chunk3DS* colour = chunk.child(id::kRgbF);
        const Vector3 k = colour ? *colour->get<Vector3>() : Vector3{0, 0, 0};
        const Chunk3DS* spot = chunk.child(id::kSpotlight);
        const Rgb rgb{k.x, k.y, k.z};
        auto light = std::make_unique<Light>(name, Rgb{0, 0, 0}, rgb, rgb, Rgb{1, 0, 0}, spot != nullptr);
        light->transform.setPosition(*chunk.get<Vector3>());
        if (spot) light->transform.lookAt(spot->get<Spotlight3DS>()->target, 0.0f);
        light->transform.updateMatrices();
        Light& l = *scene_.addLight(std::move(light));
        if (!spot) {
            if (const Chunk3DS* node = findKeyframerNode(root_, id::kTrackLight, name)) {
                setKeys(newTracks(l).position, trackOf<Vector3>(node, id::kTrackPos));
            }
            return;
        }
        const Chunk3DS* body = findKeyframerNode(root_, id::kTrackSpotL, name);
        const Chunk3DS* target = findKeyframerNode(root_, id::kTrackLightTgt, name);
        if (!body && !target) return;
        setKeys(newTracks(l).position, trackOf<Vector3>(body, id::kTrackPos));
        setKeys(l.target, trackOf<Vector3>(target, id::kTrackPos));
    }

    void camera(const std::string& name, const Chunk3DS& chunk) {
        const Camera3DS& c = *chunk.get<Camera3DS>();
        auto camera = std::make_unique<Camera>(name, kCameraFieldOfView, kCameraAspect);
        camera->transform.setPosition(c.position);
        camera->transform.up = Vector3{0, 0, -1};
        camera->transform.lookAt(c.target, 0.0f);
        camera->transform.updateMatrices();
        Camera& cam = *scene_.addCamera(std::move(camera));
        const Chunk3DS* body = findKeyframerNode(root_, id::kTrackCamera, name);
        const Chunk3DS* target = findKeyframerNode(root_, id::kTrackCamTgt, name);
        if (!body && !target) return;
        setKeys(newTracks(cam).position, trackOf<Vector3>(body, id::kTrackPos));
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
        sortByName(placed_);
        constexpr std::size_t kNone = SIZE_MAX;
        std::vector<std::size_t> byNumber;  // node number -> link, kNone without an object
        std::vector<std::pair<SceneObject*, int>> links;
        byNumber.reserve(keyframer.children.size());
        links.reserve(keyframer.children.size());
        int dummies = 0;
        for (const Chunk3DS& node : keyframer.children) {
            if (!isNodeKind(node.id)) continue;
            SceneObject* object = nullptr;
            const Chunk3DS* named = node.child(id::kTrackObjName);
            const NodeName3DS* n = named ? named->get<NodeName3DS>() : nullptr;
            if (node.id == id::kTrackInfo && n) {
                object = n->name == kDummyName ? dummy(node, dummies++) : claim(n->name);
                if (object) links.emplace_back(object, n->parent);
            }
            byNumber.push_back(object ? links.size() - 1 : kNone);
        }
        // The root of each link's tree so far, to see in near-constant time
        // whether a link would close a cycle: every object is linked at most
        // once, so it is its tree's root until then.
        std::vector<std::size_t> up(links.size());
        std::iota(up.begin(), up.end(), std::size_t{0});
        const auto rootOf = [&up](std::size_t i) {
            while (up[i] != i) i = up[i] = up[up[i]];
            return i;
        };
        for (std::size_t i = 0; i < links.size(); ++i) {
            const auto [object, parentNumber] = links[i];
            if (parentNumber < 0 || parentNumber >= static_cast<int>(byNumber.size())) continue;
            const std::size_t p = byNumber[static_cast<std::size_t>(parentNumber)];
            if (p == kNone || object->parent != nullptr || rootOf(p) == i) continue;
            links[p].first->addChild(object);
            up[i] = p;
        }
    }

    SceneObject* dummy(const Chunk3DS& node, int number) {
        SceneObject* object = scene_.addObject(std::make_unique<SceneObject>("DUMMY" + std::to_string(number)));
        animate(*object, node);
        return object;
    }

    SceneObject* claim(const std::string& name) {
        const auto first = byName(placed_, name);
        if (first == placed_.end() || first->name != name) return nullptr;
        const auto next = first + first->claims;
        if (next == placed_.end() || next->name != name) return nullptr;
        ++first->claims;
        return next->object;
    }

    Chunk3DS& root_;
    Scene& scene_;
    SceneTextures3DS* textures_;
    std::vector<Placed> placed_;
    std::vector<Node> nodes_;
    const Chunk3DS* keyframer_ = nullptr;
    std::vector<std::uint32_t> uses_;  // per key-framer child: animations still to come
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
