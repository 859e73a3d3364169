#include "manager/ascii_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "manager/fileio.h"

namespace demo {
namespace {

using namespace std::string_literals;

// Every token of `text` described, blank-separated, up to and including EOF.
std::string tokens(std::string_view text) {
    AsciiReader reader("test.ini", text);
    std::string out;
    for (int i = 0; i < 1000; ++i) {
        Token token = reader.nextToken();
        if (!out.empty()) out += ' ';
        out += AsciiReader::describeToken(token);
        if (token.kind == TOKEN_END) return out;
    }
    return out + " (no end)";
}

int linesAfter(std::string_view text) {
    AsciiReader reader("test.ini", text);
    while (reader.nextToken().kind != TOKEN_END) {
    }
    return reader.line();
}

TEST(AsciiReaderTokens, WordsNumbersSymbolsAndQuotes) {
    EXPECT_EQ(tokens(""), "EOF");
    EXPECT_EQ(tokens("a/b"), "STRING:a SYMBOL:/ STRING:b EOF");
    EXPECT_EQ(tokens("a//b"), "STRING:a EOF");
    EXPECT_EQ(tokens("12abc"), "NUMBER:12 STRING:abc EOF");
    EXPECT_EQ(tokens("s-wrap"), "STRING:s SYMBOL:- STRING:wrap EOF");
    EXPECT_EQ(tokens("_x9 { } <1 2>"), "STRING:_x9 SYMBOL:{ SYMBOL:} SYMBOL:< NUMBER:1 NUMBER:2 SYMBOL:> EOF");
    EXPECT_EQ(tokens("\"a b\"c"), "STRING:\"a b\" STRING:c EOF");
    EXPECT_EQ(tokens("x /"), "STRING:x SYMBOL:/ EOF");
    EXPECT_EQ(tokens("x -"), "STRING:x SYMBOL:- EOF");
}

TEST(AsciiReaderTokens, NumbersTakeTheLongestPrefixWithoutExponent) {
    EXPECT_EQ(tokens("1.2.3"), "NUMBER:1.2 EOF");
    EXPECT_EQ(tokens("-.5"), "NUMBER:-0.5 EOF");
    EXPECT_EQ(tokens("--1"), "SYMBOL:- NUMBER:-1 EOF");
    EXPECT_EQ(tokens("-x"), "SYMBOL:- STRING:x EOF");
    EXPECT_EQ(tokens("1e5"), "NUMBER:1 STRING:e5 EOF");
    EXPECT_EQ(tokens(". -."), "NUMBER:0 NUMBER:0 EOF");
    EXPECT_EQ(tokens("+3"), "SYMBOL:+ NUMBER:3 EOF");
    // Rounded to float, independent of the locale's decimal point.
    AsciiReader reader("n", "0.1 " + std::string(60, '9') + " -" + std::string(60, '9') + " 0." +
                                std::string(80, '0') + "1");
    EXPECT_EQ(reader.readNumber(), 0.1f);
    EXPECT_EQ(reader.readNumber(), std::numeric_limits<float>::infinity());
    EXPECT_EQ(reader.readNumber(), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(reader.readNumber(), 0.0f);
}

TEST(AsciiReaderTokens, CommentsEndAtTheFirstCloser) {
    EXPECT_EQ(tokens("/** x **/ y"), "STRING:y EOF");
    EXPECT_EQ(tokens("/*/ a */ b"), "STRING:b EOF");
    EXPECT_EQ(tokens("a /* never closed"), "STRING:a EOF");
    EXPECT_EQ(tokens("a // to the end"), "STRING:a EOF");
    EXPECT_EQ(tokens("/"), "SYMBOL:/ EOF");
}

TEST(AsciiReaderTokens, HighBytesAreSymbolsNotTheEnd) {
    EXPECT_EQ(tokens("a\xff" "b"), "STRING:a SYMBOL:\xff STRING:b EOF");
    EXPECT_EQ(tokens("\x80\xe9t\xff"), "SYMBOL:\x80 SYMBOL:\xe9 STRING:t SYMBOL:\xff EOF");
    EXPECT_EQ(tokens("x\0y"s), "STRING:x SYMBOL:"s + '\0' + " STRING:y EOF");
}

TEST(AsciiReaderTokens, LongTextIsNotCut) {
    std::string word(100000, 'w');
    std::string quoted(50000, 'q');
    AsciiReader reader("long", word + " \"" + quoted + "\" 1" + std::string(5000, '0'));
    EXPECT_EQ(reader.readString(), word);
    EXPECT_EQ(reader.readQuotedString(), quoted);
    EXPECT_EQ(reader.readNumber(), std::numeric_limits<float>::infinity());
}

TEST(AsciiReaderTokens, UnclosedQuoteEndsWithTheData) {
    EXPECT_EQ(tokens("x \"abc"), "STRING:x STRING:\"abc\" EOF");
    EXPECT_EQ(tokens("\""), "STRING:\"\" EOF");
}

TEST(AsciiReaderTokens, LinesCountInCommentsAndQuotes) {
    EXPECT_EQ(linesAfter("a\nb\n"), 3);
    EXPECT_EQ(linesAfter("// comment without line end"), 2);
    EXPECT_EQ(linesAfter("/* 1\n2\n */"), 3);
    EXPECT_EQ(linesAfter("\"one\ntwo\nthree\""), 3);
    EXPECT_EQ(linesAfter("\r\n\r\n"), 3);
}

TEST(AsciiReaderTokens, PushedBackTokensComeBackLastFirst) {
    AsciiReader reader("p", "a b");
    Token a = reader.nextToken();
    Token b = reader.nextToken();
    EXPECT_EQ(reader.nextToken().kind, TOKEN_END);
    EXPECT_EQ(reader.nextToken().kind, TOKEN_END);
    reader.pushBack(a);
    reader.pushBack(b);
    EXPECT_EQ(reader.readString(), "b");
    EXPECT_EQ(reader.readString(), "a");
    EXPECT_EQ(reader.nextToken().kind, TOKEN_END);
}

// The message of the ParseError that `read` throws.
template <typename Read>
std::string failure(std::string_view text, Read read) {
    AsciiReader reader("script.ini", text);
    try {
        read(reader);
    } catch (const ParseError& e) {
        return e.sourceFile() + " L" + std::to_string(e.sourceLine()) + ": " + e.message();
    }
    return "no error";
}

TEST(AsciiReaderTypedReads, MismatchMessagesNameScriptAndLine) {
    EXPECT_EQ(failure("\n\nx", [](AsciiReader& r) { r.readNumber(); }),
              "manager/ascii_reader L142: Parse error (script.ini 3 ): Number was expected here.");
    EXPECT_EQ(failure("\"q\"", [](AsciiReader& r) { r.readString(); }),
              "manager/ascii_reader L149: Parse error (script.ini 1 ): String was expected here.");
    EXPECT_EQ(failure("w", [](AsciiReader& r) { r.readQuotedString(); }),
              "manager/ascii_reader L156: Parse error (script.ini 1 ): Quoted string was expected here.");
    EXPECT_EQ(failure("5", [](AsciiReader& r) { r.readStringOrQuoted(); }),
              "manager/ascii_reader L163: Parse error (script.ini 1 ): String or quoted string was expected "
              "here.");
    EXPECT_EQ(failure("\n1.5", [](AsciiReader& r) { r.expectSymbol('{'); }),
              "manager/ascii_reader L210: Parse error (script.ini 2 ): Symbol { was expected here. (got "
              "NUMBER:1.5)");
    EXPECT_EQ(failure("", [](AsciiReader& r) { r.expectSymbol('>'); }),
              "manager/ascii_reader L210: Parse error (script.ini 1 ): Symbol > was expected here. (got EOF)");
    EXPECT_EQ(failure("<1 2 3", [](AsciiReader& r) { r.readVector3(); }),
              "manager/ascii_reader L210: Parse error (script.ini 1 ): Symbol > was expected here. (got EOF)");
}

TEST(AsciiReaderTypedReads, VectorsAndOneOf) {
    AsciiReader reader("v", "<1 2> <1 2 3> < -1 -2 -3 -4 > b = ");
    EXPECT_EQ(reader.readVector2(), (std::array<float, 2>{1, 2}));
    EXPECT_TRUE(reader.readVector3() == Vector3(1, 2, 3));  // no printer: math is not linked here
    EXPECT_EQ(reader.readVector4(), (std::array<float, 4>{-1, -2, -3, -4}));
    const char* const words[] = {"a", "b", "=", nullptr};
    EXPECT_EQ(reader.readOneOf(words), 1);
    EXPECT_EQ(reader.readOneOf(words), 2);

    const char* const ab[] = {"a", "b", nullptr};
    EXPECT_EQ(failure("x", [&](AsciiReader& r) { r.readOneOf(ab); }),
              "manager/ascii_reader L238: Parse error (script.ini 1 ): One of the strings 'a' 'b' was expected "
              "here.STRING:x");
    EXPECT_EQ(failure("\"a\"", [&](AsciiReader& r) { r.readOneOf(ab); }),
              "manager/ascii_reader L238: Parse error (script.ini 1 ): One of the strings 'a' 'b' was expected "
              "here.STRING:\"a\"");
    EXPECT_EQ(failure("", [&](AsciiReader& r) { r.readOneOf(ab); }),
              "manager/ascii_reader L238: Parse error (script.ini 1 ): One of the strings 'a' 'b' was expected "
              "here.EOF");
}

TEST(AsciiReaderFile, ReadsThroughTheFileCacheAndKeepsTheEntry) {
    const char* tmp = std::getenv("DEMO_TEST_TMP");
    std::string dir = tmp != nullptr ? tmp : ".";
    {
        std::ofstream out(dir + "/reader_script.ini", std::ios::binary);
        out << "tunnel { speed 2 }";
    }
    FileSystem::instance()->addDirectory(dir);
    {
        AsciiReader reader("reader_script.ini");
        EXPECT_EQ(reader.scriptName(), "reader_script.ini");
        EXPECT_EQ(reader.readString(), "tunnel");
        EXPECT_EQ(FileSystem::instance()->objects().at("reader_script.ini")->referenceCount, 1);
    }
    MemoryFile* file = FileSystem::instance()->objects().at("reader_script.ini");
    EXPECT_EQ(file->referenceCount, 0);
    FileSystem::instance()->collectUnused();
    EXPECT_EQ(FileSystem::instance()->objects().count("reader_script.ini"), 0u);

    EXPECT_THROW(AsciiReader("no_such_script.ini"), ResourceMissing);
}

}  // namespace
}  // namespace demo
