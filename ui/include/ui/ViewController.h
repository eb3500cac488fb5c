// Manages one screenful of views: loads its root view once (viewDidLoad), is told each time
// it appears or disappears, and presents and dismisses other controllers modally over
// itself. A presented controller's view is added to the window above the presenter's; the
// presenter's view stays (over-current-context). Controllers are held by shared_ptr; a
// presenter owns the controller it presents until it is dismissed. Main thread only.
//
// Timing: presentation and dismissal take effect on the view tree at once; viewDidAppear /
// viewDidDisappear and the completion run on the main queue afterwards (at once when not
// animated, after the transition's duration when animated), so they never run inside the
// call that started them.
#pragma once

#include <functional>
#include <memory>

#include "ui/View.h"

namespace ui {

class Window;

enum class ModalPresentationStyle { fullScreen, overCurrentContext };

class ViewController : public std::enable_shared_from_this<ViewController> {
public:
    // Duration of an animated presentation or dismissal, in seconds.
    static constexpr double kTransitionDuration = 0.3;

    ViewController();
    virtual ~ViewController();

    // The root view, loaded on first use (loadView, then viewDidLoad once).
    View& view();
    const std::shared_ptr<View>& viewPointer();
    bool isViewLoaded() const { return view_ != nullptr; }

    ModalPresentationStyle modalPresentationStyle() const { return style_; }
    void setModalPresentationStyle(ModalPresentationStyle s) { style_ = s; }

    // Presents `controller` over this one. Refused (false, no completion) when this
    // controller is not on screen, already presents another one, or `controller` already is
    // presented somewhere.
    bool present(std::shared_ptr<ViewController> controller, bool animated,
                 std::function<void()> completion = {});
    // Dismisses what this controller presents (and everything above it); called on a
    // presented controller with nothing above it, dismisses that controller itself. The
    // completion runs after the dismissal in any case (also when nothing was presented),
    // so a caller waiting for it is never left hanging.
    void dismiss(bool animated, std::function<void()> completion = {});

    ViewController* presentedViewController() const { return presented_.get(); }
    ViewController* presentingViewController() const { return presenting_; }
    // The window whose tree holds this controller's view, or nullptr.
    Window* window() const;

    // Life-cycle hooks for subclasses.
    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool /*animated*/) {}
    virtual void viewDidAppear(bool /*animated*/) {}
    virtual void viewWillDisappear(bool /*animated*/) {}
    virtual void viewDidDisappear(bool /*animated*/) {}
    virtual bool shouldAutorotate() const { return true; }

    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

protected:
    // For loadView overrides.
    void setView(std::shared_ptr<View> view) { view_ = std::move(view); }

private:
    friend class Window;
    std::shared_ptr<View> view_;
    ModalPresentationStyle style_ = ModalPresentationStyle::fullScreen;
    std::shared_ptr<ViewController> presented_;
    ViewController* presenting_ = nullptr;
    Window* rootOf_ = nullptr;  // set while this is a window's root view controller
};

}  // namespace ui
