// Hostile and cut-off scripts end in a ParseError or a clean parse: never a
// crash, a hang or a read past the data (run under the sanitizer build).

#include <gtest/gtest.h>

#include <string>

#include "tests/support/every_parameter_table.h"

namespace demo {
namespace {

// True for a clean parse, false for a ParseError; anything else fails the test.
bool parse(std::string_view text) {
    AsciiReader reader("robust.ini", text);
    EveryParameter destinations;
    try {
        readNamedBlocks(reader, destinations);
    } catch (const ParseError& e) {
        EXPECT_GE(e.scriptLine(), 1);
        return false;
    }
    return true;
}

const std::string kValidScript = R"(// processes
tunnel { flag f 1.5 i -7 mode "mul" blend ONE s word text "a text"
         strings { a "b c" } ints { 1 2 3 } floats { .5 -1.25 }
         v2 <1 2> v3 < 1 2 3 > v4 <1 2 3 4> point <0 1>
         inner { f 2 flag deeper { x 3 } } later }
/* a block
   comment */ sky { inner f 3 f 4 }
)";

// Every prefix of a valid script; random input is the script fuzzer's job.
TEST(ScriptRobustness, Truncations) {
    ASSERT_TRUE(parse(kValidScript));
    int clean = 0;
    for (std::size_t n = 0; n < kValidScript.size(); ++n)
        clean += parse(std::string_view(kValidScript).substr(0, n));
    EXPECT_GT(clean, 1);
}

}  // namespace
}  // namespace demo
