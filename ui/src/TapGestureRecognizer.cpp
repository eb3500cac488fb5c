#include "ui/TapGestureRecognizer.h"

#include <memory>

#include "ui/View.h"

namespace ui {

Point TapGestureRecognizer::location(const View* in) const {
    if (!view_) return location_;
    return view_->convert(location_, in);
}

void TapGestureRecognizer::fire(Point point) {
    location_ = point;
    auto actions = actions_;
    for (auto& a : actions) a(*this);
}

}  // namespace ui
