// The statements waiting for the calculation thread of `fmhost serve`: the script's first,
// then whatever the person types on the page. Any thread may push; the calculation thread
// takes them in order and waits while there are none, until the queue is closed.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "Statement.h"

namespace fmhost {

class CalculationQueue {
public:
    // Answers false (and drops the statement) once the queue is closed.
    bool push(Statement statement);
    // The next statement, waiting for one; nothing once the queue is closed.
    std::optional<Statement> take();
    // Wakes the taker for good; statements still waiting are dropped and counted.
    std::size_t close();
    std::size_t size() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Statement> statements_;
    bool closed_ = false;
};

}  // namespace fmhost
