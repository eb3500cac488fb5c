// CustomTextArea: the multi-line text item of the dialog, a title column on the left and a
// scrolling, word-wrapped text view right of it, pre-filled with the item's initial text.
// Every build replaces the text view (anything typed into the old one is gone; the
// controller builds only before the user can type).
//
// Ownership: made with std::make_shared and owned by the dialog's component list; it owns
// its title label and the current text view. Thread: main thread only.
#pragma once

#include <memory>
#include <string>

#include "ui/Label.h"
#include "ui/TextView.h"
#include "ui/View.h"

namespace brelka {

class CustomTextArea final : public ui::View {
public:
    // Stores the arguments, sets the frame (x, y, total_width, total_height) and builds.
    CustomTextArea(std::string title, std::string placeholder, double x, double y,
                   double title_width, double total_width, double title_height,
                   double total_height, bool focus = false);

    // The text view's current text; value and display text alike.
    std::string getValue() const;
    std::string getText() const;

    // Makes a new text view showing _placeholder.
    void addTextArea();
    void addTitle();
    // Applies the stored geometry: frame and inner views, exactly one copy of each.
    void updateSize();
    // Its class, texts, and the value and display text a closing dialog would collect.
    ui::Inspection inspect() const override;

    std::string _title;
    const std::shared_ptr<ui::Label> _title_label = std::make_shared<ui::Label>();
    std::string _placeholder;
    std::shared_ptr<ui::TextView> _text_area = std::make_shared<ui::TextView>();
    double _x = 0;
    double _y = 0;
    double _title_width = 0;
    double _total_width = 0;
    double _title_height = 0;
    double _total_height = 0;
    bool _focus = false;
};

}  // namespace brelka
