// A multi-line, word-wrapped, editable text input. A tap makes it the first responder; the
// return key inserts a line break. Its delegate is asked whether editing may begin and end.
// Main thread only.
#pragma once

#include <string>

#include "ui/TextStyle.h"
#include "ui/View.h"

namespace ui {

class TextView;

// Not owned by the text view; it must outlive its registration (or be unset first).
class TextViewDelegate {
public:
    virtual ~TextViewDelegate() = default;
    virtual bool textViewShouldBeginEditing(TextView&) { return true; }
    virtual bool textViewShouldEndEditing(TextView&) { return true; }
    virtual void textViewDidBeginEditing(TextView&) {}
    virtual void textViewDidEndEditing(TextView&) {}
    virtual void textViewDidChange(TextView&) {}
};

class TextView : public View {
public:
    explicit TextView(Rect frame = {});

    const std::string& text() const { return text_; }
    // Replaces the text; tells the delegate nothing, as on the platform.
    void setText(std::string text) { text_ = std::move(text); }
    const FontSpec& font() const { return font_; }
    void setFont(FontSpec f) { font_ = std::move(f); }
    Color textColor() const { return textColor_; }
    void setTextColor(Color c) { textColor_ = c; }
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment a) { alignment_ = a; }
    bool isEditable() const { return editable_; }
    void setEditable(bool e) { editable_ = e; }
    // Space between the frame and the text, as drawn.
    static constexpr double kInsetTop = 8, kInsetLeft = 5, kInsetBottom = 8, kInsetRight = 5;

    TextViewDelegate* delegate() const { return delegate_; }
    void setDelegate(TextViewDelegate* d) { delegate_ = d; }
    bool isEditing() const { return isFirstResponder(); }

    bool canBecomeFirstResponder() const override { return editable_; }
    void insertText(std::string_view text) override;
    void deleteBackward() override;
    void pressReturn() override;

    bool acceptsTouches() const override { return true; }
    void touchEnded(Point p) override;

protected:
    bool shouldBeginEditing() override;
    bool shouldEndEditing() override;
    void didBeginEditing() override;
    void didEndEditing() override;
    bool wantsKeyboard() const override { return true; }

private:
    std::string text_;
    FontSpec font_{"Helvetica", 12};
    Color textColor_ = Color::black();
    TextAlignment alignment_ = TextAlignment::natural;
    bool editable_ = true;
    TextViewDelegate* delegate_ = nullptr;
};

}  // namespace ui
