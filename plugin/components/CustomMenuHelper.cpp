#include "components/CustomMenuHelper.h"

#include <climits>
#include <cmath>

#include "components/CustomMenuDelegate.h"
#include "dialog/Constants.h"
#include "ui/Animation.h"
#include "ui/Screen.h"
#include "ui/TableViewCell.h"

namespace brelka {

namespace {

constexpr const char* kSeparator = "-";
constexpr const char* kCellIdentifier = "cell";
// Marks the row line a cell was given, so that a reused cell never collects a second one.
constexpr int kRowLineTag = 0x4c494e45;
constexpr double kSeparatorRowHeight = 2;
const ui::Color kToolkitGrey{0.5, 0.5, 0.5, 1};

void removeRowLine(ui::TableViewCell& cell) {
    std::vector<ui::View*> lines;
    for (const auto& v : cell.subviews())
        if (v->tag() == kRowLineTag) lines.push_back(v.get());
    for (auto* v : lines) v->removeFromSuperview();
}

}  // namespace

CustomMenuHelper::CustomMenuHelper(std::shared_ptr<ui::Button> button, double,
                                   std::vector<std::string> items, std::string direction)
    : _direction(std::move(direction)), _items(std::move(items)), _main_button(std::move(button)) {
    for (const auto& item : _items)
        _height += item == kSeparator ? kSeparatorRowHeight : __tableview_default_cell_height;
}

CustomMenuHelper::~CustomMenuHelper() {
    _table_view->setDataSource(nullptr);
    _table_view->setDelegate(nullptr);
}

bool CustomMenuHelper::isSeparatorRow(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < _items.size() &&
           _items[static_cast<std::size_t>(row)] == kSeparator;
}

ui::Point CustomMenuHelper::buttonOrigin() const {
    ui::Point p;
    const ui::View* v = _main_button.get();
    // The button, the menu component and the dialog's content view.
    for (int level = 0; level < 3 && v; ++level, v = v->superview()) {
        p.x += v->frame().x();
        p.y += v->frame().y();
    }
    return p;
}

ui::View* CustomMenuHelper::rootView() const {
    ui::View* component = _main_button->superview();
    ui::View* content = component ? component->superview() : nullptr;
    return content ? content->superview() : nullptr;
}

void CustomMenuHelper::calculateDirectionAndHeight() {
    const double y = buttonOrigin().y;
    const double s = ui::Screen::main().bounds().height();
    const double c = __tableview_default_cell_height;
    if (y + _height < s) {
        _direction = "down";
        return;
    }
    if (_height < y) {
        _direction = "up";
        return;
    }
    // Neither way fits: open towards the larger side and cut the list to whole rows.
    const bool down = s / 2 < s - y;
    const double h = down ? s - y - 16 : y + _main_button->frame().height() - 16;
    _direction = down ? "down" : "up";
    _height = h > 0 ? h - std::fmod(h, c) : 0;
}

void CustomMenuHelper::show() {
    if (_is_opened) {
        hide();
        return;
    }
    calculateDirectionAndHeight();
    _is_opened = true;

    const ui::Point o = buttonOrigin();
    const double bw = _main_button->frame().width();
    const double hb = _main_button->frame().height();
    const double c = __tableview_default_cell_height;
    const double h = _height;
    const bool up = _direction == "up";

    setFrame(ui::Rect(o.x, o.y, bw, c));
    layer().shadowOffset = up ? ui::Size{-5, -5} : ui::Size{-5, 5};
    layer().masksToBounds = false;
    layer().shadowRadius = 5;
    layer().shadowOpacity = 0.5;
    layer().cornerRadius = 5;

    _table_view = std::make_shared<ui::TableView>(ui::Rect(0, 0, bw, c));
    _table_view->setDataSource(this);
    _table_view->setDelegate(this);
    _table_view->setBackgroundColor(ui::Color::white());
    _table_view->setSeparatorStyle(ui::TableSeparatorStyle::none);
    _table_view->setSeparatorColor(kToolkitGrey);
    _table_view->layer().cornerRadius = 5;
    _table_view->layer().borderWidth = 1;
    _table_view->layer().borderColor = __separator_default_color;

    ui::Animation::animate(0.5, [&] {
        setFrame(up ? ui::Rect(o.x, o.y + hb - h, bw, h) : ui::Rect(o.x, o.y, bw, h));
        _table_view->setFrame(ui::Rect(0, 0, bw, h));
    });

    // In front of everything the dialog shows; without a complete chain there is nothing to
    // show the list over.
    if (ui::View* root = rootView()) root->insertSubview(shared_from_this(), 1000);
    addSubview(_table_view);
    _table_view->flashScrollIndicators();
}

void CustomMenuHelper::hide() {
    if (!_is_opened) return;
    _is_opened = false;

    const ui::Point o = buttonOrigin();
    const double bw = _main_button->frame().width();
    const double c = __tableview_default_cell_height;
    auto table = _table_view;
    std::weak_ptr<ui::View> weak = weak_from_this();
    ui::Animation::animate(0.2, [&] {
        setFrame(ui::Rect(o.x, o.y, bw, c));
        table->setFrame(ui::Rect(0, 0, bw, c));
    }, [table, weak](bool) {
        table->removeFromSuperview();
        table->setDataSource(nullptr);
        table->setDelegate(nullptr);
        // Reopened meanwhile: the list stays, with its new table.
        auto self = std::static_pointer_cast<CustomMenuHelper>(weak.lock());
        if (self && !self->_is_opened) self->removeFromSuperview();
    });
    if (delegate) delegate->menuClosed(*this);
}

int CustomMenuHelper::numberOfRows(ui::TableView&) {
    return _items.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX
                                                             : static_cast<int>(_items.size());
}

double CustomMenuHelper::heightForRow(ui::TableView&, int row) {
    const bool last = static_cast<std::size_t>(row) + 1 == _items.size();
    return isSeparatorRow(row) && !last ? kSeparatorRowHeight : __tableview_default_cell_height;
}

std::shared_ptr<ui::TableViewCell> CustomMenuHelper::cellForRow(ui::TableView& table, int row) {
    auto cell = table.dequeueReusableCell(kCellIdentifier);
    if (!cell) {
        cell = std::make_shared<ui::TableViewCell>(kCellIdentifier);
        cell->textLabel().setFont(ui::FontSpec{kRegularFontName, __message_default_font_size});
        cell->textLabel().setTextAlignment(ui::TextAlignment::center);
    }
    removeRowLine(*cell);
    const auto r = static_cast<std::size_t>(row);
    const bool last = r + 1 == _items.size();
    if (isSeparatorRow(row) && !last) {
        // A thin bar: no text of its own, whatever the reused cell showed before.
        cell->textLabel().setText("");
        cell->setBackgroundColor(__separator_default_color);
        cell->setSelectedBackgroundView(nullptr);
        return cell;
    }
    cell->textLabel().setText(_items[r]);
    cell->textLabel().setTextColor(ui::Color::black());
    cell->textLabel().setTextAlignment(ui::TextAlignment::left);
    cell->setBackgroundColor(ui::Color::white());
    auto selected = std::make_shared<ui::View>();
    selected->setBackgroundColor(__tableview_default_selection_color);
    cell->setSelectedBackgroundView(std::move(selected));
    if (!last && _items[r + 1] != kSeparator) {
        auto line = std::make_shared<ui::View>(
            ui::Rect(0, __tableview_default_cell_height - 1, table.bounds().size.width, 1));
        line->setBackgroundColor(kToolkitGrey);
        line->setTag(kRowLineTag);
        cell->addSubview(std::move(line));
    }
    return cell;
}

bool CustomMenuHelper::shouldHighlightRow(ui::TableView&, int row) {
    // A separator is never a choice, also when it is the last row and shows its "-".
    return !isSeparatorRow(row);
}

void CustomMenuHelper::didHighlightRow(ui::TableView& table, int row) {
    if (auto* cell = table.cellForRow(row)) cell->textLabel().setTextColor(ui::Color::white());
}

void CustomMenuHelper::didUnhighlightRow(ui::TableView& table, int row) {
    if (auto* cell = table.cellForRow(row)) cell->textLabel().setTextColor(ui::Color::black());
}

void CustomMenuHelper::didSelectRow(ui::TableView& table, int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= _items.size() || isSeparatorRow(row)) return;
    if (auto* cell = table.cellForRow(row)) cell->textLabel().setTextColor(ui::Color::white());
    _main_button->setTitle("   " + _items[static_cast<std::size_t>(row)]);
    _main_button->setTag(row);
    hide();
}

}  // namespace brelka
