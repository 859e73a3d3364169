#include "tools/slc/sl_checker.h"

#include <map>
#include <utility>

#include "platform/vertex_program/vertex_program.h"
#include "tools/slc/compile_error.h"
#include "tools/slc/sl_parser.h"

namespace demo::slc {

namespace {

int numbered(std::string_view semantic, std::string_view stem, int count) {
    if (semantic.substr(0, stem.size()) != stem) return -1;
    std::string_view digits = semantic.substr(stem.size());
    if (digits.empty()) return 0;
    if (digits.size() > 2) return -1;
    int n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n < count ? n : -1;
}

std::string describe(const Type& t) {
    return t.isMatrix() ? std::to_string(t.rows) + "x" + std::to_string(t.size) + " matrix"
                        : (t.size == 1 ? "scalar" : std::to_string(t.size) + "-vector");
}

Type vectorType(int size) {
    Type t;
    t.size = size;
    t.name = size == 1 ? "float" : "float" + std::to_string(size);
    return t;
}

class Checker {
public:
    Checker(Unit& unit) : unit_(unit) {}

    void function(const Function& f) {
        std::map<int, std::string> inputs, outputs;
        for (int id : f.parameters) {
            const Symbol& s = unit_.symbols[id];
            declare(id);
            if (s.qualifier == Qualifier::Uniform) continue;
            if (s.type.isMatrix()) throw CompileError{s.line, "'" + s.name + "': only uniforms can be matrices"};
            bool in = s.qualifier == Qualifier::In;
            int reg = in ? attributeOfSemantic(s.semantic) : outputOfSemantic(s.semantic);
            if (s.semantic.empty()) throw CompileError{s.line, "'" + s.name + "' needs a semantic"};
            if (reg < 0) {
                throw CompileError{s.line, "'" + s.semantic + "' is not an " + (in ? "input" : "output") + " semantic"};
            }
            auto& used = in ? inputs : outputs;
            if (!used.emplace(reg, s.name).second) {
                throw CompileError{s.line, "'" + s.name + "' and '" + used[reg] + "' share one register"};
            }
        }
        for (const Statement& st : f.body) statement(st);
    }

private:
    void declare(int id) {
        const Symbol& s = unit_.symbols[id];
        if (!scope_.emplace(s.name, id).second) throw CompileError{s.line, "'" + s.name + "' is declared twice"};
    }

    void statement(const Statement& st) {
        if (st.declares >= 0) {
            const Symbol& s = unit_.symbols[st.declares];
            if (s.type.isMatrix()) throw CompileError{st.line, "local matrices are not supported"};
            if (st.value) assignable(s.type, expr(*st.value), st.line);
            declare(st.declares);
            return;
        }
        Expr& target = *st.target;
        Expr* name = target.kind == ExprKind::Swizzle ? target.args[0].get() : &target;
        if (name->kind != ExprKind::Name) throw CompileError{st.line, "only variables can be assigned"};
        Type t = expr(target);
        const Symbol& s = unit_.symbols[name->symbol];
        if (s.qualifier == Qualifier::Uniform) throw CompileError{st.line, "uniform '" + s.name + "' is read-only"};
        if (t.isMatrix()) throw CompileError{st.line, "matrices cannot be assigned"};
        if (target.kind == ExprKind::Swizzle) {
            int seen = 0;
            for (std::size_t i = 0; i < target.text.size(); ++i) {
                int bit = 1 << target.components[i];
                if (seen & bit) throw CompileError{st.line, "a write mask names a component twice"};
                seen |= bit;
            }
        }
        Type v = expr(*st.value);
        if (st.op != '=') arithmetic(t, v, st.op, st.line);
        assignable(t, v, st.line);
    }

    static void assignable(const Type& target, const Type& value, int line) {
        if (value.isMatrix() || (value.size != 1 && value.size < target.size)) {
            throw CompileError{line, "cannot assign a " + describe(value) + " to a " + describe(target)};
        }
    }

    static Type arithmetic(const Type& a, const Type& b, char op, int line) {
        if (a.isMatrix() || b.isMatrix()) {
            throw CompileError{line, std::string("matrices take no '") + op + "': use mul()"};
        }
        if (a.size != b.size && a.size != 1 && b.size != 1) {
            throw CompileError{line, std::string("'") + op + "' of a " + describe(a) + " and a " + describe(b)};
        }
        return vectorType(std::max(a.size, b.size));
    }

    Type expr(Expr& e) {
        e.type = compute(e);
        return e.type;
    }

    Type compute(Expr& e) {
        switch (e.kind) {
            case ExprKind::Number: return vectorType(1);
            case ExprKind::Name: {
                auto found = scope_.find(e.text);
                if (found == scope_.end()) throw CompileError{e.line, "'" + e.text + "' is not declared"};
                e.symbol = found->second;
                if (unit_.symbols[e.symbol].arraySize > 0)
                    throw CompileError{e.line, "the array '" + e.text + "' needs a constant index"};
                return unit_.symbols[e.symbol].type;
            }
            case ExprKind::Negate: {
                Type t = expr(*e.args[0]);
                if (t.isMatrix()) throw CompileError{e.line, "matrices cannot be negated"};
                return t;
            }
            case ExprKind::Binary: return arithmetic(expr(*e.args[0]), expr(*e.args[1]), e.op, e.line);
            case ExprKind::Swizzle: {
                Type t = expr(*e.args[0]);
                if (t.isMatrix() || e.text.empty() || e.text.size() > 4) {
                    throw CompileError{e.line, "bad swizzle '." + e.text + "'"};
                }
                std::string_view sets[] = {"xyzw", "rgba"};
                for (std::string_view letters : sets) {
                    if (e.text.find_first_not_of(letters) != std::string::npos) continue;
                    for (std::size_t i = 0; i < e.text.size(); ++i) {
                        auto c = static_cast<std::uint8_t>(letters.find(e.text[i]));
                        if (c >= t.size) throw CompileError{e.line, "'." + e.text + "' reads past a " + describe(t)};
                        e.components[i] = c;
                    }
                    return vectorType(static_cast<int>(e.text.size()));
                }
                throw CompileError{e.line, "bad swizzle '." + e.text + "'"};
            }
            case ExprKind::Index: {
                Expr& base = *e.args[0];
                auto array = base.kind == ExprKind::Name ? scope_.find(base.text) : scope_.end();
                if (array != scope_.end() && unit_.symbols[array->second].arraySize > 0) {
                    base.symbol = array->second;
                    base.type = unit_.symbols[base.symbol].type;
                    if (e.number < 0 || e.number >= unit_.symbols[base.symbol].arraySize)
                        throw CompileError{e.line, "index out of range"};
                    return base.type;
                }
                Type t = expr(base);
                int limit = t.isMatrix() ? t.rows : t.size;
                if (e.number < 0 || e.number >= limit) throw CompileError{e.line, "index out of range"};
                return vectorType(t.isMatrix() ? t.size : 1);
            }
            case ExprKind::Construct: return construct(e);
            case ExprKind::Call: return call(e);
        }
        return vectorType(1);
    }

    Type construct(Expr& e) {
        Type t = *typeFromName(e.text);  // the parser made it a constructor by its name
        if (t.isMatrix()) throw CompileError{e.line, "matrix constructors are not supported"};
        int total = 0;
        for (auto& arg : e.args) {
            Type a = expr(*arg);
            if (a.isMatrix()) throw CompileError{e.line, "a matrix in a constructor"};
            total += a.size;
        }
        bool broadcast = e.args.size() == 1 && total == 1;
        if (total != t.size && !broadcast) {
            throw CompileError{e.line, e.text + "() takes " + std::to_string(t.size) + " components, not " +
                                           std::to_string(total)};
        }
        return vectorType(t.size);
    }

    Type call(Expr& e) {
        struct Builtin {
            const char* name;
            int arity;
        };
        static constexpr Builtin kBuiltins[] = {
            {"mul", 2}, {"dot", 2}, {"normalize", 1}, {"length", 1}, {"rsqrt", 1}, {"rcp", 1},
            {"sqrt", 1}, {"min", 2}, {"max", 2}, {"abs", 1}, {"saturate", 1}, {"lit", 3},
            {"dst", 2}, {"cross", 2}, {"lerp", 3}, {"clamp", 3}, {"step", 2}, {"distance", 2},
            {"reflect", 2}};
        const Builtin* b = nullptr;
        for (const Builtin& candidate : kBuiltins) {
            if (e.text == candidate.name) b = &candidate;
        }
        if (b == nullptr) throw CompileError{e.line, "unknown function '" + e.text + "'"};
        if (static_cast<int>(e.args.size()) != b->arity) {
            throw CompileError{e.line, e.text + "() takes " + std::to_string(b->arity) + " arguments"};
        }
        std::vector<Type> a;
        for (auto& arg : e.args) a.push_back(expr(*arg));
        std::string_view n = e.text;
        auto fail = [&]() -> Type {
            std::string list;
            for (const Type& t : a) list += (list.empty() ? "" : ", ") + describe(t);
            throw CompileError{e.line, e.text + "() does not take (" + list + ")"};
        };
        if (n == "mul") {
            if (a[0].isMatrix() && !a[1].isMatrix() && a[1].size == a[0].size) return vectorType(a[0].rows);
            if (!a[0].isMatrix() && a[1].isMatrix() && a[0].size == a[1].rows) return vectorType(a[1].size);
            return fail();
        }
        for (const Type& t : a) {
            if (t.isMatrix()) return fail();
        }
        if (n == "dot" || n == "distance") return a[0].size == a[1].size ? vectorType(1) : fail();
        if (n == "reflect") return a[0].size == a[1].size && a[0].size >= 3 ? a[0] : fail();
        if (n == "length") return vectorType(1);
        if (n == "lit") return a[0].size == 1 && a[1].size == 1 && a[2].size == 1 ? vectorType(4) : fail();
        if (n == "dst") return a[0].size == 4 && a[1].size == 4 ? vectorType(4) : fail();
        if (n == "cross") return a[0].size == 3 && a[1].size == 3 ? vectorType(3) : fail();
        if (n == "min" || n == "max" || n == "step") return arithmetic(a[0], a[1], ',', e.line);
        if (n == "lerp" || n == "clamp") return arithmetic(arithmetic(a[0], a[1], ',', e.line), a[2], ',', e.line);
        return a[0];  // normalize, rsqrt, rcp, sqrt, abs, saturate
    }

    Unit& unit_;
    std::map<std::string, int> scope_;
};

}  // namespace

int attributeOfSemantic(std::string_view s) {
    // The conventional attribute registers: v[1] weight, v[5] fog coordinate
    // (a scalar, like a tessellation factor), v[6] point size, v[7] blend
    // indices; tangent and binormal share v[14] and v[15] with the last
    // texture coordinates.
    static constexpr std::pair<std::string_view, int> kSingle[] = {
        {"POSITION", 0},     {"BLENDWEIGHT", 1}, {"NORMAL", 2},   {"COLOR", 3},      {"DIFFUSE", 3},
        {"SPECULAR", 4},     {"FOG", 5},         {"FOGCOORD", 5}, {"TESSFACTOR", 5}, {"PSIZE", 6},
        {"BLENDINDICES", 7}, {"TANGENT", 14},    {"BINORMAL", 15}};
    for (const auto& [name, reg] : kSingle) {
        if (s.substr(0, name.size()) == name &&
            (s.size() == name.size() || s.substr(name.size()) == "0"))
            return reg;
    }
    if (s == "COLOR1") return 4;
    if (int n = numbered(s, "TEXCOORD", 8); n >= 0) return 8 + n;
    if (s.size() > 4) return numbered(s, "ATTR", 16);
    return -1;
}

int outputOfSemantic(std::string_view s) {
    if (s == "POSITION" || s == "POSITION0" || s == "HPOS") return vp::kHPOS;
    if (s == "COLOR" || s == "COLOR0" || s == "COL0") return vp::kCOL0;
    if (s == "COLOR1" || s == "COL1") return vp::kCOL1;
    if (s == "BCOL0") return vp::kBFC0;
    if (s == "BCOL1") return vp::kBFC1;
    if (s == "FOG" || s == "FOGC") return vp::kFOGC;
    if (s == "PSIZE" || s == "PSIZ") return vp::kPSIZ;
    if (int n = numbered(s, "TEXCOORD", 8); n >= 0) return vp::kTEX0 + n;
    if (s.size() == 4) {
        if (int n = numbered(s, "TEX", 8); n >= 0) return vp::kTEX0 + n;
    }
    return -1;
}

const Function& checkUnit(Unit& unit, const std::string& entry) {
    const Function* found = nullptr;
    for (const Function& f : unit.functions) {
        if (f.name != entry) throw CompileError{f.line, "only the entry function '" + entry + "' is supported"};
        if (found != nullptr) throw CompileError{f.line, "'" + entry + "' is defined twice"};
        found = &f;
    }
    if (found == nullptr) throw CompileError{1, "no entry function '" + entry + "'"};
    Checker(unit).function(*found);
    return *found;
}

}  // namespace demo::slc
