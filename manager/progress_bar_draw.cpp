#include "manager/progress_bar_draw.h"

#include <GL/gl.h>

#include "manager/progress_bar.h"
#include "manager/window.h"

namespace demo {
namespace {

Window* barWindow = nullptr;

constexpr float kDepth = 2.0f;  // in front of the mirrored perspective's near plane

void drawAndSwap(float fraction) {
    drawProgressBarFrame(fraction);
    barWindow->swapBuffers();  // installed only while a window is attached
}

}  // namespace

void drawProgressBarFrame(float fraction) {
    glClear(GL_COLOR_BUFFER_BIT);
    glPushMatrix();
    glLoadIdentity();

    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);

    glColor4f(0.6f, 0.6f, 1.0f, 1.0f);
    glBegin(GL_LINE_LOOP);
    glVertex3f(-0.81f, -0.11f, kDepth);
    glVertex3f(0.81f, -0.11f, kDepth);
    glVertex3f(0.81f, 0.11f, kDepth);
    glVertex3f(-0.81f, 0.11f, kDepth);
    glEnd();

    // Light at the bottom, dark at the top, growing from the left edge.
    float x = fraction * 1.6f - 0.8f;
    glBegin(GL_QUADS);
    glColor4f(0.4f, 0.4f, 1.0f, 1.0f);
    glVertex3f(-0.8f, -0.1f, kDepth);
    glVertex3f(x, -0.1f, kDepth);
    glColor4f(0.1f, 0.1f, 0.5f, 1.0f);
    glVertex3f(x, 0.1f, kDepth);
    glVertex3f(-0.8f, 0.1f, kDepth);
    glEnd();

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glPopMatrix();
}

void attachProgressBar(Window* window) {
    barWindow = window;
    ProgressBar::instance()->setDrawFunction(drawAndSwap);
}

void detachProgressBar(Window* window) {
    if (barWindow != window) return;
    barWindow = nullptr;
    ProgressBar::instance()->setDrawFunction(nullptr);
}

}  // namespace demo
