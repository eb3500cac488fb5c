#include "components/Extensions.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <vector>

namespace brelka {

std::optional<bool> toBool(std::string_view text) {
    if (text == "True" || text == "true" || text == "yes" || text == "1") return true;
    if (text == "False" || text == "false" || text == "no" || text == "0") return false;
    return std::nullopt;
}

namespace {

// One code point of a text, folded or as is, with the byte range it came from.
struct Unit {
    UChar32 c;
    std::size_t begin;
    std::size_t end;
};

std::vector<Unit> units(std::string_view text, bool fold) {
    std::vector<Unit> out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t i = 0;
    while (i < length) {
        const std::int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (c < 0) {
            // An invalid sequence stands for its own bytes: a value no code point has, so it
            // matches only the same bytes.
            c = 0x110000 + bytes[start];
        } else if (fold) {
            c = u_foldCase(c, U_FOLD_CASE_DEFAULT);
        }
        out.push_back(Unit{c, static_cast<std::size_t>(start), static_cast<std::size_t>(i)});
    }
    return out;
}

}  // namespace

std::string replacingLastOccurrenceOfString(std::string_view text, std::string_view search,
                                            std::string_view replacement, bool caseInsensitive) {
    if (search.empty()) return std::string(text);
    const std::vector<Unit> hay = units(text, caseInsensitive);
    const std::vector<Unit> needle = units(search, caseInsensitive);
    if (needle.empty() || needle.size() > hay.size()) return std::string(text);
    for (std::size_t start = hay.size() - needle.size() + 1; start-- > 0;) {
        bool match = true;
        for (std::size_t k = 0; k < needle.size() && match; ++k) {
            match = hay[start + k].c == needle[k].c;
        }
        if (!match) continue;
        const std::size_t from = hay[start].begin;
        const std::size_t to = hay[start + needle.size() - 1].end;
        std::string out;
        out.reserve(text.size() - (to - from) + replacement.size());
        out.append(text.substr(0, from));
        out.append(replacement);
        out.append(text.substr(to));
        return out;
    }
    return std::string(text);
}

}  // namespace brelka
