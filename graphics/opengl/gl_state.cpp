#include "graphics/opengl/gl_state.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "graphics/opengl/glh_extensions.h"
#include "manager/exceptions.h"
#include "manager/file_system.h"
#include "sl-runtime/opengl/sl_gl.h"

namespace demo {
namespace {

constexpr const char* kUnit = "graphics/opengl/gl_state";

// Texturing and texture-coordinate generation off on the active unit.
void disableTexturing() {
    glDisable(GL_TEXTURE_2D);
    for (GLenum gen : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q}) {
        glDisable(gen);
    }
}

}  // namespace

GLState* GLState::instance() {
    static GLState* state = new GLState();
    return state;
}

GLState::GLState() { applyDefaults(); }

GLState::~GLState() { delete vertexPool; }

void GLState::applyDefaults() {
    probeExtensions();
    // A repeated call only resets the GL state: the pool and the context stay.
    if (vertexPool == nullptr) vertexPool = new DynamicGLVA();
    if (slContext == nullptr) slContext = slCreateContext();

    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glDepthFunc(GL_LESS);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glClearStencil(0);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);
    glEnable(GL_NORMALIZE);

    for (GLenum array :
         {GL_TEXTURE_COORD_ARRAY, GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_COLOR_ARRAY}) {
        glDisableClientState(array);
    }
    for (GLenum i = 0; i < 8; ++i) glDisable(GL_LIGHT0 + i);

    // Unit 1 first, so that unit 0 is left active. Without multitexture
    // there is only unit 0.
    if (probe::glActiveTextureARB != nullptr) {
        probe::glActiveTextureARB(GL_TEXTURE1_ARB);
        disableTexturing();
        probe::glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    disableTexturing();
    glRenderMode(GL_RENDER);
}

SlProgramHandle loadSlProgram(GLState* state, const std::string& fileName,
                              const std::string& programName) {
    // The reference is kept: the file stays cached.
    MemoryFile* file = FileSystem::instance()->get(fileName);
    std::string text(reinterpret_cast<const char*>(file->data), file->size);
    static int nextId = 1;
    GLuint id = static_cast<GLuint>(nextId++);  // taken also when the program fails
    if (slAddProgram(state->slContext, text.c_str(), slProfileVp20, nullptr) != slOk) {
        throw ExceptionBase("SL program \"" + fileName + "\" does not compile:\n" +
                                slGetLastListing(state->slContext),
                            kUnit, 101);
    }
    SlProgramHandle program = slProgramByName(state->slContext, programName.c_str());
    if (program == nullptr) {
        throw ExceptionBase("SL program \"" + fileName + "\" holds no program \"" + programName + "\"",
                            kUnit, 104);
    }
    if (slGLLoadProgram(program, id) != slOk) {
        throw ExceptionBase("SL program \"" + fileName + "\" is refused by OpenGL:\n" +
                                slGetLastListing(state->slContext),
                            kUnit, 106);
    }
    return program;
}

}  // namespace demo
