#include "components/CustomIcon.h"

namespace brelka {

CustomIcon::CustomIcon(ImageRef icon, double x, double y, double width, double height)
    : _icon(std::move(icon)), _x(x), _y(y), _width(width), _height(height) {
    setFrame(ui::Rect(x, y, width, height));
    addIcon();
}

CustomIcon::~CustomIcon() = default;

void CustomIcon::addIcon() {
    _icon_view = std::make_shared<ui::ImageView>(
        ui::Rect(_view_width / 2 - _width / 2, 0, _width, _height));
    _icon_view->setImage(_icon);
    addSubview(_icon_view);
}

void CustomIcon::updateSize() {
    _icon_view->removeFromSuperview();
    setFrame(ui::Rect(_x, _y, _view_width, _height));
    addIcon();
}

ui::Inspection CustomIcon::inspect() const {
    return ui::Inspection{"CustomIcon", {}, std::nullopt, std::nullopt};
}

}  // namespace brelka
