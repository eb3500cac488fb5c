#include "Evaluator.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <exception>
#include <new>

#include "Builtins.h"
#include "CalcError.h"
#include "DateTime.h"
#include "Parser.h"
#include "TextOps.h"
#include "Variables.h"

namespace calc {

namespace {

using Type = Value::Type;

Value checkedNumber(double n, const char* what) {
    if (!std::isfinite(n)) throw CalcError(errc::kNumberNotEvaluable, std::string("The result of ") + what + " is not a number");
    return Value::number(n);
}

bool isPlainNumber(const Value& v) {
    return v.type() == Type::Number || v.type() == Type::Boolean || v.type() == Type::Text;
}

// Text against a date, time or number: the text is read as that kind of value when it
// spells one, else both sides compare as texts.
std::optional<double> numberLike(const Value& text, Type as) {
    const std::u16string& t = text.rawText();
    switch (as) {
    case Type::Date:
        if (auto d = DateTime::parseDate(t)) return d;
        break;
    case Type::Time:
        if (auto s = DateTime::parseTime(t)) return s;
        break;
    case Type::Timestamp:
        if (auto s = DateTime::parseTimestamp(t)) return s;
        break;
    default:
        break;
    }
    return TextOps::parseNumber(t);
}

int compareValues(const Value& a, const Value& b) {
    auto numeric = [](double x, double y) { return x < y ? -1 : x > y ? 1 : 0; };
    bool aText = a.isText() || a.type() == Type::Container;
    bool bText = b.isText() || b.type() == Type::Container;
    if (aText && bText) return TextOps::compareIgnoringCase(a.asText(), b.asText());
    if (!aText && !bText) return numeric(a.rawNumber(), b.rawNumber());
    const Value& text = aText ? a : b;
    const Value& other = aText ? b : a;
    std::optional<double> n = text.type() == Type::Container ? std::nullopt : numberLike(text, other.type());
    if (!n) return TextOps::compareIgnoringCase(a.asText(), b.asText());
    return aText ? numeric(*n, other.rawNumber()) : numeric(other.rawNumber(), *n);
}

Value add(const Value& a, const Value& b) {
    Type ta = a.type(), tb = b.type();
    if (ta == Type::Date && isPlainNumber(b)) return Value::date(a.rawNumber() + std::trunc(b.asNumber()));
    if (tb == Type::Date && isPlainNumber(a)) return Value::date(b.rawNumber() + std::trunc(a.asNumber()));
    if (ta == Type::Date && tb == Type::Time)
        return Value::timestamp((a.rawNumber() - 1) * DateTime::kSecondsPerDay + b.rawNumber());
    if (tb == Type::Date && ta == Type::Time)
        return Value::timestamp((b.rawNumber() - 1) * DateTime::kSecondsPerDay + a.rawNumber());
    if (ta == Type::Time && isPlainNumber(b)) return Value::time(a.rawNumber() + b.asNumber());
    if (tb == Type::Time && isPlainNumber(a)) return Value::time(b.rawNumber() + a.asNumber());
    if (ta == Type::Time && tb == Type::Time) return Value::time(a.rawNumber() + b.rawNumber());
    if (ta == Type::Timestamp && (isPlainNumber(b) || tb == Type::Time))
        return Value::timestamp(a.rawNumber() + b.asNumber());
    if (tb == Type::Timestamp && (isPlainNumber(a) || ta == Type::Time))
        return Value::timestamp(b.rawNumber() + a.asNumber());
    return checkedNumber(a.asNumber() + b.asNumber(), "an addition");
}

Value subtract(const Value& a, const Value& b) {
    Type ta = a.type(), tb = b.type();
    if (ta == Type::Date && isPlainNumber(b)) return Value::date(a.rawNumber() - std::trunc(b.asNumber()));
    if (ta == Type::Time && (isPlainNumber(b) || tb == Type::Time)) return Value::time(a.rawNumber() - b.asNumber());
    if (ta == Type::Timestamp && (isPlainNumber(b) || tb == Type::Time))
        return Value::timestamp(a.rawNumber() - b.asNumber());
    return checkedNumber(a.asNumber() - b.asNumber(), "a subtraction");
}

Value truth(bool b) { return Value::number(b ? 1 : 0); }

}  // namespace

Value Evaluator::evaluateSource(std::u16string_view source, EvalContext& context, const Scope& scope) {
    Run::Variables& vars = context.run.variables();
    if (vars.evaluationDepth >= context.limits.maxEvaluationDepth)
        throw CalcError(errc::kGeneric, "Evaluate is nested too deeply");
    struct DepthScope {
        int& depth;
        explicit DepthScope(int& d) : depth(d) { ++depth; }
        ~DepthScope() { --depth; }
    } depth(vars.evaluationDepth);
    std::vector<std::u16string> names;
    for (const auto& entry : scope) names.push_back(entry.first);
    Parser parser(source, context.externals, context.limits.maxNesting, context.guard, std::move(names));
    Program program = parser.parse();
    Evaluator evaluator(program, context);
    evaluator.scope_ = scope;
    return evaluator.run();
}

Value Evaluator::eval(std::int32_t index) {
    if (++ctx_.steps > ctx_.limits.maxSteps)
        throw CalcError(errc::kGeneric, "The calculation takes too many steps to be evaluated");
    ctx_.guard.check();
    const Node& node = at(index);
    switch (node.kind) {
    case Node::Kind::Literal:
        return node.literal;
    case Node::Kind::Variable: {
        auto& values = ctx_.run.variables().values;
        auto it = values.find(node.name);
        return it == values.end() ? Value::text({}) : it->second;
    }
    case Node::Kind::Name:
        for (auto it = scope_.rbegin(); it != scope_.rend(); ++it)
            if (it->first == node.name) return it->second;
        return Value::text({});
    case Node::Kind::Unary:
        return unary(node);
    case Node::Kind::Binary:
        return binary(node);
    case Node::Kind::Builtin:
        return builtin(node);
    case Node::Kind::External:
        return external(node);
    case Node::Kind::Let:
        return let(node);
    case Node::Kind::Get:
        return get(node);
    case Node::Kind::List:
        break;
    }
    throw CalcError(errc::kListNotAllowed, "List usage is not allowed here");
}

Value Evaluator::unary(const Node& node) {
    Value v = eval(node.args[0]);
    switch (node.op) {
    case Op::Not:
        return truth(!v.asBoolean());
    case Op::Neg:
        if (v.type() == Type::Time) return Value::time(-v.rawNumber());
        return Value::number(-v.asNumber());
    default:
        if (v.isNumeric()) return v;
        return Value::number(v.asNumber());
    }
}

Value Evaluator::binary(const Node& node) {
    // `and` and `or` stop as soon as the left side decides the result.
    if (node.op == Op::And) return truth(test(node.args[0]) && test(node.args[1]));
    if (node.op == Op::Or) return truth(test(node.args[0]) || test(node.args[1]));
    Value a = eval(node.args[0]);
    Value b = eval(node.args[1]);
    return apply(node.op, a, b);
}

Value Evaluator::apply(Op op, const Value& a, const Value& b) {
    switch (op) {
    case Op::Xor: return truth(a.asBoolean() != b.asBoolean());
    case Op::Add: return add(a, b);
    case Op::Sub: return subtract(a, b);
    case Op::Mul: return checkedNumber(a.asNumber() * b.asNumber(), "a multiplication");
    case Op::Div: {
        double divisor = b.asNumber();
        if (divisor == 0) throw CalcError(errc::kDivideByZero, "Division by zero");
        return checkedNumber(a.asNumber() / divisor, "a division");
    }
    case Op::Pow: return checkedNumber(std::pow(a.asNumber(), b.asNumber()), "a power");
    case Op::Concat: {
        std::u16string text = a.asText();
        std::u16string right = b.asText();
        if (text.size() + right.size() > ctx_.limits.maxTextLength)
            throw CalcError(errc::kOutOfMemory, "The text would be too long");
        text += right;
        return Value::text(std::move(text));
    }
    case Op::Eq: return truth(compareValues(a, b) == 0);
    case Op::Ne: return truth(compareValues(a, b) != 0);
    case Op::Lt: return truth(compareValues(a, b) < 0);
    case Op::Gt: return truth(compareValues(a, b) > 0);
    case Op::Le: return truth(compareValues(a, b) <= 0);
    case Op::Ge: return truth(compareValues(a, b) >= 0);
    default: break;
    }
    throw CalcError(errc::kGeneric, "Internal error: unknown operator");
}

Value Evaluator::builtin(const Node& node) {
    const auto fn = static_cast<Fn>(node.builtin);
    const auto& args = node.args;
    switch (fn) {
    case Fn::If:
        if (test(args[0])) return eval(args[1]);
        return args.size() > 2 ? eval(args[2]) : Value::text({});
    case Fn::Case:
        for (std::size_t i = 0; i + 1 < args.size(); i += 2)
            if (test(args[i])) return eval(args[i + 1]);
        return args.size() % 2 == 1 ? eval(args.back()) : Value::text({});
    case Fn::Choose: {
        double n = std::trunc(number(args[0]));
        if (n < 0 || n + 1 >= static_cast<double>(args.size()) || std::isnan(n)) return Value::text({});
        return eval(args[static_cast<std::size_t>(n) + 1]);
    }
    case Fn::Evaluate:
        return evaluate(node);
    case Fn::Substitute:
        if (args.size() > 1 && at(args[1]).kind == Node::Kind::List) return substituteLists(node);
        break;
    default:
        break;
    }
    return eager(node);
}

bool Evaluator::test(std::int32_t index) { return eval(index).asBoolean(); }

double Evaluator::number(std::int32_t index) { return eval(index).asNumber(); }

Value Evaluator::evaluate(const Node& node) {
    Value source = eval(node.args[0]);
    if (node.args.size() > 1) eval(node.args[1]);  // the fields that trigger re-evaluation; nothing to watch here
    return evaluateSource(source.asText(), ctx_, scope_);
}

Value Evaluator::eager(const Node& node) {
    std::vector<Value> values;
    values.reserve(node.args.size());
    for (std::int32_t arg : node.args) values.push_back(eval(arg));
    return Builtins::call(static_cast<Fn>(node.builtin), values, ctx_.limits.maxTextLength);
}

Value Evaluator::substituteLists(const Node& node) {
    Value text = Value::text(eval(node.args[0]).asText());
    for (std::size_t i = 1; i < node.args.size(); ++i) {
        const Node& pair = at(node.args[i]);
        std::u16string search = eval(pair.args[0]).asText();
        std::u16string replacement = eval(pair.args[1]).asText();
        text = Builtins::substitute(text.rawText(), search, replacement, ctx_.limits.maxTextLength);
    }
    return text;
}

Value Evaluator::external(const Node& node) {
    fmx::DataVect parameters;
    for (std::int32_t arg : node.args) parameters.PushBack(eval(arg).toData());
    fmx::Data result;
    fmx::ExprEnv env(&ctx_.run);
    fmx::errcode code = 0;
    std::string name = TextOps::toUtf8(node.name);
    // A plug-in must not throw across the host interface; if one does, its call fails alone.
    try {
        code = node.function(node.functionId, env, parameters, result);
    } catch (const std::bad_alloc&) {
        throw CalcError(errc::kOutOfMemory, "The function \"" + name + "\" ran out of memory");
    } catch (const std::exception& e) {
        throw CalcError(errc::kGeneric, "The function \"" + name + "\" failed: " + e.what());
    } catch (...) {
        throw CalcError(errc::kGeneric, "The function \"" + name + "\" failed");
    }
    if (code != 0)
        throw CalcError(code, "The function \"" + name + "\" reported error " + std::to_string(code));
    return Value::fromData(result);
}

Value Evaluator::let(const Node& node) {
    std::size_t scopeSize = scope_.size();
    auto& variables = ctx_.run.variables().values;
    for (std::size_t i = 0; i < node.names.size(); ++i) {
        Value v = eval(node.args[i]);
        const std::u16string& name = node.names[i];
        if (name[0] == u'$') variables[name] = std::move(v);
        else scope_.emplace_back(name, std::move(v));
    }
    Value result = eval(node.args.back());
    scope_.resize(scopeSize);
    return result;
}

Value Evaluator::get(const Node& node) {
    const std::u16string& s = node.name;
    if (s == u"systemplatform") {
        // This host stands in for an app built with the iOS App SDK, whose platform is 3.
        return Value::number(3);
    }
    if (s == u"applicationversion") return Value::text(ctx_.applicationVersion);
    if (s == u"lasterror") return Value::number(0);
    if (s == u"scriptparameter") return Value::text({});
    if (s == u"systemlanguage") return Value::text(u"English");
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    double date = DateTime::dateSerial(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
    double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
    if (s == u"currentdate") return Value::date(date);
    if (s == u"currenttime") return Value::time(seconds);
    return Value::timestamp((date - 1) * DateTime::kSecondsPerDay + seconds);
}

}  // namespace calc
