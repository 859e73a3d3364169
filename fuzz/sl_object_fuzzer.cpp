// libFuzzer over the compiler's object-text parser: any bytes parse into a
// program without crash, and the list it builds stays linked and
// holds no refused value.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sl-runtime/sl_object_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace demo;
    SlProgram* program = sliNewProgram(nullptr);
    std::string diagnostics;
    sliParseProgramOutput(program, std::string_view(reinterpret_cast<const char*>(data), size), &diagnostics);
    const SlListNode* previous = nullptr;
    for (const SlListNode* node = program->ParamList->Head; node != nullptr; node = node->next) {
        const SlParameter& p = *node->parameter;
        if (node->prev != previous || p.RefCount != 1 || p.Name.empty() || p.arraySize < 0 ||
            p.registerIndex < -1 || (p.kind == slTexObjParam && p.texUnit < 0))
            __builtin_trap();
        previous = node;
    }
    if (program->ParamList->Tail != previous) __builtin_trap();
    sliFreeProgram(program);
    return 0;
}
