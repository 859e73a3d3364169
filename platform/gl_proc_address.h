#pragma once
// Run-time resolution of OpenGL entry points. Needs an open display. Mesa
// hands out a non-null stub for every name, so a result says nothing about
// support: that is decided from the extension string.
//
// Where the driver lacks GL_NV_vertex_program, the vertex-program layer
// (vertex_program/) supplies its entry points, and vertexProgramExtensions()
// names the extension for the users of those entry points.

namespace demo::platform {

using GLProc = void (*)();

GLProc getProcAddress(const char* name);

// GL_EXTENSIONS of the current context, with "GL_NV_vertex_program
// GL_NV_vertex_program1_1 " appended when the layer stands in for them.
const char* vertexProgramExtensions();

}  // namespace demo::platform
