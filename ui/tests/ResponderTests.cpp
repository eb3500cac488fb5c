// First responder, editing events, the keyboard and its notifications, typing.
#include <gtest/gtest.h>

#include <any>
#include <string>
#include <vector>

#include "ToolkitFixture.h"
#include "ui/NotificationCenter.h"
#include "ui/TextField.h"
#include "ui/TextView.h"

namespace ui {
namespace {

class Editing : public testing::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        keyboardObserver = NotificationCenter::defaultCenter().addObserver(
            Keyboard::kWillChangeFrame, [this](const Notification& n) {
                const Rect end = std::any_cast<Rect>(n.userInfo.at(Keyboard::kFrameEndKey));
                log.push_back("keyboard " + std::to_string(static_cast<int>(end.y())));
                duration = std::any_cast<double>(n.userInfo.at(Keyboard::kDurationKey));
            });
        first = field("first", Rect(100, 100, 300, 30));
        second = field("second", Rect(100, 600, 300, 30));
    }

    std::shared_ptr<TextField> field(const std::string& name, Rect frame) {
        auto f = add<TextField>(frame);
        f->addTarget(ControlEvent::editingDidBegin, [this, name](Control&) { log.push_back("begin " + name); });
        f->addTarget(ControlEvent::editingDidEnd, [this, name](Control&) { log.push_back("end " + name); });
        f->addTarget(ControlEvent::editingChanged, [this, name](Control&) { log.push_back("changed " + name); });
        return f;
    }

    NotificationCenter::Observer keyboardObserver;
    std::shared_ptr<TextField> first, second;
    std::vector<std::string> log;
    double duration = -1;
};

// The iPad keyboard is 398 high on a 768-high screen: shown at y 370, hidden at 768.
TEST_F(Editing, TapMovingAndResigningFocus) {
    ASSERT_TRUE(user->tap(*first));
    EXPECT_TRUE(first->isEditing());
    EXPECT_TRUE(Keyboard::shared().isVisible());
    EXPECT_EQ(Keyboard::shared().frame(), Rect(0, 370, 1024, 398));
    ASSERT_TRUE(user->tap(*second));
    EXPECT_TRUE(second->resignFirstResponder());
    EXPECT_FALSE(second->resignFirstResponder());  // not first responder any more
    EXPECT_EQ(log, (std::vector<std::string>{"begin first", "keyboard 370", "end first", "begin second",
                                             "keyboard 370", "end second", "keyboard 768"}));
    EXPECT_EQ(duration, Keyboard::kDuration);
    EXPECT_FALSE(Keyboard::shared().frame().has_value());
    EXPECT_EQ(Responder::current(), nullptr);
}

TEST_F(Editing, TypingDeletingAndReturn) {
    struct Returns : TextFieldDelegate {
        int returns = 0;
        bool textFieldShouldReturn(TextField&) override { return ++returns, true; }
    } delegate;
    first->setDelegate(&delegate);
    EXPECT_FALSE(user->type("x"));  // nothing is being edited
    user->tap(*first);
    log.clear();
    user->type("Ze\u0301\n");  // the line break is no part of a one-line text
    EXPECT_EQ(first->text(), "Ze\u0301");
    Keyboard::shared().deleteBackward();  // e + combining accent go as one character
    EXPECT_EQ(first->text(), "Z");
    user->pressReturn();
    EXPECT_EQ(delegate.returns, 1);
    EXPECT_TRUE(first->isEditing());  // the return key itself ends nothing
    EXPECT_EQ(log, (std::vector<std::string>{"changed first", "changed first"}));
    user->replaceText("new");
    EXPECT_EQ(first->text(), "new");

    // With an action for editing-did-end-on-exit, an accepted return ends the editing.
    first->addTarget(ControlEvent::editingDidEndOnExit, [this](Control&) { log.push_back("exit"); });
    log.clear();
    user->pressReturn();
    EXPECT_EQ(log, (std::vector<std::string>{"exit", "end first", "keyboard 768"}));
    EXPECT_EQ(delegate.returns, 2);
}

TEST_F(Editing, SecureEntryMasksOnlyTheDrawnText) {
    first->setSecureTextEntry(true);
    first->setText("p\u00e4ss\U0001F600");
    EXPECT_EQ(first->text(), "p\u00e4ss\U0001F600");
    EXPECT_EQ(first->displayText(), "\u2022\u2022\u2022\u2022\u2022");
}

TEST_F(Editing, OffScreenOrDisabledInputsCannotTakeFocus) {
    auto loose = std::make_shared<TextField>(Rect(0, 0, 10, 10));
    EXPECT_FALSE(loose->becomeFirstResponder());
    first->setEnabled(false);
    EXPECT_FALSE(first->becomeFirstResponder());
    EXPECT_TRUE(log.empty());
}

TEST_F(Editing, RemovingTheEditedInputEndsEditingAndHidesKeyboard) {
    first->becomeFirstResponder();
    log.clear();
    first->removeFromSuperview();
    EXPECT_EQ(log, (std::vector<std::string>{"end first", "keyboard 768"}));
    EXPECT_EQ(Responder::current(), nullptr);
}

// A delegate that moves the focus on from inside should-end-editing, as a form moving to its
// next input does: the nested change must neither recurse nor hide the keyboard.
TEST_F(Editing, TextViewDelegateMovingFocusWhileEnding) {
    struct Mover : TextViewDelegate {
        TextField* next = nullptr;
        int asked = 0;
        std::vector<std::string>* log = nullptr;
        bool textViewShouldBeginEditing(TextView&) override { return log->push_back("should begin"), true; }
        bool textViewShouldEndEditing(TextView&) override {
            ++asked;
            log->push_back("should end");
            next->becomeFirstResponder();
            return true;
        }
        void textViewDidEndEditing(TextView&) override { log->push_back("did end"); }
    } mover;
    auto area = add<TextView>(Rect(100, 200, 300, 100));
    mover.next = second.get();
    mover.log = &log;
    area->setDelegate(&mover);
    ASSERT_TRUE(user->tap(*area));
    user->pressReturn();
    user->type("b");
    EXPECT_EQ(area->text(), "\nb");
    EXPECT_TRUE(area->resignFirstResponder());
    EXPECT_EQ(mover.asked, 1);
    EXPECT_TRUE(second->isEditing());
    EXPECT_EQ(log, (std::vector<std::string>{"should begin", "keyboard 370", "should end", "did end",
                                             "begin second", "keyboard 370"}));
}

TEST_F(Editing, DelegatesCanRefuse) {
    struct No : TextViewDelegate {
        bool textViewShouldBeginEditing(TextView&) override { return false; }
    } no;
    auto area = add<TextView>(Rect(100, 200, 300, 100));
    area->setDelegate(&no);
    user->tap(*area);
    EXPECT_FALSE(area->isEditing());

    struct Stay : TextFieldDelegate {
        bool textFieldShouldEndEditing(TextField&) override { return false; }
    } stay;
    first->setDelegate(&stay);
    first->becomeFirstResponder();
    EXPECT_FALSE(second->becomeFirstResponder());
    EXPECT_TRUE(first->isEditing());
    first->setDelegate(nullptr);
}

}  // namespace
}  // namespace ui
