#include "ui/View.h"

#include <algorithm>
#include <cmath>

#include "ui/TapGestureRecognizer.h"
#include "ui/Window.h"

namespace ui {

namespace {
// Geometry that is not a number (a division by zero upstream) would spread through every
// conversion and drawing below it; such values count as 0, so the view stays usable.
double finite(double v) {
    return std::isfinite(v) ? v : 0;
}
Point finite(Point p) {
    return Point{finite(p.x), finite(p.y)};
}
Rect finite(Rect r) {
    return Rect(finite(r.origin), Size{finite(r.size.width), finite(r.size.height)});
}
}  // namespace

View::View(Rect frame) {
    setFrame(frame);
}

View::~View() {
    for (auto& child : subviews_) child->superview_ = nullptr;
    for (auto& r : recognizers_) r->view_ = nullptr;
}

Rect View::frame() const {
    const double w = bounds_.size.width * scale_;
    const double h = bounds_.size.height * scale_;
    return Rect(center_.x - w / 2, center_.y - h / 2, w, h);
}

void View::setFrame(Rect frame) {
    frame = finite(frame);
    const double s = scale_ == 0 ? 1 : scale_;
    center_ = Point{frame.origin.x + frame.size.width / 2, frame.origin.y + frame.size.height / 2};
    setBounds(Rect(bounds_.origin, Size{frame.size.width / s, frame.size.height / s}));
}

void View::setBounds(Rect bounds) {
    bounds = finite(bounds);
    const Size old = bounds_.size;
    bounds_ = bounds;
    if (old == bounds.size) return;
    needsLayout_ = true;
    boundsSizeChanged(old);
    const double dw = bounds.size.width - old.width;
    const double dh = bounds.size.height - old.height;
    for (auto& child : subviews_) {
        const unsigned mask = child->autoresizing_;
        if ((mask & (autoresizingFlexibleWidth | autoresizingFlexibleHeight)) == 0) continue;
        Rect f = child->frame();
        if (mask & autoresizingFlexibleWidth) f.size.width += dw;
        if (mask & autoresizingFlexibleHeight) f.size.height += dh;
        child->setFrame(f);
    }
}

void View::setCenter(Point center) {
    center_ = finite(center);
}

void View::setTransformScale(double scale) {
    if (std::isfinite(scale)) scale_ = scale;
}

void View::setAlpha(double a) {
    if (!std::isnan(a)) alpha_ = std::clamp(a, 0.0, 1.0);
}

Point View::toParent(Point p) const {
    return Point{(p.x - bounds_.origin.x - bounds_.size.width / 2) * scale_ + center_.x,
                 (p.y - bounds_.origin.y - bounds_.size.height / 2) * scale_ + center_.y};
}

Point View::fromParent(Point p) const {
    // A view scaled to nothing has no inside; map everything far away.
    if (scale_ == 0) return Point{-1e300, -1e300};
    return Point{(p.x - center_.x) / scale_ + bounds_.origin.x + bounds_.size.width / 2,
                 (p.y - center_.y) / scale_ + bounds_.origin.y + bounds_.size.height / 2};
}

Point View::convert(Point p, const View* to) const {
    for (const View* v = this; v && v->superview_; v = v->superview_) {
        if (v == to) return p;
        p = v->toParent(p);
    }
    // p is now in the root's coordinates.
    return to ? to->convertFrom(p, nullptr) : p;
}

Point View::convertFrom(Point p, const View* from) const {
    if (from) p = from->convert(p, nullptr);
    std::vector<const View*> chain;
    for (const View* v = this; v && v->superview_; v = v->superview_) chain.push_back(v);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) p = (*it)->fromParent(p);
    return p;
}

Rect View::convert(Rect r, const View* to) const {
    const Point a = convert(r.origin, to);
    const Point b = convert(Point{r.origin.x + r.size.width, r.origin.y + r.size.height}, to);
    return Rect(std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y));
}

void View::addSubview(std::shared_ptr<View> view) {
    attach(std::move(view), subviews_.size() + 1);
}

void View::insertSubview(std::shared_ptr<View> view, std::size_t index) {
    attach(std::move(view), index);
}

void View::attach(std::shared_ptr<View> view, std::size_t index) {
    if (!view || view.get() == this || isDescendantOf(view.get())) return;
    Window* oldWindow = view->window();
    if (view->superview_ == this) {
        auto it = std::find(subviews_.begin(), subviews_.end(), view);
        subviews_.erase(it);
    } else if (view->superview_) {
        view->superview_->detachChild(view.get());
    }
    index = std::min(index, subviews_.size());
    view->superview_ = this;
    subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(index), view);
    Window* newWindow = window();
    if (newWindow != oldWindow) view->notifyWindowChange(newWindow);
}

void View::detachChild(View* child) {
    auto it = std::find_if(subviews_.begin(), subviews_.end(),
                           [&](const auto& v) { return v.get() == child; });
    if (it == subviews_.end()) return;
    // Keep the child alive through the detachment even if we held the last reference.
    std::shared_ptr<View> keep = *it;
    subviews_.erase(it);
    child->superview_ = nullptr;
}

void View::bringSubviewToFront(View* view) {
    auto it = std::find_if(subviews_.begin(), subviews_.end(),
                           [&](const auto& v) { return v.get() == view; });
    if (it == subviews_.end()) return;
    std::shared_ptr<View> keep = *it;
    subviews_.erase(it);
    subviews_.push_back(std::move(keep));
}

void View::removeFromSuperview() {
    if (!superview_) return;
    std::shared_ptr<View> keep = weak_from_this().lock();
    Window* oldWindow = window();
    // The first responder leaves the screen with this subtree: it stops editing first, so
    // its end-of-editing handlers still see it in place.
    if (auto* r = dynamic_cast<View*>(Responder::current()); r && (r == this || r->isDescendantOf(this))) {
        r->resignFirstResponder();
        if (!superview_) return;  // a handler removed it already
    }
    superview_->detachChild(this);
    if (oldWindow) notifyWindowChange(nullptr);
}

void View::notifyWindowChange(Window* window) {
    movedToWindow(window);
    auto children = subviews_;
    for (auto& c : children) c->notifyWindowChange(window);
}

bool View::isDescendantOf(const View* ancestor) const {
    if (!ancestor) return false;
    for (const View* v = this; v; v = v->superview_)
        if (v == ancestor) return true;
    return false;
}

Window* View::window() const {
    const View* v = this;
    while (v->superview_) v = v->superview_;
    return dynamic_cast<Window*>(const_cast<View*>(v));
}

View* View::viewWithTag(int tag) {
    if (tag_ == tag) return this;
    for (auto& c : subviews_)
        if (View* v = c->viewWithTag(tag)) return v;
    return nullptr;
}

void View::addGestureRecognizer(std::shared_ptr<TapGestureRecognizer> recognizer) {
    if (!recognizer) return;
    if (recognizer->view_ == this) return;
    if (recognizer->view_) recognizer->view_->removeGestureRecognizer(recognizer.get());
    recognizer->view_ = this;
    recognizers_.push_back(std::move(recognizer));
}

void View::removeGestureRecognizer(const TapGestureRecognizer* recognizer) {
    auto it = std::find_if(recognizers_.begin(), recognizers_.end(),
                           [&](const auto& r) { return r.get() == recognizer; });
    if (it == recognizers_.end()) return;
    (*it)->view_ = nullptr;
    recognizers_.erase(it);
}

bool View::pointInside(Point p) const {
    return bounds_.contains(p);
}

View* View::hitTest(Point p) {
    if (hidden_ || alpha_ < 0.01 || !interaction_) return nullptr;
    if (!pointInside(p)) return nullptr;
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        if (View* hit = (*it)->hitTest((*it)->fromParent(p))) return hit;
    }
    return this;
}

void View::layoutIfNeeded() {
    if (needsLayout_) {
        needsLayout_ = false;
        layoutSubviews();
    }
    auto children = subviews_;
    for (auto& c : children) c->layoutIfNeeded();
}

}  // namespace ui
