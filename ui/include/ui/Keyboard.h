// The on-screen keyboard. It comes up while a text input is the first responder and goes
// down when none is; each time an input takes the focus, and when the keyboard goes down,
// it posts kWillChangeFrame on the default notification centre with the end frame (Rect, in
// screen coordinates), the animation duration (double, seconds) and the curve (int).
// Typing goes to the first responder. Its height comes from the main screen's profile.
// One per process; main thread only.
#pragma once

#include <optional>
#include <string_view>

#include "ui/Geometry.h"

namespace ui {

class Keyboard {
public:
    static constexpr const char* kWillChangeFrame = "KeyboardWillChangeFrameNotification";
    static constexpr const char* kFrameEndKey = "KeyboardFrameEndUserInfoKey";
    static constexpr const char* kDurationKey = "KeyboardAnimationDurationUserInfoKey";
    static constexpr const char* kCurveKey = "KeyboardAnimationCurveUserInfoKey";
    static constexpr double kDuration = 0.25;
    static constexpr int kCurve = 7;

    static Keyboard& shared();

    bool isVisible() const { return visible_; }
    // Where the keyboard is while visible: along the screen's bottom edge.
    Rect shownFrame() const;
    // The frame now, or nothing when it is down.
    std::optional<Rect> frame() const;

    // Typing into the first responder; answers false when nothing takes text.
    bool type(std::string_view text);
    bool deleteBackward();
    bool pressReturn();

    // Called by text inputs as they take or give up the focus.
    void inputDidBecomeFirstResponder();
    void inputDidResignFirstResponder();
    // The first responder was destroyed without resigning (its window went away): the
    // keyboard goes down without a notification, as nothing on screen is left to move.
    void inputWentAway() { visible_ = false; }

    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

private:
    Keyboard() = default;
    void postChange(Rect end);
    bool visible_ = false;
};

}  // namespace ui
