// Failure injection for the interface's host calls. The hook is looked up on every host call,
// so the common case (no hook) is a single relaxed atomic load; the hook itself is copied out
// under a lock and run outside it, so a hook may call into the interface again.
#include "fmx/Exceptions.h"

#include <atomic>
#include <mutex>
#include <string>

namespace fmx {

namespace {

std::mutex& hookMutex() {
    static std::mutex mutex;
    return mutex;
}

FailureHook& hookSlot() {
    static FailureHook hook;
    return hook;
}

std::atomic<bool> hookInstalled{false};

}  // namespace

void setFailureHook(FailureHook hook) {
    std::lock_guard lock(hookMutex());
    hookInstalled.store(static_cast<bool>(hook), std::memory_order_relaxed);
    hookSlot() = std::move(hook);
}

void checkFailure(const char* operation) {
    if (!hookInstalled.load(std::memory_order_relaxed)) return;
    FailureHook hook;
    {
        std::lock_guard lock(hookMutex());
        hook = hookSlot();
    }
    if (!hook) return;
    switch (hook(operation)) {
    case 1:
        throw OutOfMemory();
    case 2:
        throw HostException(std::string(operation) + " failed");
    default:
        return;
    }
}

}  // namespace fmx
