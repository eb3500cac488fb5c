#include "ui/TableViewCell.h"

#include <algorithm>

namespace ui {

TableViewCell::TableViewCell(std::string reuseIdentifier)
    : View(Rect(0, 0, 320, 44)),
      reuseIdentifier_(std::move(reuseIdentifier)),
      textLabel_(std::make_shared<Label>()) {
    setBackgroundColor(Color::white());
    setClipsToBounds(true);
    textLabel_->setFont(FontSpec::system(17));
    addSubview(textLabel_);
    setNeedsLayout();
}

void TableViewCell::setSelectedBackgroundView(std::shared_ptr<View> v) {
    if (selectedBackground_) selectedBackground_->removeFromSuperview();
    selectedBackground_ = std::move(v);
    updateSelectedBackground();
}

void TableViewCell::setSelected(bool selected) {
    selected_ = selected;
    updateSelectedBackground();
}

void TableViewCell::setHighlighted(bool highlighted) {
    highlighted_ = highlighted;
    updateSelectedBackground();
}

void TableViewCell::prepareForReuse() {
    selected_ = false;
    highlighted_ = false;
    updateSelectedBackground();
}

void TableViewCell::updateSelectedBackground() {
    if (textLabel_->superview() != this) addSubview(textLabel_);
    if (!selectedBackground_) return;
    if (selected_ || highlighted_) {
        selectedBackground_->setFrame(bounds());
        if (selectedBackground_->superview() != this) insertSubview(selectedBackground_, 0);
    } else if (selectedBackground_->superview() == this) {
        selectedBackground_->removeFromSuperview();
    }
}

void TableViewCell::layoutSubviews() {
    const Rect b = bounds();
    if (textLabel_->superview() != this) addSubview(textLabel_);
    textLabel_->setFrame(Rect(kTextInset, 0, std::max(0.0, b.width() - 2 * kTextInset), b.height()));
    if (selectedBackground_) selectedBackground_->setFrame(b);
}

}  // namespace ui
