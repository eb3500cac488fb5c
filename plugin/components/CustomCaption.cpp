#include "components/CustomCaption.h"

#include "components/ItemTitle.h"
#include "dialog/Constants.h"

namespace brelka {

CustomCaption::CustomCaption(std::string title, std::string description, double x, double y,
                             double title_width, double total_width, double title_height,
                             double total_height)
    : _title(std::move(title)),
      _description(std::move(description)),
      _x(x),
      _y(y),
      _title_width(title_width),
      _total_width(total_width),
      _title_height(title_height),
      _total_height(total_height) {
    setFrame(ui::Rect(x, y, total_width, total_height));
    addTitle();
    addDescription();
}

CustomCaption::~CustomCaption() = default;

void CustomCaption::addTitle() {
    styleItemTitle(*_title_label, _title);
    _title_label->setFrame(ui::Rect(_x + __left_right_margin, 0, _title_width, _title_height));
    addSubview(_title_label);
}

void CustomCaption::addDescription() {
    _description_label->setTextAlignment(ui::TextAlignment::left);
    _description_label->setLineBreakMode(ui::LineBreakMode::wordWrap);
    _description_label->setNumberOfLines(0);
    _description_label->setTextColor(ui::Color::black());
    _description_label->setFont(ui::FontSpec{kRegularFontName, __message_default_font_size});
    _description_label->setText(_description);
    // Without a title the description takes the title column's place too.
    double x = _x + __left_right_margin;
    double width = _total_width - 2 * __left_right_margin;
    if (_title_width != 0) {
        x += _title_width + __component_horizontal_spacing;
        width -= __component_horizontal_spacing + _title_width;
    }
    _description_label->setFrame(ui::Rect(x, 0, width, _total_height));
    addSubview(_description_label);
}

void CustomCaption::updateSize() {
    _title_label->removeFromSuperview();
    _description_label->removeFromSuperview();
    setFrame(ui::Rect(_x, _y, _total_width, _total_height));
    addTitle();
    addDescription();
}

ui::Inspection CustomCaption::inspect() const {
    return ui::Inspection{
        "CustomCaption", {{"title", _title}, {"description", _description}}, std::nullopt, std::nullopt};
}

}  // namespace brelka
