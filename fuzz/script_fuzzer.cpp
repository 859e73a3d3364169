// libFuzzer over the script reader: raw tokens, then the same bytes read as
// "name { block }" pairs against a table holding every parameter type code.
// Only ParseError may escape, and it names a line of the script. The seeds
// hold every construct, so cut-off scripts are a mutation away.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tests/support/every_parameter_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace demo;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    {
        AsciiReader reader("fuzz.ini", text);
        // Every token consumes at least one byte, so this ends.
        for (std::size_t n = 0; n <= size + 1; ++n) {
            Token token = reader.nextToken();
            AsciiReader::describeToken(token);
            if (token.kind == TOKEN_END) break;
            if (n == size + 1) __builtin_trap();
        }
        if (reader.nextToken().kind != TOKEN_END) __builtin_trap();
    }
    AsciiReader reader("fuzz.ini", text);
    EveryParameter destinations;
    try {
        readNamedBlocks(reader, destinations);
    } catch (const ParseError& e) {
        if (e.scriptLine() < 1) __builtin_trap();  // every refusal names its line
    }
    return 0;
}
