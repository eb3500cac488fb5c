// The view tree: geometry, ordering, ownership and hit testing.
#include <gtest/gtest.h>

#include <limits>

#include "ToolkitFixture.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

namespace ui {
namespace {

using testing::ToolkitTest;

TEST(ViewGeometry, FrameFollowsCenterBoundsAndScale) {
    View v(Rect(10, 20, 100, 50));
    EXPECT_EQ(v.center(), (Point{60, 45}));
    EXPECT_EQ(v.bounds(), Rect(0, 0, 100, 50));
    v.setTransformScale(2);
    EXPECT_EQ(v.frame(), Rect(-40, -5, 200, 100));  // scaled about the centre
    EXPECT_EQ(v.bounds().size, (Size{100, 50}));
    v.setTransformScale(1);
    v.setCenter(Point{0, 0});
    EXPECT_EQ(v.frame(), Rect(-50, -25, 100, 50));
}

TEST(ViewGeometry, ConvertsThroughOffsetsBoundsOriginAndScale) {
    auto root = std::make_shared<View>(Rect(0, 0, 500, 500));
    auto a = std::make_shared<View>(Rect(100, 50, 200, 200));
    auto b = std::make_shared<View>(Rect(10, 10, 20, 20));
    root->addSubview(a);
    a->addSubview(b);
    EXPECT_EQ(b->convert(Point{0, 0}, nullptr), (Point{110, 60}));
    a->setBounds(Rect(0, 30, 200, 200));  // content scrolled up by 30
    EXPECT_EQ(b->convert(Point{0, 0}, nullptr), (Point{110, 30}));
    EXPECT_EQ(b->convertFrom(Point{110, 30}, nullptr), (Point{0, 0}));
    a->setBounds(Rect(0, 0, 200, 200));
    a->setTransformScale(0.5);  // a now covers 150..250 x 100..200
    EXPECT_EQ(b->convert(Point{0, 0}, nullptr), (Point{155, 105}));
    EXPECT_EQ(b->convert(Point{4, 4}, root.get()), (Point{157, 107}));
}

TEST(ViewGeometry, NonFiniteValuesDoNotSpread) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    View v(Rect(nan, 10, inf, 20));
    EXPECT_EQ(v.frame(), Rect(0, 10, 0, 20));
    v.setAlpha(nan);
    v.setTransformScale(nan);
    EXPECT_EQ(v.alpha(), 1);
    EXPECT_EQ(v.transformScale(), 1);
    v.setCenter(Point{nan, 5});
    EXPECT_EQ(v.center(), (Point{0, 5}));
}

TEST(ViewTree, InsertAtIndexAndLaterAddedOnTop) {
    View parent;
    auto a = std::make_shared<View>(), b = std::make_shared<View>(), c = std::make_shared<View>();
    parent.addSubview(a);
    parent.addSubview(b);
    parent.insertSubview(c, 1);
    ASSERT_EQ(parent.subviews().size(), 3u);
    EXPECT_EQ(parent.subviews()[0], a);
    EXPECT_EQ(parent.subviews()[1], c);
    EXPECT_EQ(parent.subviews()[2], b);
    parent.insertSubview(a, 1000);  // past the end: on top; moves rather than duplicates
    EXPECT_EQ(parent.subviews().size(), 3u);
    EXPECT_EQ(parent.subviews().back(), a);
}

TEST(ViewTree, RemovedViewStaysAliveForOtherHoldersAndCanMove) {
    View first, second;
    auto v = std::make_shared<Label>();
    std::weak_ptr<Label> weak = v;
    first.addSubview(v);
    second.addSubview(v);  // moving detaches from the old parent
    EXPECT_TRUE(first.subviews().empty());
    EXPECT_EQ(v->superview(), &second);
    v->removeFromSuperview();
    v->removeFromSuperview();  // a second removal is harmless
    EXPECT_EQ(v->superview(), nullptr);
    EXPECT_FALSE(weak.expired());
    v.reset();
    EXPECT_TRUE(weak.expired());
}

TEST(ViewTree, RefusesCycles) {
    auto a = std::make_shared<View>(), b = std::make_shared<View>();
    a->addSubview(b);
    b->addSubview(a);
    a->addSubview(a);
    EXPECT_EQ(a->superview(), nullptr);
    EXPECT_EQ(b->subviews().size(), 0u);
}

TEST(ViewTree, FlexibleSubviewsFollowTheParentsSize) {
    View parent(Rect(0, 0, 100, 100));
    auto flex = std::make_shared<View>(Rect(10, 10, 80, 80));
    flex->setAutoresizingMask(autoresizingFlexibleWidth | autoresizingFlexibleHeight);
    auto fixed = std::make_shared<View>(Rect(0, 0, 10, 10));
    parent.addSubview(flex);
    parent.addSubview(fixed);
    parent.setFrame(Rect(0, 0, 300, 200));
    EXPECT_EQ(flex->frame(), Rect(10, 10, 280, 180));
    EXPECT_EQ(fixed->frame(), Rect(0, 0, 10, 10));
}

class HitTest : public ToolkitTest {};

TEST_F(HitTest, FindsTheDeepestVisibleInteractiveView) {
    auto panel = add<View>(Rect(100, 100, 400, 300));
    auto lower = std::make_shared<Button>(Rect(10, 10, 100, 40));
    auto upper = std::make_shared<Button>(Rect(50, 10, 100, 40));  // overlaps lower, added later
    auto hidden = std::make_shared<Button>(Rect(10, 100, 100, 40));
    hidden->setHidden(true);
    auto transparent = std::make_shared<Button>(Rect(10, 150, 100, 40));
    transparent->setAlpha(0);
    auto label = std::make_shared<Label>(Rect(10, 200, 100, 40));  // labels pass taps through
    auto inert = std::make_shared<View>(Rect(200, 10, 100, 40));
    inert->setUserInteractionEnabled(false);
    auto inertChild = std::make_shared<Button>(Rect(0, 0, 50, 40));
    inert->addSubview(inertChild);
    auto overhang = std::make_shared<Button>(Rect(350, 250, 100, 100));  // sticks out of the panel
    for (auto v : std::initializer_list<std::shared_ptr<View>>{lower, upper, hidden, transparent, label, inert,
                                                               overhang})
        panel->addSubview(v);

    struct Case {
        Point p;
        View* expected;
    };
    const Case cases[] = {
        {{115, 115}, lower.get()},
        {{160, 115}, upper.get()},
        {{115, 215}, panel.get()},
        {{115, 265}, panel.get()},
        {{115, 315}, panel.get()},
        {{310, 115}, panel.get()},
        {{460, 360}, overhang.get()},
        {{460, 420}, &root->view()},  // the overhanging part outside the panel is not hit
        {{50, 50}, &root->view()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(window->hitTest(c.p), c.expected) << c.p.x << "," << c.p.y;
    }
}

TEST_F(HitTest, HonoursScaleOfAnAncestor) {
    auto box = add<View>(Rect(0, 0, 200, 200));
    auto button = std::make_shared<Button>(Rect(0, 0, 100, 100));
    box->addSubview(button);
    box->setTransformScale(0.5);  // box now covers 50..150
    EXPECT_EQ(window->hitTest(Point{60, 60}), button.get());
    EXPECT_EQ(window->hitTest(Point{40, 40}), &root->view());
    EXPECT_EQ(window->hitTest(Point{140, 140}), box.get());
}

}  // namespace
}  // namespace ui
