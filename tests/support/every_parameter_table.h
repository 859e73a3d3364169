#pragma once
// A parameter table that holds every type code, blocks nested two deep, a
// custom destination and a code the reader ignores: the widest grammar a
// parameter block has, shared by the parameter tests and the fuzzer.

#include <array>
#include <string>
#include <vector>

#include "manager/ascii_reader.h"
#include "manager/parameters.h"

namespace demo {

inline const char* const kEveryModes[] = {"add", "mul", nullptr};
inline const ParameterEnumValue kEveryBlends[] = {
    {"ONE", 1}, {"ZERO", 0}, {"SRC_ALPHA", 0x302}, {nullptr, 0}};

// Reads "< x y >" itself and remembers the parameter it was called for.
class PointParameter : public CustomParameter {
public:
    void readParameter(const char* name, AsciiReader& reader) override {
        calledFor = name;
        point = reader.readVector2();
    }
    std::string calledFor;
    std::array<float, 2> point{};
};

struct EveryParameter {
    EveryParameter() = default;
    EveryParameter(const EveryParameter&) = delete;  // the tables point into the object
    EveryParameter& operator=(const EveryParameter&) = delete;

    const char* text() const { return parameterText(table[6]); }

    bool flag = false, innerFlag = false;
    float f = -1, innerF = 0, v2[2] = {}, v3[3] = {}, v4[4] = {};
    int i = -1, deepX = 0, mode = -1, blend = -1;
    std::string s = "default";
    std::vector<std::string> strings;
    std::vector<int> ints;
    std::vector<float> floats;
    PointParameter point;
    ParameterDesc deepest[2] = {{"x", PARAM_INT, &deepX, nullptr},
                                {nullptr, PARAM_END, nullptr, nullptr}};
    ParameterDesc inner[4] = {
        {"f", PARAM_FLOAT, &innerF, nullptr}, {"flag", PARAM_FLAG, &innerFlag, nullptr},
        {"deeper", PARAM_BLOCK, deepest, nullptr}, {nullptr, PARAM_END, nullptr, nullptr}};
    ParameterDesc table[17] = {
        {"flag", PARAM_FLAG, &flag, nullptr}, {"f", PARAM_FLOAT, &f, nullptr},
        {"i", PARAM_INT, &i, nullptr}, {"mode", PARAM_ENUM_INDEX, &mode, kEveryModes},
        {"blend", PARAM_ENUM_VALUE, &blend, kEveryBlends}, {"s", PARAM_STRING, &s, nullptr},
        {"text", PARAM_TEXT, nullptr, nullptr}, {"strings", PARAM_STRING_LIST, &strings, nullptr},
        {"ints", PARAM_INT_LIST, &ints, nullptr}, {"floats", PARAM_FLOAT_LIST, &floats, nullptr},
        {"v2", PARAM_VECTOR2, v2, nullptr}, {"v3", PARAM_VECTOR3, v3, nullptr},
        {"v4", PARAM_VECTOR4, v4, nullptr},
        {"point", PARAM_CUSTOM, static_cast<CustomParameter*>(&point), nullptr},
        {"inner", PARAM_BLOCK, inner, nullptr}, {"later", 42, nullptr, nullptr},
        {nullptr, PARAM_END, nullptr, nullptr}};
};

// Reads "name { block }" pairs up to the end of the data.
inline void readNamedBlocks(AsciiReader& reader, EveryParameter& destinations) {
    while (reader.nextToken().kind != TOKEN_END) reader.readParameters(destinations.table);
}

}  // namespace demo
