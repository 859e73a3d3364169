// Extension loading against a fake driver; the texture, material and GL state
// tests probe Mesa's own.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "graphics/opengl/glh_extensions.h"

namespace demo {
namespace {

using platform::GLProc;

// The fake driver: every name resolves to a distinct fake address (never
// called, only compared) unless it is listed as missing.
struct FakeDriver {
    std::string extensions, version = "1.2.1", windowSystem;
    std::set<std::string> missing;
    int resolutions = 0;
    int generation = 1;  // changes the addresses handed out
} fake;

GLProc fakeResolve(const char* name) {
    ++fake.resolutions;
    if (fake.missing.count(name) != 0) return nullptr;
    std::uintptr_t address = (std::hash<std::string>{}(name) << 4) + 16 * fake.generation;
    return reinterpret_cast<GLProc>(address);
}
const char* fakeString(GLenum name) {
    if (name == GL_EXTENSIONS) return fake.extensions.c_str();
    return name == GL_VERSION ? fake.version.c_str() : nullptr;
}
const char* fakeWindowSystemExtensions() { return fake.windowSystem.c_str(); }
const ExtensionDriver kFakeDriver{fakeResolve, fakeString, fakeWindowSystemExtensions};

// Catalogue indices of one extension's entry points (all of them for "").
std::vector<std::size_t> entriesOf(const std::string& extension) {
    std::vector<std::size_t> indices;
    auto all = catalogueEntryPoints();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (extension.empty() || extension == all[i].extension) indices.push_back(i);
    }
    return indices;
}

// How many of those a pointer set holds.
int countSet(PointerSet set, const std::string& extension = "") {
    int n = 0;
    for (std::size_t i : entriesOf(extension)) n += entryPoint(set, i) != nullptr ? 1 : 0;
    return n;
}

class ExtensionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetExtensionLoader();
        setExtensionDriver(&kFakeDriver);
        fake = FakeDriver{};
    }
    void TearDown() override {
        setExtensionDriver(nullptr);
        resetExtensionLoader();
    }
};

TEST_F(ExtensionTest, ProbeResolvesListedExtensionsOnceBySubstring) {
    fake.extensions =
        "GL_ARB_multitexture GL_NV_register_combiners2 GL_EXT_paletted_texture "
        "GL_EXT_vertex_array GL_EXT_texture3D";
    fake.missing.insert("glMultiTexCoord1dvARB");
    EXPECT_TRUE(probeExtensions());
    EXPECT_STREQ(extensionString(),
                 "GL_ARB_multitexture\nGL_NV_register_combiners2\nGL_EXT_paletted_texture\n"
                 "GL_EXT_vertex_array\nGL_EXT_texture3D");
    // A null answer is stored and the next entry point follows.
    EXPECT_EQ(probe::glMultiTexCoord1dvARB, nullptr);
    EXPECT_NE(probe::glMultiTexCoord1fARB, nullptr);
    EXPECT_EQ(countSet(PointerSet::Probe, "GL_ARB_multitexture"), 33);
    // Found inside "GL_NV_register_combiners2".
    EXPECT_EQ(countSet(PointerSet::Probe, "GL_NV_register_combiners"), 13);
    EXPECT_EQ(countSet(PointerSet::Probe, "GL_NV_register_combiners2"), 2);
    // Listed but never probed; the version name is looked for like any other.
    EXPECT_EQ(probe::glColorTableEXT, nullptr);
    EXPECT_EQ(countSet(PointerSet::Probe), 33 + 13 + 2 + 1);

    int before = fake.resolutions;
    fake.extensions = "GL_NV_vertex_program";
    EXPECT_TRUE(probeExtensions());
    EXPECT_EQ(fake.resolutions, before);
    EXPECT_EQ(probe::glLoadProgramNV, nullptr);
}

TEST_F(ExtensionTest, RequestTriesEveryNameIntoItsOwnSet) {
    fake.extensions = "GL_NV_texture_shader GL_ARB_multitexture GL_ARB_shadow GL_EXT_bgra";
    EXPECT_EQ(initRequestedExtensions("GL_NV_texture_shader GL_ARB_multitexture "), 1);
    EXPECT_EQ(countSet(PointerSet::Request), 34);
    EXPECT_EQ(countSet(PointerSet::Probe), 0);

    // An unknown name fails the list, but the good one is still resolved afresh.
    fake.generation = 2;
    EXPECT_EQ(initRequestedExtensions("GL_XYZ_unknown GL_ARB_multitexture"), 0);
    EXPECT_EQ(reinterpret_cast<GLProc>(request::glActiveTextureARB),
              fakeResolve("glActiveTextureARB"));
    // Listed but not catalogued; a catalogue name not listed; a prefix of one.
    for (const char* name : {"GL_ARB_shadow", "GL_NV_fence", "GL_ARB_multi"}) {
        EXPECT_EQ(initRequestedExtensions(name), 0) << name;
    }
    EXPECT_EQ(request::glGenFencesNV, nullptr);

    EXPECT_EQ(initRequestedExtensions("\t GL_EXT_bgra\n\n  GL_ARB_multitexture  \t"), 1);
    EXPECT_EQ(initRequestedExtensions(nullptr), 1);
}

TEST_F(ExtensionTest, SupportedStringIsBuiltOnceAndVersionOneTwoFromTheVersion) {
    fake.extensions = "GL_EXT_bgra GL_EXT_abgr";
    fake.windowSystem = "WGL_ARB_pbuffer";
    EXPECT_EQ(initRequestedExtensions(nullptr), 1);
    EXPECT_STREQ(supportedExtensions(), "GL_EXT_bgra GL_EXT_abgr WGL_ARB_pbuffer ");
    EXPECT_EQ(initRequestedExtensions("WGL_ARB_pbuffer"), 1);
    EXPECT_NE(request::wglCreatePbufferARB, nullptr);
    fake.extensions = "GL_NV_fence";
    EXPECT_EQ(initRequestedExtensions("GL_NV_fence"), 0);
    EXPECT_STREQ(supportedExtensions(), "GL_EXT_bgra GL_EXT_abgr WGL_ARB_pbuffer ");

    for (auto [version, expected] : {std::pair{"2.0 Mesa", 1}, {"1.1.0", 0}, {"", 0}}) {
        fake.version = version;
        EXPECT_EQ(isExtensionSupported("GL_VERSION_1_2", "GL_VERSION_1_2 "), expected) << version;
    }
    fake.version = "3.0";
    EXPECT_EQ(initRequestedExtensions("GL_VERSION_1_2"), 1);  // not in the string
    EXPECT_NE(request::glTexImage3D, nullptr);
    EXPECT_EQ(isExtensionSupported("GL_EXT_abgr", "xGL_EXT_abgr "), 1);  // nothing needed before
    EXPECT_EQ(isExtensionSupported("GL_EXT_abgr", "GL_EXT_abgr"), 0);    // a space after
}

TEST_F(ExtensionTest, AMissingFirstEntryPointStopsAndLeavesTheRest) {
    fake.extensions = "GL_EXT_compiled_vertex_array";
    EXPECT_EQ(initRequestedExtensions("GL_EXT_compiled_vertex_array"), 1);
    auto earlier = request::glUnlockArraysEXT;
    ASSERT_NE(earlier, nullptr);

    fake.generation = 2;
    fake.missing.insert("glLockArraysEXT");
    EXPECT_EQ(resolveExtensionEntryPoints("GL_EXT_compiled_vertex_array"), 0);
    EXPECT_EQ(request::glUnlockArraysEXT, earlier);
    EXPECT_EQ(resolveExtensionEntryPoints(nullptr), 0);
    EXPECT_EQ(resolveExtensionEntryPoints("GL_EXT_bgra"), 1);
}

}  // namespace
}  // namespace demo
