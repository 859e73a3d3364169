#pragma once
// A 3DS cube of side 2 in file coordinates, a camera and a positional light,
// for tests that draw scenes. The cube's node moves it by `keys`, frame by
// frame; its TRMATRIX origin sits at the cube's centre `centre`.

#include <array>
#include <utility>
#include <vector>

#include "graphics/formats/chunk_3ds.h"
#include "tests/support/writer_3ds.h"

namespace demo::test {

inline constexpr std::array<float, 3> kCubeCamera{3, -12, 4};
inline constexpr std::array<float, 3> kCubeTarget{1, 0, 0};

inline Bytes cube3DS(const std::array<float, 3>& centre,
                     const std::vector<std::pair<std::uint32_t, std::vector<float>>>& keys) {
    namespace id = chunk3ds;
    using W = Writer3DS;
    W vertices(id::kVertList);
    vertices.u16(8);
    for (int i = 0; i < 8; ++i) {
        vertices.vec(centre[0] + (i & 1 ? 1.0f : -1.0f), centre[1] + (i & 2 ? 1.0f : -1.0f),
                     centre[2] + (i & 4 ? 1.0f : -1.0f));
    }
    // Counter-clockwise seen from outside, as 3DS files store them.
    const int quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    W faces(id::kFaceList);
    faces.u16(12);
    for (const auto& q : quads) {
        faces.u16(std::uint16_t(q[0])).u16(std::uint16_t(q[1])).u16(std::uint16_t(q[2])).u16(0);
        faces.u16(std::uint16_t(q[0])).u16(std::uint16_t(q[2])).u16(std::uint16_t(q[3])).u16(0);
    }
    W matrix = W(id::kTrMatrix).vec(1, 0, 0).vec(0, 1, 0).vec(0, 0, 1).vec(centre[0], centre[1], centre[2]);
    W objects = W(id::kObjMesh).add(W(id::kObjBlock).text("cube").add(W(id::kTriMesh).add(vertices).add(faces).add(matrix)));
    objects.add(W(id::kObjBlock).text("eye").add(W(id::kCamera).vec(kCubeCamera[0], kCubeCamera[1], kCubeCamera[2])
                                                     .vec(kCubeTarget[0], kCubeTarget[1], kCubeTarget[2]).f32(0).f32(35)));
    objects.add(W(id::kObjBlock).text("sun").add(W(id::kLight).vec(2, -10, 10).add(W(id::kRgbF).vec(1, 1, 1))));
    W node = W(id::kTrackInfo).add(W(id::kTrackObjName).text("cube").u32(0).u16(0xFFFF)).add(track(id::kTrackPos, keys));
    return W(id::kMain).add(objects).add(W(id::kKeyframer).add(node)).bytes();
}

}  // namespace demo::test
