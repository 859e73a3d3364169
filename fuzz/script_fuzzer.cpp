// libFuzzer over the script reader: raw tokens, then the same bytes read as
// "name { block }" pairs against a table holding every parameter type code.
// Only ParseError may escape.

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
    } catch (const ParseError&) {
    }
    return 0;
}
