#include "sl-runtime/sl_object_parser.h"

#include <vector>

#include "sl-runtime/sl_object_scanner.h"

namespace demo {
namespace {

// The process-wide parser target and scanner input.
struct ParseState {
    SlContextData* context = nullptr;
    SlProgram* program = nullptr;
    std::string input;
    SlObjectScanner scanner{std::string_view()};
    std::vector<SlToken> line;
    std::size_t next = 0;
};

ParseState& parseState() {
    static ParseState* state = new ParseState;
    return *state;
}

// One directive line's tokens, read left to right. A statement applies only
// when the whole line matches it.
class LineParser {
public:
    LineParser(SlProgram* program, const std::vector<SlToken>& tokens) : program_(program), tokens_(tokens) {}

    // True when the line is a statement; *refusal names a refused value.
    bool parse(std::string* refusal);

private:
    const SlToken& peek() const { return tokens_[position_]; }
    bool accept(int code) {
        if (peek().code != code) return false;
        ++position_;
        return true;
    }
    bool atEnd() const { return peek().code == slTokenNewline; }
    bool integer(int* value) {
        *value = peek().integer;
        return accept(slTokenInteger);
    }
    // "c 7" or "c[7]".
    bool constantRegister(int* index) {
        if (!accept(slTokenCreg)) return false;
        if (!accept('[')) return integer(index);
        return integer(index) && accept(']');
    }
    // Type words and the name after them: two or more identifiers.
    bool typeAndName(std::string* type, std::string_view* name);

    bool bindLine(std::string* refusal);
    bool typeLine(std::string* refusal);
    bool varLine(std::string* refusal);
    bool constLine(std::string* refusal);
    bool otherLine();
    void setType(SlParameter* parameter, const std::string& type, int arraySize) {
        sliSetParameterType(parameter, type, arraySize);  // an unknown type stays none
    }

    SlProgram* program_;
    const std::vector<SlToken>& tokens_;
    std::size_t position_ = 0;
};

bool LineParser::parse(std::string* refusal) {
    switch (peek().code) {
        case slTokenPragma: return bindLine(refusal);
        case slTokenType: return typeLine(refusal);
        case slTokenVar: return varLine(refusal);
        case slTokenConst: return constLine(refusal);
        case slTokenProfile:
        case slTokenProgram: {
            bool profile = peek().code == slTokenProfile;
            ++position_;
            std::string_view name = peek().text;
            if (!accept(slTokenIdentifier) || !atEnd()) return false;
            if (profile) sliSetProgramProfile(program_, name);
            else sliSetProgramName(program_, name);
            return true;
        }
        default: return otherLine();
    }
}

bool LineParser::typeAndName(std::string* type, std::string_view* name) {
    std::size_t first = position_;
    while (peek().code == slTokenIdentifier) ++position_;
    if (position_ - first < 2) return false;
    std::vector<std::string> words;
    for (std::size_t i = first; i + 1 < position_; ++i) words.emplace_back(tokens_[i].text);
    *type = sliJoinStrings(words, " ");
    *name = tokens_[position_ - 1].text;
    return true;
}

bool LineParser::bindLine(std::string* refusal) {
    accept(slTokenPragma);
    if (!accept(slTokenBind)) return false;
    std::string_view name = peek().text;
    if (!accept(slTokenIdentifier) || !accept('=')) return false;
    SlList* list = program_->ParamList;
    std::string_view value = peek().text;
    int number = 0;
    if (accept(slTokenIdentifier)) {
        if (!atEnd()) return false;
        sliInsertParameter(list, sliNewParameter(slBoundParam, name, std::string(value).c_str()));
    } else if (accept(slTokenNoBinding)) {
        if (!atEnd()) return false;
        sliInsertParameter(list, sliNewParameter(slBoundParam, name, nullptr));
    } else if (accept(slTokenTexUnit)) {
        if (!integer(&number) || !atEnd()) return false;
        if (number < 0) return *refusal = "a negative texture unit", true;
        sliInsertParameter(list, sliNewTexUnitParameter(name, number));
    } else if (peek().code == slTokenCreg) {
        if (!constantRegister(&number) || !atEnd()) return false;
        if (number < 0) return *refusal = "a negative register index", true;
        if (number >= kSlRegisters) return *refusal = "a register index past c[95]", true;
        const SlParameter* old = sliFindParameter(list, slAnyParam, name);
        SlParameter* parameter = sliNewAttribParameter(name, number);
        if (old != nullptr) {
            parameter->arraySize = old->arraySize;
            parameter->type = old->type;
        }
        sliInsertParameter(list, parameter);
    } else if (accept(slTokenConst)) {
        if (!integer(&number)) return false;
        while (integer(&number)) {
        }
        return atEnd();  // registers of constants: nothing to keep
    } else {
        return false;
    }
    return true;
}

bool LineParser::typeLine(std::string* refusal) {
    accept(slTokenType);
    std::string type;
    std::string_view name;
    int arraySize = 1;
    if (!typeAndName(&type, &name)) return false;
    if (accept('[') && !(integer(&arraySize) && accept(']'))) return false;
    if (!atEnd()) return false;
    if (arraySize < 1) return *refusal = "an array size below 1", true;
    if (SlParameter* parameter = sliFindParameter(program_->ParamList, slAnyParam, name))
        setType(parameter, type, arraySize);
    return true;
}

bool LineParser::varLine(std::string* refusal) {
    accept(slTokenVar);
    bool isConst = accept(slTokenConst);
    std::string type;
    std::string_view name;
    int arraySize = 1;
    if (!typeAndName(&type, &name)) return false;
    if (!isConst) {
        bool function = accept('(');
        if (function && !accept(')')) return false;
        if (accept('[')) {
            int ignored = 0;
            if (!integer(&arraySize) || !accept(']')) return false;
            if (!function && accept('[') && !(integer(&ignored) && accept(']'))) return false;
        }
    }
    if (!atEnd()) return false;
    if (arraySize < 1) return *refusal = "an array size below 1", true;
    SlList* list = program_->ParamList;
    if (SlParameter* parameter = sliFindParameter(list, slAnyParam, name)) {
        if (parameter->kind != slTexObjParam) setType(parameter, type, arraySize);
        return true;
    }
    SlParameter* parameter = sliNewParameter(slUniformParam, name, nullptr);
    setType(parameter, type, arraySize);
    sliInsertParameter(list, parameter);
    return true;
}

bool LineParser::constLine(std::string* refusal) {
    accept(slTokenConst);
    int index = 0;
    if (!constantRegister(&index) || !accept('=')) return false;
    double values[4] = {0.0, 0.0, 0.0, 1.0};
    int count = 0;
    for (; count < 4 && !atEnd(); ++count) {
        const SlToken& token = peek();
        if (token.code == slTokenFloat) values[count] = token.number;
        else if (token.code == slTokenInteger) values[count] = token.integer;
        else return false;
        ++position_;
    }
    if (count == 0 || !atEnd()) return false;
    if (index < 0) return *refusal = "a negative constant index", true;
    if (index >= kSlRegisters) return *refusal = "a constant index past c[95]", true;
    sliInsertParameter(program_->ParamList,
                       sliNewConstParameter(index, values[0], values[1], values[2], values[3]));
    return true;
}

bool LineParser::otherLine() {
    if (atEnd()) return false;
    for (; !atEnd(); ++position_) {
        int code = peek().code;
        if (code != slTokenIdentifier && code != slTokenInteger && code != slTokenFloat &&
            code != slTokenOther)
            return false;
    }
    return true;
}

}  // namespace

SlParseOutcome sliParseProgramOutput(SlProgram* program, std::string_view objectText,
                                     std::string* diagnostics) {
    SlParseOutcome outcome;
    outcome.result = 1;
    SlObjectScanner scanner(objectText);
    std::vector<SlToken> tokens;
    while (scanner.nextLine(&tokens)) {
        outcome.result = 0;
        std::string refusal;
        if (!LineParser(program, tokens).parse(&refusal)) {
            ++outcome.errors;
        } else if (!refusal.empty()) {
            ++outcome.errors;
            *diagnostics += "error: object text line " + std::to_string(scanner.lineNumber()) +
                            ": " + refusal + "\n";
        }
    }
    return outcome;
}

std::string sliJoinStrings(const std::vector<std::string>& words, std::string_view separator) {
    std::string joined;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) joined += separator;
        joined += words[i];
    }
    return joined;
}

void sliSetParseTarget(SlContextData* context, SlProgram* program) {
    parseState().context = context;
    parseState().program = program;
}

void sliSetScanInput(const char* text) {
    ParseState& state = parseState();
    state.input = text != nullptr ? text : "";
    state.scanner = SlObjectScanner(state.input);
    state.line.clear();
    state.next = 0;
}

int sliLex() {
    ParseState& state = parseState();
    while (state.next >= state.line.size()) {
        if (!state.scanner.nextLine(&state.line)) return -1;
        state.next = 0;
    }
    return state.line[state.next++].code;
}

int sliParse() {
    ParseState& state = parseState();
    if (state.program == nullptr) return 1;
    if (state.program->ParamList == nullptr) state.program->ParamList = sliNewList();
    return sliParseProgramOutput(state.program, state.input, &state.program->listing).result;
}

int sliParseProgramOutput(SlList* paramList, const char* objectText) {
    SlProgram* target = parseState().program;
    if (target != nullptr && target->ParamList == paramList) {
        sliSetScanInput(objectText);
        return sliParse();
    }
    // No target owns the list: fill it alone (profile and name go nowhere).
    SlProgram scratch;
    scratch.ParamList = paramList;
    std::string diagnostics;
    int result =
        sliParseProgramOutput(&scratch, objectText != nullptr ? objectText : "", &diagnostics)
            .result;
    scratch.ParamList = nullptr;
    return result;
}

}  // namespace demo
