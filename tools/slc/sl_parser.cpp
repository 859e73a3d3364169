#include "tools/slc/sl_parser.h"

#include <algorithm>

#include "tools/slc/compile_error.h"
#include "tools/slc/sl_lexer.h"

namespace demo::slc {

namespace {

// Nesting of expressions and blocks; a parenthesis takes two levels, so a
// nested chain as long as 128 instructions allow still parses.
constexpr int kMaxDepth = 256;
// The checker and the code generator recurse once per node, and operator
// chains and suffix runs deepen the tree without nesting the parser: this
// bounds the tree's height, safely within the stack even under sanitizers
// and far above what fits in 128 instructions.
constexpr int kMaxHeight = 256;

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    Unit run() {
        while (peek().kind != TokenKind::End) function();
        return std::move(unit_);
    }

private:
    const Token& peek(int ahead = 0) const {
        std::size_t at = std::min(pos_ + ahead, tokens_.size() - 1);
        return tokens_[at];
    }
    const Token& next() {
        const Token& t = peek();
        if (pos_ < tokens_.size() - 1) ++pos_;
        return t;
    }
    bool isPunct(std::string_view text, int ahead = 0) const {
        return peek(ahead).kind == TokenKind::Punct && peek(ahead).text == text;
    }
    bool isWord(std::string_view text) const {
        return peek().kind == TokenKind::Name && peek().text == text;
    }
    bool accept(std::string_view text) {
        if (!isPunct(text)) return false;
        next();
        return true;
    }
    [[noreturn]] void fail(const std::string& text) const {
        const Token& t = peek();
        std::string found = t.kind == TokenKind::End ? "the end of the source" : "'" + t.text + "'";
        throw CompileError{t.line, text + " before " + found};
    }
    void expect(std::string_view text) {
        if (!accept(text)) fail("expected '" + std::string(text) + "'");
    }
    std::string name(const char* what) {
        if (peek().kind != TokenKind::Name) fail(std::string("expected ") + what);
        return next().text;
    }
    Type type() {
        std::optional<Type> t = peek().kind == TokenKind::Name ? typeFromName(peek().text) : std::nullopt;
        if (!t) fail("expected a type");
        next();
        return *t;
    }
    void enter() {
        if (++depth_ > kMaxDepth) throw CompileError{peek().line, "nesting too deep"};
    }

    int addSymbol(Symbol symbol) {
        unit_.symbols.push_back(std::move(symbol));
        return static_cast<int>(unit_.symbols.size()) - 1;
    }

    void function() {
        int line = peek().line;
        if (!isWord("void")) {
            if (peek().kind == TokenKind::Name && typeFromName(peek().text)) {
                throw CompileError{line, "the entry function must return void: results are out parameters"};
            }
            fail("expected a function");
        }
        next();
        Function f;
        f.line = line;
        f.name = name("a function name");
        expect("(");
        if (!isPunct(")")) {
            do {
                f.parameters.push_back(parameter());
            } while (accept(","));
        }
        expect(")");
        expect("{");
        while (!accept("}")) statement(f.body);
        unit_.functions.push_back(std::move(f));
    }

    int parameter() {
        Symbol s;
        s.line = peek().line;
        s.qualifier = Qualifier::In;
        while (peek().kind == TokenKind::Name && !typeFromName(peek().text)) {
            std::string word = next().text;
            if (word == "uniform") {
                s.qualifier = Qualifier::Uniform;
            } else if (word == "out") {
                s.qualifier = Qualifier::Out;
            } else if (word == "inout") {
                throw CompileError{s.line, "inout parameters are not supported"};
            } else if (word != "in" && word != "const") {
                throw CompileError{s.line, "unknown qualifier or type '" + word + "'"};
            }
        }
        s.type = type();
        s.name = name("a parameter name");
        if (accept("[")) {
            if (peek().kind != TokenKind::Number || !peek().integral || peek().number < 1 ||
                peek().number > 96)
                throw CompileError{s.line, "an array size must be an integer from 1 to 96"};
            s.arraySize = static_cast<int>(next().number);
            expect("]");
            if (s.qualifier != Qualifier::Uniform || s.type.isMatrix())
                throw CompileError{s.line, "only uniform scalars and vectors can be arrays"};
        }
        if (accept(":")) {
            s.semantic = name("a semantic");
            for (char& c : s.semantic) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        return addSymbol(std::move(s));
    }

    void statement(std::vector<Statement>& out) {
        enter();
        int line = peek().line;
        if (accept(";")) {
        } else if (accept("{")) {
            while (!accept("}")) statement(out);
        } else if (isWord("return")) {
            next();
            if (!isPunct(";")) throw CompileError{line, "the entry function returns nothing"};
            next();
            if (!isPunct("}") || depth_ != 1) throw CompileError{line, "return must end the function"};
        } else if (isWord("if") || isWord("for") || isWord("while") || isWord("do") || isWord("switch")) {
            throw CompileError{line, "'" + peek().text + "': the target has no control flow"};
        } else if (isWord("const") || (peek().kind == TokenKind::Name && typeFromName(peek().text) &&
                                       peek(1).kind == TokenKind::Name)) {
            if (isWord("const")) next();
            Type t = type();
            do {
                Statement s;
                s.line = peek().line;
                Symbol symbol{name("a variable name"), t, Qualifier::Local, "", s.line};
                if (accept("=")) s.value = expression();
                s.declares = addSymbol(std::move(symbol));
                out.push_back(std::move(s));
            } while (accept(","));
            expect(";");
        } else {
            Statement s;
            s.line = line;
            std::unique_ptr<Expr> left = expression();
            for (const char* op : {"=", "+=", "-=", "*=", "/="}) {
                if (accept(op)) {
                    s.op = op[0];
                    s.target = std::move(left);
                    s.value = expression();
                    break;
                }
            }
            if (!s.target) throw CompileError{line, "a statement must assign or declare"};
            expect(";");
            out.push_back(std::move(s));
        }
        --depth_;
    }

    std::unique_ptr<Expr> make(ExprKind kind, int line) {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->line = line;
        return e;
    }
    static void adopt(Expr& parent, std::unique_ptr<Expr> child) {
        parent.height = std::max(parent.height, child->height + 1);
        parent.args.push_back(std::move(child));
        if (parent.height > kMaxHeight) throw CompileError{parent.line, "expression too deep"};
    }

    std::unique_ptr<Expr> expression() {
        enter();
        std::unique_ptr<Expr> left = term();
        while (isPunct("+") || isPunct("-")) left = binary(std::move(left), &Parser::term);
        --depth_;
        return left;
    }
    std::unique_ptr<Expr> term() {
        std::unique_ptr<Expr> left = unary();
        while (isPunct("*") || isPunct("/")) left = binary(std::move(left), &Parser::unary);
        return left;
    }
    std::unique_ptr<Expr> binary(std::unique_ptr<Expr> left, std::unique_ptr<Expr> (Parser::*operand)()) {
        const Token& t = next();
        auto e = make(ExprKind::Binary, t.line);
        e->op = t.text[0];
        adopt(*e, std::move(left));
        adopt(*e, (this->*operand)());
        return e;
    }
    std::unique_ptr<Expr> unary() {
        enter();
        std::unique_ptr<Expr> e;
        int line = peek().line;
        if (accept("-")) {
            e = make(ExprKind::Negate, line);
            adopt(*e, unary());
        } else if (accept("+")) {
            e = unary();
        } else {
            e = postfix();
        }
        --depth_;
        return e;
    }
    std::unique_ptr<Expr> postfix() {
        std::unique_ptr<Expr> e = primary();
        for (;;) {
            int line = peek().line;
            if (accept(".")) {
                auto s = make(ExprKind::Swizzle, line);
                s->text = name("swizzle letters");
                adopt(*s, std::move(e));
                e = std::move(s);
            } else if (accept("[")) {
                auto index = make(ExprKind::Index, line);
                if (peek().kind != TokenKind::Number || !peek().integral) {
                    throw CompileError{line, "only constant integer indices are supported"};
                }
                index->number = next().number;
                expect("]");
                adopt(*index, std::move(e));
                e = std::move(index);
            } else {
                return e;
            }
        }
    }
    std::unique_ptr<Expr> primary() {
        const Token& t = peek();
        int line = t.line;
        if (t.kind == TokenKind::Number) {
            auto e = make(ExprKind::Number, line);
            e->number = next().number;
            return e;
        }
        if (accept("(")) {
            std::unique_ptr<Expr> e = expression();
            expect(")");
            return e;
        }
        if (t.kind != TokenKind::Name) fail("expected an expression");
        std::string word = next().text;
        if (!isPunct("(")) {
            auto e = make(ExprKind::Name, line);
            e->text = word;
            return e;
        }
        next();
        auto e = make(typeFromName(word) ? ExprKind::Construct : ExprKind::Call, line);
        e->text = word;
        if (!isPunct(")")) {
            do {
                adopt(*e, expression());
            } while (accept(","));
        }
        expect(")");
        return e;
    }

    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    Unit unit_;
};

}  // namespace

std::optional<Type> typeFromName(std::string_view name) {
    std::string_view rest;
    if (name.substr(0, 5) == "float") {
        rest = name.substr(5);
    } else if (name.substr(0, 4) == "half") {
        rest = name.substr(4);
    } else {
        return std::nullopt;
    }
    auto digit = [](char c) { return c >= '1' && c <= '4' ? c - '0' : 0; };
    Type t;
    t.name = std::string(name);
    if (rest.empty()) return t;
    if (rest.size() == 1 && digit(rest[0])) {
        t.size = digit(rest[0]);
        if (t.size == 1) t.name = name.substr(0, name.size() - 1);
        return t;
    }
    if (rest.size() == 3 && digit(rest[0]) && rest[1] == 'x' && digit(rest[2])) {
        t.rows = digit(rest[0]);
        t.size = digit(rest[2]);
        return t;
    }
    return std::nullopt;
}

Unit parseUnit(std::string_view source) { return Parser(tokenize(source)).run(); }

}  // namespace demo::slc
