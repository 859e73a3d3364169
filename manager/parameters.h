#pragma once
// Parameter tables: each row names a script keyword, how its value is read and
// where it goes. AsciiReader::readParameters reads an optional
// "{ name value ... }" block against such a table. Tables end with a
// PARAM_END row; they are writable because PARAM_TEXT stores into its row.

namespace demo {

class AsciiReader;

enum ParameterType : int {
    PARAM_FLAG = 0,          // bool = true; no value
    PARAM_FLOAT = 1,         // float
    PARAM_INT = 2,           // int, truncated toward zero, saturated at the int range
    PARAM_ENUM_INDEX = 3,    // int = index into a null-ended const char* list (values)
    PARAM_ENUM_VALUE = 4,    // int = value of the matching ParameterEnumValue (values)
    PARAM_STRING = 5,        // std::string
    PARAM_TEXT = 6,          // the row's destination becomes an interned const char*
    PARAM_STRING_LIST = 7,   // std::vector<std::string>, "{ ... }"
    PARAM_INT_LIST = 8,      // std::vector<int>, "{ ... }"
    PARAM_FLOAT_LIST = 9,    // std::vector<float>, "{ ... }"
    PARAM_VECTOR2 = 10,      // float[2], "< x y >"
    PARAM_VECTOR3 = 11,      // float[3] (a Vector3)
    PARAM_VECTOR4 = 12,      // float[4]
    PARAM_CUSTOM = 13,       // CustomParameter* reads its own value
    PARAM_BLOCK = 14,        // ParameterDesc* of a nested block
    PARAM_END = 15,          // ends the table
};

struct ParameterDesc {
    const char* name;
    int type;
    void* destination;
    const void* values;  // PARAM_ENUM_INDEX / PARAM_ENUM_VALUE only
};

// One entry of a PARAM_ENUM_VALUE list; the list ends with a null name.
struct ParameterEnumValue {
    const char* name;
    int value;
};

// The destination of a PARAM_CUSTOM row (pass it as a CustomParameter*).
class CustomParameter {
public:
    // Reads the value of the parameter `name`, which has just been read.
    virtual void readParameter(const char* name, AsciiReader& reader) = 0;

protected:
    ~CustomParameter() = default;
};

// The text of a PARAM_TEXT row after reading (null if never set).
inline const char* parameterText(const ParameterDesc& row) {
    return static_cast<const char*>(row.destination);
}

// A number -> int the way PARAM_INT and PARAM_INT_LIST store them: NaN gives
// 0, values beyond the int range saturate, the rest truncate toward zero.
int truncateToInt(double value);

}  // namespace demo
