#include "components/CustomTextArea.h"

#include "components/ItemTitle.h"
#include "dialog/Constants.h"

namespace brelka {

CustomTextArea::CustomTextArea(std::string title, std::string placeholder, double x, double y,
                               double title_width, double total_width, double title_height,
                               double total_height, bool focus)
    : _title(std::move(title)),
      _placeholder(std::move(placeholder)),
      _x(x),
      _y(y),
      _title_width(title_width),
      _total_width(total_width),
      _title_height(title_height),
      _total_height(total_height),
      _focus(focus) {
    setFrame(ui::Rect(x, y, total_width, total_height));
    addTitle();
    addTextArea();
}

std::string CustomTextArea::getValue() const { return _text_area->text(); }

std::string CustomTextArea::getText() const { return _text_area->text(); }

void CustomTextArea::addTextArea() {
    const double m = __left_right_margin;
    const double hs = __component_horizontal_spacing;
    const ui::Rect frame =
        _title_width == 0
            ? ui::Rect(_x + m, 0, _total_width - 2 * m, _total_height)
            : ui::Rect(_x + m + _title_width + hs, 0, _total_width - 2 * m - hs - _title_width,
                       _total_height);
    _text_area = std::make_shared<ui::TextView>(frame);
    _text_area->setFont(ui::FontSpec{kRegularFontName, __message_default_font_size});
    _text_area->setTextAlignment(ui::TextAlignment::left);
    _text_area->setTextColor(ui::Color::black());
    _text_area->layer().borderWidth = 1;
    _text_area->layer().borderColor = __separator_default_color;
    _text_area->setText(_placeholder);
    addSubview(_text_area);
}

void CustomTextArea::addTitle() {
    styleItemTitle(*_title_label, _title);
    // Level with the text view's first line (its top inset), not centred over the whole area.
    _title_label->setFrame(ui::Rect(_x + __left_right_margin, 8, _title_width, _title_height));
    addSubview(_title_label);
}

void CustomTextArea::updateSize() {
    _title_label->removeFromSuperview();
    _text_area->removeFromSuperview();
    setFrame(ui::Rect(_x, _y, _total_width, _total_height));
    addTitle();
    addTextArea();
}

ui::Inspection CustomTextArea::inspect() const {
    return ui::Inspection{"CustomTextArea", {{"title", _title}, {"placeholder", _placeholder}}, _text_area->text(), _text_area->text()};
}

}  // namespace brelka
