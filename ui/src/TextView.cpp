#include "ui/TextView.h"

#include "EditingText.h"

namespace ui {

TextView::TextView(Rect frame) : View(frame) {
    setBackgroundColor(Color::white());
    setClipsToBounds(true);
}

void TextView::insertText(std::string_view text) {
    if (text.empty()) return;
    text_ += text;
    if (delegate_) delegate_->textViewDidChange(*this);
}

void TextView::deleteBackward() {
    if (text_.empty()) return;
    detail::removeLastCharacter(text_);
    if (delegate_) delegate_->textViewDidChange(*this);
}

void TextView::pressReturn() {
    insertText("\n");
}

void TextView::touchEnded(Point p) {
    if (pointInside(p)) becomeFirstResponder();
}

bool TextView::shouldBeginEditing() {
    return !delegate_ || delegate_->textViewShouldBeginEditing(*this);
}

bool TextView::shouldEndEditing() {
    return !delegate_ || delegate_->textViewShouldEndEditing(*this);
}

void TextView::didBeginEditing() {
    if (delegate_) delegate_->textViewDidBeginEditing(*this);
}

void TextView::didEndEditing() {
    if (delegate_) delegate_->textViewDidEndEditing(*this);
}

}  // namespace ui
