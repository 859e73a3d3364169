#pragma once
// The instruction form of a vertex program or vertex state program: what the
// parser produces, the ARB emitter translates and the interpreter runs.

#include <array>
#include <cstdint>
#include <vector>

namespace demo::vp {

enum class ProgramKind { Vertex10, Vertex11, State10 };

enum class Opcode : std::uint8_t {
    ARL, MOV, MUL, ADD, MAD, RCP, RSQ, DP3, DP4, DST, MIN, MAX, SLT, SGE, EXP, LOG, LIT,
    DPH, RCC, SUB, ABS,  // 1.1 only
};

enum class RegisterFile : std::uint8_t { Temporary, Attribute, Parameter, Output, Address };

constexpr int kMaxInstructions = 128;
constexpr int kTemporaries = 12;
constexpr int kAttributes = 16;
constexpr int kParameters = 96;

// RCC keeps the reciprocal's magnitude within [2^-64, 2^64]; LIT clamps its
// power to +-(128 - 1/256), so that 2^power stays finite.
constexpr float kReciprocalMin = 0x1p-64f;
constexpr float kReciprocalMax = 0x1p64f;
constexpr float kLitPowerLimit = 128.0f - 1.0f / 256;

// Result registers, in the order of their names below.
enum Output : int {
    kHPOS, kCOL0, kCOL1, kBFC0, kBFC1, kFOGC, kPSIZ, kTEX0, kOutputs = kTEX0 + 8,
};

struct Source {
    RegisterFile file = RegisterFile::Temporary;
    int index = 0;          // register, or the offset from A0.x when relative
    bool relative = false;  // c[A0.x + index]
    bool negate = false;
    std::array<std::uint8_t, 4> swizzle{0, 1, 2, 3};
};

struct Destination {
    RegisterFile file = RegisterFile::Temporary;
    int index = 0;
    std::uint8_t mask = 0xF;  // bit 0 x ... bit 3 w
};

struct Instruction {
    Opcode op = Opcode::MOV;
    Destination dst;
    std::array<Source, 3> src{};
    int sourceCount = 0;
};

struct VertexProgram {
    ProgramKind kind = ProgramKind::Vertex10;
    bool positionInvariant = false;  // "OPTION NV_position_invariant;"
    std::vector<Instruction> code;
};

// Number of sources of an opcode, and whether its one source is a scalar.
int sourceCount(Opcode op);
bool isScalarOpcode(Opcode op);
const char* opcodeName(Opcode op);
const char* outputName(int output);  // "HPOS" ...

}  // namespace demo::vp
