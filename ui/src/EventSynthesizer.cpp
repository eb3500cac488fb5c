#include "ui/EventSynthesizer.h"

#include <algorithm>

#include "ui/Keyboard.h"
#include "ui/Responder.h"
#include "ui/TextField.h"
#include "ui/TextView.h"
#include "ui/View.h"
#include "ui/Window.h"

namespace ui {

void EventSynthesizer::tap(Point p) {
    window_.sendTouch(TouchPhase::began, p);
    window_.sendTouch(TouchPhase::ended, p);
}

bool EventSynthesizer::tap(View& view) {
    if (view.window() != &window_) return false;
    window_.layoutIfNeeded();
    // The centre of the part of the view that its ancestors do not clip away.
    Rect visible = view.convert(view.bounds(), nullptr);
    for (View* v = view.superview(); v; v = v->superview()) {
        if (!v->clipsToBounds()) continue;
        const Rect clip = v->convert(v->bounds(), nullptr);
        const double x0 = std::max(visible.minX(), clip.minX()), x1 = std::min(visible.maxX(), clip.maxX());
        const double y0 = std::max(visible.minY(), clip.minY()), y1 = std::min(visible.maxY(), clip.maxY());
        if (x1 <= x0 || y1 <= y0) return false;
        visible = Rect(x0, y0, x1 - x0, y1 - y0);
    }
    const Point p{visible.midX(), visible.midY()};
    View* hit = window_.hitTest(p);
    if (!hit || !(hit == &view || hit->isDescendantOf(&view))) return false;
    tap(p);
    return true;
}

void EventSynthesizer::drag(Point from, Point to, int steps) {
    steps = std::max(1, steps);
    window_.sendTouch(TouchPhase::began, from);
    for (int i = 1; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        window_.sendTouch(TouchPhase::moved, Point{from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t});
    }
    window_.sendTouch(TouchPhase::ended, to);
}

void EventSynthesizer::scroll(Point p, double dy, double dx) {
    window_.sendScroll(p, dx, dy);
}

bool EventSynthesizer::type(std::string_view text) {
    return Keyboard::shared().type(text);
}

bool EventSynthesizer::replaceText(std::string_view text) {
    Responder* r = Responder::current();
    if (!r) return false;
    // Deleting character by character is what a person does; it also sends the same
    // editing events.
    auto length = [r]() -> std::size_t {
        if (auto* f = dynamic_cast<TextField*>(r)) return f->text().size();
        if (auto* v = dynamic_cast<TextView*>(r)) return v->text().size();
        return 0;
    };
    for (std::size_t guard = length(); length() > 0 && guard > 0; --guard) r->deleteBackward();
    if (text.empty()) return true;
    return Keyboard::shared().type(text);
}

bool EventSynthesizer::pressReturn() {
    return Keyboard::shared().pressReturn();
}

}  // namespace ui
