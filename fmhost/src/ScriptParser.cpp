#include "ScriptParser.h"

#include <unicode/utf8.h>

#include <cstdio>
#include <vector>

namespace fmhost {

namespace {

std::string at(const std::string& name, size_t line) { return name + ":" + std::to_string(line); }

// Refuses ill-formed UTF-8 with the line and column of the first bad byte, rather than
// handing the engine replacement characters the user never wrote.
void checkUtf8(std::string_view text, const std::string& name, bool withLines) {
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int64_t>(text.size());
    size_t line = 1;
    int64_t lineStart = 0;
    int64_t i = 0;
    while (i < length) {
        const int64_t start = i;
        if (s[i] < 0x80) {
            if (s[i] == '\n') {
                ++line;
                lineStart = i + 1;
            }
            ++i;
            continue;
        }
        // U8_NEXT works on 32-bit offsets; a window over the next few bytes keeps it valid
        // for texts of any size.
        const uint8_t* window = s + i;
        int32_t offset = 0;
        const auto windowLength = static_cast<int32_t>(std::min<int64_t>(length - i, 4));
        UChar32 c = 0;
        U8_NEXT(window, offset, windowLength, c);
        i += offset;
        if (c < 0) {
            char byte[8];
            std::snprintf(byte, sizeof byte, "0x%02X", s[start]);
            std::string where = withLines ? at(name, line) : name;
            throw ScriptError(where + ": invalid UTF-8 (byte " + byte + " at column " +
                              std::to_string(start - lineStart + 1) + "); save the script as UTF-8");
        }
    }
}

// Follows parentheses, brackets, text literals and comments across the lines of one
// calculation. An explicit stack keeps deeply nested input from exhausting the C++ stack.
class Balance {
public:
    Balance(const std::string& name, size_t firstLine) : name_(name), firstLine_(firstLine) {}

    // Scans one line (without its line break). Throws ScriptError for a stray closer.
    void feed(std::string_view line, size_t lineNo) {
        size_t i = 0;
        while (i < line.size()) {
            const char c = line[i];
            if (inBlockComment_) {
                if (c == '*' && i + 1 < line.size() && line[i + 1] == '/') {
                    inBlockComment_ = false;
                    i += 2;
                } else {
                    ++i;
                }
            } else if (inText_) {
                if (c == '\\' && i + 1 < line.size()) {
                    i += 2;
                } else {
                    if (c == '"') inText_ = false;
                    ++i;
                }
            } else if (c == '"') {
                inText_ = true;
                textLine_ = lineNo;
                ++i;
            } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
                return;
            } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '*') {
                inBlockComment_ = true;
                blockLine_ = lineNo;
                i += 2;
            } else if (c == '(' || c == '[') {
                open_.push_back({c, lineNo});
                ++i;
            } else if (c == ')' || c == ']') {
                const char expected = c == ')' ? '(' : '[';
                if (open_.empty())
                    throw ScriptError(at(name_, lineNo) + ": '" + c + "' has no matching '" + expected + "'" +
                                      context(lineNo));
                if (open_.back().c != expected)
                    throw ScriptError(at(name_, lineNo) + ": '" + c + "' closes the '" + open_.back().c +
                                      "' opened on line " + std::to_string(open_.back().line) + context(lineNo));
                open_.pop_back();
                ++i;
            } else {
                ++i;
            }
        }
    }

    bool balanced() const { return open_.empty() && !inText_ && !inBlockComment_; }
    bool inText() const { return inText_; }

    // Why the calculation never ends, for the end of the script.
    std::string unclosed() const {
        std::string what;
        if (inText_)
            what = "the text literal opened on line " + std::to_string(textLine_) + " is not closed (missing '\"')";
        else if (inBlockComment_)
            what = "the comment opened on line " + std::to_string(blockLine_) + " is not closed (missing '*/')";
        else
            what = std::to_string(open_.size()) + " unclosed '" + open_.back().c + "', the last opened on line " +
                   std::to_string(open_.back().line);
        return at(name_, firstLine_) + ": the calculation starting here never balances: " + what;
    }

private:
    std::string context(size_t lineNo) const {
        return lineNo == firstLine_ ? "" : " (in the calculation starting on line " + std::to_string(firstLine_) + ")";
    }

    struct Open {
        char c;
        size_t line;
    };
    const std::string& name_;
    size_t firstLine_;
    std::vector<Open> open_;
    bool inText_ = false;
    bool inBlockComment_ = false;
    size_t textLine_ = 0;
    size_t blockLine_ = 0;
};

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Replaces line breaks inside text literals by carriage returns, as the paragraph marks that
// they are in the calculation language.
std::string calculationText(std::string_view source) {
    std::string out(source);
    bool inText = false, inLineComment = false, inBlockComment = false;
    for (size_t i = 0; i < out.size(); ++i) {
        const char c = out[i];
        if (inLineComment) {
            if (c == '\n') inLineComment = false;
        } else if (inBlockComment) {
            if (c == '*' && i + 1 < out.size() && out[i + 1] == '/') {
                inBlockComment = false;
                ++i;
            }
        } else if (inText) {
            if (c == '\\' && i + 1 < out.size() && out[i + 1] != '\n') {
                ++i;
            } else if (c == '"') {
                inText = false;
            } else if (c == '\n') {
                out[i] = '\r';
            }
        } else if (c == '"') {
            inText = true;
        } else if (c == '/' && i + 1 < out.size() && out[i + 1] == '/') {
            inLineComment = true;
        } else if (c == '/' && i + 1 < out.size() && out[i + 1] == '*') {
            inBlockComment = true;
            ++i;
        }
    }
    return out;
}

}  // namespace

std::vector<Statement> ScriptParser::parseScript(std::string_view text, const std::string& name) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    checkUtf8(text, name, true);

    std::vector<std::string_view> lines;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }

    std::vector<Statement> statements;
    for (size_t i = 0; i < lines.size(); ++i) {
        const size_t lineNo = i + 1;
        const std::string_view content = trimmed(lines[i]);
        if (content.empty() || content.front() == '#') continue;

        Statement statement;
        statement.origin = at(name, lineNo);
        if (content.front() == '@') {
            try {
                statement.action = Action::parse(content);
            } catch (const std::invalid_argument& e) {
                throw ScriptError(statement.origin + ": " + e.what());
            }
            statement.source = std::string(content);
            statements.push_back(std::move(statement));
            continue;
        }

        Balance balance(name, lineNo);
        size_t last = i;
        balance.feed(lines[i], lineNo);
        while (!balance.balanced()) {
            if (last + 1 >= lines.size()) throw ScriptError(balance.unclosed());
            ++last;
            balance.feed(lines[last], last + 1);
        }
        for (size_t k = i; k <= last; ++k) {
            if (k > i) statement.source += '\n';
            statement.source += lines[k];
        }
        statement.calculation = calculationText(statement.source);
        statements.push_back(std::move(statement));
        i = last;
    }
    return statements;
}

Statement ScriptParser::parseCalculation(std::string_view text, const std::string& origin) {
    checkUtf8(text, origin, false);
    Statement statement;
    statement.origin = origin;
    statement.source = std::string(text);
    statement.calculation = calculationText(text);
    return statement;
}

}  // namespace fmhost
