#pragma once

#include <memory>
#include <vector>

#include "graphics/opengl/render_command.h"

namespace demo {

class DisplayList;

// A command list that is run as it is, or compiled once into one display list
// and replayed from it. A compiled batch keeps the GL state its commands had
// at compile time and no longer runs render passes.
class RenderBatch {
  public:
    RenderBatch(GLState* context, RenderCommandList commands);
    virtual ~RenderBatch();

    // Records the commands into the batch's display list and replaces them by
    // one call of it. Only the first call does anything.
    virtual void compile();
    virtual void draw();

    GLState* context;
    std::shared_ptr<DisplayList> displayList;
    RenderCommandList commands;
    // What the commands point at that nobody else may keep alive (the clones
    // a scene instance queued): held as long as the batch.
    std::vector<std::shared_ptr<const void>> holds;
};

}  // namespace demo
