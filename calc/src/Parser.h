// Turns a calculation's source into a Program: FileMaker's operators in their documented
// order (not; ^; * /; + -; &; comparisons; and; or xor; equal levels left to right), function
// calls with their argument counts checked, Let with its variables, Get selectors. Names that
// are neither functions nor variables are reported as FileMaker reports a missing field.
// Throws CalcError with FileMaker's code for anything it cannot parse. One Parser per
// source; single thread.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "ExternalRegistry.h"
#include "Lexer.h"
#include "Program.h"
#include "StackGuard.h"

namespace calc {

class Parser {
public:
    Parser(std::u16string_view source, const ExternalRegistry& externals, std::size_t maxNesting,
           const StackGuard& guard, std::vector<std::u16string> letScope = {});
    Program parse();

private:
    // The recursive descent; each level of nesting costs one frame of some of these.
    std::int32_t expression(int minLevel);
    std::int32_t unary();
    std::int32_t primary();
    std::int32_t call(const Token& name);
    std::int32_t letCall();
    std::vector<std::int32_t> arguments(bool listsAllowed, const std::u16string& functionName);

    // Helpers kept out of the recursive frames.
    [[gnu::noinline]] std::int32_t getCall(const Token& name);
    [[gnu::noinline]] std::int32_t listArgument(bool listsAllowed, const std::u16string& functionName);
    [[gnu::noinline]] std::int32_t operatorNode(Op op, std::int32_t left, std::int32_t right);
    [[gnu::noinline]] bool negateLiteral(std::int32_t index);
    [[gnu::noinline]] std::int32_t literal();
    [[gnu::noinline]] std::int32_t bareName(const Token& name);
    [[gnu::noinline]] std::unique_ptr<Node> callee(const Token& name);
    [[gnu::noinline]] std::int32_t finishCall(std::unique_ptr<Node> node);
    [[noreturn, gnu::noinline]] void unclosed(std::size_t open);
    std::int32_t add(Node node);
    void advance();
    void expect(Token::Kind kind, const char* what);
    [[noreturn, gnu::noinline]] void unexpected();
    void enter();
    void leave() { --depth_; }

    Lexer lexer_;
    Token token_;
    Program program_;
    const ExternalRegistry& externals_;
    std::size_t maxNesting_;
    std::size_t depth_ = 0;
    int openParentheses_ = 0;  // so that an early end is reported as an unclosed "("
    const StackGuard& guard_;
    std::vector<std::u16string> letScope_;  // folded names of the Let variables in scope
};

}  // namespace calc
