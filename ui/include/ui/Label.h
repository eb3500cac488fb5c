// A view that shows read-only text in one font and colour. Labels do not take touches by
// default, so a tap on one reaches the view behind it. Main thread only.
#pragma once

#include <string>

#include "ui/TextStyle.h"
#include "ui/View.h"

namespace ui {

class Label : public View {
public:
    explicit Label(Rect frame = {});

    const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }
    const FontSpec& font() const { return font_; }
    void setFont(FontSpec font) { font_ = std::move(font); }
    Color textColor() const { return textColor_; }
    void setTextColor(Color c) { textColor_ = c; }
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment a) { alignment_ = a; }
    // Maximum number of lines; 0 means as many as the frame holds.
    int numberOfLines() const { return lines_; }
    void setNumberOfLines(int n) { lines_ = n < 0 ? 0 : n; }
    LineBreakMode lineBreakMode() const { return lineBreak_; }
    void setLineBreakMode(LineBreakMode m) { lineBreak_ = m; }

private:
    std::string text_;
    FontSpec font_;
    Color textColor_ = Color::black();
    TextAlignment alignment_ = TextAlignment::natural;
    int lines_ = 1;
    LineBreakMode lineBreak_ = LineBreakMode::truncateTail;
};

}  // namespace ui
