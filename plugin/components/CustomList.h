// CustomList: the list item of the dialog, a title column on the left and an always visible
// scrolling table of rows right of it, of which exactly one is selected at any time. The
// initial row is clamped into the rows (none or below: the first; beyond: the last). The
// value is the selected row's number counted from 1, or its return identifier when the item
// has them; the display text is the row's entry. It is the data source and delegate of its
// table, whose rows are made on demand.
//
// Ownership: made with std::make_shared and owned by the dialog's component list; it owns
// its title label and, per build, its table. Thread: main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/Label.h"
#include "ui/TableView.h"
#include "ui/View.h"

namespace brelka {

class CustomList final : public ui::View, public ui::TableViewDataSource, public ui::TableViewDelegate {
public:
    // default_value is the initial row counted from 1 (0 or less for none). Stores the
    // arguments, sets the frame (x, y, total_width, height) and builds.
    CustomList(std::string title, std::int64_t default_value, std::vector<std::string> items,
               std::vector<std::string> ids, double x, double y, double title_width,
               double total_width, double height);
    ~CustomList() override;

    // The row index an initial row (counted from 1) selects among `count` rows.
    static std::int64_t clampedInitialRow(std::int64_t default_value, std::size_t count);

    std::string getValue() const;
    std::string getText() const;
    void addTitle();
    // Makes a new table and selects _default_value in it.
    void addList();
    // Applies the stored geometry: frame and inner views, exactly one copy of each.
    void updateSize();
    // Its class, texts, and the value and display text a closing dialog would collect.
    ui::Inspection inspect() const override;
    // Selects _default_value in the table, without animation, scrolling or callbacks.
    void selectDefaultCell();

    // Table data source and delegate.
    int numberOfRows(ui::TableView& table) override;
    double heightForRow(ui::TableView& table, int row) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView& table, int row) override;
    void didHighlightRow(ui::TableView& table, int row) override;
    void didUnhighlightRow(ui::TableView& table, int row) override;
    void didSelectRow(ui::TableView& table, int row) override;
    void didDeselectRow(ui::TableView& table, int row) override;

    std::string _title;
    const std::shared_ptr<ui::Label> _title_label = std::make_shared<ui::Label>();
    std::vector<std::string> _list_items;
    std::vector<std::string> _return_ids;
    std::shared_ptr<ui::TableView> _list_view = std::make_shared<ui::TableView>();
    std::int64_t _selected_index = 0;
    std::int64_t _default_value = 0;
    double _x = 0;
    double _y = 0;
    double _title_width = 0;
    double _total_width = 0;
    double _height = 0;

private:
    // Sets the text colour of every visible cell: white for `row`, black for the rest.
    void paintRows(ui::TableView& table, std::int64_t row);
};

}  // namespace brelka
