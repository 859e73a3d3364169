#include "tools/slc/temporary_allocator.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "tools/slc/compile_error.h"

namespace demo::slc {

using vp::Opcode;
using vp::RegisterFile;

namespace {

// The register components that source k of an instruction contributes to
// the components it writes.
std::uint8_t componentsRead(const vp::Instruction& ins, int k) {
    std::uint8_t lanes = 0xF;
    switch (ins.op) {
        case Opcode::DP3: lanes = 0x7; break;
        case Opcode::DPH: lanes = k == 0 ? 0x7 : 0xF; break;
        case Opcode::DST: lanes = k == 0 ? 0x6 : 0xA; break;
        case Opcode::LIT: lanes = 0xB; break;
        case Opcode::DP4: break;
        default: lanes = vp::isScalarOpcode(ins.op) ? 0x1 : ins.dst.mask;  // else component-wise
    }
    std::uint8_t comps = 0;
    for (int i = 0; i < 4; ++i) {
        if (lanes & (1 << i)) comps |= static_cast<std::uint8_t>(1 << ins.src[k].swizzle[i]);
    }
    return comps;
}

}  // namespace

// The code is straight-line and every opcode reads all its sources before
// it writes, so a register holds a value from its first write to its last
// use, and may take the next value in the instruction that reads its last.
// Ranges are handed out in order of their starts, each to the lowest free
// temporary: that needs no more temporaries than are live at once.
void assignTemporaries(std::vector<vp::Instruction>& code, int count, const std::vector<int>& lines) {
    struct Range {
        int start = -1, end = -1;
        std::uint8_t written = 0;
        bool early = false;  // reads a component before any write: it starts
                             // with the program, in a register untouched before
    };
    std::vector<Range> ranges(count);
    for (int i = 0; i < static_cast<int>(code.size()); ++i) {
        const vp::Instruction& ins = code[i];
        for (int k = 0; k < ins.sourceCount; ++k) {
            const vp::Source& s = ins.src[k];
            if (s.file != RegisterFile::Temporary) continue;
            Range& r = ranges[s.index];
            if (r.end < 0) r.start = i;
            r.end = i;
            if (componentsRead(ins, k) & ~r.written) r.early = true;
        }
        if (ins.dst.file != RegisterFile::Temporary) continue;
        Range& r = ranges[ins.dst.index];
        if (r.end < 0) r.start = i;
        r.end = i;
        r.written |= ins.dst.mask;
    }
    std::vector<int> order;
    for (int v = 0; v < count; ++v) {
        if (ranges[v].end >= 0) order.push_back(v);
    }
    // An early range begins before the code, so it takes a register that
    // nothing has used yet, which both paths start at zero.
    auto begins = [&](int v) { return ranges[v].early ? -1 : ranges[v].start; };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return begins(a) < begins(b); });
    std::vector<int> physical(count, -1);
    std::array<int, vp::kTemporaries> busyUntil;
    busyUntil.fill(-1);
    for (int v : order) {
        int t = 0;
        while (t < vp::kTemporaries && busyUntil[t] > begins(v)) ++t;
        if (t == vp::kTemporaries) {
            throw CompileError{lines[ranges[v].start], "the program needs more than 12 temporary registers"};
        }
        busyUntil[t] = ranges[v].end;
        physical[v] = t;
    }
    for (vp::Instruction& ins : code) {
        if (ins.dst.file == RegisterFile::Temporary) ins.dst.index = physical[ins.dst.index];
        for (int k = 0; k < ins.sourceCount; ++k) {
            if (ins.src[k].file == RegisterFile::Temporary) ins.src[k].index = physical[ins.src[k].index];
        }
    }
}

}  // namespace demo::slc
