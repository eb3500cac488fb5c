// Animated changes of view properties. The animations block runs at once, so the end state
// is what the tree holds from then on (drawing shows end states); the completion runs on the
// main queue when delay + duration have passed on the run loop's clock, with finished = true.
// Main thread only.
#pragma once

#include <functional>

namespace ui {

// Curve and behaviour bits, as the platform's (the curve value of a keyboard notification
// shifted left by 16 is a valid set of options). Recorded, not interpreted.
using AnimationOptions = unsigned;

class Animation {
public:
    using Block = std::function<void()>;
    using Completion = std::function<void(bool finished)>;

    static void animate(double duration, const Block& animations, Completion completion = {});
    static void animate(double duration, double delay, AnimationOptions options,
                        const Block& animations, Completion completion = {});
    // Number of animations whose completion has not run yet.
    static int runningCount();
};

}  // namespace ui
