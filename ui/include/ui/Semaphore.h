// A counting semaphore for handing over between threads: wait() blocks while the count is
// 0, then takes one; signal() adds one and wakes a waiter. Any thread; not copyable.
#pragma once

#include <condition_variable>
#include <mutex>

namespace ui {

class Semaphore {
public:
    explicit Semaphore(long initial = 0) : count_(initial) {}

    void signal();
    void wait();
    // Waits at most `seconds` of real time; answers whether it took a count.
    bool waitFor(double seconds);
    // Takes a count only if one is there.
    bool tryWait();
    long count() const;

    Semaphore(const Semaphore&) = delete;
    Semaphore& operator=(const Semaphore&) = delete;

private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    long count_;
};

}  // namespace ui
