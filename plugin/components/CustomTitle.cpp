#include "components/CustomTitle.h"

#include "dialog/Constants.h"

namespace brelka {

CustomTitle::CustomTitle(std::string title, double x, double y, double width, double height)
    : _title(std::move(title)), _x(x), _y(y), _width(width), _height(height) {
    setFrame(ui::Rect(x, y, width, height));
    addTitle();
}

CustomTitle::~CustomTitle() = default;

void CustomTitle::addTitle() {
    _title_label->setTextAlignment(ui::TextAlignment::center);
    _title_label->setTextColor(ui::Color::black());
    _title_label->setFont(ui::FontSpec{kBoldFontName, __title_default_font_size});
    _title_label->setText(_title);
    _title_label->setFrame(
        ui::Rect(_x + __left_right_margin, 0, _width - 2 * __left_right_margin, _height));
    addSubview(_title_label);
}

void CustomTitle::updateSize() {
    _title_label->removeFromSuperview();
    setFrame(ui::Rect(_x, _y, _width, _height));
    addTitle();
}

ui::Inspection CustomTitle::inspect() const {
    return ui::Inspection{"CustomTitle", {{"title", _title}}, std::nullopt, std::nullopt};
}

}  // namespace brelka
