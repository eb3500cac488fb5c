// A one-line text input. A tap makes it the first responder (the keyboard comes up); typing
// edits its text. It sends editing-did-begin, editing-changed and editing-did-end to its
// targets, and asks its delegate whether to begin or end editing and what the return key
// does. Secure entry masks the text on screen only; text() is always what was typed.
// Main thread only.
#pragma once

#include <string>

#include "ui/Control.h"
#include "ui/TextStyle.h"

namespace ui {

class TextField;

// Not owned by the field; it must outlive its registration (or be unset first).
class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;
    virtual bool textFieldShouldBeginEditing(TextField&) { return true; }
    virtual bool textFieldShouldEndEditing(TextField&) { return true; }
    // The return key. Answering true lets the field send editing-did-end-on-exit, which ends
    // the editing when an action is registered for that event.
    virtual bool textFieldShouldReturn(TextField&) { return true; }
};

enum class ReturnKeyType { defaultKey, go, next, done, send, search };
enum class TextBorderStyle { none, line, bezel, roundedRect };

class TextField : public Control {
public:
    explicit TextField(Rect frame = {});

    const std::string& text() const { return text_; }
    // Replaces the text; sends no event, as on the platform.
    void setText(std::string text) { text_ = std::move(text); }
    // The grey hint shown while the text is empty.
    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(std::string p) { placeholder_ = std::move(p); }
    bool isSecureTextEntry() const { return secure_; }
    void setSecureTextEntry(bool s) { secure_ = s; }
    // The text as drawn: one bullet per character for secure entry.
    std::string displayText() const;

    ReturnKeyType returnKeyType() const { return returnKey_; }
    void setReturnKeyType(ReturnKeyType t) { returnKey_ = t; }
    TextBorderStyle borderStyle() const { return border_; }
    void setBorderStyle(TextBorderStyle s) { border_ = s; }
    const FontSpec& font() const { return font_; }
    void setFont(FontSpec f) { font_ = std::move(f); }
    Color textColor() const { return textColor_; }
    void setTextColor(Color c) { textColor_ = c; }
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment a) { alignment_ = a; }

    TextFieldDelegate* delegate() const { return delegate_; }
    void setDelegate(TextFieldDelegate* d) { delegate_ = d; }

    // Whether the field is being edited (it is the first responder; the caret shows).
    bool isEditing() const { return isFirstResponder(); }

    bool canBecomeFirstResponder() const override { return isEnabled(); }
    // Appends at the end (the caret stays at the end); line breaks are dropped.
    void insertText(std::string_view text) override;
    // Removes the last character (a whole grapheme cluster).
    void deleteBackward() override;
    void pressReturn() override;

protected:
    void tapped() override;
    bool shouldBeginEditing() override;
    bool shouldEndEditing() override;
    void didBeginEditing() override;
    void didEndEditing() override;
    bool wantsKeyboard() const override { return true; }

private:
    std::string text_;
    std::string placeholder_;
    bool secure_ = false;
    ReturnKeyType returnKey_ = ReturnKeyType::defaultKey;
    TextBorderStyle border_ = TextBorderStyle::none;
    FontSpec font_;
    Color textColor_ = Color::black();
    TextAlignment alignment_ = TextAlignment::natural;
    TextFieldDelegate* delegate_ = nullptr;
};

}  // namespace ui
