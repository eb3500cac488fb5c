#include "store/Plugin.h"

#include <algorithm>
#include <array>
#include <mutex>

#include "host/Bundle.h"
#include "host/Diagnostics.h"
#include "store/Saturating.h"
#include "ui/Screen.h"

namespace brelka {

namespace {

struct Store {
    std::mutex mutex;
    Dictionary live;
    std::vector<Dictionary> memory;  // oldest first, never trimmed
    std::int64_t position = 0;
};

Store& store() {
    static Store* instance = new Store;  // lives until the process ends, past static teardown
    return *instance;
}

constexpr std::array kSettable = {
    CFG::dialog_title,        CFG::dialog_blur,        CFG::dialog_width,
    CFG::dialog_min_width,    CFG::dialog_timeout,     CFG::dialog_position,
    CFG::dialog_icon,         CFG::default_button,     CFG::cancel_button,
    CFG::compatibility_mode,  CFG::progress_title,     CFG::progress_position,
    CFG::calculation_period,  CFG::last_error,         CFG::last_error_message,
    CFG::clear,               CFG::reset,
};

constexpr std::array kGettable = {
    CFG::dialog_title,        CFG::dialog_blur,         CFG::dialog_width,
    CFG::dialog_min_width,    CFG::dialog_timeout,      CFG::dialog_position,
    CFG::compatibility_mode,  CFG::progress_position,   CFG::calculation_period,
    CFG::last_error,          CFG::last_error_message,  CFG::dialog_button,
    CFG::dialog_value,        CFG::dialog_text,         CFG::dialog_all_values,
    CFG::dialog_all_text,     CFG::last_dialog_position, CFG::screen_width,
    CFG::screen_height,       CFG::device_family,
};

const std::string kWrongParameters(rawValue(Errors::kWrongParameters));
const std::string kNoError(rawValue(Errors::kNoError));

const Value* find(const Dictionary& dictionary, std::string_view key) {
    auto it = dictionary.find(key);
    return it == dictionary.end() ? nullptr : &it->second;
}

const std::string* findText(const Dictionary& dictionary, std::string_view key) {
    const Value* value = find(dictionary, key);
    return value ? std::get_if<std::string>(value) : nullptr;
}

void putEntry(Dictionary& dictionary, std::string_view key, Value value) {
    auto it = dictionary.find(key);
    if (it != dictionary.end()) {
        it->second = std::move(value);
    } else {
        dictionary.emplace(std::string(key), std::move(value));
    }
}

void eraseEntry(Dictionary& dictionary, std::string_view key) {
    auto it = dictionary.find(key);
    if (it != dictionary.end()) {
        dictionary.erase(it);
    }
}

// The stored text of a "value_N" or "text_N" entry, copied out under the lock.
std::optional<std::string> storedText(std::string_view key) {
    Store& s = store();
    std::lock_guard lock(s.mutex);
    if (const std::string* text = findText(s.live, key)) {
        return *text;
    }
    return std::nullopt;
}

std::string replaceDelimiter(std::string_view text, std::string_view separator) {
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (;;) {
        std::size_t at = text.find(PARAMETER_DELIMITER, start);
        out.append(text.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos) {
            return out;
        }
        out.append(separator);
        start = at + PARAMETER_DELIMITER.size();
    }
}

// The built-in icon a text or number names, or nothing for an unknown name.
std::optional<std::string_view> iconNamed(std::string_view text) {
    if (text == "0" || text == "stop") {
        return "error_icon";
    }
    if (text == "1" || text == "3" || text == "note" || text == "question") {
        return "note_icon";
    }
    if (text == "2" || text == "caution") {
        return "caution_icon";
    }
    return std::nullopt;
}

std::optional<std::string_view> iconNumbered(double number) {
    switch (saturatingInt64(number)) {
    case 0: return "error_icon";
    case 1:
    case 3: return "note_icon";
    case 2: return "caution_icon";
    default: return std::nullopt;
    }
}

}  // namespace

Dictionary Plugin::get_set_dictionary() {
    Store& s = store();
    std::lock_guard lock(s.mutex);
    return s.live;
}

void Plugin::set_get_set_dictionary(Dictionary dictionary) {
    Store& s = store();
    Dictionary old;
    {
        std::lock_guard lock(s.mutex);
        old.swap(s.live);
        s.live.swap(dictionary);
    }
    // The old entries (perhaps large images) are released outside the lock.
}

void Plugin::modify_get_set_dictionary(const std::function<void(Dictionary&)>& change) {
    Store& s = store();
    std::lock_guard lock(s.mutex);
    change(s.live);
}

std::vector<Dictionary> Plugin::get_set_memory() {
    Store& s = store();
    std::lock_guard lock(s.mutex);
    return s.memory;
}

std::int64_t Plugin::get_set_memory_position() {
    Store& s = store();
    std::lock_guard lock(s.mutex);
    return s.position;
}

std::optional<Value> Plugin::value(std::string_view key) {
    Store& s = store();
    std::lock_guard lock(s.mutex);
    if (const Value* found = find(s.live, key)) {
        return *found;
    }
    return std::nullopt;
}

void Plugin::setValue(std::string_view key, std::optional<Value> value) {
    Store& s = store();
    std::optional<Value> old;
    std::lock_guard lock(s.mutex);
    auto it = s.live.find(key);
    if (value) {
        if (it != s.live.end()) {
            old = std::move(it->second);
            it->second = std::move(*value);
        } else {
            s.live.emplace(std::string(key), std::move(*value));
        }
    } else if (it != s.live.end()) {
        s.live.erase(it);
    }
}

void Plugin::resetAll() {
    Store& s = store();
    Dictionary live;
    std::vector<Dictionary> memory;
    std::lock_guard lock(s.mutex);
    live.swap(s.live);
    memory.swap(s.memory);
    s.position = 0;
}

void Plugin::applyDefaultGet(Dictionary& d) {
    eraseEntry(d, CFG::dialog_icon);
    putEntry(d, CFG::dialog_blur, false);
    for (auto key : {CFG::calculation_period, CFG::progress_position, CFG::progress_title,
                     CFG::dialog_title, CFG::dialog_timeout, CFG::dialog_min_width,
                     CFG::dialog_width}) {
        eraseEntry(d, key);
    }
    std::string position = "default";
    position += PARAMETER_DELIMITER;
    position += "default";
    putEntry(d, CFG::dialog_position, std::move(position));
}

void Plugin::applyDefaultSet(Dictionary& d) {
    eraseEntry(d, CFG::dialog_icon);
    putEntry(d, CFG::default_button, std::string("1"));
    eraseEntry(d, CFG::cancel_button);
}

void Plugin::saveGetSetDictionary() {
    Store& s = store();
    std::lock_guard lock(s.mutex);
    s.memory.push_back(s.live);
    s.position = static_cast<std::int64_t>(s.memory.size());
    applyDefaultGet(s.live);
    applyDefaultSet(s.live);
}

void Plugin::setDefaultGetDictionary() {
    Store& s = store();
    std::lock_guard lock(s.mutex);
    applyDefaultGet(s.live);
}

void Plugin::setDefaultSetDictionary() {
    Store& s = store();
    std::lock_guard lock(s.mutex);
    applyDefaultSet(s.live);
}

bool Plugin::isKeyFromSettable(std::string_view key) {
    return std::find(kSettable.begin(), kSettable.end(), key) != kSettable.end();
}

bool Plugin::isKeyFromGettable(std::string_view key) {
    return std::find(kGettable.begin(), kGettable.end(), key) != kGettable.end();
}

std::string Plugin::get(const Dictionary& parameters) {
    const std::string* selector = findText(parameters, "param_0");
    if (selector == nullptr || !isKeyFromGettable(*selector)) {
        return kWrongParameters;
    }
    const std::string_view key = *selector;
    if (key == CFG::screen_width) {
        return numberWithFraction(ui::Screen::main().bounds().width());
    }
    if (key == CFG::screen_height) {
        return numberWithFraction(ui::Screen::main().bounds().height());
    }
    if (key == CFG::device_family) {
        return ui::Screen::main().idiom() == ui::UserInterfaceIdiom::pad ? "iPad" : "iPhone";
    }
    if (key == CFG::dialog_value || key == CFG::dialog_text) {
        const Value* item = find(parameters, "param_1");
        if (item == nullptr) {
            return kWrongParameters;
        }
        std::string entry(key == CFG::dialog_value ? kValueEntryPrefix : kTextEntryPrefix);
        appendValueAsText(entry, *item);
        if (Diagnostics::enabled()) {
            Diagnostics::log(entry);
        }
        return storedText(entry).value_or(kWrongParameters);
    }
    if (key == CFG::dialog_all_values || key == CFG::dialog_all_text) {
        const std::string* separator = findText(parameters, "param_1");
        if (separator == nullptr) {
            return kWrongParameters;
        }
        auto joined = storedText(key);
        if (!joined) {
            return kWrongParameters;
        }
        return replaceDelimiter(*joined, *separator);
    }
    Store& s = store();
    std::lock_guard lock(s.mutex);
    const Value* stored = find(s.live, key);
    return stored ? valueAsText(*stored) : std::string();
}

std::string Plugin::setIcon(const Dictionary& parameters) {
    const Value* argument = find(parameters, "param_1");
    if (argument == nullptr) {
        return kNoError;
    }
    if (auto image = std::get_if<ImageRef>(argument)) {
        setValue(CFG::dialog_icon, Value(*image));
        return kNoError;
    }
    std::optional<std::string_view> name;
    if (auto text = std::get_if<std::string>(argument)) {
        name = iconNamed(*text);
    } else if (auto number = std::get_if<double>(argument)) {
        name = iconNumbered(*number);
    } else if (auto flag = std::get_if<bool>(argument)) {
        name = iconNumbered(*flag ? 1 : 0);
    }
    if (!name) {
        return kWrongParameters;
    }
    // Loaded outside the lock; a missing resource removes the entry.
    ImageRef icon = Bundle::image(*name);
    setValue(CFG::dialog_icon, icon ? std::optional<Value>(std::move(icon)) : std::nullopt);
    return valueAsText(*argument);
}

std::string Plugin::set(const Dictionary& parameters) {
    if (Diagnostics::enabled()) {
        Diagnostics::log(describeDictionary(parameters));
    }
    const std::string* selector = findText(parameters, "param_0");
    if (selector == nullptr || !isKeyFromSettable(*selector)) {
        return kWrongParameters;
    }
    const std::string_view key = *selector;
    Store& s = store();
    if (key == CFG::clear) {
        Dictionary old;
        {
            std::lock_guard lock(s.mutex);
            if (s.position >= 1) {
                --s.position;
                // A copy: later settings must not rewrite the history they came from.
                old.swap(s.live);
                s.live = s.memory[static_cast<std::size_t>(s.position)];
            }
        }
        return kNoError;
    }
    if (key == CFG::dialog_icon) {
        return setIcon(parameters);
    }
    if (key == CFG::reset) {
        set_get_set_dictionary({});
    }

    std::optional<Value> value;
    const Value* first = find(parameters, "param_1");
    if (const Value* second = find(parameters, "param_2")) {
        std::string joined;
        if (first) {
            appendValueAsText(joined, *first);
        }
        joined += PARAMETER_DELIMITER;
        appendValueAsText(joined, *second);
        value = std::move(joined);
    } else if (first) {
        value = *first;
    }
    std::string answer = value ? valueAsText(*value) : kNoError;
    if (Diagnostics::enabled()) {
        std::string line = "Set ";
        if (value) {
            appendForLog(line, answer);
        } else {
            line += "(nothing)";
        }
        line += " for ";
        line += key;
        Diagnostics::log(line);
    }
    setValue(key, std::move(value));
    return answer;
}

}  // namespace brelka
