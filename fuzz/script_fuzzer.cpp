// libFuzzer over the script reader: raw tokens, then the same bytes read as
// "name { block }" pairs against a table holding every parameter type code,
// a nested block and an unknown code included. Only ParseError may escape.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "manager/ascii_reader.h"
#include "manager/parameters.h"

namespace {

using namespace demo;

const char* const kModes[] = {"add", "mul", nullptr};
const ParameterEnumValue kBlends[] = {{"ONE", 1}, {"ZERO", 0}, {nullptr, 0}};

class Point : public CustomParameter {
public:
    void readParameter(const char*, AsciiReader& reader) override { reader.readVector2(); }
};

struct Destinations {
    bool flag = false, innerFlag = false;
    float f = 0, innerF = 0, v2[2] = {}, v3[3] = {}, v4[4] = {};
    int i = 0, mode = 0, blend = 0;
    std::string s;
    std::vector<std::string> strings;
    std::vector<int> ints;
    std::vector<float> floats;
    Point point;
    ParameterDesc deepest[2] = {
        {"x", PARAM_INT, &i, nullptr},
        {nullptr, PARAM_END, nullptr, nullptr},
    };
    ParameterDesc inner[4] = {
        {"f", PARAM_FLOAT, &innerF, nullptr},
        {"flag", PARAM_FLAG, &innerFlag, nullptr},
        {"deeper", PARAM_BLOCK, deepest, nullptr},
        {nullptr, PARAM_END, nullptr, nullptr},
    };
    ParameterDesc table[17] = {
        {"flag", PARAM_FLAG, &flag, nullptr},
        {"f", PARAM_FLOAT, &f, nullptr},
        {"i", PARAM_INT, &i, nullptr},
        {"mode", PARAM_ENUM_INDEX, &mode, kModes},
        {"blend", PARAM_ENUM_VALUE, &blend, kBlends},
        {"s", PARAM_STRING, &s, nullptr},
        {"text", PARAM_TEXT, nullptr, nullptr},
        {"strings", PARAM_STRING_LIST, &strings, nullptr},
        {"ints", PARAM_INT_LIST, &ints, nullptr},
        {"floats", PARAM_FLOAT_LIST, &floats, nullptr},
        {"v2", PARAM_VECTOR2, v2, nullptr},
        {"v3", PARAM_VECTOR3, v3, nullptr},
        {"v4", PARAM_VECTOR4, v4, nullptr},
        {"point", PARAM_CUSTOM, static_cast<CustomParameter*>(&point), nullptr},
        {"inner", PARAM_BLOCK, inner, nullptr},
        {"later", 42, nullptr, nullptr},
        {nullptr, PARAM_END, nullptr, nullptr},
    };
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    {
        AsciiReader reader("fuzz.ini", text);
        // Every token consumes at least one byte, so this ends.
        for (std::size_t n = 0; n <= size + 1; ++n) {
            Token token = reader.nextToken();
            AsciiReader::describeToken(token);
            if (token.kind == TOKEN_END) break;
            if (n == size + 1) __builtin_trap();
        }
        if (reader.nextToken().kind != TOKEN_END) __builtin_trap();
    }
    {
        AsciiReader reader("fuzz.ini", text);
        Destinations d;
        try {
            while (reader.nextToken().kind != TOKEN_END) reader.readParameters(d.table);
        } catch (const ParseError&) {
        }
    }
    return 0;
}
