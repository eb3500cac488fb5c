#include "components/CustomMenu.h"

#include <algorithm>
#include <climits>

#include "components/ItemTitle.h"
#include "dialog/Constants.h"
#include "host/Bundle.h"
#include "ui/Image.h"

namespace brelka {

namespace {

constexpr const char* kSeparator = "-";
// The button shows its choice after this prefix, clear of the rounded border.
constexpr const char* kTitlePrefix = "   ";

// The arrow icon, read from the bundle once it is there.
std::shared_ptr<const ui::Image> menuIcon() {
    static std::shared_ptr<const ui::Image> icon;
    if (!icon) icon = Bundle::image("MenuIcon");
    return icon;
}

}  // namespace

CustomMenu::CustomMenu(std::string title, std::string placeholder, std::vector<std::string> items,
                       std::vector<std::string> ids, double x, double y, double title_width,
                       double total_width, double height)
    : _title(std::move(title)),
      _placeholder(std::move(placeholder)),
      _menu_items(std::move(items)),
      _return_ids(std::move(ids)),
      _x(x),
      _y(y),
      _title_width(title_width),
      _total_width(total_width),
      _height(height) {
    setFrame(ui::Rect(x, y, total_width, height));
    addMenu();
    addTitle();
}

CustomMenu::~CustomMenu() {
    // The button's action points back at this component; the open list may still hold it.
    _button->removeAllTargets();
}

std::int64_t CustomMenu::getSelectedIndexWithoutDashes(std::int64_t index) const {
    if (index < 0) return 0;
    const auto end = std::min(_menu_items.size(), static_cast<std::size_t>(index) + 1);
    return std::count_if(_menu_items.begin(), _menu_items.begin() + static_cast<std::ptrdiff_t>(end),
                         [](const std::string& e) { return e != kSeparator; });
}

bool CustomMenu::stringInMenuItems(const std::string& text) const {
    const std::string prefix = kTitlePrefix;
    if (text.compare(0, prefix.size(), prefix) != 0) return false;
    const std::string rest = text.substr(prefix.size());
    return std::find(_menu_items.begin(), _menu_items.end(), rest) != _menu_items.end();
}

std::optional<std::size_t> CustomMenu::chosenRow() const {
    const auto& button = _menu ? _menu->_main_button : _button;
    if (!stringInMenuItems(button->title().value_or(""))) return std::nullopt;
    const int tag = button->tag();
    if (tag < 0 || static_cast<std::size_t>(tag) >= _menu_items.size()) return std::nullopt;
    const auto row = static_cast<std::size_t>(tag);
    // A separator is never a choice, not even as the initial text: its count among the
    // entries would be 0 and name no return identifier.
    if (_menu_items[row] == kSeparator) return std::nullopt;
    return row;
}

std::string CustomMenu::getValue() const {
    const auto row = chosenRow();
    if (!row) return "0";
    const std::int64_t k = getSelectedIndexWithoutDashes(static_cast<std::int64_t>(*row));
    if (_return_ids == _menu_items) return std::to_string(k);
    const auto i = static_cast<std::size_t>(k - 1);
    return i < _return_ids.size() ? _return_ids[i] : std::string();
}

std::string CustomMenu::getText() const {
    const auto row = chosenRow();
    return row ? _menu_items[*row] : _placeholder;
}

std::int64_t CustomMenu::getSelectedIndex() const {
    const auto it = std::find(_menu_items.begin(), _menu_items.end(), _placeholder);
    return it == _menu_items.end() ? 0 : it - _menu_items.begin();
}

void CustomMenu::addTitle() {
    styleItemTitle(*_title_label, _title);
    _title_label->setFrame(ui::Rect(_x + __left_right_margin, 0, _title_width, _height));
    addSubview(_title_label);
}

void CustomMenu::addMenu() {
    const double m = __left_right_margin;
    const double hs = __component_horizontal_spacing;
    const double tw = _title_width;
    const double bw = tw == 0 ? _total_width - 2 * m : _total_width - tw - hs - 2 * m;
    const ui::Rect frame = tw == 0 ? ui::Rect(m, 0, bw, _height) : ui::Rect(m + tw + hs, 0, bw, _height);

    // The button of an earlier build must not act on this component any more.
    _button->removeAllTargets();
    _button = std::make_shared<ui::Button>(frame);
    _button->setTitle(kTitlePrefix + _placeholder);
    _button->setTitleColor(ui::Color::black());
    _button->setTitleFont(ui::FontSpec{kRegularFontName, __message_default_font_size});
    _button->setContentHorizontalAlignment(ui::ContentHorizontalAlignment::left);
    _button->setBackgroundColor(ui::Color::white());
    _button->layer().borderWidth = 1;
    _button->layer().borderColor = __separator_default_color;
    _button->layer().cornerRadius = 5;
    _button->addTarget(ui::ControlEvent::touchUpInside, [this](ui::Control& sender) { openMenu(&sender); });
    _button->setTag(static_cast<int>(std::min<std::int64_t>(getSelectedIndex(), INT_MAX)));

    // A list of the previous build that is still open closes with it; whoever listened to
    // the old list listens to the new one.
    CustomMenuDelegate* listener = nullptr;
    if (_menu) {
        listener = _menu->delegate;
        _menu->hide();
    }
    _menu = std::make_shared<CustomMenuHelper>(
        _button, static_cast<double>(_menu_items.size()) * __tableview_default_cell_height, _menu_items, "up");
    _menu->delegate = listener;

    addSubview(_button);

    _image_view = std::make_shared<ui::ImageView>(
        ui::Rect(frame.x() + bw - m - 10, _height / 2 - 10, 20, 20));
    _image_view->setImage(menuIcon());
    addSubview(_image_view);
}

void CustomMenu::openMenu(ui::Control*) {
    if (_menu) _menu->show();
}

void CustomMenu::updateSize() {
    _button->removeFromSuperview();
    _image_view->removeFromSuperview();
    setFrame(ui::Rect(_x, _y, _total_width, _height));
    addMenu();
    addTitle();
}

ui::Inspection CustomMenu::inspect() const {
    return ui::Inspection{"CustomMenu", {{"title", _title}, {"placeholder", _placeholder}}, getValue(), getText()};
}

}  // namespace brelka
