#pragma once
// Splits a source into tokens: names, numbers and punctuation, skipping
// blanks and both kinds of comments.

#include <string>
#include <string_view>
#include <vector>

namespace demo::slc {

enum class TokenKind { Name, Number, Punct, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;  // Name and Punct ("+=", "(", ...)
    double number = 0;
    bool integral = false;  // a Number written without '.', exponent or suffix
    int line = 1;
};

// Throws CompileError on a character that starts no token or an unclosed
// comment.
std::vector<Token> tokenize(std::string_view source);

}  // namespace demo::slc
