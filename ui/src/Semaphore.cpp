#include "ui/Semaphore.h"

#include <chrono>

namespace ui {

void Semaphore::signal() {
    {
        std::lock_guard lock(mutex_);
        ++count_;
    }
    cv_.notify_one();
}

void Semaphore::wait() {
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [&] { return count_ > 0; });
    --count_;
}

bool Semaphore::waitFor(double seconds) {
    std::unique_lock lock(mutex_);
    // NaN and negative waits do not wait; absurdly long ones wait without limit.
    const auto ready = [&] { return count_ > 0; };
    if (seconds > 1e9) {
        cv_.wait(lock, ready);
    } else if (!cv_.wait_for(lock, std::chrono::duration<double>(seconds > 0 ? seconds : 0), ready)) {
        return false;
    }
    --count_;
    return true;
}

bool Semaphore::tryWait() {
    std::lock_guard lock(mutex_);
    if (count_ <= 0) return false;
    --count_;
    return true;
}

long Semaphore::count() const {
    std::lock_guard lock(mutex_);
    return count_;
}

}  // namespace ui
