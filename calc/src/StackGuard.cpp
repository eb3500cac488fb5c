#include "StackGuard.h"

#include <pthread.h>

#include <algorithm>

#include "CalcError.h"

namespace calc {

namespace {

// What is left for everything that runs below the guarded frames: the host's own frames,
// ICU, the allocator, a plug-in function's frames, sanitizer reports.
constexpr std::uintptr_t kMargin = 256 * 1024;
// Used when the thread's stack cannot be asked for: less than any thread we run on.
constexpr std::uintptr_t kFallbackUsable = 512 * 1024;

thread_local std::uintptr_t t_limit = 0;

// The frame address, not a local's: with AddressSanitizer's fake stacks a local may live on
// the heap.
std::uintptr_t here() { return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)); }

std::uintptr_t computeLimit() {
    std::uintptr_t current = here();
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
        void* base = nullptr;
        std::size_t size = 0;
        bool ok = pthread_attr_getstack(&attr, &base, &size) == 0;
        pthread_attr_destroy(&attr);
        std::uintptr_t low = reinterpret_cast<std::uintptr_t>(base);
        // Small stacks keep a quarter of themselves free instead of the full margin.
        std::uintptr_t margin = std::min<std::uintptr_t>(kMargin, size / 4);
        if (ok && current > low + margin) return low + margin;
    }
    return current > kFallbackUsable ? current - kFallbackUsable : 0;
}

}  // namespace

StackGuard::StackGuard() {
    // The stack's bounds are asked for once per thread; asking is not free.
    if (t_limit == 0) t_limit = computeLimit();
    limit_ = t_limit;
}

void StackGuard::check() const {
    if (here() < limit_)
        throw CalcError(errc::kGeneric, "The calculation is nested too deeply to be evaluated");
}

}  // namespace calc
