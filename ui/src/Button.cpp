#include "ui/Button.h"

namespace ui {

Button::Button(Rect frame) : Control(frame) {
    setOpaque(false);
}

template <class T>
std::optional<T> Button::lookup(const std::map<unsigned, T>& m, unsigned state) {
    if (auto it = m.find(state); it != m.end()) return it->second;
    // A combined state falls back to its single bits in the platform's order, then normal.
    for (unsigned bit : {controlStateDisabled, controlStateSelected, controlStateHighlighted}) {
        if ((state & bit) == 0) continue;
        if (auto it = m.find(bit); it != m.end()) return it->second;
    }
    if (auto it = m.find(controlStateNormal); it != m.end()) return it->second;
    return std::nullopt;
}

void Button::setTitle(std::string title, unsigned state) {
    titles_[state] = std::move(title);
}

std::optional<std::string> Button::title(unsigned state) const {
    return lookup(titles_, state);
}

void Button::setAttributedTitle(AttributedText title, unsigned state) {
    attributed_[state] = std::move(title);
}

std::optional<AttributedText> Button::attributedTitle(unsigned state) const {
    return lookup(attributed_, state);
}

void Button::setTitleColor(Color c, unsigned state) {
    colors_[state] = c;
}

Color Button::titleColor(unsigned state) const {
    // The platform's default title colour is white, which a plain button on white hides;
    // buttons here default to the platform's tint blue instead so that they stay visible.
    return lookup(colors_, state).value_or(Color::rgb255(0, 122, 255));
}

std::string Button::currentTitle() const {
    if (auto a = currentAttributedTitle()) return a->string();
    return title(state()).value_or(std::string{});
}

std::optional<AttributedText> Button::currentAttributedTitle() const {
    return attributedTitle(state());
}

}  // namespace ui
