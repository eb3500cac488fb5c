#include "dialog/InputDialog.h"

#include "dialog/Constants.h"

namespace brelka {

InputDialog::InputDialog(std::string nibName, std::optional<std::filesystem::path> bundle)
    : nib_name_(std::move(nibName)),
      bundle_(std::move(bundle)),
      last_y_(__top_bottom_margin),
      height_(2 * __top_bottom_margin),
      view_(std::make_shared<ui::View>()) {}

InputDialog::~InputDialog() = default;

double InputDialog::_last_y() { layoutComponentsIfNeeded(); return last_y_; }
void InputDialog::set_last_y(double y) { layoutComponentsIfNeeded(); last_y_ = y; }
double InputDialog::_x() { layoutComponentsIfNeeded(); return x_; }
void InputDialog::set_x(double x) { layoutComponentsIfNeeded(); x_ = x; }
double InputDialog::_y() { layoutComponentsIfNeeded(); return y_; }
void InputDialog::set_y(double y) { layoutComponentsIfNeeded(); y_ = y; }
double InputDialog::_width() { layoutComponentsIfNeeded(); return width_; }
void InputDialog::set_width(double width) { layoutComponentsIfNeeded(); width_ = width; }
double InputDialog::_width_left() { layoutComponentsIfNeeded(); return width_left_; }
void InputDialog::set_width_left(double width_left) { layoutComponentsIfNeeded(); width_left_ = width_left; }
double InputDialog::_height() { layoutComponentsIfNeeded(); return height_; }
void InputDialog::set_height(double height) { layoutComponentsIfNeeded(); height_ = height; }
const std::shared_ptr<ui::View>& InputDialog::_view() { layoutComponentsIfNeeded(); return view_; }
void InputDialog::set_view(std::shared_ptr<ui::View> view) { layoutComponentsIfNeeded(); view_ = std::move(view); }
const std::vector<std::shared_ptr<ui::View>>& InputDialog::_view_components() {
    layoutComponentsIfNeeded();
    return view_components_;
}
void InputDialog::set_view_components(std::vector<std::shared_ptr<ui::View>> components) {
    layoutComponentsIfNeeded();
    view_components_ = std::move(components);
}

void InputDialog::layoutComponentsIfNeeded() {}
void InputDialog::setLayoutDeferred(bool deferred) { deferred_ = deferred; }

}  // namespace brelka
