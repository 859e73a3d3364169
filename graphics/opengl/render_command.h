#pragma once
// Scene objects are drawn from flat command lists: push the object's matrix,
// apply its render states, draw or call its mesh, restore the states, recurse
// into the children, pop. A list runs directly or is compiled into a display
// list by a RenderBatch.

#include <list>

namespace demo {

class GLState;
class SceneObject;

// The argument's type depends on the opcode.
namespace render_op {
constexpr int kPushTransform = 1;    // Transform
constexpr int kPop = 2;              // none
constexpr int kEnableTextures = 3;   // std::vector<Texture*> of a mesh
constexpr int kDisableTextures = 4;  // std::vector<Texture*> of a mesh
constexpr int kEnableArrays = 5;     // VertexBuffer
constexpr int kDisableArrays = 6;    // none: the context's current vertices
constexpr int kDrawTriangles = 7;    // TriangleIndexArray
constexpr int kApplyState = 8;       // RenderState
constexpr int kRestoreState = 9;     // RenderState
constexpr int kRunPass = 10;         // RenderPass
constexpr int kBeginList = 11;       // DisplayList
constexpr int kEndList = 12;         // none
constexpr int kCallList = 13;        // DisplayList
}  // namespace render_op

struct RenderCommand {
    void* argument;
    int opcode;
};

using RenderCommandList = std::list<RenderCommand>;

// Carries out one command; an unknown opcode, or a null argument where one is
// needed, does nothing. Textures beyond the driver's texture units are left
// out, and disabling the arrays with no current vertex buffer does nothing.
void executeRenderCommand(const RenderCommand& command, GLState& context);
void runRenderCommands(const RenderCommandList& list, GLState& context);
// The same on the context pointer that batches and scene instances hold.
inline void executeRenderCommand(const RenderCommand& command, GLState* context) {
    executeRenderCommand(command, *context);
}
inline void runRenderCommands(const RenderCommandList& list, GLState* context) {
    runRenderCommands(list, *context);
}

// Appends the commands of an object tree. A static mesh is compiled into the
// object's display list on first need (at once, with the context) and called
// from then on; a dynamic one is drawn from its arrays every time. An object's
// states wrap only its own mesh; an object without a mesh ignores them.
void queueObject(RenderCommandList& list, SceneObject& object, GLState& context);

}  // namespace demo
