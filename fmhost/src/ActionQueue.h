// The scripted user's pending actions: queued by the calculation thread as the script reaches
// them, taken by the main thread when a dialog is on screen. Owned by the Host; thread-safe.
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Action.h"

namespace fmhost {

class ActionQueue {
public:
    struct Entry {
        std::string origin;  // "demo.fmscript:12"
        Action action;
    };

    void push(Entry entry);
    std::optional<Entry> take();
    bool empty() const;
    // Removes and answers everything still queued.
    std::vector<Entry> drain();

private:
    mutable std::mutex mutex_;
    std::deque<Entry> entries_;
};

}  // namespace fmhost
