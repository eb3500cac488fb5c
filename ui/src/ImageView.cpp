#include "ui/ImageView.h"

#include "ui/Image.h"

namespace ui {

ImageView::ImageView(Rect frame) : View(frame) {
    setUserInteractionEnabled(false);
}

ImageView::ImageView(std::shared_ptr<const Image> image)
    : View(image ? Rect(Point{}, image->size()) : Rect{}), image_(std::move(image)) {
    setUserInteractionEnabled(false);
}

}  // namespace ui
