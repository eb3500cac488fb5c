// Simulated time for tests and scripted runs: it starts at 0 and moves only through
// advanceTo (the run loop does this while it advances). Reads are safe from any thread.
#pragma once

#include <atomic>

#include "ui/Clock.h"

namespace ui {

class VirtualClock final : public Clock {
public:
    double now() const override { return now_.load(); }
    bool isVirtual() const override { return true; }
    // Moves the time forward to `t`; an earlier `t` changes nothing.
    void advanceTo(double t) {
        double cur = now_.load();
        while (t > cur && !now_.compare_exchange_weak(cur, t)) {}
    }

private:
    std::atomic<double> now_{0};
};

}  // namespace ui
