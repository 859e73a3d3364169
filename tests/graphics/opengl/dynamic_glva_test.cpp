// The dynamic vertex pool: piece placement and the fill rule on a plain heap
// block, and the driver path that must not touch the range allocator unless
// the extension string names it.

#include "graphics/opengl/dynamic_glva.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/opengl/glh_extensions.h"

namespace demo {
namespace {

int heapBlocks = 0;
void* heapAllocate(int bytes) {
    ++heapBlocks;
    return std::malloc(static_cast<std::size_t>(bytes));
}
void heapRelease(void* block) {
    --heapBlocks;
    std::free(block);
}
void* refuse(int) { return nullptr; }
void mustNotRelease(void*) { ADD_FAILURE() << "released a block never given"; }

const VertexMemory kHeap{heapAllocate, heapRelease};
const VertexMemory kRefusing{refuse, mustNotRelease};

TEST(DynamicGLVA, PiecesFollowEachOtherFromTheBase) {
    {
        DynamicGLVA pool(kHeap);
        ASSERT_NE(pool.base, nullptr);
        EXPECT_EQ(pool.capacity, 4194304);
        for (int i = 0; i < 3; ++i) {
            std::unique_ptr<VertexArray> piece(pool.allocate("DVAR", 1000));
            ASSERT_NE(piece, nullptr);
            EXPECT_EQ(piece->data, pool.base + 1000 * i);
            EXPECT_EQ(piece->size, 1000);
            EXPECT_EQ(piece->name, "DVAR");
            EXPECT_EQ(piece->referenceCount, 1);
        }
        EXPECT_EQ(pool.used, 3000);
        EXPECT_EQ(heapBlocks, 1);
    }
    EXPECT_EQ(heapBlocks, 0);
}

struct FillCase {
    const char* label;
    const VertexMemory* memory;
    std::vector<int> requests;
    std::vector<bool> granted;
    int used;
};

class PoolFill : public ::testing::TestWithParam<FillCase> {};

TEST_P(PoolFill, GrantsOnlyWhatLeavesTheBlockUnfilled) {
    const FillCase& c = GetParam();
    DynamicGLVA pool(*c.memory);
    for (std::size_t i = 0; i < c.requests.size(); ++i) {
        std::unique_ptr<VertexArray> piece(pool.allocate("DVAR", c.requests[i]));
        EXPECT_EQ(piece != nullptr, c.granted[i]) << "request " << i;
    }
    EXPECT_EQ(pool.used, c.used);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, PoolFill,
    ::testing::Values(FillCase{"exactFill", &kHeap, {4194304}, {false}, 0},
                      FillCase{"oneShort", &kHeap, {4194303, 1, 0}, {true, false, true}, 4194303},
                      FillCase{"negative", &kHeap, {-1, 10}, {false, true}, 10},
                      FillCase{"overflow", &kHeap, {4000000, 2147483647}, {true, false}, 4000000},
                      FillCase{"noBlock", &kRefusing, {0, 1}, {false, false}, 0}),
    [](const auto& info) { return info.param.label; });

// A fake driver whose range allocator is a real function that counts calls.
struct RangeCalls {
    int allocations = 0;
    int bytes = 0;
    float frequencies[3] = {};
    std::vector<unsigned char> block = std::vector<unsigned char>(64);
} range;
std::string fakeExtensions;

void* fakeAllocateMemory(GLsizei size, GLfloat read, GLfloat write, GLfloat priority) {
    ++range.allocations;
    range.bytes = size;
    range.frequencies[0] = read;
    range.frequencies[1] = write;
    range.frequencies[2] = priority;
    return range.block.data();
}
void fakeFreeMemory(void*) {}
platform::GLProc fakeResolve(const char* name) {
    if (std::string(name) == "wglAllocateMemoryNV") {
        return reinterpret_cast<platform::GLProc>(fakeAllocateMemory);
    }
    if (std::string(name) == "wglFreeMemoryNV") {
        return reinterpret_cast<platform::GLProc>(fakeFreeMemory);
    }
    return reinterpret_cast<platform::GLProc>(std::hash<std::string>{}(name) << 4);
}
const char* fakeString(GLenum name) { return name == GL_EXTENSIONS ? fakeExtensions.c_str() : ""; }
const char* noWindowSystem() { return ""; }
const ExtensionDriver kFakeDriver{fakeResolve, fakeString, noWindowSystem};

TEST(DynamicGLVA, DriverBlockOnlyWhenTheRangeExtensionIsListed) {
    // Probing finds the entry points by substring in both strings; only the
    // whole name lets the pool call them.
    for (auto [extensions, calls] : {std::pair{"GL_ARB_multitexture", 0},
                                     {"GL_NV_vertex_array_range2", 0},
                                     {"GL_ARB_multitexture GL_NV_vertex_array_range", 1}}) {
        resetExtensionLoader();
        setExtensionDriver(&kFakeDriver);
        fakeExtensions = extensions;
        range = RangeCalls{};
        probeExtensions();
        DynamicGLVA pool;
        EXPECT_EQ(range.allocations, calls) << extensions;
        EXPECT_EQ(pool.base != nullptr, calls == 1) << extensions;
        if (calls == 0) continue;
        EXPECT_EQ(range.bytes, 4194304);
        EXPECT_FLOAT_EQ(range.frequencies[0], 0.2f);
        EXPECT_FLOAT_EQ(range.frequencies[1], 0.2f);
        EXPECT_FLOAT_EQ(range.frequencies[2], 0.7f);
    }
    setExtensionDriver(nullptr);
    resetExtensionLoader();
}

}  // namespace
}  // namespace demo
