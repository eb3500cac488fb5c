#include "host/Diagnostics.h"

#include <sys/stat.h>
#include <syslog.h>
#include <time.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace brelka {

namespace {

// Where the system logger listens. Without it, each syslog() call would try (and fail) to
// connect, at a cost of microseconds, so the sink counts as active only while it exists.
constexpr const char* kLogSocket = "/dev/log";
constexpr std::int64_t kRecheckNanoseconds = 1'000'000'000;

// A coarse clock is enough for the recheck and costs a few nanoseconds instead of tens; the
// check runs on every external function call.
std::int64_t coarseNow() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

struct Sinks {
    std::atomic<bool> toStderr{false};
    std::atomic<bool> syslogPresent{false};
    std::atomic<std::int64_t> nextCheck{0};  // coarse monotonic nanoseconds
    std::once_flag opened;

    Sinks() {
        const char* flag = std::getenv("BRELKA_LOG_STDERR");
        toStderr = flag != nullptr && std::strcmp(flag, "1") == 0;
    }

    bool syslogActive() {
        std::int64_t now = coarseNow();
        if (now >= nextCheck.load(std::memory_order_relaxed)) {
            struct stat info {};
            bool present = ::stat(kLogSocket, &info) == 0 && S_ISSOCK(info.st_mode);
            syslogPresent.store(present, std::memory_order_relaxed);
            nextCheck.store(now + kRecheckNanoseconds, std::memory_order_relaxed);
        }
        return syslogPresent.load(std::memory_order_relaxed);
    }
};

Sinks& sinks() {
    static Sinks instance;
    return instance;
}

}  // namespace

bool Diagnostics::enabled() {
    Sinks& s = sinks();
    return s.toStderr.load(std::memory_order_relaxed) || s.syslogActive();
}

void Diagnostics::log(std::string_view line) {
    Sinks& s = sinks();
    if (s.syslogActive()) {
        std::call_once(s.opened, [] { ::openlog("Brelka", LOG_PID, LOG_USER); });
        ::syslog(LOG_INFO, "%.*s", static_cast<int>(line.size()), line.data());
    }
    if (s.toStderr.load(std::memory_order_relaxed)) {
        // One write per line, so that lines from two threads never interleave.
        std::string out = "Brelka: ";
        out.append(line);
        out += '\n';
        std::fwrite(out.data(), 1, out.size(), stderr);
    }
}

void Diagnostics::setStderrForTesting(bool on) { sinks().toStderr = on; }

}  // namespace brelka
