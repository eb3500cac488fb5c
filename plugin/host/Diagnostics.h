// Diagnostic lines of the plug-in: the system log (ident "Brelka") and, when the host asks for
// it with BRELKA_LOG_STDERR=1 in the environment, standard error as well. The lines are for
// people reading logs, not an interface. Safe from any thread.
#pragma once

#include <string_view>

namespace brelka {

class Diagnostics {
public:
    // Whether any sink would receive a line now. Callers test it before building an expensive
    // line, so that calls on the hot path pay nothing when nobody listens. Cheap.
    static bool enabled();
    // Writes one line (without a trailing newline) to every active sink.
    static void log(std::string_view line);

    // Forces the standard-error sink on or off, overriding the environment; for tests.
    static void setStderrForTesting(bool on);
};

}  // namespace brelka
