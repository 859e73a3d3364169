// Vertex-array types by exact type word, arrays stored by name, and the dynamic
// pool's pieces on a heap block.

#include "graphics/opengl/vertex_array_manager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "graphics/opengl/dynamic_glva.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "tests/support/error_of.h"

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
    AsciiReader bad("arrays", "\nfixed 1");
    EXPECT_EQ(test::printedErrorOf([&] { manager->createFromReader("other", bad); }),  // case matters
              "graphics/vertexarray L30: Parse error (arrays 2 ): Unknown array type 'fixed'.");
    AsciiReader good("arrays", "Fixed 48"), none("arrays", "Fixed -1");
    VertexArray* quad = manager->createFromReader("quad", good);
    EXPECT_EQ(manager->createFromReader("none", none), nullptr);
    EXPECT_EQ(manager->objects().size(), 1u);
    manager->release(quad);
    manager->unregisterType(&fixed);
}

void* heapAllocate(int bytes) { return std::malloc(static_cast<std::size_t>(bytes)); }

TEST(DynamicGLVA, HandsOutPiecesThatLeaveTheBlockUnfilled) {
    {
        DynamicGLVA pool(VertexMemory{heapAllocate, std::free});
        for (int i = 0; i < 3; ++i) delete pool.allocate("DVAR", 1000);
        std::unique_ptr<VertexArray> last(pool.allocate("DVAR", 4194304 - 3001));
        EXPECT_EQ(last->data, pool.base + 3000);
        for (int bytes : {1, -1, 0x7fffffff}) EXPECT_EQ(pool.allocate("DVAR", bytes), nullptr);
    }
    EXPECT_TRUE(VertexArrayManager::instance()->pending.empty());  // gone with the pool
}

}  // namespace
}  // namespace demo
