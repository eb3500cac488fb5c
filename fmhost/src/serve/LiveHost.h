// One run of `fmhost serve`: the host of Host, on the real clock, with a person as the user.
// It starts the plug-in, serves the live page, runs the script's calculations and then those
// typed on the page on a calculation thread, and runs the toolkit's loop on the main thread:
// the page's input is handed to the window there, and the screen is drawn there whenever work
// ran and sent to the page when it looks different. It ends when the page is closed or on
// Ctrl-C, and then shuts the plug-in down. Created and run on the main thread.
#pragma once

#include <iosfwd>
#include <vector>

#include "Options.h"
#include "Statement.h"

namespace fmhost {

class LiveHost {
public:
    // Pixels per point of the pictures sent to the page (crisp on high-density displays).
    static constexpr double kScale = 2;
    // How long the host waits for a page that went away to come back (a reload) before it
    // ends.
    static constexpr double kReconnectGrace = 3;

    LiveHost(Options options, std::ostream& out, std::ostream& err);

    // Serves until the page is closed or a signal comes; answers the exit status: 0, 2 when
    // the plug-in or the server cannot start, 3 when it ended while a calculation still
    // waited for a dialog.
    int run(const std::vector<Statement>& statements);

private:
    Options options_;
    std::ostream& out_;
    std::ostream& err_;
};

}  // namespace fmhost
