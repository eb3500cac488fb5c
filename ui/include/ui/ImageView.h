// A view that shows an image stretched to fill its bounds (or nothing when it has none).
// Image views do not take touches by default. Main thread only.
#pragma once

#include <memory>

#include "ui/View.h"

namespace ui {

class Image;

class ImageView : public View {
public:
    explicit ImageView(Rect frame = {});
    explicit ImageView(std::shared_ptr<const Image> image);

    const std::shared_ptr<const Image>& image() const { return image_; }
    void setImage(std::shared_ptr<const Image> image) { image_ = std::move(image); }

private:
    std::shared_ptr<const Image> image_;
};

}  // namespace ui
