// Turns Ctrl-C (SIGINT), SIGTERM and SIGHUP into a call the host can act on at its own pace,
// instead of a signal handler that may run in the middle of anything: the signals are blocked
// in the creating thread (and so in every thread started after it) and one thread of its own
// waits for them. A second signal while the first is being handled ends the process at once,
// for a person who does not want to wait. Create it on the main thread before any other
// thread starts.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include <signal.h>

namespace fmhost {

class InterruptWatcher {
public:
    // `onSignal` runs on the watcher's thread with the signal's number.
    explicit InterruptWatcher(std::function<void(int)> onSignal);
    // Stops waiting and unblocks the signals again in the creating thread.
    ~InterruptWatcher();
    InterruptWatcher(const InterruptWatcher&) = delete;
    InterruptWatcher& operator=(const InterruptWatcher&) = delete;

    // The first signal received, or 0.
    int received() const { return received_.load(); }

private:
    std::function<void(int)> onSignal_;
    sigset_t signals_;
    sigset_t previous_;
    std::atomic<int> received_{0};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

}  // namespace fmhost
