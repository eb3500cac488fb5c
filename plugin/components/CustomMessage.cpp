#include "components/CustomMessage.h"

#include "dialog/Constants.h"

namespace brelka {

CustomMessage::CustomMessage(std::string message, double x, double y, double width, double height)
    : _message(std::move(message)), _x(x), _y(y), _width(width), _height(height) {
    setFrame(ui::Rect(x, y, width, height));
    addMessage();
}

CustomMessage::~CustomMessage() = default;

void CustomMessage::addMessage() {
    _message_label->setTextAlignment(ui::TextAlignment::left);
    _message_label->setLineBreakMode(ui::LineBreakMode::wordWrap);
    _message_label->setNumberOfLines(0);
    _message_label->setTextColor(ui::Color::black());
    _message_label->setFont(ui::FontSpec{kRegularFontName, __message_default_font_size});
    _message_label->setText(_message);
    _message_label->setFrame(
        ui::Rect(_x + __left_right_margin, 0, _width - 2 * __left_right_margin, _height));
    addSubview(_message_label);
}

void CustomMessage::updateSize() {
    _message_label->removeFromSuperview();
    setFrame(ui::Rect(_x, _y, _width, _height));
    addMessage();
}

ui::Inspection CustomMessage::inspect() const {
    return ui::Inspection{"CustomMessage", {{"message", _message}}, std::nullopt, std::nullopt};
}

}  // namespace brelka
