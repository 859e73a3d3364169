// Extension loading against a fake driver, then a smoke test on Mesa.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <set>
#include <string>

#include "graphics/opengl/glh_extensions.h"
#include "manager/exceptions.h"
#include "manager/window.h"

namespace demo {
namespace {

using platform::GLProc;

// The fake driver: every name resolves to a distinct fake address unless it
// is listed as missing; strings come from the test.
std::string fakeExtensions;
std::string fakeVersion = "1.2.1";
std::string fakeWindowSystem;
std::set<std::string> missing;
int resolutions = 0;
int generation = 1;  // changes the addresses handed out

GLProc fakeResolve(const char* name) {
    ++resolutions;
    if (missing.count(name) != 0) return nullptr;
    // Never called: only compared. Distinct per name and per generation.
    std::uintptr_t address = (std::hash<std::string>{}(name) << 4) + 16 * generation;
    return reinterpret_cast<GLProc>(address);
}
const char* fakeString(GLenum name) {
    if (name == GL_EXTENSIONS) return fakeExtensions.c_str();
    if (name == GL_VERSION) return fakeVersion.c_str();
    return nullptr;
}
const char* fakeWindowSystemExtensions() { return fakeWindowSystem.c_str(); }

const ExtensionDriver kFakeDriver{fakeResolve, fakeString, fakeWindowSystemExtensions};

// Catalogue indices of one extension's entry points.
std::vector<std::size_t> entriesOf(const std::string& extension) {
    std::vector<std::size_t> indices;
    auto all = catalogueEntryPoints();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (extension == all[i].extension) indices.push_back(i);
    }
    return indices;
}

int countSet(PointerSet set, const std::string& extension) {
    int n = 0;
    for (std::size_t i : entriesOf(extension)) n += entryPoint(set, i) != nullptr ? 1 : 0;
    return n;
}

int countAllSet(PointerSet set) {
    int n = 0;
    for (std::size_t i = 0; i < catalogueEntryPoints().size(); ++i) {
        n += entryPoint(set, i) != nullptr ? 1 : 0;
    }
    return n;
}

class ExtensionTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetExtensionLoader();
        setExtensionDriver(&kFakeDriver);
        fakeExtensions.clear();
        fakeVersion = "1.2.1";
        fakeWindowSystem.clear();
        missing.clear();
        resolutions = 0;
        generation = 1;
    }
    void TearDown() override {
        setExtensionDriver(nullptr);
        resetExtensionLoader();
    }
};

TEST(ExtensionCatalogue, HoldsEveryNameAndEntryPointInOrder) {
    auto extensions = catalogueExtensions();
    auto entries = catalogueEntryPoints();
    ASSERT_EQ(extensions.size(), 54u);
    EXPECT_STREQ(extensions.front(), "GL_ARB_multitexture");
    EXPECT_STREQ(extensions[47], "GL_VERSION_1_2");
    EXPECT_STREQ(extensions.back(), "GL_NV_point_sprite");
    ASSERT_EQ(entries.size(), 228u);
    EXPECT_STREQ(entries.front().name, "glMultiTexCoord1dARB");
    EXPECT_STREQ(entries[32].name, "glActiveTextureARB");
    EXPECT_STREQ(entries.back().name, "glPointParameterivNV");

    std::set<std::string> withEntries;
    for (const auto& e : entries) withEntries.insert(e.extension);
    EXPECT_EQ(withEntries.size(), 26u);
    EXPECT_EQ(entriesOf("GL_ARB_multitexture").size(), 34u);
    EXPECT_EQ(entriesOf("GL_NV_vertex_program").size(), 63u);
    EXPECT_EQ(entriesOf("GL_EXT_secondary_color").size(), 17u);
    // Each extension's entry points are together.
    for (const std::string& name : withEntries) {
        auto indices = entriesOf(name);
        EXPECT_EQ(indices.back() - indices.front() + 1, indices.size()) << name;
    }
}

TEST_F(ExtensionTest, ProbeResolvesListedExtensionsOnceBySubstring) {
    fakeExtensions =
        "GL_ARB_multitexture GL_NV_register_combiners2 GL_EXT_paletted_texture "
        "GL_EXT_vertex_array GL_EXT_bgra";
    missing.insert("glMultiTexCoord1dvARB");
    EXPECT_TRUE(probeExtensions());
    EXPECT_STREQ(extensionString(),
                 "GL_ARB_multitexture\nGL_NV_register_combiners2\nGL_EXT_paletted_texture\n"
                 "GL_EXT_vertex_array\nGL_EXT_bgra");

    EXPECT_NE(probe::glActiveTextureARB, nullptr);
    // A null answer is stored and the next entry point follows.
    EXPECT_EQ(probe::glMultiTexCoord1dvARB, nullptr);
    EXPECT_NE(probe::glMultiTexCoord1fARB, nullptr);
    EXPECT_EQ(countSet(PointerSet::Probe, "GL_ARB_multitexture"), 33);
    // Found inside "GL_NV_register_combiners2".
    EXPECT_EQ(countSet(PointerSet::Probe, "GL_NV_register_combiners"), 13);
    EXPECT_EQ(countSet(PointerSet::Probe, "GL_NV_register_combiners2"), 2);
    // Listed but never probed.
    EXPECT_EQ(probe::glColorTableEXT, nullptr);
    EXPECT_EQ(probe::glArrayElementEXT, nullptr);
    EXPECT_EQ(probe::glLoadProgramNV, nullptr);
    EXPECT_EQ(countAllSet(PointerSet::Probe), 33 + 13 + 2);
    EXPECT_EQ(countAllSet(PointerSet::Request), 0);

    int before = resolutions;
    fakeExtensions = "GL_NV_vertex_program";
    EXPECT_TRUE(probeExtensions());
    EXPECT_EQ(resolutions, before);
    EXPECT_EQ(probe::glLoadProgramNV, nullptr);
}

TEST_F(ExtensionTest, ProbeLooksForTheVersionNameLikeAnyOther) {
    fakeExtensions = "GL_EXT_texture3D";
    probeExtensions();
    EXPECT_NE(probe::glTexImage3DEXT, nullptr);
    EXPECT_EQ(probe::glBlendColor, nullptr);
}

TEST_F(ExtensionTest, RequestResolvesEveryListedNameIntoItsOwnSet) {
    fakeExtensions = "GL_NV_texture_shader GL_ARB_multitexture";
    EXPECT_EQ(initRequestedExtensions("GL_NV_texture_shader GL_ARB_multitexture "), 1);
    EXPECT_EQ(countSet(PointerSet::Request, "GL_ARB_multitexture"), 34);
    EXPECT_EQ(countAllSet(PointerSet::Request), 34);
    EXPECT_EQ(countAllSet(PointerSet::Probe), 0);
    EXPECT_EQ(reinterpret_cast<GLProc>(request::glActiveTextureARB),
              fakeResolve("glActiveTextureARB"));
}

TEST_F(ExtensionTest, AnUnknownNameFailsTheListButTheOthersResolve) {
    fakeExtensions = "GL_ARB_multitexture GL_ARB_shadow";
    EXPECT_EQ(initRequestedExtensions("GL_XYZ_unknown GL_ARB_multitexture"), 0);
    EXPECT_NE(request::glActiveTextureARB, nullptr);
    // Listed by the driver but not catalogued: not resolvable.
    EXPECT_EQ(initRequestedExtensions("GL_ARB_shadow"), 0);
    // A catalogue name the driver lacks, and a prefix of a listed name.
    EXPECT_EQ(initRequestedExtensions("GL_NV_fence"), 0);
    EXPECT_EQ(initRequestedExtensions("GL_ARB_multi"), 0);
    EXPECT_EQ(request::glGenFencesNV, nullptr);
}

TEST_F(ExtensionTest, SeparatorsAndEmptyLists) {
    fakeExtensions = "GL_EXT_bgra GL_ARB_transpose_matrix";
    EXPECT_EQ(initRequestedExtensions(nullptr), 1);
    EXPECT_EQ(initRequestedExtensions(""), 1);
    EXPECT_EQ(initRequestedExtensions(" \t\n "), 1);
    EXPECT_EQ(initRequestedExtensions("\t GL_EXT_bgra\n\n  GL_ARB_transpose_matrix  \t"), 1);
    EXPECT_EQ(countAllSet(PointerSet::Request), 4);
}

TEST_F(ExtensionTest, SupportedStringIsBuiltOnceWithTheWindowSystemString) {
    fakeExtensions = "GL_EXT_bgra GL_EXT_abgr";
    fakeWindowSystem = "WGL_ARB_pbuffer";
    EXPECT_EQ(initRequestedExtensions(nullptr), 1);
    EXPECT_STREQ(supportedExtensions(), "GL_EXT_bgra GL_EXT_abgr WGL_ARB_pbuffer ");
    EXPECT_EQ(initRequestedExtensions("WGL_ARB_pbuffer"), 1);
    EXPECT_NE(request::wglCreatePbufferARB, nullptr);
    fakeExtensions = "GL_NV_fence";
    EXPECT_EQ(initRequestedExtensions("GL_NV_fence"), 0);
    EXPECT_STREQ(supportedExtensions(), "GL_EXT_bgra GL_EXT_abgr WGL_ARB_pbuffer ");
}

TEST_F(ExtensionTest, VersionOneTwoIsJudgedFromTheVersionString) {
    for (const char* version : {"1.2.1", "2.0 Mesa", "4.5 (Compatibility Profile)"}) {
        fakeVersion = version;
        EXPECT_EQ(isExtensionSupported("GL_VERSION_1_2", ""), 1) << version;
    }
    for (const char* version : {"1.1.0", "1.0"}) {
        fakeVersion = version;
        EXPECT_EQ(isExtensionSupported("GL_VERSION_1_2", "GL_VERSION_1_2 "), 0) << version;
    }
    fakeVersion = "3.0";
    EXPECT_EQ(initRequestedExtensions("GL_VERSION_1_2"), 1);
    EXPECT_NE(request::glTexImage3D, nullptr);
    EXPECT_EQ(isExtensionSupported("GL_EXT_abgr", "xGL_EXT_abgr "), 1);  // nothing needed before
    EXPECT_EQ(isExtensionSupported("GL_EXT_abgr", "GL_EXT_abgr"), 0);    // a space after
}

TEST_F(ExtensionTest, AMissingFirstEntryPointStopsAndLeavesTheRest) {
    fakeExtensions = "GL_EXT_compiled_vertex_array";
    EXPECT_EQ(initRequestedExtensions("GL_EXT_compiled_vertex_array"), 1);
    auto earlier = request::glUnlockArraysEXT;
    ASSERT_NE(earlier, nullptr);

    generation = 2;
    missing.insert("glLockArraysEXT");
    EXPECT_EQ(resolveExtensionEntryPoints("GL_EXT_compiled_vertex_array"), 0);
    EXPECT_EQ(request::glUnlockArraysEXT, earlier);
    EXPECT_EQ(resolveExtensionEntryPoints(nullptr), 0);
    EXPECT_EQ(resolveExtensionEntryPoints("gl_ext_compiled_vertex_array"), 0);
    EXPECT_EQ(resolveExtensionEntryPoints("GL_EXT_bgra"), 1);
}

// Mesa's answers, on SDL's offscreen driver.
TEST(ExtensionsOnMesa, MultitextureIsThereAndNvVertexProgramIsNot) {
    DisplayPair display;
    DisplaySettings settings;
    settings.width = 64;
    settings.height = 64;
    try {
        createDisplay(settings, display);
    } catch (const InitGLException& e) {
        FAIL() << e.message();
    }
    resetExtensionLoader();
    EXPECT_TRUE(probeExtensions());
    EXPECT_NE(std::strstr(extensionString(), "GL_ARB_multitexture\n"), nullptr);
    EXPECT_EQ(std::strchr(extensionString(), ' '), nullptr);
    ASSERT_NE(probe::glActiveTextureARB, nullptr);
    EXPECT_EQ(probe::glLoadProgramNV, nullptr);

    probe::glActiveTextureARB(GL_TEXTURE1);
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE1);
    probe::glActiveTextureARB(GL_TEXTURE0);

    EXPECT_EQ(initRequestedExtensions("GL_NV_vertex_program"), 0);
    EXPECT_EQ(initRequestedExtensions("GL_ARB_multitexture"), 1);
    EXPECT_EQ(initRequestedExtensions("GL_VERSION_1_2"), 1);
    EXPECT_EQ(countSet(PointerSet::Request, "GL_ARB_multitexture"), 34);

    resetExtensionLoader();
    destroyDisplay(display);
}

}  // namespace
}  // namespace demo
