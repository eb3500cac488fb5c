// The drawing attributes a view carries besides its background: border, rounded corners,
// clipping and drop shadow. Plain data held by value inside each View; main thread only.
#pragma once

#include "ui/Geometry.h"

namespace ui {

struct Layer {
    double borderWidth = 0;
    Color borderColor = Color::black();
    double cornerRadius = 0;
    // Clip the view's subviews (and its own content) to its bounds, rounded by cornerRadius.
    bool masksToBounds = false;
    Color shadowColor = Color::black();
    double shadowOpacity = 0;  // 0 draws no shadow
    Size shadowOffset{0, -3};
    double shadowRadius = 3;
};

}  // namespace ui
