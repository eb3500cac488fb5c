// CustomCheckbox: the check-box item of the dialog, an on/off switch followed by a one-line
// description. It follows the dialog's left column: the switch starts right of the column
// where other items show their titles. Its value and display text are "1" when the switch
// is on and "0" when it is off.
//
// Ownership: made with std::make_shared and owned by the dialog's component list; it owns
// its switch and label for its whole life. Thread: main thread only.
#pragma once

#include <memory>
#include <string>

#include "ui/Label.h"
#include "ui/Switch.h"
#include "ui/View.h"

namespace brelka {

class CustomCheckbox final : public ui::View {
public:
    // Stores the arguments, sets the frame (x, y, width_left + width, height) and builds.
    CustomCheckbox(std::string description, bool default_value, double x, double y,
                   double width_left, double width, double height);
    ~CustomCheckbox() override;

    // "1" when the switch is on, "0" otherwise; value and display text are the same.
    std::string getValue() const;
    std::string getText() const;

    void addDescription();
    // Places the switch and sets its state from _default_value again (a rebuild discards the
    // user's change; the controller rebuilds only before the dialog is shown).
    void addCheckbox();
    // Applies the stored geometry: frame and inner views, exactly one copy of each.
    void updateSize();
    // Its class, texts, and the value and display text a closing dialog would collect.
    ui::Inspection inspect() const override;

    std::string _description;
    const std::shared_ptr<ui::Label> _description_label = std::make_shared<ui::Label>();
    const std::shared_ptr<ui::Switch> _checkbox = std::make_shared<ui::Switch>();
    bool _default_value = false;
    double _x = 0;
    double _y = 0;
    double _width_left = 0;
    double _width = 0;
    double _height = 0;
};

}  // namespace brelka
