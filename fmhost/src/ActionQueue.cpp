#include "ActionQueue.h"

namespace fmhost {

void ActionQueue::push(Entry entry) {
    std::lock_guard lock(mutex_);
    entries_.push_back(std::move(entry));
}

std::optional<ActionQueue::Entry> ActionQueue::take() {
    std::lock_guard lock(mutex_);
    if (entries_.empty()) return std::nullopt;
    Entry entry = std::move(entries_.front());
    entries_.pop_front();
    return entry;
}

bool ActionQueue::empty() const {
    std::lock_guard lock(mutex_);
    return entries_.empty();
}

std::vector<ActionQueue::Entry> ActionQueue::drain() {
    std::lock_guard lock(mutex_);
    std::vector<Entry> all(std::make_move_iterator(entries_.begin()), std::make_move_iterator(entries_.end()));
    entries_.clear();
    return all;
}

}  // namespace fmhost
