#include "components/CustomImage.h"

#include "components/ItemTitle.h"
#include "dialog/Constants.h"

namespace brelka {

CustomImage::CustomImage(std::string title, ImageRef image, double x, double y,
                         double title_width, double image_width, double total_width,
                         double title_height, double total_height)
    : _title(std::move(title)),
      _image(std::move(image)),
      _x(x),
      _y(y),
      _title_width(title_width),
      _total_width(total_width),
      _title_height(title_height),
      _image_width(image_width),
      _total_height(total_height) {
    setFrame(ui::Rect(x, y, total_width, total_height));
    addTitle();
    addImage();
}

CustomImage::~CustomImage() = default;

void CustomImage::addTitle() {
    styleItemTitle(*_title_label, _title);
    _title_label->setFrame(ui::Rect(_x + __left_right_margin, 0, _title_width, _title_height));
    addSubview(_title_label);
}

void CustomImage::addImage() {
    double x = _x + __left_right_margin + _title_width;
    if (_title_width != 0) x += __component_horizontal_spacing;
    _image_view = std::make_shared<ui::ImageView>(ui::Rect(x, 0, _image_width, _total_height));
    _image_view->setImage(_image);
    addSubview(_image_view);
}

void CustomImage::updateSize() {
    _title_label->removeFromSuperview();
    _image_view->removeFromSuperview();
    setFrame(ui::Rect(_x, _y, _total_width, _total_height));
    addTitle();
    addImage();
}

ui::Inspection CustomImage::inspect() const {
    return ui::Inspection{"CustomImage", {{"title", _title}}, std::nullopt, std::nullopt};
}

}  // namespace brelka
