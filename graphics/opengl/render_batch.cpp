#include "graphics/opengl/render_batch.h"

#include "graphics/opengl/display_list.h"

namespace demo {

RenderBatch::RenderBatch(GLState* context_, RenderCommandList commands_)
    : context(context_), commands(std::move(commands_)) {}

RenderBatch::~RenderBatch() = default;

void RenderBatch::compile() {
    // A second compile would record the call command into the list it calls.
    if (displayList) return;
    displayList = std::make_shared<DisplayList>();
    displayList->begin(GL_COMPILE);
    runRenderCommands(commands, *context);
    glEndList();
    commands.clear();
    commands.push_back({displayList.get(), render_op::kCallList});
}

void RenderBatch::draw() { runRenderCommands(commands, *context); }

}  // namespace demo
