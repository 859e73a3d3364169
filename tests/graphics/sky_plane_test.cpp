// The sky plane's grid and the vertex normals it and the scene meshes use.

#include "graphics/sky_plane.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "graphics/scene_object.h"
#include "graphics/vertex_buffer.h"
#include "graphics/vertex_normals.h"

namespace demo {
namespace {

Vector3 streamValue(const SceneObject& object, const char* name, int vertex) {
    std::uint8_t* p = nullptr;
    int stride = 0, count = 0;
    VertexBuffer::streamPointer(name, object.mesh->vertices.get(), &p, &stride, &count);
    Vector3 v;
    std::memcpy(&v, p + stride * vertex, name[0] == 't' ? 8 : 12);
    return v;
}

// Normal and position interleaved (stride 24), stale values in the normals;
// triangles 0 1 2 and 3 4 5.
std::unique_ptr<SceneObject> meshObject(const std::vector<Vector3>& points) {
    auto object = std::make_unique<SceneObject>("mesh");
    Mesh& mesh = *(object->mesh = std::make_shared<Mesh>());
    const VertexFormat format{{{{"normal", 12}, {"position", 12}}}};
    mesh.vertices = std::make_unique<VertexBuffer>(format, 6);
    std::uint8_t* data = mesh.vertices->data.data();
    for (int i = 0; i < 12; ++i) std::memcpy(data + 12 * i, &points[i / 2], 12);
    mesh.triangles = std::make_unique<TriangleIndexArray>(2);
    mesh.triangles->indices = {0, 1, 2, 3, 4, 5};
    return object;
}

TEST(SkyPlane, GridPointsSizesAndRefusedHeights) {
    SceneObject sky("SkyPlane");
    ASSERT_TRUE(buildSkyPlaneMesh(sky, 1, 0, 1, 2, 3));
    EXPECT_EQ((Vector3{1, -1, 2}), streamValue(sky, "position", 1));
    EXPECT_EQ((Vector3{2, 3, 0}), streamValue(sky, "tex1", 1));  // read from tex0
    EXPECT_EQ((std::vector<std::uint32_t>{0, 1, 2, 1, 3, 2}), sky.mesh->triangles->indices);
    for (auto [n, vertices, triangles] :
         {std::tuple{0, 4, 2}, {8, 81, 128}, {1000, 66049, 131072}}) {
        ASSERT_TRUE(buildSkyPlaneMesh(sky, n, 3, 5, 1, 1));
        EXPECT_EQ(vertices, sky.mesh->vertices->vertexCount);
        EXPECT_EQ(triangles, sky.mesh->triangles->count());
        EXPECT_NEAR(1.0f, streamValue(sky, "normal", vertices / 2).z, 1e-6f);  // flat or the bottom
    }
    const auto mesh = sky.mesh;
    for (auto [a, b] : {std::pair{0.0f, 0.0f}, {2.0f, 1.0f}, {-2.0f, 1.0f}, {0.0f, NAN}}) {
        testing::internal::CaptureStdout();
        EXPECT_FALSE(buildSkyPlaneMesh(sky, 4, a, b, 1, 1));
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(std::count(out.begin(), out.end(), '\n') == 1 && sky.mesh == mesh) << out;
    }
}

TEST(VertexNormals, DegenerateTrianglesAddNothingAndSomeRedrawTheFirst) {
    std::vector<std::pair<std::vector<Vector3>, bool>> cases{  // vertices 3, 4, 5, replaced
        {{{5, 5, 0}, {5, 5, 0}, {6, 5, 0}}, false},
        {{{5, 5, 0}, {6, 5, 0}, {7, 5, 0}}, false},  // midpoint: two equal edges
        {{{INFINITY, 0, 0}, {0, 1, 0}, {0, 0, 1}}, true}};
    // Collinear off the grid: rounding leaves a tiny area, whose normal points
    // anywhere; half of them short and far from the origin.
    std::mt19937 random(21);
    std::uniform_real_distribution<float> c(-10, 10), along(0.1f, 3);
    for (int i = 0; i < 2000; ++i) {
        const float far = i % 2 ? 100.0f : 1.0f;
        const Vector3 p = Vector3{c(random), c(random), c(random)} * far,
                      d = Vector3{c(random), c(random), c(random)} * (1 / far);
        cases.push_back({{p, p + d * along(random), p + d * (3 + along(random))}, true});
    }
    for (auto [extra, replaced] : cases) {  // after a first triangle in the z = 0 plane
        extra.insert(extra.begin(), {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
        const auto owned = meshObject(extra);
        SceneObject& object = *owned;
        ASSERT_TRUE(computeVertexNormals(object));
        const std::uint32_t k = replaced ? 0 : 3;
        ASSERT_EQ((std::vector<std::uint32_t>{0, 1, 2, k, k + 1, k + 2}),
                  object.mesh->triangles->indices);
        for (int i = 0; i < 6; ++i)  // untouched normals stay zero, not NaN
            ASSERT_EQ(i < 3 ? Vector3(0, 0, 1) : Vector3(), streamValue(object, "normal", i));
    }
    EXPECT_FALSE(computeVertexNormals(*std::make_unique<SceneObject>("bare")));
}

}  // namespace
}  // namespace demo
