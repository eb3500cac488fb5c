#include "ui/Animation.h"

#include <atomic>

#include "ui/MainQueue.h"

namespace ui {

namespace {
std::atomic<int> running{0};
}  // namespace

void Animation::animate(double duration, const Block& animations, Completion completion) {
    animate(duration, 0, 0, animations, std::move(completion));
}

void Animation::animate(double duration, double delay, AnimationOptions, const Block& animations,
                        Completion completion) {
    if (animations) animations();
    const double total = (duration > 0 ? duration : 0) + (delay > 0 ? delay : 0);
    ++running;
    MainQueue::asyncAfter(total, [completion = std::move(completion)] {
        --running;
        if (completion) completion(true);
    });
}

int Animation::runningCount() {
    return running.load();
}

}  // namespace ui
