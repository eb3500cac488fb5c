#include "dialog/InputDialog.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <sstream>

#include "components/CustomCaption.h"
#include "components/CustomCheckbox.h"
#include "components/CustomIcon.h"
#include "components/CustomImage.h"
#include "components/CustomLinkButton.h"
#include "components/CustomList.h"
#include "components/CustomMenu.h"
#include "components/CustomMessage.h"
#include "components/CustomRadioButton.h"
#include "components/CustomSeparator.h"
#include "components/CustomTextArea.h"
#include "components/CustomTextField.h"
#include "components/CustomTitle.h"
#include "dialog/ComponentCast.h"
#include "dialog/Constants.h"
#include "dialog/GetSizeHelper.h"
#include "host/Bundle.h"
#include "host/Diagnostics.h"
#include "ui/Screen.h"

namespace brelka {

namespace {

constexpr double M = __left_right_margin;

std::shared_ptr<ui::WorkItem> placeholderCloseTask() {
    return ui::WorkItem::make([] { Diagnostics::log("InputDialog: no close task is pending"); });
}

// What the interface file says about the root view; the defaults are what a missing or
// unreadable file gives: clear, screen-sized, following the screen's size.
struct RootViewDescription {
    ui::Color background = ui::Color::clear();
    std::optional<ui::Rect> frame;  // nothing: the screen's bounds
    unsigned autoresizing = ui::autoresizingFlexibleWidth | ui::autoresizingFlexibleHeight;
};

std::optional<double> finiteNumber(const nlohmann::json& value) {
    if (!value.is_number()) return std::nullopt;
    const double number = value.get<double>();
    if (!std::isfinite(number)) return std::nullopt;
    return number;
}

// Reads "<folder>/<name>.json". Each entry that is missing or malformed keeps its default, so
// a damaged file never keeps the dialog from opening.
RootViewDescription readInterfaceFile(const std::filesystem::path& file) {
    RootViewDescription description;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        Diagnostics::log("InputDialog: no interface file at " + file.string() + ", using defaults");
        return description;
    }
    std::stringstream text;
    text << in.rdbuf();
    const nlohmann::json document = nlohmann::json::parse(text.str(), nullptr, false);
    if (document.is_discarded() || !document.is_object() || !document.contains("rootView") ||
        !document["rootView"].is_object()) {
        Diagnostics::log("InputDialog: unreadable interface file " + file.string() + ", using defaults");
        return description;
    }
    const nlohmann::json& root = document["rootView"];
    if (auto it = root.find("backgroundColor"); it != root.end() && it->is_array() && it->size() == 4) {
        double channels[4];
        bool valid = true;
        for (std::size_t i = 0; i < 4 && valid; ++i) {
            const auto number = finiteNumber((*it)[i]);
            valid = number && *number >= 0 && *number <= 255;
            if (valid) channels[i] = *number / 255.0;
        }
        if (valid) description.background = ui::Color{channels[0], channels[1], channels[2], channels[3]};
    }
    if (auto it = root.find("frame"); it != root.end() && it->is_array() && it->size() == 4) {
        double values[4];
        bool valid = true;
        for (std::size_t i = 0; i < 4 && valid; ++i) {
            const auto number = finiteNumber((*it)[i]);
            valid = number.has_value() && (i < 2 || *number >= 0);
            if (valid) values[i] = *number;
        }
        if (valid) description.frame = ui::Rect(values[0], values[1], values[2], values[3]);
    }
    if (auto it = root.find("autoresizingMask"); it != root.end() && it->is_array()) {
        unsigned mask = ui::autoresizingNone;
        for (const auto& entry : *it) {
            if (entry == "flexibleWidth") mask |= ui::autoresizingFlexibleWidth;
            if (entry == "flexibleHeight") mask |= ui::autoresizingFlexibleHeight;
        }
        description.autoresizing = mask;
    }
    return description;
}

}  // namespace

InputDialog::InputDialog(std::string nibName, std::optional<std::filesystem::path> bundle)
    : nib_name_(std::move(nibName)),
      bundle_(std::move(bundle)),
      last_y_(__top_bottom_margin),
      height_(2 * __top_bottom_margin),
      view_(std::make_shared<ui::View>()),
      close_dialog_task_(placeholderCloseTask()) {
    // The centre is made before this controller, so it outlives the observers the controller
    // registers when its view loads, also when both end with the process.
    ui::NotificationCenter::defaultCenter();
}

InputDialog::~InputDialog() = default;

void InputDialog::loadView() {
    const std::filesystem::path folder = bundle_ ? *bundle_ : Bundle::folder();
    const RootViewDescription description = readInterfaceFile(folder / (nib_name_ + ".json"));
    auto root = std::make_shared<ui::View>(description.frame.value_or(ui::Screen::main().bounds()));
    root->setBackgroundColor(description.background);
    root->setAutoresizingMask(description.autoresizing);
    setView(std::move(root));
}

// --- stored fields: every accessor first brings the sections up to date, so what it reads or
// overwrites is what a full re-layout after each addition would show.

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
    sections_before_latest_growth_ = sections_at_latest_growth_ = view_components_.size();
}

// --- class-level state

ui::BlurStyle InputDialog::_blur_effect() { return ui::BlurStyle::dark; }

// The class-level state lives until the process ends and is never destroyed: views torn down
// during exit could reach toolkit singletons that are already gone.
const std::shared_ptr<ui::BlurView>& InputDialog::_blur_effect_view() {
    static const auto* view = new std::shared_ptr<ui::BlurView>(std::make_shared<ui::BlurView>(_blur_effect()));
    return *view;
}

std::vector<std::shared_ptr<CustomRadioButton>>& InputDialog::_radio_buttons() {
    static auto* buttons = new std::vector<std::shared_ptr<CustomRadioButton>>();
    return *buttons;
}

void InputDialog::selectDefaultRadioButton() {
    const auto& buttons = _radio_buttons();
    for (auto it = buttons.rbegin(); it != buttons.rend(); ++it) {
        if (!(*it)->_default_value) continue;
        // Held here: selecting walks the list again (deselect-all).
        const std::shared_ptr<CustomRadioButton> chosen = *it;
        const auto sender = std::make_shared<ui::Button>();
        chosen->setSelected(sender.get());
        return;
    }
}

void InputDialog::deselectAllRadioButtons() {
    // A copy, so that a button's deselection cannot disturb the walk.
    const std::vector<std::shared_ptr<CustomRadioButton>> buttons = _radio_buttons();
    for (const auto& button : buttons) button->deselect();
}

// --- filling

void InputDialog::resetUIViewController() {
    ui::View& root = view();
    const std::vector<std::shared_ptr<ui::View>> subviews = root.subviews();
    for (const auto& subview : subviews) subview->removeFromSuperview();
    enable_blur_ = false;
    root.setBackgroundColor(ui::Color::clear());
    last_y_ = __top_bottom_margin;
    x_ = 0;
    y_ = 0;
    width_ = 0;
    width_left_ = 0;
    height_ = 2 * __top_bottom_margin;
    view_ = std::make_shared<ui::View>();
    view_components_.clear();
    _radio_buttons().clear();
    button_names_.clear();
    if (close_dialog_task_) close_dialog_task_->cancel();
    layout_stale_ = false;
    width_left_at_previous_growth_ = width_left_at_latest_growth_ = 0;
    sections_before_latest_growth_ = sections_at_latest_growth_ = 0;
}

void InputDialog::appendComponent(std::shared_ptr<ui::View> component) {
    view_components_.push_back(std::move(component));
}

void InputDialog::logAddition(const char* what, double width) const {
    if (!Diagnostics::enabled()) return;
    Diagnostics::log(std::string("InputDialog: ") + what + " width " + numberAsText(width));
}

void InputDialog::addIconComponent(ImageRef icon) {
    const auto size = GetSizeHelper::getMinSizeOfIconSection(icon);
    appendComponent(std::make_shared<CustomIcon>(std::move(icon), 0, 0, size.width, size.height));
    logAddition("icon", size.width);
    recalculateComponents(size.width + 2 * M, size.height, 0);
}

void InputDialog::addTitleComponent(const std::string& title) {
    const auto size = GetSizeHelper::getMinSizeOfTitleSection(title);
    appendComponent(std::make_shared<CustomTitle>(title, 0, 0, size.width, size.height));
    logAddition("title", size.width);
    recalculateComponents(size.width, size.height, 0);
}

void InputDialog::addMessageComponent(const std::string& message) {
    const auto size = GetSizeHelper::getMinSizeOfMessageSection(message);
    appendComponent(std::make_shared<CustomMessage>(message, 0, 0, size.width, size.height));
    logAddition("message", size.width);
    recalculateComponents(size.width, size.height, 0);
}

void InputDialog::addCaptionComponent(const std::string& title, const std::string& description) {
    const auto size = GetSizeHelper::getMinSizeOfCaptionSection(title, description);
    appendComponent(std::make_shared<CustomCaption>(title, description, 0, 0, size.title_width,
                                                    size.total_width, size.title_height,
                                                    size.description_height));
    logAddition("caption", size.total_width);
    recalculateComponents(size.total_width, size.description_height, size.title_width);
}

void InputDialog::addCheckboxComponent(const std::string& description, bool default_value) {
    const auto size = GetSizeHelper::getMinSizeOfCheckboxSection(description);
    appendComponent(std::make_shared<CustomCheckbox>(description, default_value, 0, 0, width_left_,
                                                     size.width, size.height));
    logAddition("check box", size.width);
    recalculateComponents(size.width, __switch_default_height, 0);
}

void InputDialog::addRadioButtonComponent(const std::string& description, bool default_value) {
    const auto size = GetSizeHelper::getMinSizeOfRadioButtonSection(description);
    auto button = std::make_shared<CustomRadioButton>(description, default_value, 0, 0, width_left_,
                                                      size.width, size.height);
    _radio_buttons().push_back(button);
    appendComponent(std::move(button));
    logAddition("radio button", size.width);
    recalculateComponents(size.width, size.height, 0);
}

void InputDialog::addTextFieldComponent(const std::string& title, bool password,
                                        const std::string& placeholder,
                                        const std::string& validation, bool filemaker_validation,
                                        bool focus) {
    const auto size = GetSizeHelper::getMinSizeOfTextFieldSection(title, placeholder);
    auto field = std::make_shared<CustomTextField>(title, placeholder, password, 0, 0, size.title_width,
                                                   size.total_width, size.height, validation,
                                                   filemaker_validation, focus);
    // The input lives as long as its component, which may outlive this controller in a
    // caller's hands; the actions therefore hold the controller weakly.
    const std::weak_ptr<ui::ViewController> weak = weak_from_this();
    const auto forward = [weak](void (InputDialog::*action)(ui::TextField&)) {
        return [weak, action](ui::Control& sender) {
            const auto self = weak.lock();
            auto* input = dynamic_cast<ui::TextField*>(&sender);
            if (self && input) (static_cast<InputDialog&>(*self).*action)(*input);
        };
    };
    field->_textfield->addTarget(ui::ControlEvent::editingChanged, forward(&InputDialog::textDidChanged));
    field->_textfield->addTarget(ui::ControlEvent::editingDidBegin, forward(&InputDialog::editingDidBegin));
    field->_textfield->addTarget(ui::ControlEvent::editingDidEnd, forward(&InputDialog::editingDidEnd));
    appendComponent(std::move(field));
    logAddition("text field", size.total_width);
    recalculateComponents(size.total_width, size.height, size.title_width);
}

void InputDialog::addTextAreaComponent(const std::string& title, std::int64_t lines,
                                       const std::string& placeholder, bool focus) {
    const auto size = GetSizeHelper::getMinSizeOfTextAreaSection(title, lines);
    appendComponent(std::make_shared<CustomTextArea>(title, placeholder, 0, 0, size.title_width,
                                                     size.total_width, size.title_height,
                                                     size.height, focus));
    logAddition("text area", size.total_width);
    recalculateComponents(size.total_width, size.height, size.title_width);
}

void InputDialog::addMenuComponent(const std::string& title, const std::string& placeholder,
                                   const std::vector<std::string>& menu_items,
                                   const std::vector<std::string>& return_ids) {
    const auto size = GetSizeHelper::getMinSizeOfMenuSection(title, placeholder, menu_items);
    appendComponent(std::make_shared<CustomMenu>(title, placeholder, menu_items, return_ids, 0, 0,
                                                 size.title_width, size.total_width, size.height));
    logAddition("menu", size.total_width);
    recalculateComponents(size.total_width, size.height, size.title_width);
}

void InputDialog::addListComponent(const std::string& title, const std::vector<std::string>& list_items,
                                   const std::vector<std::string>& return_ids,
                                   std::int64_t default_value, std::int64_t lines) {
    const auto size = GetSizeHelper::getMinSizeOfListSection(title, list_items, lines);
    appendComponent(std::make_shared<CustomList>(title, default_value, list_items, return_ids, 0, 0,
                                                 size.title_width, size.total_width, size.height));
    logAddition("list", size.total_width);
    recalculateComponents(size.total_width, size.height, size.title_width);
}

void InputDialog::addImageComponent(const std::string& title, ImageRef image) {
    const auto size = GetSizeHelper::getMinSizeOfImageSection(title, image);
    appendComponent(std::make_shared<CustomImage>(title, std::move(image), 0, 0, size.title_width,
                                                  size.image_width, size.total_width,
                                                  size.title_height, size.image_height));
    logAddition("image", size.total_width);
    recalculateComponents(size.total_width, size.image_height, size.title_width);
}

void InputDialog::addLinkButtonComponent(const std::string& title, const std::string& url) {
    const auto size = GetSizeHelper::getMinSizeOfLinkButtonSection(title);
    appendComponent(std::make_shared<CustomLinkButton>(title, url, 0, 0, width_left_, size.width,
                                                       size.height));
    logAddition("link", size.width);
    recalculateComponents(size.width, size.height, 0);
}

void InputDialog::addSeparatorComponent() {
    const double width = width_;
    appendComponent(std::make_shared<CustomSeparator>(0, 0, width, __separator_default_height));
    logAddition("separator", width);
    recalculateComponents(width, __separator_default_height, 0);
}

// --- growing

void InputDialog::recalculateComponents(double width, double height, double width_left) {
    height_ += height;
    if (width_ < width) width_ = width;
    if (width_left > width_left_) {
        // The left column widens; the room for the inputs stays as wide as before.
        width_ += width_left - width_left_;
        width_left_ = width_left;
    }
    width_left_at_previous_growth_ = width_left_at_latest_growth_;
    width_left_at_latest_growth_ = width_left_;
    sections_before_latest_growth_ = sections_at_latest_growth_;
    sections_at_latest_growth_ = view_components_.size();
    if (deferred_) {
        layout_stale_ = true;
    } else {
        updateComponents();
    }
}

void InputDialog::layoutComponentsIfNeeded() {
    if (!layout_stale_) return;
    layout_stale_ = false;
    updateComponents();
}

void InputDialog::setLayoutDeferred(bool deferred) {
    layoutComponentsIfNeeded();
    deferred_ = deferred;
}

void InputDialog::updateComponents() {
    for (std::size_t index = 0; index < view_components_.size(); ++index) {
        ui::View* component = view_components_[index].get();
        if (auto* icon = componentAs<CustomIcon>(component)) {
            icon->_view_width = width_;
            icon->updateSize();
        } else if (auto* title = componentAs<CustomTitle>(component)) {
            title->_width = width_;
            title->updateSize();
        } else if (auto* separator = componentAs<CustomSeparator>(component)) {
            separator->_width = width_;
            separator->updateSize();
        } else if (auto* message = componentAs<CustomMessage>(component)) {
            // The rebuild shows the height of the previous wrap; the new one is stored for the
            // next rebuild. When growths were skipped, the previous wrap is the one made with
            // the left column before the latest growth, unless the message came with it.
            const double accounted = message->_height;
            const bool arrivedLast = index >= sections_before_latest_growth_;
            message->_width = width_;
            message->_height = arrivedLast || !deferred_
                                   ? accounted
                                   : GetSizeHelper::recalculateHeight(message->_message,
                                                                      width_left_at_previous_growth_);
            message->updateSize();
            const double wrapped = GetSizeHelper::recalculateHeight(message->_message, width_left_);
            height_ += wrapped - accounted;
            message->_height = wrapped;
        } else if (auto* caption = componentAs<CustomCaption>(component)) {
            caption->_title_width = width_left_;
            caption->_total_width = width_;
            const double wrapped = GetSizeHelper::recalculateHeight(caption->_description, width_left_);
            height_ += wrapped - caption->_total_height;
            caption->_total_height = wrapped;
            caption->updateSize();
        } else if (auto* checkbox = componentAs<CustomCheckbox>(component)) {
            checkbox->_width = width_;
            checkbox->_width_left = width_left_;
            checkbox->updateSize();
        } else if (auto* radio = componentAs<CustomRadioButton>(component)) {
            radio->_width = width_;
            radio->_width_left = width_left_;
            radio->updateSize();
        } else if (auto* link = componentAs<CustomLinkButton>(component)) {
            link->_width = width_;
            link->_width_left = width_left_;
            link->updateSize();
        } else if (auto* field = componentAs<CustomTextField>(component)) {
            field->_title_width = width_left_;
            field->_total_width = width_;
            field->updateSize();
        } else if (auto* area = componentAs<CustomTextArea>(component)) {
            area->_title_width = width_left_;
            area->_total_width = width_;
            area->updateSize();
        } else if (auto* menu = componentAs<CustomMenu>(component)) {
            menu->_title_width = width_left_;
            menu->_total_width = width_;
            menu->updateSize();
        } else if (auto* list = componentAs<CustomList>(component)) {
            list->_title_width = width_left_;
            list->_total_width = width_;
            list->updateSize();
        } else if (auto* image = componentAs<CustomImage>(component)) {
            image->_title_width = width_left_;
            image->_total_width = width_;
            image->updateSize();
        }
    }
}

GetSizeHelper::Size InputDialog::getMinSizeOfButtonSection() const {
    return GetSizeHelper::getMinSizeOfButtonSection(button_names_);
}

void InputDialog::menuClosed(CustomMenuHelper&) {}

}  // namespace brelka
