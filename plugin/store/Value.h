// The values the plug-in passes around: the entries of the parameter dictionary of a call and
// of the settings store. A value keeps the form it arrived in: text (UTF-8), number, boolean
// or decoded image.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "ui/Image.h"

namespace brelka {

using ImageRef = std::shared_ptr<const ui::Image>;
using Value = std::variant<std::string, double, bool, ImageRef>;
// Keys are compared as exact strings; std::less<> lets string_view keys look entries up
// without building a string.
using Dictionary = std::map<std::string, Value, std::less<>>;

// A number as scripts read it: whole numbers without a fractional part ("300"), anything
// else in its shortest decimal form ("1.5"); never an exponent. NaN and infinities give "?".
std::string numberAsText(double number);
// A whole number shows ".0" ("1024.0"); others as numberAsText.
std::string numberWithFraction(double number);
// A text is itself, a number as numberAsText, a boolean "1" or "0", an image its description.
std::string valueAsText(const Value& value);
void appendValueAsText(std::string& out, const Value& value);
// Appends `text` for a diagnostic line: quotes, backslashes, line breaks and NULs escaped so
// the line stays one line, and long texts cut (with their full size noted).
void appendForLog(std::string& out, std::string_view text);
// "{key: value, ...}" with texts quoted and escaped; for diagnostic lines only.
std::string describeDictionary(const Dictionary& dictionary);

}  // namespace brelka
