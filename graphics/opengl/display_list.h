#pragma once
// One OpenGL display list, named on the first begin() and recorded again by
// every later one; the render commands record and replay scene objects
// through it.

#include <GL/gl.h>

namespace demo {

class DisplayList {
public:
    DisplayList() = default;
    virtual ~DisplayList();  // deletes the list when it was ever begun
    DisplayList(const DisplayList&) = delete;
    DisplayList& operator=(const DisplayList&) = delete;

    // Starts recording (GL_COMPILE or GL_COMPILE_AND_EXECUTE); the caller
    // draws and ends with glEndList.
    void begin(GLenum mode);
    // Replays the list; nothing before the first begin().
    void call() const;

    bool valid = false;
    GLuint list = 0;
};

}  // namespace demo
