#include "ui/RunLoop.h"

#include <chrono>
#include <exception>
#include <stdexcept>
#include <string>

#include "ui/Log.h"
#include "ui/RealClock.h"
#include "ui/VirtualClock.h"

namespace ui {

namespace {
// Due times within a nanosecond of the limit count as due: delays are sums of decimal
// fractions (0.1 + 0.2 is a hair above 0.3), and a caller advancing by the same sum must
// see the work run.
constexpr double kTimeSlack = 1e-9;

using Steady = std::chrono::steady_clock;

// A real-time limit `seconds` from now: NaN and negative values mean now, values too large
// to represent (infinity included) mean never.
Steady::time_point deadlineAfter(double seconds) {
    if (!(seconds > 0)) return Steady::now();
    if (seconds > 1e9) return Steady::time_point::max();
    return Steady::now() + std::chrono::duration_cast<Steady::duration>(std::chrono::duration<double>(seconds));
}

// When a real clock reaches `due`, measured from `now` on the same clock.
Steady::time_point wakeFor(double due, double now) {
    return deadlineAfter(due - now);
}

// The thread that loaded the toolkit: the host's main thread, unless it says otherwise.
const std::thread::id loadingThread = std::this_thread::get_id();
}  // namespace

RunLoop& RunLoop::main() {
    static RunLoop loop;
    return loop;
}

RunLoop::RunLoop() : clock_(std::make_shared<RealClock>()), mainThread_(loadingThread) {
    // Asked for during another library's static initialisation, before ours ran: that
    // initialisation runs on the loading thread too.
    if (mainThread_ == std::thread::id()) mainThread_ = std::this_thread::get_id();
}

Clock& RunLoop::clock() const {
    std::lock_guard lock(mutex_);
    return *clock_;
}

double RunLoop::now() const {
    std::lock_guard lock(mutex_);
    return clock_->now();
}

void RunLoop::setClock(std::shared_ptr<Clock> clock) {
    if (!clock) return;
    {
        std::lock_guard lock(mutex_);
        clock_ = std::move(clock);
    }
    wake_.notify_all();
}

VirtualClock& RunLoop::useVirtualClock() {
    auto clock = std::make_shared<VirtualClock>();
    VirtualClock& ref = *clock;
    setClock(std::move(clock));
    return ref;
}

void RunLoop::useRealClock() {
    setClock(std::make_shared<RealClock>());
}

bool RunLoop::isMainThread() const {
    std::lock_guard lock(mutex_);
    return std::this_thread::get_id() == mainThread_;
}

void RunLoop::adoptCurrentThreadAsMain() {
    std::lock_guard lock(mutex_);
    mainThread_ = std::this_thread::get_id();
}

void RunLoop::requireMainThread(const char* what) const {
    if (!isMainThread()) throw std::logic_error(std::string("RunLoop::") + what + " called off the main thread");
}

void RunLoop::postAfter(double delay, std::function<void()> block) {
    schedule(WorkItem::make(std::move(block)), delay);
}

void RunLoop::schedule(std::shared_ptr<WorkItem> item, double delay) {
    if (!item) return;
    {
        std::lock_guard lock(mutex_);
        // NaN and negative delays run as soon as possible.
        const double d = delay > 0 ? delay : 0;
        queue_.push(Item{clock_->now() + d, nextSeq_++, std::move(item)});
    }
    wake_.notify_all();
}

std::optional<RunLoop::Item> RunLoop::takeDue(double limit) {
    std::lock_guard lock(mutex_);
    // Cancelled items are dropped as they come up; they never run.
    while (!queue_.empty() && queue_.top().work->isCancelled()) queue_.pop();
    if (queue_.empty() || queue_.top().due > limit + kTimeSlack) return std::nullopt;
    Item item = queue_.top();
    queue_.pop();
    return item;
}

void RunLoop::runItem(Item& item) {
    try {
        item.work->perform();
    } catch (const std::exception& e) {
        log(std::string("an exception escaped main-queue work: ") + e.what());
    } catch (...) {
        log("an exception escaped main-queue work");
    }
}

int RunLoop::runUntilIdle() {
    requireMainThread("runUntilIdle");
    int count = 0;
    while (auto item = takeDue(now())) {
        runItem(*item);
        ++count;
    }
    return count;
}

int RunLoop::advance(double seconds) {
    requireMainThread("advance");
    std::shared_ptr<VirtualClock> clock;
    {
        std::lock_guard lock(mutex_);
        clock = std::dynamic_pointer_cast<VirtualClock>(clock_);
    }
    if (!clock) throw std::logic_error("RunLoop::advance needs the virtual clock");
    const double target = clock->now() + (seconds > 0 ? seconds : 0);
    int count = 0;
    while (auto item = takeDue(target)) {
        clock->advanceTo(item->due);
        runItem(*item);
        ++count;
    }
    clock->advanceTo(target);
    return count + runUntilIdle();
}

bool RunLoop::run(std::function<bool()> until, std::optional<double> timeout) {
    requireMainThread("run");
    const auto deadline = timeout ? deadlineAfter(*timeout) : Steady::time_point::max();
    // A stop() that came before this run started is not lost: it ends this run at once, so a
    // thread that finishes early can never leave the main thread waiting.
    while (true) {
        if (auto item = takeDue(now())) {
            runItem(*item);
        }
        if (until && until()) return true;
        std::unique_lock lock(mutex_);
        if (stopRequested_) {
            stopRequested_ = false;
            return true;
        }
        while (!queue_.empty() && queue_.top().work->isCancelled()) queue_.pop();
        const double t = clock_->now();
        if (!queue_.empty() && queue_.top().due <= t + kTimeSlack) continue;
        if (Steady::now() >= deadline) return false;
        // Wait for new work, or (real clock) for the next item to fall due.
        auto wakeAt = deadline;
        if (!queue_.empty() && !clock_->isVirtual()) wakeAt = std::min(wakeAt, wakeFor(queue_.top().due, t));
        const std::uint64_t seqBefore = nextSeq_;
        wake_.wait_until(lock, wakeAt, [&] { return stopRequested_ || nextSeq_ != seqBefore; });
    }
}

void RunLoop::stop() {
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
}

bool RunLoop::waitForWork(double timeout) {
    requireMainThread("waitForWork");
    const auto deadline = deadlineAfter(timeout);
    std::unique_lock lock(mutex_);
    const auto due = [&] {
        while (!queue_.empty() && queue_.top().work->isCancelled()) queue_.pop();
        return !queue_.empty() && queue_.top().due <= clock_->now() + kTimeSlack;
    };
    while (!due()) {
        if (Steady::now() >= deadline) return false;
        auto wakeAt = deadline;
        if (!queue_.empty() && !clock_->isVirtual())
            wakeAt = std::min(wakeAt, wakeFor(queue_.top().due, clock_->now()));
        wake_.wait_until(lock, wakeAt);
    }
    return true;
}

bool RunLoop::isIdle() const {
    std::lock_guard lock(mutex_);
    const double t = clock_->now();
    auto copy = queue_;
    while (!copy.empty()) {
        if (!copy.top().work->isCancelled()) return copy.top().due > t + kTimeSlack;
        copy.pop();
    }
    return true;
}

std::optional<double> RunLoop::nextDueTime() const {
    std::lock_guard lock(mutex_);
    auto copy = queue_;
    while (!copy.empty()) {
        if (!copy.top().work->isCancelled()) return copy.top().due;
        copy.pop();
    }
    return std::nullopt;
}

std::size_t RunLoop::pendingCount() const {
    std::lock_guard lock(mutex_);
    auto copy = queue_;
    std::size_t n = 0;
    for (; !copy.empty(); copy.pop())
        if (!copy.top().work->isCancelled()) ++n;
    return n;
}

void RunLoop::clear() {
    std::lock_guard lock(mutex_);
    queue_ = {};
    stopRequested_ = false;
}

}  // namespace ui
