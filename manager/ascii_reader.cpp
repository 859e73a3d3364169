#include "manager/ascii_reader.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <sstream>

#include "manager/file_system.h"

namespace demo {
namespace {

// Bytes are read as 0-255, so the end of the data needs a value of its own:
// a 0xFF byte in a script is data, not the end.
constexpr int kEndOfData = -1;

enum CharClass : std::uint8_t {
    kBlank = 1,
    kWordStart = 2,   // letters and '_'
    kWordPart = 4,    // letters, digits and '_'
    kNumberPart = 8,  // digits and '.'
    kDigit = 16,
};

// Plain ASCII classes; bytes above 0x7F are none of these and read as symbols.
constexpr std::array<std::uint8_t, 256> makeClasses() {
    std::array<std::uint8_t, 256> classes{};
    for (int c : {' ', '\t', '\n', '\v', '\f', '\r'}) classes[c] |= kBlank;
    for (int c = 'a'; c <= 'z'; ++c) classes[c] |= kWordStart | kWordPart;
    for (int c = 'A'; c <= 'Z'; ++c) classes[c] |= kWordStart | kWordPart;
    classes['_'] |= kWordStart | kWordPart;
    for (int c = '0'; c <= '9'; ++c) classes[c] |= kWordPart | kNumberPart | kDigit;
    classes['.'] |= kNumberPart;
    return classes;
}
constexpr std::array<std::uint8_t, 256> kClasses = makeClasses();

bool is(int c, CharClass cls) { return c != kEndOfData && (kClasses[c] & cls) != 0; }

// Numbers have no exponent and no '+': the longest valid prefix of the run of
// digits and points counts ("1.2.3" is 1.2; "." and "-." are 0). Parsing does
// not depend on the locale.
float parseNumber(std::string_view text) {
    const char* first = text.data();
    const char* last = first + text.size();
    float value = 0.0f;
    auto [end, err] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (err == std::errc::invalid_argument) return 0.0f;
    if (err == std::errc::result_out_of_range) {
        // Without an exponent only a huge integer part overflows; anything
        // else is too small to show.
        bool negative = text.front() == '-';
        bool large = false;
        for (const char* p = first + (negative ? 1 : 0); p < last && *p != '.'; ++p) {
            if (*p != '0') large = true;
        }
        float magnitude = large ? std::numeric_limits<float>::infinity() : 0.0f;
        return negative ? -magnitude : magnitude;
    }
    return value;
}

}  // namespace

AsciiReader::AsciiReader(const std::string& name) : name_(name) {
    file_ = FileSystem::instance()->get(name);
    cursor_ = file_->data;
    end_ = file_->data + file_->size;
}

AsciiReader::AsciiReader(std::string name, std::string_view text)
    : name_(std::move(name)), ownedText_(text) {
    cursor_ = reinterpret_cast<const unsigned char*>(ownedText_.data());
    end_ = cursor_ + ownedText_.size();
}

AsciiReader::~AsciiReader() {
    // The cache keeps the entry; a later collectUnused removes it.
    if (file_ != nullptr) --file_->referenceCount;
}

int AsciiReader::readByte() { return cursor_ == end_ ? kEndOfData : *cursor_++; }

void AsciiReader::unreadByte(int c) {
    if (c != kEndOfData) --cursor_;
}

void AsciiReader::pushBack(Token token) { pushed_.push_back(std::move(token)); }

// Skips blanks and comments; c ends on the first byte of the next token.
void AsciiReader::skipBlank(int& c) {
    for (;;) {
        while (is(c, kBlank)) {
            if (c == '\n') ++line_;
            c = readByte();
        }
        if (c != '/') return;
        int d = readByte();
        if (d == '/') {
            do {
                d = readByte();
            } while (d != '\n' && d != kEndOfData);
            ++line_;  // also when the data ends first
        } else if (d == '*') {
            // Ends at the first "*/" after the opening "/*".
            int previous = 0;
            for (;;) {
                d = readByte();
                if (d == kEndOfData || (previous == '*' && d == '/')) break;
                if (d == '\n') ++line_;
                previous = d;
            }
        } else {
            unreadByte(d);
            return;  // c is the symbol '/'
        }
        c = readByte();
    }
}

Token AsciiReader::readNumberToken(int first) {
    const unsigned char* start = cursor_ - 1;
    int c = first;
    if (c == '-') {
        int next = readByte();
        unreadByte(next);
        if (!is(next, kNumberPart)) {
            Token token;
            token.kind = TOKEN_SYMBOL;
            token.symbol = '-';
            return token;
        }
    }
    do {
        c = readByte();
    } while (is(c, kNumberPart));
    unreadByte(c);
    Token token;
    token.kind = TOKEN_NUMBER;
    token.number = parseNumber(
        std::string_view(reinterpret_cast<const char*>(start), static_cast<std::size_t>(cursor_ - start)));
    return token;
}

Token AsciiReader::nextToken() {
    if (!pushed_.empty()) {
        Token token = std::move(pushed_.back());
        pushed_.pop_back();
        return token;
    }
    int c = readByte();
    skipBlank(c);
    Token token;
    if (c == kEndOfData) return token;
    if (is(c, kWordStart)) {
        const unsigned char* start = cursor_ - 1;
        while (cursor_ != end_ && is(*cursor_, kWordPart)) ++cursor_;
        token.kind = TOKEN_STRING;
        token.text.assign(reinterpret_cast<const char*>(start), static_cast<std::size_t>(cursor_ - start));
        return token;
    }
    if (is(c, kNumberPart) || c == '-') return readNumberToken(c);
    if (c == '"') {
        // No escapes; an unclosed string ends with the data.
        const unsigned char* start = cursor_;
        while (cursor_ != end_ && *cursor_ != '"') {
            if (*cursor_ == '\n') ++line_;
            ++cursor_;
        }
        token.kind = TOKEN_QUOTED;
        token.text.assign(reinterpret_cast<const char*>(start), static_cast<std::size_t>(cursor_ - start));
        if (cursor_ != end_) ++cursor_;
        return token;
    }
    token.kind = TOKEN_SYMBOL;
    token.symbol = static_cast<char>(c);
    return token;
}

void AsciiReader::describeToken(const Token& token, std::ostream& out) {
    switch (token.kind) {
    case TOKEN_END: out << "EOF"; break;
    case TOKEN_STRING: out << "STRING:" << token.text; break;
    case TOKEN_QUOTED: out << "STRING:\"" << token.text << '"'; break;
    case TOKEN_NUMBER: out << "NUMBER:" << token.number; break;
    case TOKEN_SYMBOL: out << "SYMBOL:" << token.symbol; break;
    default: out << "UNKNOWN_TOKEN"; break;
    }
}

std::string AsciiReader::describeToken(const Token& token) {
    std::ostringstream out;
    describeToken(token, out);
    return out.str();
}

std::string AsciiReader::describeOneOf(std::string_view what, const std::vector<const char*>& names,
                                       const Token& token) {
    std::ostringstream text;
    text << "One of the " << what << " ";
    for (const char* name : names) text << "'" << name << "' ";
    text << "was expected here.";
    describeToken(token, text);
    return text.str();
}

ParseError AsciiReader::error(const std::string& text, source::Location where) const {
    return ParseError(text, name_, line_, where.unit, where.line);
}

float AsciiReader::readNumber() {
    Token token = nextToken();
    if (token.kind != TOKEN_NUMBER) throw error("Number was expected here.", source::kNumberExpected);
    return token.number;
}

std::string AsciiReader::readString() {
    Token token = nextToken();
    if (token.kind != TOKEN_STRING) throw error("String was expected here.", source::kStringExpected);
    return std::move(token.text);
}

std::string AsciiReader::readQuotedString() {
    Token token = nextToken();
    if (token.kind != TOKEN_QUOTED) {
        throw error("Quoted string was expected here.", source::kQuotedStringExpected);
    }
    return std::move(token.text);
}

std::string AsciiReader::readStringOrQuoted() {
    Token token = nextToken();
    if (token.kind != TOKEN_STRING && token.kind != TOKEN_QUOTED) {
        throw error("String or quoted string was expected here.", source::kStringOrQuotedExpected);
    }
    return std::move(token.text);
}

void AsciiReader::expectSymbol(char c) {
    Token token = nextToken();
    if (token.isSymbol(c)) return;
    std::ostringstream text;
    text << "Symbol " << c << " was expected here. (got ";
    describeToken(token, text);
    text << ")";
    throw error(text.str(), source::kSymbolExpected);
}

void AsciiReader::readFloats(float* out, std::size_t count) {
    expectSymbol('<');
    for (std::size_t i = 0; i < count; ++i) out[i] = readNumber();
    expectSymbol('>');
}

std::array<float, 2> AsciiReader::readVector2() {
    std::array<float, 2> v{};
    readFloats(v.data(), v.size());
    return v;
}

Vector3 AsciiReader::readVector3() {
    std::array<float, 3> v{};
    readFloats(v.data(), v.size());
    return Vector3(v[0], v[1], v[2]);
}

std::array<float, 4> AsciiReader::readVector4() {
    std::array<float, 4> v{};
    readFloats(v.data(), v.size());
    return v;
}

int AsciiReader::readOneOf(const char* const* words) {
    Token token = nextToken();
    if (token.kind == TOKEN_STRING || token.kind == TOKEN_SYMBOL) {
        std::string_view text = token.kind == TOKEN_STRING ? std::string_view(token.text)
                                                           : std::string_view(&token.symbol, 1);
        for (int i = 0; words[i] != nullptr; ++i) {
            if (text == words[i]) return i;
        }
    }
    std::vector<const char*> names;
    for (int i = 0; words[i] != nullptr; ++i) names.push_back(words[i]);
    throw error(describeOneOf("strings", names, token), source::kOneOfStringsExpected);
}

}  // namespace demo
