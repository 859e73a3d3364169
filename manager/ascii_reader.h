#pragma once
// The script reader: turns a show script, process file, texture or material
// block into tokens (words, quoted strings, numbers, one-character symbols and
// the end of the data), and offers typed reads and table-driven parameter
// blocks on top. Errors are ParseErrors naming the script and its line.

#include <array>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "manager/exceptions.h"
#include "manager/source_location.h"
#include "math/vector3.h"

namespace demo {

class MemoryFile;
struct ParameterDesc;

enum TokenKind : int {
    TOKEN_END = 0,
    TOKEN_SYMBOL = 1,
    TOKEN_STRING = 2,  // a word
    TOKEN_QUOTED = 3,  // the text between double quotes
    TOKEN_NUMBER = 4,
};

struct Token {
    int kind = TOKEN_END;
    char symbol = 0;    // TOKEN_SYMBOL
    float number = 0;   // TOKEN_NUMBER
    std::string text;   // TOKEN_STRING, TOKEN_QUOTED

    bool isSymbol(char c) const { return kind == TOKEN_SYMBOL && symbol == c; }
};

class AsciiReader {
public:
    // Reads the file `name` through the file system's cache, which counts a
    // reference for the reader; ResourceMissing when no source has it.
    explicit AsciiReader(const std::string& name);
    // Reads a copy of `text`, reporting errors under `name`.
    AsciiReader(std::string name, std::string_view text);
    ~AsciiReader();
    AsciiReader(const AsciiReader&) = delete;
    AsciiReader& operator=(const AsciiReader&) = delete;

    // The next token; a pushed-back token first (last pushed, first read).
    // Once the data ends every call gives TOKEN_END.
    Token nextToken();
    void pushBack(Token token);

    // "EOF", "STRING:word", "STRING:\"text\"", "NUMBER:1.5", "SYMBOL:{".
    static void describeToken(const Token& token, std::ostream& out);
    static std::string describeToken(const Token& token);
    // "One of the <what> 'a' 'b' was expected here." followed by the
    // description of `token`, the word that matched none of `names`.
    static std::string describeOneOf(std::string_view what, const std::vector<const char*>& names,
                                     const Token& token);

    int line() const { return line_; }

    // A ParseError at the current script line, reported from `where`.
    ParseError error(const std::string& text, source::Location where) const;

    // Typed reads. Each takes one token; a mismatch is a ParseError and the
    // token is not put back.
    float readNumber();
    std::string readString();  // a word
    std::string readQuotedString();
    std::string readStringOrQuoted();
    void expectSymbol(char c);
    std::array<float, 2> readVector2();  // "<" x y ">"
    Vector3 readVector3();
    std::array<float, 4> readVector4();
    // Index of the first entry of the null-ended list equal to the next word
    // (or one-character symbol).
    int readOneOf(const char* const* words);

    // Fills destinations from an optional "{ name value ... }" block under the
    // control of `table` (see manager/parameters.h).
    void readParameters(ParameterDesc* table);

private:
    ParameterDesc& findHyphenatedRow(ParameterDesc* table, const Token& name);
    int readByte();
    void unreadByte(int c);
    void skipBlank(int& c);
    Token readNumberToken(int first);
    void readFloats(float* out, std::size_t count);  // "<" count numbers ">"

    std::string name_;
    MemoryFile* file_ = nullptr;  // null when reading owned text
    std::string ownedText_;
    const unsigned char* cursor_ = nullptr;
    const unsigned char* end_ = nullptr;
    std::vector<Token> pushed_;
    int line_ = 1;
};

}  // namespace demo
