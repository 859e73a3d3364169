#include "platform/gl_proc_address.h"

#include <SDL.h>

namespace demo::platform {

GLProc getProcAddress(const char* name) {
    if (name == nullptr) return nullptr;
    return reinterpret_cast<GLProc>(SDL_GL_GetProcAddress(name));
}

}  // namespace demo::platform
