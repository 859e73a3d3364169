// Hostile and cut-off scripts end in a ParseError or a clean parse: never a
// crash, a hang or a read past the data (run under the sanitizer build).

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "manager/ascii_reader.h"
#include "manager/parameters.h"

namespace demo {
namespace {

const char* const kModes[] = {"add", "mul", nullptr};
const ParameterEnumValue kBlends[] = {{"ONE", 1}, {"ZERO", 0}, {nullptr, 0}};

class Anything : public CustomParameter {
public:
    void readParameter(const char*, AsciiReader& reader) override { reader.readVector3(); }
};

struct Destinations {
    bool flag = false, innerFlag = false;
    float f = 0, innerF = 0, v2[2] = {}, v3[3] = {}, v4[4] = {};
    int i = 0, mode = 0, blend = 0;
    std::string s;
    std::vector<std::string> strings;
    std::vector<int> ints;
    std::vector<float> floats;
    Anything custom;
    ParameterDesc inner[3] = {{"f", PARAM_FLOAT, &innerF, nullptr},
                              {"flag", PARAM_FLAG, &innerFlag, nullptr},
                              {nullptr, PARAM_END, nullptr, nullptr}};
    ParameterDesc table[16] = {
        {"flag", PARAM_FLAG, &flag, nullptr},       {"f", PARAM_FLOAT, &f, nullptr},
        {"i", PARAM_INT, &i, nullptr},              {"mode", PARAM_ENUM_INDEX, &mode, kModes},
        {"blend", PARAM_ENUM_VALUE, &blend, kBlends}, {"s", PARAM_STRING, &s, nullptr},
        {"text", PARAM_TEXT, nullptr, nullptr},     {"strings", PARAM_STRING_LIST, &strings, nullptr},
        {"ints", PARAM_INT_LIST, &ints, nullptr},   {"floats", PARAM_FLOAT_LIST, &floats, nullptr},
        {"v2", PARAM_VECTOR2, v2, nullptr},         {"v3", PARAM_VECTOR3, v3, nullptr},
        {"v4", PARAM_VECTOR4, v4, nullptr},
        {"custom", PARAM_CUSTOM, static_cast<CustomParameter*>(&custom), nullptr},
        {"inner", PARAM_BLOCK, inner, nullptr},     {nullptr, PARAM_END, nullptr, nullptr},
    };
};

// Reads "name { block }" pairs to the end. True for a clean parse, false for
// a ParseError; anything else escapes and fails the test.
bool parse(std::string_view text) {
    AsciiReader reader("robust.ini", text);
    Destinations d;
    try {
        while (reader.nextToken().kind != TOKEN_END) reader.readParameters(d.table);
    } catch (const ParseError& e) {
        EXPECT_GE(e.scriptLine(), 1);
        return false;
    }
    return true;
}

const char* const kValidScript = R"(// processes
tunnel { flag f 1.5 i -7 mode "mul" blend ONE s word text "a text"
         strings { a "b c" } ints { 1 2 3 } floats { .5 -1.25 }
         v2 <1 2> v3 < 1 2 3 > v4 <1 2 3 4> custom <0 0 1>
         inner { f 2 flag } }
/* a block
   comment */ sky { inner f 3 f 4 }
)";

TEST(ScriptRobustness, EveryTruncationOfAValidScript) {
    std::string script = kValidScript;
    ASSERT_TRUE(parse(script));
    int clean = 0;
    for (std::size_t n = 0; n <= script.size(); ++n) clean += parse(std::string_view(script).substr(0, n));
    EXPECT_GT(clean, 1);
}

TEST(ScriptRobustness, RandomBytes) {
    std::mt19937 random(20240611);
    std::string bytes(100000, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    parse(bytes);

    // Random text out of the script's own alphabet reaches deeper.
    const std::string alphabet = "{}<>\"/*-. \n0123456789fivmodeblendsxtrngcuomperaflagONE";
    for (int round = 0; round < 200; ++round) {
        std::string text(500, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        parse(text);
    }
    // Random cuts and splices of the valid script.
    std::string script = kValidScript;
    for (int round = 0; round < 2000; ++round) {
        std::string text = script;
        std::size_t at = random() % text.size();
        text.erase(at, random() % 8);
        text.insert(random() % (text.size() + 1), 1, alphabet[random() % alphabet.size()]);
        parse(text);
    }
}

}  // namespace
}  // namespace demo
