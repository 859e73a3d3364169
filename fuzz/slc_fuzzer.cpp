// The vertex-language compiler in memory: front end and code generation on
// any text. Whatever it accepts must be a program the target accepts, with
// only finite numbers in its constant lines.

#include <cstddef>
#include <cstdint>
#include <regex>
#include <string>
#include <string_view>

#include "platform/vertex_program/vertex_program_parser.h"
#include "tools/slc/compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    demo::slc::Compilation result = demo::slc::compile(text, "fuzz.vp", "main");
    if (!result.ok) return 0;
    if (!demo::vp::parseVertexProgram(result.object).ok()) __builtin_trap();
    static const std::regex kNotFinite("#const.*(inf|nan)");  // '.' stops at a line's end
    if (std::regex_search(result.object, kNotFinite)) __builtin_trap();
    return 0;
}
