// The main run loop: one queue of work ordered by due time (then by scheduling order), run
// on the main thread, with the time taken from a clock.
//
// Any thread may schedule work; scheduling wakes a loop that waits. Only the main thread
// runs work. The main thread is the thread that loaded the toolkit, unless the host names
// another with adoptCurrentThreadAsMain().
//
// Two ways to run:
//  - real clock: run() blocks waiting for work or the next due item, until stop() or the
//    `until` condition holds;
//  - virtual clock: runUntilIdle() runs everything due now without moving time;
//    advance(t) runs everything due up to now + t in time order, moving the clock to each
//    item's due time as it goes, and leaves the clock at now + t.
// One per process (shared library), so the host and the plug-in share it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <queue>
#include <thread>
#include <vector>

#include "ui/Clock.h"
#include "ui/WorkItem.h"

namespace ui {

class VirtualClock;

class RunLoop {
public:
    static RunLoop& main();

    // --- scheduling (any thread)
    void post(std::function<void()> block) { postAfter(0, std::move(block)); }
    // Runs `block` no earlier than `delay` seconds from now (negative counts as 0).
    void postAfter(double delay, std::function<void()> block);
    // Schedules a work item; it is skipped if cancelled before its turn.
    void schedule(std::shared_ptr<WorkItem> item, double delay = 0);

    // --- the clock
    // The clock in use; the reference stays valid until the clock is replaced.
    Clock& clock() const;
    // The current time on the clock in use (any thread, also while the clock is replaced).
    double now() const;
    // Replaces the clock (before any timed work is pending; pending due times keep their
    // values on the new clock).
    void setClock(std::shared_ptr<Clock> clock);
    // Switches to a fresh virtual clock at 0 and answers it.
    VirtualClock& useVirtualClock();
    // Switches to a fresh real clock.
    void useRealClock();

    // --- the main thread
    bool isMainThread() const;
    void adoptCurrentThreadAsMain();

    // --- running (main thread only; std::logic_error elsewhere)
    // Runs everything due now, including work scheduled meanwhile that is due now. Answers
    // the number of items run.
    int runUntilIdle();
    // Virtual clock only (std::logic_error otherwise).
    int advance(double seconds);
    // Runs until `until` answers true after a turn, stop() is called, or `timeout` seconds
    // of real time pass (answering false then). With a virtual clock it never moves time: it
    // runs what is due and waits for work from other threads.
    bool run(std::function<bool()> until = {}, std::optional<double> timeout = {});
    // Makes run() return after the current item, or the next run() at once when none is
    // running (any thread).
    void stop();
    // Blocks the main thread until work is due now or `timeout` real seconds pass; answers
    // whether work is due.
    bool waitForWork(double timeout);

    // --- state (any thread)
    // Whether nothing is due now (later timers may still be pending).
    bool isIdle() const;
    // Due time (on the clock) of the earliest pending item that is not cancelled.
    std::optional<double> nextDueTime() const;
    std::size_t pendingCount() const;
    // Drops all pending work and any pending stop (for tests and for a host shutting down).
    void clear();

    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

private:
    RunLoop();
    struct Item {
        double due;
        std::uint64_t seq;
        std::shared_ptr<WorkItem> work;
    };
    struct Later {
        bool operator()(const Item& a, const Item& b) const {
            return a.due != b.due ? a.due > b.due : a.seq > b.seq;
        }
    };
    void requireMainThread(const char* what) const;
    // Takes the earliest item due at or before `limit`, if any.
    std::optional<Item> takeDue(double limit);
    void runItem(Item& item);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::priority_queue<Item, std::vector<Item>, Later> queue_;
    std::uint64_t nextSeq_ = 0;
    std::shared_ptr<Clock> clock_;
    std::thread::id mainThread_;
    bool stopRequested_ = false;
};

}  // namespace ui
