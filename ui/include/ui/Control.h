// A view that turns touches into events for its targets (target–action): buttons, switches,
// text inputs. A control that owns a tap keeps it: tap recognisers of its ancestors do not
// see it. Main thread only.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "ui/View.h"

namespace ui {

enum class ControlEvent {
    touchDown,
    touchUpInside,
    touchUpOutside,
    valueChanged,
    editingDidBegin,
    editingChanged,
    editingDidEnd,
    editingDidEndOnExit,
};

// Bits; a state's value falls back to the normal state's when not set.
enum ControlState : unsigned {
    controlStateNormal = 0,
    controlStateHighlighted = 1u << 0,
    controlStateDisabled = 1u << 1,
    controlStateSelected = 1u << 2,
};

class Control : public View {
public:
    using Action = std::function<void(Control& sender)>;

    explicit Control(Rect frame = {});

    // Registers an action for an event; actions run in the order they were added.
    void addTarget(ControlEvent event, Action action);
    void removeAllTargets();
    // Runs the actions registered for `event` with this control as sender.
    void sendActions(ControlEvent event);
    bool hasActions(ControlEvent event) const;

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool e) { enabled_ = e; }
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool h) { highlighted_ = h; }
    bool isSelected() const { return selected_; }
    void setSelected(bool s) { selected_ = s; }
    // The state bits now in force, for looking up per-state values.
    unsigned state() const;

    bool acceptsTouches() const override { return enabled_; }
    void touchBegan(Point p) override;
    void touchMoved(Point p) override;
    void touchEnded(Point p) override;
    void touchCancelled() override;

protected:
    // What a completed tap does besides sending touch-up-inside (a switch flips, a text
    // input starts editing). Runs before the touch-up-inside actions.
    virtual void tapped() {}

private:
    std::vector<std::pair<ControlEvent, Action>> actions_;
    bool enabled_ = true;
    bool highlighted_ = false;
    bool selected_ = false;
};

}  // namespace ui
