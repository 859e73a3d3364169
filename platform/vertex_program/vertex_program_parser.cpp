#include "platform/vertex_program/vertex_program_parser.h"

#include <cctype>
#include <cstring>
#include <optional>
#include <string>

namespace demo::vp {

namespace {

constexpr const char* kOpcodeNames[] = {"ARL", "MOV", "MUL", "ADD", "MAD", "RCP", "RSQ",
                                        "DP3", "DP4", "DST", "MIN", "MAX", "SLT", "SGE",
                                        "EXP", "LOG", "LIT", "DPH", "RCC", "SUB", "ABS"};
constexpr const char* kOutputNames[] = {"HPOS", "COL0", "COL1", "BFC0", "BFC1", "FOGC",
                                        "PSIZ", "TEX0", "TEX1", "TEX2", "TEX3", "TEX4",
                                        "TEX5", "TEX6", "TEX7"};
constexpr const char* kAttributeNames[] = {"OPOS", "WGHT", "NRML", "COL0", "COL1", "FOGC",
                                           nullptr, nullptr, "TEX0", "TEX1", "TEX2", "TEX3",
                                           "TEX4", "TEX5", "TEX6", "TEX7"};

struct Fault {
    int position;
    std::string message;
};

// Tokens are words (letters, digits, '_'), small integers and single
// characters; '#' starts a comment that runs to the end of the line.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    void skipBlanks() {
        while (at_ < text_.size()) {
            char c = text_[at_];
            if (c == '#') {
                while (at_ < text_.size() && text_[at_] != '\n') ++at_;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++at_;
            } else {
                return;
            }
        }
    }
    int position() {
        skipBlanks();
        return static_cast<int>(at_);
    }
    bool atEnd() { return position() >= static_cast<int>(text_.size()); }
    std::string_view word() {
        skipBlanks();
        std::size_t start = at_;
        while (at_ < text_.size() &&
               (std::isalnum(static_cast<unsigned char>(text_[at_])) || text_[at_] == '_')) {
            ++at_;
        }
        return text_.substr(start, at_ - start);
    }
    bool accept(char c) {
        skipBlanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    void expect(char c) {
        int pos = position();
        if (!accept(c)) throw Fault{pos, std::string("expected '") + c + "'"};
    }
    // A decimal integer of at most three digits (every index here is small).
    int integer() {
        int pos = position();
        int value = 0;
        int digits = 0;
        while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) {
            if (++digits > 3) throw Fault{pos, "number out of range"};
            value = value * 10 + (text_[at_++] - '0');
        }
        if (digits == 0) throw Fault{pos, "expected a number"};
        return value;
    }
    bool startsWith(std::string_view prefix) const {
        return text_.substr(at_, prefix.size()) == prefix;
    }
    void advance(std::size_t n) { at_ += n; }
    int length() const { return static_cast<int>(text_.size()); }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

int indexIn(std::string_view name, const char* const* names, int count) {
    for (int i = 0; i < count; ++i) {
        if (names[i] != nullptr && name == names[i]) return i;
    }
    return -1;
}

class Parser {
public:
    explicit Parser(std::string_view text) : in_(text) {}

    VertexProgram run() {
        readHeader();
        int pos = in_.position();
        std::string_view first = in_.word();
        if (first == "OPTION") {
            if (program_.kind != ProgramKind::Vertex11 || in_.word() != "NV_position_invariant") {
                throw Fault{pos, "unknown option"};
            }
            in_.expect(';');
            program_.positionInvariant = true;
            pos = in_.position();
            first = in_.word();
        }
        bool wroteHpos = false;
        while (first != "END") {
            if (first.empty()) throw Fault{pos, in_.atEnd() ? "missing END" : "expected an opcode"};
            // The position transform that the driver adds takes four.
            int limit = program_.positionInvariant ? kMaxInstructions - 4 : kMaxInstructions;
            if (program_.code.size() >= static_cast<std::size_t>(limit)) {
                throw Fault{pos, "more than " + std::to_string(limit) + " instructions"};
            }
            Instruction ins = instruction(first, pos);
            wroteHpos = wroteHpos || (ins.dst.file == RegisterFile::Output && ins.dst.index == kHPOS);
            program_.code.push_back(ins);
            pos = in_.position();
            first = in_.word();
        }
        // Known only at the end, so reported at the program's length.
        if (program_.kind != ProgramKind::State10 && !program_.positionInvariant && !wroteHpos) {
            throw Fault{in_.length(), "o[HPOS] is never written"};
        }
        return program_;
    }

private:
    void readHeader() {
        in_.skipBlanks();
        if (in_.position() != 0) throw Fault{0, "missing program header"};
        if (in_.startsWith("!!VP1.0")) {
            program_.kind = ProgramKind::Vertex10;
            in_.advance(7);
        } else if (in_.startsWith("!!VP1.1")) {
            program_.kind = ProgramKind::Vertex11;
            in_.advance(7);
        } else if (in_.startsWith("!!VSP1.0")) {
            program_.kind = ProgramKind::State10;
            in_.advance(8);
        } else {
            throw Fault{0, "missing program header"};
        }
    }

    bool isState() const { return program_.kind == ProgramKind::State10; }

    Instruction instruction(std::string_view name, int pos) {
        int op = indexIn(name, kOpcodeNames, static_cast<int>(std::size(kOpcodeNames)));
        if (op < 0) throw Fault{pos, "unknown opcode"};
        Instruction ins;
        ins.op = static_cast<Opcode>(op);
        if (ins.op >= Opcode::DPH && program_.kind != ProgramKind::Vertex11) {
            throw Fault{pos, "opcode needs !!VP1.1"};
        }
        ins.sourceCount = sourceCount(ins.op);
        if (ins.op == Opcode::ARL) {
            int at = in_.position();
            if (in_.word() != "A0" || !in_.accept('.') || in_.word() != "x") {
                throw Fault{at, "ARL writes A0.x"};
            }
            ins.dst.file = RegisterFile::Address;
            ins.dst.mask = 1;
        } else {
            ins.dst = destination();
        }
        int attribute = -1;
        std::optional<std::pair<bool, int>> parameter;
        for (int i = 0; i < ins.sourceCount; ++i) {
            in_.expect(',');
            int at = in_.position();
            Source s = source(isScalarOpcode(ins.op));
            if (s.file == RegisterFile::Attribute) {
                if (attribute >= 0 && attribute != s.index) {
                    throw Fault{at, "two different v[] registers in one instruction"};
                }
                attribute = s.index;
            } else if (s.file == RegisterFile::Parameter) {
                std::pair<bool, int> key{s.relative, s.index};
                if (parameter && *parameter != key) {
                    throw Fault{at, "two different c[] registers in one instruction"};
                }
                parameter = key;
            }
            ins.src[i] = s;
        }
        in_.expect(';');
        return ins;
    }

    std::uint8_t writeMask() {
        if (!in_.accept('.')) return 0xF;
        int pos = in_.position();
        std::string_view letters = in_.word();
        std::uint8_t mask = 0;
        int last = -1;
        for (char c : letters) {
            const char* p = std::strchr("xyzw", c);
            int comp = p != nullptr ? static_cast<int>(p - "xyzw") : -1;
            if (comp <= last) throw Fault{pos, "bad write mask"};
            last = comp;
            mask |= static_cast<std::uint8_t>(1 << comp);
        }
        if (mask == 0) throw Fault{pos, "bad write mask"};
        return mask;
    }

    Destination destination() {
        int pos = in_.position();
        std::string_view name = in_.word();
        Destination d;
        if (name == "o") {
            if (isState()) throw Fault{pos, "state programs have no o[] registers"};
            in_.expect('[');
            int at = in_.position();
            int out = indexIn(in_.word(), kOutputNames, kOutputs);
            if (out < 0) throw Fault{at, "unknown result register"};
            if (out == kHPOS && program_.positionInvariant) {
                throw Fault{at, "o[HPOS] is not written by position-invariant programs"};
            }
            in_.expect(']');
            d.file = RegisterFile::Output;
            d.index = out;
        } else if (name == "c") {
            if (!isState()) throw Fault{pos, "c[] is read-only in vertex programs"};
            in_.expect('[');
            int at = in_.position();
            d.index = in_.integer();
            if (d.index >= kParameters) throw Fault{at, "c[] index out of range"};
            in_.expect(']');
            d.file = RegisterFile::Parameter;
        } else {
            int temp = temporary(name);
            if (temp < 0) throw Fault{pos, "bad destination register"};
            d.index = temp;
        }
        d.mask = writeMask();
        return d;
    }

    static int temporary(std::string_view name) {
        if (name.size() < 2 || name.size() > 3 || name[0] != 'R') return -1;
        if (name.size() == 3 && name[1] == '0') return -1;
        int value = 0;
        for (char c : name.substr(1)) {
            if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
            value = value * 10 + (c - '0');
        }
        return value < kTemporaries ? value : -1;
    }

    Source source(bool scalar) {
        Source s;
        s.negate = in_.accept('-');
        if (!s.negate && program_.kind == ProgramKind::Vertex11) in_.accept('+');
        int pos = in_.position();
        std::string_view name = in_.word();
        if (name == "v") {
            in_.expect('[');
            int at = in_.position();
            // Either a number or one of the conventional names.
            int index = -1;
            Scanner probe = in_;
            std::string_view alias = probe.word();
            if (!alias.empty() && std::isdigit(static_cast<unsigned char>(alias[0]))) {
                index = in_.integer();
                if (index >= kAttributes) index = -1;
            } else {
                in_.word();
                index = indexIn(alias, kAttributeNames, kAttributes);
            }
            if (index < 0) throw Fault{at, "unknown vertex attribute register"};
            if (isState() && index != 0) throw Fault{at, "state programs read only v[0]"};
            in_.expect(']');
            s.file = RegisterFile::Attribute;
            s.index = index;
        } else if (name == "c") {
            in_.expect('[');
            int at = in_.position();
            s.file = RegisterFile::Parameter;
            Scanner probe = in_;
            if (probe.word() == "A0") {
                in_.word();
                if (!in_.accept('.') || in_.word() != "x") throw Fault{at, "expected A0.x"};
                s.relative = true;
                int offsetAt = in_.position();
                if (program_.positionInvariant && (in_.accept('+') || in_.accept('-'))) {
                    throw Fault{offsetAt, "position-invariant programs use c[A0.x] without offset"};
                }
                if (in_.accept('+')) {
                    s.index = in_.integer();
                    if (s.index > 63) throw Fault{offsetAt, "relative offset out of range"};
                } else if (in_.accept('-')) {
                    s.index = -in_.integer();
                    if (s.index < -64) throw Fault{offsetAt, "relative offset out of range"};
                }
            } else {
                s.index = in_.integer();
                if (s.index >= kParameters) throw Fault{at, "c[] index out of range"};
            }
            in_.expect(']');
        } else {
            s.index = temporary(name);
            if (s.index < 0) {
                throw Fault{pos, name == "o" ? "o[] registers are write-only" : "bad source register"};
            }
        }
        int swizzleAt = in_.position();
        if (in_.accept('.')) {
            std::string_view letters = in_.word();
            if (letters.size() != 1 && letters.size() != 4) throw Fault{swizzleAt, "bad swizzle"};
            for (std::size_t i = 0; i < 4; ++i) {
                char c = letters[letters.size() == 1 ? 0 : i];
                const char* p = c != 0 ? std::strchr("xyzw", c) : nullptr;
                if (p == nullptr) throw Fault{swizzleAt, "bad swizzle"};
                s.swizzle[i] = static_cast<std::uint8_t>(p - "xyzw");
            }
            if (scalar && letters.size() != 1) throw Fault{swizzleAt, "scalar operand needed"};
        } else if (scalar) {
            throw Fault{swizzleAt, "scalar operand needed"};
        }
        return s;
    }

    Scanner in_;
    VertexProgram program_;
};

}  // namespace

int sourceCount(Opcode op) {
    switch (op) {
        case Opcode::MAD: return 3;
        case Opcode::MUL: case Opcode::ADD: case Opcode::DP3: case Opcode::DP4: case Opcode::DST:
        case Opcode::MIN: case Opcode::MAX: case Opcode::SLT: case Opcode::SGE: case Opcode::DPH:
        case Opcode::SUB: return 2;
        default: return 1;
    }
}

bool isScalarOpcode(Opcode op) {
    return op == Opcode::ARL || op == Opcode::RCP || op == Opcode::RSQ || op == Opcode::EXP ||
           op == Opcode::LOG || op == Opcode::RCC;
}

const char* opcodeName(Opcode op) { return kOpcodeNames[static_cast<int>(op)]; }

const char* outputName(int output) {
    return output >= 0 && output < kOutputs ? kOutputNames[output] : "";
}

ParseResult parseVertexProgram(std::string_view text) {
    ParseResult result;
    try {
        result.program = Parser(text).run();
    } catch (const Fault& fault) {
        result.program = {};
        result.errorPosition = fault.position;
        result.message = fault.message;
    }
    return result;
}

}  // namespace demo::vp
