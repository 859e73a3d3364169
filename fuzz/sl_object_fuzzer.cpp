// libFuzzer over the compiler's object-text parser: any bytes parse into a
// program without crash, and the list it builds stays linked and holds no
// refused value. The first byte picks the road: the program parse, the
// process-wide scanner and parser (target, input, tokens, parse), or a bare
// list with or without a target that owns it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sl-runtime/sl_object_parser.h"

namespace {

using namespace demo;

void check(const SlList* list) {
    const SlListNode* previous = nullptr;
    for (const SlListNode* node = list->Head; node != nullptr; node = node->next) {
        const SlParameter& p = *node->parameter;
        if (node->prev != previous || p.RefCount != 1 || p.Name.empty() || p.arraySize < 0 ||
            p.registerIndex < -1 || p.registerIndex >= kSlRegisters ||
            (p.kind == slTexObjParam && p.texUnit < 0))
            __builtin_trap();
        previous = node;
    }
    if (list->Tail != previous) __builtin_trap();
}

bool isToken(int code) {
    return (code >= 257 && code <= 271) || code == '=' || code == '[' || code == ']' ||
           code == '(' || code == ')';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int road = data[0] % 4;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    SlContextData context;
    SlProgram* program = sliNewProgram(&context);
    if (road == 0) {
        std::string diagnostics;
        sliParseProgramOutput(program, text, &diagnostics);
    } else if (road == 1) {
        sliSetParseTarget(&context, program);
        sliSetScanInput(text.c_str());
        // Each token ends its line's tokens at the latest, so the scan is bounded.
        for (std::size_t count = 0;; ++count) {
            int code = sliLex();
            if (code == -1) break;
            if (!isToken(code) || count > text.size() * 2 + 1) __builtin_trap();
        }
        sliSetScanInput(text.c_str());
        if (sliParse() > 1) __builtin_trap();
    } else {
        // Road 2: the target owns the list; road 3: no target, a list alone.
        sliSetParseTarget(&context, road == 2 ? program : nullptr);
        if (sliParseProgramOutput(program->ParamList, text.c_str()) > 1) __builtin_trap();
    }
    sliSetParseTarget(&context, nullptr);
    check(program->ParamList);
    sliFreeProgram(program);
    return 0;
}
