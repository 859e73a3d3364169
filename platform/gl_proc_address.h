#pragma once
// Run-time resolution of OpenGL entry points. Needs an open display. Mesa
// hands out a non-null stub for every name, so a result says nothing about
// support: that is decided from the extension string.

namespace demo::platform {

using GLProc = void (*)();

GLProc getProcAddress(const char* name);

}  // namespace demo::platform
