// A parsed calculation: its nodes in one array (children refer to each other by index, so
// that deep expressions are freed without recursion) and the index of the root. Built by the
// Parser, read by the Evaluator; immutable once built.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Value.h"
#include "fmx/fmx.h"

namespace calc {

enum class Op : unsigned char {
    Add, Sub, Mul, Div, Pow, Concat, Eq, Ne, Lt, Gt, Le, Ge, And, Or, Xor, Neg, Plus, Not,
};

struct Node {
    enum class Kind : unsigned char {
        Literal,   // literal
        Variable,  // $name or $$name; name folded
        Name,      // a bare name: a Let variable, True/False, or a missing field; name folded
        Unary,     // op, args[0]
        Binary,    // op, args[0], args[1]
        Builtin,   // builtin, args
        External,  // external call: function, functionId, args
        Let,       // names[i] = args[i], body = args.back()
        List,      // [ a ; b ] inside Substitute
        Get,       // name folded (the Get selector)
    };
    Kind kind = Kind::Literal;
    Op op = Op::Add;
    int builtin = 0;
    std::vector<std::int32_t> args;
    Value literal;
    std::u16string name;     // folded name, or the function's name as written for messages
    std::vector<std::u16string> names;
    fmx::ExtPluginType function = nullptr;
    fmx::int16 functionId = 0;
    fmx::int16 minArgs = 0;  // a function's argument counts, checked once its arguments are parsed
    fmx::int16 maxArgs = 0;
};

struct Program {
    std::vector<Node> nodes;
    std::int32_t root = -1;
};

}  // namespace calc
