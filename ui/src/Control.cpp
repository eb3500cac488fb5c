#include "ui/Control.h"

namespace ui {

Control::Control(Rect frame) : View(frame) {}

void Control::addTarget(ControlEvent event, Action action) {
    if (action) actions_.emplace_back(event, std::move(action));
}

void Control::removeAllTargets() {
    actions_.clear();
}

void Control::sendActions(ControlEvent event) {
    // An action may add or remove targets, or drop the last reference to this control.
    auto keep = weak_from_this().lock();
    auto actions = actions_;
    for (auto& [e, action] : actions)
        if (e == event) action(*this);
}

bool Control::hasActions(ControlEvent event) const {
    for (const auto& [e, action] : actions_)
        if (e == event) return true;
    return false;
}

unsigned Control::state() const {
    unsigned s = controlStateNormal;
    if (highlighted_) s |= controlStateHighlighted;
    if (!enabled_) s |= controlStateDisabled;
    if (selected_) s |= controlStateSelected;
    return s;
}

void Control::touchBegan(Point) {
    highlighted_ = true;
    sendActions(ControlEvent::touchDown);
}

void Control::touchMoved(Point p) {
    highlighted_ = pointInside(p);
}

void Control::touchEnded(Point p) {
    highlighted_ = false;
    if (pointInside(p) && enabled_) {
        auto keep = weak_from_this().lock();
        tapped();
        sendActions(ControlEvent::touchUpInside);
    } else {
        sendActions(ControlEvent::touchUpOutside);
    }
}

void Control::touchCancelled() {
    highlighted_ = false;
}

}  // namespace ui
