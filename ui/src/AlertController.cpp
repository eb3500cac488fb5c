#include "ui/AlertController.h"

#include <algorithm>
#include <cmath>

#include "ui/Button.h"
#include "ui/Font.h"
#include "ui/Label.h"
#include "ui/TextMeasurer.h"
#include "ui/Window.h"

namespace ui {

namespace {
constexpr double kPadding = 16;
constexpr double kScreenMargin = 20;
constexpr double kButtonHeight = 44;
constexpr double kTitleSize = 17;
constexpr double kMessageSize = 13;
const Color kSeparator = Color::rgb255(200, 199, 204);
}  // namespace

AlertController::AlertController(std::string title, std::string message)
    : title_(std::move(title)), message_(std::move(message)) {
    setModalPresentationStyle(ModalPresentationStyle::overCurrentContext);
}

void AlertController::addAction(AlertAction action) {
    actions_.push_back(std::move(action));
}

Button* AlertController::buttonForAction(std::size_t index) const {
    return index < buttons_.size() ? buttons_[index].get() : nullptr;
}

// The box: title and message centred and wrapped, then the buttons. Two buttons share one
// row with the cancel-style action on the left, as on the platform; more are stacked, with
// the cancel-style action last. Texts too long for the screen are cut to whole lines (the
// message first), so the buttons always stay on screen and the alert can be closed.
void AlertController::loadView() {
    ViewController::loadView();
    View& root = view();
    const Rect b = root.bounds();
    root.setBackgroundColor(Color{0, 0, 0, 0.2});

    const double textWidth = kWidth - 2 * kPadding;
    const FontSpec titleFont = FontSpec::boldSystem(kTitleSize);
    const FontSpec messageFont = FontSpec::system(kMessageSize);
    const auto height = [&](const std::string& text, const FontSpec& f) {
        if (text.empty()) return 0.0;
        return std::ceil(TextMeasurer::wrappedSize(text, Font(f.name, f.size), textWidth).height);
    };
    double titleH = height(title_, titleFont);
    double messageH = height(message_, messageFont);

    std::vector<std::size_t> order;
    const bool sideBySide = actions_.size() == 2;
    const auto addWhere = [&](bool cancel) {
        for (std::size_t i = 0; i < actions_.size(); ++i)
            if ((actions_[i].style == AlertActionStyle::cancel) == cancel) order.push_back(i);
    };
    addWhere(sideBySide);
    addWhere(!sideBySide);
    const double buttonsH =
        actions_.empty() ? 0 : (sideBySide ? kButtonHeight : kButtonHeight * static_cast<double>(actions_.size()));

    // Whole lines of `lineHeight` within `room`.
    const auto fit = [](double h, double room, double lineHeight) {
        if (h <= room) return h;
        return lineHeight > 0 ? std::floor(std::max(room, 0.0) / lineHeight) * lineHeight : 0.0;
    };
    const double gap = 4;
    const double room = b.height() - 2 * kScreenMargin - 2 * kPadding - gap - buttonsH;
    messageH = fit(messageH, room - titleH, Font(messageFont.name, messageFont.size).lineHeight());
    titleH = fit(titleH, room - messageH, Font(titleFont.name, titleFont.size).lineHeight());
    const auto lines = [](double h, const FontSpec& f) {
        const double lh = Font(f.name, f.size).lineHeight();
        return lh > 0 ? std::max(1, static_cast<int>(std::floor(h / lh + 0.01))) : 0;
    };

    const double textH = kPadding + titleH + (titleH > 0 && messageH > 0 ? gap : 0) + messageH + kPadding;
    const double boxH = textH + buttonsH;
    auto box = std::make_shared<View>(Rect(std::floor(b.midX() - kWidth / 2), std::floor(b.midY() - boxH / 2),
                                           kWidth, boxH));
    box->setBackgroundColor(Color::rgb255(248, 248, 248));
    box->layer().cornerRadius = 13;
    box->setClipsToBounds(true);
    root.addSubview(box);

    const auto addText = [&](const std::string& text, const FontSpec& font, double y, double h) {
        auto l = std::make_shared<Label>(Rect(kPadding, y, textWidth, h));
        l->setText(text);
        l->setFont(font);
        l->setTextAlignment(TextAlignment::center);
        l->setNumberOfLines(lines(h, font));
        l->setLineBreakMode(LineBreakMode::truncateTail);
        box->addSubview(l);
    };
    double y = kPadding;
    if (titleH > 0) {
        addText(title_, titleFont, y, titleH);
        y += titleH + (messageH > 0 ? gap : 0);
    }
    if (messageH > 0) addText(message_, messageFont, y, messageH);

    buttons_.assign(actions_.size(), nullptr);
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::size_t i = order[k];
        const double bw = sideBySide ? kWidth / 2 : kWidth;
        const double bx = sideBySide ? bw * static_cast<double>(k) : 0;
        const double by = textH + (sideBySide ? 0 : kButtonHeight * static_cast<double>(k));
        auto line = std::make_shared<View>(Rect(bx, by, bw, 0.5));
        line->setBackgroundColor(kSeparator);
        box->addSubview(line);
        if (sideBySide && k == 1) {
            auto v = std::make_shared<View>(Rect(bx, by, 0.5, kButtonHeight));
            v->setBackgroundColor(kSeparator);
            box->addSubview(v);
        }
        auto button = std::make_shared<Button>(Rect(bx, by, bw, kButtonHeight));
        button->setTitle(actions_[i].title);
        const bool cancel = actions_[i].style == AlertActionStyle::cancel;
        button->setTitleFont(cancel ? FontSpec::boldSystem(kTitleSize) : FontSpec::system(kTitleSize));
        button->setTitleColor(actions_[i].style == AlertActionStyle::destructive ? Color::rgb255(255, 59, 48)
                                                                                 : Color::rgb255(0, 122, 255));
        button->setTag(static_cast<int>(i));
        button->addTarget(ControlEvent::touchUpInside, [this, i](Control&) { tapped(i); });
        box->addSubview(button);
        buttons_[i] = button;
    }
}

void AlertController::tapped(std::size_t index) {
    if (index >= actions_.size()) return;
    auto self = shared_from_this();
    auto handler = actions_[index].handler;
    dismiss(true, [self, handler] {
        if (handler) handler();
    });
}

}  // namespace ui
