// The scripted user's pending actions: queued by the calculation thread as the script reaches
// them, taken one at a time by the main thread when a dialog is on screen. The action being
// carried out still counts as pending until it is done, so that a call returning meanwhile
// sees it as left over. Owned by the Host; thread-safe.
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
    // Takes the next action into hand; it stays pending until done() or putBack().
    std::optional<Entry> take();
    // The action in hand has been carried out.
    void done();
    // The action in hand was not carried out: it goes back to the front (unless drained).
    void putBack();
    // Whether anything is pending, the action in hand included.
    bool empty() const;
    // Removes and answers everything pending, the action in hand first.
    std::vector<Entry> drain();

private:
    mutable std::mutex mutex_;
    std::deque<Entry> entries_;
    std::optional<Entry> inHand_;
};

}  // namespace fmhost
