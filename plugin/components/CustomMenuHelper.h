// CustomMenuHelper: the drop-down list of a pop-up menu. Closed it is detached; opened it
// lies over the whole dialog in the root view (the superview of the dialog's content view),
// growing from the menu button downwards or upwards, whichever fits, and shortened to whole
// rows when neither does. Entries that are exactly "-" are separator rows: 2 points high
// (except as the last row), never selectable. Choosing an entry sets the menu button's title
// and tag and closes the list. It is the data source and delegate of its table, whose rows
// are made on demand.
//
// Ownership: made with std::make_shared by its CustomMenu, which holds it; while open the
// root view holds it too. It holds the menu button strongly and its delegate not at all.
// Pending animation completions hold it only weakly. Thread: main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/Button.h"
#include "ui/Geometry.h"
#include "ui/TableView.h"
#include "ui/View.h"

namespace brelka {

class CustomMenuDelegate;

class CustomMenuHelper : public ui::View, public ui::TableViewDataSource, public ui::TableViewDelegate {
public:
    // The height argument is not used: the list's height comes from the entries (2 points for
    // a "-", a row height for any other entry). The frame is empty until the list opens.
    CustomMenuHelper(std::shared_ptr<ui::Button> button, double height,
                     std::vector<std::string> items, std::string direction);
    ~CustomMenuHelper() override;

    // Closes the list when it is open; otherwise does nothing.
    void hide();
    // Chooses _direction and, when the list does not fit on the screen, shortens _height to
    // whole rows.
    void calculateDirectionAndHeight();
    // Opens the list, or closes it when it is already open.
    void show();

    // Table data source and delegate.
    int numberOfRows(ui::TableView& table) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView& table, int row) override;
    double heightForRow(ui::TableView& table, int row) override;
    bool shouldHighlightRow(ui::TableView& table, int row) override;
    void didHighlightRow(ui::TableView& table, int row) override;
    void didUnhighlightRow(ui::TableView& table, int row) override;
    void didSelectRow(ui::TableView& table, int row) override;

    // Whether a row is a separator entry ("-").
    bool isSeparatorRow(int row) const;

    bool _is_opened = false;
    std::string _direction = "down";
    std::vector<std::string> _items;
    double _height = 0;
    std::shared_ptr<ui::TableView> _table_view = std::make_shared<ui::TableView>();
    std::shared_ptr<ui::Button> _main_button = std::make_shared<ui::Button>();
    CustomMenuDelegate* delegate = nullptr;

private:
    // The button's top-left in the root view's coordinates (the sum of the origins of the
    // button, the menu and the content view) and the root view, or nullptr when the chain is
    // not complete.
    ui::Point buttonOrigin() const;
    ui::View* rootView() const;
};

}  // namespace brelka
