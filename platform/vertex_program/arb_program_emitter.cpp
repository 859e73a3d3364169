#include "platform/vertex_program/arb_program_emitter.h"

#include <GL/glext.h>

#include <algorithm>

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

// RCC: the reciprocal's magnitude clamped, then its sign put back.
void emitClampedReciprocal(const Instruction& ins, std::string& out) {
    std::string src = sourceText(ins.src[0]);
    out += "RCP rcc_t.x, " + src + ";\n";
    out += "ABS rcc_t.y, rcc_t.x;\n";
    out += "MAX rcc_t.y, rcc_t.y, rcc_k.x;\n";
    out += "MIN rcc_t.y, rcc_t.y, rcc_k.y;\n";
    out += "SLT rcc_t.z, rcc_t.x, -rcc_t.x;\n";
    out += "MAD rcc_t.z, rcc_t.z, rcc_k.z, rcc_k.w;\n";
    out += "MUL " + destinationText(ins.dst) + ", rcc_t.y, rcc_t.z;\n";
}

std::string parameterArray(const Tracking& tracking) {
    std::string text = "PARAM c[96] = { ";
    int plainFrom = 0;
    auto flushPlain = [&](int to) {
        if (to > plainFrom) {
            text += "program.env[" + std::to_string(plainFrom) + ".." + std::to_string(to - 1) + "], ";
        }
    };
    for (int block = 0; block < kParameters / 4; ++block) {
        std::string name = arbMatrixName(tracking[block]);
        if (name.empty()) continue;
        flushPlain(block * 4);
        text += name + ".row[0..3], ";
        plainFrom = block * 4 + 4;
    }
    flushPlain(kParameters);
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
            if (tracked.matrix >= GL_MATRIX0_NV && tracked.matrix <= GL_MATRIX7_NV) {
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
    bool usesAddress = false;
    bool usesRcc = false;
    for (const Instruction& ins : program.code) {
        for (int i = 0; i < ins.sourceCount; ++i) {
            const Source& s = ins.src[i];
            if (s.file == RegisterFile::Parameter) readsParameters = true;
            if (s.file != RegisterFile::Temporary) continue;
            usedTemp[s.index] = true;
            int comps = isScalarOpcode(ins.op) ? 1 : 4;
            for (int c = 0; c < comps; ++c) {
                if (!(written[s.index] & (1 << s.swizzle[c]))) initTemp[s.index] = true;
            }
        }
        usesRcc = usesRcc || ins.op == Opcode::RCC;
        if (ins.dst.file == RegisterFile::Address) usesAddress = true;
        if (ins.dst.file == RegisterFile::Temporary) {
            usedTemp[ins.dst.index] = true;
            written[ins.dst.index] |= ins.dst.mask;
        }
        if (ins.dst.file == RegisterFile::Output) outputMask[ins.dst.index] |= ins.dst.mask;
    }

    std::string out = "!!ARBvp1.0\n";
    if (program.positionInvariant) out += "OPTION ARB_position_invariant;\n";
    if (readsParameters) out += parameterArray(tracking);
    std::string temps;
    for (int i = 0; i < kTemporaries; ++i) {
        if (usedTemp[i]) temps += (temps.empty() ? "TEMP R" : ", R") + std::to_string(i);
    }
    if (!temps.empty()) out += temps + ";\n";
    if (usesAddress) out += "ADDRESS A0;\n";
    if (usesRcc) out += "TEMP rcc_t;\nPARAM rcc_k = { 5.42101e-20, 1.884467e+19, -2, 1 };\n";

    std::string init;
    for (int i = 0; i < kTemporaries; ++i) {
        if (initTemp[i]) init += "MOV R" + std::to_string(i) + ", init.x;\n";
    }
    for (int i = 0; i < kOutputs; ++i) {
        bool optional = i == kBFC0 || i == kBFC1 || i == kPSIZ;
        bool skip = outputMask[i] == 0xF || (optional && outputMask[i] == 0) ||
                    (i == kHPOS && program.positionInvariant);
        if (!skip) init += std::string("MOV ") + kResults[i] + ", init;\n";
    }
    if (!init.empty()) out += "PARAM init = { 0, 0, 0, 1 };\n" + init;

    for (const Instruction& ins : program.code) {
        if (ins.op == Opcode::RCC) {
            emitClampedReciprocal(ins, out);
            continue;
        }
        ((out += opcodeName(ins.op)) += ' ') += destinationText(ins.dst);
        for (int i = 0; i < ins.sourceCount; ++i) (out += ", ") += sourceText(ins.src[i]);
        out += ";\n";
    }
    return out + "END\n";
}

}  // namespace demo::vp
