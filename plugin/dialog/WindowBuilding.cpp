// The dialog's window: the blurred background, the backdrop that catches taps outside the
// panel, the panel sized and placed from the store's settings, the stacked sections and the
// button bar; and the end of a dialog that does not fit on the screen.
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "components/CustomCaption.h"
#include "components/CustomCheckbox.h"
#include "components/CustomIcon.h"
#include "components/CustomImage.h"
#include "components/CustomLinkButton.h"
#include "components/CustomList.h"
#include "components/CustomMenu.h"
#include "components/CustomMenuHelper.h"
#include "components/CustomMessage.h"
#include "components/CustomRadioButton.h"
#include "components/CustomSeparator.h"
#include "components/CustomTextArea.h"
#include "components/CustomTextField.h"
#include "components/CustomTitle.h"
#include "dialog/ComponentCast.h"
#include "dialog/Constants.h"
#include "dialog/GetSizeHelper.h"
#include "dialog/InputDialog.h"
#include "host/Diagnostics.h"
#include "parser/InputDialogSession.h"
#include "store/Config.h"
#include "store/Plugin.h"
#include "ui/Keyboard.h"
#include "ui/NotificationCenter.h"
#include "ui/NumberFormatter.h"
#include "ui/Screen.h"

namespace brelka {

namespace {

// A setting that is a text a number formatter reads as a number.
std::optional<double> numberFromTextSetting(std::string_view key) {
    const std::optional<Value> value = Plugin::value(key);
    if (!value) return std::nullopt;
    const auto* text = std::get_if<std::string>(&*value);
    if (!text) return std::nullopt;
    return ui::NumberFormatter::standard().number(*text);
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(PARAMETER_DELIMITER, start);
        if (end == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, end - start));
        start = end + PARAMETER_DELIMITER.size();
    }
}

// One coordinate of "dialog-position": the centred value for "default" or a non-number.
double positionPart(const std::string& part, double centred) {
    if (part == "default") return centred;
    return ui::NumberFormatter::standard().number(part).value_or(centred);
}

}  // namespace

void InputDialog::viewDidLoad() {
    ui::ViewController::viewDidLoad();
    const std::weak_ptr<ui::ViewController> weak = weak_from_this();
    auto& center = ui::NotificationCenter::defaultCenter();
    keyboard_observer_ = center.addObserver(ui::Keyboard::kWillChangeFrame, [weak](const ui::Notification& n) {
        if (const auto self = weak.lock()) static_cast<InputDialog&>(*self).keyboardNotification(n);
    });
    calculation_observer_ = center.addObserver("calculationResult", [weak](const ui::Notification& n) {
        if (const auto self = weak.lock()) static_cast<InputDialog&>(*self).closeDialog(n);
    });
}

void InputDialog::viewDidAppear(bool animated) {
    ui::ViewController::viewDidAppear(animated);
    // Every section gets its final geometry now, before the user can touch any of them: a
    // later rebuild would reset selections, switches and typed text.
    layoutComponentsIfNeeded();
    closing_ = false;
    shown_ = false;
    awaiting_calculation_ = false;

    if (enable_blur_) addBlurEffect();
    addTapRecognizerView();
    createView();

    if (isTooLarge()) {
        Diagnostics::log("InputDialog: the panel does not fit on the screen");
        Plugin::saveGetSetDictionary();
        retireViews();
        endEditingQuietly();
        resetUIViewController();
        dismissSelf([] {
            Plugin::setValue(CFG::last_error, Value(std::to_string(kWindowTooLargeCode)));
            Plugin::setValue(CFG::last_error_message, Value(std::string(kWindowTooLargeMessage)));
            InputDialogSession::endSession(std::to_string(kWindowTooLargeCode));
        });
        return;
    }
    shown_ = true;
    scheduleAutomaticCloses();
}

bool InputDialog::isTooLarge() {
    const ui::Rect screen = ui::Screen::main().bounds();
    // Written so that a NaN anywhere counts as not fitting.
    const bool fitsX = x_ >= 0 && x_ + width_ <= screen.width();
    const bool fitsY = y_ >= 0 && y_ + height_ <= screen.height();
    return !(fitsX && fitsY);
}

void InputDialog::addBlurEffect() {
    ui::View& root = view();
    if (ui::Screen::main().reduceTransparency()) {
        root.setBackgroundColor(ui::Color::black());
        return;
    }
    root.setBackgroundColor(ui::Color::clear());
    const std::shared_ptr<ui::BlurView>& blur = _blur_effect_view();
    blur->setFrame(root.bounds());
    blur->setAutoresizingMask(ui::autoresizingFlexibleWidth | ui::autoresizingFlexibleHeight);
    root.addSubview(blur);
}

void InputDialog::addTapRecognizerView() {
    ui::View& root = view();
    auto backdrop = std::make_shared<ui::View>(root.frame());
    backdrop->setBackgroundColor(ui::Color::clear());
    const std::weak_ptr<ui::ViewController> weak = weak_from_this();
    auto recognizer = std::make_shared<ui::TapGestureRecognizer>([weak](ui::TapGestureRecognizer& sender) {
        if (const auto self = weak.lock()) static_cast<InputDialog&>(*self).Action(sender);
    });
    recognizer->setNumberOfTapsRequired(1);
    recognizer->setNumberOfTouchesRequired(1);
    recognizer->setDelegate(this);
    backdrop->addGestureRecognizer(std::move(recognizer));
    root.addSubview(std::move(backdrop));
}

void InputDialog::createView() {
    // Buttons of an earlier dialog are gone from the screen; forget them.
    buttons_.clear();

    // Growing by a section without a title column. A growth that leaves the width as it is
    // changes no section, so it only adds its height instead of re-laying out every section.
    const auto grow = [this](double width, double height) {
        if (width > width_) {
            recalculateComponents(width, height, 0);
        } else {
            height_ += height;
        }
    };

    // 1. The button row.
    const GetSizeHelper::Size buttons = getMinSizeOfButtonSection();
    grow(buttons.width, buttons.height);

    // 2. The least width.
    if (const auto n = numberFromTextSetting(CFG::dialog_min_width)) grow(*n, 0);

    // 3. The requested width; content that does not fit makes the dialog fail the size check.
    if (const auto n = numberFromTextSetting(CFG::dialog_width)) {
        layoutComponentsIfNeeded();
        if (*n < width_) {
            width_ = 50000;
        } else {
            grow(*n, 0);
        }
    }
    layoutComponentsIfNeeded();

    // 4. Vertical spacing.
    const std::size_t sections = view_components_.size();
    height_ += __component_spacing * static_cast<double>(sections);
    if (Plugin::value(CFG::dialog_title)) height_ += __component_spacing;
    if (Plugin::value(CFG::dialog_icon)) height_ += __component_spacing;
    if (sections == 1) height_ -= __component_spacing;

    // 5. Position.
    const ui::Rect bounds = view().bounds();
    const double centredX = bounds.width() / 2 - width_ / 2;
    const double centredY = bounds.height() / 2 - height_ / 2 - __button_default_height;
    x_ = centredX;
    y_ = centredY;
    if (const std::optional<Value> position = Plugin::value(CFG::dialog_position)) {
        if (const auto* text = std::get_if<std::string>(&*position)) {
            const std::vector<std::string> parts = splitLines(*text);
            if (parts.size() == 2) {
                x_ = positionPart(parts[0], centredX);
                y_ = positionPart(parts[1], centredY);
            }
        }
    }
    if (y_ < 0) y_ += __button_default_height;

    // 6. The panel.
    auto panel = std::make_shared<ui::View>(ui::Rect(x_, y_, width_, height_));
    panel->setBackgroundColor(__view_color);
    panel->layer().cornerRadius = 8;
    panel->setClipsToBounds(true);
    view_ = panel;
    view().addSubview(std::move(panel));

    // 7. The recogniser that ends editing on a tap on the panel; attached while editing.
    const std::weak_ptr<ui::ViewController> weak = weak_from_this();
    keyboard_recognizer_ = std::make_shared<ui::TapGestureRecognizer>([weak](ui::TapGestureRecognizer&) {
        if (const auto self = weak.lock()) static_cast<InputDialog&>(*self).hideKeyboardIfNeeded();
    });
    keyboard_recognizer_->setNumberOfTapsRequired(1);
    keyboard_recognizer_->setNumberOfTouchesRequired(1);

    // 8. Contents, then the initial focus.
    addComponents();
    addButtons();
    checkForFocus();
}

namespace {

template <class T>
T* as(const std::shared_ptr<ui::View>& view) {
    return componentAs<T>(view);
}

}  // namespace

void InputDialog::addComponents() {
    // Every section has been built with the dialog's final widths by the layout pass below
    // (or an earlier one after which no width changed); stacking only moves it down, which is
    // what a rebuild at the new y would show, at a fraction of the cost.
    layoutComponentsIfNeeded();
    last_y_ = __top_bottom_margin;
    const auto place = [this](ui::View& section, double& y) {
        y = last_y_;
        const ui::Rect frame = section.frame();
        section.setFrame(ui::Rect(frame.x(), y, frame.width(), frame.height()));
    };
    const double spacing = __component_spacing;
    const std::vector<std::shared_ptr<ui::View>> sections = view_components_;
    for (const auto& section : sections) {
        double advance = 0;
        if (auto* icon = as<CustomIcon>(section)) {
            place(*icon, icon->_y);
            advance = icon->_height + 2 * spacing;
        } else if (auto* title = as<CustomTitle>(section)) {
            place(*title, title->_y);
            advance = title->_height + 2 * spacing;
        } else if (auto* message = as<CustomMessage>(section)) {
            // A message's frame still shows the wrap before its latest re-wrap; the rebuild
            // brings it to the stored height.
            message->_y = last_y_;
            message->updateSize();
            advance = message->_height + 2 * spacing;
        } else if (auto* caption = as<CustomCaption>(section)) {
            place(*caption, caption->_y);
            advance = caption->_total_height + spacing;
        } else if (auto* area = as<CustomTextArea>(section)) {
            place(*area, area->_y);
            area->_text_area->setDelegate(this);
            advance = area->_total_height + spacing;
        } else if (auto* image = as<CustomImage>(section)) {
            place(*image, image->_y);
            advance = image->_total_height + spacing;
        } else if (auto* checkbox = as<CustomCheckbox>(section)) {
            place(*checkbox, checkbox->_y);
            advance = __switch_default_height + spacing;
        } else if (auto* field = as<CustomTextField>(section)) {
            place(*field, field->_y);
            field->_textfield->setDelegate(this);
            advance = field->_height + spacing;
        } else if (auto* separator = as<CustomSeparator>(section)) {
            place(*separator, separator->_y);
            advance = separator->_height + spacing;
        } else if (auto* link = as<CustomLinkButton>(section)) {
            place(*link, link->_y);
            advance = link->_height + spacing;
        } else if (auto* menu = as<CustomMenu>(section)) {
            place(*menu, menu->_y);
            if (menu->_menu) menu->_menu->delegate = this;
            advance = menu->_height + spacing;
        } else if (auto* list = as<CustomList>(section)) {
            place(*list, list->_y);
            advance = list->_height + spacing;
        } else if (auto* radio = as<CustomRadioButton>(section)) {
            place(*radio, radio->_y);
            advance = radio->_height + spacing;
        }
        last_y_ += advance;
        view_->addSubview(section);
    }
    selectDefaultRadioButton();
}

void InputDialog::addButtons() {
    const std::size_t n = button_names_.size();
    if (n == 0) return;
    const ui::Rect bounds = view_->bounds();
    const double W = bounds.width();
    const double H = bounds.height();

    auto line = std::make_shared<ui::View>(ui::Rect(0, H - __button_default_height, W, 1));
    line->setBackgroundColor(__separator_default_color);
    view_->addSubview(std::move(line));

    // Whole points, as the platform's button geometry; a width beyond the integers (a
    // failed requested width) is clamped rather than overflowing.
    const auto whole = [](double v) -> long long {
        if (!std::isfinite(v)) return 0;
        return static_cast<long long>(std::clamp(v, -1e15, 1e15));
    };
    const long long bw = whole(W) / static_cast<long long>(n);
    const long long y = whole(H - __button_default_height);
    const long long bh = whole(__button_default_height);
    const std::weak_ptr<ui::ViewController> weak = weak_from_this();
    for (std::size_t p = 0; p < n; ++p) {
        const long long x = bw * static_cast<long long>(p);
        auto button = std::make_shared<ui::Button>(ui::Rect(static_cast<double>(x), static_cast<double>(y),
                                                            static_cast<double>(bw), static_cast<double>(bh)));
        const std::size_t index = n - 1 - p;
        button->setTitle(button_names_[index]);
        if (GetSizeHelper::isDefaultButton(static_cast<std::int64_t>(n - p))) {
            button->setTitleFont(ui::FontSpec{"Helvetica Bold", button->titleFont().size});
        }
        button->setTitleColor(__button_default_title_color);
        button->addTarget(ui::ControlEvent::touchUpInside, [weak](ui::Control& sender) {
            const auto self = weak.lock();
            auto* pressed = dynamic_cast<ui::Button*>(&sender);
            if (self && pressed) static_cast<InputDialog&>(*self).Action(*pressed);
        });
        button->setTag(static_cast<int>(index));
        view_->addSubview(button);
        buttons_.push_back(button);
        if (p > 0) {
            auto divider = std::make_shared<ui::View>(
                ui::Rect(static_cast<double>(x), H - __button_default_height, 1, __button_default_height));
            divider->setBackgroundColor(__separator_default_color);
            view_->addSubview(std::move(divider));
        }
    }
}

}  // namespace brelka
