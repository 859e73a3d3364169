#include "manager/parameters.h"

#include <limits>
#include <string>
#include <vector>

#include "manager/ascii_reader.h"
#include "manager/text_pool.h"

namespace demo {
namespace {

bool isNameOrQuoted(const Token& token) {
    return token.kind == TOKEN_STRING || token.kind == TOKEN_QUOTED;
}

// The row for `name`: the first with that name, else the end row.
ParameterDesc& findRow(ParameterDesc* table, const std::string& name) {
    ParameterDesc* row = table;
    while (row->type != PARAM_END && name != row->name) ++row;
    return *row;
}

// Stores into the row's int the value of the entry named by the next word or
// quoted string; `entry(i)` gives entry i, a null name ending the list.
template <typename Entry>
void readEnum(AsciiReader& reader, const ParameterDesc& row, const Token& nameToken, Entry entry,
              source::Location where) {
    std::string value = reader.readStringOrQuoted();
    std::vector<const char*> names;
    for (int i = 0;; ++i) {
        const ParameterEnumValue candidate = entry(i);
        if (candidate.name == nullptr) break;
        if (value == candidate.name) {
            *static_cast<int*>(row.destination) = candidate.value;
            return;
        }
        names.push_back(candidate.name);
    }
    throw reader.error(AsciiReader::describeOneOf("values", names, nameToken), where);
}

void readText(AsciiReader& reader, ParameterDesc& row) {
    Token token = reader.nextToken();
    if (!isNameOrQuoted(token)) {
        throw reader.error("String or quoted string was expected here.", source::kTextParameterExpected);
    }
    row.destination = const_cast<char*>(internText(token.text));
}

void readStringList(AsciiReader& reader, const ParameterDesc& row) {
    auto& list = *static_cast<std::vector<std::string>*>(row.destination);
    reader.expectSymbol('{');
    for (;;) {
        Token token = reader.nextToken();
        if (token.isSymbol('}')) return;
        reader.pushBack(std::move(token));
        list.push_back(reader.readStringOrQuoted());
    }
}

template <typename T, typename Convert>
void readNumberList(AsciiReader& reader, const ParameterDesc& row, Convert convert, source::Location where) {
    auto& list = *static_cast<std::vector<T>*>(row.destination);
    reader.expectSymbol('{');
    for (;;) {
        Token token = reader.nextToken();
        if (token.isSymbol('}')) return;
        if (token.kind != TOKEN_NUMBER) throw reader.error("Number was expected here.", where);
        list.push_back(convert(token.number));
    }
}

template <std::size_t N>
void storeVector(const std::array<float, N>& v, void* destination) {
    auto* out = static_cast<float*>(destination);
    for (std::size_t i = 0; i < N; ++i) out[i] = v[i];
}

}  // namespace

int truncateToInt(double value) {
    if (value != value) return 0;
    if (value >= 2147483648.0) return std::numeric_limits<int>::max();
    if (value < -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// The tokenizer splits "s-wrap" into "s", "-", "wrap": a name that is no row
// is joined with a following "-" and word when the table has that row.
ParameterDesc& AsciiReader::findHyphenatedRow(ParameterDesc* table, const Token& name) {
    ParameterDesc& row = findRow(table, name.text);
    if (row.type != PARAM_END) return row;
    Token dash = nextToken();
    if (!dash.isSymbol('-')) {
        pushBack(std::move(dash));
        return row;
    }
    Token rest = nextToken();
    return rest.kind == TOKEN_STRING ? findRow(table, name.text + "-" + rest.text) : row;
}

void AsciiReader::readParameters(ParameterDesc* table) {
    Token token = nextToken();
    if (!token.isSymbol('{')) {
        pushBack(std::move(token));
        return;
    }
    for (;;) {
        Token nameToken = nextToken();
        if (nameToken.isSymbol('}')) return;
        if (nameToken.kind != TOKEN_STRING) {
            throw error("Parameter name was expected.", source::kParameterNameExpected);
        }
        ParameterDesc& row = findHyphenatedRow(table, nameToken);
        switch (row.type) {
        case PARAM_FLAG: *static_cast<bool*>(row.destination) = true; break;
        case PARAM_FLOAT: *static_cast<float*>(row.destination) = readNumber(); break;
        case PARAM_INT: *static_cast<int*>(row.destination) = truncateToInt(readNumber()); break;
        case PARAM_ENUM_INDEX: {
            auto words = static_cast<const char* const*>(row.values);
            readEnum(*this, row, nameToken, [words](int i) { return ParameterEnumValue{words[i], i}; },
                     source::kOneOfIndexValuesExpected);
            break;
        }
        case PARAM_ENUM_VALUE: {
            auto entries = static_cast<const ParameterEnumValue*>(row.values);
            readEnum(*this, row, nameToken, [entries](int i) { return entries[i]; },
                     source::kOneOfValuesExpected);
            break;
        }
        case PARAM_STRING: *static_cast<std::string*>(row.destination) = readStringOrQuoted(); break;
        case PARAM_TEXT: readText(*this, row); break;
        case PARAM_STRING_LIST: readStringList(*this, row); break;
        case PARAM_INT_LIST:
            readNumberList<int>(*this, row, truncateToInt, source::kIntegerListNumberExpected);
            break;
        case PARAM_FLOAT_LIST:
            readNumberList<float>(*this, row, [](float f) { return f; }, source::kFloatListNumberExpected);
            break;
        case PARAM_VECTOR2: storeVector(readVector2(), row.destination); break;
        case PARAM_VECTOR3: {
            Vector3 v = readVector3();
            storeVector(std::array<float, 3>{v.x, v.y, v.z}, row.destination);
            break;
        }
        case PARAM_VECTOR4: storeVector(readVector4(), row.destination); break;
        case PARAM_CUSTOM:
            static_cast<CustomParameter*>(row.destination)->readParameter(row.name, *this);
            break;
        case PARAM_BLOCK: readParameters(static_cast<ParameterDesc*>(row.destination)); break;
        case PARAM_END: {
            std::vector<const char*> names;
            for (ParameterDesc* r = table; r->type != PARAM_END; ++r) names.push_back(r->name);
            throw error(describeOneOf("parameters", names, nameToken), source::kOneOfParametersExpected);
        }
        default: break;  // unknown codes read nothing
        }
    }
}

}  // namespace demo
