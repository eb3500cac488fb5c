// The main run loop on both clocks, work items, semaphores and cross-thread hand-over.
#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "ToolkitFixture.h"
#include "ui/MainQueue.h"
#include "ui/Semaphore.h"

namespace ui {
namespace {

class MainLoop : public testing::ToolkitTest {
protected:
    std::vector<std::string> order;
    auto note(std::string s) {
        return [this, s] { order.push_back(s + "@" + std::to_string(RunLoop::main().now())); };
    }
};

TEST_F(MainLoop, RunsInTimeOrderThenSchedulingOrderAtEachItemsDueTime) {
    MainQueue::asyncAfter(2, note("c"));
    MainQueue::asyncAfter(1, note("b1"));
    MainQueue::async(note("a"));
    MainQueue::asyncAfter(1, note("b2"));
    MainQueue::asyncAfter(-5, note("a2"));  // negative delay: as soon as possible
    EXPECT_FALSE(RunLoop::main().isIdle());
    EXPECT_EQ(RunLoop::main().runUntilIdle(), 2);
    EXPECT_TRUE(RunLoop::main().isIdle());
    EXPECT_EQ(RunLoop::main().nextDueTime(), 1.0);
    EXPECT_EQ(RunLoop::main().advance(1.5), 2);
    EXPECT_EQ(clock->now(), 1.5);
    advance(10);
    EXPECT_EQ(order, (std::vector<std::string>{"a@0.000000", "a2@0.000000", "b1@1.000000", "b2@1.000000",
                                               "c@2.000000"}));
    EXPECT_EQ(RunLoop::main().nextDueTime(), std::nullopt);
}

TEST_F(MainLoop, WorkScheduledByWorkRunsInTheSameAdvanceWhenDue) {
    MainQueue::asyncAfter(1, [this] {
        note("outer")();
        MainQueue::async(note("now"));
        MainQueue::asyncAfter(0.5, note("later"));
        MainQueue::asyncAfter(5, note("beyond"));
    });
    advance(2);
    EXPECT_EQ(order, (std::vector<std::string>{"outer@1.000000", "now@1.000000", "later@1.500000"}));
    EXPECT_EQ(RunLoop::main().nextDueTime(), 6.0);
}

TEST_F(MainLoop, CancelledWorkItemNeverRuns) {
    int runs = 0;
    auto soon = WorkItem::make([&] { ++runs; });
    auto later = WorkItem::make([&] { ++runs; });
    auto kept = WorkItem::make([&] { ++runs; });
    MainQueue::async(WorkItem::make([&] { soon->cancel(); }));  // cancelled by earlier work, same turn
    MainQueue::async(soon);
    MainQueue::asyncAfter(5, later);
    MainQueue::asyncAfter(5, kept);
    later->cancel();
    EXPECT_EQ(RunLoop::main().pendingCount(), 3u);
    advance(10);
    EXPECT_EQ(runs, 1);
    auto cancelledOnly = WorkItem::make([&] { ++runs; });
    MainQueue::asyncAfter(3, cancelledOnly);
    cancelledOnly->cancel();
    EXPECT_EQ(RunLoop::main().nextDueTime(), std::nullopt);  // cancelled items are no next close
    EXPECT_TRUE(MainQueue::performAfterDelay(1, [&] { ++runs; }) != nullptr);
    advance(1);
    EXPECT_EQ(runs, 2);
}

TEST_F(MainLoop, ExceptionInWorkDoesNotStopTheLoop) {
    std::vector<std::string> lines;
    setLogSink([&](std::string_view l) { lines.emplace_back(l); });
    MainQueue::async([] { throw std::runtime_error("boom"); });
    MainQueue::async(note("after"));
    idle();
    setLogSink({});
    EXPECT_EQ(order.size(), 1u);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("boom"), std::string::npos);
}

TEST_F(MainLoop, AdvanceNeedsTheVirtualClockAndRunningNeedsTheMainThread) {
    RunLoop::main().useRealClock();
    EXPECT_THROW(RunLoop::main().advance(1), std::logic_error);
    std::atomic<bool> threw{false};
    std::thread([&] {
        try {
            RunLoop::main().runUntilIdle();
        } catch (const std::logic_error&) {
            threw = true;
        }
    }).join();
    EXPECT_TRUE(threw);
}

// The host's pattern: a calculation thread queues work on the main queue and waits on a
// semaphore until the main thread signals it.
TEST_F(MainLoop, CalculationThreadHandsOverAndWaits) {
    Semaphore done;
    std::string result;
    std::atomic<bool> finished{false};
    std::thread calc([&] {
        MainQueue::async([&] {
            result = "on main: " + std::string(MainQueue::isMainThread() ? "yes" : "no");
            MainQueue::asyncAfter(1, [&] { done.signal(); });
        });
        done.wait();
        finished = true;
        RunLoop::main().stop();
    });
    // Virtual clock: run what arrives, then jump to the next due item, as a host does.
    for (int turns = 0; !finished && turns < 1000; ++turns) {
        RunLoop::main().waitForWork(0.01);
        idle();
        if (auto next = RunLoop::main().nextDueTime()) advance(*next - clock->now());
    }
    calc.join();
    EXPECT_TRUE(finished);
    EXPECT_EQ(result, "on main: yes");
}

TEST_F(MainLoop, RealClockRunWakesForOtherThreadsAndTimers) {
    RunLoop::main().useRealClock();
    std::atomic<int> ran{0};
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        MainQueue::async([&] { ++ran; });
        MainQueue::asyncAfter(0.05, [&] { ++ran; });
    });
    EXPECT_TRUE(RunLoop::main().run([&] { return ran == 2; }, 5.0));
    poster.join();
    EXPECT_FALSE(RunLoop::main().run([] { return false; }, 0.02));  // times out, does not hang
}

TEST_F(MainLoop, StopThatComesBeforeRunIsNotLost) {
    RunLoop::main().useRealClock();
    std::thread([] { RunLoop::main().stop(); }).join();
    EXPECT_TRUE(RunLoop::main().run({}, 5.0));  // a lost stop would wait out the 5 seconds
    EXPECT_FALSE(RunLoop::main().run({}, 0.01));
    EXPECT_FALSE(RunLoop::main().run({}, std::numeric_limits<double>::quiet_NaN()));  // no wait at all
}

TEST(SemaphoreTest, CountsAndTimesOut) {
    Semaphore s(2);
    EXPECT_TRUE(s.tryWait());
    EXPECT_TRUE(s.waitFor(0));
    EXPECT_FALSE(s.tryWait());
    EXPECT_FALSE(s.waitFor(0.01));
    s.signal();
    s.signal();
    EXPECT_EQ(s.count(), 2);
}

TEST(SemaphoreTest, PingPongBetweenThreads) {
    Semaphore ping, pong;
    int value = 0;
    std::thread other([&] {
        for (int i = 0; i < 1000; ++i) {
            ping.wait();
            ++value;
            pong.signal();
        }
    });
    for (int i = 0; i < 1000; ++i) {
        ping.signal();
        pong.wait();
    }
    other.join();
    EXPECT_EQ(value, 1000);
}

}  // namespace
}  // namespace ui
