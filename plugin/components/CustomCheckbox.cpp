#include "components/CustomCheckbox.h"

#include "dialog/Constants.h"

namespace brelka {

CustomCheckbox::CustomCheckbox(std::string description, bool default_value, double x, double y,
                               double width_left, double width, double height)
    : _description(std::move(description)),
      _default_value(default_value),
      _x(x),
      _y(y),
      _width_left(width_left),
      _width(width),
      _height(height) {
    setFrame(ui::Rect(x, y, width_left + width, height));
    addCheckbox();
    addDescription();
}

CustomCheckbox::~CustomCheckbox() = default;

std::string CustomCheckbox::getValue() const { return _checkbox->isOn() ? "1" : "0"; }

std::string CustomCheckbox::getText() const { return getValue(); }

void CustomCheckbox::addDescription() {
    const double m = __left_right_margin;
    const double hs = __component_horizontal_spacing;
    const double sw = __switch_default_width;
    const double sh = __switch_default_height;
    const double wl = _width_left;
    const double b = bounds().size.width;
    _description_label->setTextAlignment(ui::TextAlignment::left);
    _description_label->setTextColor(ui::Color::black());
    _description_label->setFont(ui::FontSpec{kRegularFontName, __message_default_font_size});
    _description_label->setNumberOfLines(1);
    _description_label->setText(_description);
    // The label may reach past the right edge: it is left-aligned on one line, so the surplus
    // stays empty and a text that fits is never cut short.
    const double x = wl == 0 ? sw + wl + m + hs : sw + wl + m + 2 * hs;
    _description_label->setFrame(ui::Rect(x, sh / 2 - _height / 2, b - sw + wl + 2 * m + 2 * hs,
                                          wl == 0 ? _height : _height + 1));
    addSubview(_description_label);
}

void CustomCheckbox::addCheckbox() {
    const double m = __left_right_margin;
    _checkbox->setOn(_default_value);
    const double x = _width_left == 0 ? _width_left + m
                                      : _width_left + m + __component_horizontal_spacing;
    _checkbox->setFrame(ui::Rect(x, 0, __switch_default_width, __switch_default_height));
    // The outline keeps a switch that is off visible on the light panel.
    _checkbox->layer().borderWidth = 1;
    _checkbox->layer().borderColor = __separator_default_color;
    _checkbox->layer().cornerRadius = __switch_default_height / 2;
    _checkbox->setOnTintColor(__switch_default_tint_color);
    addSubview(_checkbox);
}

void CustomCheckbox::updateSize() {
    _checkbox->removeFromSuperview();
    _description_label->removeFromSuperview();
    setFrame(ui::Rect(_x, _y, _width_left + _width, _height));
    addCheckbox();
    addDescription();
}

ui::Inspection CustomCheckbox::inspect() const {
    return ui::Inspection{"CustomCheckbox", {{"description", _description}}, getValue(), getText()};
}

}  // namespace brelka
