#include "ui/Window.h"

#include <algorithm>
#include <cmath>

#include "ui/Application.h"
#include "ui/ScrollView.h"
#include "ui/TapGestureRecognizer.h"
#include "ui/ViewController.h"

namespace ui {

Window::Window(Rect frame) : View(frame) {
    setBackgroundColor(Color::white());
}

Window::~Window() {
    if (root_) root_->rootOf_ = nullptr;
}

void Window::setRootViewController(std::shared_ptr<ViewController> controller) {
    if (root_ == controller) return;
    if (root_) {
        root_->rootOf_ = nullptr;
        if (root_->isViewLoaded()) root_->view().removeFromSuperview();
    }
    root_ = std::move(controller);
    if (!root_) return;
    root_->rootOf_ = this;
    auto& view = root_->view();
    view.setFrame(bounds());
    view.setAutoresizingMask(autoresizingFlexibleWidth | autoresizingFlexibleHeight);
    insertSubview(root_->viewPointer(), 0);
}

void Window::makeKeyAndVisible() {
    // Only a window held by shared_ptr can be the key window (the application keeps a weak
    // reference to it).
    if (auto self = weak_from_this().lock()) Application::shared().setKeyWindow(std::static_pointer_cast<Window>(self));
    setHidden(false);
}

ViewController* Window::topViewController() const {
    ViewController* vc = root_.get();
    while (vc && vc->presentedViewController()) vc = vc->presentedViewController();
    return vc;
}

void Window::sendTouch(TouchPhase phase, Point p) {
    auto self = weak_from_this().lock();
    switch (phase) {
    case TouchPhase::began: {
        if (touchActive_) sendTouch(TouchPhase::cancelled, p);
        layoutIfNeeded();
        View* hit = hitTest(p);
        touchActive_ = true;
        touchStart_ = p;
        touchMovedFar_ = false;
        touchOwner_.reset();
        touchRecognizers_.clear();
        if (!hit) return;
        View* owner = hit;
        while (owner && !owner->acceptsTouches()) owner = owner->superview();
        if (owner) {
            touchOwner_ = owner->weak_from_this();
            owner->touchBegan(owner->convertFrom(p, nullptr));
            return;
        }
        // No view takes the touch: it is for the tap recognisers on the path, deepest first,
        // each asked through its delegate now, as the finger goes down.
        for (View* v = hit; v; v = v->superview()) {
            for (auto& r : v->gestureRecognizers()) {
                if (!r->isEnabled()) continue;
                if (auto* d = r->delegate();
                    d && !d->gestureRecognizerShouldReceiveTouch(*r, *hit, v->convertFrom(p, nullptr)))
                    continue;
                touchRecognizers_.push_back(r);
            }
        }
        return;
    }
    case TouchPhase::moved:
        if (!touchActive_) return;
        if (std::hypot(p.x - touchStart_.x, p.y - touchStart_.y) >= ScrollView::kDragThreshold)
            touchMovedFar_ = true;
        if (auto owner = touchOwner_.lock()) owner->touchMoved(owner->convertFrom(p, nullptr));
        return;
    case TouchPhase::ended: {
        if (!touchActive_) return;
        sendTouch(TouchPhase::moved, p);
        touchActive_ = false;
        if (auto owner = touchOwner_.lock()) {
            touchOwner_.reset();
            owner->touchEnded(owner->convertFrom(p, nullptr));
            return;
        }
        auto recognizers = std::move(touchRecognizers_);
        touchRecognizers_.clear();
        if (touchMovedFar_) return;
        for (auto& weak : recognizers) {
            auto r = weak.lock();
            // A recogniser detached meanwhile (or whose view left this window) does not fire.
            if (!r || !r->view() || r->view()->window() != this) continue;
            r->fire(r->view()->convertFrom(p, nullptr));
            return;  // one recogniser per tap
        }
        return;
    }
    case TouchPhase::cancelled:
        if (!touchActive_) return;
        touchActive_ = false;
        touchRecognizers_.clear();
        if (auto owner = touchOwner_.lock()) owner->touchCancelled();
        touchOwner_.reset();
        return;
    }
}

void Window::sendScroll(Point p, double dx, double dy) {
    auto self = weak_from_this().lock();
    layoutIfNeeded();
    for (View* v = hitTest(p); v; v = v->superview()) {
        if (v->scrollWheel(v->convertFrom(p, nullptr), dx, dy)) return;
    }
}

}  // namespace ui
