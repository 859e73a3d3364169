#include "graphics/opengl/display_list.h"

namespace demo {

DisplayList::~DisplayList() {
    if (valid) glDeleteLists(list, 1);
    valid = false;
}

void DisplayList::begin(GLenum mode) {
    if (!valid) {
        list = glGenLists(1);
        valid = true;
    }
    glNewList(list, mode);
}

void DisplayList::call() const {
    if (valid) glCallList(list);
}

}  // namespace demo
