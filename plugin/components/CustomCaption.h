// CustomCaption: a caption item, a right-aligned title in the dialog's left column and a
// wrapped description beside it (across the whole width when there is no title).
//
// Ownership: made with std::make_shared and owned by the dialog's component list; it owns its
// two labels for its whole life. Thread: main thread only.
#pragma once

#include <memory>
#include <string>

#include "ui/Label.h"
#include "ui/View.h"

namespace brelka {

class CustomCaption final : public ui::View {
public:
    // Stores the arguments, sets the frame (x, y, total_width, total_height) and builds.
    CustomCaption(std::string title, std::string description, double x, double y,
                  double title_width, double total_width, double title_height,
                  double total_height);
    ~CustomCaption() override;

    void addTitle();
    void addDescription();
    // Applies the stored geometry: frame and inner views, exactly one copy of each.
    void updateSize();
    // Its class and texts, for readers of the view tree; a display item gives no value.
    ui::Inspection inspect() const override;

    std::string _title;
    const std::shared_ptr<ui::Label> _title_label = std::make_shared<ui::Label>();
    std::string _description;
    const std::shared_ptr<ui::Label> _description_label = std::make_shared<ui::Label>();
    double _x = 0;
    double _y = 0;
    double _title_width = 0;
    double _total_width = 0;
    double _title_height = 0;
    double _total_height = 0;
};

}  // namespace brelka
