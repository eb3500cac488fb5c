#include "ui/Keyboard.h"

#include "ui/NotificationCenter.h"
#include "ui/Responder.h"
#include "ui/Screen.h"

namespace ui {

Keyboard& Keyboard::shared() {
    static Keyboard keyboard;
    return keyboard;
}

Rect Keyboard::shownFrame() const {
    const Rect screen = Screen::main().bounds();
    const double h = Screen::main().keyboardHeight();
    return Rect(0, screen.height() - h, screen.width(), h);
}

std::optional<Rect> Keyboard::frame() const {
    if (!visible_) return std::nullopt;
    return shownFrame();
}

bool Keyboard::type(std::string_view text) {
    Responder* r = Responder::current();
    if (!r) return false;
    r->insertText(text);
    return true;
}

bool Keyboard::deleteBackward() {
    Responder* r = Responder::current();
    if (!r) return false;
    r->deleteBackward();
    return true;
}

bool Keyboard::pressReturn() {
    Responder* r = Responder::current();
    if (!r) return false;
    r->pressReturn();
    return true;
}

void Keyboard::inputDidBecomeFirstResponder() {
    visible_ = true;
    postChange(shownFrame());
}

void Keyboard::inputDidResignFirstResponder() {
    if (!visible_) return;
    visible_ = false;
    const Rect shown = shownFrame();
    postChange(Rect(shown.x(), Screen::main().bounds().height(), shown.width(), shown.height()));
}

void Keyboard::postChange(Rect end) {
    NotificationCenter::defaultCenter().post(
        kWillChangeFrame, {},
        {{kFrameEndKey, end}, {kDurationKey, kDuration}, {kCurveKey, kCurve}});
}

}  // namespace ui
