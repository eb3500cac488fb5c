#include "ActionQueue.h"

namespace fmhost {

void ActionQueue::push(Entry entry) {
    std::lock_guard lock(mutex_);
    entries_.push_back(std::move(entry));
}

std::optional<ActionQueue::Entry> ActionQueue::take() {
    std::lock_guard lock(mutex_);
    if (entries_.empty()) return std::nullopt;
    inHand_ = std::move(entries_.front());
    entries_.pop_front();
    return inHand_;
}

void ActionQueue::done() {
    std::lock_guard lock(mutex_);
    inHand_.reset();
}

void ActionQueue::putBack() {
    std::lock_guard lock(mutex_);
    if (!inHand_) return;
    entries_.push_front(std::move(*inHand_));
    inHand_.reset();
}

bool ActionQueue::empty() const {
    std::lock_guard lock(mutex_);
    return entries_.empty() && !inHand_;
}

std::vector<ActionQueue::Entry> ActionQueue::drain() {
    std::lock_guard lock(mutex_);
    std::vector<Entry> all;
    if (inHand_) all.push_back(std::move(*inHand_));
    inHand_.reset();
    for (auto& entry : entries_) all.push_back(std::move(entry));
    entries_.clear();
    return all;
}

}  // namespace fmhost
