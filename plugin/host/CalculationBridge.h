// The calculation bridge: while a dialog session runs, the dialog's requests to evaluate a
// FileMaker calculation ("evaluateCalculation", with the field text "x" and the calculation
// "calc") are evaluated in the host with the environment of the Brelka_InputDialog call, and
// the answer goes back as "calculationResult": "0" for a true number, the text of a text
// result, and "" for anything else.
//
// Thread: observe() on the calling thread; the requests are evaluated on the main thread while
// the calling thread waits in the session.
#pragma once

#include <string>
#include <string_view>

#include "fmx/fmx.h"
#include "ui/NotificationCenter.h"

namespace brelka {

class CalculationBridge {
public:
    static constexpr const char* kRequest = "evaluateCalculation";
    static constexpr const char* kAnswer = "calculationResult";

    // Serves requests with `env` until the returned handle is removed or destroyed; removal
    // waits for a request being evaluated, so `env` may end right after.
    [[nodiscard]] static ui::NotificationCenter::Observer observe(const fmx::ExprEnv& env);

    // Let ( x = "<x as a text literal>" ; <calc> ): x stands for exactly the field's text.
    static std::string expression(std::string_view x, std::string_view calc);
    // The answer text for an evaluation's result.
    static std::string answer(const fmx::Data& result);
};

}  // namespace brelka
