#include "components/CustomTextField.h"

#include "components/ItemTitle.h"
#include "dialog/Constants.h"

namespace brelka {

CustomTextField::CustomTextField(std::string title, std::string placeholder, bool password,
                                 double x, double y, double title_width, double total_width,
                                 double height, std::string validation, bool filemaker_validation,
                                 bool focus)
    : _title(std::move(title)),
      _placeholder(std::move(placeholder)),
      _password(password),
      _x(x),
      _y(y),
      _title_width(title_width),
      _total_width(total_width),
      _height(height),
      _validation(std::move(validation)),
      _filemaker_validation(filemaker_validation),
      _focus(focus) {
    setFrame(ui::Rect(x, y, total_width, height));
    addTitle();
    addTextField();
}

std::string CustomTextField::getValue() const { return _textfield->text(); }

std::string CustomTextField::getText() const { return _textfield->text(); }

void CustomTextField::addTextField() {
    const double m = __left_right_margin;
    const double hs = __component_horizontal_spacing;
    _textfield->setBorderStyle(ui::TextBorderStyle::roundedRect);
    _textfield->setTextAlignment(ui::TextAlignment::left);
    _textfield->setTextColor(ui::Color::black());
    _textfield->layer().borderWidth = 1;
    _textfield->layer().borderColor = __separator_default_color;
    _textfield->layer().cornerRadius = 5;
    _textfield->setFont(ui::FontSpec{kRegularFontName, __message_default_font_size});
    // The initial text is real, editable text, not a hint.
    _textfield->setText(_placeholder);
    if (_title_width == 0) {
        _textfield->setFrame(ui::Rect(_x + m, 0, _total_width - 2 * m, _height));
    } else {
        _textfield->setFrame(ui::Rect(_x + m + _title_width + hs, 0,
                                      _total_width - 2 * m - hs - _title_width, _height));
    }
    _textfield->setSecureTextEntry(_password);
    addSubview(_textfield);
}

void CustomTextField::addTitle() {
    styleItemTitle(*_title_label, _title);
    // As tall as the component, so a one-line title sits centred beside the input.
    _title_label->setFrame(ui::Rect(_x + __left_right_margin, 0, _title_width, _height));
    addSubview(_title_label);
}

void CustomTextField::updateSize() {
    _title_label->removeFromSuperview();
    _textfield->removeFromSuperview();
    setFrame(ui::Rect(_x, _y, _total_width, _height));
    addTitle();
    addTextField();
}

ui::Inspection CustomTextField::inspect() const {
    return ui::Inspection{"CustomTextField", {{"title", _title}, {"placeholder", _placeholder}}, _textfield->text(), _textfield->text()};
}

}  // namespace brelka
