// CustomRadioButton: the radio item of the dialog, a circular button followed by a one-line
// description. All radio buttons of a dialog form one group (the controller's class-level
// list InputDialog::_radio_buttons): selecting one deselects the others. Selection,
// deselection and a repeated tap play short animations on the run loop's clock; the state
// (_current_value) changes at once, the look follows. Value and display text: "1" when
// selected, "0" otherwise.
//
// Ownership: made with std::make_shared and owned by the dialog's component list (the
// controller's radio list holds it too); it owns its label and, per build, its two buttons.
// Pending animation completions hold it only weakly. Thread: main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/View.h"

namespace brelka {

class CustomRadioButton final : public ui::View {
public:
    // Stores the arguments (_current_value stays false), sets the frame
    // (x, y, width_left + width, height) and builds.
    CustomRadioButton(std::string description, bool default_value, double x, double y,
                      double width_left, double width, double height);
    ~CustomRadioButton() override;

    // "1" when selected, "0" otherwise; value and display text are the same.
    std::string getValue() const;
    std::string getText() const;

    void addDescription();
    // Makes a new outer circle and inner dot and shows them not selected.
    void addRadioButton();
    // Not selected from now on; a selected button plays the deselection animation.
    void deselect();
    // The tap action of the circle and the dot: selects this button and deselects the rest
    // of the group, or pulses when it already is selected. The sender is not used.
    void setSelected(ui::Control* sender = nullptr);
    // The selection animation (reverse false) or the deselection animation (reverse true).
    void animateSelection(bool reverse);
    // Applies the stored geometry: frame and inner views, exactly one copy of each.
    void updateSize();
    // Its class, texts, and the value and display text a closing dialog would collect.
    ui::Inspection inspect() const override;

    std::string _description;
    const std::shared_ptr<ui::Label> _description_label = std::make_shared<ui::Label>();
    std::shared_ptr<ui::Button> _radio_button = std::make_shared<ui::Button>();
    std::shared_ptr<ui::Button> _radio_button_selected = std::make_shared<ui::Button>();
    bool _default_value = false;
    bool _current_value = false;
    double _x = 0;
    double _y = 0;
    double _width_left = 0;
    double _width = 0;
    double _height = 0;

private:
    void showNotSelectedLook();
    void pulse();

    // Bumped by every change of look; an animation step whose generation is no longer the
    // current one leaves the look alone, so quick successive taps end in the right look.
    std::uint64_t look_generation_ = 0;
};

}  // namespace brelka
