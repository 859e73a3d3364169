#include "player/show_native_host.h"

#include <GL/gl.h>

#include "graphics/opengl/glh_extensions.h"
#include "manager/musicplayer.h"
#include "manager/silent_timer.h"

namespace demo {

NativeShowHost::~NativeShowHost() { destroyDisplay(display_); }

Window* NativeShowHost::openDisplay(const DisplaySettings& settings) {
    createDisplay(settings, display_);
    probeExtensions();
    return display_.window;
}

Clock* NativeShowHost::makeClock(const std::string& musicFile, bool sound) {
    if (sound && !musicFile.empty()) return new MusicPlayer(musicFile);
    return new SilentTimer;
}

void NativeShowHost::endFrame(Window& window) {
    glFlush();
    window.swapBuffers();
}

}  // namespace demo
