#include "store/Value.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace brelka {

namespace {

constexpr std::size_t kLongestShownText = 256;

void appendNumber(std::string& out, double number) {
    if (!std::isfinite(number)) {
        out += '?';
        return;
    }
    if (number == 0) {
        out += '0';  // also for -0
        return;
    }
    // Fixed notation, shortest digits that read back as the same double. The largest double
    // needs 309 digits before the point; the smallest about 330 after it.
    char buffer[400];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, number,
                                      std::chars_format::fixed);
    if (error != std::errc()) {
        out += '?';
        return;
    }
    out.append(buffer, end);
}

}  // namespace

std::string numberAsText(double number) {
    std::string out;
    appendNumber(out, number);
    return out;
}

std::string numberWithFraction(double number) {
    std::string out = numberAsText(number);
    if (std::isfinite(number) && out.find('.') == std::string::npos) {
        out += ".0";
    }
    return out;
}

void appendValueAsText(std::string& out, const Value& value) {
    if (auto text = std::get_if<std::string>(&value)) {
        out += *text;
    } else if (auto number = std::get_if<double>(&value)) {
        appendNumber(out, *number);
    } else if (auto flag = std::get_if<bool>(&value)) {
        out += *flag ? '1' : '0';
    } else if (auto image = std::get_if<ImageRef>(&value); image && *image) {
        out += (*image)->description();
    }
}

std::string valueAsText(const Value& value) {
    if (auto text = std::get_if<std::string>(&value)) {
        return *text;
    }
    std::string out;
    appendValueAsText(out, value);
    return out;
}

namespace {

void appendEscaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\0': out += "\\0"; break;
        default: out += c;
        }
    }
}

}  // namespace

void appendForLog(std::string& out, std::string_view text) {
    // Long texts are cut so that a line stays readable; never inside a character.
    std::size_t shown = std::min(text.size(), kLongestShownText);
    while (shown < text.size() && shown > 0 &&
           (static_cast<unsigned char>(text[shown]) & 0xC0) == 0x80) {
        --shown;
    }
    appendEscaped(out, text.substr(0, shown));
    if (shown < text.size()) {
        out += "... (" + std::to_string(text.size()) + " bytes)";
    }
}

std::string describeDictionary(const Dictionary& dictionary) {
    std::string out = "{";
    for (const auto& [key, value] : dictionary) {
        if (out.size() > 1) {
            out += ", ";
        }
        out += key;
        out += ": ";
        if (auto text = std::get_if<std::string>(&value)) {
            out += '"';
            appendForLog(out, *text);
            out += '"';
        } else if (std::holds_alternative<bool>(value)) {
            out += std::get<bool>(value) ? "true" : "false";
        } else {
            appendValueAsText(out, value);
        }
    }
    out += '}';
    return out;
}

}  // namespace brelka
