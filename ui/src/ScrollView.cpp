#include "ui/ScrollView.h"

#include <algorithm>
#include <cmath>

namespace ui {

ScrollView::ScrollView(Rect frame) : View(frame) {
    setClipsToBounds(true);
}

void ScrollView::setContentSize(Size s) {
    contentSize_ = s;
    setContentOffset(contentOffset());
}

Point ScrollView::maxContentOffset() const {
    return Point{std::max(0.0, contentSize_.width - bounds().size.width),
                 std::max(0.0, contentSize_.height - bounds().size.height)};
}

void ScrollView::setContentOffset(Point offset, bool) {
    const Point max = maxContentOffset();
    offset.x = std::clamp(offset.x, 0.0, max.x);
    offset.y = std::clamp(offset.y, 0.0, max.y);
    if (offset == contentOffset()) return;
    setBounds(Rect(offset, bounds().size));
    didScroll();
}

// Touch points arrive in content coordinates, which move as we scroll; the drag is measured
// in the parent's coordinates instead, which stay put.
void ScrollView::touchBegan(Point p) {
    dragging_ = false;
    touchStart_ = convert(p, superview());
    offsetAtStart_ = contentOffset();
}

void ScrollView::touchMoved(Point p) {
    const Point now = convert(p, superview());
    const double dx = now.x - touchStart_.x;
    const double dy = now.y - touchStart_.y;
    if (!dragging_ && std::hypot(dx, dy) < kDragThreshold) return;
    dragging_ = true;
    if (!scrollEnabled_) return;
    const double s = transformScale() == 0 ? 1 : transformScale();
    setContentOffset(Point{offsetAtStart_.x - dx / s, offsetAtStart_.y - dy / s});
}

void ScrollView::touchEnded(Point p) {
    touchMoved(p);
    if (!dragging_ && pointInside(p)) tappedContent(p);
    dragging_ = false;
}

void ScrollView::touchCancelled() {
    dragging_ = false;
}

bool ScrollView::scrollWheel(Point, double dx, double dy) {
    if (!scrollEnabled_) return false;
    const Point max = maxContentOffset();
    if (max.x <= 0 && max.y <= 0) return false;
    setContentOffset(Point{contentOffset().x + dx, contentOffset().y + dy});
    return true;
}

}  // namespace ui
