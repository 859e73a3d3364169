#pragma once
// The SL runtime's OpenGL binding: which profiles the driver supports, loading
// a compiled program's object text under an id the caller chooses, binding,
// enabling the profile's target, and setting parameters, including 4x4
// matrices read from OpenGL's matrix state. Per-profile work goes through a
// table of operations; only vp20 (GL_NV_vertex_program, offered by the
// platform's vertex-program layer where the driver lacks it) is ever
// supported. Return codes are SlError values. Needs a current context.

#include <GL/gl.h>

#include "sl-runtime/sl_runtime.h"

namespace demo {

// The operations of one profile; each returns an SlError code. The vp20 and
// fp30 rows are always filled (an fp30 call answers 7 where the driver lacks
// it); the dx8vs and dx8ps rows stay empty (null operations).
struct SlGLProfileOps {
    int (*setParameter4f)(SlProgramHandle, SlParameterHandle, float, float, float, float) = nullptr;
    int (*setParameter4d)(SlProgramHandle, SlParameterHandle, double, double, double,
                          double) = nullptr;
    int (*setParameter4fv)(SlProgramHandle, SlParameterHandle, const float*) = nullptr;
    int (*setParameter4dv)(SlProgramHandle, SlParameterHandle, const double*) = nullptr;
    int (*setMatrixRow4f)(SlProgramHandle, SlParameterHandle, int, float, float, float,
                          float) = nullptr;
    int (*setMatrixRow4d)(SlProgramHandle, SlParameterHandle, int, double, double, double,
                          double) = nullptr;
    int (*afterBind)(SlProgramHandle) = nullptr;
};

// 0, or 4 when OpenGL refuses the object text: the program keeps no id, and a
// line naming the error position (and the reason, where known) is appended to
// the program's and its context's listings.
int slGLLoadProgram(SlProgramHandle program, GLuint id);
int slGLBindProgram(SlProgramHandle program);
int slGLEnableProfile(SlProfile profile);
int slGLDisableProfile(SlProfile profile);
int slGLSetParameter4f(SlProgramHandle program, SlParameterHandle parameter, float x, float y, float z,
                       float w);
// matrix: 0 modelview, 1 projection, 2 texture, 3 modelview-projection.
// transform bits: 2 inverts; 1 uploads the transpose (the array as OpenGL
// gives it) instead of the rows.
int slGLSetStateMatrixParameter(SlProgramHandle program, SlParameterHandle parameter, int matrix,
                                int transform);

// Detection and entry points, once per process (every call above runs it).
// A profile whose entry points do not all resolve counts as unsupported.
void slGLLoadExtensions();
// Sets the supported flags from the extension string (vp20 only).
void slGLDetectProfiles();
// A resolved entry point of the binding's list ("glVertexAttrib4fNV", ...), or
// null for a name not in it.
using SlGLProc = void (*)();
SlGLProc slGLEntryPoint(const char* name);
// Fills the operation rows.
void slGLInitProfileTable();
// The row of a profile (vp20 .. dx8ps), or null for another value.
const SlGLProfileOps* slGLProfileOps(SlProfile profile);
// The vp20 flag of an extension string: whole blank-separated names, the
// last one included.
bool slGLListsVertexProgram(const char* extensions);
// Forgets detection and entry points, so that the next call looks again
// (tests that open a new context).
void slGLForget();

// Matrix helpers, on 4x4 arrays of doubles indexed [row][column] of the array.
void sliMultiplyMatrix4(const double* a, const double* b, double* out);
// 1, or 0 for a pivot below 1e-6 (out is then not an inverse).
int sliInvertMatrix4(const double* in, double* out);
// Uploads m (row-major, the parameter type's rows and columns) row by row.
int sliSetMatrixRows(SlProgramHandle program, SlParameterHandle parameter, const double* m);
// The same for m column-major.
int sliSetMatrixColumns(SlProgramHandle program, SlParameterHandle parameter, const double* m);

}  // namespace demo
