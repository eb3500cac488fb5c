// A visual-effect view: it blurs (and tints, per style) whatever lies behind it within its
// bounds. Main thread only.
#pragma once

#include "ui/View.h"

namespace ui {

enum class BlurStyle { dark, light, extraLight, regular };

class BlurView : public View {
public:
    explicit BlurView(BlurStyle style, Rect frame = {});

    BlurStyle style() const { return style_; }
    void setStyle(BlurStyle s) { style_ = s; }

private:
    BlurStyle style_;
};

}  // namespace ui
