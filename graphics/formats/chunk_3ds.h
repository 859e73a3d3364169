#pragma once
// One node of a 3DS file's chunk tree with its decoded payload. The reader
// has already made coordinates left-handed: positions, targets, pivots,
// vertices, position keys and the matrix origin are negated, and each face
// (a, b, c) is stored as (b, a, c).

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "math/quaternion.h"
#include "math/vector3.h"

namespace demo {

namespace chunk3ds {
inline constexpr std::uint32_t kMain = 0x4D4D;
inline constexpr std::uint32_t kObjMesh = 0x3D3D;
inline constexpr std::uint32_t kHierarchy = 0x4F00;
inline constexpr std::uint32_t kTriMesh = 0x4100;
inline constexpr std::uint32_t kMaterial = 0xAFFF;
inline constexpr std::uint32_t kKeyframer = 0xB000;
inline constexpr std::uint32_t kAmbient = 0xA010;
inline constexpr std::uint32_t kDiffuse = 0xA020;
inline constexpr std::uint32_t kSpecular = 0xA030;
inline constexpr std::uint32_t kShininess = 0xA040;
inline constexpr std::uint32_t kTexture = 0xA200;
inline constexpr std::uint32_t kTrackInfo = 0xB002;      // object node
inline constexpr std::uint32_t kTrackCamera = 0xB003;    // camera node
inline constexpr std::uint32_t kTrackCamTgt = 0xB004;    // camera target node
inline constexpr std::uint32_t kTrackLight = 0xB005;     // light node
inline constexpr std::uint32_t kTrackLightTgt = 0xB006;  // light target node
inline constexpr std::uint32_t kTrackSpotL = 0xB007;     // spotlight node
inline constexpr std::uint32_t kObjBlock = 0x4000;
inline constexpr std::uint32_t kLight = 0x4600;
inline constexpr std::uint32_t kSpotlight = 0x4610;
inline constexpr std::uint32_t kCamera = 0x4700;
inline constexpr std::uint32_t kVertList = 0x4110;
inline constexpr std::uint32_t kMapList = 0x4140;
inline constexpr std::uint32_t kFaceList = 0x4120;
inline constexpr std::uint32_t kRgbF = 0x0010;
inline constexpr std::uint32_t kRgbF2 = 0x0013;
inline constexpr std::uint32_t kRgbB = 0x0011;
inline constexpr std::uint32_t kRgbB2 = 0x0012;
inline constexpr std::uint32_t kWord = 0x0030;
inline constexpr std::uint32_t kMasterScale = 0x0100;
inline constexpr std::uint32_t kMatName = 0xA000;
inline constexpr std::uint32_t kMapFile = 0xA300;
inline constexpr std::uint32_t kFaceMat = 0x4130;
inline constexpr std::uint32_t kTrMatrix = 0x4160;
inline constexpr std::uint32_t kObjNumber = 0xB030;
inline constexpr std::uint32_t kTrackObjName = 0xB010;
inline constexpr std::uint32_t kTrackPos = 0xB020;
inline constexpr std::uint32_t kTrackRoll = 0xB024;
inline constexpr std::uint32_t kTrackPivot = 0xB013;
inline constexpr std::uint32_t kTrackRotate = 0xB021;
inline constexpr std::uint32_t kTrackScale = 0xB022;
}  // namespace chunk3ds

struct TexCoord3DS {
    float u = 0.0f;
    float v = 0.0f;
};

struct Rgb3DS {
    std::uint8_t r = 0, g = 0, b = 0;
};

struct Spotlight3DS {
    Vector3 target;
    float hotspot = 0.0f;  // cone angles, kept as read
    float falloff = 0.0f;
};

struct Camera3DS {
    Vector3 position;
    Vector3 target;
    float bank = 0.0f;
    float lens = 0.0f;
};

// Three indices per face, already in (b, a, c) order.
struct FaceList3DS {
    std::vector<std::uint32_t> indices;
    std::size_t faceCount() const { return indices.size() / 3; }
};

struct FaceMaterial3DS {
    std::string name;
    std::vector<std::uint16_t> faces;
};

// The object's axes as stored and its origin negated: p_world = X p.x +
// Y p.y + Z p.z + origin.
struct ObjectMatrix3DS {
    Vector3 axes[3];
    Vector3 origin;
};

struct NodeName3DS {
    std::string name;
    int parent = -1;  // key-framer node number; -1 for none
};

// A key-frame track: one time (the frame number) and one value per key.
template <typename T>
struct Track3DS {
    std::uint32_t header = 0;  // stored, not interpreted
    std::vector<float> times;
    std::vector<T> values;
};

// Which alternative a node holds follows from its id: std::string for
// OBJBLOCK, MATNAME and MAPFILE; Vector3 for LIGHT (position), TRACKPIVOT,
// RGBF and RGBF2; std::uint16_t for WRD and OBJNUMBER; float for
// MASTERSCALE; Track3DS<Vector3> for TRACKPOS and TRACKSCALE; nothing for
// containers.
using Payload3DS =
    std::variant<std::monostate, std::string, std::uint16_t, float, Vector3, Rgb3DS, Spotlight3DS,
                 Camera3DS, std::vector<Vector3>, std::vector<TexCoord3DS>, FaceList3DS,
                 FaceMaterial3DS, ObjectMatrix3DS, NodeName3DS, Track3DS<Vector3>,
                 Track3DS<float>, Track3DS<Quaternion>>;

struct Chunk3DS {
    std::uint32_t id = 0;
    std::uint32_t dataLength = 0;  // the header's length minus its 6 bytes
    std::vector<Chunk3DS> children;
    Payload3DS payload;

    // The payload when it is a T, else null. The builder moves arrays out.
    template <typename T>
    const T* get() const { return std::get_if<T>(&payload); }
    template <typename T>
    T* get() { return std::get_if<T>(&payload); }

    // The first child with that id, or null.
    const Chunk3DS* child(std::uint32_t childId) const;
    Chunk3DS* child(std::uint32_t childId);
};

// The first child of the node with that id, or null (also for a null node).
inline const Chunk3DS* findChild(const Chunk3DS* node, std::uint32_t id) {
    return node ? node->child(id) : nullptr;
}
inline Chunk3DS* findChild(Chunk3DS* node, std::uint32_t id) { return node ? node->child(id) : nullptr; }
inline const Chunk3DS* findChild(const Chunk3DS& node, std::uint32_t id) { return node.child(id); }
inline Chunk3DS* findChild(Chunk3DS& node, std::uint32_t id) { return node.child(id); }

}  // namespace demo
