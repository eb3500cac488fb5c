// A scrolling, single-section list of rows drawn on demand. The data source says how many
// rows there are and makes (or reuses) the cell of a row; the delegate gives row heights and
// hears of highlighting and selection. Only the rows in the visible part have cells, and
// those cells are ordinary subviews positioned in content coordinates.
//
// A tap on a row: highlight, unhighlight, then deselect of the previously selected row and
// select of the tapped one (a tapped row that already is selected is selected again, with
// no deselect). selectRow() and deselectRow() called in code tell the delegate nothing.
//
// Data source and delegate are not owned; they must outlive their registration. Main thread.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/ScrollView.h"
#include "ui/TableViewCell.h"

namespace ui {

class TableView;

class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;
    virtual int numberOfRows(TableView& table) = 0;
    virtual std::shared_ptr<TableViewCell> cellForRow(TableView& table, int row) = 0;
};

class TableViewDelegate {
public:
    virtual ~TableViewDelegate() = default;
    // Defaults to the table's rowHeight().
    virtual double heightForRow(TableView& table, int row);
    virtual bool shouldHighlightRow(TableView&, int) { return true; }
    virtual void didHighlightRow(TableView&, int) {}
    virtual void didUnhighlightRow(TableView&, int) {}
    virtual void didSelectRow(TableView&, int) {}
    virtual void didDeselectRow(TableView&, int) {}
};

enum class TableSeparatorStyle { none, singleLine };
// Where scrollToRow puts the row: none scrolls as little as needed to show it whole.
enum class ScrollPosition { none, top, middle, bottom };

class TableView : public ScrollView {
public:
    explicit TableView(Rect frame = {});

    TableViewDataSource* dataSource() const { return dataSource_; }
    void setDataSource(TableViewDataSource* d);
    TableViewDelegate* delegate() const { return delegate_; }
    void setDelegate(TableViewDelegate* d);
    // Forgets the rows and asks the data source again (on the next layout).
    void reloadData();

    double rowHeight() const { return rowHeight_; }
    void setRowHeight(double h);
    TableSeparatorStyle separatorStyle() const { return separatorStyle_; }
    void setSeparatorStyle(TableSeparatorStyle s) { separatorStyle_ = s; }
    Color separatorColor() const { return separatorColor_; }
    void setSeparatorColor(Color c) { separatorColor_ = c; }
    bool allowsSelection() const { return allowsSelection_; }
    void setAllowsSelection(bool a) { allowsSelection_ = a; }

    // A cell waiting for reuse under this identifier, or nullptr; the data source makes a
    // new cell when it gets nullptr.
    std::shared_ptr<TableViewCell> dequeueReusableCell(const std::string& identifier);

    int numberOfRows();
    // The row's rectangle in content coordinates.
    Rect rectForRow(int row);
    // The row under a point in content coordinates, if any.
    std::optional<int> rowAtPoint(Point p);
    // Rows with a cell now (the visible part), top to bottom.
    std::vector<int> visibleRows();
    std::vector<TableViewCell*> visibleCells();
    // The cell of a visible row, or nullptr.
    TableViewCell* cellForRow(int row);

    std::optional<int> selectedRow() const { return selected_; }
    // Selects without telling the delegate; scrolls only as `position` asks. Out-of-range
    // rows are ignored.
    void selectRow(int row, bool animated = false, ScrollPosition position = ScrollPosition::none);
    void deselectRow(int row, bool animated = false);
    void scrollToRow(int row, ScrollPosition position = ScrollPosition::none, bool animated = false);

    View* hitTest(Point p) override;
    void touchBegan(Point p) override;
    void touchMoved(Point p) override;
    void touchEnded(Point p) override;
    void touchCancelled() override;

protected:
    void layoutSubviews() override;
    void boundsSizeChanged(Size old) override;
    void tappedContent(Point p) override;
    void didScroll() override;

private:
    void ensureRows();
    void layoutCells();
    void unhighlight();
    void recycle(int row);

    TableViewDataSource* dataSource_ = nullptr;
    TableViewDelegate* delegate_ = nullptr;
    double rowHeight_ = 44;
    TableSeparatorStyle separatorStyle_ = TableSeparatorStyle::singleLine;
    Color separatorColor_ = Color::rgb255(200, 199, 204);
    bool allowsSelection_ = true;

    bool rowsValid_ = false;
    std::vector<double> rowTops_;  // rowTops_[i] is row i's top; one extra entry: the end
    std::map<int, std::shared_ptr<TableViewCell>> visible_;
    std::multimap<std::string, std::shared_ptr<TableViewCell>> reusePool_;
    std::optional<int> selected_;
    std::optional<int> highlighted_;
    bool inLayout_ = false;
};

}  // namespace ui
