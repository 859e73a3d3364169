#include "graphics/opengl/render_command.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "graphics/opengl/active_texture.h"
#include "graphics/opengl/display_list.h"
#include "graphics/opengl/gl_state.h"
#include "graphics/opengl/render_state.h"
#include "graphics/opengl/texture.h"
#include "graphics/scene_object.h"
#include "graphics/vertex_buffer.h"

namespace demo {

namespace {

struct StreamView {
    bool found = false;
    std::uint8_t* pointer = nullptr;
    int stride = 0;
};

StreamView stream(VertexBuffer* buffer, const char* name) {
    StreamView s;
    int count = 0;
    s.found = findVertexStream(name, buffer, &s.pointer, &s.stride, &count);
    return s;
}

void enableArrays(VertexBuffer* buffer) {
    if (StreamView s = stream(buffer, "position"); s.found) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, s.stride, s.pointer);
    }
    if (StreamView s = stream(buffer, "normal"); s.found) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, s.stride, s.pointer);
    }
    if (StreamView s = stream(buffer, "tex0"); s.found) {
        clientActiveTextureUnit(0);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, s.stride, s.pointer);
    }
    if (StreamView s = stream(buffer, "tex1"); s.found) {
        clientActiveTextureUnit(1);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, s.stride, s.pointer);
        clientActiveTextureUnit(0);
    }
}

void disableArrays(VertexBuffer* buffer) {
    if (stream(buffer, "position").found) glDisableClientState(GL_VERTEX_ARRAY);
    if (stream(buffer, "normal").found) glDisableClientState(GL_NORMAL_ARRAY);
    if (stream(buffer, "tex0").found) {
        clientActiveTextureUnit(0);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    if (stream(buffer, "tex1").found) {
        clientActiveTextureUnit(1);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        clientActiveTextureUnit(0);
    }
}

void switchTextures(const std::vector<Texture*>& textures, bool enable) {
    const int units = std::min(static_cast<int>(textures.size()), textureUnitCount());
    for (int i = 0; i < units; ++i) {
        activeTextureUnit(i);
        textures[i]->bind();
        const GLenum target = textures[i]->target();
        if (enable) {
            glEnable(target);
        } else {
            glDisable(target);
        }
    }
    activeTextureUnit(0);
}

}  // namespace

void executeRenderCommand(const RenderCommand& command, GLState& context) {
    void* arg = command.argument;
    const int op = command.opcode;
    // A missing mesh part or state is skipped rather than dereferenced.
    if (arg == nullptr && op != render_op::kPop && op != render_op::kDisableArrays &&
        op != render_op::kEndList) {
        return;
    }
    switch (op) {
        case render_op::kPushTransform:
            glPushMatrix();
            glMultMatrixf(static_cast<Transform*>(arg)->matrix());
            break;
        case render_op::kPop:
            glPopMatrix();
            break;
        case render_op::kEnableTextures:
            switchTextures(*static_cast<std::vector<Texture*>*>(arg), true);
            break;
        case render_op::kDisableTextures:
            switchTextures(*static_cast<std::vector<Texture*>*>(arg), false);
            break;
        case render_op::kEnableArrays:
            context.currentVertices = static_cast<VertexBuffer*>(arg);
            enableArrays(context.currentVertices);
            break;
        case render_op::kDisableArrays:
            if (context.currentVertices != nullptr) disableArrays(context.currentVertices);
            break;
        case render_op::kDrawTriangles: {
            auto* triangles = static_cast<TriangleIndexArray*>(arg);
            context.currentTriangles = triangles;
            glDrawElements(GL_TRIANGLES, 3 * triangles->count(), GL_UNSIGNED_INT,
                           triangles->data());
            break;
        }
        case render_op::kApplyState:
            static_cast<RenderState*>(arg)->apply();
            break;
        case render_op::kRestoreState:
            static_cast<RenderState*>(arg)->restore();
            break;
        case render_op::kRunPass:
            static_cast<RenderPass*>(arg)->apply();
            break;
        case render_op::kBeginList:
            static_cast<DisplayList*>(arg)->begin(GL_COMPILE);
            break;
        case render_op::kEndList:
            glEndList();
            break;
        case render_op::kCallList:
            static_cast<DisplayList*>(arg)->call();
            break;
        default:
            break;
    }
}

void runRenderCommands(const RenderCommandList& list, GLState& context) {
    for (const RenderCommand& command : list) executeRenderCommand(command, context);
}

void queueObject(RenderCommandList& list, SceneObject& object, GLState& context) {
    list.push_back({object.transform.get(), render_op::kPushTransform});
    if (Mesh* mesh = object.mesh.get()) {
        for (RenderState* state : object.renderStates) {
            state->queryApply();
            list.push_back({state, render_op::kApplyState});
        }
        const RenderCommand drawMesh[] = {{&mesh->textures, render_op::kEnableTextures},
                                          {mesh->vertices.get(), render_op::kEnableArrays},
                                          {mesh->triangles.get(), render_op::kDrawTriangles},
                                          {nullptr, render_op::kDisableArrays},
                                          {&mesh->textures, render_op::kDisableTextures}};
        if (object.dynamic) {
            list.insert(list.end(), std::begin(drawMesh), std::end(drawMesh));
        } else {
            if (!object.displayList) object.displayList = std::make_shared<DisplayList>();
            DisplayList* compiled = object.displayList.get();
            if (!compiled->valid) {
                executeRenderCommand({compiled, render_op::kBeginList}, context);
                for (const RenderCommand& command : drawMesh)
                    executeRenderCommand(command, context);
                executeRenderCommand({nullptr, render_op::kEndList}, context);
            }
            list.push_back({compiled, render_op::kCallList});
        }
        for (auto state = object.renderStates.rbegin(); state != object.renderStates.rend();
             ++state) {
            (*state)->queryRestore();
            list.push_back({*state, render_op::kRestoreState});
        }
    }
    for (SceneObject* child : object.children) queueObject(list, *child, context);
    list.push_back({nullptr, render_op::kPop});
}

}  // namespace demo
