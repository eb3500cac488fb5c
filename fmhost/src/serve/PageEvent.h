// What the live page sends about the person's input: pointer presses, moves and releases as
// touches at screen points, wheel scrolls, typed text, backspace and return. Parsed from the
// body of one POST, which carries the events in the order the person made them, and checked
// in full before any of them is handed on, so that a malformed body changes nothing.
// Plain values; parsing is stateless and runs on the server's threads.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fmhost {

// A body that is not a well-formed batch of events; the message says what is wrong.
class PageEventError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct PageEvent {
    enum class Kind { touchBegan, touchMoved, touchEnded, touchCancelled, scroll, text, backspace, returnKey };

    Kind kind = Kind::touchBegan;
    // Touches and scrolls: the point in screen points.
    double x = 0;
    double y = 0;
    // Scrolls: points to scroll; dy > 0 shows what is below.
    double dx = 0;
    double dy = 0;
    // Text: what was typed (UTF-8, never empty).
    std::string text;

    // Most events in one body; a person cannot make more between two posts.
    static constexpr std::size_t kMaxBatch = 256;
    // Longest text of one event (a paste, say), in bytes.
    static constexpr std::size_t kMaxText = 16 * 1024;
    // Coordinates and scroll distances beyond this are not from a screen.
    static constexpr double kMaxCoordinate = 100000;

    // Parses {"events": [{"type": "touch", "phase": "began", "x": 10, "y": 20}, ...]}, with
    // the types touch (phase began|moved|ended|cancelled), scroll (x, y, dx, dy), text
    // (text), backspace and return. Throws PageEventError.
    static std::vector<PageEvent> parseBatch(std::string_view body);
};

}  // namespace fmhost
