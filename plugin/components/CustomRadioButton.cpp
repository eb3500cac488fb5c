#include "components/CustomRadioButton.h"

#include "dialog/Constants.h"
#include "dialog/InputDialog.h"
#include "ui/Animation.h"

namespace brelka {

namespace {

ui::Point centerOf(const ui::Rect& r) { return ui::Point{r.midX(), r.midY()}; }

}  // namespace

CustomRadioButton::CustomRadioButton(std::string description, bool default_value, double x,
                                     double y, double width_left, double width, double height)
    : _description(std::move(description)),
      _default_value(default_value),
      _x(x),
      _y(y),
      _width_left(width_left),
      _width(width),
      _height(height) {
    setFrame(ui::Rect(x, y, width_left + width, height));
    addRadioButton();
    addDescription();
}

CustomRadioButton::~CustomRadioButton() {
    // The buttons' actions point back at this component; someone may still hold a button.
    _radio_button->removeAllTargets();
    _radio_button_selected->removeAllTargets();
}

std::string CustomRadioButton::getValue() const { return _current_value ? "1" : "0"; }

std::string CustomRadioButton::getText() const { return getValue(); }

void CustomRadioButton::addDescription() {
    const double m = __left_right_margin;
    const double hs = __component_horizontal_spacing;
    const double sw = __switch_default_width;
    const double sh = __switch_default_height;
    const double rs = __radio_default_size;
    const double wl = _width_left;
    const double b = bounds().size.width;
    _description_label->setTextAlignment(ui::TextAlignment::left);
    _description_label->setTextColor(ui::Color::black());
    _description_label->setFont(ui::FontSpec{kRegularFontName, __message_default_font_size});
    _description_label->setNumberOfLines(1);
    _description_label->setText(_description);
    // Sized like the check box's label, so descriptions of both kinds line up; the surplus
    // past the right edge stays empty.
    const double x = wl == 0 ? rs + wl + m + hs : rs + wl + m + 2 * hs;
    _description_label->setFrame(ui::Rect(x, sh / 2 - _height / 2, b - sw + wl + 2 * m + 2 * hs,
                                          wl == 0 ? _height : _height + 1));
    addSubview(_description_label);
}

void CustomRadioButton::addRadioButton() {
    const double rs = __radio_default_size;
    const double irs = __inside_radio_default_size;
    const double h = frame().height();
    const double x = _width_left + __left_right_margin +
                     (_width_left != 0 ? __component_horizontal_spacing : 0);

    // The buttons of an earlier build may outlive it in other hands; they must not act on
    // this component any more.
    _radio_button->removeAllTargets();
    _radio_button_selected->removeAllTargets();
    _radio_button = std::make_shared<ui::Button>(ui::Rect(x, h / 2 - rs / 2, rs, rs));
    _radio_button_selected = std::make_shared<ui::Button>(
        ui::Rect(x + rs / 2 - irs / 2, h / 2 - irs / 2, irs, irs));

    _radio_button_selected->setBackgroundColor(ui::Color::white());
    _radio_button_selected->setClipsToBounds(false);
    _radio_button_selected->layer().cornerRadius = irs / 2;

    deselect();

    _radio_button->setClipsToBounds(true);
    _radio_button->layer().cornerRadius = rs / 2;
    auto tap = [this](ui::Control& sender) { setSelected(&sender); };
    _radio_button->addTarget(ui::ControlEvent::touchUpInside, tap);
    _radio_button_selected->addTarget(ui::ControlEvent::touchUpInside, tap);

    ui::Layer& dot = _radio_button_selected->layer();
    dot.shadowColor = ui::Color::black();
    dot.shadowOpacity = 0.5;
    dot.shadowOffset = ui::Size{0, 0};
    dot.shadowRadius = 2;

    addSubview(_radio_button);
    addSubview(_radio_button_selected);
}

void CustomRadioButton::showNotSelectedLook() {
    ++look_generation_;
    _radio_button_selected->setAlpha(0);
    _radio_button->setBackgroundColor(ui::Color::white());
    _radio_button->layer().borderWidth = 1;
    _radio_button->layer().borderColor = __separator_default_color;
}

void CustomRadioButton::deselect() {
    if (!_current_value) {
        showNotSelectedLook();
        return;
    }
    animateSelection(true);
    _current_value = false;
}

void CustomRadioButton::setSelected(ui::Control*) {
    if (_current_value) {
        pulse();
        return;
    }
    // The whole dialog is one group: every radio button, this one included, is deselected
    // before this one becomes the selected one.
    InputDialog::deselectAllRadioButtons();
    _current_value = true;
    animateSelection(false);
}

void CustomRadioButton::animateSelection(bool reverse) {
    const double rs = __radio_default_size;
    const std::uint64_t generation = ++look_generation_;
    const auto outer = _radio_button;
    const auto dot = _radio_button_selected;
    const ui::Rect outerFrame = outer->frame();

    auto circle = std::make_shared<ui::View>();
    if (reverse) {
        circle->setFrame(outerFrame);
        circle->layer().cornerRadius = rs / 2;
    } else {
        circle->setFrame(ui::Rect(0, 0, 2, 2));
        circle->layer().cornerRadius = 1;
    }
    circle->setCenter(centerOf(outerFrame));
    circle->setBackgroundColor(__switch_default_tint_color);
    // Taps during the animation still reach the buttons beneath.
    circle->setUserInteractionEnabled(false);
    addSubview(circle);
    bringSubviewToFront(dot.get());

    const double firstDuration = reverse ? 0.1 : 0.2;
    const double firstScale = reverse ? 1.1 : rs / 2 + 2;
    const double secondDuration = reverse ? 0.2 : 0.1;
    const double secondScale = reverse ? 0.1 : rs / 2;

    // A later change of look (another tap, a rebuild) owns the look from then on: the steps of
    // this animation then only tidy their circle away.
    std::weak_ptr<ui::View> weak = weak_from_this();
    auto current = [weak, generation] {
        auto self = std::static_pointer_cast<CustomRadioButton>(weak.lock());
        return self && self->look_generation_ == generation ? self : nullptr;
    };

    ui::Animation::animate(firstDuration, [&] {
        circle->setTransformScale(firstScale);
        if (!reverse) dot->setAlpha(1);
    }, [=](bool) {
        if (current()) {
            outer->layer().borderWidth = reverse ? 1 : 0;
            outer->layer().borderColor = __separator_default_color;
            outer->setBackgroundColor(reverse ? ui::Color::white() : __switch_default_tint_color);
        }
        ui::Animation::animate(secondDuration, [&] {
            circle->setTransformScale(secondScale);
            if (reverse && current()) dot->setAlpha(0);
        }, [circle](bool) { circle->removeFromSuperview(); });
    });
}

void CustomRadioButton::pulse() {
    const double rs = __radio_default_size;
    const std::uint64_t generation = ++look_generation_;
    const auto outer = _radio_button;
    const auto dot = _radio_button_selected;
    const ui::Rect outerFrame = outer->frame();
    const ui::Point c = centerOf(outerFrame);

    auto ring = std::make_shared<ui::View>(outerFrame);
    ring->setBackgroundColor(__switch_default_tint_color);
    ring->layer().cornerRadius = rs / 2;
    ring->setUserInteractionEnabled(false);
    addSubview(ring);
    bringSubviewToFront(dot.get());

    std::weak_ptr<ui::View> weak = weak_from_this();
    const double w = outerFrame.width();
    const double h = outerFrame.height();
    ui::Animation::animate(0.1, [&] {
        ring->setFrame(ui::Rect(c.x - (w + 2) / 2, c.y - (h + 2) / 2, w + 2, h + 2));
    }, [=](bool) {
        ui::Animation::animate(0.1, [&] { ring->setFrame(outerFrame); }, [=](bool) {
            ring->removeFromSuperview();
            auto self = std::static_pointer_cast<CustomRadioButton>(weak.lock());
            if (!self || self->look_generation_ != generation) return;
            outer->setAlpha(1);
            outer->setBackgroundColor(__switch_default_tint_color);
            // A selection step the pulse cut short never took the border off; do it here.
            outer->layer().borderWidth = 0;
            self->bringSubviewToFront(dot.get());
        });
    });
}

void CustomRadioButton::updateSize() {
    _radio_button->removeFromSuperview();
    _radio_button_selected->removeFromSuperview();
    _description_label->removeFromSuperview();
    setFrame(ui::Rect(_x, _y, _width_left + _width, _height));
    addRadioButton();
    addDescription();
}

ui::Inspection CustomRadioButton::inspect() const {
    return ui::Inspection{"CustomRadioButton", {{"description", _description}}, getValue(), getText()};
}

}  // namespace brelka
