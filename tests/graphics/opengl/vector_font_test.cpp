// Vector-font slots and text drawing on a headless context: where each
// character lands, and the pixels of square glyphs.

#include "graphics/opengl/vector_font.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/font_writers.h"
#include "tests/support/headless_gl.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

constexpr int kSize = 64;

class VectorFontTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(test::openHeadlessDisplay(display_, kSize, kSize));
        auto dir = test::freshScratchDir("vector_font");
        // A: a square of side 2; B: from x -0.5 to 2.
        test::GlfSymbol b{'B', {-0.5f, 0.0f, 2.0f, 0.0f, 0.0f, 1.0f}, {0, 1, 2}, {2}};
        font_ = (dir / "font.glf").string();
        test::writeBytes(font_, test::glfBytes({test::squareSymbol('A'), b}));
        broken_ = (dir / "broken.glf").string();
        test::writeBytes(broken_,
                         test::glfBytes({test::squareSymbol('A'), test::squareSymbol('A')}));
    }
    static void TearDownTestSuite() { destroyDisplay(display_); }
    void SetUp() override { initFonts(); }
    void TearDown() override { initFonts(); }

    static inline DisplayPair display_;
    static inline std::string font_, broken_;
};

TEST_F(VectorFontTest, LoadsIntoFreeSlotsAndSelectsOnlyLoadedOnes) {
    for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(loadVectorFont(font_.c_str()), slot);
    EXPECT_EQ(currentVectorFont, 3);
    selectVectorFont(1);
    for (int n : {7, -1, 256}) selectVectorFont(n);
    EXPECT_EQ(currentVectorFont, 1);

    testing::internal::CaptureStdout();
    EXPECT_EQ(loadVectorFont(broken_.c_str()), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Error reading font file: encountered symbols in font\n");
    EXPECT_EQ(loadVectorFont("no/such/font.glf"), -1);
    EXPECT_EQ(vectorFonts[4], nullptr);
    EXPECT_EQ(currentVectorFont, 1);

    for (int slot = 4; slot < kFontSlots; ++slot) ASSERT_EQ(loadVectorFont(font_.c_str()), slot);
    EXPECT_EQ(loadVectorFont(font_.c_str()), -1);
    initFonts();  // frees all 256 (the leak checker watches)
    EXPECT_EQ(vectorFonts[255], nullptr);
    EXPECT_EQ(currentVectorFont, -1);
}

// The characters drawChar saw and the x of the matrix at each.
std::vector<std::pair<int, float>> placed;
void recordPlace(int c) {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    placed.emplace_back(c, m[12]);
}

TEST_F(VectorFontTest, AdvancesCharactersAlongX) {
    ASSERT_EQ(loadVectorFont(font_.c_str()), 0);
    using Places = std::vector<std::pair<int, float>>;
    struct Case {
        const char* text;
        bool centred;
        Places places;
    } cases[] = {
        {"AB", false, {{'A', 0.0f}, {'B', 1.7f}}},  // 0.2 + |minX of B| + |maxX of A|
        {"AB", true, {{'A', -0.85f}, {'B', 0.85f}}},
        {"BA", false, {{'B', -0.5f}, {'A', 2.7f}}},  // starts at -(1 - |minX of B|)
        {"A B", false, {{'A', 0.0f}, {'B', 2.2f}}},
        {"A B", true, {{'A', -1.1f}, {'B', 1.1f}}},
        {"A\xC8"
         "B",
         false,
         {{'A', 0.0f}, {0xC8, 0.0f}, {'B', 2.0f}}},  // no symbol for 200
        {" A", false, {{'A', 2.0f}}},
        {"   ", false, {}},
        {"", false, {}},
    };
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (const Case& c : cases) {
        placed.clear();
        centeredText = c.centred;
        drawVectorString(c.text, recordPlace);
        ASSERT_EQ(placed.size(), c.places.size()) << c.text;
        for (std::size_t i = 0; i < placed.size(); ++i) {
            EXPECT_EQ(placed[i].first, c.places[i].first) << c.text;
            EXPECT_NEAR(placed[i].second, c.places[i].second, 1e-5) << c.text << " " << i;
        }
        placed.clear();
        recordPlace(0);
        EXPECT_EQ(placed[0].second, 0.0f) << "matrix restored after " << c.text;
    }
    placed.clear();
    initFonts();
    drawVectorString("AB", recordPlace);
    EXPECT_TRUE(placed.empty());
}

void drawSolid(int c) { drawSolidSymbol(static_cast<unsigned char>(c)); }

// Window pixels of a frame drawn in x -2..6, y -4..4 (8 pixels a unit).
template <typename Draw>
void drawFrame(Draw draw) {
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 6, -4, 4, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (GLenum state : {GL_CULL_FACE, GL_DEPTH_TEST, GL_TEXTURE_2D, GL_LIGHTING, GL_BLEND}) {
        glDisable(state);
    }
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    draw();
    glFinish();
}

TEST_F(VectorFontTest, DrawsSquareGlyphsSideBySide) {
    ASSERT_EQ(loadVectorFont(font_.c_str()), 0);
    drawFrame([] { drawVectorString("AA", drawSolid); });
    // First square x 8..24, second 25.6..41.6 pixels; both y 24..40.
    const std::array<int, 4> white{255, 255, 255, 255}, black{0, 0, 0, 255};
    struct Probe {
        int x, y;
        std::array<int, 4> colour;
    } probes[] = {{9, 25, white},  {23, 39, white}, {16, 32, white},
                  {27, 32, white}, {40, 32, white}, {6, 32, black},
                  {43, 32, black}, {16, 22, black}, {16, 42, black}};
    for (const Probe& p : probes) {
        EXPECT_EQ(test::readPixel(p.x, p.y), p.colour) << p.x << "," << p.y;
    }
    initFonts();
    drawFrame([] { drawSolidSymbol('A'); });
    EXPECT_EQ(test::readPixel(16, 32), black);
}

}  // namespace
}  // namespace demo
