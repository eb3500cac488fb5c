// Plays a user against a window: taps, drags, wheel scrolls and typing, delivered through
// the same hit testing and event paths as real input. For tests and scripted runs.
// Main thread only.
#pragma once

#include <string_view>

#include "ui/Geometry.h"

namespace ui {

class View;
class Window;

class EventSynthesizer {
public:
    explicit EventSynthesizer(Window& window) : window_(window) {}

    // A tap at a point in window coordinates.
    void tap(Point p);
    // A tap at the centre of the view's visible part; answers false (and taps nothing) when
    // that point does not reach the view or a descendant of it (hidden, covered, scrolled
    // away, not in this window).
    bool tap(View& view);
    // A touch pressed at `from`, moved in `steps` steps to `to`, and lifted.
    void drag(Point from, Point to, int steps = 5);
    void scroll(Point p, double dy, double dx = 0);
    // Typing into the first responder (see Keyboard); false when nothing takes text.
    bool type(std::string_view text);
    // Replaces the whole text of the first responder with `text`.
    bool replaceText(std::string_view text);
    bool pressReturn();

private:
    Window& window_;
};

}  // namespace ui
