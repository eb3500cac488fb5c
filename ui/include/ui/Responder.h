// Something that can hold the keyboard focus. At most one responder in the process is the
// first responder; text inputs become it to receive typing. Main thread only.
#pragma once

#include <string_view>

namespace ui {

class Responder {
public:
    virtual ~Responder();

    // The current first responder, or nullptr.
    static Responder* current();
    // The responder taking the focus right now (while the previous one is asked to end its
    // editing), or nullptr; lets an ending input tell a focus move from a plain end.
    static Responder* pendingFirstResponder();

    virtual bool canBecomeFirstResponder() const { return false; }
    virtual bool canResignFirstResponder() const { return true; }
    // Makes this the first responder, ending the editing of the previous one first (the
    // keyboard stays up when focus moves between inputs). Answers whether it now is.
    bool becomeFirstResponder();
    // Gives up the focus; answers false if this was not the first responder or refused.
    bool resignFirstResponder();
    bool isFirstResponder() const { return current() == this; }

    // Text entry from the keyboard, delivered to the first responder.
    virtual void insertText(std::string_view) {}
    virtual void deleteBackward() {}
    // The return key; one-line inputs ask their delegate, multi-line inputs insert a break.
    virtual void pressReturn() {}

protected:
    Responder() = default;
    // Hooks run by become/resign: the subclass asks its delegate and sends its events here.
    // shouldBegin/shouldEnd may refuse; didBegin/didEnd run after the focus has changed.
    virtual bool shouldBeginEditing() { return true; }
    virtual bool shouldEndEditing() { return true; }
    virtual void didBeginEditing() {}
    virtual void didEndEditing() {}
    // Whether the on-screen keyboard is shown while this is first responder.
    virtual bool wantsKeyboard() const { return false; }

private:
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;
    bool resign(bool keyboardStays);
};

}  // namespace ui
