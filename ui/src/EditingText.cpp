#include "EditingText.h"

#include <memory>

#include <unicode/brkiter.h>
#include <unicode/unistr.h>

namespace ui::detail {

namespace {
std::unique_ptr<icu::BreakIterator> characterIterator(const icu::UnicodeString& s) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> it(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status)) return nullptr;
    it->setText(s);
    return it;
}
}  // namespace

void removeLastCharacter(std::string& text) {
    if (text.empty()) return;
    const icu::UnicodeString s = icu::UnicodeString::fromUTF8(text);
    auto it = characterIterator(s);
    int32_t cut = s.length() - 1;
    if (it) {
        cut = it->preceding(s.length());
        if (cut == icu::BreakIterator::DONE) cut = 0;
    } else if (cut > 0 && U16_IS_TRAIL(s.charAt(cut)) && U16_IS_LEAD(s.charAt(cut - 1))) {
        --cut;
    }
    text.clear();
    s.tempSubString(0, cut).toUTF8String(text);
}

std::size_t characterCount(std::string_view text) {
    const icu::UnicodeString s = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    auto it = characterIterator(s);
    if (!it) return static_cast<std::size_t>(s.countChar32());
    std::size_t n = 0;
    it->first();
    while (it->next() != icu::BreakIterator::DONE) ++n;
    return n;
}

}  // namespace ui::detail
