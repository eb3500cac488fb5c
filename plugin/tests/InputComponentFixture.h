// A small on-screen world for the dialog's input components: a key window on a chosen
// screen, a root view, and a dialog panel inside it where the component under test is
// placed, the way the controller places its sections. Time runs on the virtual clock and a
// synthesiser plays the user through real hit testing.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "dialog/InputDialog.h"
#include "ui/Application.h"
#include "ui/EventSynthesizer.h"
#include "ui/Responder.h"
#include "ui/RunLoop.h"
#include "ui/Screen.h"
#include "ui/ViewController.h"
#include "ui/Window.h"

namespace brelka::testing {

class InputComponentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::RunLoop::main().clear();
        ui::RunLoop::main().useVirtualClock();
        InputDialog::_radio_buttons().clear();
        useScreen(1024, 768);
    }

    void TearDown() override {
        if (auto* r = ui::Responder::current()) r->resignFirstResponder();
        ui::RunLoop::main().runUntilIdle();
        ui::RunLoop::main().clear();
        InputDialog::_radio_buttons().clear();
        ui::Application::shared().setKeyWindow(nullptr);
        ui::Screen::main().setProfile(ui::ScreenProfile::ipad());
    }

    // A fresh window filling a screen of this size, with an empty panel at (0, panelY).
    void useScreen(double width, double height, double panelY = 0) {
        ui::ScreenProfile profile = ui::ScreenProfile::ipad();
        profile.size = ui::Size{width, height};
        ui::Screen::main().setProfile(profile);
        window = std::make_shared<ui::Window>(ui::Screen::main().bounds());
        root = std::make_shared<ui::ViewController>();
        window->setRootViewController(root);
        window->makeKeyAndVisible();
        panel = std::make_shared<ui::View>(ui::Rect(0, panelY, width, height - panelY));
        root->view().addSubview(panel);
        user = std::make_unique<ui::EventSynthesizer>(*window);
    }

    template <class T>
    std::shared_ptr<T> place(std::shared_ptr<T> component) {
        panel->addSubview(component);
        return component;
    }

    void advance(double seconds) { ui::RunLoop::main().advance(seconds); }
    void idle() { ui::RunLoop::main().runUntilIdle(); }

    // Whether every frame in the subtree is finite.
    static bool finiteTree(const ui::View& v) {
        const ui::Rect f = v.frame();
        if (!std::isfinite(f.x()) || !std::isfinite(f.y()) || !std::isfinite(f.width()) ||
            !std::isfinite(f.height()))
            return false;
        for (const auto& s : v.subviews())
            if (!finiteTree(*s)) return false;
        return true;
    }

    // How many direct subviews are exactly this view (0 or 1 when nothing is duplicated).
    static int copiesOf(const ui::View& parent, const ui::View* child) {
        int n = 0;
        for (const auto& s : parent.subviews()) n += s.get() == child;
        return n;
    }

    std::shared_ptr<ui::Window> window;
    std::shared_ptr<ui::ViewController> root;
    std::shared_ptr<ui::View> panel;
    std::unique_ptr<ui::EventSynthesizer> user;
};

}  // namespace brelka::testing
