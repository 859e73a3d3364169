#include "graphics/sky_plane.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iostream>

#include "graphics/scene_object.h"
#include "graphics/vertex_buffer.h"
#include "graphics/vertex_normals.h"

namespace demo {

bool buildSkyPlaneMesh(SceneObject& object, int n, float a, float b, float uScale, float vScale) {
    if (!std::isfinite(a) || !std::isfinite(b) || !(b > 0.0f) || b * b < a * a) {
        std::cout << "Sky plane needs a height b > 0 with b^2 >= a^2 (a = " << a << ", b = " << b
                  << ")\n";
        return false;
    }
    n = std::clamp(n, 1, 256);
    const int side = n + 1;

    auto mesh = std::make_shared<Mesh>();
    VertexFormat format{{{"position", 12}}, {{"normal", 12}}, {{"tex0", 8}}};
    mesh->vertices = std::make_unique<VertexBuffer>(format, side * side);
    mesh->vertices->aliases["tex1"] = "tex0";
    mesh->triangles = std::make_unique<TriangleIndexArray>(2 * n * n);

    std::uint8_t* position = nullptr;
    std::uint8_t* tex = nullptr;
    int stride = 0, count = 0;
    VertexBuffer::streamPointer("position", mesh->vertices.get(), &position, &stride, &count);
    VertexBuffer::streamPointer("tex0", mesh->vertices.get(), &tex, &stride, &count);

    const float width = 2.0f * std::sqrt(b * b - a * a);
    const float step = width / static_cast<float>(n);
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            const std::size_t k = static_cast<std::size_t>(i) * side + j;
            const float x = -width / 2 + static_cast<float>(j) * step;
            const float y = -width / 2 + static_cast<float>(i) * step;
            const float p[3] = {x, y, (x * x + y * y) / b};
            const float uv[2] = {uScale * static_cast<float>(j) / static_cast<float>(n),
                                 vScale * (1.0f - static_cast<float>(i) / static_cast<float>(n))};
            std::memcpy(position + 12 * k, p, sizeof p);
            std::memcpy(tex + 8 * k, uv, sizeof uv);
        }
    }

    std::uint32_t* out = mesh->triangles->data();
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const auto k = static_cast<std::uint32_t>(i * side + j);
            const std::uint32_t s = static_cast<std::uint32_t>(side);
            const std::uint32_t cell[6] = {k, k + 1, k + s, k + 1, k + s + 1, k + s};
            out = std::copy(cell, cell + 6, out);
        }
    }

    object.mesh = std::move(mesh);
    computeVertexNormals(object);
    return true;
}

}  // namespace demo
