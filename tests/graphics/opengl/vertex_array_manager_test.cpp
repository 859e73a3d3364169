// Vertex-array types by exact type word, arrays stored by name, and the dynamic
// pool's pieces on a heap block.

#include "graphics/opengl/vertex_array_manager.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "graphics/opengl/dynamic_glva.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "tests/support/error_of.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

// Reads a byte count into a new array; a negative one makes nothing. The
// array is named ownName when that is set.
class TestArrays : public VertexArrayType {
public:
    VertexArray* create(const std::string& name, AsciiReader& reader) override {
        int size = static_cast<int>(reader.readNumber());
        return size < 0 ? nullptr : new VertexArray{ownName.empty() ? name : ownName, 1, nullptr, size};
    }
    std::string typeName() const override { return "Fixed"; }
    std::string ownName;
};

// Under the asan build too: every holder may read its array to the end, and nothing leaks.
TEST(VertexArrayManager, FindsTypesByExactWordAndArraysLastAsLongAsTheirHolders) {
    auto* manager = VertexArrayManager::instance();
    TestArrays fixed;
    manager->registerType(&fixed);
    AsciiReader bad("arrays", "\nfixed 1"), none("arrays", "Fixed -1");
    EXPECT_EQ(test::printedErrorOf([&] { manager->createFromReader("other", bad); }),  // case matters
              "graphics/vertexarray L30: Parse error (arrays 2 ): Unknown array type 'fixed'.");
    EXPECT_EQ(manager->createFromReader("none", none), nullptr);
    const std::string x = (test::scratchRoot() / ("arrays." + std::to_string(getpid()))).string();
    std::ofstream(x) << "Fixed 8";

    VertexArray* held[2] = {manager->get(x), manager->get(x)};
    AsciiReader redeclared("show.ini", "Fixed 2 Fixed 3 Fixed 4");
    VertexArray* first = manager->createFromReader(x, redeclared);
    VertexArray* second = manager->createFromReader(x, redeclared);
    manager->collectUnused(), manager->release(held[0]);
    EXPECT_EQ(first->size + held[1]->size, 10);
    for (VertexArray* array : {held[1], first}) manager->release(array);
    second->refCount = 0;  // nobody holds it: the next declaration frees it
    manager->release(manager->createFromReader(x, redeclared));

    fixed.ownName = "y";  // listed under the name asked for and its own, until it goes
    for (bool collect : {false, true}) {
        VertexArray* renamed = manager->get(x);
        EXPECT_EQ(manager->objects().size(), 2u);
        collect ? (--renamed->refCount, manager->collectUnused()) : manager->release(renamed);
        EXPECT_TRUE(manager->objects().empty());
    }
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
