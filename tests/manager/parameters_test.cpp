#include "manager/parameters.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "manager/ascii_reader.h"
#include "manager/text_pool.h"

namespace demo {
namespace {

const char* const kWraps[] = {"CLAMP", "REPEAT", nullptr};
const ParameterEnumValue kBlends[] = {{"ONE", 1}, {"ZERO", 0}, {"SRC_ALPHA", 0x302}, {nullptr, 0}};

// A destination of every kind, with its table.
struct Fields {
    bool flag = false;
    float speed = -1;
    int count = -1;
    int wrap = -1;
    int blend = -1;
    std::string label = "default";
    std::vector<std::string> names;
    std::vector<int> ints;
    std::vector<float> floats;
    float v2[2] = {}, v3[3] = {}, v4[4] = {};
    float innerSize = 0;
    bool innerFlag = false;

    ParameterDesc inner[3] = {{"size", PARAM_FLOAT, &innerSize, nullptr},
                              {"on", PARAM_FLAG, &innerFlag, nullptr},
                              {nullptr, PARAM_END, nullptr, nullptr}};
    ParameterDesc table[16] = {
        {"flag", PARAM_FLAG, &flag, nullptr},         {"speed", PARAM_FLOAT, &speed, nullptr},
        {"count", PARAM_INT, &count, nullptr},        {"wrap", PARAM_ENUM_INDEX, &wrap, kWraps},
        {"blend", PARAM_ENUM_VALUE, &blend, kBlends}, {"label", PARAM_STRING, &label, nullptr},
        {"text", PARAM_TEXT, nullptr, nullptr},       {"names", PARAM_STRING_LIST, &names, nullptr},
        {"ints", PARAM_INT_LIST, &ints, nullptr},     {"floats", PARAM_FLOAT_LIST, &floats, nullptr},
        {"v2", PARAM_VECTOR2, v2, nullptr},           {"v3", PARAM_VECTOR3, v3, nullptr},
        {"v4", PARAM_VECTOR4, v4, nullptr},           {"inner", PARAM_BLOCK, inner, nullptr},
        {"ignored", 99, nullptr, nullptr},            {nullptr, PARAM_END, nullptr, nullptr},
    };
};

// Reads `text` into `f`; returns the error message, or "" on success.
std::string read(Fields& f, std::string_view text, std::string* rest = nullptr) {
    AsciiReader reader("params.ini", text);
    try {
        reader.readParameters(f.table);
    } catch (const ParseError& e) {
        return e.sourceFile() + " L" + std::to_string(e.sourceLine()) + ": " + e.message();
    }
    if (rest != nullptr) *rest = AsciiReader::describeToken(reader.nextToken());
    return "";
}

TEST(Parameters, EveryTypeCodeFillsItsDestination) {
    Fields f;
    ASSERT_EQ(read(f,
                   "{ flag speed 1.5 count -2.9 wrap REPEAT blend \"SRC_ALPHA\" label \"a b\" text t1\n"
                   "  names { x \"y z\" } ints { 1 2.9 -2.9 } floats { 0.5 } v2 <1 2> v3 <1 2 3>\n"
                   "  v4 <1 2 3 4> inner { size 3 on } ignored }"),
              "");
    EXPECT_TRUE(f.flag);
    EXPECT_EQ(f.speed, 1.5f);
    EXPECT_EQ(f.count, -2);
    EXPECT_EQ(f.wrap, 1);
    EXPECT_EQ(f.blend, 0x302);
    EXPECT_EQ(f.label, "a b");
    EXPECT_STREQ(parameterText(f.table[6]), "t1");
    EXPECT_EQ(f.names, (std::vector<std::string>{"x", "y z"}));
    EXPECT_EQ(f.ints, (std::vector<int>{1, 2, -2}));
    EXPECT_EQ(f.floats, (std::vector<float>{0.5f}));
    EXPECT_EQ(f.v2[1], 2.0f);
    EXPECT_EQ(f.v3[2], 3.0f);
    EXPECT_EQ(f.v4[3], 4.0f);
    EXPECT_EQ(f.innerSize, 3.0f);
    EXPECT_TRUE(f.innerFlag);
}

TEST(Parameters, OptionalEmptyRepeatedAndAppending) {
    Fields f;
    std::string rest;
    EXPECT_EQ(read(f, "next", &rest), "");
    EXPECT_EQ(rest, "STRING:next");  // an absent block leaves the token
    EXPECT_EQ(read(f, "{} x", &rest), "");
    EXPECT_EQ(rest, "STRING:x");
    EXPECT_EQ(read(f, "{ flag }"), "");
    EXPECT_TRUE(f.flag);
    EXPECT_EQ(read(f, "{ speed 1 speed 2 ints { 1 } ints { } ints { 2 } }"), "");
    EXPECT_EQ(f.speed, 2.0f);
    EXPECT_EQ(f.ints, (std::vector<int>{1, 2}));
    f.flag = false;
    EXPECT_EQ(read(f, "{ inner flag }"), "");  // a nested block's brace is optional
    EXPECT_TRUE(f.flag);
    EXPECT_FALSE(f.innerFlag);
}

TEST(Parameters, IntegersSaturateAtTheIntRange) {
    Fields f;
    EXPECT_EQ(read(f, "{ count 3000000000 ints { -3000000000 2147483520 } }"), "");
    EXPECT_EQ(f.count, std::numeric_limits<int>::max());
    EXPECT_EQ(f.ints, (std::vector<int>{std::numeric_limits<int>::min(), 2147483520}));
    EXPECT_EQ(truncateToInt(std::numeric_limits<float>::infinity()), std::numeric_limits<int>::max());
    EXPECT_EQ(truncateToInt(-std::numeric_limits<float>::infinity()), std::numeric_limits<int>::min());
}

TEST(Parameters, ErrorMessagesAndTheFieldsAlreadySet) {
    Fields f;
    EXPECT_EQ(read(f, "{ speed 4 \n 5 }"),
              "manager/ascii_reader L250: Parse error (params.ini 2 ): Parameter name was expected.");
    EXPECT_EQ(f.speed, 4.0f);  // set before the error
    EXPECT_EQ(read(f, "{ speed"),
              "manager/ascii_reader L142: Parse error (params.ini 1 ): Number was expected here.");
    EXPECT_EQ(read(f, "{ flag"),
              "manager/ascii_reader L250: Parse error (params.ini 1 ): Parameter name was expected.");
    EXPECT_EQ(read(f, "{ wrap MIRROR }"),
              "manager/ascii_reader L287: Parse error (params.ini 1 ): One of the values 'CLAMP' 'REPEAT' was "
              "expected here.STRING:wrap");
    EXPECT_EQ(read(f, "{ blend TWO }"),
              "manager/ascii_reader L304: Parse error (params.ini 1 ): One of the values 'ONE' 'ZERO' "
              "'SRC_ALPHA' was expected here.STRING:blend");
    EXPECT_EQ(read(f, "{ text 5 }"),
              "manager/ascii_reader L314: Parse error (params.ini 1 ): String or quoted string was expected "
              "here.");
    EXPECT_EQ(read(f, "{ label { }"),
              "manager/ascii_reader L163: Parse error (params.ini 1 ): String or quoted string was expected "
              "here.");
    EXPECT_EQ(read(f, "{ ints { 1 x } }"),
              "manager/ascii_reader L340: Parse error (params.ini 1 ): Number was expected here.");
    EXPECT_EQ(read(f, "{ floats { 1 , } }"),
              "manager/ascii_reader L353: Parse error (params.ini 1 ): Number was expected here.");
    EXPECT_EQ(read(f, "{ names { a"),
              "manager/ascii_reader L163: Parse error (params.ini 1 ): String or quoted string was expected "
              "here.");
    EXPECT_EQ(read(f, "{ ints 1 }"),
              "manager/ascii_reader L210: Parse error (params.ini 1 ): Symbol { was expected here. (got "
              "NUMBER:1)");
    EXPECT_EQ(read(f, "{ inner { size 1 bogus 2 } }"),
              "manager/ascii_reader L370: Parse error (params.ini 1 ): One of the parameters 'size' 'on' was "
              "expected here.STRING:bogus");

    ParameterDesc empty[] = {{nullptr, PARAM_END, nullptr, nullptr}};
    AsciiReader reader("e.ini", "{ anything }");
    try {
        reader.readParameters(empty);
        ADD_FAILURE();
    } catch (const ParseError& e) {
        EXPECT_EQ(e.text(), "One of the parameters was expected here.STRING:anything");
    }
}

TEST(Parameters, TextParametersAreInternedForTheProgram) {
    Fields a, b;
    ASSERT_EQ(read(a, "{ text \"shared text\" }"), "");
    std::size_t count = internedTextCount();
    ASSERT_EQ(read(b, "{ text \"shared text\" }"), "");
    EXPECT_EQ(parameterText(a.table[6]), parameterText(b.table[6]));
    EXPECT_EQ(internedTextCount(), count);
    EXPECT_STREQ(internText(std::string(3000, 'x')), std::string(3000, 'x').c_str());
}

// Reads "<x y>" itself, remembering the parameter name it was called for.
class PointParameter : public CustomParameter {
public:
    void readParameter(const char* name, AsciiReader& reader) override {
        calledFor = name;
        point = reader.readVector2();
    }
    std::string calledFor;
    std::array<float, 2> point{};
};

TEST(Parameters, CustomDestinationsReadTheirOwnValue) {
    PointParameter point;
    float after = 0;
    ParameterDesc table[] = {
        {"at", PARAM_CUSTOM, static_cast<CustomParameter*>(&point), nullptr},
        {"after", PARAM_FLOAT, &after, nullptr},
        {nullptr, PARAM_END, nullptr, nullptr},
    };
    AsciiReader reader("c.ini", "{ at <3 4> after 5 }");
    reader.readParameters(table);
    EXPECT_EQ(point.calledFor, "at");
    EXPECT_EQ(point.point, (std::array<float, 2>{3, 4}));
    EXPECT_EQ(after, 5.0f);
}

}  // namespace
}  // namespace demo
