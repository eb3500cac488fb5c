// Recognises a tap (one tap, one touch) on the view it is attached to or its descendants,
// and runs its actions with itself as sender. It sees only taps that no control, text view
// or scroll view below it took, and only when its delegate (if any) lets it receive the
// touch. Of several recognisers on the path, the deepest willing one fires.
// Attached views hold recognisers by shared_ptr; the delegate is not owned. Main thread.
#pragma once

#include <functional>
#include <vector>

#include "ui/Geometry.h"

namespace ui {

class TapGestureRecognizer;
class View;

class GestureRecognizerDelegate {
public:
    virtual ~GestureRecognizerDelegate() = default;
    // `point` is in the coordinates of the recogniser's view; `touched` is the hit view.
    virtual bool gestureRecognizerShouldReceiveTouch(TapGestureRecognizer&, View& /*touched*/,
                                                     Point /*point*/) {
        return true;
    }
};

class TapGestureRecognizer {
public:
    using Action = std::function<void(TapGestureRecognizer& sender)>;

    TapGestureRecognizer() = default;
    explicit TapGestureRecognizer(Action action) { addTarget(std::move(action)); }

    void addTarget(Action action) { actions_.push_back(std::move(action)); }
    int numberOfTapsRequired() const { return taps_; }
    void setNumberOfTapsRequired(int n) { taps_ = n; }
    int numberOfTouchesRequired() const { return touches_; }
    void setNumberOfTouchesRequired(int n) { touches_ = n; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool e) { enabled_ = e; }
    GestureRecognizerDelegate* delegate() const { return delegate_; }
    void setDelegate(GestureRecognizerDelegate* d) { delegate_ = d; }

    // The view it is attached to, or nullptr.
    View* view() const { return view_; }
    // Where the recognised tap was, in the coordinates of `in` (nullptr: the root's).
    Point location(const View* in) const;

    // Runs the actions for a tap at `point` (in view() coordinates); used by the window.
    void fire(Point point);

    TapGestureRecognizer(const TapGestureRecognizer&) = delete;
    TapGestureRecognizer& operator=(const TapGestureRecognizer&) = delete;

private:
    friend class View;
    std::vector<Action> actions_;
    int taps_ = 1;
    int touches_ = 1;
    bool enabled_ = true;
    GestureRecognizerDelegate* delegate_ = nullptr;
    View* view_ = nullptr;
    Point location_;
};

}  // namespace ui
