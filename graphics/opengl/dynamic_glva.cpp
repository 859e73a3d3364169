#include "graphics/opengl/dynamic_glva.h"

#include <cstdint>

#include "graphics/opengl/glh_extensions.h"

namespace demo {
namespace {

// Only a driver that lists the extension gets called: Mesa's stubs are not null.
void* driverAllocate(int bytes) {
    if (!extensionListed("GL_NV_vertex_array_range") || probe::wglAllocateMemoryNV == nullptr) {
        return nullptr;
    }
    return probe::wglAllocateMemoryNV(bytes, 0.2f, 0.2f, 0.7f);
}

void driverRelease(void* block) {
    if (probe::wglFreeMemoryNV != nullptr) probe::wglFreeMemoryNV(block);
}

}  // namespace

const VertexMemory& DynamicGLVA::driverMemory() {
    static const VertexMemory memory{driverAllocate, driverRelease};
    return memory;
}

DynamicGLVA::DynamicGLVA(const VertexMemory& memory) : memory_(memory) {
    VertexArrayManager::instance()->registerType(this);
    base = static_cast<unsigned char*>(memory_.allocate(kBlockBytes));
    capacity = base != nullptr ? kBlockBytes : 0;
}

DynamicGLVA::~DynamicGLVA() {
    if (base != nullptr) memory_.release(base);
    VertexArrayManager::instance()->unregisterType(this);
}

VertexArray* DynamicGLVA::allocate(const std::string& name, int bytes) {
    if (bytes < 0 || std::int64_t{used} + bytes >= capacity) return nullptr;
    auto* piece = new VertexArray{name, 1, base + used, bytes};
    used += bytes;
    return piece;
}

}  // namespace demo
