#pragma once
// The syntax tree of a vertex-language source: one entry function of
// parameters and straight-line statements. The checker fills in the types
// and the symbols that names refer to.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace demo::slc {

// float (1), floatN (N) or a matrix of `rows` rows of `size` columns.
struct Type {
    int size = 1;
    int rows = 0;  // 0: scalar or vector
    std::string name;  // as the directive lines name it: "float4", "half4x4"

    bool isMatrix() const { return rows > 0; }
    bool operator==(const Type& other) const { return size == other.size && rows == other.rows; }
};

enum class Qualifier { In, Uniform, Out, Local };

struct Symbol {
    std::string name;
    Type type;
    Qualifier qualifier = Qualifier::Local;
    std::string semantic;  // upper case, e.g. "TEXCOORD0"
    int line = 0;
    int arraySize = 0;  // uniform arrays: the element count, one c[] row each
};

enum class ExprKind { Number, Name, Swizzle, Index, Call, Construct, Negate, Binary };

struct Expr {
    ExprKind kind = ExprKind::Number;
    int line = 0;
    double number = 0;       // Number; the constant index of Index
    std::string text;        // Name, Call and Construct names; Swizzle letters
    char op = 0;             // Binary: + - * /
    std::vector<std::unique_ptr<Expr>> args;
    int height = 1;          // nodes on the longest path down; the parser bounds it
    // Filled by the checker.
    Type type;
    int symbol = -1;                              // Name
    std::array<std::uint8_t, 4> components{};     // Swizzle
};

struct Statement {
    int line = 0;
    int declares = -1;  // symbol declared by this statement, or -1
    std::unique_ptr<Expr> target;  // Name or Swizzle of a Name; null for a bare declaration
    char op = '=';                 // '=' or the operator of a compound assignment
    std::unique_ptr<Expr> value;   // may be null for a declaration
};

struct Function {
    std::string name;
    int line = 0;
    std::vector<int> parameters;  // symbols, in declaration order
    std::vector<Statement> body;
};

struct Unit {
    std::vector<Symbol> symbols;
    std::vector<Function> functions;
};

}  // namespace demo::slc
