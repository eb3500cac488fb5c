// One scripted user action (an `@` line of a script): what the simulated user does and its
// arguments, already checked. Plain value; made by the script parser on the main thread before
// anything runs, then handed to whoever carries out the actions.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fmhost {

class Action {
public:
    enum class Kind { tap, type, returnKey, toggle, select, tapOutside, tapPanel, wait, snapshot, dump, alert };

    // Parses an `@` line (leading blanks allowed). Throws std::invalid_argument with a message
    // fit for the user (without the line number) when the action is unknown or its arguments
    // do not fit.
    static Action parse(std::string_view line);

    Kind kind() const { return kind_; }
    // The action's name as written, without the `@`.
    const std::string& name() const { return name_; }
    // Text arguments with their literal escapes resolved (`¶` is a carriage return).
    const std::vector<std::string>& arguments() const { return arguments_; }
    // For `@type #N`: the input's position from the top, counted from 1.
    std::optional<int> inputIndex() const { return inputIndex_; }
    // For `@wait`.
    double seconds() const { return seconds_; }
    // The line as the script wrote it, for messages.
    const std::string& source() const { return source_; }

    // Every action name, for messages and help.
    static std::string knownNames();

private:
    Kind kind_ = Kind::tap;
    std::string name_;
    std::vector<std::string> arguments_;
    std::optional<int> inputIndex_;
    double seconds_ = 0;
    std::string source_;
};

}  // namespace fmhost
