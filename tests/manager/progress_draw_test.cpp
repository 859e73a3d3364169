// The loading bar drawn into a real headless context, read back from pixels.

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "manager/exceptions.h"
#include "manager/progress_bar.h"
#include "manager/progress_bar_draw.h"
#include "manager/timer_base.h"
#include "manager/window.h"

namespace demo {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

using Pixel = std::array<int, 3>;

class ProgressDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        initTimerBase();
        ProgressBar::instance()->reset();
        DisplaySettings settings;
        settings.width = kWidth;
        settings.height = kHeight;
        try {
            createDisplay(settings, display);
        } catch (const InitGLException& e) {
            FAIL() << e.message();
        }
    }
    void TearDown() override {
        destroyDisplay(display);
        ProgressBar::instance()->reset();
    }

    static Pixel pixelAt(int x, int y, GLenum buffer = GL_BACK) {
        glReadBuffer(buffer);
        unsigned char rgba[4] = {};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return {rgba[0], rgba[1], rgba[2]};
    }

    DisplayPair display;
};

// The bar spans x in [-0.8, 0.8] and y in [-0.1, 0.1] at distance 2 under a
// 45 degree perspective: about pixels 44..276 across and 106..134 up.
constexpr int kCentreX = kWidth / 2;
constexpr int kCentreY = kHeight / 2;
constexpr int kLeftInside = 50;
constexpr int kRightInside = 270;

TEST_F(ProgressDrawTest, EmptyBarHasOnlyItsOutline) {
    drawProgressBarFrame(0.0f);
    EXPECT_EQ(pixelAt(kCentreX, kCentreY), (Pixel{0, 0, 0}));
    EXPECT_EQ(pixelAt(kLeftInside, kCentreY), (Pixel{0, 0, 0}));
    // The outline's top edge crosses the centre column just above the fill.
    int outlineRows = 0;
    for (int y = kCentreY; y < kHeight; ++y) {
        Pixel p = pixelAt(kCentreX, y);
        if (p[2] > 200 && p[0] > 120 && p[0] < 170) ++outlineRows;
    }
    EXPECT_GE(outlineRows, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ProgressDrawTest, FullBarIsFilledLightBelowDarkAbove) {
    drawProgressBarFrame(1.0f);
    for (int x : {kLeftInside, kCentreX, kRightInside}) {
        Pixel middle = pixelAt(x, kCentreY);
        EXPECT_NEAR(middle[0], 64, 8) << x;  // halfway between 0.4 and 0.1
        EXPECT_NEAR(middle[2], 191, 8) << x;  // halfway between 1.0 and 0.5
    }
    Pixel low = pixelAt(kCentreX, kCentreY - 12);
    Pixel high = pixelAt(kCentreX, kCentreY + 12);
    EXPECT_GT(low[2], high[2]);
    EXPECT_GT(low[0], high[0]);
    // Outside the bar: the clear colour.
    EXPECT_EQ(pixelAt(10, kCentreY), (Pixel{0, 0, 0}));
    EXPECT_EQ(pixelAt(kCentreX, 200), (Pixel{0, 0, 0}));
}

TEST_F(ProgressDrawTest, DrawingRestoresTheStateTheShowExpects) {
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1.0f, 2.0f, 3.0f);
    drawProgressBarFrame(0.5f);
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_FLOAT_EQ(modelview[12], 1.0f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[1], 1.0f);
    // Half full: filled left of the centre, empty right of it.
    EXPECT_GT(pixelAt(kCentreX - 40, kCentreY)[2], 100);
    EXPECT_EQ(pixelAt(kCentreX + 40, kCentreY), (Pixel{0, 0, 0}));
}

TEST_F(ProgressDrawTest, TheBarDrawsThroughTheWindowOnceDisplayIsReady) {
    const char* dir = std::getenv("DEMO_TEST_TMP");
    std::string path = std::string(dir != nullptr ? dir : "/tmp") + "/progress_full.dat";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputc(255, file);
    std::fclose(file);

    ProgressBar* bar = ProgressBar::instance();
    bar->loadTimes(path.c_str());
    bar->setDisplayReady(true);
    // createDisplay hooked the drawing (reset() cleared it, so hook again).
    attachProgressBar(display.window);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    bar->begin();  // step 0: fraction 1, drawn and presented
    bar->end();
    EXPECT_EQ(bar->index(), 2);
    // The presented frame is in the front buffer.
    Pixel centre = pixelAt(kCentreX, kCentreY, GL_FRONT);
    EXPECT_NEAR(centre[2], 191, 8);
    EXPECT_EQ(pixelAt(10, kCentreY, GL_FRONT), (Pixel{0, 0, 0}));  // cleared by the bar

    // A destroyed window stops the drawing: later steps only count.
    destroyDisplay(display);
    bar->begin();
    bar->end();
    EXPECT_EQ(bar->index(), 2);
}

}  // namespace
}  // namespace demo
