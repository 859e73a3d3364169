#include "platform/vertex_program/vertex_program_interpreter.h"

#include <algorithm>
#include <cmath>

namespace demo::vp {

namespace {

Vec4 fetch(const VertexMachine& m, const Source& s) {
    Vec4 raw{};
    switch (s.file) {
        case RegisterFile::Temporary: raw = m.temporaries[s.index]; break;
        case RegisterFile::Attribute: raw = m.attributes[s.index]; break;
        case RegisterFile::Parameter: {
            // An address outside the registers reads zeros.
            int index = s.relative ? m.address + s.index : s.index;
            if (index >= 0 && index < kParameters) raw = m.parameters[index];
            break;
        }
        default: break;
    }
    Vec4 v;
    for (int i = 0; i < 4; ++i) v[i] = s.negate ? -raw[s.swizzle[i]] : raw[s.swizzle[i]];
    return v;
}

Vec4 splat(float x) { return {x, x, x, x}; }

float reciprocal(float x) { return x == 1.0f ? 1.0f : 1.0f / x; }

Vec4 compute(const Instruction& ins, const Vec4& a, const Vec4& b, const Vec4& c) {
    Vec4 r{};
    auto each = [&](auto f) {
        for (int i = 0; i < 4; ++i) r[i] = f(i);
        return r;
    };
    switch (ins.op) {
        case Opcode::ARL:
        case Opcode::MOV: return a;
        case Opcode::MUL: return each([&](int i) { return a[i] * b[i]; });
        case Opcode::ADD: return each([&](int i) { return a[i] + b[i]; });
        case Opcode::SUB: return each([&](int i) { return a[i] - b[i]; });
        case Opcode::MAD: return each([&](int i) { return a[i] * b[i] + c[i]; });
        case Opcode::MIN: return each([&](int i) { return std::min(a[i], b[i]); });
        case Opcode::MAX: return each([&](int i) { return std::max(a[i], b[i]); });
        case Opcode::SLT: return each([&](int i) { return a[i] < b[i] ? 1.0f : 0.0f; });
        case Opcode::SGE: return each([&](int i) { return a[i] >= b[i] ? 1.0f : 0.0f; });
        case Opcode::ABS: return each([&](int i) { return std::fabs(a[i]); });
        case Opcode::RCP: return splat(reciprocal(a[0]));
        case Opcode::RCC: return splat(clampedReciprocal(a[0]));
        case Opcode::RSQ: return splat(1.0f / std::sqrt(std::fabs(a[0])));
        case Opcode::DP3: return splat(a[0] * b[0] + a[1] * b[1] + a[2] * b[2]);
        case Opcode::DP4: return splat(a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3]);
        case Opcode::DPH: return splat(a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + b[3]);
        case Opcode::DST: return {1.0f, a[1] * b[1], a[2], b[3]};
        case Opcode::EXP: {
            // At +-inf the fraction is 0, not inf - inf.
            float f = std::floor(a[0]);
            return {std::exp2(f), std::isinf(a[0]) ? 0.0f : a[0] - f, std::exp2(a[0]), 1.0f};
        }
        case Opcode::LOG: {
            float x = std::fabs(a[0]);
            if (x == 0.0f) return {-INFINITY, 1.0f, -INFINITY, 1.0f};
            if (!std::isfinite(x)) return {x, 1.0f, x, 1.0f};
            float e = std::floor(std::log2(x));
            return {e, x / std::exp2(e), std::log2(x), 1.0f};
        }
        case Opcode::LIT: {
            float x = std::max(a[0], 0.0f);
            float y = std::max(a[1], 0.0f);
            float w = std::clamp(a[3], -kLitPowerLimit, kLitPowerLimit);
            // The extension's power is 2^(w * log2 y), so a base of -0 (which
            // the clamp keeps) gives +inf for w < 0; 0^0 and inf^0 are 1.
            double power = w == 0.0f ? 1.0 : std::exp2(w * std::log2(double{y}));
            float z = a[0] > 0.0f ? static_cast<float>(power) : 0.0f;
            return {1.0f, x, z, 1.0f};
        }
    }
    return r;
}

}  // namespace

float clampedReciprocal(float x) {
    // The sign of a zero reciprocal counts: RCC(-inf) is -2^-64.
    float r = reciprocal(x);
    if (std::isnan(r)) return r;
    float magnitude = std::clamp(std::fabs(r), kReciprocalMin, kReciprocalMax);
    return std::signbit(r) ? -magnitude : magnitude;
}

void execute(const VertexProgram& program, VertexMachine& m) {
    m.temporaries.fill(Vec4{});
    m.outputs.fill(Vec4{0, 0, 0, 1});
    m.address = 0;
    for (const Instruction& ins : program.code) {
        Vec4 a = ins.sourceCount > 0 ? fetch(m, ins.src[0]) : Vec4{};
        Vec4 b = ins.sourceCount > 1 ? fetch(m, ins.src[1]) : Vec4{};
        Vec4 c = ins.sourceCount > 2 ? fetch(m, ins.src[2]) : Vec4{};
        Vec4 r = compute(ins, a, b, c);
        Vec4* target = nullptr;
        switch (ins.dst.file) {
            case RegisterFile::Address: {
                // Clamped so that a hostile value cannot overflow the sum.
                float f = std::floor(std::clamp(a[0], -1024.0f, 1024.0f));
                m.address = std::isnan(f) ? 0 : static_cast<int>(f);
                continue;
            }
            case RegisterFile::Temporary: target = &m.temporaries[ins.dst.index]; break;
            case RegisterFile::Output: target = &m.outputs[ins.dst.index]; break;
            case RegisterFile::Parameter: target = &m.parameters[ins.dst.index]; break;
            case RegisterFile::Attribute: continue;
        }
        for (int i = 0; i < 4; ++i) {
            if (ins.dst.mask & (1 << i)) (*target)[i] = r[i];
        }
    }
}

}  // namespace demo::vp
