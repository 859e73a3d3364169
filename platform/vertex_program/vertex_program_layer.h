#pragma once
// The vertex-program extension offered over ARB vertex programs, for drivers
// that lack it. Programs are parsed and checked here, translated to
// "!!ARBvp1.0" (again at bind when the tracked matrices changed since),
// program parameters go to the ARB environment parameters, vertex attributes
// to the conventional ones, and state programs run on the CPU.
//
// Errors are raised as real OpenGL errors of the same kind (by a harmless
// invalid call), so that glGetError reports them. The attribute-array enables
// of the extension cannot be offered: callers enable the conventional arrays.
//
// Attributes go to the conventional attribute of their register, and three of
// those carry fewer components than a program reads: v[2] (normal) and v[4]
// (secondary colour) keep x, y and z, v[5] (fog coordinate) keeps x. On the
// driver the lost components read as 0, and w as 1, whatever
// glVertexAttrib*NV or an array of four set. Arrays of those registers keep
// their layout at any size, except normals and secondary colours of fewer
// than three components, which are refused with GL_INVALID_VALUE. The other
// registers keep all four, but the driver refuses (with GL_INVALID_VALUE too)
// arrays of v[0] (position) of one component and of v[3] (colour) of one or
// two.

#include <GL/gl.h>

#include <string>

namespace demo::vp {

using Proc = void (*)();

// The layer's entry point of that name ("glLoadProgramNV", and
// "glGetIntegerv", which also answers GL_PROGRAM_ERROR_POSITION_NV), or null
// when the name is not one of them.
Proc layerEntryPoint(const char* name);

// Where the layer gets the driver's ARB program entry points from; set before
// the layer's entry points are called.
void setEntryPointResolver(Proc (*resolve)(const char* name));

// True when the extension string names the extension itself (whole token).
bool listsVertexProgram(const char* extensions);

// The extension string that users of the extension see: the driver's, with
// "GL_NV_vertex_program GL_NV_vertex_program1_1 " appended when it lacks it.
// Valid until the next call with a different string.
const char* withLayerExtensions(const char* driverExtensions);

// What the last failed load said, for messages and tests.
const std::string& lastLoadMessage();

// Forgets every program, parameter and tracking (the context went away).
void resetLayer();

}  // namespace demo::vp
