#include "platform/window_message.h"

namespace demo::platform {
namespace {
bool quitPosted = false;  // single-threaded: the window lives on the main thread
}

void postQuitMessage() { quitPosted = true; }

bool takePostedQuit() {
    bool posted = quitPosted;
    quitPosted = false;
    return posted;
}

}  // namespace demo::platform
