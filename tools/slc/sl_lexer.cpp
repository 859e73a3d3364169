#include "tools/slc/sl_lexer.h"

#include <cctype>
#include <cstdlib>

#include "tools/slc/compile_error.h"

namespace demo::slc {

namespace {

bool isNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

std::vector<Token> tokenize(std::string_view s) {
    std::vector<Token> tokens;
    int line = 1;
    std::size_t i = 0;
    while (i < s.size()) {
        char c = s[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (s.substr(i, 2) == "//") {
            while (i < s.size() && s[i] != '\n') ++i;
        } else if (s.substr(i, 2) == "/*") {
            int startLine = line;
            std::size_t end = s.find("*/", i + 2);
            if (end == std::string_view::npos) throw CompileError{startLine, "unterminated comment"};
            for (std::size_t k = i; k < end; ++k) line += s[k] == '\n';
            i = end + 2;
        } else if (isNameStart(c)) {
            std::size_t start = i;
            while (i < s.size() && isNameChar(s[i])) ++i;
            tokens.push_back({TokenKind::Name, std::string(s.substr(start, i - start)), 0, false, line});
        } else if (isDigit(c) || (c == '.' && i + 1 < s.size() && isDigit(s[i + 1]))) {
            std::size_t start = i;
            bool integral = true;
            while (i < s.size() && isDigit(s[i])) ++i;
            if (i < s.size() && s[i] == '.') {
                integral = false;
                ++i;
                while (i < s.size() && isDigit(s[i])) ++i;
            }
            if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
                std::size_t e = i + 1;
                if (e < s.size() && (s[e] == '+' || s[e] == '-')) ++e;
                if (e < s.size() && isDigit(s[e])) {
                    integral = false;
                    i = e;
                    while (i < s.size() && isDigit(s[i])) ++i;
                }
            }
            std::string text(s.substr(start, i - start));
            if (i < s.size() && (s[i] == 'f' || s[i] == 'F' || s[i] == 'h' || s[i] == 'H')) {
                integral = false;
                ++i;
            }
            if (i < s.size() && isNameChar(s[i])) throw CompileError{line, "malformed number '" + text + "'"};
            tokens.push_back({TokenKind::Number, text, std::strtod(text.c_str(), nullptr), integral, line});
        } else {
            static constexpr std::string_view kPairs[] = {"+=", "-=", "*=", "/="};
            std::string text(1, c);
            for (std::string_view pair : kPairs) {
                if (s.substr(i, 2) == pair) text = pair;
            }
            if (text.size() == 1 && std::string_view("(){}[],;:.=+-*/").find(c) == std::string_view::npos) {
                if (c == '#') throw CompileError{line, "preprocessor directives are not supported"};
                throw CompileError{line, "unexpected character '" + text + "'"};
            }
            i += text.size();
            tokens.push_back({TokenKind::Punct, text, 0, false, line});
        }
    }
    tokens.push_back({TokenKind::End, "", 0, false, line});
    return tokens;
}

}  // namespace demo::slc
