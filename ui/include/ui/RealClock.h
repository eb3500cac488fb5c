// Wall time from the steady clock, for a person watching. Any thread.
#pragma once

#include <chrono>

#include "ui/Clock.h"

namespace ui {

class RealClock final : public Clock {
public:
    RealClock() : start_(std::chrono::steady_clock::now()) {}
    double now() const override {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }
    bool isVirtual() const override { return false; }

private:
    std::chrono::steady_clock::time_point start_;
};

}  // namespace ui
