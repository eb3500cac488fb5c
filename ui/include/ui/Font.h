// A font face requested by name and point size, as the dialog asks for "Helvetica" and
// "Helvetica Bold". The name is resolved through fontconfig (family and style are read apart,
// so "Helvetica Bold" is Helvetica at bold weight: Nimbus Sans Bold on this system), and
// characters the face lacks are drawn and measured with the first installed face that has
// them. A cheap value type: copies share one resolved face set, which lives until the process
// ends. Usable from any thread.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace ui {

namespace detail {
class FontSet;
}

class Font {
public:
    // Sizes that are not positive finite numbers give 12 points.
    Font(std::string_view name, double pointSize);

    const std::string& name() const;
    double pointSize() const;

    // The family of the face that the name resolved to, e.g. "Nimbus Sans".
    const std::string& familyName() const;
    // The font file of that face.
    const std::string& filePath() const;

    // In points: the distance of one line to the next (ascender + descender + line gap), the
    // height above the baseline and the depth below it (positive).
    double lineHeight() const;
    double ascender() const;
    double descender() const;

    detail::FontSet& fontSet() const { return *set_; }

    friend bool operator==(const Font& a, const Font& b) { return a.set_ == b.set_; }

private:
    std::shared_ptr<detail::FontSet> set_;
};

}  // namespace ui
