#include "components/CustomList.h"

#include <climits>

#include "components/ItemTitle.h"
#include "dialog/Constants.h"
#include "host/Diagnostics.h"
#include "ui/TableViewCell.h"

namespace brelka {

namespace {

constexpr const char* kCellIdentifier = "list_cell";
// Marks the row line a cell was given, so that a reused cell never collects a second one.
constexpr int kRowLineTag = 0x4c494e45;
const ui::Color kToolkitGrey{0.5, 0.5, 0.5, 1};

void trace(const char* what) {
    if (Diagnostics::enabled()) Diagnostics::log(what);
}

}  // namespace

CustomList::CustomList(std::string title, std::int64_t default_value, std::vector<std::string> items,
                       std::vector<std::string> ids, double x, double y, double title_width,
                       double total_width, double height)
    : _title(std::move(title)),
      _list_items(std::move(items)),
      _return_ids(std::move(ids)),
      _x(x),
      _y(y),
      _title_width(title_width),
      _total_width(total_width),
      _height(height) {
    _default_value = clampedInitialRow(default_value, _list_items.size());
    _selected_index = _default_value;
    setFrame(ui::Rect(x, y, total_width, height));
    addList();
    addTitle();
}

CustomList::~CustomList() {
    _list_view->setDataSource(nullptr);
    _list_view->setDelegate(nullptr);
}

std::int64_t CustomList::clampedInitialRow(std::int64_t default_value, std::size_t count) {
    // A list always has a selection: no initial row means the first, one past the end the
    // last.
    if (default_value <= 0 || count == 0) return 0;
    const auto n = static_cast<std::uint64_t>(count);
    const auto d = static_cast<std::uint64_t>(default_value);
    return static_cast<std::int64_t>(d <= n ? d - 1 : n - 1);
}

std::string CustomList::getValue() const {
    const auto i = static_cast<std::size_t>(_selected_index);
    if (_selected_index < 0 || i >= _list_items.size()) return "0";
    if (_return_ids == _list_items) return std::to_string(_selected_index + 1);
    return i < _return_ids.size() ? _return_ids[i] : std::string();
}

std::string CustomList::getText() const {
    const auto i = static_cast<std::size_t>(_selected_index);
    return _selected_index >= 0 && i < _list_items.size() ? _list_items[i] : std::string();
}

void CustomList::addTitle() {
    styleItemTitle(*_title_label, _title);
    // One row high, level with the first row.
    _title_label->setFrame(
        ui::Rect(_x + __left_right_margin, 0, _title_width, __tableview_default_cell_height));
    addSubview(_title_label);
}

void CustomList::addList() {
    const double m = __left_right_margin;
    const double hs = __component_horizontal_spacing;
    const double tw = _title_width;
    const ui::Rect frame = tw == 0 ? ui::Rect(m, 0, _total_width - 2 * m, _height)
                                   : ui::Rect(m + tw + hs, 0, _total_width - tw - hs - 2 * m, _height);
    _list_view->setDataSource(nullptr);
    _list_view->setDelegate(nullptr);
    _list_view = std::make_shared<ui::TableView>(frame);
    _list_view->setRowHeight(__tableview_default_cell_height);
    _list_view->setDataSource(this);
    _list_view->setDelegate(this);
    _list_view->setSeparatorStyle(ui::TableSeparatorStyle::none);
    _list_view->layer().borderWidth = 1;
    _list_view->layer().borderColor = __separator_default_color;
    addSubview(_list_view);
    selectDefaultCell();
    _list_view->setAllowsSelection(true);
    _list_view->setAlwaysBounceVertical(false);
    _list_view->setBounces(false);
    _list_view->setScrollEnabled(true);
}

void CustomList::updateSize() {
    _list_view->removeFromSuperview();
    setFrame(ui::Rect(_x, _y, _total_width, _height));
    addList();
    addTitle();
}

void CustomList::selectDefaultCell() {
    if (_default_value < 0 || _default_value >= INT_MAX) return;
    // Without scrolling: an initial row below the visible part stays out of sight.
    _list_view->selectRow(static_cast<int>(_default_value), false, ui::ScrollPosition::none);
}

int CustomList::numberOfRows(ui::TableView&) {
    return _list_items.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX
                                                                   : static_cast<int>(_list_items.size());
}

double CustomList::heightForRow(ui::TableView&, int) { return __tableview_default_cell_height; }

std::shared_ptr<ui::TableViewCell> CustomList::cellForRow(ui::TableView& table, int row) {
    auto cell = table.dequeueReusableCell(kCellIdentifier);
    if (!cell) {
        cell = std::make_shared<ui::TableViewCell>(kCellIdentifier);
        cell->textLabel().setFont(ui::FontSpec{kRegularFontName, __message_default_font_size});
        cell->textLabel().setTextAlignment(ui::TextAlignment::center);
    }
    const auto r = static_cast<std::size_t>(row);
    cell->textLabel().setText(_list_items[r]);
    cell->textLabel().setTextColor(row == _selected_index ? ui::Color::white() : ui::Color::black());
    cell->textLabel().setTextAlignment(ui::TextAlignment::left);
    cell->setBackgroundColor(ui::Color::white());
    auto selected = std::make_shared<ui::View>();
    selected->setBackgroundColor(__tableview_default_selection_color);
    cell->setSelectedBackgroundView(std::move(selected));

    std::vector<ui::View*> lines;
    for (const auto& v : cell->subviews())
        if (v->tag() == kRowLineTag) lines.push_back(v.get());
    for (auto* v : lines) v->removeFromSuperview();
    if (r + 1 < _list_items.size()) {
        auto line = std::make_shared<ui::View>(ui::Rect(0, __tableview_default_cell_height - 1,
                                                        table.bounds().size.width, 1));
        line->setBackgroundColor(kToolkitGrey);
        line->setTag(kRowLineTag);
        cell->addSubview(std::move(line));
    }
    return cell;
}

void CustomList::paintRows(ui::TableView& table, std::int64_t row) {
    for (int visible : table.visibleRows()) {
        if (auto* cell = table.cellForRow(visible))
            cell->textLabel().setTextColor(visible == row ? ui::Color::white() : ui::Color::black());
    }
}

void CustomList::didHighlightRow(ui::TableView& table, int row) {
    trace("didHighlight");
    paintRows(table, row);
}

void CustomList::didUnhighlightRow(ui::TableView& table, int) {
    trace("didUnhighlight");
    paintRows(table, _selected_index);
}

void CustomList::didSelectRow(ui::TableView& table, int row) {
    trace("didSelect");
    paintRows(table, row);
    _selected_index = row;
}

void CustomList::didDeselectRow(ui::TableView& table, int row) {
    trace("didDeselect");
    if (auto* cell = table.cellForRow(row)) cell->textLabel().setTextColor(ui::Color::black());
}

ui::Inspection CustomList::inspect() const {
    return ui::Inspection{"CustomList", {{"title", _title}}, getValue(), getText()};
}

}  // namespace brelka
