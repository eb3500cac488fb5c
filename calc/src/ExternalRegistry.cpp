#include "ExternalRegistry.h"

#include "CalcError.h"

namespace calc {

int ExternalRegistry::add(Entry entry) {
    std::lock_guard lock(mutex_);
    for (const Entry& e : entries_) {
        if (e.folded == entry.folded || (e.pluginId == entry.pluginId && e.functionId == entry.functionId))
            return errc::kAlreadyRegistered;
    }
    entries_.push_back(std::move(entry));
    return 0;
}

int ExternalRegistry::remove(const fmx::QuadChar& pluginId, fmx::int16 functionId) {
    std::lock_guard lock(mutex_);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->pluginId == pluginId && it->functionId == functionId) {
            entries_.erase(it);
            return 0;
        }
    }
    return 1;
}

std::optional<ExternalRegistry::Entry> ExternalRegistry::find(const std::u16string& folded) const {
    std::lock_guard lock(mutex_);
    for (const Entry& e : entries_)
        if (e.folded == folded) return e;
    return std::nullopt;
}

}  // namespace calc
