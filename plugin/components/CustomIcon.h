// CustomIcon: the dialog's icon, shown at its own size and centred over _view_width (the
// dialog's width, set by the controller once it is known; 0 until then).
//
// Ownership: made with std::make_shared and owned by the dialog's component list; it shares
// the image and makes a new image view at every build. Thread: main thread only.
#pragma once

#include <memory>

#include "store/Value.h"
#include "ui/ImageView.h"
#include "ui/View.h"

namespace brelka {

class CustomIcon final : public ui::View {
public:
    // Stores the arguments, sets the frame (x, y, width, height) and builds. _view_width
    // stays 0, so the icon sits half outside the left edge until the controller sets it.
    CustomIcon(ImageRef icon, double x, double y, double width, double height);
    ~CustomIcon() override;

    void addIcon();
    // Applies the stored geometry: frame and inner views, exactly one copy of each.
    void updateSize();
    // Its class and texts, for readers of the view tree; a display item gives no value.
    ui::Inspection inspect() const override;

    ImageRef _icon;  // nullptr: no image
    std::shared_ptr<ui::ImageView> _icon_view = std::make_shared<ui::ImageView>();
    double _x = 0;
    double _y = 0;
    double _width = 0;
    double _view_width = 0;
    double _height = 0;
};

}  // namespace brelka
