// CustomSeparator: a separator item, a 1-point grey line across the dialog, 10 points below
// the top of its strip.
//
// Ownership: made with std::make_shared and owned by the dialog's component list; every build
// makes a new line view. Thread: main thread only.
#pragma once

#include <memory>

#include "ui/View.h"

namespace brelka {

class CustomSeparator final : public ui::View {
public:
    // Stores the arguments, sets the frame (x, y, width, height) and builds.
    CustomSeparator(double x, double y, double width, double height);
    ~CustomSeparator() override;

    void addSeparator();
    // Applies the stored geometry: frame and inner views, exactly one copy of each.
    void updateSize();
    // Its class and texts, for readers of the view tree; a display item gives no value.
    ui::Inspection inspect() const override;

    std::shared_ptr<ui::View> _separator = std::make_shared<ui::View>();
    double _x = 0;
    double _y = 0;
    double _width = 0;
    double _height = 0;
};

}  // namespace brelka
