#include "ui/NotificationCenter.h"

#include <algorithm>

#include "ui/MainQueue.h"

namespace ui {

NotificationCenter::Observer::Observer(Observer&& o) noexcept : center_(o.center_), id_(o.id_) {
    o.center_ = nullptr;
}

NotificationCenter::Observer& NotificationCenter::Observer::operator=(Observer&& o) noexcept {
    if (this != &o) {
        remove();
        center_ = o.center_;
        id_ = o.id_;
        o.center_ = nullptr;
    }
    return *this;
}

void NotificationCenter::Observer::remove() {
    if (center_) center_->removeObserver(id_);
    center_ = nullptr;
}

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

NotificationCenter::Observer NotificationCenter::addObserver(std::string name, Block block) {
    std::lock_guard lock(mutex_);
    const std::uint64_t id = nextId_++;
    entries_.push_back(Entry{id, std::move(name), std::make_shared<Block>(std::move(block)), std::make_shared<int>(0)});
    return Observer(this, id);
}

void NotificationCenter::removeObserver(std::uint64_t id) {
    std::unique_lock lock(mutex_);
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == id; });
    if (it == entries_.end()) return;
    std::shared_ptr<int> running = it->running;
    entries_.erase(it);
    // Off the main thread, wait for a delivery in progress to finish. On the main thread the
    // delivery may be the caller itself (a block removing its own observer), so no waiting.
    if (!MainQueue::isMainThread()) finished_.wait(lock, [&] { return *running == 0; });
}

std::size_t NotificationCenter::observerCount(const std::string& name) const {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.name == name; }));
}

void NotificationCenter::post(std::string name, std::any object, std::map<std::string, std::any> userInfo) {
    post(Notification{std::move(name), std::move(object), std::move(userInfo)});
}

void NotificationCenter::post(Notification notification) {
    if (MainQueue::isMainThread()) {
        deliver(notification);
        return;
    }
    MainQueue::async([this, n = std::move(notification)] { deliver(n); });
}

void NotificationCenter::deliver(const Notification& n) {
    // Observers are taken as they stand when delivery starts; one removed by an earlier
    // observer's block is skipped, one added meanwhile waits for the next notification.
    std::vector<std::uint64_t> ids;
    {
        std::lock_guard lock(mutex_);
        for (const auto& e : entries_)
            if (e.name == n.name) ids.push_back(e.id);
    }
    for (std::uint64_t id : ids) {
        std::shared_ptr<Block> block;
        std::shared_ptr<int> running;
        {
            std::lock_guard lock(mutex_);
            auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == id; });
            if (it == entries_.end()) continue;
            block = it->block;
            running = it->running;
            ++*running;
        }
        struct Done {
            NotificationCenter& center;
            std::shared_ptr<int> running;
            ~Done() {
                {
                    std::lock_guard lock(center.mutex_);
                    --*running;
                }
                center.finished_.notify_all();
            }
        } done{*this, running};
        (*block)(n);
    }
}

}  // namespace ui
