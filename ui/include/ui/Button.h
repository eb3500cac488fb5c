// A push button: a title (plain or attributed) per control state, drawn in its title font
// and colour, aligned within the frame, with touch-up-inside actions. Main thread only.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "ui/Control.h"
#include "ui/TextStyle.h"

namespace ui {

enum class ContentHorizontalAlignment { center, left, right, fill };

class Button : public Control {
public:
    // The title font a button has until one is set (the platform's button font).
    static FontSpec defaultTitleFont() { return FontSpec::system(18); }

    explicit Button(Rect frame = {});

    // Per-state values; a state without its own value shows the normal state's.
    void setTitle(std::string title, unsigned state = controlStateNormal);
    std::optional<std::string> title(unsigned state = controlStateNormal) const;
    void setAttributedTitle(AttributedText title, unsigned state = controlStateNormal);
    std::optional<AttributedText> attributedTitle(unsigned state = controlStateNormal) const;
    void setTitleColor(Color c, unsigned state = controlStateNormal);
    Color titleColor(unsigned state = controlStateNormal) const;

    // What is shown now, for the current state(): the attributed title wins over the plain
    // one, as on the platform.
    std::string currentTitle() const;
    std::optional<AttributedText> currentAttributedTitle() const;
    Color currentTitleColor() const { return titleColor(state()); }

    const FontSpec& titleFont() const { return font_; }
    void setTitleFont(FontSpec f) { font_ = std::move(f); }
    ContentHorizontalAlignment contentHorizontalAlignment() const { return alignment_; }
    void setContentHorizontalAlignment(ContentHorizontalAlignment a) { alignment_ = a; }

private:
    template <class T>
    static std::optional<T> lookup(const std::map<unsigned, T>& m, unsigned state);

    std::map<unsigned, std::string> titles_;
    std::map<unsigned, AttributedText> attributed_;
    std::map<unsigned, Color> colors_;
    FontSpec font_ = defaultTitleFont();
    ContentHorizontalAlignment alignment_ = ContentHorizontalAlignment::center;
};

}  // namespace ui
