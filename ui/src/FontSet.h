// A font as requested by name and size: the face fontconfig chose for the name, followed by
// the faces that cover what it lacks (Japanese, Chinese, symbols), in fontconfig's order.
// Created and owned by the FontLibrary and shared by every ui::Font of the same name and size;
// it lives for the whole process. faceFor() loads fallback faces on first need and must be
// called with the text lock (FontLibrary::mutex) held; the rest is immutable after creation.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <fontconfig/fontconfig.h>

#include "FontFace.h"

namespace ui::detail {

class FontLibrary;

// One entry of a fallback chain: where the face is and which characters it has.
struct FallbackFace {
    std::string file;
    int index = 0;
    std::string family;
    FcCharSet* charset = nullptr;  // referenced; released by the chain's owner
};

class FontSet {
public:
    FontSet(FontLibrary& library, std::string name, double size,
            std::shared_ptr<const std::vector<FallbackFace>> chain);

    const std::string& name() const { return name_; }
    double size() const { return size_; }
    const FontFace& primary() const { return *primary_; }
    const std::string& primaryFamily() const { return (*chain_)[primaryEntry_].family; }

    // The face that draws a code point: the primary face when it has the character, else the
    // first face of the chain that has it, else the primary face (which then shows its
    // missing-glyph box). Text lock held.
    const FontFace* faceFor(char32_t codePoint);

private:
    FontLibrary& library_;
    std::string name_;
    double size_;
    std::shared_ptr<const std::vector<FallbackFace>> chain_;
    const FontFace* primary_;
    size_t primaryEntry_ = 0;
    std::array<bool, 128> asciiInPrimary_{};
    std::unordered_map<char32_t, const FontFace*> chosen_;
};

}  // namespace ui::detail
