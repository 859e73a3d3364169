// libFuzzer over the compiler's object-text parser. The first byte picks the
// road: the program parse, the process-wide scanner and parser, or a bare
// list with or without a target that owns it. Any bytes parse without crash
// into a list that stays linked and holds no refused value.

#include <cstddef>
#include <cstdint>
#include <string>

#include "sl-runtime/sl_object_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace demo;
    if (size == 0) return 0;
    const int road = data[0] % 4;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    SlContextData context;
    SlProgram* program = sliNewProgram(&context);
    std::string diagnostics;
    if (road == 0) {
        sliParseProgramOutput(program, text, &diagnostics);
    } else if (road == 1) {
        sliSetParseTarget(&context, program);
        sliSetScanInput(text.c_str());
        // Each token takes a character or ends a line: the scan ends.
        for (std::size_t tokens = 0; sliLex() != -1; ++tokens)
            if (tokens > 2 * text.size()) __builtin_trap();
        sliSetScanInput(text.c_str());
        if (sliParse() > 1) __builtin_trap();
    } else {  // 2: the target owns the list; 3: a list alone
        sliSetParseTarget(&context, road == 2 ? program : nullptr);
        if (sliParseProgramOutput(program->ParamList, text.c_str()) > 1) __builtin_trap();
    }
    sliSetParseTarget(&context, nullptr);
    const SlListNode* previous = nullptr;
    for (const SlListNode* node = program->ParamList->Head; node != nullptr; node = node->next) {
        const SlParameter& p = *node->parameter;
        if (node->prev != previous || p.RefCount != 1 || p.Name.empty() || p.arraySize < 0 ||
            p.registerIndex < -1 || p.registerIndex >= kSlRegisters ||
            (p.kind == slTexObjParam && p.texUnit < 0))
            __builtin_trap();
        previous = node;
    }
    if (program->ParamList->Tail != previous) __builtin_trap();
    sliFreeProgram(program);
    return 0;
}
