// Tables: rows on demand, reuse, callbacks, selection in code, scrolling.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ToolkitFixture.h"
#include "ui/TableView.h"

namespace ui {
namespace {

// A list of n rows, 40 high, "-" rows 2 high and not highlightable; records every callback.
struct Rows : TableViewDataSource, TableViewDelegate {
    std::vector<std::string> items;
    std::vector<std::string> calls;
    int made = 0;

    int numberOfRows(TableView&) override { return static_cast<int>(items.size()); }
    std::shared_ptr<TableViewCell> cellForRow(TableView& t, int row) override {
        auto cell = t.dequeueReusableCell("cell");
        if (!cell) {
            cell = std::make_shared<TableViewCell>("cell");
            ++made;
        }
        cell->textLabel().setText(items[static_cast<std::size_t>(row)]);
        return cell;
    }
    double heightForRow(TableView&, int row) override { return items[static_cast<std::size_t>(row)] == "-" ? 2 : 40; }
    bool shouldHighlightRow(TableView&, int row) override { return items[static_cast<std::size_t>(row)] != "-"; }
    void didHighlightRow(TableView&, int r) override { calls.push_back("highlight " + std::to_string(r)); }
    void didUnhighlightRow(TableView&, int r) override { calls.push_back("unhighlight " + std::to_string(r)); }
    void didSelectRow(TableView&, int r) override { calls.push_back("select " + std::to_string(r)); }
    void didDeselectRow(TableView&, int r) override { calls.push_back("deselect " + std::to_string(r)); }
};

class Tables : public testing::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        for (int i = 0; i < 20; ++i) rows.items.push_back("Row " + std::to_string(i));
        table = add<TableView>(Rect(100, 100, 300, 200));  // five rows visible
        table->setDataSource(&rows);
        table->setDelegate(&rows);
    }
    // A tap in the middle of a row at a given height inside the table.
    void tapAt(double y) { user->tap(Point{250, 100 + y}); }

    Rows rows;
    std::shared_ptr<TableView> table;
};

TEST_F(Tables, OnlyVisibleRowsHaveCellsAndCellsAreReused) {
    EXPECT_EQ(table->visibleRows(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(table->contentSize().height, 800);
    EXPECT_EQ(table->cellForRow(2)->frame(), Rect(0, 80, 300, 40));
    EXPECT_EQ(table->cellForRow(2)->superview(), table.get());
    EXPECT_EQ(table->cellForRow(7), nullptr);
    table->setContentOffset(Point{0, 400});
    EXPECT_EQ(table->visibleRows(), (std::vector<int>{10, 11, 12, 13, 14}));
    EXPECT_EQ(table->cellForRow(10)->textLabel().text(), "Row 10");
    EXPECT_EQ(rows.made, 5);  // the cells scrolled away came back for the new rows
    table->setContentOffset(Point{0, 5000});
    EXPECT_EQ(table->contentOffset().y, 600);  // clamped to the end
}

TEST_F(Tables, TapCallbacksInOrderAndSelectRowTellsNothing) {
    table->selectRow(3);
    EXPECT_TRUE(rows.calls.empty());
    EXPECT_TRUE(table->cellForRow(3)->isSelected());
    tapAt(60);  // row 1
    tapAt(60);  // the same row again: selected again, nothing deselected
    EXPECT_EQ(rows.calls, (std::vector<std::string>{"highlight 1", "unhighlight 1", "deselect 3", "select 1",
                                                    "highlight 1", "unhighlight 1", "select 1"}));
    EXPECT_EQ(table->selectedRow(), 1);
    EXPECT_FALSE(table->cellForRow(3)->isSelected());
    EXPECT_TRUE(table->cellForRow(1)->isSelected());
}

TEST_F(Tables, SelectingInCodeDoesNotScrollUnlessAsked) {
    table->selectRow(15);
    EXPECT_EQ(table->contentOffset().y, 0);
    EXPECT_EQ(table->selectedRow(), 15);
    table->scrollToRow(15);  // as little as needed: row 15 (600..640) ends at the bottom
    EXPECT_EQ(table->contentOffset().y, 440);
    EXPECT_TRUE(table->cellForRow(15)->isSelected());
    table->selectRow(99);  // out of range: ignored
    EXPECT_EQ(table->selectedRow(), 15);
}

TEST_F(Tables, DragAndWheelScrollAndADragIsNoSelection) {
    user->drag(Point{250, 280}, Point{250, 160});  // up by 120
    EXPECT_EQ(table->contentOffset().y, 120);
    EXPECT_EQ(rows.calls, (std::vector<std::string>{"highlight 4", "unhighlight 4"}));
    user->scroll(Point{250, 200}, 100);
    EXPECT_EQ(table->contentOffset().y, 220);
    user->scroll(Point{600, 600}, 100);  // not over the table
    EXPECT_EQ(table->contentOffset().y, 220);
    tapAt(10);  // content y 230: row 5
    EXPECT_EQ(rows.calls.back(), "select 5");
}

TEST_F(Tables, RowsOutsideTheVisiblePartAreNotHit) {
    auto below = add<View>(Rect(100, 300, 300, 100));
    below->setUserInteractionEnabled(false);
    // Row 5 is laid out below the table's frame only if scrolled; it must not catch taps
    // there, and the table clips it away.
    user->tap(Point{250, 320});
    EXPECT_TRUE(rows.calls.empty());
    EXPECT_EQ(window->hitTest(Point{250, 320}), &root->view());
}

TEST_F(Tables, SeparatorRowsAreThinAndNotSelectable) {
    rows.items = {"Red", "-", "Green"};
    table->reloadData();
    EXPECT_EQ(table->rectForRow(1), Rect(0, 40, 300, 2));
    EXPECT_EQ(table->rectForRow(2), Rect(0, 42, 300, 40));
    tapAt(41);
    EXPECT_TRUE(rows.calls.empty());
    EXPECT_EQ(table->rowAtPoint(Point{10, 60}), 2);
    EXPECT_EQ(table->rowAtPoint(Point{10, 90}), std::nullopt);
}

TEST_F(Tables, ReloadWithFewerRowsDropsAStaleSelectionAndMissingCellsDoNotCrash) {
    table->selectRow(10);
    rows.items.resize(3);
    table->reloadData();
    EXPECT_EQ(table->numberOfRows(), 3);
    EXPECT_EQ(table->selectedRow(), std::nullopt);
    EXPECT_EQ(table->contentOffset().y, 0);

    struct Broken : TableViewDataSource {
        int numberOfRows(TableView&) override { return 2; }
        std::shared_ptr<TableViewCell> cellForRow(TableView&, int) override { return nullptr; }
    } broken;
    setLogSink([](std::string_view) {});
    table->setDataSource(&broken);
    EXPECT_EQ(table->visibleCells().size(), 2u);
    setLogSink({});
    table->setDataSource(&rows);
}

}  // namespace
}  // namespace ui
