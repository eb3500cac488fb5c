#include "Action.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace fmhost {

namespace {

// What each argument of an action must be.
enum class Arg { text, textOrIndex, seconds, path };

struct Form {
    std::string_view name;
    Action::Kind kind;
    std::vector<Arg> args;
    std::string_view usage;
};

const std::vector<Form>& forms() {
    static const std::vector<Form> table = {
        {"tap", Action::Kind::tap, {Arg::text}, "@tap \"T\""},
        {"type", Action::Kind::type, {Arg::textOrIndex, Arg::text}, "@type \"T\" \"text\" or @type #N \"text\""},
        {"return", Action::Kind::returnKey, {}, "@return"},
        {"toggle", Action::Kind::toggle, {Arg::text}, "@toggle \"T\""},
        {"select", Action::Kind::select, {Arg::text, Arg::text}, "@select \"T\" \"E\""},
        {"tapOutside", Action::Kind::tapOutside, {}, "@tapOutside"},
        {"tapPanel", Action::Kind::tapPanel, {}, "@tapPanel"},
        {"wait", Action::Kind::wait, {Arg::seconds}, "@wait SECONDS"},
        {"snapshot", Action::Kind::snapshot, {Arg::path}, "@snapshot FILE.png"},
        {"dump", Action::Kind::dump, {}, "@dump"},
        {"alert", Action::Kind::alert, {Arg::text}, "@alert \"B\""},
    };
    return table;
}

constexpr std::string_view kPilcrow = "\xC2\xB6";  // ¶ in UTF-8

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// One argument token: a text literal with its escapes resolved, or a bare word.
struct Token {
    std::string value;
    bool quoted = false;
};

// Splits the argument part of an action line. A text literal follows the calculation
// language: `\"` and `\\` escape, `\¶` is a literal pilcrow and `¶` a carriage return.
std::vector<Token> tokenize(std::string_view s) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (true) {
        while (i < s.size() && isBlank(s[i])) ++i;
        if (i >= s.size()) break;
        Token token;
        if (s[i] == '"') {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < s.size()) {
                if (s[i] == '"') {
                    closed = true;
                    ++i;
                    break;
                }
                if (s[i] == '\\' && i + 1 < s.size()) {
                    if (s.substr(i + 1, kPilcrow.size()) == kPilcrow) {
                        token.value += kPilcrow;
                        i += 1 + kPilcrow.size();
                    } else if (s[i + 1] == '"' || s[i + 1] == '\\') {
                        token.value += s[i + 1];
                        i += 2;
                    } else {
                        token.value += s[i++];
                    }
                } else if (s.substr(i, kPilcrow.size()) == kPilcrow) {
                    token.value += '\r';
                    i += kPilcrow.size();
                } else {
                    token.value += s[i++];
                }
            }
            if (!closed) throw std::invalid_argument("text literal is not closed (missing '\"')");
            if (i < s.size() && !isBlank(s[i]))
                throw std::invalid_argument("arguments must be separated by blanks");
        } else {
            while (i < s.size() && !isBlank(s[i])) token.value += s[i++];
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

// "#N" with N a whole number from 1: the Nth text input from the top.
std::optional<int> indexOf(const std::string& s) {
    if (s.size() < 2 || s.size() > 7 || s[0] != '#') return std::nullopt;
    int n = 0;
    for (size_t i = 1; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        n = n * 10 + (s[i] - '0');
    }
    if (n < 1) return std::nullopt;
    return n;
}

}  // namespace

std::string Action::knownNames() {
    std::string names;
    for (const Form& form : forms()) {
        if (!names.empty()) names += ", ";
        names += "@";
        names += form.name;
    }
    return names;
}

Action Action::parse(std::string_view line) {
    size_t start = 0;
    while (start < line.size() && isBlank(line[start])) ++start;
    while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
    if (start >= line.size() || line[start] != '@') throw std::invalid_argument("an action starts with '@'");

    Action action;
    action.source_ = std::string(line.substr(start));
    size_t nameEnd = start + 1;
    while (nameEnd < line.size() && !isBlank(line[nameEnd]) && line[nameEnd] != '"') ++nameEnd;
    std::string name(line.substr(start + 1, nameEnd - start - 1));

    const Form* form = nullptr;
    for (const Form& candidate : forms())
        if (candidate.name == name) form = &candidate;
    if (!form)
        throw std::invalid_argument("unknown action @" + name + " (known actions: " + knownNames() + ")");

    std::vector<Token> tokens = tokenize(line.substr(nameEnd));
    std::string usage = "; write it as " + std::string(form->usage);
    if (tokens.size() != form->args.size())
        throw std::invalid_argument("@" + name + " takes " + std::to_string(form->args.size()) +
                                    " argument" + (form->args.size() == 1 ? "" : "s") + ", not " +
                                    std::to_string(tokens.size()) + usage);

    action.kind_ = form->kind;
    action.name_ = name;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        switch (form->args[i]) {
        case Arg::text:
            if (!token.quoted)
                throw std::invalid_argument("argument " + std::to_string(i + 1) + " of @" + name +
                                            " must be a text in double quotes" + usage);
            action.arguments_.push_back(token.value);
            break;
        case Arg::textOrIndex:
            if (auto index = indexOf(token.value)) {
                action.inputIndex_ = index;
            } else if (!token.quoted) {
                throw std::invalid_argument("argument " + std::to_string(i + 1) + " of @" + name +
                                            " must be a text in double quotes or #N (N from 1)" + usage);
            }
            action.arguments_.push_back(token.value);
            break;
        case Arg::seconds: {
            char* end = nullptr;
            double value = std::strtod(token.value.c_str(), &end);
            if (token.quoted || token.value.empty() || *end != '\0' || !std::isfinite(value) || value < 0 ||
                value > 1e6)
                throw std::invalid_argument("@" + name + " needs a number of seconds from 0 to 1000000, not " +
                                            token.value);
            action.seconds_ = value;
            action.arguments_.push_back(token.value);
            break;
        }
        case Arg::path:
            if (token.value.empty()) throw std::invalid_argument("@" + name + " needs a file name" + usage);
            action.arguments_.push_back(token.value);
            break;
        }
    }
    return action;
}

}  // namespace fmhost
