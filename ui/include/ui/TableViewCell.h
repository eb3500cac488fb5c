// One row of a table: a view with a text label (the default style), a reuse identifier, and
// selected/highlighted states. While selected or highlighted, the selected-background view
// (if any) lies behind the cell's other subviews. Cells are made by the table's data source
// and owned by the table while visible or waiting for reuse. Main thread only.
#pragma once

#include <memory>
#include <string>

#include "ui/Label.h"
#include "ui/View.h"

namespace ui {

class TableViewCell : public View {
public:
    // Insets of the text label inside the default cell.
    static constexpr double kTextInset = 16;

    explicit TableViewCell(std::string reuseIdentifier);

    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    // The default style's label, filling the cell less the insets.
    Label& textLabel() { return *textLabel_; }
    const Label& textLabel() const { return *textLabel_; }

    const std::shared_ptr<View>& selectedBackgroundView() const { return selectedBackground_; }
    void setSelectedBackgroundView(std::shared_ptr<View> v);
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);

    // Called by the table before the cell is handed out again by dequeueReusableCell.
    virtual void prepareForReuse();

protected:
    void layoutSubviews() override;

private:
    void updateSelectedBackground();

    std::string reuseIdentifier_;
    std::shared_ptr<Label> textLabel_;
    std::shared_ptr<View> selectedBackground_;
    bool selected_ = false;
    bool highlighted_ = false;
};

}  // namespace ui
