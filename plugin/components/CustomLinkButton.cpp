#include "components/CustomLinkButton.h"

#include "dialog/Constants.h"
#include "ui/Application.h"
#include "ui/MainQueue.h"

namespace brelka {

namespace {

constexpr ui::Color kLinkColor{0, 0, 1, 1};

void scheduleOpening(const std::optional<std::string>& link) {
    if (!link) return;
    ui::MainQueue::async([url = *link] { ui::Application::shared().openURL(url); });
}

}  // namespace

CustomLinkButton::CustomLinkButton(std::string title, std::string link, double x, double y,
                                   double width_left, double width, double height)
    : _title(std::move(title)),
      _link(std::move(link)),
      _x(x),
      _y(y),
      _width_left(width_left),
      _width(width),
      _height(height) {
    setFrame(ui::Rect(x, y, width_left + width, height));
    addButton();
}

CustomLinkButton::~CustomLinkButton() = default;

void CustomLinkButton::addButton() {
    ui::Rect frame(__left_right_margin, 0, _width, _height);
    if (_width_left != 0) {
        frame = ui::Rect(__left_right_margin + _width_left + __component_horizontal_spacing, 0,
                         _width - _width_left, _height);
    }
    _link_button = std::make_shared<ui::Button>(frame);
    ui::TextRun run;
    run.text = _title.value_or(std::string());
    run.font = ui::FontSpec::system(__link_button_default_font_size);
    run.color = kLinkColor;
    run.underline = true;
    _link_button->setAttributedTitle(ui::AttributedText{{run}});
    _link_button->setTitleColor(kLinkColor);
    _link_button->setContentHorizontalAlignment(ui::ContentHorizontalAlignment::left);
    // The action holds the link itself rather than the component, so a button that someone
    // keeps beyond the component's life still opens its link and touches nothing freed. Every
    // build makes a new button, so it always carries the current link.
    _link_button->addTarget(ui::ControlEvent::touchUpInside,
                            [link = _link](ui::Control&) { scheduleOpening(link); });
    addSubview(_link_button);
}

void CustomLinkButton::openUrl(ui::Control&) { scheduleOpening(_link); }

void CustomLinkButton::updateSize() {
    _link_button->removeFromSuperview();
    setFrame(ui::Rect(_x, _y, _width_left + _width, _height));
    addButton();
}

ui::Inspection CustomLinkButton::inspect() const {
    return ui::Inspection{"CustomLinkButton",
                          {{"title", _title.value_or(std::string())},
                           {"link", _link.value_or(std::string())}},
                          std::nullopt,
                          std::nullopt};
}

}  // namespace brelka
