// A small on-screen world for toolkit tests: the iPad screen, a key window with a root
// controller, the virtual clock, and a synthesiser playing the user. Each test starts with
// an empty run loop, no first responder and the keyboard down.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "ui/Application.h"
#include "ui/EventSynthesizer.h"
#include "ui/Keyboard.h"
#include "ui/Responder.h"
#include "ui/RunLoop.h"
#include "ui/Screen.h"
#include "ui/ViewController.h"
#include "ui/VirtualClock.h"
#include "ui/Log.h"
#include "ui/Window.h"

namespace ui::testing {

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        RunLoop::main().clear();
        clock = &RunLoop::main().useVirtualClock();
        Screen::main().setProfile(ScreenProfile::ipad());
        window = std::make_shared<Window>(Screen::main().bounds());
        root = std::make_shared<ViewController>();
        window->setRootViewController(root);
        window->makeKeyAndVisible();
        user = std::make_unique<EventSynthesizer>(*window);
    }

    void TearDown() override {
        if (auto* r = Responder::current()) r->resignFirstResponder();
        RunLoop::main().runUntilIdle();
        RunLoop::main().clear();
        Application::shared().setKeyWindow(nullptr);
    }

    // A view added to the root controller's view.
    template <class T, class... Args>
    std::shared_ptr<T> add(Args&&... args) {
        auto v = std::make_shared<T>(std::forward<Args>(args)...);
        root->view().addSubview(v);
        return v;
    }

    void idle() { RunLoop::main().runUntilIdle(); }
    void advance(double seconds) { RunLoop::main().advance(seconds); }

    VirtualClock* clock = nullptr;
    std::shared_ptr<Window> window;
    std::shared_ptr<ViewController> root;
    std::unique_ptr<EventSynthesizer> user;
};

}  // namespace ui::testing
