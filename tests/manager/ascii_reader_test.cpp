#include "manager/ascii_reader.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "tests/support/error_of.h"

namespace demo {
namespace {

using namespace std::string_literals;

// Every token of `text` described, blank-separated, up to and including EOF,
// then the line the reader ends on when it is not the first.
std::string tokens(std::string_view text) {
    AsciiReader reader("test.ini", text);
    std::string out;
    for (Token t; (t = reader.nextToken()).kind != TOKEN_END;) {
        out += AsciiReader::describeToken(t) + ' ';
    }
    return out + "EOF" + (reader.line() > 1 ? " L" + std::to_string(reader.line()) : "");
}

TEST(AsciiReaderTokens, TrickyInputs) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "EOF"}, {"a//b", "STRING:a EOF L2"}, {"a/b", "STRING:a SYMBOL:/ STRING:b EOF"},
        {"12abc", "NUMBER:12 STRING:abc EOF"},
        {"_x9 {<1>}", "STRING:_x9 SYMBOL:{ SYMBOL:< NUMBER:1 SYMBOL:> SYMBOL:} EOF"},
        {"\"a b\"c", "STRING:\"a b\" STRING:c EOF"},
        // Numbers: the longest prefix, no exponent, no '+'.
        {"1.2.3", "NUMBER:1.2 EOF"}, {"-.5", "NUMBER:-0.5 EOF"}, {". -.", "NUMBER:0 NUMBER:0 EOF"},
        {"--1", "SYMBOL:- NUMBER:-1 EOF"}, {"1e5", "NUMBER:1 STRING:e5 EOF"},
        // Comments end at the first "*/", or with the data.
        {"/** x **/ y", "STRING:y EOF"}, {"/*/ a */ b", "STRING:b EOF"},
        {"a /* never closed", "STRING:a EOF"},
        // Bytes above 0x7F and NUL are symbols: 0xFF is data, not the end.
        {"\x80\xff" "b", "SYMBOL:\x80 SYMBOL:\xff STRING:b EOF"},
        {"x\0y"s, "STRING:x SYMBOL:"s + '\0' + " STRING:y EOF"},
        // An unclosed quote ends with the data.
        {"x \"abc", "STRING:x STRING:\"abc\" EOF"},
        // Line feeds count in comments and quotes too.
        {"a\r\nb\n", "STRING:a STRING:b EOF L3"}, {"/* 1\n2\n */", "EOF L3"},
        {"\"1\n2\"", "STRING:\"1\n2\" EOF L2"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(tokens(text), expected) << text;
}

TEST(AsciiReaderTokens, NumbersRoundToFloatAndLongTextIsNotCut) {
    const std::string word(100000, 'w'), quoted(50000, 'q'), nines(60, '9');
    AsciiReader reader("n", "0.1 " + nines + " -" + nines + " 0." + std::string(80, '0') + "1 " +
                                word + " \"" + quoted + "\"");
    EXPECT_EQ(reader.readNumber(), 0.1f);
    EXPECT_EQ(reader.readNumber(), std::numeric_limits<float>::infinity());
    EXPECT_EQ(reader.readNumber(), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(reader.readNumber(), 0.0f);
    EXPECT_EQ(reader.readString(), word);
    EXPECT_EQ(reader.readQuotedString(), quoted);
}

TEST(AsciiReaderTypedReads, MismatchMessagesNameScriptAndLine) {
    // A failed read consumes the offending token, so one script feeds every case;
    // the number and string-or-quoted refusals are the parameter tests'.
    AsciiReader reader("script.ini", "\"q\" w\n1.5 x\n<1 2 3");
    const char* const ab[] = {"a", "b", nullptr};
    auto failure = [](auto read) {
        const std::string printed = test::printedErrorOf<ParseError>(read);
        EXPECT_EQ(printed.rfind("manager/ascii_reader L", 0), 0u) << printed;
        return printed.substr(printed.find(' ') + 1);
    };
    EXPECT_EQ(failure([&] { reader.readString(); }),
              "L149: Parse error (script.ini 1 ): String was expected here.");
    EXPECT_EQ(failure([&] { reader.readQuotedString(); }),
              "L156: Parse error (script.ini 1 ): Quoted string was expected here.");
    EXPECT_EQ(failure([&] { reader.expectSymbol('{'); }),
              "L210: Parse error (script.ini 2 ): Symbol { was expected here. (got NUMBER:1.5)");
    EXPECT_EQ(failure([&] { reader.readOneOf(ab); }),
              "L238: Parse error (script.ini 2 ): One of the strings 'a' 'b' was expected here.STRING:x");
    EXPECT_EQ(failure([&] { reader.readVector3(); }),
              "L210: Parse error (script.ini 3 ): Symbol > was expected here. (got EOF)");
}

TEST(AsciiReaderTypedReads, VectorsOneOfAndPushBack) {
    AsciiReader reader("v", "< -1 -2 -3 -4 > = a c");
    EXPECT_EQ(reader.readVector4(), (std::array<float, 4>{-1, -2, -3, -4}));
    const char* const words[] = {"a", "b", "=", nullptr};
    EXPECT_EQ(reader.readOneOf(words), 2);
    Token a = reader.nextToken(), c = reader.nextToken();
    EXPECT_EQ(reader.nextToken().kind, TOKEN_END);
    reader.pushBack(a);
    reader.pushBack(c);  // last pushed, first read
    EXPECT_EQ(reader.readString(), "c");
    EXPECT_EQ(reader.readString(), "a");
    EXPECT_EQ(reader.nextToken().kind, TOKEN_END);
}

}  // namespace
}  // namespace demo
