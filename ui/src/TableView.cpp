#include "ui/TableView.h"

#include <algorithm>

#include "ui/Log.h"

namespace ui {

double TableViewDelegate::heightForRow(TableView& table, int) {
    return table.rowHeight();
}

TableView::TableView(Rect frame) : ScrollView(frame) {
    setBackgroundColor(Color::white());
}

void TableView::setDataSource(TableViewDataSource* d) {
    dataSource_ = d;
    reloadData();
}

void TableView::setDelegate(TableViewDelegate* d) {
    delegate_ = d;
    reloadData();
}

void TableView::setRowHeight(double h) {
    rowHeight_ = h;
    reloadData();
}

void TableView::reloadData() {
    rowsValid_ = false;
    for (auto& [row, cell] : visible_) {
        cell->removeFromSuperview();
        reusePool_.emplace(cell->reuseIdentifier(), cell);
    }
    visible_.clear();
    highlighted_.reset();
    setNeedsLayout();
}

void TableView::ensureRows() {
    if (rowsValid_) return;
    rowsValid_ = true;
    rowTops_.assign(1, 0.0);
    const int n = dataSource_ ? std::max(0, dataSource_->numberOfRows(*this)) : 0;
    rowTops_.reserve(static_cast<std::size_t>(n) + 1);
    for (int row = 0; row < n; ++row) {
        double h = delegate_ ? delegate_->heightForRow(*this, row) : rowHeight_;
        if (!(h >= 0)) h = 0;  // negative or NaN heights count as empty rows
        rowTops_.push_back(rowTops_.back() + h);
    }
    if (selected_ && *selected_ >= n) selected_.reset();
    setContentSize(Size{bounds().size.width, rowTops_.back()});
}

int TableView::numberOfRows() {
    ensureRows();
    return static_cast<int>(rowTops_.size()) - 1;
}

Rect TableView::rectForRow(int row) {
    ensureRows();
    if (row < 0 || row >= numberOfRows()) return Rect{};
    const auto i = static_cast<std::size_t>(row);
    return Rect(0, rowTops_[i], bounds().size.width, rowTops_[i + 1] - rowTops_[i]);
}

std::optional<int> TableView::rowAtPoint(Point p) {
    ensureRows();
    if (p.y < 0 || p.y >= rowTops_.back() || p.x < 0 || p.x >= bounds().size.width) return std::nullopt;
    auto it = std::upper_bound(rowTops_.begin(), rowTops_.end(), p.y);
    const int row = static_cast<int>(it - rowTops_.begin()) - 1;
    if (row < 0 || row >= numberOfRows()) return std::nullopt;
    return row;
}

void TableView::recycle(int row) {
    auto it = visible_.find(row);
    if (it == visible_.end()) return;
    auto cell = it->second;
    visible_.erase(it);
    cell->removeFromSuperview();
    reusePool_.emplace(cell->reuseIdentifier(), std::move(cell));
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCell(const std::string& identifier) {
    auto it = reusePool_.find(identifier);
    if (it == reusePool_.end()) return nullptr;
    auto cell = it->second;
    reusePool_.erase(it);
    cell->prepareForReuse();
    return cell;
}

void TableView::layoutCells() {
    if (inLayout_) return;
    inLayout_ = true;
    ensureRows();
    const double top = contentOffset().y;
    const double bottom = top + bounds().size.height;
    // Rows are sorted by their tops: the visible ones are the rows that end below `top`
    // and start above `bottom` (empty rows are skipped below).
    const int n = numberOfRows();
    const auto ends = rowTops_.begin() + 1;
    const int first = static_cast<int>(std::upper_bound(ends, rowTops_.end(), top) - ends);
    const int last = static_cast<int>(std::lower_bound(rowTops_.begin(), rowTops_.end() - 1, bottom) -
                                      rowTops_.begin()) - 1;
    std::vector<int> gone;
    for (auto& [row, cell] : visible_)
        if (row < first || row > last || row >= n) gone.push_back(row);
    for (int row : gone) recycle(row);

    for (int row = first; row <= last && row < n; ++row) {
        const Rect r = rectForRow(row);
        if (r.height() <= 0) {
            recycle(row);
            continue;
        }
        auto it = visible_.find(row);
        std::shared_ptr<TableViewCell> cell;
        if (it != visible_.end()) {
            cell = it->second;
        } else {
            cell = dataSource_ ? dataSource_->cellForRow(*this, row) : nullptr;
            if (!cell) {
                log("TableView: the data source gave no cell for a row; an empty one is shown");
                cell = std::make_shared<TableViewCell>("");
            }
            visible_[row] = cell;
            // Cells go behind any other subviews the table was given.
            insertSubview(cell, 0);
        }
        cell->setFrame(r);
        cell->setSelected(selected_ == row);
        cell->setHighlighted(highlighted_ == row);
        cell->layoutIfNeeded();
    }
    inLayout_ = false;
}

std::vector<int> TableView::visibleRows() {
    layoutIfNeeded();
    layoutCells();
    std::vector<int> rows;
    for (auto& [row, cell] : visible_) rows.push_back(row);
    return rows;
}

std::vector<TableViewCell*> TableView::visibleCells() {
    layoutIfNeeded();
    layoutCells();
    std::vector<TableViewCell*> cells;
    for (auto& [row, cell] : visible_) cells.push_back(cell.get());
    return cells;
}

TableViewCell* TableView::cellForRow(int row) {
    layoutCells();
    auto it = visible_.find(row);
    return it == visible_.end() ? nullptr : it->second.get();
}

void TableView::selectRow(int row, bool animated, ScrollPosition position) {
    if (row < 0 || row >= numberOfRows()) return;
    if (selected_ && *selected_ != row)
        if (auto it = visible_.find(*selected_); it != visible_.end()) it->second->setSelected(false);
    selected_ = row;
    if (auto it = visible_.find(row); it != visible_.end()) it->second->setSelected(true);
    if (position != ScrollPosition::none) scrollToRow(row, position, animated);
}

void TableView::deselectRow(int row, bool) {
    if (selected_ != row) return;
    selected_.reset();
    if (auto it = visible_.find(row); it != visible_.end()) it->second->setSelected(false);
}

void TableView::scrollToRow(int row, ScrollPosition position, bool animated) {
    if (row < 0 || row >= numberOfRows()) return;
    const Rect r = rectForRow(row);
    const double h = bounds().size.height;
    double y = contentOffset().y;
    switch (position) {
    case ScrollPosition::top: y = r.y(); break;
    case ScrollPosition::middle: y = r.midY() - h / 2; break;
    case ScrollPosition::bottom: y = r.maxY() - h; break;
    case ScrollPosition::none:
        if (r.y() < y) y = r.y();
        else if (r.maxY() > y + h) y = r.maxY() - h;
        break;
    }
    setContentOffset(Point{contentOffset().x, y}, animated);
    layoutCells();
}

View* TableView::hitTest(Point p) {
    layoutCells();
    return ScrollView::hitTest(p);
}

void TableView::layoutSubviews() {
    layoutCells();
}

void TableView::boundsSizeChanged(Size old) {
    ScrollView::boundsSizeChanged(old);
    if (rowsValid_) setContentSize(Size{bounds().size.width, rowTops_.back()});
    setNeedsLayout();
}

void TableView::didScroll() {
    layoutCells();
}

void TableView::touchBegan(Point p) {
    ScrollView::touchBegan(p);
    unhighlight();
    auto row = rowAtPoint(p);
    if (!row || !allowsSelection_) return;
    if (delegate_ && !delegate_->shouldHighlightRow(*this, *row)) return;
    highlighted_ = row;
    if (auto* cell = cellForRow(*row)) cell->setHighlighted(true);
    if (delegate_) delegate_->didHighlightRow(*this, *row);
}

void TableView::touchMoved(Point p) {
    ScrollView::touchMoved(p);
    if (isDragging()) unhighlight();
}

void TableView::touchEnded(Point p) {
    // ScrollView::touchEnded calls tappedContent for a tap, which selects.
    ScrollView::touchEnded(p);
    unhighlight();
}

void TableView::touchCancelled() {
    ScrollView::touchCancelled();
    unhighlight();
}

void TableView::unhighlight() {
    if (!highlighted_) return;
    const int row = *highlighted_;
    highlighted_.reset();
    if (auto* cell = cellForRow(row)) cell->setHighlighted(false);
    if (delegate_) delegate_->didUnhighlightRow(*this, row);
}

void TableView::tappedContent(Point p) {
    const std::optional<int> hl = highlighted_;
    unhighlight();
    // Only a row that took the highlight when the finger went down is selected.
    if (!hl || rowAtPoint(p) != hl) return;
    const int row = *hl;
    auto keep = weak_from_this().lock();
    if (selected_ && *selected_ != row) {
        const int old = *selected_;
        deselectRow(old);
        if (delegate_) delegate_->didDeselectRow(*this, old);
    }
    if (row >= numberOfRows()) return;  // a handler reloaded the table
    selected_ = row;
    if (auto* cell = cellForRow(row)) cell->setSelected(true);
    if (delegate_) delegate_->didSelectRow(*this, row);
}

}  // namespace ui
