// The settings and results store of the plug-in and the operations behind Brelka_Get and
// Brelka_Set. Process-wide: the live dictionary of settings and results, the memory of
// snapshots taken when dialogs end, and the position that "clear" steps back through.
//
// Thread: reached from the host's calculation thread (Get, Set, error reports) and from the
// main thread (dialog code). Every operation is safe from any thread: one mutex guards the
// three members and is held only for the copy or change itself, never while logging, loading
// images or calling back into the caller.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/Config.h"
#include "store/Value.h"

namespace brelka {

class Plugin {
public:
    // The live dictionary, as a copy.
    static Dictionary get_set_dictionary();
    static void set_get_set_dictionary(Dictionary dictionary);
    // Runs `change` on the live dictionary under the store's lock. `change` must be short and
    // must not call back into the store, log, or load anything.
    static void modify_get_set_dictionary(const std::function<void(Dictionary&)>& change);
    static std::vector<Dictionary> get_set_memory();
    static std::int64_t get_set_memory_position();

    // One entry of the live dictionary; nothing when it is absent.
    static std::optional<Value> value(std::string_view key);
    // Stores `value` under `key`; an empty optional removes the entry.
    static void setValue(std::string_view key, std::optional<Value> value);

    // Called once when a dialog ends: appends a snapshot of the live dictionary to the memory,
    // moves the position to the end, and restores the per-dialog defaults; all in one step, so
    // no other thread sees the state in between.
    static void saveGetSetDictionary();
    // Restore the defaults of the result-side and the setting-side keys.
    static void setDefaultGetDictionary();
    static void setDefaultSetDictionary();

    // Exact, case-sensitive membership of the keys that Set accepts and Get answers.
    static bool isKeyFromSettable(std::string_view key);
    static bool isKeyFromGettable(std::string_view key);

    // Brelka_Get: "param_0" is the selector, "param_1" its argument. Always answers a text.
    static std::string get(const Dictionary& parameters);
    // Brelka_Set: "param_0" is the selector, "param_1" and "param_2" its data.
    static std::string set(const Dictionary& parameters);

private:
    friend class PluginTestApi;

    // Back to the state at load: empty dictionary, empty memory, position 0.
    static void resetAll();

    static void applyDefaultGet(Dictionary& dictionary);
    static void applyDefaultSet(Dictionary& dictionary);
    static std::string setIcon(const Dictionary& parameters);
};

}  // namespace brelka
