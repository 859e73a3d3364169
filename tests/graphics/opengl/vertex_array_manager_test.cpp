// Vertex-array types by exact type word, arrays stored by name, and the dynamic
// pool's pieces on a heap block or the driver's range memory.

#include "graphics/opengl/vertex_array_manager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "graphics/opengl/dynamic_glva.h"
#include "graphics/opengl/glh_extensions.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"

namespace demo {
namespace {

// Reads a byte count into a new array; a negative one makes nothing.
class TestArrays : public VertexArrayType {
public:
    VertexArray* create(const std::string& name, AsciiReader& reader) override {
        int size = static_cast<int>(reader.readNumber());
        return size < 0 ? nullptr : new VertexArray{name, 1, nullptr, size};
    }
    std::string typeName() const override { return "Fixed"; }
};

TEST(VertexArrayManager, FindsTypesByExactWordAndCachesArrays) {
    auto* manager = VertexArrayManager::instance();
    TestArrays fixed;
    manager->registerType(&fixed);
    EXPECT_TRUE(manager->types().empty());  // collected at the first lookup
    AsciiReader bad("arrays", "fixed 1");
    EXPECT_THROW(manager->createFromReader("other", bad), ParseError);  // case matters
    AsciiReader good("arrays", "Fixed 48"), none("arrays", "Fixed -1");
    VertexArray* quad = manager->createFromReader("quad", good);
    EXPECT_EQ(manager->types().at("Fixed"), &fixed);
    EXPECT_EQ(manager->createFromReader("none", none), nullptr);
    EXPECT_EQ(manager->objects().size(), 1u);
    manager->release(quad);
    manager->unregisterType(&fixed);
}

void* heapAllocate(int bytes) { return std::malloc(static_cast<std::size_t>(bytes)); }
void* fakeRange(GLsizei bytes, GLfloat read, GLfloat write, GLfloat priority) {
    static unsigned char block[16];
    return bytes == 0x400000 && read == 0.2f && write == 0.2f && priority == 0.7f ? block : nullptr;
}
void ignore(void*) {}
std::string fakeExtensions;
platform::GLProc fakeResolve(const char* name) {
    auto entry = std::string(name) == "wglAllocateMemoryNV" ? (void*)fakeRange : (void*)ignore;
    return reinterpret_cast<platform::GLProc>(entry);
}
const ExtensionDriver kFakeDriver{fakeResolve, [](GLenum) { return fakeExtensions.c_str(); },
                                  [] { return ""; }};

TEST(DynamicGLVA, HandsOutPiecesThatLeaveTheBlockUnfilled) {
    {
        DynamicGLVA pool(VertexMemory{heapAllocate, std::free});
        for (int i = 0; i < 3; ++i) delete pool.allocate("DVAR", 1000);
        std::unique_ptr<VertexArray> last(pool.allocate("DVAR", 4194304 - 3001));
        EXPECT_EQ(last->data, pool.base + 3000);
        for (int bytes : {1, -1, 0x7fffffff}) EXPECT_EQ(pool.allocate("DVAR", bytes), nullptr);
    }
    EXPECT_TRUE(VertexArrayManager::instance()->pendingTypes().empty());  // gone with the pool

    // Probing resolves the entry points by substring; only the whole name counts.
    setExtensionDriver(&kFakeDriver);
    for (auto [list, capacity] : {std::pair{"GL_NV_vertex_array_range2", 0},
                                  {"GL_EXT_abgr GL_NV_vertex_array_range", 0x400000}}) {
        resetExtensionLoader();
        fakeExtensions = list;
        probeExtensions();
        EXPECT_EQ(DynamicGLVA().capacity, capacity) << list;
    }
    setExtensionDriver(nullptr);
    resetExtensionLoader();
}

}  // namespace
}  // namespace demo
