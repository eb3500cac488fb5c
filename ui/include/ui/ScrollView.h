// A view whose content is larger than its frame and moves under it: the content offset is
// the bounds origin, kept between 0 and contentSize - bounds size. Drags and wheel events
// scroll it; it clips its content to its bounds, so nothing outside the visible part is
// drawn or hit. Main thread only.
#pragma once

#include "ui/View.h"

namespace ui {

class ScrollView : public View {
public:
    // A touch that moves further than this is a drag, not a tap.
    static constexpr double kDragThreshold = 10;

    explicit ScrollView(Rect frame = {});

    Size contentSize() const { return contentSize_; }
    void setContentSize(Size s);
    Point contentOffset() const { return bounds().origin; }
    // Moves the visible part; the offset is clamped to the scrollable range.
    void setContentOffset(Point offset, bool animated = false);
    // The largest offset on each axis (0 when the content fits).
    Point maxContentOffset() const;

    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool e) { scrollEnabled_ = e; }
    bool bounces() const { return bounces_; }
    void setBounces(bool b) { bounces_ = b; }
    bool alwaysBounceVertical() const { return alwaysBounceVertical_; }
    void setAlwaysBounceVertical(bool b) { alwaysBounceVertical_ = b; }
    bool showsVerticalScrollIndicator() const { return showsIndicator_; }
    void setShowsVerticalScrollIndicator(bool s) { showsIndicator_ = s; }
    // Shows the scroll indicators briefly; counted so that a drawing can show them.
    void flashScrollIndicators() { ++flashes_; }
    int scrollIndicatorFlashes() const { return flashes_; }
    // Whether the last touch became a drag (and so is no tap).
    bool isDragging() const { return dragging_; }

    bool acceptsTouches() const override { return true; }
    void touchBegan(Point p) override;
    void touchMoved(Point p) override;
    void touchEnded(Point p) override;
    void touchCancelled() override;
    bool scrollWheel(Point p, double dx, double dy) override;

protected:
    // A touch that ended without becoming a drag (the point is in content coordinates).
    virtual void tappedContent(Point) {}
    // Called after the content offset changed.
    virtual void didScroll() {}

private:
    Size contentSize_;
    bool scrollEnabled_ = true;
    bool bounces_ = true;
    bool alwaysBounceVertical_ = false;
    bool showsIndicator_ = true;
    int flashes_ = 0;
    bool dragging_ = false;
    Point touchStart_;    // in the parent's coordinates, unaffected by scrolling
    Point offsetAtStart_;
};

}  // namespace ui
