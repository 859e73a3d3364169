#pragma once
// The renderer's one-per-program state. Creating it finishes the OpenGL
// set-up that effects rely on: extension entry points, the pool of fast
// vertex memory, the SL context for vertex programs, and the fixed-function state in a known
// default (clockwise front faces with back-face culling, since the projections mirror z). First
// used after the window and its context exist; never destroyed.

#include <string>

#include "graphics/opengl/dynamic_glva.h"
#include "manager/singleton.h"
#include "sl-runtime/sl_runtime.h"

namespace demo {

class VertexBuffer;
class TriangleIndexArray;

class GLState : public Singleton {
public:
    static GLState* instance();
    ~GLState() override;  // deletes vertexPool
    GLState(const GLState&) = delete;
    GLState& operator=(const GLState&) = delete;

    SlContext slContext = nullptr;  // for vertex programs; never destroyed
    // Set and read by the render commands.
    VertexBuffer* currentVertices = nullptr;
    TriangleIndexArray* currentTriangles = nullptr;
    DynamicGLVA* vertexPool = nullptr;

    // Run by the constructor: makes vertexPool and slContext, then puts the
    // fixed-function state into its default. Called again, it only resets
    // the GL state.
    void applyDefaults();

private:
    GLState();
};

// Loads the SL vertex program `programName` from the file `fileName` of the
// file system into the state's SL context and into OpenGL under the next id
// (1, 2, ... one per call), and returns its handle. A missing file throws
// ResourceMissing; a program that does not compile, a file without that
// program, or a program that OpenGL refuses, throws ExceptionBase naming the
// file (with the listing: the compiler's messages and OpenGL's refusal).
SlProgramHandle loadSlProgram(GLState* state, const std::string& fileName,
                              const std::string& programName);

}  // namespace demo
