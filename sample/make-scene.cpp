// Writes the sample show's scene, sample/data/spinner.3ds, with the tests' 3DS
// writer: g++ -std=c++20 -I. sample/make-scene.cpp -o make-scene && ./make-scene sample/data/spinner.3ds
#include <cstdio>
#include <fstream>
#include "tests/support/writer_3ds.h"
#include "graphics/formats/chunk_3ds.h"
using namespace demo;
using W = test::Writer3DS;
namespace id = chunk3ds;
int main(int, char** argv) {
    // A box of 24 vertices (each face its own four, for its texture corners).
    const int axes[6][3] = {{0, 1, 2}, {0, 1, 2}, {1, 2, 0}, {1, 2, 0}, {2, 0, 1}, {2, 0, 1}};
    W v(id::kVertList), uv(id::kMapList), f(id::kFaceList);
    v.u16(24); uv.u16(24); f.u16(12);
    for (int face = 0; face < 6; ++face) {
        const float side = face % 2 ? 1.0f : -1.0f;
        const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (auto& c : corners) {
            float p[3];
            p[axes[face][0]] = c[0] * side;
            p[axes[face][1]] = c[1];
            p[axes[face][2]] = side;
            v.vec(p[0], p[1], p[2]);
            uv.f32((c[0] + 1) / 2).f32((c[1] + 1) / 2);
        }
        const int b = face * 4;
        f.u16(b).u16(b + 1).u16(b + 2).u16(0).u16(b).u16(b + 2).u16(b + 3).u16(0);
    }
    W group(id::kFaceMat);
    group.text("Sunset").u16(12);
    for (int i = 0; i < 12; ++i) group.u16(i);
    f.add(group);
    W tri = W(id::kTriMesh).add(v).add(uv).add(f).add(W(id::kTrMatrix).vec(1, 0, 0).vec(0, 1, 0).vec(0, 0, 1).vec(0, 0, 0));
    W material = W(id::kMaterial).add(W(id::kMatName).text("Sunset")).add(W(id::kTexture).add(W(id::kMapFile).text("SUNSET.JPG")));
    W objects = W(id::kObjMesh).add(material).add(W(id::kObjBlock).text("box").add(tri));
    objects.add(W(id::kObjBlock).text("eye").add(W(id::kCamera).vec(0, -8, 3).vec(0, 0, 0).f32(0).f32(35)));
    objects.add(W(id::kObjBlock).text("sun").add(W(id::kLight).vec(4, -6, 8).add(W(id::kRgbF).vec(1, 0.9f, 0.8f))));
    // One turn in 240 frames about z, bobbing up and down.
    W node = W(id::kTrackInfo).add(W(id::kTrackObjName).text("box").u32(0).u16(0xFFFF))
        .add(test::track(id::kTrackPos, {{0, {0, 0, 0}}, {60, {0, 0, 1}}, {120, {0, 0, 0}}, {180, {0, 0, -1}}, {240, {0, 0, 0}}}))
        .add(test::track(id::kTrackRotate, {{0, {0, 0, 0, 1}}, {60, {1.5707964f, 0, 0, 1}}, {120, {1.5707964f, 0, 0, 1}}, {180, {1.5707964f, 0, 0, 1}}, {240, {1.5707964f, 0, 0, 1}}}));
    test::Bytes bytes = W(id::kMain).add(W(0x0002).u32(3)).add(objects).add(W(id::kKeyframer).add(node)).bytes();
    std::ofstream(argv[1], std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
}
