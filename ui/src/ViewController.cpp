#include "ui/ViewController.h"

#include <vector>

#include "ui/Application.h"
#include "ui/Log.h"
#include "ui/MainQueue.h"
#include "ui/Screen.h"
#include "ui/Window.h"

namespace ui {

ViewController::ViewController() = default;

ViewController::~ViewController() = default;

View& ViewController::view() {
    return *viewPointer();
}

const std::shared_ptr<View>& ViewController::viewPointer() {
    if (!view_) {
        loadView();
        if (!view_) view_ = std::make_shared<View>(Screen::main().bounds());
        viewDidLoad();
    }
    return view_;
}

void ViewController::loadView() {
    Rect frame = Screen::main().bounds();
    if (Window* w = Application::shared().keyWindow()) frame = w->bounds();
    view_ = std::make_shared<View>(frame);
}

Window* ViewController::window() const {
    return view_ ? view_->window() : nullptr;
}

bool ViewController::present(std::shared_ptr<ViewController> controller, bool animated,
                             std::function<void()> completion) {
    if (!controller || controller.get() == this) return false;
    Window* w = window();
    if (!w) {
        log("ViewController: refused to present from a controller that is not on screen");
        return false;
    }
    if (presented_) {
        log("ViewController: refused to present while already presenting another controller");
        return false;
    }
    if (controller->presenting_ || controller->rootOf_) {
        log("ViewController: refused to present a controller that is already on screen");
        return false;
    }
    presented_ = controller;
    controller->presenting_ = this;
    View& v = controller->view();
    controller->viewWillAppear(animated);
    v.setFrame(w->bounds());
    v.setAutoresizingMask(autoresizingFlexibleWidth | autoresizingFlexibleHeight);
    w->addSubview(controller->viewPointer());

    const double delay = animated ? kTransitionDuration : 0;
    MainQueue::asyncAfter(delay, [controller, animated, completion = std::move(completion)] {
        // A controller dismissed before its presentation finished does not appear.
        if (controller->presenting_) controller->viewDidAppear(animated);
        if (completion) completion();
    });
    return true;
}

void ViewController::dismiss(bool animated, std::function<void()> completion) {
    ViewController* base = presented_ ? this : presenting_;
    std::vector<std::shared_ptr<ViewController>> chain;
    if (base) {
        for (auto vc = base->presented_; vc; vc = vc->presented_) chain.push_back(vc);
    }
    // Top first, as they leave the screen.
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        auto& vc = *it;
        vc->viewWillDisappear(animated);
        if (vc->view_) vc->view_->removeFromSuperview();
    }
    for (auto& vc : chain) {
        vc->presenting_ = nullptr;
        vc->presented_.reset();
    }
    if (base) base->presented_.reset();

    const double delay = animated && !chain.empty() ? kTransitionDuration : 0;
    MainQueue::asyncAfter(delay, [chain = std::move(chain), animated, completion = std::move(completion)] {
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) (*it)->viewDidDisappear(animated);
        if (completion) completion();
    });
}

}  // namespace ui
