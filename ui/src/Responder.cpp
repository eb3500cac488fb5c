#include "ui/Responder.h"

#include "ui/Keyboard.h"
#include "ui/View.h"

namespace ui {

namespace {
// The process's first responder and the focus change in progress. Main thread only.
Responder* firstResponder = nullptr;
Responder* becoming = nullptr;
Responder* resigning = nullptr;
}  // namespace

Responder::~Responder() {
    if (firstResponder == this) {
        firstResponder = nullptr;
        Keyboard::shared().inputWentAway();
    }
    if (becoming == this) becoming = nullptr;
    if (resigning == this) resigning = nullptr;
}

Responder* Responder::current() {
    return firstResponder;
}

Responder* Responder::pendingFirstResponder() {
    return becoming;
}

bool Responder::becomeFirstResponder() {
    if (firstResponder == this) return true;
    if (!canBecomeFirstResponder()) return false;
    // A view takes the focus only while it is on screen, as on the platform.
    if (auto* view = dynamic_cast<View*>(this); view && !view->window()) return false;

    Responder* outer = becoming;
    becoming = this;
    const bool allowed = shouldBeginEditing();
    bool ok = allowed;
    if (ok && firstResponder && firstResponder != this) ok = firstResponder->resign(wantsKeyboard());
    becoming = outer;
    if (!ok) return false;
    if (firstResponder == this) return true;  // a handler gave us the focus already

    firstResponder = this;
    didBeginEditing();
    if (firstResponder == this && wantsKeyboard()) Keyboard::shared().inputDidBecomeFirstResponder();
    return firstResponder == this;
}

bool Responder::resignFirstResponder() {
    const bool stays = becoming && becoming != this && becoming->wantsKeyboard();
    return resign(stays);
}

bool Responder::resign(bool keyboardStays) {
    if (firstResponder != this) return false;
    if (resigning != this) {
        // Asking may move the focus on (a delegate that starts editing the next input);
        // that nested change ends this editing itself, so it is not asked twice.
        Responder* outer = resigning;
        resigning = this;
        const bool ok = canResignFirstResponder() && shouldEndEditing();
        resigning = outer;
        if (firstResponder != this) return true;
        if (!ok) return false;
    }
    firstResponder = nullptr;
    didEndEditing();
    if (wantsKeyboard() && !keyboardStays && firstResponder == nullptr)
        Keyboard::shared().inputDidResignFirstResponder();
    return true;
}

}  // namespace ui
