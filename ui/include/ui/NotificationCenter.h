// Named notifications with an object and a dictionary of extra information, delivered to
// every observer of that name (from any sender) in the order the observers registered.
//
// Delivery: on the main thread. A post made on the main thread reaches its observers before
// post() returns, as on the platform; a post made on another thread is queued on the main
// queue and delivered there, in posting order. An observer removed before a queued
// notification is delivered does not get it.
//
// Observers are handles: destroying (or remove()-ing) the handle unsubscribes. Once removal
// returns on a thread other than the main thread, the block is not running and never runs
// again, so it may refer to things that end right after (a call's environment). post() is
// safe from any thread; addObserver and removal too. One default centre per process.
#pragma once

#include <any>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace ui {

struct Notification {
    std::string name;
    std::any object;
    std::map<std::string, std::any> userInfo;
};

class NotificationCenter {
public:
    using Block = std::function<void(const Notification&)>;

    // Unsubscribes when destroyed or removed; movable, not copyable.
    class Observer {
    public:
        Observer() = default;
        ~Observer() { remove(); }
        Observer(Observer&& o) noexcept;
        Observer& operator=(Observer&& o) noexcept;
        void remove();
        bool isActive() const { return center_ != nullptr; }

    private:
        friend class NotificationCenter;
        Observer(NotificationCenter* c, std::uint64_t id) : center_(c), id_(id) {}
        NotificationCenter* center_ = nullptr;
        std::uint64_t id_ = 0;
    };

    static NotificationCenter& defaultCenter();

    NotificationCenter() = default;

    // The block runs on the main thread for each notification named `name`.
    [[nodiscard]] Observer addObserver(std::string name, Block block);
    void post(std::string name, std::any object = {}, std::map<std::string, std::any> userInfo = {});
    void post(Notification notification);
    std::size_t observerCount(const std::string& name) const;

    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

private:
    struct Entry {
        std::uint64_t id;
        std::string name;
        std::shared_ptr<Block> block;
        std::shared_ptr<int> running;  // deliveries of this observer in progress
    };
    void removeObserver(std::uint64_t id);
    void deliver(const Notification& n);

    mutable std::mutex mutex_;
    std::condition_variable finished_;
    std::vector<Entry> entries_;
    std::uint64_t nextId_ = 1;
};

}  // namespace ui
