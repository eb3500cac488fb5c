// CustomTextField: the one-line text item (plain or password) of the dialog, a title column
// on the left and the input right of it. The input is pre-filled with the item's initial
// text (_placeholder), which is editable and returned as entered. It also carries the item's
// validation rule and focus flag, which the controller reads; the controller is the input's
// delegate and handles editing, the return key and focus.
//
// Ownership: made with std::make_shared and owned by the dialog's component list; it owns
// its title label and its one input for its whole life. Thread: main thread only.
#pragma once

#include <memory>
#include <string>

#include "ui/Label.h"
#include "ui/TextField.h"
#include "ui/View.h"

namespace brelka {

class CustomTextField final : public ui::View {
public:
    // Stores the arguments, sets the frame (x, y, total_width, height) and builds.
    CustomTextField(std::string title, std::string placeholder, bool password, double x, double y,
                    double title_width, double total_width, double height,
                    std::string validation = "", bool filemaker_validation = false,
                    bool focus = false);

    // The input's current text, as typed (never masked); value and display text alike.
    std::string getValue() const;
    std::string getText() const;

    // Styles and places the input and resets its text to _placeholder.
    void addTextField();
    void addTitle();
    // Applies the stored geometry: frame and inner views, exactly one copy of each.
    void updateSize();
    // Its class, texts, and the value and display text a closing dialog would collect.
    ui::Inspection inspect() const override;

    std::string _title;
    const std::shared_ptr<ui::Label> _title_label = std::make_shared<ui::Label>();
    std::string _placeholder;
    const std::shared_ptr<ui::TextField> _textfield = std::make_shared<ui::TextField>();
    bool _password = false;
    double _x = 0;
    double _y = 0;
    double _title_width = 0;
    double _total_width = 0;
    double _height = 0;
    std::string _validation;
    bool _filemaker_validation = false;
    bool _focus = false;
};

}  // namespace brelka
