#pragma once
// The scanner of the compiler's object text: only directive lines (those
// beginning with '#' or "//") are read, one line of tokens at a time.

#include <string>
#include <string_view>
#include <vector>

namespace demo {

enum SlTokenCode : int {
    slTokenPragma = 257,
    slTokenBind = 258,
    slTokenType = 259,
    slTokenVar = 260,
    slTokenProfile = 261,
    slTokenProgram = 262,
    slTokenNewline = 263,
    slTokenNoBinding = 264,  // "*** NO BINDING SPECIFIED ***"
    slTokenTexUnit = 265,
    slTokenConst = 266,
    slTokenCreg = 267,  // "c"
    slTokenIdentifier = 268,
    slTokenInteger = 269,
    slTokenFloat = 270,
    slTokenOther = 271,  // any other single character
    // '=', '[', ']', '(' and ')' are their own codes.
};

struct SlToken {
    int code = 0;
    std::string_view text;  // points into the scanned text
    int integer = 0;        // slTokenInteger, clamped to int
    double number = 0;      // slTokenFloat
};

class SlObjectScanner {
public:
    explicit SlObjectScanner(std::string_view text) : text_(text) {}

    // The tokens of the next directive line, ending with slTokenNewline (also
    // for a last line without a line feed); false when no directive line is left.
    bool nextLine(std::vector<SlToken>* tokens);
    // The number of lines read so far, directive or not.
    int lineNumber() const { return lineNumber_; }

private:
    std::string_view text_;
    std::size_t position_ = 0;
    int lineNumber_ = 0;
};

}  // namespace demo
