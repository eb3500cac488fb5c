// The top of a view tree on screen: it shows its root view controller's view and whatever
// that controller presents, and it is where touches and wheel events enter. The
// application's key window is the one scripts and dialogs present over. Owned by whoever
// makes it (the host program), held by shared_ptr. Main thread only.
#pragma once

#include <memory>
#include <vector>

#include "ui/View.h"

namespace ui {

class ViewController;
class TapGestureRecognizer;

enum class TouchPhase { began, moved, ended, cancelled };

class Window : public View {
public:
    explicit Window(Rect frame);
    ~Window() override;

    const std::shared_ptr<ViewController>& rootViewController() const { return root_; }
    // Puts the controller's view into the window, filling it, in place of the previous one.
    void setRootViewController(std::shared_ptr<ViewController> controller);
    // Makes this the application's key window.
    void makeKeyAndVisible();

    // The top of the presentation chain (the root when nothing is presented), or nullptr.
    ViewController* topViewController() const;

    // One finger's touch at a point in window coordinates. A touch belongs, from began to
    // ended, to the deepest view under it that takes touches (controls, text views, scroll
    // views); a short touch that no such view took is a tap for the recognisers on the path.
    void sendTouch(TouchPhase phase, Point p);
    // A wheel or trackpad scroll at a point (dy > 0 scrolls the content up, showing what is
    // below).
    void sendScroll(Point p, double dx, double dy);

private:
    std::shared_ptr<ViewController> root_;
    // The touch in progress.
    std::weak_ptr<View> touchOwner_;
    std::vector<std::weak_ptr<TapGestureRecognizer>> touchRecognizers_;
    Point touchStart_;
    bool touchMovedFar_ = false;
    bool touchActive_ = false;
};

}  // namespace ui
