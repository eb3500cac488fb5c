#include "Parser.h"

#include <algorithm>
#include <memory>

#include "Builtins.h"
#include "CalcError.h"
#include "TextOps.h"

namespace calc {

namespace {

// Binding levels of the binary operators, lowest first.
int levelOf(Token::Kind kind) {
    switch (kind) {
    case Token::Kind::Or:
    case Token::Kind::Xor: return 1;
    case Token::Kind::And: return 2;
    case Token::Kind::Eq:
    case Token::Kind::Ne:
    case Token::Kind::Lt:
    case Token::Kind::Gt:
    case Token::Kind::Le:
    case Token::Kind::Ge: return 3;
    case Token::Kind::Amp: return 4;
    case Token::Kind::Plus:
    case Token::Kind::Minus: return 5;
    case Token::Kind::Star:
    case Token::Kind::Slash: return 6;
    case Token::Kind::Caret: return 7;
    default: return 0;
    }
}

Op opOf(Token::Kind kind) {
    switch (kind) {
    case Token::Kind::Or: return Op::Or;
    case Token::Kind::Xor: return Op::Xor;
    case Token::Kind::And: return Op::And;
    case Token::Kind::Eq: return Op::Eq;
    case Token::Kind::Ne: return Op::Ne;
    case Token::Kind::Lt: return Op::Lt;
    case Token::Kind::Gt: return Op::Gt;
    case Token::Kind::Le: return Op::Le;
    case Token::Kind::Ge: return Op::Ge;
    case Token::Kind::Amp: return Op::Concat;
    case Token::Kind::Plus: return Op::Add;
    case Token::Kind::Minus: return Op::Sub;
    case Token::Kind::Star: return Op::Mul;
    case Token::Kind::Slash: return Op::Div;
    default: return Op::Pow;
    }
}

std::string quoted(const std::u16string& name) { return "\"" + TextOps::toUtf8(name) + "\""; }

const char* describe(const Token& t) {
    switch (t.kind) {
    case Token::Kind::End: return "the end of the calculation";
    case Token::Kind::RParen: return "\")\"";
    case Token::Kind::RBracket: return "\"]\"";
    case Token::Kind::Separator: return "\";\"";
    default: return "this";
    }
}

}  // namespace

Parser::Parser(std::u16string_view source, const ExternalRegistry& externals, std::size_t maxNesting,
               const StackGuard& guard, std::vector<std::u16string> letScope)
    : lexer_(source), externals_(externals), maxNesting_(maxNesting), guard_(guard), letScope_(std::move(letScope)) {
    // Roughly one node per three characters of source; growing the array moves every node.
    program_.nodes.reserve(std::min<std::size_t>(source.size() / 3 + 4, 4096));
}

Program Parser::parse() {
    advance();
    if (token_.kind == Token::Kind::End) {
        // An empty calculation (only spaces or comments) gives an empty result, as
        // Evaluate ( "" ) does in FileMaker.
        Node empty;
        empty.literal = Value::text({});
        program_.root = add(std::move(empty));
        return std::move(program_);
    }
    program_.root = expression(1);
    if (token_.kind == Token::Kind::RParen)
        throw CalcError(errc::kUnbalancedParenthesis,
                        "Unbalanced parenthesis: \")\" at position " + std::to_string(token_.position + 1) +
                            " has no \"(\"");
    if (token_.kind != Token::Kind::End)
        throw CalcError(errc::kOperatorExpected,
                        "An operator is expected at position " + std::to_string(token_.position + 1));
    return std::move(program_);
}

void Parser::advance() { token_ = lexer_.next(); }

void Parser::enter() {
    if (++depth_ > maxNesting_)
        throw CalcError(errc::kGeneric, "The calculation is nested too deeply to be evaluated");
    guard_.check();
}

std::int32_t Parser::add(Node node) {
    program_.nodes.push_back(std::move(node));
    return static_cast<std::int32_t>(program_.nodes.size() - 1);
}

void Parser::unexpected() {
    if (token_.kind == Token::Kind::End && openParentheses_ > 0)
        throw CalcError(errc::kUnbalancedParenthesis, "Unbalanced parenthesis: the calculation ends before \")\"");
    throw CalcError(errc::kOperandExpected,
                    std::string("Number, text constant, field name or \"(\" expected at position ") +
                        std::to_string(token_.position + 1) + " instead of " + describe(token_));
}

void Parser::expect(Token::Kind kind, const char* what) {
    if (token_.kind == kind) {
        advance();
        return;
    }
    if (token_.kind == Token::Kind::End)
        throw CalcError(kind == Token::Kind::RParen ? errc::kUnbalancedParenthesis : errc::kUnexpectedEnd,
                        std::string(kind == Token::Kind::RParen ? "Unbalanced parenthesis: " : "") +
                            "the calculation ends where " + what + " is expected");
    throw CalcError(errc::kOperatorExpected, std::string(what) + " is expected at position " +
                                                 std::to_string(token_.position + 1));
}

// The functions on the recursive path (expression, unary, primary, call, arguments) keep
// their frames small and leave node building and messages to helpers, because their frames,
// repeated once per nesting level, decide how deep a calculation can nest on a thread's stack.

std::int32_t Parser::expression(int minLevel) {
    enter();
    std::int32_t left = unary();
    while (true) {
        int level = levelOf(token_.kind);
        if (level == 0 || level < minLevel) break;
        Op op = opOf(token_.kind);
        advance();
        std::int32_t right = expression(level + 1);
        left = operatorNode(op, left, right);
    }
    leave();
    return left;
}

std::int32_t Parser::operatorNode(Op op, std::int32_t left, std::int32_t right) {
    Node node;
    node.kind = right < 0 ? Node::Kind::Unary : Node::Kind::Binary;
    node.op = op;
    node.args = right < 0 ? std::vector<std::int32_t>{left} : std::vector<std::int32_t>{left, right};
    return add(std::move(node));
}

std::int32_t Parser::unary() {
    Op op;
    switch (token_.kind) {
    case Token::Kind::Not: op = Op::Not; break;
    case Token::Kind::Minus: op = Op::Neg; break;
    case Token::Kind::Plus: op = Op::Plus; break;
    default: return primary();
    }
    enter();
    advance();
    std::int32_t operand = unary();
    leave();
    if (op == Op::Neg && negateLiteral(operand)) return operand;
    return operatorNode(op, operand, -1);
}

bool Parser::negateLiteral(std::int32_t index) {
    // A minus before a number is part of the number.
    Node& lit = program_.nodes[static_cast<std::size_t>(index)];
    if (lit.kind != Node::Kind::Literal || lit.literal.type() != Value::Type::Number ||
        static_cast<std::size_t>(index) + 1 != program_.nodes.size())
        return false;
    const std::u16string& digits = lit.literal.rawText();
    lit.literal = digits.empty() ? Value::number(-lit.literal.rawNumber())
                                 : Value::numberWithText(-lit.literal.rawNumber(), u"-" + digits);
    return true;
}

std::int32_t Parser::primary() {
    switch (token_.kind) {
    case Token::Kind::Number:
    case Token::Kind::Text:
        return literal();
    case Token::Kind::LParen: {
        std::size_t open = token_.position;
        advance();
        ++openParentheses_;
        std::int32_t inner = expression(1);
        --openParentheses_;
        if (token_.kind != Token::Kind::RParen) unclosed(open);
        advance();
        return inner;
    }
    case Token::Kind::LBracket:
        throw CalcError(errc::kListNotAllowed, "List usage is not allowed here (\"[\" at position " +
                                                   std::to_string(token_.position + 1) + ")");
    case Token::Kind::Name: {
        std::unique_ptr<Token> name = std::make_unique<Token>(std::move(token_));
        advance();
        if (token_.kind == Token::Kind::LParen) return call(*name);
        return bareName(*name);
    }
    default:
        unexpected();
    }
}

std::int32_t Parser::literal() {
    Node node;
    if (token_.kind == Token::Kind::Number)
        node.literal = token_.text.empty() ? Value::number(token_.number)
                                           : Value::numberWithText(token_.number, std::move(token_.text));
    else
        node.literal = Value::text(std::move(token_.text));
    advance();
    return add(std::move(node));
}

void Parser::unclosed(std::size_t open) {
    if (token_.kind == Token::Kind::End)
        throw CalcError(errc::kUnbalancedParenthesis,
                        "Unbalanced parenthesis: \"(\" at position " + std::to_string(open + 1) + " is not closed");
    throw CalcError(errc::kOperatorExpected,
                    "An operator or \")\" is expected at position " + std::to_string(token_.position + 1));
}

std::int32_t Parser::bareName(const Token& name) {
    std::u16string folded = TextOps::foldCase(name.text);
    Node node;
    if (folded[0] == u'$') {
        if (folded == u"$" || folded == u"$$")
            throw CalcError(errc::kNameMissing, "A variable name is missing after \"$\"");
        node.kind = Node::Kind::Variable;
        node.name = std::move(folded);
        return add(std::move(node));
    }
    if (std::find(letScope_.rbegin(), letScope_.rend(), folded) != letScope_.rend()) {
        node.kind = Node::Kind::Name;
        node.name = std::move(folded);
        return add(std::move(node));
    }
    if (folded == u"true" || folded == u"false") {
        node.literal = Value::number(folded == u"true" ? 1 : 0);
        return add(std::move(node));
    }
    // A plug-in function that takes no arguments is called by its name alone.
    if (auto external = externals_.find(folded); external && external->minArgs == 0) {
        node.kind = Node::Kind::External;
        node.function = external->function;
        node.functionId = external->functionId;
        node.name = external->name;
        return add(std::move(node));
    }
    if (Builtins::find(folded) || externals_.find(folded))
        throw CalcError(errc::kFunctionNotFound, "The function " + quoted(name.text) +
                                                     " needs its parameters in parentheses");
    throw CalcError(errc::kFieldMissing, "The field " + quoted(name.text) + " cannot be found");
}

std::int32_t Parser::call(const Token& name) {
    std::unique_ptr<Node> node = callee(name);
    if (node->kind == Node::Kind::Let) return letCall();
    if (node->kind == Node::Kind::Get) return getCall(name);
    enter();
    ++openParentheses_;
    node->args = arguments(node->kind == Node::Kind::Builtin && static_cast<Fn>(node->builtin) == Fn::Substitute,
                           name.text);
    --openParentheses_;
    leave();
    return finishCall(std::move(node));
}

std::unique_ptr<Node> Parser::callee(const Token& name) {
    auto node = std::make_unique<Node>();
    std::u16string folded = TextOps::foldCase(name.text);
    // Let and Get have syntax of their own; the caller parses them.
    if (folded == u"let" || folded == u"get") {
        node->kind = folded == u"let" ? Node::Kind::Let : Node::Kind::Get;
        return node;
    }
    if (const BuiltinInfo* info = Builtins::find(folded)) {
        node->kind = Node::Kind::Builtin;
        node->builtin = static_cast<int>(info->fn);
        node->name = TextOps::fromAscii(info->name);
        node->minArgs = static_cast<fmx::int16>(info->minArgs);
        node->maxArgs = static_cast<fmx::int16>(info->maxArgs);
        return node;
    }
    std::optional<ExternalRegistry::Entry> external = externals_.find(folded);
    if (!external) throw CalcError(errc::kFunctionNotFound, "The function " + quoted(name.text) + " cannot be found");
    node->kind = Node::Kind::External;
    node->function = external->function;
    node->functionId = external->functionId;
    node->name = external->name;
    node->minArgs = external->minArgs;
    node->maxArgs = external->maxArgs;
    return node;
}

std::int32_t Parser::finishCall(std::unique_ptr<Node> node) {
    int count = static_cast<int>(node->args.size());
    const int minArgs = node->minArgs;
    const int maxArgs = node->maxArgs;
    if (count < minArgs) {
        std::string shownName = TextOps::toUtf8(node->name);
        throw CalcError(errc::kTooFewParameters, "Too few parameters in the function \"" + shownName + "\" (" +
                                                     std::to_string(count) + " given, at least " +
                                                     std::to_string(minArgs) + " needed)");
    }
    if (maxArgs >= 0 && count > maxArgs) {
        std::string shownName = TextOps::toUtf8(node->name);
        throw CalcError(errc::kTooManyParameters, "Too many parameters in the function \"" + shownName + "\" (" +
                                                      std::to_string(count) + " given, at most " +
                                                      std::to_string(maxArgs) + " allowed)");
    }
    if (node->kind == Node::Kind::Builtin && static_cast<Fn>(node->builtin) == Fn::Substitute) {
        // Either Substitute ( text ; search ; replace ) or any number of [ search ; replace ]
        // pairs after the text.
        bool anyList = false, allLists = true;
        for (std::size_t i = 1; i < node->args.size(); ++i) {
            bool isList = program_.nodes[static_cast<std::size_t>(node->args[i])].kind == Node::Kind::List;
            anyList |= isList;
            allLists &= isList;
        }
        if (anyList && !allLists)
            throw CalcError(errc::kListNotAllowed, "Substitute takes either one search and replacement or "
                                                   "only [ search ; replace ] lists");
        if (!anyList && count != 3)
            throw CalcError(count < 3 ? errc::kTooFewParameters : errc::kTooManyParameters,
                            std::string(count < 3 ? "Too few" : "Too many") +
                                " parameters in the function \"Substitute\"");
    }
    return add(std::move(*node));
}

std::vector<std::int32_t> Parser::arguments(bool listsAllowed, const std::u16string& functionName) {
    expect(Token::Kind::LParen, "\"(\"");
    std::vector<std::int32_t> args;
    if (token_.kind == Token::Kind::RParen) {
        advance();
        return args;
    }
    while (true) {
        if (token_.kind == Token::Kind::LBracket) {
            args.push_back(listArgument(listsAllowed, functionName));
        } else {
            args.push_back(expression(1));
        }
        if (token_.kind == Token::Kind::RParen) {
            advance();
            return args;
        }
        if (token_.kind == Token::Kind::End) unexpected();
        expect(Token::Kind::Separator, "\";\" or \")\"");
    }
}

std::int32_t Parser::listArgument(bool listsAllowed, const std::u16string& functionName) {
    if (!listsAllowed)
        throw CalcError(errc::kListNotAllowed, "List usage is not allowed in the function " + quoted(functionName));
    advance();
    Node list;
    list.kind = Node::Kind::List;
    while (true) {
        list.args.push_back(expression(1));
        if (token_.kind == Token::Kind::RBracket) break;
        expect(Token::Kind::Separator, "\";\" or \"]\"");
    }
    advance();
    if (list.args.size() != 2)
        throw CalcError(list.args.size() < 2 ? errc::kTooFewParameters : errc::kTooManyParameters,
                        "A Substitute list holds one search text and one replacement");
    return add(std::move(list));
}

std::int32_t Parser::letCall() {
    enter();
    ++openParentheses_;
    expect(Token::Kind::LParen, "\"(\"");
    bool list = token_.kind == Token::Kind::LBracket;
    if (list) advance();
    Node node;
    node.kind = Node::Kind::Let;
    std::size_t scopeSize = letScope_.size();
    while (true) {
        if (token_.kind != Token::Kind::Name) {
            if (token_.kind == Token::Kind::End) unexpected();
            throw CalcError(errc::kNameMissing, "A variable name is expected in Let at position " +
                                                    std::to_string(token_.position + 1));
        }
        std::u16string folded = TextOps::foldCase(token_.text);
        if (folded == u"$" || folded == u"$$")
            throw CalcError(errc::kNameMissing, "A variable name is missing after \"$\"");
        advance();
        expect(Token::Kind::Eq, "\"=\"");
        node.args.push_back(expression(1));
        // Each variable is visible to the definitions after it and to the result.
        if (folded[0] != u'$') letScope_.push_back(folded);
        node.names.push_back(std::move(folded));
        if (!list) break;
        if (token_.kind == Token::Kind::RBracket) {
            advance();
            break;
        }
        expect(Token::Kind::Separator, "\";\" or \"]\"");
    }
    expect(Token::Kind::Separator, "\";\"");
    node.args.push_back(expression(1));
    if (token_.kind != Token::Kind::RParen) {
        if (token_.kind == Token::Kind::Separator)
            throw CalcError(errc::kTooManyParameters, "Too many parameters in the function \"Let\"");
        expect(Token::Kind::RParen, "\")\"");
    }
    advance();
    letScope_.resize(scopeSize);
    --openParentheses_;
    leave();
    return add(std::move(node));
}

std::int32_t Parser::getCall(const Token& name) {
    (void)name;
    expect(Token::Kind::LParen, "\"(\"");
    if (token_.kind != Token::Kind::Name)
        throw CalcError(errc::kInvalidGetParameter, "This parameter is an invalid Get function parameter");
    std::u16string selector = TextOps::foldCase(token_.text);
    static const char16_t* const known[] = {u"systemplatform", u"applicationversion", u"currentdate",
                                            u"currenttime", u"currenttimestamp", u"lasterror",
                                            u"scriptparameter", u"systemlanguage"};
    if (std::find(std::begin(known), std::end(known), selector) == std::end(known))
        throw CalcError(errc::kInvalidGetParameter, "This parameter is an invalid Get function parameter: " +
                                                        TextOps::toUtf8(token_.text));
    advance();
    expect(Token::Kind::RParen, "\")\"");
    Node node;
    node.kind = Node::Kind::Get;
    node.name = std::move(selector);
    return add(std::move(node));
}

}  // namespace calc
