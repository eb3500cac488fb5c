// CustomImage: an image item, a right-aligned title in the dialog's left column and the image
// beside it, stretched to _image_width by _total_height.
//
// Ownership: made with std::make_shared and owned by the dialog's component list; it owns its
// title label for its whole life, shares the image and makes a new image view at every build.
// Thread: main thread only.
#pragma once

#include <memory>
#include <string>

#include "store/Value.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

namespace brelka {

class CustomImage final : public ui::View {
public:
    // Stores the arguments, sets the frame (x, y, total_width, total_height) and builds.
    CustomImage(std::string title, ImageRef image, double x, double y, double title_width,
                double image_width, double total_width, double title_height, double total_height);
    ~CustomImage() override;

    void addTitle();
    void addImage();
    // Applies the stored geometry: frame and inner views, exactly one copy of each.
    void updateSize();
    // Its class and texts, for readers of the view tree; a display item gives no value.
    ui::Inspection inspect() const override;

    std::string _title;
    const std::shared_ptr<ui::Label> _title_label = std::make_shared<ui::Label>();
    ImageRef _image;  // nullptr: no image
    std::shared_ptr<ui::ImageView> _image_view = std::make_shared<ui::ImageView>();
    double _x = 0;
    double _y = 0;
    double _title_width = 0;
    double _total_width = 0;
    double _title_height = 0;
    double _image_width = 0;
    double _total_height = 0;
};

}  // namespace brelka
