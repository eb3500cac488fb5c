// One statement of a run: a calculation to evaluate or a user action to queue. Plain value.
#pragma once

#include <optional>
#include <string>

#include "Action.h"

namespace fmhost {

struct Statement {
    // Where it came from, for messages: "demo.fmscript:12" or "-e #2".
    std::string origin;
    // The source as written: its lines joined with "\n". For an action, the `@` line.
    std::string source;
    // A calculation's source as the engine gets it: a line break inside a text literal is a
    // paragraph mark there, so it is handed over as a carriage return.
    std::string calculation;
    // Set for an action.
    std::optional<Action> action;

    bool isAction() const { return action.has_value(); }
};

}  // namespace fmhost
