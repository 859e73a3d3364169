#include "tools/slc/object_writer.h"

#include <cstdio>

#include "tools/slc/sl_checker.h"

namespace demo::slc {

namespace {

const char* kAttributeNames[] = {"OPOS", "WGHT", "NRML", "COL0", "COL1", "FOGC", "6",    "7",
                                 "TEX0", "TEX1", "TEX2", "TEX3", "TEX4", "TEX5", "TEX6", "TEX7"};

std::string registerText(vp::RegisterFile file, int index) {
    switch (file) {
        case vp::RegisterFile::Temporary: return "R" + std::to_string(index);
        case vp::RegisterFile::Attribute: return std::string("v[") + kAttributeNames[index] + "]";
        case vp::RegisterFile::Parameter: return "c[" + std::to_string(index) + "]";
        case vp::RegisterFile::Output: return std::string("o[") + vp::outputName(index) + "]";
        case vp::RegisterFile::Address: return "A0.x";
    }
    return "";
}

}  // namespace

std::string formatInstruction(const vp::Instruction& ins) {
    std::string text = std::string(vp::opcodeName(ins.op)) + " " + registerText(ins.dst.file, ins.dst.index);
    if (ins.dst.mask != 0xF && ins.dst.file != vp::RegisterFile::Address) {
        text += '.';
        for (int i = 0; i < 4; ++i) {
            if (ins.dst.mask & (1 << i)) text += "xyzw"[i];
        }
    }
    for (int i = 0; i < ins.sourceCount; ++i) {
        const vp::Source& s = ins.src[i];
        text += std::string(", ") + (s.negate ? "-" : "") + registerText(s.file, s.index);
        const auto& w = s.swizzle;
        if (w[0] == w[1] && w[1] == w[2] && w[2] == w[3]) {
            text += std::string(".") + "xyzw"[w[0]];
        } else if (w != std::array<std::uint8_t, 4>{0, 1, 2, 3}) {
            text += '.';
            for (auto c : w) text += "xyzw"[c];
        }
    }
    return text + ";";
}

std::string formatFloat(float x) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(x));
    std::string text = buffer;
    if (text.find('.') == std::string::npos) {
        std::size_t e = text.find('e');
        text.insert(e == std::string::npos ? text.size() : e, ".0");
    }
    return text;
}

std::string writeObject(const Unit& unit, const Function& entry, const GeneratedProgram& generated) {
    std::string text = "!!VP1.0\n";
    for (const vp::Instruction& ins : generated.program.code) text += formatInstruction(ins) + "\n";
    text += "END\n#profile vp20\n#program " + entry.name + "\n";
    std::string vars;
    for (const UniformSlot& u : generated.uniforms) {
        const Symbol& s = unit.symbols[u.symbol];
        text += "#pragma bind " + entry.name + "." + s.name + " = c " + std::to_string(u.reg) + "\n";
    }
    for (int id : entry.parameters) {
        const Symbol& s = unit.symbols[id];
        if (s.qualifier == Qualifier::Out) continue;
        if (s.qualifier == Qualifier::In) {
            text += "#pragma bind " + entry.name + "." + s.name + " = ATTR" +
                    std::to_string(attributeOfSemantic(s.semantic)) + "\n";
        }
        std::string size = s.arraySize > 0 ? "[" + std::to_string(s.arraySize) + "]" : "";
        vars += "#var " + s.type.name + " " + entry.name + "." + s.name + size + "\n";
    }
    text += vars;
    for (std::size_t i = 0; i < generated.constants.size(); ++i) {
        const auto& c = generated.constants[i];
        text += "#const c[" + std::to_string(generated.constantBase + static_cast<int>(i)) + "] =";
        for (float v : c) text += " " + formatFloat(v);
        text += "\n";
    }
    return text;
}

}  // namespace demo::slc
