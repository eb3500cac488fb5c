#include "FontSet.h"

#include <stdexcept>

#include "FontLibrary.h"

namespace ui::detail {

FontSet::FontSet(FontLibrary& library, std::string name, double size,
                 std::shared_ptr<const std::vector<FallbackFace>> chain)
    : library_(library), name_(std::move(name)), size_(size), chain_(std::move(chain)) {
    primary_ = nullptr;
    // A chain whose best face cannot be read falls back to the next readable one.
    for (; primaryEntry_ < chain_->size(); ++primaryEntry_) {
        const FallbackFace& entry = (*chain_)[primaryEntry_];
        if ((primary_ = library_.face(entry.file, entry.index, size_))) break;
    }
    if (!primary_) throw std::runtime_error("no readable font for " + name_);
    const FcCharSet* charset = (*chain_)[primaryEntry_].charset;
    for (char32_t c = 0; c < 128; ++c) {
        asciiInPrimary_[c] = !charset || FcCharSetHasChar(charset, c);
    }
}

const FontFace* FontSet::faceFor(char32_t codePoint) {
    if (codePoint < 128 && asciiInPrimary_[codePoint]) return primary_;
    if (auto it = chosen_.find(codePoint); it != chosen_.end()) return it->second;
    const FontFace* chosen = primary_;
    const auto& chain = *chain_;
    const FcCharSet* primaryCharset = chain[primaryEntry_].charset;
    if (primaryCharset && !FcCharSetHasChar(primaryCharset, codePoint)) {
        for (size_t i = primaryEntry_ + 1; i < chain.size(); ++i) {
            if (chain[i].charset && FcCharSetHasChar(chain[i].charset, codePoint)) {
                if (const FontFace* face = library_.face(chain[i].file, chain[i].index, size_)) {
                    chosen = face;
                    break;
                }
            }
        }
    }
    chosen_.emplace(codePoint, chosen);
    return chosen;
}

}  // namespace ui::detail
