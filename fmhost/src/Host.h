// One run of fmhost: installs the calculation engine, loads and starts the plug-in, evaluates
// the statements on a calculation thread while the main thread runs the loop, and shuts the
// plug-in down at the end. Created and run on the main thread.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "ActionQueue.h"
#include "Options.h"
#include "Statement.h"

namespace fmhost {

class Host {
public:
    Host(Options options, std::ostream& out, std::ostream& err);

    // Runs every statement and answers the exit status (0, 2 or 3).
    int run(const std::vector<Statement>& statements);

private:
    // Writes which queued actions could not be carried out.
    void reportLeftOver(const std::vector<ActionQueue::Entry>& leftOver, const std::string& when);

    Options options_;
    std::ostream& out_;
    std::ostream& err_;
    ActionQueue actions_;
};

}  // namespace fmhost
