// The loading bar drawn into a real headless context, read back from pixels.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <string>

#include "manager/progress_bar.h"
#include "manager/progress_bar_draw.h"
#include "manager/timer_base.h"
#include "manager/window.h"
#include "tests/support/headless_gl.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

using Pixel = std::array<int, 3>;

Pixel rgbAt(int x, int y, GLenum buffer = GL_BACK) {
    auto rgba = test::readPixel(x, y, buffer);
    return {rgba[0], rgba[1], rgba[2]};
}

// The bar spans x in [-0.8, 0.8] and y in [-0.1, 0.1] at distance 2 under a
// 45 degree perspective: about pixels 44..276 across and 106..134 up.
constexpr int kCentreX = 160;
constexpr int kCentreY = 120;
constexpr Pixel kBlack{0, 0, 0};

TEST(ProgressDraw, FillsFromPixelsAndDrawsThroughTheWindowOnceReady) {
    initTimerBase();
    ProgressBar* bar = ProgressBar::instance();
    bar->reset();
    DisplayPair display;
    ASSERT_TRUE(test::openHeadlessDisplay(display, 320, 240));

    drawProgressBarFrame(0.0f);  // empty: only the outline
    EXPECT_EQ(rgbAt(kCentreX, kCentreY), kBlack);
    drawProgressBarFrame(1.0f);
    Pixel middle = rgbAt(50, kCentreY);
    EXPECT_NEAR(middle[0], 64, 8);   // halfway between 0.4 and 0.1
    EXPECT_NEAR(middle[2], 191, 8);  // halfway between 1.0 and 0.5
    // The clear colour outside.
    EXPECT_TRUE(rgbAt(10, kCentreY) == kBlack && rgbAt(kCentreX, 200) == kBlack);

    // Half full, over a moved model-view that the drawing leaves as it was.
    glTranslatef(1.0f, 2.0f, 3.0f);
    drawProgressBarFrame(0.5f);
    EXPECT_GT(rgbAt(kCentreX - 40, kCentreY)[2], 100);
    EXPECT_EQ(rgbAt(kCentreX + 40, kCentreY), kBlack);
    GLfloat modelview[16], colour[4];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_TRUE(modelview[12] == 1.0f && colour[1] == 1.0f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glLoadIdentity();

    // Through the bar: createDisplay hooked the drawing into the window.
    std::string path = (test::scratchRoot() / "progress_full.dat").string();
    std::ofstream(path, std::ios::binary) << '\xff';
    bar->loadTimes(path.c_str());
    bar->setDisplayReady(true);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    bar->begin();  // step 0: fraction 1, drawn and presented
    bar->end();
    EXPECT_EQ(bar->index(), 2);
    EXPECT_NEAR(rgbAt(kCentreX, kCentreY, GL_FRONT)[2], 191, 8);
    EXPECT_EQ(rgbAt(10, kCentreY, GL_FRONT), kBlack);  // cleared by the bar

    // A destroyed window stops the drawing: later steps only count.
    destroyDisplay(display);
    bar->begin();
    bar->end();
    EXPECT_EQ(bar->index(), 2);
    bar->reset();
}

}  // namespace
}  // namespace demo
