// A block of work that can be cancelled before it runs: a cancelled item never runs, even
// when it is already queued. Held by shared_ptr; the queue keeps a scheduled item alive
// until it ran or was skipped, as the platform's dispatch work items. cancel() is safe from
// any thread; perform() runs on the thread that calls it (the main thread for queued items).
#pragma once

#include <atomic>
#include <functional>
#include <memory>

namespace ui {

class WorkItem {
public:
    explicit WorkItem(std::function<void()> block) : block_(std::move(block)) {}
    static std::shared_ptr<WorkItem> make(std::function<void()> block) {
        return std::make_shared<WorkItem>(std::move(block));
    }

    void cancel() { cancelled_.store(true); }
    bool isCancelled() const { return cancelled_.load(); }
    // Runs the block unless the item is cancelled. An item may run more than once if it is
    // scheduled more than once.
    void perform() {
        if (!isCancelled() && block_) block_();
    }

    WorkItem(const WorkItem&) = delete;
    WorkItem& operator=(const WorkItem&) = delete;

private:
    std::function<void()> block_;
    std::atomic<bool> cancelled_{false};
};

}  // namespace ui
