// View controllers: loading, presentation, dismissal, alerts; animations; URL opening.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ToolkitFixture.h"
#include "ui/AlertController.h"
#include "ui/Animation.h"
#include "ui/Button.h"
#include "ui/TextField.h"

namespace ui {
namespace {

struct Recording : ViewController {
    std::vector<std::string>* log;
    explicit Recording(std::vector<std::string>* l) : log(l) {}
    void viewDidLoad() override { log->push_back("load"); }
    void viewDidAppear(bool) override { log->push_back("appear"); }
    void viewDidDisappear(bool) override { log->push_back("disappear"); }
};

class Controllers : public testing::ToolkitTest {
protected:
    std::vector<std::string> log;
    std::function<void()> mark(std::string s) {
        return [this, s] { log.push_back(s); };
    }
};

TEST_F(Controllers, PresentOverCurrentContextAndDismissWithCompletions) {
    auto dialog = std::make_shared<Recording>(&log);
    dialog->setModalPresentationStyle(ModalPresentationStyle::overCurrentContext);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(root->present(dialog, false, mark("presented")));
        EXPECT_EQ(dialog->window(), window.get());
        EXPECT_EQ(window->topViewController(), dialog.get());
        EXPECT_EQ(window->subviews().back().get(), &dialog->view());  // above the presenter
        EXPECT_EQ(dialog->view().frame(), window->bounds());
        idle();
        dialog->dismiss(false, mark("dismissed"));  // a presented controller dismisses itself
        EXPECT_EQ(dialog->window(), nullptr);
        EXPECT_EQ(root->presentedViewController(), nullptr);
        idle();
    }
    EXPECT_EQ(log, (std::vector<std::string>{"load", "appear", "presented", "disappear", "dismissed", "appear",
                                             "presented", "disappear", "dismissed"}));
}

TEST_F(Controllers, AnimatedTransitionsCompleteAfterTheirDuration) {
    auto dialog = std::make_shared<Recording>(&log);
    root->present(dialog, true, mark("presented"));
    advance(ViewController::kTransitionDuration / 2);
    EXPECT_EQ(log, (std::vector<std::string>{"load"}));
    advance(ViewController::kTransitionDuration);
    EXPECT_EQ(log.back(), "presented");
}

TEST_F(Controllers, RefusedPresentationsAndEmptyDismissal) {
    auto a = std::make_shared<Recording>(&log), b = std::make_shared<Recording>(&log);
    auto offscreen = std::make_shared<ViewController>();
    EXPECT_FALSE(offscreen->present(a, false, mark("never")));
    ASSERT_TRUE(root->present(a, false));
    EXPECT_FALSE(root->present(b, false, mark("never")));  // already presenting
    EXPECT_FALSE(a->present(a, false, mark("never")));
    auto c = std::make_shared<Recording>(&log);
    EXPECT_TRUE(a->present(b, false));
    EXPECT_FALSE(c->present(b, false));  // b is on screen already
    root->dismiss(false, mark("all gone"));  // dismisses a and b above it
    idle();
    EXPECT_EQ(root->presentedViewController(), nullptr);
    EXPECT_EQ(a->presentedViewController(), nullptr);
    offscreen->dismiss(false, mark("nothing to dismiss"));
    idle();
    EXPECT_EQ(std::count(log.begin(), log.end(), "never"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "disappear"), 2);
    EXPECT_EQ(log.back(), "nothing to dismiss");
}

TEST_F(Controllers, DismissingEndsEditingInsideTheDismissedView) {
    auto dialog = std::make_shared<ViewController>();
    root->present(dialog, false);
    auto field = std::make_shared<TextField>(Rect(10, 10, 100, 30));
    dialog->view().addSubview(field);
    int ended = 0;
    field->addTarget(ControlEvent::editingDidEnd, [&](Control&) { ++ended; });
    ASSERT_TRUE(field->becomeFirstResponder());
    dialog->dismiss(false);
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(Keyboard::shared().isVisible());
}

TEST_F(Controllers, AlertShowsItsTextsAndItsCancelButtonClosesIt) {
    auto dialog = std::make_shared<ViewController>();
    root->present(dialog, false);
    auto alert = std::make_shared<AlertController>("Validation failed", "Name required");
    alert->addAction(AlertAction{"OK", AlertActionStyle::cancel, mark("ok")});
    ASSERT_TRUE(dialog->present(alert, true));
    advance(1);
    Button* ok = alert->buttonForAction(0);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->currentTitle(), "OK");
    EXPECT_EQ(ok->titleFont().name, "Helvetica Bold");  // the cancel action is bold
    ASSERT_TRUE(user->tap(*ok));
    EXPECT_EQ(dialog->presentedViewController(), nullptr);
    EXPECT_TRUE(log.empty());  // the handler waits for the dismissal
    advance(1);
    EXPECT_EQ(log, (std::vector<std::string>{"ok"}));
    EXPECT_EQ(window->topViewController(), dialog.get());
}

TEST_F(Controllers, AlertWithAHugeMessageKeepsItsButtonsOnScreen) {
    std::string message;
    for (int i = 0; i < 400; ++i) message += "This field needs a longer answer. ";
    auto alert = std::make_shared<AlertController>("Validation failed", message);
    alert->addAction(AlertAction{"Retry", AlertActionStyle::defaultStyle, mark("retry")});
    alert->addAction(AlertAction{"Cancel", AlertActionStyle::cancel, mark("cancel")});
    ASSERT_TRUE(root->present(alert, false));
    idle();
    Button* cancel = alert->buttonForAction(1);
    Button* retry = alert->buttonForAction(0);
    ASSERT_TRUE(cancel && retry);
    const Rect c = cancel->convert(cancel->bounds(), nullptr);
    EXPECT_TRUE(window->bounds().contains(Point{c.maxX() - 1, c.maxY() - 1}));
    EXPECT_LT(c.x(), retry->convert(retry->bounds(), nullptr).x());  // two buttons: cancel on the left
    ASSERT_TRUE(user->tap(*cancel));
    idle();
    advance(1);
    EXPECT_EQ(log, (std::vector<std::string>{"cancel"}));
}

TEST_F(Controllers, AnimationAppliesEndStateAtOnceAndCompletesOnTime) {
    auto v = add<View>(Rect(0, 0, 10, 10));
    Animation::animate(0.2, 0.1, 7u << 16, [&] { v->setFrame(Rect(0, 100, 10, 10)); },
                       [&](bool finished) {
                           log.push_back(finished ? "first done" : "first cut");
                           Animation::animate(0.5, [&] { v->setAlpha(0); }, [&](bool) { log.push_back("second done"); });
                       });
    EXPECT_EQ(v->frame(), Rect(0, 100, 10, 10));
    EXPECT_EQ(Animation::runningCount(), 1);
    advance(0.29);
    EXPECT_TRUE(log.empty());
    advance(0.01);
    EXPECT_EQ(log, (std::vector<std::string>{"first done"}));
    EXPECT_EQ(v->alpha(), 0);
    advance(0.5);
    EXPECT_EQ(log.back(), "second done");
    EXPECT_EQ(Animation::runningCount(), 0);
    Animation::animate(0, [] {}, [&](bool) { log.push_back("zero"); });
    EXPECT_EQ(log.back(), "second done");  // even a zero-length completion waits for the loop
    idle();
    EXPECT_EQ(log.back(), "zero");
}

TEST(ApplicationTest, RecordsOpenedURLsAndRefusesOnesWithoutScheme) {
    auto& app = Application::shared();
    app.clearOpenedURLs();
    EXPECT_TRUE(app.openURL("https://example.com/a?b=c;rm -rf"));
    EXPECT_FALSE(app.openURL("no scheme here"));
    EXPECT_FALSE(app.openURL(""));
    EXPECT_EQ(app.openedURLs(), (std::vector<std::string>{"https://example.com/a?b=c;rm -rf"}));
}

}  // namespace
}  // namespace ui
