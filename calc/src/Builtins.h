// FileMaker's built-in functions: their names, argument counts, and the bodies of those
// whose arguments are all evaluated first. If, Case, Choose, Let, Evaluate and Get need the
// evaluator and are carried out there. Stateless; safe from any thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Value.h"

namespace calc {

enum class Fn : int {
    If, Case, Choose, Evaluate,
    Length, Left, Right, Middle, Position, PatternCount, Substitute, Replace, Upper, Lower, Proper,
    Trim, Exact, IsEmpty, Filter, Quote, Char, Code,
    GetAsText, GetAsNumber, GetAsDate, GetAsTime, GetAsTimestamp,
    Int, Abs, Round, Truncate, Mod, Div, Min, Max, Ceiling, Floor, Sqrt, Sign,
    List, ValueCount, GetValue, LeftValues, RightValues, MiddleValues,
    Date, Time, Timestamp, Day, Month, Year, Hour, Minute, Seconds, DayOfWeek,
    Base64Decode, Base64Encode,
};

struct BuiltinInfo {
    Fn fn;
    const char* name;
    int minArgs;
    int maxArgs;  // -1: no limit
};

class Builtins {
public:
    // The function named `folded` (case-folded), or null.
    static const BuiltinInfo* find(const std::u16string& folded);
    // Runs an eagerly evaluated function. `maxText` bounds the length of a text it makes.
    // Throws CalcError for a failure FileMaker reports as an error.
    static Value call(Fn fn, std::vector<Value>& args, std::size_t maxText);
    // Replaces every occurrence of `search` (matching case) in `text`.
    static Value substitute(const std::u16string& text, const std::u16string& search,
                            const std::u16string& replacement, std::size_t maxText);
};

}  // namespace calc
