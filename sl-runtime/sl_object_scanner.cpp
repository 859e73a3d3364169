#include "sl-runtime/sl_object_scanner.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace demo {
namespace {

struct Keyword {
    std::string_view text;
    int code;
};

// Tried in this order; "const" before "c".
constexpr Keyword kKeywords[] = {
    {"pragma", slTokenPragma},   {"bind", slTokenBind},       {"type", slTokenType},
    {"var", slTokenVar},         {"profile", slTokenProfile}, {"program", slTokenProgram},
    {"texunit", slTokenTexUnit}, {"const", slTokenConst},     {"c", slTokenCreg},
    {"*** NO BINDING SPECIFIED ***", slTokenNoBinding},
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isWordChar(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '.';
}

// Length of a FLOAT at the start of s, or 0: digits and at most one '.', an
// optional exponent, and a '.' somewhere.
std::size_t floatLength(std::string_view s) {
    if (!isDigit(s[0]) && s[0] != '-' && s[0] != '.') return 0;
    bool dot = s[0] == '.';
    std::size_t n = 1;
    for (; n < s.size() && (isDigit(s[n]) || (s[n] == '.' && !dot)); ++n) dot |= s[n] == '.';
    if (!dot) return 0;
    if (n < s.size() && (s[n] == 'e' || s[n] == 'E')) {
        std::size_t m = n + 1;
        if (m < s.size() && (s[m] == '+' || s[m] == '-')) ++m;
        while (m < s.size() && isDigit(s[m])) ++m;
        if (m > n + 1) n = m;
    }
    return n;
}

std::size_t integerLength(std::string_view s) {
    if (!isDigit(s[0]) && s[0] != '-') return 0;
    std::size_t n = 1;
    while (n < s.size() && isDigit(s[n])) ++n;
    return n;
}

int toInteger(std::string_view text) {
    std::string copy(text);
    errno = 0;
    long long value = std::strtoll(copy.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

double toDouble(std::string_view text) { return std::strtod(std::string(text).c_str(), nullptr); }

SlToken scanToken(std::string_view s) {
    SlToken token;
    char c = s[0];
    if (c == '\n' || c == '=' || c == '[' || c == ']' || c == '(' || c == ')') {
        token.code = c == '\n' ? int(slTokenNewline) : int(c);
        token.text = s.substr(0, 1);
        return token;
    }
    for (const Keyword& keyword : kKeywords) {
        std::size_t n = keyword.text.size();
        if (s.substr(0, n) == keyword.text && (s.size() == n || !isWordChar(s[n]))) {
            token.code = keyword.code;
            token.text = s.substr(0, n);
            return token;
        }
    }
    if (std::size_t n = floatLength(s); n > 0) {
        token.code = slTokenFloat;
        token.text = s.substr(0, n);
        token.number = toDouble(token.text);
    } else if (std::size_t n = integerLength(s); n > 0) {
        token.code = slTokenInteger;
        token.text = s.substr(0, n);
        token.integer = toInteger(token.text);
    } else if (isWordChar(c)) {
        std::size_t n = 1;
        while (n < s.size() && isWordChar(s[n])) ++n;
        token.code = slTokenIdentifier;
        token.text = s.substr(0, n);
    } else {
        token.code = slTokenOther;
        token.text = s.substr(0, 1);
    }
    return token;
}

}  // namespace

bool SlObjectScanner::nextLine(std::vector<SlToken>* tokens) {
    tokens->clear();
    while (position_ < text_.size()) {
        std::size_t end = text_.find('\n', position_);
        end = end == std::string_view::npos ? text_.size() : end + 1;
        std::string_view line = text_.substr(position_, end - position_);
        position_ = end;
        ++lineNumber_;
        std::size_t start = line.substr(0, 1) == "#" ? 1 : line.substr(0, 2) == "//" ? 2 : 0;
        if (start == 0) continue;
        line.remove_prefix(start);
        while (!line.empty()) {
            if (line[0] == ' ' || line[0] == '\t' || line[0] == '\r') {
                line.remove_prefix(1);
                continue;
            }
            tokens->push_back(scanToken(line));
            line.remove_prefix(tokens->back().text.size());
        }
        if (tokens->empty() || tokens->back().code != slTokenNewline) {
            SlToken newline;
            newline.code = slTokenNewline;
            tokens->push_back(newline);
        }
        return true;
    }
    return false;
}

}  // namespace demo
