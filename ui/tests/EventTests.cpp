// Touch delivery: controls keep their taps, recognisers get the rest, drags are no taps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ToolkitFixture.h"
#include "ui/Button.h"
#include "ui/Switch.h"
#include "ui/TapGestureRecognizer.h"

namespace ui {
namespace {

class Events : public testing::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        backdrop = add<View>(window->bounds());
        panel = add<View>(Rect(200, 200, 400, 300));
        button = std::make_shared<Button>(Rect(20, 20, 100, 44));
        button->setTag(7);
        panel->addSubview(button);
        button->addTarget(ControlEvent::touchUpInside,
                          [this](Control& c) { log.push_back("button " + std::to_string(c.tag())); });
        outside = std::make_shared<TapGestureRecognizer>([this](TapGestureRecognizer&) { log.push_back("outside"); });
        backdrop->addGestureRecognizer(outside);
        onPanel = std::make_shared<TapGestureRecognizer>([this](TapGestureRecognizer&) { log.push_back("panel"); });
    }

    std::shared_ptr<View> backdrop, panel;
    std::shared_ptr<Button> button;
    std::shared_ptr<TapGestureRecognizer> outside, onPanel;
    std::vector<std::string> log;
};

TEST_F(Events, ControlKeepsItsTapFromAncestorsRecognisers) {
    panel->addGestureRecognizer(onPanel);
    ASSERT_TRUE(user->tap(*button));
    user->tap(Point{500, 450});  // empty panel
    user->tap(Point{50, 50});    // backdrop
    EXPECT_EQ(log, (std::vector<std::string>{"button 7", "panel", "outside"}));
}

TEST_F(Events, OnlyTheDeepestRecogniserFiresAndDetachedOnesStayQuiet) {
    panel->addGestureRecognizer(onPanel);
    auto onBackdropToo = std::make_shared<TapGestureRecognizer>([this](TapGestureRecognizer&) { log.push_back("root"); });
    root->view().addGestureRecognizer(onBackdropToo);
    user->tap(Point{500, 450});
    panel->removeGestureRecognizer(onPanel.get());
    user->tap(Point{500, 450});  // the panel has none now: the next one up, the root's
    EXPECT_EQ(log, (std::vector<std::string>{"panel", "root"}));
    EXPECT_EQ(onPanel->view(), nullptr);
}

TEST_F(Events, DelegateCanKeepATapFromARecogniser) {
    struct OnlyLeftHalf : GestureRecognizerDelegate {
        bool gestureRecognizerShouldReceiveTouch(TapGestureRecognizer&, View&, Point p) override {
            return p.x < 512;
        }
    } delegate;
    outside->setDelegate(&delegate);
    user->tap(Point{50, 50});
    user->tap(Point{900, 50});
    EXPECT_EQ(log, (std::vector<std::string>{"outside"}));
    EXPECT_EQ(outside->location(nullptr), (Point{50, 50}));
}

TEST_F(Events, TouchUpOutsideOrDragIsNoTap) {
    user->drag(Point{240, 240}, Point{100, 100});  // leaves the button before lifting
    user->drag(Point{50, 50}, Point{90, 50});      // a drag over the backdrop
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(button->isHighlighted());
}

TEST_F(Events, DisabledControlLetsTheTapThroughAndSwitchFlips) {
    auto sw = std::make_shared<Switch>(Rect(20, 100, 0, 0));
    panel->addSubview(sw);
    int changes = 0;
    sw->addTarget(ControlEvent::valueChanged, [&](Control&) { ++changes; });
    EXPECT_EQ(sw->frame().size, Switch::kSize);
    ASSERT_TRUE(user->tap(*sw));
    EXPECT_TRUE(sw->isOn());
    sw->setOn(false);  // set in code: no event
    EXPECT_EQ(changes, 1);

    panel->addGestureRecognizer(onPanel);
    button->setEnabled(false);
    user->tap(*button);
    EXPECT_EQ(log, (std::vector<std::string>{"panel"}));
}

TEST_F(Events, ActionMayRemoveItsOwnControl) {
    button->addTarget(ControlEvent::touchUpInside, [this](Control& c) {
        c.removeFromSuperview();
        button.reset();
    });
    user->tap(Point{250, 250});
    EXPECT_EQ(log, (std::vector<std::string>{"button 7"}));
    EXPECT_TRUE(panel->subviews().empty());
}

}  // namespace
}  // namespace ui
