// The look every item title shares in the dialog's left column: right-aligned black text in
// "Helvetica" at the message size. Each component places the label itself.
#pragma once

#include <string>

#include "dialog/Constants.h"
#include "ui/Label.h"

namespace brelka {

inline void styleItemTitle(ui::Label& label, const std::string& title) {
    label.setTextAlignment(ui::TextAlignment::right);
    label.setTextColor(ui::Color::black());
    label.setFont(ui::FontSpec{kRegularFontName, __message_default_font_size});
    label.setText(title);
}

}  // namespace brelka
