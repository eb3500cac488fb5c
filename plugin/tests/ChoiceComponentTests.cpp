// The dialog's choice components: the pop-up menu with its drop-down list (geometry,
// direction and height, separator rows, values and display texts, opening and closing by
// taps on the virtual clock) and the scrolling list (initial-row clamping, selection,
// highlight, values). Large inputs must stay cheap: tables make cells only for what shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "InputComponentFixture.h"
#include "components/CustomList.h"
#include "components/CustomMenu.h"
#include "components/CustomMenuDelegate.h"
#include "dialog/Constants.h"
#include "ui/Image.h"
#include "ui/TableViewCell.h"
#include "ui/Window.h"

namespace brelka {
namespace {

using testing::InputComponentTest;
using ui::Rect;
using Lines = std::vector<std::string>;

Lines numbered(int n) {
    Lines v;
    for (int i = 1; i <= n; ++i) v.push_back("Entry " + std::to_string(i));
    return v;
}

struct ClosingRecorder : CustomMenuDelegate {
    int closed = 0;
    void menuClosed(CustomMenuHelper&) override { ++closed; }
};

// ---------------------------------------------------------------- pop-up menu

class MenuTest : public InputComponentTest {
protected:
    // A menu on a panel so placed that the menu button's top is `buttonTop` points down the
    // screen (the component sits 100 points into the panel).
    std::shared_ptr<CustomMenu> makeMenu(Lines items, Lines ids, std::string placeholder,
                                         double screenHeight = 768, double buttonTop = 300,
                                         double titleWidth = 0) {
        useScreen(1024, screenHeight, buttonTop - 100);
        return place(std::make_shared<CustomMenu>("Color", std::move(placeholder), std::move(items),
                                                  std::move(ids), 0, 100, titleWidth, 300, 40));
    }

    ui::TableView& open(CustomMenu& menu) {
        EXPECT_FALSE(menu._menu->_is_opened);
        EXPECT_TRUE(user->tap(*menu._button));
        EXPECT_TRUE(menu._menu->_is_opened);
        return *menu._menu->_table_view;
    }

    // Opens the list and taps a row (scrolled into view first).
    void choose(CustomMenu& menu, int row) {
        ui::TableView& table = open(menu);
        table.scrollToRow(row);
        ASSERT_NE(table.cellForRow(row), nullptr);
        EXPECT_TRUE(user->tap(*table.cellForRow(row)));
        advance(1);
    }

    bool listOnScreen(const CustomMenu& menu) const { return menu._menu->superview() == &root->view(); }
};

TEST_F(MenuTest, GeometryWithAndWithoutATitle) {
    struct Case {
        double titleWidth;
        Rect button, icon;
    };
    for (const Case& c : std::vector<Case>{{0, Rect(16, 0, 268, 40), Rect(258, 10, 20, 20)},
                                           {60, Rect(81, 0, 203, 40), Rect(258, 10, 20, 20)}}) {
        SCOPED_TRACE(c.titleWidth);
        auto menu = makeMenu({"Red", "Green"}, {"Red", "Green"}, "Pink", 768, 300, c.titleWidth);
        EXPECT_EQ(menu->frame(), Rect(0, 100, 300, 40));
        EXPECT_EQ(menu->_button->frame(), c.button);
        EXPECT_EQ(menu->_image_view->frame(), c.icon);
        EXPECT_EQ(menu->_title_label->frame(), Rect(16, 0, c.titleWidth, 40));
        EXPECT_EQ(menu->_button->title(), "   Pink");
        EXPECT_EQ(menu->_button->layer().cornerRadius, 5);
        // The icon lies on the button's right end.
        EXPECT_EQ(menu->subviews()[1], menu->_image_view);
        // Rebuilds replace the button and the icon and keep one copy of everything.
        auto oldButton = menu->_button;
        menu->updateSize();
        menu->updateSize();
        EXPECT_EQ(menu->subviews().size(), 3u);
        EXPECT_EQ(oldButton->superview(), nullptr);
        EXPECT_EQ(menu->_menu->_main_button, menu->_button);
        EXPECT_EQ(menu->_button->frame(), c.button);
    }
}

TEST_F(MenuTest, ArrowIconComesFromTheBundle) {
    const char* saved = std::getenv("BRELKA_BUNDLE");
    const std::string keep = saved ? saved : "";
    const auto resources = std::filesystem::path(__FILE__).parent_path().parent_path() / "resources";
    ::setenv("BRELKA_BUNDLE", resources.c_str(), 1);
    auto menu = makeMenu({"Red"}, {"Red"}, "Red");
    if (saved) ::setenv("BRELKA_BUNDLE", keep.c_str(), 1);
    else ::unsetenv("BRELKA_BUNDLE");
    ASSERT_NE(menu->_image_view->image(), nullptr);
    EXPECT_EQ(menu->_image_view->image()->size(), (ui::Size{20, 20}));
}

TEST_F(MenuTest, ValuesAndDisplayTexts) {
    const Lines rgb = {"Red", "-", "Green", "Blue"};
    struct Case {
        const char* name;
        Lines items, ids;
        std::string placeholder;
        std::optional<int> chooseRow;
        std::string value, text;
    };
    const std::vector<Case> cases = {
        {"entries are their own ids: Green", rgb, rgb, "Pick", 2, "2", "Green"},
        {"entries are their own ids: Blue", rgb, rgb, "Pick", 3, "3", "Blue"},
        {"ids: Green", rgb, {"r", "g", "b"}, "Pick", 2, "g", "Green"},
        {"ids: Red", rgb, {"r", "g", "b"}, "Pick", 0, "r", "Red"},
        {"untouched, initial text no entry", rgb, {"r", "g", "b"}, "Pink", std::nullopt, "0", "Pink"},
        {"untouched, initial text an entry", rgb, rgb, "Blue", std::nullopt, "3", "Blue"},
        {"untouched, initial entry with ids", rgb, {"r", "g", "b"}, "Green", std::nullopt, "g", "Green"},
        // A separator is never a choice, not even as the initial text.
        {"initial text a separator", {"-", "Red", "Green"}, {"r", "g"}, "-", std::nullopt, "0", "-"},
        {"initial separator, then Green", {"-", "Red", "Green"}, {"r", "g"}, "-", 2, "g", "Green"},
        {"empty initial text", {"", "A"}, {"", "A"}, "", std::nullopt, "1", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto menu = makeMenu(c.items, c.ids, c.placeholder);
        if (c.chooseRow) choose(*menu, *c.chooseRow);
        EXPECT_EQ(menu->getValue(), c.value);
        EXPECT_EQ(menu->getText(), c.text);
        EXPECT_FALSE(menu->_menu->_is_opened);
    }
}

TEST_F(MenuTest, ChoosingSetsTitleAndTagAndClosesTheList) {
    auto menu = makeMenu({"Red", "-", "Green", "Blue"}, {"r", "g", "b"}, "Pick");
    ClosingRecorder recorder;
    menu->_menu->delegate = &recorder;
    ui::TableView& table = open(*menu);
    EXPECT_EQ(table.scrollIndicatorFlashes(), 1);
    ASSERT_TRUE(user->tap(*table.cellForRow(3)));
    EXPECT_EQ(menu->_button->title(), "   Blue");
    EXPECT_EQ(menu->_button->tag(), 3);
    EXPECT_EQ(recorder.closed, 1);  // told as the closing starts
    EXPECT_TRUE(listOnScreen(*menu));
    advance(0.2);
    EXPECT_FALSE(listOnScreen(*menu));
    EXPECT_EQ(menu->_menu->_table_view->superview(), nullptr);
}

TEST_F(MenuTest, TappingTheButtonWhileOpenClosesWithoutAChoice) {
    auto menu = makeMenu({"Red", "Green"}, {"Red", "Green"}, "Green");
    ClosingRecorder recorder;
    menu->_menu->delegate = &recorder;
    menu->updateSize();  // a rebuild keeps the listener of the old list
    open(*menu);
    // The open list covers the button; its action is what a tap on it would send.
    menu->_button->sendActions(ui::ControlEvent::touchUpInside);
    EXPECT_FALSE(menu->_menu->_is_opened);
    EXPECT_EQ(recorder.closed, 1);
    advance(1);
    EXPECT_FALSE(listOnScreen(*menu));
    EXPECT_EQ(menu->getValue(), "2");
    EXPECT_EQ(menu->getText(), "Green");
}

TEST_F(MenuTest, ReopeningDuringTheClosingAnimationKeepsTheList) {
    auto menu = makeMenu({"Red", "Green"}, {"Red", "Green"}, "Red");
    menu->openMenu();
    menu->openMenu();   // closing: removal due in 0.2 s
    advance(0.1);
    menu->openMenu();   // open again before that
    advance(1);
    EXPECT_TRUE(menu->_menu->_is_opened);
    EXPECT_TRUE(listOnScreen(*menu));
    EXPECT_EQ(menu->_menu->_table_view->superview(), menu->_menu.get());
}

TEST_F(MenuTest, DirectionAndHeight) {
    struct Case {
        const char* name;
        int entries;
        double screenHeight, buttonTop;
        std::string direction;
        Rect list;
        ui::Size shadow;
    };
    const std::vector<Case> cases = {
        // 800 points fit neither way; below (400) is the larger side: 384 cut to nine rows.
        {"20 under 300 of 700", 20, 700, 300, "down", Rect(16, 300, 268, 360), {-5, 5}},
        {"fits below", 3, 700, 300, "down", Rect(16, 300, 268, 120), {-5, 5}},
        // Opening up puts the list's bottom edge on the button's bottom edge.
        {"fits only above", 3, 700, 600, "up", Rect(16, 520, 268, 120), {-5, -5}},
        {"20 under 500 of 700", 20, 700, 500, "up", Rect(16, 20, 268, 520), {-5, -5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto menu = makeMenu(numbered(c.entries), numbered(c.entries), "Pick", c.screenHeight, c.buttonTop);
        EXPECT_EQ(menu->_menu->_height, c.entries * 40.0);
        open(*menu);
        EXPECT_EQ(menu->_menu->_direction, c.direction);
        EXPECT_EQ(menu->_menu->frame(), c.list);
        EXPECT_EQ(menu->_menu->_table_view->frame(), Rect(0, 0, 268, c.list.height()));
        EXPECT_EQ(menu->_menu->layer().shadowOffset, c.shadow);
        EXPECT_EQ(root->view().subviews().back(), menu->_menu);  // over the whole dialog
        // Only the rows that show have cells.
        EXPECT_LE(menu->_menu->_table_view->visibleCells().size(),
                  static_cast<std::size_t>(c.list.height() / 40));
    }
}

TEST_F(MenuTest, SeparatorRowsAreThinBarsThatNothingSelects) {
    auto menu = makeMenu({"Red", "Green", "-", "Blue", "-"}, {"r", "g", "b"}, "Pick");
    EXPECT_EQ(menu->_menu->_height, 40 * 3 + 2 * 2);
    ui::TableView& table = open(*menu);
    const std::vector<double> heights = {40, 40, 2, 40, 40};  // a "-" at the end is a full row
    const std::vector<std::string> texts = {"Red", "Green", "", "Blue", "-"};
    const std::vector<bool> lined = {true, false, false, false, false};
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(table.rectForRow(row).height(), heights[static_cast<std::size_t>(row)]);
        ui::TableViewCell* cell = table.cellForRow(row);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->textLabel().text(), texts[static_cast<std::size_t>(row)]);
        bool hasLine = false;
        for (const auto& v : cell->subviews())
            hasLine |= v->frame() == Rect(0, 39, 268, 1) && v.get() != &cell->textLabel();
        EXPECT_EQ(hasLine, lined[static_cast<std::size_t>(row)]);
    }
    EXPECT_EQ(table.cellForRow(2)->backgroundColor(), __separator_default_color);

    for (int row : {2, 4}) {
        user->tap(*table.cellForRow(row));
        EXPECT_TRUE(menu->_menu->_is_opened) << row;
        EXPECT_EQ(menu->_button->title(), "   Pick");
    }
    EXPECT_EQ(menu->getValue(), "0");
    ASSERT_TRUE(user->tap(*table.cellForRow(3)));
    EXPECT_EQ(menu->getValue(), "b");
}

TEST_F(MenuTest, UnusualEntryListsNeitherCrashNorChoose) {
    {
        SCOPED_TRACE("only separators");
        auto menu = makeMenu({"-", "-", "-"}, {"-", "-", "-"}, "Pick");
        ui::TableView& table = open(*menu);
        for (int row = 0; row < 3; ++row) user->tap(*table.cellForRow(row));
        EXPECT_EQ(menu->getValue(), "0");
        EXPECT_EQ(menu->getText(), "Pick");
    }
    {
        SCOPED_TRACE("no entries");
        auto menu = makeMenu({}, {}, "");
        ui::TableView& table = open(*menu);
        EXPECT_EQ(table.numberOfRows(), 0);
        EXPECT_EQ(menu->getValue(), "0");
        EXPECT_EQ(menu->getText(), "");
    }
    {
        SCOPED_TRACE("10,000 entries and a long title");
        auto menu = makeMenu(numbered(10000), numbered(10000), std::string(10000, 'x'));
        menu->_title = std::string(10000, 'T');
        menu->updateSize();
        choose(*menu, 9999);
        EXPECT_EQ(menu->getValue(), "10000");
        EXPECT_EQ(menu->getText(), "Entry 10000");
        EXPECT_LE(menu->_menu->_table_view->visibleCells().size(), 20u);
        EXPECT_TRUE(finiteTree(*menu));
    }
}

// ---------------------------------------------------------------- scrolling list

class ListTest : public InputComponentTest {
protected:
    std::shared_ptr<CustomList> makeList(Lines items, Lines ids, std::int64_t initial,
                                         double height = 120, double titleWidth = 0) {
        return place(std::make_shared<CustomList>("Fruit", initial, std::move(items), std::move(ids), 0,
                                                  100, titleWidth, 300, height));
    }
    static std::vector<std::string> whiteRows(ui::TableView& table) {
        std::vector<std::string> v;
        for (int row : table.visibleRows())
            if (table.cellForRow(row)->textLabel().textColor() == ui::Color::white())
                v.push_back(table.cellForRow(row)->textLabel().text());
        return v;
    }
    const Lines fruit = {"Apple", "Pear", "Plum"};
};

TEST_F(ListTest, GeometryWithAndWithoutATitle) {
    for (double tw : {0.0, 60.0}) {
        SCOPED_TRACE(tw);
        auto list = makeList(fruit, fruit, 0, 120, tw);
        EXPECT_EQ(list->frame(), Rect(0, 100, 300, 120));
        EXPECT_EQ(list->_list_view->frame(), tw == 0 ? Rect(16, 0, 268, 120) : Rect(81, 0, 203, 120));
        EXPECT_EQ(list->_title_label->frame(), Rect(16, 0, tw, 40));  // one row high
        EXPECT_EQ(list->_list_view->layer().borderColor, __separator_default_color);
        EXPECT_FALSE(list->_list_view->bounces());
    }
}

TEST_F(ListTest, InitialRowIsClampedIntoTheRows) {
    const std::int64_t big = std::numeric_limits<std::int64_t>::max();
    const std::int64_t small = std::numeric_limits<std::int64_t>::min();
    const std::vector<std::pair<std::int64_t, std::int64_t>> cases = {
        {0, 0}, {-5, 0}, {small, 0}, {1, 0}, {2, 1}, {3, 2}, {4, 2}, {10, 2}, {big, 2}};
    for (const auto& [initial, row] : cases) {
        SCOPED_TRACE(initial);
        auto list = makeList(fruit, fruit, initial);
        EXPECT_EQ(list->_selected_index, row);
        EXPECT_EQ(list->_default_value, row);
        EXPECT_EQ(list->_list_view->selectedRow(), row);
        EXPECT_EQ(list->getText(), fruit[static_cast<std::size_t>(row)]);
    }
}

TEST_F(ListTest, ValuesFollowTheSelectedRow) {
    auto plain = makeList(fruit, fruit, 0);
    EXPECT_EQ(plain->getValue(), "1");
    EXPECT_EQ(plain->getText(), "Apple");

    auto ids = makeList(fruit, {"a", "p", "l"}, 2);
    ui::TableView& table = *ids->_list_view;
    EXPECT_EQ(ids->getValue(), "p");
    EXPECT_EQ(whiteRows(table), Lines{"Pear"});
    ASSERT_TRUE(user->tap(*table.cellForRow(2)));
    EXPECT_EQ(ids->getValue(), "l");
    EXPECT_EQ(ids->getText(), "Plum");
    EXPECT_EQ(whiteRows(table), Lines{"Plum"});
    ASSERT_TRUE(user->tap(*table.cellForRow(2)));  // the selected row again: no change
    EXPECT_EQ(ids->getValue(), "l");
    EXPECT_EQ(table.selectedRow(), 2);
}

TEST_F(ListTest, FingerDownHighlightsAndLiftingAwayRestoresTheSelection) {
    auto list = makeList(fruit, fruit, 2);
    ui::TableView& table = *list->_list_view;
    const ui::Point apple = table.cellForRow(0)->convert(ui::Point{100, 20}, nullptr);
    window->sendTouch(ui::TouchPhase::began, apple);
    EXPECT_EQ(whiteRows(table), Lines{"Apple"});
    // Moved far away: a drag, not a tap; the selected row shows again.
    window->sendTouch(ui::TouchPhase::moved, ui::Point{apple.x, apple.y + 200});
    window->sendTouch(ui::TouchPhase::ended, ui::Point{apple.x, apple.y + 200});
    EXPECT_EQ(whiteRows(table), Lines{"Pear"});
    EXPECT_EQ(list->getValue(), "2");
}

TEST_F(ListTest, InitialRowOutOfSightIsSelectedWithoutScrolling) {
    auto list = makeList(numbered(10), numbered(10), 8);  // three rows show
    EXPECT_EQ(list->_list_view->contentOffset().y, 0);
    EXPECT_EQ(list->_list_view->visibleRows(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(list->getValue(), "8");
}

TEST_F(ListTest, ARebuildKeepsOneTableAndTheChoice) {
    auto list = makeList(fruit, {"a", "p", "l"}, 1);
    ASSERT_TRUE(user->tap(*list->_list_view->cellForRow(2)));
    auto old = list->_list_view;
    list->_title_width = 40;
    list->updateSize();
    list->updateSize();
    EXPECT_EQ(old->superview(), nullptr);
    EXPECT_EQ(list->subviews().size(), 2u);  // one table, one title
    EXPECT_EQ(copiesOf(*list, list->_title_label.get()), 1);
    // The new table selects the initial row again; the value stays the user's choice.
    EXPECT_EQ(list->_list_view->selectedRow(), 0);
    EXPECT_EQ(list->getValue(), "l");
}

TEST_F(ListTest, LargeAndEmptyRowLists) {
    auto many = makeList(numbered(10000), numbered(10000), 20000, 200);
    many->_title = std::string(10000, 'T');
    many->updateSize();
    ui::TableView& table = *many->_list_view;
    EXPECT_LE(table.visibleCells().size(), 6u);
    EXPECT_EQ(many->getValue(), "10000");
    table.scrollToRow(4000);
    ASSERT_TRUE(user->tap(*table.cellForRow(4000)));
    EXPECT_EQ(many->getValue(), "4001");
    EXPECT_LE(table.visibleCells().size(), 7u);
    EXPECT_TRUE(finiteTree(*many));

    auto none = makeList({}, {}, 3);
    EXPECT_EQ(none->getValue(), "0");
    EXPECT_EQ(none->getText(), "");
    EXPECT_EQ(none->_list_view->numberOfRows(), 0);
}

}  // namespace
}  // namespace brelka
