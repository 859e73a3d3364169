#include "tools/slc/code_generator.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "tools/slc/compile_error.h"
#include "tools/slc/sl_checker.h"
#include "tools/slc/temporary_allocator.h"

namespace demo::slc {

namespace {

using vp::Opcode;
using vp::RegisterFile;
using Swizzle = std::array<std::uint8_t, 4>;

// A readable register with its swizzle; components past `size` repeat the
// last one, so a scalar is always a replicated component.
struct Value {
    RegisterFile file = RegisterFile::Temporary;
    int index = 0;
    bool negate = false;
    Swizzle swizzle{0, 1, 2, 3};
    int size = 4;
};

Value padded(Value v) {
    for (int i = v.size; i < 4; ++i) v.swizzle[i] = v.swizzle[v.size - 1];
    return v;
}

Value component(const Value& v, int k) {
    Value c = v;
    c.swizzle.fill(v.swizzle[k]);
    c.size = 1;
    return c;
}

Value swizzled(const Value& v, const Swizzle& comps, int n) {
    Value s = v;
    for (int i = 0; i < n; ++i) s.swizzle[i] = v.swizzle[comps[i]];
    s.size = n;
    return padded(s);
}

Value negated(Value v) {
    v.negate = !v.negate;
    return v;
}

// Where results go: result component k lands in register component comps[k].
struct Dest {
    RegisterFile file = RegisterFile::Temporary;
    int index = 0;
    Swizzle comps{0, 1, 2, 3};
    int size = 4;
};

Dest part(const Dest& d, int from, int count) {
    Dest p = d;
    for (int i = 0; i < count; ++i) p.comps[i] = d.comps[from + i];
    p.size = count;
    return p;
}

Value valueOf(const Dest& d) { return padded(Value{d.file, d.index, false, {0, 1, 2, 3}, d.size}); }

// Whether result component k comes from source component k alone. LIT, DST,
// the dot products and the scalar opcodes mix or pick their source components.
bool componentWise(Opcode op) {
    switch (op) {
        case Opcode::MOV: case Opcode::MUL: case Opcode::ADD: case Opcode::MAD: case Opcode::MIN:
        case Opcode::MAX: case Opcode::SLT: case Opcode::SGE: case Opcode::SUB: case Opcode::ABS:
            return true;
        default: return false;
    }
}

bool reads(const Expr& e, int symbol) {
    if (e.kind == ExprKind::Name && e.symbol == symbol) return true;
    for (const auto& arg : e.args) {
        if (reads(*arg, symbol)) return true;
    }
    return false;
}

void collectReads(const Expr& e, std::set<int>& symbols) {
    if (e.kind == ExprKind::Name) symbols.insert(e.symbol);
    for (const auto& arg : e.args) collectReads(*arg, symbols);
}

class Generator {
public:
    Generator(const Unit& unit, const Function& f, bool heaviestFirst)
        : unit_(unit), f_(f), heaviestFirst_(heaviestFirst) {}

    GeneratedProgram run() {
        placeParameters();
        std::set<int> readSymbols;
        for (const Statement& st : f_.body) {
            if (st.value) collectReads(*st.value, readSymbols);
            if (st.target && st.op != '=') collectReads(*st.target, readSymbols);
        }
        for (int id : f_.parameters) {
            if (unit_.symbols[id].qualifier == Qualifier::Out && readSymbols.count(id) != 0) {
                shadows_[id] = {fresh(), 0};
            }
        }
        for (const Statement& st : f_.body) {
            line_ = st.line;
            statement(st);
        }
        for (const auto& [id, shadow] : shadows_) {
            if (shadow.second == 0) continue;
            line_ = unit_.symbols[id].line;
            Dest d{RegisterFile::Output, storage_[id].index, {0, 1, 2, 3}, 4};
            emitRaw(Opcode::MOV, d.file, d.index, shadow.second, {valueOf(Dest{RegisterFile::Temporary, shadow.first})});
        }
        bool position = false;
        for (const vp::Instruction& ins : out_.program.code) {
            position = position || (ins.dst.file == RegisterFile::Output && ins.dst.index == vp::kHPOS);
        }
        if (!position) throw CompileError{f_.line, "the program never writes a POSITION output"};
        assignTemporaries(out_.program.code, virtuals_, lines_);
        return std::move(out_);
    }

private:
    void placeParameters() {
        int reg = 0;
        for (int id : f_.parameters) {
            const Symbol& s = unit_.symbols[id];
            switch (s.qualifier) {
                case Qualifier::Uniform:
                    storage_[id] = {RegisterFile::Parameter, reg};
                    out_.uniforms.push_back({id, reg});
                    reg += s.type.isMatrix() ? s.type.rows : std::max(1, s.arraySize);
                    if (reg > vp::kParameters) throw CompileError{s.line, "uniforms need more than 96 constant registers"};
                    break;
                case Qualifier::In: storage_[id] = {RegisterFile::Attribute, attributeOfSemantic(s.semantic)}; break;
                default: storage_[id] = {RegisterFile::Output, outputOfSemantic(s.semantic)}; break;
            }
        }
        out_.constantBase = reg;
    }

    // Every value, local and copy gets a register of its own;
    // assignTemporaries maps them onto the target's once the code is complete.
    int fresh() { return virtuals_++; }

    Dest scratch(int size) { return Dest{RegisterFile::Temporary, fresh(), {0, 1, 2, 3}, size}; }

    // --- constants ----------------------------------------------------------

    int constantRegister(std::size_t slot) {
        int reg = out_.constantBase + static_cast<int>(slot);
        if (reg >= vp::kParameters) throw CompileError{line_, "the program needs more than 96 constant registers"};
        return reg;
    }

    // The object text carries only finite numbers.
    void checkFinite(float x) const {
        if (!std::isfinite(x)) throw CompileError{line_, "a literal out of the float range"};
    }

    Value constant(float x) {
        checkFinite(x);
        auto& pool = out_.constants;
        for (std::size_t r = 0; r < pool.size(); ++r) {
            for (int c = 0; c < filled_[r]; ++c) {
                if (std::memcmp(&pool[r][c], &x, sizeof x) == 0) return component(constantValue(r), c);
            }
        }
        if (pool.empty() || filled_.back() == 4) {
            constantRegister(pool.size());
            pool.push_back({0, 0, 0, 0});
            filled_.push_back(0);
        }
        pool.back()[filled_.back()] = x;
        return component(constantValue(pool.size() - 1), filled_.back()++);
    }

    Value constantVector(const std::array<float, 4>& v, int n) {
        for (int k = 0; k < n; ++k) checkFinite(v[k]);
        auto& pool = out_.constants;
        for (std::size_t r = 0; r < pool.size(); ++r) {
            if (filled_[r] >= n && std::memcmp(pool[r].data(), v.data(), n * sizeof(float)) == 0) {
                Value found = constantValue(r);
                found.size = n;
                return padded(found);
            }
        }
        constantRegister(pool.size());
        pool.push_back(v);
        filled_.push_back(n);
        Value made = constantValue(pool.size() - 1);
        made.size = n;
        return padded(made);
    }

    Value constantValue(std::size_t slot) {
        return Value{RegisterFile::Parameter, out_.constantBase + static_cast<int>(slot), false, {0, 1, 2, 3}, 4};
    }

    // --- emission -----------------------------------------------------------

    void emitRaw(Opcode op, RegisterFile file, int index, std::uint8_t mask, std::vector<Value> sources) {
        // One distinct c[] and one distinct v[] per instruction: later ones
        // go through a temporary, which serves this instruction only.
        std::optional<int> parameter, attribute;
        for (Value& s : sources) {
            std::optional<int>* seen = s.file == RegisterFile::Parameter   ? &parameter
                                       : s.file == RegisterFile::Attribute ? &attribute
                                                                           : nullptr;
            if (seen == nullptr) continue;
            if (!*seen || **seen == s.index) {
                *seen = s.index;
                continue;
            }
            Dest copy = scratch(4);
            append(Opcode::MOV, copy.file, copy.index, 0xF, {Value{s.file, s.index, false, {0, 1, 2, 3}, 4}});
            s.file = RegisterFile::Temporary;
            s.index = copy.index;
        }
        append(op, file, index, mask, sources);
    }

    void append(Opcode op, RegisterFile file, int index, std::uint8_t mask, const std::vector<Value>& sources) {
        if (out_.program.code.size() >= static_cast<std::size_t>(vp::kMaxInstructions)) {
            throw CompileError{line_, "the program needs more than 128 instructions"};
        }
        vp::Instruction ins;
        ins.op = op;
        ins.dst = {file, index, mask};
        ins.sourceCount = static_cast<int>(sources.size());
        for (std::size_t i = 0; i < sources.size(); ++i) {
            const Value& v = sources[i];
            ins.src[i] = {v.file, v.index, false, v.negate, v.swizzle};
        }
        out_.program.code.push_back(ins);
        lines_.push_back(line_);
        if (file == RegisterFile::Temporary) {
            for (auto& [id, shadow] : shadows_) {
                if (shadow.first == index) shadow.second |= mask;
            }
        }
    }

    // Result component k into d.comps[k]. A component-wise opcode gets there
    // by reordering its sources (a scalar source serves every component); any
    // other one computes in order into a temporary that a MOV then reorders.
    void emitVector(Opcode op, const Dest& d, const std::vector<Value>& sources) {
        std::uint8_t mask = 0;
        bool inOrder = true;
        for (int k = 0; k < d.size; ++k) {
            mask |= static_cast<std::uint8_t>(1 << d.comps[k]);
            inOrder = inOrder && d.comps[k] == k;
        }
        if (!componentWise(op)) {
            if (inOrder) return emitRaw(op, d.file, d.index, mask, sources);
            Dest t = scratch(d.size);
            emitVector(op, t, sources);
            return emitVector(Opcode::MOV, d, {valueOf(t)});
        }
        std::vector<Value> mapped;
        for (const Value& s : sources) {
            Value m = s;
            m.swizzle.fill(s.swizzle[0]);
            for (int k = 0; k < d.size; ++k) m.swizzle[d.comps[k]] = s.swizzle[std::min(k, 3)];
            mapped.push_back(m);
        }
        emitRaw(op, d.file, d.index, mask, mapped);
    }

    // One result component (comps[0] of d) from whole sources.
    void emitScalar(Opcode op, const Dest& d, const std::vector<Value>& sources) {
        emitRaw(op, d.file, d.index, static_cast<std::uint8_t>(1 << d.comps[0]), sources);
    }

    void dot(const Dest& d, const Value& a, const Value& b, int n) {
        if (n >= 3) return emitScalar(n == 4 ? Opcode::DP4 : Opcode::DP3, d, {a, b});
        if (n == 1) return emitVector(Opcode::MUL, d, {a, b});
        Dest s = scratch(2);
        emitVector(Opcode::MUL, s, {a, b});
        Value p = valueOf(s);
        emitVector(Opcode::ADD, d, {component(p, 0), component(p, 1)});
    }

    // --- expressions ----------------------------------------------------------

    Value value(const Expr& e) {
        switch (e.kind) {
            case ExprKind::Number: return constant(static_cast<float>(e.number));
            case ExprKind::Name: {
                auto shadow = shadows_.find(e.symbol);
                if (shadow != shadows_.end()) return padded(Value{RegisterFile::Temporary, shadow->second.first, false, {0, 1, 2, 3}, e.type.size});
                const Storage& s = storage_.at(e.symbol);
                return padded(Value{s.file, s.index, false, {0, 1, 2, 3}, e.type.isMatrix() ? 4 : e.type.size});
            }
            case ExprKind::Negate: return negated(value(*e.args[0]));
            case ExprKind::Swizzle: return swizzled(value(*e.args[0]), e.components, static_cast<int>(e.text.size()));
            case ExprKind::Index: {
                Value base = value(*e.args[0]);
                int i = static_cast<int>(e.number);
                const Expr& of = *e.args[0];
                bool array = of.kind == ExprKind::Name && unit_.symbols[of.symbol].arraySize > 0;
                if (of.type.isMatrix() || array) {
                    base.index += i;
                    base.size = e.type.size;
                    return padded(base);
                }
                return component(base, i);
            }
            case ExprKind::Construct:
                if (isLiteralVector(e)) {
                    std::array<float, 4> v{};
                    for (std::size_t i = 0; i < e.args.size(); ++i) v[i] = literal(*e.args[i]);
                    if (e.args.size() == 1) v.fill(v[0]);
                    return constantVector(v, e.type.size);
                }
                if (e.args.size() == 1 && e.args[0]->type.size == e.type.size) return value(*e.args[0]);
                break;
            default: break;
        }
        Dest d = scratch(e.type.size);
        produce(e, d);
        return valueOf(d);
    }

    // The temporaries that computing e holds at once, as values() orders
    // the operands: none for a register read, one for a computed result.
    static int need(const Expr& e) {
        if (e.kind == ExprKind::Number || e.kind == ExprKind::Name) return 0;
        if (e.kind == ExprKind::Negate || e.kind == ExprKind::Swizzle || e.kind == ExprKind::Index) return need(*e.args[0]);
        if (e.kind == ExprKind::Construct && isLiteralVector(e)) return 0;
        std::vector<int> needs;
        for (const auto& arg : e.args) needs.push_back(need(*arg));
        std::sort(needs.begin(), needs.end(), std::greater<>());
        int peak = 1;
        for (std::size_t i = 0; i < needs.size() && needs[i] > 0; ++i) peak = std::max(peak, needs[i] + static_cast<int>(i));
        return peak;
    }

    // The operands' values, in the source's order or, heaviest first, the
    // one that needs the most temporaries computed first: each result held
    // meanwhile costs a register, so a chain leaning either way holds one
    // result while its next link is computed.
    std::vector<Value> values(const std::vector<const Expr*>& operands) {
        std::vector<std::size_t> order(operands.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        if (heaviestFirst_) {
            std::vector<int> needs;
            for (const Expr* e : operands) needs.push_back(need(*e));
            std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return needs[a] > needs[b]; });
        }
        std::vector<Value> result(operands.size());
        for (std::size_t i : order) result[i] = value(*operands[i]);
        return result;
    }

    static bool isLiteral(const Expr& e) {
        return e.kind == ExprKind::Number || (e.kind == ExprKind::Negate && isLiteral(*e.args[0]));
    }
    static float literal(const Expr& e) {
        return e.kind == ExprKind::Number ? static_cast<float>(e.number) : -literal(*e.args[0]);
    }
    static bool isLiteralVector(const Expr& e) {
        for (const auto& arg : e.args) {
            if (!isLiteral(*arg)) return false;
        }
        return true;
    }

    // Writes the value of e into d, which has e's size.
    void into(const Expr& e, const Dest& d) {
        bool computed = e.kind == ExprKind::Binary || e.kind == ExprKind::Call ||
                        (e.kind == ExprKind::Construct && !isLiteralVector(e) && e.args.size() > 1);
        if (computed && e.type.size == d.size) return produce(e, d);
        emitVector(Opcode::MOV, d, {value(e)});
    }

    static bool isProduct(const Expr& e) { return e.kind == ExprKind::Binary && e.op == '*'; }

    Value reciprocal(const Value& v) {
        Dest r = scratch(v.size);
        for (int k = 0; k < v.size; ++k) emitScalar(Opcode::RCP, part(r, k, 1), {component(v, k)});
        return valueOf(r);
    }

    void produce(const Expr& e, const Dest& d) {
        if (e.kind == ExprKind::Construct) {
            if (e.args.size() == 1) return emitVector(Opcode::MOV, d, {value(*e.args[0])});
            // Neighbouring literals that share a constant register go in one MOV.
            int at = 0;
            for (std::size_t i = 0; i < e.args.size();) {
                const Expr& arg = *e.args[i];
                if (!isLiteral(arg)) {
                    into(arg, part(d, at, arg.type.size));
                    at += arg.type.size;
                    ++i;
                    continue;
                }
                Value run = value(arg);
                int n = 1;
                for (; i + n < e.args.size() && isLiteral(*e.args[i + n]); ++n) {
                    Value next = value(*e.args[i + n]);
                    if (next.index != run.index || next.negate != run.negate) break;
                    run.swizzle[n] = next.swizzle[0];
                }
                run.size = n;
                emitVector(Opcode::MOV, part(d, at, n), {padded(run)});
                at += n;
                i += n;
            }
            return;
        }
        if (e.kind == ExprKind::Binary) return binary(e, d);
        call(e, d);
    }

    void binary(const Expr& e, const Dest& d) {
        const Expr& l = *e.args[0];
        const Expr& r = *e.args[1];
        if (e.op == '+' || e.op == '-') {
            // A product folds into MAD.
            if (isProduct(l)) {
                std::vector<Value> v = values({l.args[0].get(), l.args[1].get(), &r});
                return emitVector(Opcode::MAD, d, {v[0], v[1], e.op == '-' ? negated(v[2]) : v[2]});
            }
            if (isProduct(r)) {
                std::vector<Value> v = values({r.args[0].get(), r.args[1].get(), &l});
                return emitVector(Opcode::MAD, d, {e.op == '-' ? negated(v[0]) : v[0], v[1], v[2]});
            }
            std::vector<Value> v = values({&l, &r});
            return emitVector(Opcode::ADD, d, {v[0], e.op == '-' ? negated(v[1]) : v[1]});
        }
        std::vector<Value> v = values({&l, &r});
        emitVector(Opcode::MUL, d, {v[0], e.op == '/' ? reciprocal(v[1]) : v[1]});
    }

    void call(const Expr& e, const Dest& d) {
        std::string_view n = e.text;
        if (n == "mul") return multiply(e, d);
        std::vector<const Expr*> args;
        for (const auto& arg : e.args) args.push_back(arg.get());
        std::vector<Value> a = values(args);
        if (n == "dot") return dot(d, a[0], a[1], e.args[0]->type.size);
        if (n == "normalize" || n == "length") {
            Dest s = scratch(1);
            dot(s, a[0], a[0], e.args[0]->type.size);
            emitScalar(Opcode::RSQ, s, {valueOf(s)});
            if (n == "length") return emitScalar(Opcode::RCP, d, {valueOf(s)});
            return emitVector(Opcode::MUL, d, {a[0], valueOf(s)});
        }
        if (n == "rsqrt" || n == "rcp") {
            Opcode op = n == "rcp" ? Opcode::RCP : Opcode::RSQ;
            for (int k = 0; k < d.size; ++k) emitScalar(op, part(d, k, 1), {component(a[0], k)});
            return;
        }
        if (n == "sqrt") {
            Dest s = scratch(d.size);
            for (int k = 0; k < d.size; ++k) {
                emitScalar(Opcode::RSQ, part(s, k, 1), {component(a[0], k)});
                emitScalar(Opcode::RCP, part(d, k, 1), {component(valueOf(s), k)});
            }
            return;
        }
        if (n == "min" || n == "max") return emitVector(n == "min" ? Opcode::MIN : Opcode::MAX, d, {a[0], a[1]});
        if (n == "abs") return emitVector(Opcode::MAX, d, {a[0], negated(a[0])});
        if (n == "saturate") {
            Dest s = scratch(d.size);
            emitVector(Opcode::MAX, s, {a[0], constant(0.0f)});
            return emitVector(Opcode::MIN, d, {valueOf(s), constant(1.0f)});
        }
        if (n == "lit") {
            Dest s = scratch(4);
            emitVector(Opcode::MOV, part(s, 0, 1), {component(a[0], 0)});
            emitVector(Opcode::MOV, part(s, 1, 1), {component(a[1], 0)});
            emitVector(Opcode::MOV, part(s, 3, 1), {component(a[2], 0)});
            return emitVector(Opcode::LIT, d, {valueOf(s)});
        }
        if (n == "dst") return emitVector(Opcode::DST, d, {a[0], a[1]});
        if (n == "step") return emitVector(Opcode::SGE, d, {a[1], a[0]});
        if (n == "clamp") {
            Dest s = scratch(d.size);
            emitVector(Opcode::MAX, s, {a[0], a[1]});
            return emitVector(Opcode::MIN, d, {valueOf(s), a[2]});
        }
        if (n == "distance") {
            int size = e.args[0]->type.size;
            Dest s = scratch(size);
            emitVector(Opcode::ADD, s, {a[0], negated(a[1])});
            Dest t = scratch(1);
            dot(t, valueOf(s), valueOf(s), size);
            emitScalar(Opcode::RSQ, t, {valueOf(t)});
            return emitScalar(Opcode::RCP, d, {valueOf(t)});
        }
        if (n == "reflect") {  // i - 2 dot(n, i) n
            Dest t = scratch(1);
            dot(t, a[1], a[0], d.size);
            emitVector(Opcode::ADD, t, {valueOf(t), valueOf(t)});
            return emitVector(Opcode::MAD, d, {negated(valueOf(t)), a[1], a[0]});
        }
        if (n == "cross") {
            Dest s = scratch(3);
            const Swizzle yzx{1, 2, 0, 0}, zxy{2, 0, 1, 1};
            emitVector(Opcode::MUL, s, {swizzled(a[0], yzx, 3), swizzled(a[1], zxy, 3)});
            return emitVector(Opcode::MAD, d, {negated(swizzled(a[0], zxy, 3)), swizzled(a[1], yzx, 3), valueOf(s)});
        }
        // lerp(a, b, t) = a + t * (b - a)
        Dest s = scratch(d.size);
        emitVector(Opcode::ADD, s, {a[1], negated(a[0])});
        emitVector(Opcode::MAD, d, {a[2], valueOf(s), a[0]});
    }

    void multiply(const Expr& e, const Dest& d) {
        const Type& left = e.args[0]->type;
        Value m = value(*e.args[left.isMatrix() ? 0 : 1]);
        Value v = value(*e.args[left.isMatrix() ? 1 : 0]);
        auto row = [&](int i) { return padded(Value{m.file, m.index + i, false, {0, 1, 2, 3}, 4}); };
        if (left.isMatrix()) {
            for (int k = 0; k < d.size; ++k) dot(part(d, k, 1), row(k), v, left.size);
            return;
        }
        int rows = e.args[1]->type.rows;
        if (rows == 1) return emitVector(Opcode::MUL, d, {row(0), component(v, 0)});
        Dest acc = scratch(d.size);
        emitVector(Opcode::MUL, acc, {row(0), component(v, 0)});
        for (int i = 1; i < rows; ++i) {
            emitVector(Opcode::MAD, i == rows - 1 ? d : acc, {row(i), component(v, i), valueOf(acc)});
        }
    }

    // --- statements -----------------------------------------------------------

    void statement(const Statement& st) {
        if (st.declares >= 0) {
            Dest d = scratch(unit_.symbols[st.declares].type.size);
            if (st.value) into(*st.value, d);
            storage_[st.declares] = {RegisterFile::Temporary, d.index};
            return;
        }
        const Expr& target = *st.target;
        const Expr& name = target.kind == ExprKind::Swizzle ? *target.args[0] : target;
        int id = name.symbol;
        bool readsTarget = reads(*st.value, id);
        Storage& s = storage_.at(id);
        auto shadow = shadows_.find(id);
        bool whole = target.kind == ExprKind::Name && st.op == '=';
        if (s.file == RegisterFile::Attribute && (!whole || (readsTarget && readsOtherInput(*st.value, id)))) {
            // An input written in part becomes a temporary holding a copy; so
            // does one given a value that reads it beside other inputs, whose
            // instructions would otherwise copy one of their two v[] each time.
            int t = fresh();
            append(Opcode::MOV, RegisterFile::Temporary, t, 0xF, {Value{s.file, s.index}});
            s = {RegisterFile::Temporary, t};
        }
        if (whole && shadow == shadows_.end() && s.file != RegisterFile::Output) {
            // A local (or an input) given a whole new value gets a register of
            // its own: the old one is free after its last read, and the value
            // may read the old one while it is computed.
            Dest d = scratch(name.type.size);
            into(*st.value, d);
            s = {RegisterFile::Temporary, d.index};
            return;
        }
        Dest d{s.file, s.index, {0, 1, 2, 3}, name.type.size};
        if (shadow != shadows_.end()) d = Dest{RegisterFile::Temporary, shadow->second.first, {0, 1, 2, 3}, name.type.size};
        if (target.kind == ExprKind::Swizzle) {
            d.size = static_cast<int>(target.text.size());
            for (int k = 0; k < d.size; ++k) d.comps[k] = target.components[k];
        }
        if (st.op == '=') {
            if (readsTarget || st.value->type.size != d.size) return emitVector(Opcode::MOV, d, {value(*st.value)});
            return into(*st.value, d);
        }
        Value current = value(target);
        Value operand = value(*st.value);
        switch (st.op) {
            case '+': return emitVector(Opcode::ADD, d, {current, operand});
            case '-': return emitVector(Opcode::ADD, d, {current, negated(operand)});
            case '*': return emitVector(Opcode::MUL, d, {current, operand});
            default: return emitVector(Opcode::MUL, d, {current, reciprocal(operand)});
        }
    }

    bool readsOtherInput(const Expr& e, int symbol) const {
        std::set<int> read;
        collectReads(e, read);
        for (int id : read) {
            auto s = storage_.find(id);
            if (id != symbol && s != storage_.end() && s->second.file == RegisterFile::Attribute) return true;
        }
        return false;
    }

    struct Storage {
        RegisterFile file = RegisterFile::Temporary;
        int index = 0;
    };

    const Unit& unit_;
    const Function& f_;
    bool heaviestFirst_;
    GeneratedProgram out_;
    std::map<int, Storage> storage_;
    std::map<int, std::pair<int, std::uint8_t>> shadows_;  // output symbol -> temporary, written mask
    int virtuals_ = 0;
    std::vector<int> lines_;  // the source line of each instruction
    std::vector<int> filled_;  // components used of each constant register
    int line_ = 0;
};

}  // namespace

GeneratedProgram generateProgram(const Unit& unit, const Function& entry) {
    // The operands in the source's order, then heaviest first: the second
    // is kept only where it compiles shorter, or alone compiles, so that
    // reordering never costs an instruction. Errors are the first order's.
    std::optional<GeneratedProgram> best;
    std::optional<CompileError> error;
    for (bool heaviestFirst : {false, true}) {
        try {
            GeneratedProgram made = Generator(unit, entry, heaviestFirst).run();
            if (!best || made.program.code.size() < best->program.code.size()) best = std::move(made);
        } catch (const CompileError& e) {
            if (!error) error = e;
        }
    }
    if (!best) throw *error;
    return std::move(*best);
}

}  // namespace demo::slc
