#include "serve/CalculationQueue.h"

namespace fmhost {

bool CalculationQueue::push(Statement statement) {
    {
        std::lock_guard lock(mutex_);
        if (closed_) return false;
        statements_.push_back(std::move(statement));
    }
    ready_.notify_one();
    return true;
}

std::optional<Statement> CalculationQueue::take() {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [this] { return closed_ || !statements_.empty(); });
    if (closed_) return std::nullopt;
    Statement next = std::move(statements_.front());
    statements_.pop_front();
    return next;
}

std::size_t CalculationQueue::close() {
    std::size_t dropped = 0;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        dropped = statements_.size();
        statements_.clear();
    }
    ready_.notify_all();
    return dropped;
}

std::size_t CalculationQueue::size() const {
    std::lock_guard lock(mutex_);
    return statements_.size();
}

}  // namespace fmhost
