// The external functions that plug-ins registered through fmx, found by name ignoring case.
// Registration may come from any thread (a plug-in's init runs where the host loads it), so
// every operation takes the registry's lock; the lock is never held while a function runs.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "fmx/fmx.h"

namespace calc {

class ExternalRegistry {
public:
    struct Entry {
        fmx::QuadChar pluginId;
        fmx::int16 functionId = 0;
        std::u16string name;       // as registered
        std::u16string folded;     // lookup key
        std::u16string prototype;
        fmx::int16 minArgs = 0;
        fmx::int16 maxArgs = 0;    // -1: no limit
        fmx::uint32 flags = 0;
        fmx::ExtPluginType function = nullptr;
    };

    // Answers 0, or FileMaker's "already registered" code when the name or the plug-in's
    // function number is taken.
    int add(Entry entry);
    // Answers 0, or a non-zero code when nothing was registered under that number.
    int remove(const fmx::QuadChar& pluginId, fmx::int16 functionId);
    std::optional<Entry> find(const std::u16string& folded) const;

private:
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
};

}  // namespace calc
