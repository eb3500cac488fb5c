#include "ui/TextField.h"

#include "EditingText.h"

namespace ui {

TextField::TextField(Rect frame) : Control(frame) {
    setOpaque(false);
}

std::string TextField::displayText() const {
    if (!secure_) return text_;
    std::string masked;
    for (std::size_t i = detail::characterCount(text_); i > 0; --i) masked += "\u2022";
    return masked;
}

void TextField::insertText(std::string_view text) {
    std::string clean;
    clean.reserve(text.size());
    for (char c : text)
        if (c != '\n' && c != '\r') clean += c;
    if (clean.empty()) return;
    text_ += clean;
    sendActions(ControlEvent::editingChanged);
}

void TextField::deleteBackward() {
    if (text_.empty()) return;
    detail::removeLastCharacter(text_);
    sendActions(ControlEvent::editingChanged);
}

void TextField::pressReturn() {
    auto keep = weak_from_this().lock();
    if (delegate_ && !delegate_->textFieldShouldReturn(*this)) return;
    if (!isFirstResponder() || !hasActions(ControlEvent::editingDidEndOnExit)) return;
    sendActions(ControlEvent::editingDidEndOnExit);
    resignFirstResponder();
}

void TextField::tapped() {
    becomeFirstResponder();
}

bool TextField::shouldBeginEditing() {
    return !delegate_ || delegate_->textFieldShouldBeginEditing(*this);
}

bool TextField::shouldEndEditing() {
    return !delegate_ || delegate_->textFieldShouldEndEditing(*this);
}

void TextField::didBeginEditing() {
    sendActions(ControlEvent::editingDidBegin);
}

void TextField::didEndEditing() {
    sendActions(ControlEvent::editingDidEnd);
}

}  // namespace ui
