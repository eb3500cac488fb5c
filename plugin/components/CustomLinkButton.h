// CustomLinkButton: a link item, its title shown as blue underlined text that opens the link
// when tapped. It follows the dialog's left column: with a column, the link starts right of it.
//
// Ownership: made with std::make_shared and owned by the dialog's component list; every build
// makes a new button. Thread: main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ui/Button.h"
#include "ui/View.h"

namespace brelka {

class CustomLinkButton final : public ui::View {
public:
    // Stores the arguments, sets the frame (x, y, width_left + width, height) and builds.
    CustomLinkButton(std::string title, std::string link, double x, double y, double width_left,
                     double width, double height);
    ~CustomLinkButton() override;

    void addButton();
    // The button's tap action: asks the application, on the main queue, to open _link. The
    // dialog stays open; the answer is not looked at.
    void openUrl(ui::Control& sender);
    // Applies the stored geometry: frame and inner views, exactly one copy of each.
    void updateSize();
    // Its class and texts, for readers of the view tree; a display item gives no value.
    ui::Inspection inspect() const override;

    std::shared_ptr<ui::Button> _link_button = std::make_shared<ui::Button>();
    std::optional<std::string> _title = std::string();
    std::optional<std::string> _link;
    double _x = 0;
    double _y = 0;
    double _width_left = 0;
    double _width = 0;
    double _height = 0;
};

}  // namespace brelka
