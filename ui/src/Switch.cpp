#include "ui/Switch.h"

namespace ui {

Switch::Switch(Rect frame)
    : Control(frame.size == Size{} ? Rect(frame.origin, kSize) : frame) {
    setOpaque(false);
}

void Switch::setOn(bool on, bool) {
    on_ = on;
}

void Switch::tapped() {
    on_ = !on_;
    sendActions(ControlEvent::valueChanged);
}

}  // namespace ui
