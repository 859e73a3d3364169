#include "platform/vertex_program/arb_program_emitter.h"

#include <GL/glext.h>

#include <algorithm>
#include <cstdio>

namespace demo::vp {

namespace {

constexpr const char* kResults[] = {
    "result.position",          "result.color.primary",       "result.color.secondary",
    "result.color.back.primary", "result.color.back.secondary", "result.fogcoord",
    "result.pointsize",         "result.texcoord[0]",          "result.texcoord[1]",
    "result.texcoord[2]",       "result.texcoord[3]",          "result.texcoord[4]",
    "result.texcoord[5]",       "result.texcoord[6]",          "result.texcoord[7]"};

std::string attributeName(int index) {
    switch (index) {
        case 0: return "vertex.position";
        case 2: return "vertex.normal";
        case 3: return "vertex.color.primary";
        case 4: return "vertex.color.secondary";
        case 5: return "vertex.fogcoord";
        default:
            if (index >= 8) return "vertex.texcoord[" + std::to_string(index - 8) + "]";
            return "vertex.attrib[" + std::to_string(index) + "]";
    }
}

std::string maskText(std::uint8_t mask) {
    if (mask == 0xF) return "";
    std::string text = ".";
    for (int i = 0; i < 4; ++i) {
        if (mask & (1 << i)) text += "xyzw"[i];
    }
    return text;
}

std::string sourceText(const Source& s) {
    std::string text = s.negate ? "-" : "";
    switch (s.file) {
        case RegisterFile::Temporary: (text += 'R') += std::to_string(s.index); break;
        case RegisterFile::Attribute: text += attributeName(s.index); break;
        case RegisterFile::Parameter:
            if (!s.relative) {
                text += "c[" + std::to_string(s.index) + "]";
            } else if (s.index == 0) {
                text += "c[A0.x]";
            } else {
                text += "c[A0.x " + std::string(s.index > 0 ? "+ " : "- ") +
                        std::to_string(std::abs(s.index)) + "]";
            }
            break;
        default: break;
    }
    const auto& w = s.swizzle;
    if (w[0] == w[1] && w[1] == w[2] && w[2] == w[3]) {
        text += '.';
        text += "xyzw"[w[0]];
    } else if (w != std::array<std::uint8_t, 4>{0, 1, 2, 3}) {
        text += '.';
        for (auto c : w) text += "xyzw"[c];
    }
    return text;
}

std::string destinationText(const Destination& d) {
    switch (d.file) {
        case RegisterFile::Address: return "A0.x";
        case RegisterFile::Output: return kResults[d.index] + maskText(d.mask);
        default: return (std::string("R") += std::to_string(d.index)) += maskText(d.mask);
    }
}

constexpr int kBlocks = kParameters / 4;

// Opcodes whose driver versions differ from the extension at 0 and +-inf
// (and RCC, which ARB lacks) are built from plain ones, and RSQ takes the
// absolute value itself. The results gather in ext_t and reach the
// destination in one masked move, so a destination that is also the source
// is read before it is written.
bool isEmulated(Opcode op) {
    return op == Opcode::EXP || op == Opcode::LOG || op == Opcode::LIT || op == Opcode::RCC ||
           op == Opcode::RSQ;
}

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// ext_a = { 0, 1, LIT's power limit, smallest normal float }; ext_b = {
// RCC's bounds, 2^24, 200 }; ext_one = (1, 1, 1, 1), which the compiler
// cannot see.
std::string emulationConstants() {
    return "TEMP ext_t, ext_u;\nPARAM ext_a = { 0, 1, " + number(kLitPowerLimit) + ", " +
           number(0x1p-126f) + " };\nPARAM ext_b = { " + number(kReciprocalMin) + ", " +
           number(kReciprocalMax) + ", " + number(0x1p24f) + ", 200 };\nPARAM ext_one = " +
           "program.local[" + std::to_string(kOneLocalParameter) + "];\n";
}

// |src| into ext_t.x. The driver's folding can take a value such as
// -a.y * -a.x + 0 for a square and drop its absolute value (in RSQ and LOG
// too); a product with ext_one hides what the value is made of.
std::string absoluteOf(const std::string& src) {
    return "MUL ext_t.x, " + src + ", ext_one.x;\nABS ext_t.x, ext_t.x;\n";
}

// A product (DST's y is one too): the driver's range analysis can take
// -a.y * -a.x for a square, never negative, and then drop an ABS, a
// MAX(x, -x) or a sign test of the result. It follows copies (MOV, MAX(x, x),
// a product with a known 1, ...), so which registers may hold one value cannot
// be told here: every product's second factor goes through ext_one, so that
// its factors never look alike. x * 1 is exact for every float (-0, the
// infinities and NaN too). The product then reads its other sources and
// writes the destination in one instruction, so a destination that is also a
// source is read before it is written.
bool multiplies(Opcode op) {
    return op == Opcode::MUL || op == Opcode::MAD || op == Opcode::DP3 || op == Opcode::DP4 ||
           op == Opcode::DPH || op == Opcode::DST;
}

void emitUnalikeFactors(const Instruction& ins, std::string& out) {
    out += "MUL ext_t, " + sourceText(ins.src[1]) + ", ext_one;\n" + opcodeName(ins.op) + ' ' +
           destinationText(ins.dst) + ", " + sourceText(ins.src[0]) + ", ext_t";
    if (ins.sourceCount == 3) out += ", " + sourceText(ins.src[2]);
    out += ";\n";
}

void emitEmulated(const Instruction& ins, std::string& out) {
    const std::string src = sourceText(ins.src[0]);
    const std::string dst = destinationText(ins.dst);
    switch (ins.op) {
        case Opcode::RCC:
            // The sign comes from the reciprocal or the source, so that both
            // RCC(-0) and RCC(-inf) come out negative.
            out += "RCP ext_t.x, " + src + ";\nABS ext_t.y, ext_t.x;\n"
                   "MAX ext_t.y, ext_t.y, ext_b.x;\nMIN ext_t.y, ext_t.y, ext_b.y;\n"
                   "SLT ext_t.z, ext_t.x, ext_a.x;\nSLT ext_t.w, " + src + ", ext_a.x;\n"
                   "MAX ext_t.z, ext_t.z, ext_t.w;\nADD ext_t.z, ext_t.z, ext_t.z;\n"
                   "ADD ext_t.z, ext_a.y, -ext_t.z;\nMUL " + dst + ", ext_t.y, ext_t.z;\n";
            return;
        case Opcode::RSQ:
            out += absoluteOf(src) + "RSQ " + dst + ", ext_t.x;\n";
            return;
        case Opcode::EXP:
            // The fraction of a clamped copy: 0 at +-inf instead of inf - inf.
            out += "MAX ext_u.x, " + src + ", -ext_b.z;\nMIN ext_u.x, ext_u.x, ext_b.z;\n"
                   "EXP ext_u, ext_u.x;\nEXP ext_t, " + src + ";\nMOV ext_t.y, ext_u.y;\n";
            break;
        case Opcode::LOG:
            // The mantissa of a copy with 0 raised to the smallest normal and
            // inf lowered to 1 (1/0 is the infinity): 1 for both, instead of
            // 0/0 and inf/inf.
            out += absoluteOf(src) + "RCP ext_u.w, ext_a.x;\n"
                   "SGE ext_u.z, ext_t.x, ext_u.w;\nRCP ext_u.z, ext_u.z;\n"
                   "MIN ext_u.x, ext_t.x, ext_u.z;\nMAX ext_u.x, ext_u.x, ext_a.w;\n"
                   "LOG ext_u, ext_u.x;\nLOG ext_t, ext_t.x;\nMOV ext_t.y, ext_u.y;\n";
            break;
        default:  // LIT
            // The power is 2^(w * log2 y), with the base taken as 1 when w is
            // 0 (0^0 and inf^0 are 1, not NaN). Selects use MIN/MAX with 1/0
            // and masks multiply only finite values: the compiler may fold
            // products of constants, so no infinity comes from overflow.
            out += "MOV ext_t, " + src + ";\nMAX ext_t.xy, ext_t, ext_a.x;\n"
                   "MIN ext_t.w, ext_t.w, ext_a.z;\nMAX ext_t.w, ext_t.w, -ext_a.z;\n"
                   "SGE ext_u.x, ext_t.w, ext_a.x;\nSGE ext_u.y, -ext_t.w, ext_a.x;\n"
                   "MUL ext_u.x, ext_u.x, ext_u.y;\nRCP ext_u.y, ext_u.x;\n"
                   "MAX ext_u.z, ext_t.y, ext_u.x;\nMIN ext_u.z, ext_u.z, ext_u.y;\n"
                   "LG2 ext_u.z, ext_u.z;\nMUL ext_u.z, ext_u.z, ext_t.w;\n"
                   // Keeps the compiler from fusing LG2, MUL and EX2 into its
                   // power, whose 0^-n is 0; 2^-200 is 0 in a float anyway.
                   "MAX ext_u.z, ext_u.z, -ext_b.w;\nEX2 ext_u.z, ext_u.z;\n"
                   // x <= 0: the power (made finite by the MIN) times 0.
                   "SGE ext_u.w, ext_a.x, ext_t.x;\nRCP ext_u.y, ext_u.w;\n"
                   "MIN ext_u.z, ext_u.z, ext_u.y;\nADD ext_u.w, ext_a.y, -ext_u.w;\n"
                   "MUL ext_t.z, ext_u.z, ext_u.w;\n"
                   "MOV ext_t.y, ext_t.x;\nMOV ext_t.xw, ext_a.y;\n";
            break;
    }
    out += "MOV " + dst + ", ext_t;\n";
}

// For each block, the earlier block whose state binding it repeats, or -1.
// The driver refuses relative addressing into an array that binds a state
// twice, so a repeat's rows are read from the first block instead.
std::array<int, kBlocks> repeatedBlocks(const Tracking& tracking) {
    std::array<int, kBlocks> first{};
    for (int block = 0; block < kBlocks; ++block) {
        std::string name = arbMatrixName(tracking[block]);
        first[block] = -1;
        for (int earlier = 0; earlier < block && !name.empty() && first[block] < 0; ++earlier) {
            if (arbMatrixName(tracking[earlier]) == name) first[block] = earlier;
        }
    }
    return first;
}

std::string constant(int value) { return "{" + std::to_string(value) + "}.x"; }

// Points A0.x at c[address + offset], where ext_a0.x holds the address the
// program's ARLs set, with a row of a repeated block moved to the first and
// an address outside c[] sent to the zeros past its end: the driver would
// read its own constants there, or wrap a huge address back into c[].
std::string remappedAddress(int offset, const std::array<int, kBlocks>& repeated) {
    std::string text = "ADD ext_u.x, ext_a0.x, " + constant(offset) + ";\n";
    for (int block = 0; block < kBlocks; ++block) {
        if (repeated[block] < 0) continue;
        text += "SGE ext_u.y, ext_u.x, " + constant(block * 4) + ";\n";
        text += "SLT ext_u.z, ext_u.x, " + constant(block * 4 + 4) + ";\n";
        text += "MUL ext_u.y, ext_u.y, ext_u.z;\n";
        text += "MAD ext_u.x, ext_u.y, " + constant((repeated[block] - block) * 4) + ", ext_u.x;\n";
    }
    text += "SGE ext_u.y, ext_u.x, " + constant(0) + ";\nSLT ext_u.z, ext_u.x, " +
            constant(kParameters) + ";\nMUL ext_u.y, ext_u.y, ext_u.z;\nADD ext_u.x, ext_u.x, " +
            constant(-kParameters) + ";\nMAD ext_u.x, ext_u.y, ext_u.x, " + constant(kParameters) + ";\n";
    return text + "ARL A0.x, ext_u.x;\n";
}

// Sends the instruction's reads of repeated blocks to the first block's rows,
// and gives the code to run before it. With `remaps`, A0.x is pointed at a
// relative read's row just before the read, and ARL sets ext_a0.x instead.
std::string redirectRepeats(Instruction& ins, const std::array<int, kBlocks>& repeated,
                            bool remaps) {
    std::string before;
    for (int i = 0; i < ins.sourceCount; ++i) {
        Source& s = ins.src[i];
        if (s.file != RegisterFile::Parameter) continue;
        if (!s.relative && repeated[s.index / 4] >= 0) {
            s.index = repeated[s.index / 4] * 4 + s.index % 4;
        } else if (s.relative && remaps) {
            // An instruction reads one c[] register, however many times.
            if (before.empty()) before = remappedAddress(s.index, repeated);
            s.index = 0;
        }
    }
    if (remaps && ins.dst.file == RegisterFile::Address) {
        // Clamped like the interpreter's, so that a sum stays exact.
        before += "MAX ext_a0.x, " + sourceText(ins.src[0]) + ", " + constant(-1024) +
                  ";\nMIN ext_a0.x, ext_a0.x, " + constant(1024) + ";\nFLR ext_a0.x, ext_a0.x;\n";
    }
    return before;
}

// With `zeros`, one more row of zeros for relative reads outside c[].
std::string parameterArray(const Tracking& tracking, const std::array<int, kBlocks>& repeated,
                           bool zeros) {
    std::string text = "PARAM c[" + std::to_string(kParameters + zeros) + "] = { ";
    int plainFrom = 0;
    auto flushPlain = [&](int to) {
        if (to > plainFrom) {
            text += "program.env[" + std::to_string(plainFrom) + ".." + std::to_string(to - 1) + "], ";
        }
    };
    for (int block = 0; block < kBlocks; ++block) {
        std::string name = arbMatrixName(tracking[block]);
        if (name.empty() || repeated[block] >= 0) continue;
        flushPlain(block * 4);
        text += name + ".row[0..3], ";
        plainFrom = block * 4 + 4;
    }
    flushPlain(kParameters);
    if (zeros) text += "{ 0, 0, 0, 0 }, ";
    text.resize(text.size() - 2);
    return text + " };\n";
}

}  // namespace

std::string arbMatrixName(const TrackedMatrix& tracked) {
    std::string name;
    switch (tracked.matrix) {
        case GL_MODELVIEW: name = "state.matrix.modelview"; break;
        case GL_PROJECTION: name = "state.matrix.projection"; break;
        case GL_MODELVIEW_PROJECTION_NV: name = "state.matrix.mvp"; break;
        case GL_TEXTURE:
            name = "state.matrix.texture[" + std::to_string(tracked.textureUnit) + "]";
            break;
        default:
            if (tracked.matrix >= GL_TEXTURE0 && tracked.matrix <= GL_TEXTURE31) {
                name = "state.matrix.texture[" + std::to_string(tracked.textureUnit) + "]";
            } else if (tracked.matrix >= GL_MATRIX0_NV && tracked.matrix <= GL_MATRIX7_NV) {
                name = "state.matrix.program[" + std::to_string(tracked.matrix - GL_MATRIX0_NV) + "]";
            } else {
                return "";
            }
    }
    switch (tracked.transform) {
        case GL_INVERSE_NV: return name + ".inverse";
        case GL_TRANSPOSE_NV: return name + ".transpose";
        case GL_INVERSE_TRANSPOSE_NV: return name + ".invtrans";
        default: return name;
    }
}

std::string emitArbProgram(const VertexProgram& program, const Tracking& tracking) {
    // What the code touches, and which registers start from the target's
    // initial values: temporaries read before written, results left partly
    // unwritten (back colours and point size only when written at all).
    std::array<std::uint8_t, kTemporaries> written{};
    std::array<bool, kTemporaries> usedTemp{};
    std::array<bool, kTemporaries> initTemp{};
    std::array<std::uint8_t, kOutputs> outputMask{};
    bool readsParameters = false;
    bool readsRelative = false;
    bool usesAddress = false;
    bool emulates = false;
    for (const Instruction& ins : program.code) {
        for (int i = 0; i < ins.sourceCount; ++i) {
            const Source& s = ins.src[i];
            if (s.file == RegisterFile::Parameter) readsParameters = true;
            if (s.file == RegisterFile::Parameter && s.relative) readsRelative = true;
            if (s.file != RegisterFile::Temporary) continue;
            usedTemp[s.index] = true;
            int comps = isScalarOpcode(ins.op) ? 1 : 4;
            for (int c = 0; c < comps; ++c) {
                if (!(written[s.index] & (1 << s.swizzle[c]))) initTemp[s.index] = true;
            }
        }
        emulates = emulates || isEmulated(ins.op) || multiplies(ins.op);
        if (ins.dst.file == RegisterFile::Address) usesAddress = true;
        if (ins.dst.file == RegisterFile::Temporary) {
            usedTemp[ins.dst.index] = true;
            written[ins.dst.index] |= ins.dst.mask;
        }
        if (ins.dst.file == RegisterFile::Output) outputMask[ins.dst.index] |= ins.dst.mask;
    }

    const std::array<int, kBlocks> repeated = repeatedBlocks(tracking);
    emulates = emulates || readsRelative;
    usesAddress = usesAddress || readsRelative;

    std::string out = "!!ARBvp1.0\n";
    if (program.positionInvariant) out += "OPTION ARB_position_invariant;\n";
    if (readsParameters) out += parameterArray(tracking, repeated, readsRelative);
    std::string temps;
    for (int i = 0; i < kTemporaries; ++i) {
        if (usedTemp[i]) temps += (temps.empty() ? "TEMP R" : ", R") + std::to_string(i);
    }
    if (!temps.empty()) out += temps + ";\n";
    if (usesAddress) out += "ADDRESS A0;\n";
    if (readsRelative) out += "TEMP ext_a0;\n";
    if (emulates) out += emulationConstants();

    // A0.x starts at 0, as the interpreter's does. The starting values come
    // from a local parameter: with literal zeros the driver's folding would
    // take -0 * x for +0 and lose the sign that RCP then shows.
    std::string init = usesAddress ? "ARL A0.x, init.x;\n" : "";
    if (readsRelative) init += "MOV ext_a0, init.x;\n";
    for (int i = 0; i < kTemporaries; ++i) {
        if (initTemp[i]) init += "MOV R" + std::to_string(i) + ", init.x;\n";
    }
    for (int i = 0; i < kOutputs; ++i) {
        bool optional = i == kBFC0 || i == kBFC1 || i == kPSIZ;
        bool skip = outputMask[i] == 0xF || (optional && outputMask[i] == 0) ||
                    (i == kHPOS && program.positionInvariant);
        if (!skip) init += std::string("MOV ") + kResults[i] + ", init;\n";
    }
    if (!init.empty()) {
        out += "PARAM init = program.local[" + std::to_string(kInitLocalParameter) + "];\n" + init;
    }

    for (Instruction ins : program.code) {
        out += redirectRepeats(ins, repeated, readsRelative);
        if (readsRelative && ins.dst.file == RegisterFile::Address) continue;
        if (isEmulated(ins.op)) {
            emitEmulated(ins, out);
            continue;
        }
        if (multiplies(ins.op)) {
            emitUnalikeFactors(ins, out);
            continue;
        }
        ((out += opcodeName(ins.op)) += ' ') += destinationText(ins.dst);
        for (int i = 0; i < ins.sourceCount; ++i) (out += ", ") += sourceText(ins.src[i]);
        out += ";\n";
    }
    return out + "END\n";
}

}  // namespace demo::vp
