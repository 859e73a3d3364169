// Vector fonts on a headless context: slots and the pixels of square glyphs.

#include "graphics/opengl/vector_font.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/font_writers.h"
#include "tests/support/texture_fixture.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

void drawSolid(int c) { drawSolidSymbol(static_cast<unsigned char>(c)); }

// Each drawn character with the x of its origin in hundredths, read from the modelview.
std::vector<std::pair<int, long>> placed;
void place(int c) {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    placed.emplace_back(c, std::lround(m[12] * 100));
}

class VectorFont : public test::HeadlessGLTest {};

TEST_F(VectorFont, LoadsPlacesAndDrawsSymbols) {
    auto dir = test::freshScratchDir("vector_font");
    std::filesystem::create_directories(dir / "Fonts");
    // A: x -1 to 1; B: x -0.5 to 2.
    test::writeBytes(
        dir / "Fonts/Sans.GLF",
        test::glfBytes({test::square('A'), {'B', {-0.5f, 0, 2, 0, 0, 1}, {0, 1, 2}, {}}}));
    const std::string loose = dir.string() + "\\fonts\\sans.glf";  // as show data names it
    for (int slot = 0; slot < kFontSlots; ++slot) ASSERT_EQ(loadVectorFont(loose.c_str()), slot);
    EXPECT_EQ(loadVectorFont(loose.c_str()), -1);
    selectVectorFont(1);
    for (int n : {-1, 256}) selectVectorFont(n);
    EXPECT_EQ(currentVectorFont, 1);
    initFonts();  // frees all 256 (the leak checker watches)
    EXPECT_EQ(loadVectorFont((dir / "none.glf").c_str()), -1);
    ASSERT_EQ(loadVectorFont(loose.c_str()), 0);

    // x -2..6, y -4..4 at 8 pixels a unit: squares at x 8..24 and 25.6..41.6, y 24..40.
    centeredText = false;
    glViewport(0, 0, 64, 64);
    test::loadOrtho(-2, 6, -4, 4);  // the window set a perspective
    glClearColor(0, 0, 0, 1);
    glColor3f(1, 1, 1);
    for (GLenum state : {GL_CULL_FACE, GL_DEPTH_TEST, GL_TEXTURE_2D, GL_LIGHTING}) glDisable(state);
    glClear(GL_COLOR_BUFFER_BIT);
    drawVectorString("AA", drawSolid);
    const int inside[][2] = {{9, 25}, {23, 39}, {27, 32}, {40, 32}},
              outside[][2] = {{6, 32}, {43, 32}, {16, 22}};
    for (auto [x, y] : inside) EXPECT_EQ(test::readPixel(x, y)[0], 255) << x << "," << y;
    for (auto [x, y] : outside) EXPECT_EQ(test::readPixel(x, y)[0], 0) << x << "," << y;

    // Layout: spacing 0.2 plus the facing bounds, 2 after a space or a
    // missing symbol, nothing before a missing one.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const std::tuple<const char*, bool, std::vector<std::pair<int, long>>> layouts[] = {
        {"AB", true, {{'A', -85}, {'B', 85}}},     {"B A", true, {{'B', -110}, {'A', 110}}},
        {"A B", false, {{'A', 0}, {'B', 220}}},    {"A\x90" "A", false, {{'A', 0}, {0x90, 0}, {'A', 200}}},
        {" A", false, {{'A', 200}}},               {"B", false, {{'B', -50}}},
        {"  ", true, {}}};
    for (auto [text, centred, want] : layouts) {
        placed.clear();
        centeredText = centred;
        drawVectorString(text, place);
        place(0);  // the matrix is given back
        want.emplace_back(0, 0);
        EXPECT_EQ(placed, want) << text;
    }
}

}  // namespace
}  // namespace demo
