// Vertex-array types found by type word, arrays cached by name.

#include "graphics/opengl/vertex_array_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "graphics/opengl/dynamic_glva.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "manager/file_system.h"
#include "manager/timer_base.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

// A type that reads a byte count and owns no memory; or one that makes nothing.
class TestArrays : public VertexArrayType {
public:
    TestArrays(const char* word, bool makes) : word_(word), makes_(makes) {}
    VertexArray* create(const std::string& name, AsciiReader& reader) override {
        if (!makes_) return nullptr;
        return new VertexArray{name, 1, nullptr, static_cast<int>(reader.readNumber())};
    }
    std::string typeName() const override { return word_; }

private:
    const char* word_;
    bool makes_;
};

void* refuse(int) { return nullptr; }
void ignore(void*) {}

TEST(VertexArrayManager, FindsTypesByExactWordAndCachesArrays) {
    initTimerBase();
    auto* manager = VertexArrayManager::instance();
    TestArrays fixed("Fixed", true);
    manager->registerType(&fixed);
    EXPECT_EQ(manager->types().count("Fixed"), 0u);  // collected at the first lookup

    AsciiReader good("arrays", "Fixed 96");
    VertexArray* array = manager->createFromReader("mesh", good);
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array->size, 96);
    EXPECT_EQ(manager->types().at("Fixed"), &fixed);
    EXPECT_EQ(manager->objects().at("mesh"), array);

    for (auto [text, word] :
         {std::pair{"fixed 1", "fixed"}, {"FIXED 1", "FIXED"}, {"Dynamic GL VA", "Dynamic"}}) {
        AsciiReader bad("arrays", text);
        try {
            manager->createFromReader("other", bad);
            ADD_FAILURE() << text;
        } catch (const ParseError& e) {
            EXPECT_EQ(e.text(), "Unknown array type '" + std::string(word) + "'.");
            EXPECT_EQ(e.sourceFile(), "graphics/vertexarray");
            EXPECT_EQ(e.sourceLine(), 30);
        }
    }
    EXPECT_EQ(manager->objects().count("other"), 0u);

    // Through a file of the array's name; a type that makes nothing is missing.
    TestArrays nothing("Nothing", false);
    manager->registerType(&nothing);
    auto dir = test::freshScratchDir("vertex_arrays");
    std::ofstream(dir / "quad.va") << "Fixed 48\n";
    std::ofstream(dir / "none.va") << "Nothing\n";
    FileSystem::instance()->addDirectory(dir.string());
    VertexArray* quad = manager->get("quad.va");
    EXPECT_EQ(manager->get("quad.va"), quad);
    EXPECT_EQ(quad->referenceCount, 2);
    EXPECT_THROW(manager->get("none.va"), ResourceMissing);
    EXPECT_EQ(manager->objects().count("none.va"), 0u);

    // A pool that goes away leaves the registry.
    {
        DynamicGLVA pool(VertexMemory{refuse, ignore});
        AsciiReader lookup("arrays", "Fixed 1");
        manager->release(manager->createFromReader("mesh2", lookup));
        EXPECT_EQ(manager->types().at("Dynamic GL VA"), &pool);
    }
    EXPECT_EQ(manager->types().count("Dynamic GL VA"), 0u);
    manager->unregisterType(&fixed);
    manager->unregisterType(&nothing);
    EXPECT_TRUE(manager->types().empty());
    manager->release(quad);
    manager->release(manager->objects().at("quad.va"));
    manager->release(array);
    EXPECT_TRUE(manager->objects().empty());
}

}  // namespace
}  // namespace demo
