// The notification centre: order, threads, removal.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "ToolkitFixture.h"
#include "ui/NotificationCenter.h"

namespace ui {
namespace {

class Notifications : public testing::ToolkitTest {
protected:
    NotificationCenter center;
    std::vector<std::string> got;
    NotificationCenter::Observer watch(const std::string& name, const std::string& who) {
        return center.addObserver(name, [this, who](const Notification& n) {
            got.push_back(who + ":" + (n.object.has_value() ? std::any_cast<std::string>(n.object) : "-"));
        });
    }
};

TEST_F(Notifications, DeliveredOnTheMainThreadToObserversInRegistrationOrder) {
    auto a = watch("x", "a");
    auto b = watch("x", "b");
    auto other = watch("y", "c");
    center.post("x", std::string("1"));
    EXPECT_EQ(got, (std::vector<std::string>{"a:1", "b:1"}));  // at once when posted on main
    EXPECT_EQ(center.observerCount("x"), 2u);
}

TEST_F(Notifications, PostsFromAnotherThreadArriveOnMainInPostingOrder) {
    auto a = watch("x", "a");
    std::thread([this] {
        for (int i = 0; i < 5; ++i) center.post("x", std::to_string(i));
    }).join();
    EXPECT_TRUE(got.empty());  // nothing runs off the main thread
    idle();
    EXPECT_EQ(got, (std::vector<std::string>{"a:0", "a:1", "a:2", "a:3", "a:4"}));
}

TEST_F(Notifications, RemovedObserversHearNothingMore) {
    {
        auto scoped = watch("x", "scoped");
    }
    auto a = watch("x", "a");
    std::thread([this] { center.post("x", std::string("queued")); }).join();
    a.remove();
    idle();
    center.post("x");
    EXPECT_TRUE(got.empty());
    EXPECT_EQ(center.observerCount("x"), 0u);
}

TEST_F(Notifications, ObserverRemovingAnotherDuringDelivery) {
    NotificationCenter::Observer second;
    auto first = center.addObserver("x", [&](const Notification&) {
        got.push_back("first");
        second.remove();
    });
    second = watch("x", "second");
    auto moved = std::move(first);  // the handle moves; the registration stays
    center.post("x");
    center.post("x");
    EXPECT_EQ(got, (std::vector<std::string>{"first", "first"}));
}

// The host's pattern: the calculation thread removes its observer when the call ends, while
// the main thread may still be running the observer's block. Removal has to wait for it.
TEST_F(Notifications, RemovalOffTheMainThreadWaitsForARunningBlock) {
    std::atomic<bool> entered{false}, blockDone{false}, doneWhenRemoved{false};
    auto observer = center.addObserver("x", [&](const Notification&) {
        entered = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        blockDone = true;
    });
    std::thread remover([&] {
        while (!entered) std::this_thread::yield();
        observer.remove();
        doneWhenRemoved = blockDone.load();
    });
    center.post("x");
    remover.join();
    EXPECT_TRUE(doneWhenRemoved);
}

}  // namespace
}  // namespace ui
