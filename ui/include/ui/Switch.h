// An on/off switch. A tap flips it and sends value-changed; setting it in code sends
// nothing. A switch made without a size gets the platform's 51 x 31. Main thread only.
#pragma once

#include "ui/Control.h"

namespace ui {

class Switch : public Control {
public:
    static constexpr Size kSize{51, 31};

    explicit Switch(Rect frame = {});

    bool isOn() const { return on_; }
    void setOn(bool on, bool animated = false);
    Color onTintColor() const { return onTint_; }
    void setOnTintColor(Color c) { onTint_ = c; }

protected:
    void tapped() override;

private:
    bool on_ = false;
    Color onTint_ = Color::rgb255(52, 199, 89);
};

}  // namespace ui
