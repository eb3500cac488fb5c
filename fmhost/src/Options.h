// The command line of fmhost, parsed and checked. Plain value; parsed once on the main thread.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "ui/Screen.h"

namespace fmhost {

struct Options {
    std::vector<std::string> evals;       // -e, in order; they run before the script
    std::optional<std::string> script;    // SCRIPT; "-" reads standard input
    bool json = false;
    std::string plugin;                   // empty: the default module
    std::string screenName = "ipad";
    ui::ScreenProfile screen = ui::ScreenProfile::ipad();
    bool noWindow = false;
    std::string snapshotDir;              // empty: no snapshots
    double thinkSeconds = 0.5;
    bool log = false;
    // fmhost serve: the live preview in a browser, on 127.0.0.1:port (0 picks a free port).
    bool serve = false;
    int port = 8808;

};

// The outcome of parsing the command line: the options, or the exit status when the process
// should end now (0 after --help, 2 after bad usage; the message is already written).
struct ParsedOptions {
    std::optional<Options> options;
    int exitStatus = 0;
};

ParsedOptions parseOptions(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace fmhost
