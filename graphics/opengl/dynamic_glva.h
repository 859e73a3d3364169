#pragma once
// One block of fast vertex memory, reserved once, handed out in consecutive
// pieces ("DVAR" per mesh of a dynamic scene object) and never given back.
// The block comes from the driver's vertex-array-range allocator when the
// extension string lists it; without it there is no block and every
// allocate() fails, so meshes keep drawing from their own memory.

#include <string>

#include "graphics/opengl/vertex_array_manager.h"

namespace demo {

// Where the block comes from. allocate may return null (refused).
struct VertexMemory {
    void* (*allocate)(int bytes);
    void (*release)(void* block);
};

class DynamicGLVA : public VertexArrayType {
public:
    static constexpr int kBlockBytes = 0x400000;

    // The driver's allocator: the range extension's, used only when the
    // extension string lists it.
    static const VertexMemory& driverMemory();

    // Registers the type with the vertex-array manager and reserves the block.
    explicit DynamicGLVA(const VertexMemory& memory = driverMemory());
    ~DynamicGLVA() override;  // frees the block and unregisters the type
    DynamicGLVA(const DynamicGLVA&) = delete;
    DynamicGLVA& operator=(const DynamicGLVA&) = delete;

    // Pieces come only from allocate().
    VertexArray* create(const std::string&, AsciiReader&) override { return nullptr; }
    std::string typeName() const override { return "Dynamic GL VA"; }

    // The next `bytes` of the block, or null when they would reach its end
    // (an exact fill fails) or bytes is negative.
    VertexArray* allocate(const std::string& name, int bytes);

    unsigned char* base = nullptr;
    int capacity = 0;
    int used = 0;

private:
    VertexMemory memory_;
};

}  // namespace demo
