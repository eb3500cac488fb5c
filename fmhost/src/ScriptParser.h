// Reads a script (or one `-e` calculation) into statements before anything runs, so that a
// script that can never run completely is refused with the line at fault instead of failing
// halfway. Stateless; any thread.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Statement.h"

namespace fmhost {

// A script that cannot run: the message names the file and line.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ScriptParser {
public:
    // Splits a script into statements. `name` is used in origins and messages. Throws
    // ScriptError for invalid UTF-8, a calculation that never balances, a stray closing
    // parenthesis or bracket, and an unknown or malformed action.
    static std::vector<Statement> parseScript(std::string_view text, const std::string& name);

    // One calculation given on the command line: checked for UTF-8, otherwise taken as it is
    // (a calculation that does not compile gives an error result when it runs).
    static Statement parseCalculation(std::string_view text, const std::string& origin);
};

}  // namespace fmhost
