// The main dispatch queue: work handed to the main run loop, from any thread. A thin facade
// over RunLoop::main(), named after the platform's queue.
#pragma once

#include <functional>
#include <memory>

#include "ui/RunLoop.h"
#include "ui/WorkItem.h"

namespace ui {

class MainQueue {
public:
    static void async(std::function<void()> block) { RunLoop::main().post(std::move(block)); }
    static void async(std::shared_ptr<WorkItem> item) { RunLoop::main().schedule(std::move(item)); }
    // `delay` in seconds from now.
    static void asyncAfter(double delay, std::function<void()> block) {
        RunLoop::main().postAfter(delay, std::move(block));
    }
    static void asyncAfter(double delay, std::shared_ptr<WorkItem> item) {
        RunLoop::main().schedule(std::move(item), delay);
    }
    // A delayed call that can be called off: answers the item to cancel.
    static std::shared_ptr<WorkItem> performAfterDelay(double delay, std::function<void()> block) {
        auto item = WorkItem::make(std::move(block));
        RunLoop::main().schedule(item, delay);
        return item;
    }
    static bool isMainThread() { return RunLoop::main().isMainThread(); }
};

}  // namespace ui
