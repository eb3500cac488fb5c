#include "components/CustomSeparator.h"

#include "dialog/Constants.h"

namespace brelka {

CustomSeparator::CustomSeparator(double x, double y, double width, double height)
    : _x(x), _y(y), _width(width), _height(height) {
    setFrame(ui::Rect(x, y, width, height));
    addSeparator();
}

CustomSeparator::~CustomSeparator() = default;

void CustomSeparator::addSeparator() {
    // The line is placed from the strip's left edge, not from _x (always 0 in the dialog).
    _separator = std::make_shared<ui::View>(
        ui::Rect(__left_right_margin, 10, _width - 2 * __left_right_margin, 1));
    _separator->setBackgroundColor(ui::Color{0.5, 0.5, 0.5, 1});
    addSubview(_separator);
}

void CustomSeparator::updateSize() {
    _separator->removeFromSuperview();
    setFrame(ui::Rect(_x, _y, _width, _height));
    addSeparator();
}

ui::Inspection CustomSeparator::inspect() const {
    return ui::Inspection{"CustomSeparator", {}, std::nullopt, std::nullopt};
}

}  // namespace brelka
