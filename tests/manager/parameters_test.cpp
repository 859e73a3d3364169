#include "manager/parameters.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/every_parameter_table.h"
#include "manager/text_pool.h"

namespace demo {
namespace {

// Reads `text` against `table`; returns "L<source line> <message>", or "" on
// success with the token after the block in `rest`.
std::string read(ParameterDesc* table, std::string_view text, std::string* rest = nullptr) {
    AsciiReader reader("params.ini", text);
    try {
        reader.readParameters(table);
    } catch (const ParseError& e) {
        EXPECT_EQ(e.sourceFile(), "manager/ascii_reader");
        return "L" + std::to_string(e.sourceLine()) + " " + e.message();
    }
    if (rest != nullptr) *rest = AsciiReader::describeToken(reader.nextToken());
    return "";
}

TEST(Parameters, EveryTypeCodeFillsItsDestination) {
    EveryParameter d;
    ASSERT_EQ(read(d.table,
                   "{ flag f 1.5 i -2.9 mode mul blend \"SRC_ALPHA\" s \"a b\" text t1\n"
                   "  strings { x \"y z\" } ints { 1 2.9 -2.9 } floats { 0.5 } v2 <1 2>\n"
                   "  v3 <1 2 3> v4 <1 2 3 4> point <3 4> inner { f 3 flag } later }"),
              "");
    EXPECT_TRUE(d.flag && d.innerFlag);
    EXPECT_EQ(std::tie(d.f, d.i, d.mode, d.blend, d.s, d.innerF),
              std::make_tuple(1.5f, -2, 1, 0x302, "a b", 3.0f));
    EXPECT_STREQ(d.text(), "t1");
    std::size_t interned = internedTextCount();
    EveryParameter other;  // the same text again: one copy for the whole program
    ASSERT_EQ(read(other.table, "{ text t1 }"), "");
    EXPECT_EQ(other.text(), d.text());
    EXPECT_EQ(internedTextCount(), interned);
    EXPECT_EQ(std::tie(d.strings, d.ints, d.floats, d.point.calledFor),
              std::make_tuple(std::vector<std::string>{"x", "y z"}, std::vector<int>{1, 2, -2},
                              std::vector<float>{0.5f}, "point"));
    EXPECT_TRUE(d.v2[1] + d.v3[2] + d.v4[3] == 9.0f && d.point.point[1] == 4);
}

TEST(Parameters, OptionalEmptyRepeatedAppendingAndSaturating) {
    constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
    EveryParameter d;
    std::string rest;
    EXPECT_EQ(read(d.table, "next", &rest), "");
    EXPECT_EQ(rest, "STRING:next");  // an absent block leaves the token
    EXPECT_EQ(read(d.table, "{} x", &rest), "");
    EXPECT_EQ(rest, "STRING:x");
    EXPECT_EQ(read(d.table, "{ f 1 f 2 ints { 1 } ints { } ints { 2 } inner flag i 3000000000 }"),
              "");
    // A nested block's brace is optional too; integers saturate at the int range.
    EXPECT_TRUE(d.f == 2.0f && d.flag && !d.innerFlag && d.i == kMax);
    EXPECT_EQ(read(d.table, "{ ints { -3000000000 2147483520 } }"), "");
    EXPECT_EQ(d.ints, (std::vector<int>{1, 2, kMin, 2147483520}));
    EXPECT_EQ(truncateToInt(std::numeric_limits<float>::infinity()), kMax);
    EXPECT_EQ(truncateToInt(-std::numeric_limits<float>::infinity()), kMin);
}

TEST(Parameters, ErrorMessagesAndTheFieldsAlreadySet) {
    const std::pair<const char*, const char*> cases[] = {
        {"{ f 4 \n 5 }", "L250 Parse error (params.ini 2 ): Parameter name was expected."},
        {"{ f", "L142 Parse error (params.ini 1 ): Number was expected here."},
        {"{ mode MIRROR }",
         "L287 Parse error (params.ini 1 ): One of the values 'add' 'mul' was expected "
         "here.STRING:mode"},
        {"{ blend TWO }",
         "L304 Parse error (params.ini 1 ): One of the values 'ONE' 'ZERO' 'SRC_ALPHA' was "
         "expected here.STRING:blend"},
        {"{ text 5 }",
         "L314 Parse error (params.ini 1 ): String or quoted string was expected here."},
        {"{ strings { a",
         "L163 Parse error (params.ini 1 ): String or quoted string was expected here."},
        {"{ ints { 1 x } }", "L340 Parse error (params.ini 1 ): Number was expected here."},
        {"{ floats { 1 , } }", "L353 Parse error (params.ini 1 ): Number was expected here."},
        {"{ ints 1 }",
         "L210 Parse error (params.ini 1 ): Symbol { was expected here. (got NUMBER:1)"},
        {"{ inner { f 1 bogus 2 } }",
         "L370 Parse error (params.ini 1 ): One of the parameters 'f' 'flag' 'deeper' was expected "
         "here.STRING:bogus"},
    };
    for (const auto& [text, message] : cases) {
        EveryParameter d;
        EXPECT_EQ(read(d.table, text), message) << text;
        if (text == cases[0].first) {
            EXPECT_EQ(d.f, 4.0f);  // set before the error
        }
    }

    ParameterDesc empty[] = {{nullptr, PARAM_END, nullptr, nullptr}};
    EXPECT_EQ(read(empty, "{ anything }"),
              "L370 Parse error (params.ini 1 ): One of the parameters was expected "
              "here.STRING:anything");
}

}  // namespace
}  // namespace demo
