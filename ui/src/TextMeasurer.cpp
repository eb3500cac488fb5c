#include "ui/TextMeasurer.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <string>
#include <unordered_map>

#include "FontLibrary.h"
#include "TextEngine.h"

namespace ui {

namespace {

// Cache key: the text, the font set (one per name and size for the life of the process) and
// the width, with NaN standing for "no wrap".
struct KeyView {
    std::string_view text;
    const void* font;
    double width;
};

struct Key {
    std::string text;
    const void* font;
    double width;
};

struct KeyHash {
    using is_transparent = void;
    size_t operator()(const KeyView& k) const noexcept {
        size_t h = std::hash<std::string_view>{}(k.text);
        h ^= std::hash<const void*>{}(k.font) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
        std::uint64_t bits = 0;
        std::memcpy(&bits, &k.width, sizeof bits);
        h ^= std::hash<std::uint64_t>{}(bits) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
        return h;
    }
    size_t operator()(const Key& k) const noexcept { return (*this)(KeyView{k.text, k.font, k.width}); }
};

struct KeyEqual {
    using is_transparent = void;
    static KeyView view(const KeyView& k) { return k; }
    static KeyView view(const Key& k) { return KeyView{k.text, k.font, k.width}; }
    template <typename A, typename B>
    bool operator()(const A& a, const B& b) const noexcept {
        const KeyView x = view(a), y = view(b);
        return x.font == y.font && x.text == y.text &&
               std::memcmp(&x.width, &y.width, sizeof x.width) == 0;
    }
};

// A dialog measures a few hundred texts; the bound only keeps a long-running host from
// growing without end. When it is reached the cache starts afresh.
constexpr size_t kMaxEntries = 100000;

class MeasureCache {
public:
    Size measure(std::string_view text, const Font& font, double width) {
        detail::FontSet& set = font.fontSet();
        const KeyView key{text, &set, width};
        {
            std::lock_guard lock(mutex_);
            if (auto it = entries_.find(key); it != entries_.end()) return it->second;
        }
        Size size;
        {
            auto& library = detail::FontLibrary::instance();
            std::lock_guard textLock(library.mutex());
            size = detail::TextEngine::shared().measure(text, set, std::isnan(width) ? detail::kNoWrap : width);
        }
        std::lock_guard lock(mutex_);
        if (entries_.size() >= kMaxEntries) entries_.clear();
        entries_.emplace(Key{std::string(text), &set, width}, size);
        return size;
    }

    void clear() {
        std::lock_guard lock(mutex_);
        entries_.clear();
    }

private:
    std::mutex mutex_;
    std::unordered_map<Key, Size, KeyHash, KeyEqual> entries_;
};

MeasureCache& cache() {
    static MeasureCache* instance = new MeasureCache();
    return *instance;
}

// One-line measurements share the cache under the width NaN, which wrapped calls never pass.
const double kSingleLine = std::numeric_limits<double>::quiet_NaN();

}  // namespace

Size TextMeasurer::singleLineSize(std::string_view text, const Font& font) {
    if (text.empty()) return Size{0, 0};
    return cache().measure(text, font, kSingleLine);
}

Size TextMeasurer::wrappedSize(std::string_view text, const Font& font, double width) {
    if (text.empty()) return Size{0, 0};
    if (std::isnan(width)) return singleLineSize(text, font);
    return cache().measure(text, font, width);
}

void TextMeasurer::clearCache() { cache().clear(); }

}  // namespace ui
