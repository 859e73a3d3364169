#include "platform/gl_proc_address.h"

#include <GL/gl.h>
#include <SDL.h>

#include "platform/vertex_program/vertex_program_layer.h"

namespace demo::platform {

namespace {

GLProc driverProcAddress(const char* name) {
    return reinterpret_cast<GLProc>(SDL_GL_GetProcAddress(name));
}

const char* driverExtensions() { return reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)); }

}  // namespace

GLProc getProcAddress(const char* name) {
    if (name == nullptr) return nullptr;
    const char* extensions = driverExtensions();
    if (extensions != nullptr && !vp::listsVertexProgram(extensions)) {
        if (GLProc own = vp::layerEntryPoint(name)) {
            vp::setEntryPointResolver(driverProcAddress);
            return own;
        }
    }
    return driverProcAddress(name);
}

const char* vertexProgramExtensions() { return vp::withLayerExtensions(driverExtensions()); }

}  // namespace demo::platform
