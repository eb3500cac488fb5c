// CustomMessage: the dialog's prompt, a left-aligned text wrapped over as many lines as it
// needs, across the whole dialog width.
//
// Ownership: made with std::make_shared and owned by the dialog's component list; it owns its
// label for its whole life. Thread: main thread only.
#pragma once

#include <memory>
#include <string>

#include "ui/Label.h"
#include "ui/View.h"

namespace brelka {

class CustomMessage final : public ui::View {
public:
    // Stores the arguments, sets the frame (x, y, width, height) and builds.
    CustomMessage(std::string message, double x, double y, double width, double height);
    ~CustomMessage() override;

    void addMessage();
    // Applies the stored geometry: frame and inner views, exactly one copy of each.
    void updateSize();
    // Its class and texts, for readers of the view tree; a display item gives no value.
    ui::Inspection inspect() const override;

    std::string _message;
    const std::shared_ptr<ui::Label> _message_label = std::make_shared<ui::Label>();
    double _x = 0;
    double _y = 0;
    double _width = 0;
    double _height = 0;
};

}  // namespace brelka
