// CustomMenu: the pop-up menu item of the dialog, a title column on the left and a button
// showing the current choice right of it; a tap on the button opens the drop-down list
// (CustomMenuHelper). The choice is the button's title ("   " and the chosen entry, or the
// initial text) with its tag (the chosen row, separators counted). Entries that are exactly
// "-" are separators: never a choice, and not counted when the choice becomes a value.
//
// Ownership: made with std::make_shared and owned by the dialog's component list; it owns
// its title label and, per build, its button, arrow icon and drop-down list.
// Thread: main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "components/CustomMenuHelper.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

namespace brelka {

class CustomMenu final : public ui::View {
public:
    // Stores the arguments, sets the frame (x, y, total_width, height) and builds.
    CustomMenu(std::string title, std::string placeholder, std::vector<std::string> items,
               std::vector<std::string> ids, double x, double y, double title_width,
               double total_width, double height);
    ~CustomMenu() override;

    // The number of non-separator entries at rows 0 to index inclusive: a chosen entry's
    // position counted from 1 among the entries.
    std::int64_t getSelectedIndexWithoutDashes(std::int64_t index) const;
    // Whether text is a title the button shows for a chosen entry ("   " and an entry).
    bool stringInMenuItems(const std::string& text) const;
    // The chosen entry's number ("1" for the first non-separator entry) or its return
    // identifier; "0" when no entry is chosen.
    std::string getValue() const;
    // The chosen entry, or the initial text when no entry is chosen.
    std::string getText() const;
    // The row of the first entry equal to _placeholder; 0 when there is none.
    std::int64_t getSelectedIndex() const;

    void addTitle();
    // Makes a new button, arrow icon and drop-down list, with the choice reset from
    // _placeholder.
    void addMenu();
    // The button's tap action: opens the list, or closes it when it is open.
    void openMenu(ui::Control* sender = nullptr);
    // Applies the stored geometry: frame and inner views, exactly one copy of each.
    void updateSize();
    // Its class, texts, and the value and display text a closing dialog would collect.
    ui::Inspection inspect() const override;

    std::string _title;
    const std::shared_ptr<ui::Label> _title_label = std::make_shared<ui::Label>();
    std::string _placeholder;
    std::vector<std::string> _menu_items;
    std::vector<std::string> _return_ids;
    std::shared_ptr<ui::Button> _button = std::make_shared<ui::Button>();
    std::shared_ptr<ui::ImageView> _image_view = std::make_shared<ui::ImageView>();
    std::shared_ptr<CustomMenuHelper> _menu;
    double _x = 0;
    double _y = 0;
    double _title_width = 0;
    double _total_width = 0;
    double _height = 0;

private:
    // The row the button's tag names when it is an entry that is chosen; none otherwise
    // (an initial text that is no entry, or a separator).
    std::optional<std::size_t> chosenRow() const;
};

}  // namespace brelka
