// Where the run loop takes the time from. now() is in seconds from the clock's own start
// and never goes backwards. Implementations are safe to read from any thread.
#pragma once

namespace ui {

class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
    // A virtual clock moves only when told to; the run loop never sleeps on it.
    virtual bool isVirtual() const = 0;
};

}  // namespace ui
