// Whole dialogs from the call to the answer: a session runs Brelka_InputDialog's bridge on a
// second thread while this thread is the main thread and pumps the main loop on the virtual
// clock; the user works the real controller through real taps and typing.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "StoreTestSupport.h"
#include "components/CustomCheckbox.h"
#include "components/CustomList.h"
#include "components/CustomMenu.h"
#include "components/CustomMenuHelper.h"
#include "components/CustomRadioButton.h"
#include "components/CustomTextArea.h"
#include "components/CustomTextField.h"
#include "dialog/Constants.h"
#include "dialog/InputDialog.h"
#include "TestEngine.h"
#include "host/CalculationBridge.h"
#include "host/PluginBridge.h"
#include "parser/InputDialogParamParser.h"
#include "parser/InputDialogSession.h"
#include "parser/SupportedValidations.h"
#include "store/Config.h"
#include "store/Plugin.h"
#include "ui/AlertController.h"
#include "ui/Application.h"
#include "ui/EventSynthesizer.h"
#include "ui/Keyboard.h"
#include "ui/NotificationCenter.h"
#include "ui/Responder.h"
#include "ui/RunLoop.h"
#include "ui/Screen.h"
#include "ui/TableView.h"
#include "ui/TableViewCell.h"
#include "ui/ViewController.h"
#include "ui/Window.h"

namespace brelka {
namespace {

using testing::StoreTest;

// The parameter dictionary of a call with these arguments.
Dictionary call(std::vector<Value> arguments) {
    Dictionary parameters;
    for (std::size_t i = 0; i < arguments.size(); ++i)
        parameters.emplace("param_" + std::to_string(i), std::move(arguments[i]));
    return parameters;
}

std::string stored(std::string_view key) {
    const std::optional<Value> value = Plugin::value(key);
    return value ? valueAsText(*value) : "<none>";
}

void setText(std::string_view key, std::string text) { Plugin::setValue(key, Value(std::move(text))); }

class DialogSessionTest : public StoreTest {
public:
    void SetUp() override {
        StoreTest::SetUp();
        ui::RunLoop::main().clear();
        ui::RunLoop::main().useVirtualClock();
        InputDialog::_radio_buttons().clear();
        window = std::make_shared<ui::Window>(ui::Screen::main().bounds());
        root = std::make_shared<ui::ViewController>();
        window->setRootViewController(root);
        window->makeKeyAndVisible();
        user = std::make_unique<ui::EventSynthesizer>(*window);
    }

    void TearDown() override {
        // A test may leave its dialog open: close it so the calling thread ends.
        if (worker.joinable()) {
            if (!finished && dialog().isShown()) dialog().Action(Dictionary{});
            pumpUntil([&] { return finished.load(); }, 5);
            worker.join();
        }
        if (auto* r = ui::Responder::current()) r->resignFirstResponder();
        if (root->presentedViewController()) root->dismiss(false);
        ui::RunLoop::main().runUntilIdle();
        ui::RunLoop::main().clear();
        InputDialog::_radio_buttons().clear();
        ui::Application::shared().setKeyWindow(nullptr);
        StoreTest::TearDown();
    }

    static InputDialog& dialog() { return *InputDialogParamParser::_custom_view_controller(); }

    // Starts Brelka_InputDialog's session on a calculation thread.
    void open(Dictionary parameters) {
        finished = false;
        worker = std::thread([this, parameters = std::move(parameters)] {
            result = PluginBridge::openInputDialog(parameters);
            finished = true;
        });
    }

    // Pumps the main loop (without moving the virtual clock) until `done` holds.
    static bool pumpUntil(const std::function<bool()>& done, double realSeconds = 10) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(realSeconds);
        while (true) {
            ui::RunLoop::main().runUntilIdle();
            if (done()) return true;
            if (std::chrono::steady_clock::now() > deadline) return false;
            ui::RunLoop::main().waitForWork(0.002);
        }
    }

    // The same as Brelka_InputDialog runs it, with calculations evaluated in `env`.
    void openServing(Dictionary parameters, const fmx::ExprEnv& env) {
        finished = false;
        worker = std::thread([this, &env, parameters = std::move(parameters)] {
            result = PluginBridge::openInputDialog(parameters, env);
            finished = true;
        });
    }

    // Opens a dialog and waits until the user can work with it.
    void show(Dictionary parameters) {
        open(std::move(parameters));
        ASSERT_TRUE(pumpUntil([] { return dialog().isShown(); })) << "the dialog never appeared";
    }

    // Waits for the session to return and answers its result.
    std::string answer() {
        if (!pumpUntil([&] { return finished.load(); }, 5)) {
            ADD_FAILURE() << "the session never returned";
            return "<no answer>";  // TearDown closes the dialog and joins
        }
        if (worker.joinable()) worker.join();
        return result;
    }

    static void advance(double seconds) { ui::RunLoop::main().advance(seconds); }

    template <class T>
    static T* section(std::size_t index) {
        return dynamic_cast<T*>(dialog()._view_components().at(index).get());
    }

    static ui::Button& button(const std::string& title) {
        for (const auto& b : dialog()._buttons())
            if (b->title() == title) return *b;
        throw std::runtime_error("no button " + title);
    }

    // A point on the backdrop, outside the panel.
    void tapOutside() {
        const ui::Rect panel = dialog()._view()->frame();
        user->tap(ui::Point{panel.x() / 2, panel.y() / 2});
    }

    std::shared_ptr<ui::Window> window;
    std::shared_ptr<ui::ViewController> root;
    std::unique_ptr<ui::EventSynthesizer> user;
    std::thread worker;
    std::atomic<bool> finished{false};
    std::string result;
};

// --- session results

TEST_F(DialogSessionTest, InvalidDescriptionAnswersParamErrWithoutShowingAnything) {
    open(call({Value(5.0)}));
    EXPECT_EQ(answer(), "-50");
    EXPECT_EQ(stored(CFG::last_error), "-50");
    EXPECT_EQ(stored(CFG::last_error_message), "paramErr");
    EXPECT_EQ(root->presentedViewController(), nullptr);
}

TEST_F(DialogSessionTest, PromptOnlyClosesItselfAfterFiveSecondsWithTheCancelEnding) {
    show(call({Value(std::string("Working"))}));
    advance(4.9);
    EXPECT_TRUE(dialog().isShown());
    advance(0.2);
    EXPECT_EQ(answer(), "0");
    EXPECT_EQ(stored(CFG::dialog_button), "0");
    EXPECT_EQ(root->presentedViewController(), nullptr);
}

TEST_F(DialogSessionTest, DialogTooLargeForTheScreenEndsAtOnceWithMinus5611) {
    setText(CFG::dialog_width, "100");  // narrower than the message needs
    open(call({Value(std::string("A message that needs more than a hundred points")), Value(std::string(""))}));
    EXPECT_EQ(answer(), "-5611");
    EXPECT_EQ(stored(CFG::last_error), "-5611");
    EXPECT_EQ(stored(CFG::last_error_message), kWindowTooLargeMessage);
    EXPECT_EQ(root->presentedViewController(), nullptr);
    EXPECT_EQ(stored(CFG::dialog_width), "<none>") << "the per-dialog settings return to their defaults";
}

TEST_F(DialogSessionTest, CallOnTheMainThreadIsRefusedInsteadOfDeadlocking) {
    EXPECT_EQ(PluginBridge::openInputDialog(call({Value(std::string("Hi"))})), "-10");
    EXPECT_EQ(stored(CFG::last_error), "-10");
    EXPECT_EQ(stored(CFG::last_error_message), kCalledOnMainThreadMessage);
    EXPECT_TRUE(ui::RunLoop::main().isIdle()) << "nothing was scheduled";
}

TEST_F(DialogSessionTest, NoWindowToPresentOnEndsTheSession) {
    ui::Application::shared().setKeyWindow(nullptr);
    open(call({Value(std::string("Hi")), Value(std::string("OK"))}));
    EXPECT_EQ(answer(), "-11");
    EXPECT_EQ(stored(CFG::last_error_message), kNoWindowMessage);
}

TEST_F(DialogSessionTest, OverlappingCallIsRefusedAndLeavesTheOpenDialogAlone) {
    show(call({Value(std::string("First")), Value(std::string("OK")), Value(std::string("text\rName")),
               Value(std::string("kept"))}));
    std::string second;
    std::thread other([&] { second = PluginBridge::openInputDialog(call({Value(std::string("Second"))})); });
    other.join();
    EXPECT_EQ(second, "-12");
    EXPECT_EQ(stored(CFG::last_error_message), kDialogAlreadyOpenMessage);
    ui::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(dialog().isShown());
    ASSERT_EQ(dialog()._view_components().size(), 2u);
    EXPECT_EQ(section<CustomTextField>(1)->_textfield->text(), "kept");

    ASSERT_TRUE(user->tap(button("OK")));
    EXPECT_EQ(answer(), "0");
    EXPECT_EQ(stored("value_1"), "kept");
}

// --- ways of closing and what they write

TEST_F(DialogSessionTest, EveryWayOfClosingWritesItsButton) {
    struct Case {
        const char* name;
        std::optional<std::string> cancelButton;
        std::function<void(DialogSessionTest&)> close;
        std::string button;
    };
    const std::vector<Case> cases = {
        {"OK", std::nullopt, [](DialogSessionTest& t) { t.user->tap(button("OK")); }, "1"},
        {"Cancel skips validation", std::nullopt, [](DialogSessionTest& t) { t.user->tap(button("Cancel")); }, "2"},
        {"tap outside", std::nullopt, [](DialogSessionTest& t) { t.tapOutside(); }, "0"},
        {"tap outside, cancel-button set", "2", [](DialogSessionTest& t) { t.tapOutside(); }, "2"},
        {"time-out, cancel-button set", "7", [](DialogSessionTest&) { advance(3); }, "7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.cancelButton) setText(CFG::cancel_button, *c.cancelButton);
        setText(CFG::dialog_timeout, "3");
        // A field whose pattern fails: only the default button is held back by it.
        show(call({Value(std::string("Close me")), Value(std::string("OK\rCancel")),
                   Value(std::string("text\rCode\rvalidation=regexp\r^[0-9]+$")), Value(std::string(""))}));
        if (std::string(c.name) == "OK") {
            ASSERT_TRUE(user->tap(button("OK")));
            ui::RunLoop::main().runUntilIdle();
            EXPECT_TRUE(dialog().isShown()) << "an empty code fails its pattern";
            section<CustomTextField>(1)->_textfield->setText("42");
        }
        c.close(*this);
        EXPECT_EQ(answer(), "0");
        EXPECT_EQ(stored(CFG::dialog_button), c.button);
        // The per-dialog settings are back to their defaults; the snapshot keeps them.
        EXPECT_EQ(stored(CFG::cancel_button), "<none>");
        EXPECT_EQ(stored(CFG::default_button), "1");
        const std::vector<Dictionary> memory = Plugin::get_set_memory();
        ASSERT_FALSE(memory.empty());
        const Dictionary& snapshot = memory.back();
        EXPECT_EQ(snapshot.count(std::string(CFG::cancel_button)), c.cancelButton ? 1u : 0u);
        EXPECT_EQ(snapshot.count(std::string(CFG::dialog_timeout)), 1u);
    }
}

TEST_F(DialogSessionTest, TimeOutsReplaceTheFiveSecondCloseAndIgnoreTextThatIsNoNumber) {
    struct Case {
        Value timeout;
        double closesAfter;
    };
    for (const Case& c : {Case{Value(2.0), 2}, Case{Value(std::string("1.5")), 1.5}, Case{Value(0.0), 0},
                          Case{Value(std::string("abc")), 5}}) {
        SCOPED_TRACE(valueAsText(c.timeout));
        Plugin::setValue(CFG::dialog_timeout, c.timeout);
        if (c.closesAfter == 0) {
            // Closes in the same turn of the main loop that shows it.
            open(call({Value(std::string("Waiting"))}));
            EXPECT_EQ(answer(), "0");
            continue;
        }
        show(call({Value(std::string("Waiting"))}));
        advance(c.closesAfter - 0.01);
        EXPECT_TRUE(dialog().isShown());
        advance(0.02);
        EXPECT_EQ(answer(), "0");
    }
}

TEST_F(DialogSessionTest, PressWhileEditingOnlyEndsTheEditing) {
    show(call({Value(std::string("Name?")), Value(std::string("OK\rCancel")), Value(std::string("text\rName")),
               Value(std::string(""))}));
    auto* field = section<CustomTextField>(1);
    ASSERT_TRUE(user->tap(*field->_textfield));
    ASSERT_TRUE(user->type("Ann"));
    ASSERT_TRUE(user->tap(button("Cancel")));
    EXPECT_TRUE(dialog().isShown());
    EXPECT_FALSE(field->_textfield->isEditing());
    ASSERT_TRUE(user->tap(button("Cancel")));
    EXPECT_EQ(answer(), "0");
    EXPECT_EQ(stored(CFG::dialog_button), "2");
    EXPECT_EQ(stored("value_1"), "Ann");
}

TEST_F(DialogSessionTest, ADialogClosedWhileEditingLeavesNothingBehindForTheNext) {
    setText(CFG::dialog_timeout, "1");
    show(call({Value(std::string("First")), Value(std::string("OK")), Value(std::string("text\rA")),
               Value(std::string(""))}));
    ASSERT_TRUE(user->tap(*section<CustomTextField>(1)->_textfield));
    ASSERT_TRUE(user->type("half"));
    advance(1.1);
    EXPECT_EQ(answer(), "0");
    EXPECT_EQ(stored("value_1"), "half");
    EXPECT_EQ(dialog()._currently_active_textfield(), nullptr);
    EXPECT_EQ(ui::Responder::current(), nullptr);

    show(call({Value(std::string("Second")), Value(std::string("Yes\rNo"))}));
    ASSERT_TRUE(user->tap(button("No")));
    EXPECT_EQ(answer(), "0") << "the first press closes the next dialog";
    EXPECT_EQ(stored(CFG::dialog_button), "2");
}

// --- results

TEST_F(DialogSessionTest, ResultsListEveryCountedItemAndWherePanelStood) {
    show(call({Value(std::string("Profile")), Value(std::string("OK")), Value(std::string("text\rName")),
               Value(std::string("")), Value(std::string("caption\rNote")), Value(std::string("read me")),
               Value(std::string("checkbox\rAgree")), Value(false), Value(std::string("textArea\rBio")),
               Value(std::string("line one"))}));
    ASSERT_TRUE(user->tap(*section<CustomTextField>(1)->_textfield));
    ASSERT_TRUE(user->type("abc"));
    ASSERT_TRUE(user->pressReturn());  // a caption follows: the keyboard only goes down
    EXPECT_EQ(ui::Responder::current(), nullptr);
    ASSERT_TRUE(user->tap(*section<CustomCheckbox>(3)->_checkbox));
    const ui::Rect panel = dialog()._view()->frame();
    ASSERT_TRUE(user->tap(button("OK")));
    EXPECT_EQ(answer(), "0");
    EXPECT_EQ(stored("value_1"), "abc");
    EXPECT_EQ(stored("value_2"), "");
    EXPECT_EQ(stored("value_3"), "1");
    EXPECT_EQ(stored("value_4"), "line one");
    EXPECT_EQ(stored(CFG::dialog_all_values), "abc\r\r1\rline one");
    EXPECT_EQ(stored(CFG::dialog_all_text), "abc\r\r1\rline one");
    EXPECT_EQ(stored(CFG::last_dialog_position), numberWithFraction(panel.x()) + "\r" + numberWithFraction(panel.y()));

    // A smaller dialog leaves the entries beyond its own count alone.
    show(call({Value(std::string("Again")), Value(std::string("OK")), Value(std::string("text\rName")),
               Value(std::string("zed"))}));
    ASSERT_TRUE(user->tap(button("OK")));
    EXPECT_EQ(answer(), "0");
    EXPECT_EQ(stored(CFG::dialog_all_values), "zed");
    EXPECT_EQ(stored("value_1"), "zed");
    EXPECT_EQ(stored("value_3"), "1");
}

TEST_F(DialogSessionTest, MenuAndListChosenByTheUser) {
    show(call({Value(std::string("Pick")), Value(std::string("OK")), Value(std::string("menu\rColor")),
               Value(std::string("Red\rGreen\rBlue")), Value(std::string("Red")), Value(std::string("list\rSize")),
               Value(std::string("S\rM\rL")), Value(std::string("S"))}));
    auto* menu = section<CustomMenu>(1);
    ASSERT_TRUE(user->tap(*menu->_button));
    advance(1);
    ASSERT_NE(menu->_menu, nullptr);
    ui::TableView& rows = *menu->_menu->_table_view;
    rows.layoutIfNeeded();
    ASSERT_NE(rows.cellForRow(1), nullptr);
    ASSERT_TRUE(user->tap(*rows.cellForRow(1)));
    advance(1);

    auto* list = section<CustomList>(2);
    list->_list_view->layoutIfNeeded();
    ASSERT_NE(list->_list_view->cellForRow(2), nullptr);
    ASSERT_TRUE(user->tap(*list->_list_view->cellForRow(2)));
    advance(1);

    ASSERT_TRUE(user->tap(button("OK")));
    EXPECT_EQ(answer(), "0");
    EXPECT_EQ(stored(CFG::dialog_all_values), "2\r3");
    EXPECT_EQ(stored(CFG::dialog_all_text), "Green\rL");
}

TEST_F(DialogSessionTest, RadioButtonsFormOneGroupWithTheLastDefaultSelected) {
    show(call({Value(std::string("One of")), Value(std::string("OK")), Value(std::string("radio\rA")), Value(true),
               Value(std::string("radio\rB")), Value(false), Value(std::string("radio\rC")), Value(true)}));
    EXPECT_EQ(section<CustomRadioButton>(3)->getValue(), "1");
    EXPECT_EQ(section<CustomRadioButton>(1)->getValue(), "0");
    ASSERT_TRUE(user->tap(*section<CustomRadioButton>(2)->_radio_button));
    advance(1);
    ASSERT_TRUE(user->tap(button("OK")));
    EXPECT_EQ(answer(), "0");
    EXPECT_EQ(stored(CFG::dialog_all_values), "0\r1\r0");
}

// --- return key, focus and keyboard

TEST_F(DialogSessionTest, ReturnKeyMovesOnAndPressesTheDefaultButtonFromTheLastField) {
    setText(CFG::default_button, "2");
    show(call({Value(std::string("Login")), Value(std::string("Go\rStop")), Value(std::string("text\rUser")),
               Value(std::string("")), Value(std::string("password\rPass")), Value(std::string(""))}));
    auto* userField = section<CustomTextField>(1);
    auto* passField = section<CustomTextField>(2);
    ASSERT_TRUE(user->tap(*userField->_textfield));
    EXPECT_EQ(userField->_textfield->returnKeyType(), ui::ReturnKeyType::next);
    ASSERT_TRUE(user->type("ann"));
    ASSERT_TRUE(user->pressReturn());
    EXPECT_TRUE(passField->_textfield->isEditing());
    EXPECT_EQ(passField->_textfield->returnKeyType(), ui::ReturnKeyType::done);
    ASSERT_TRUE(user->type("pw"));
    ASSERT_TRUE(user->pressReturn());
    EXPECT_EQ(answer(), "0");
    EXPECT_EQ(stored(CFG::dialog_button), "2") << "the made-up button is the default one";
    EXPECT_EQ(stored(CFG::dialog_all_values), "ann\rpw");
}

TEST_F(DialogSessionTest, ReturnKeyBeforeANonTextSectionOnlyHidesTheKeyboard) {
    show(call({Value(std::string("Q")), Value(std::string("OK")), Value(std::string("text\rName")),
               Value(std::string("")), Value(std::string("checkbox\rSure")), Value(true)}));
    auto* field = section<CustomTextField>(1);
    ASSERT_TRUE(user->tap(*field->_textfield));
    ASSERT_TRUE(user->pressReturn());
    EXPECT_EQ(ui::Responder::current(), nullptr);
    EXPECT_TRUE(dialog().isShown());
    ASSERT_TRUE(user->tap(button("OK")));
    EXPECT_EQ(answer(), "0");
    EXPECT_EQ(stored(CFG::dialog_button), "1") << "the press after the return key was not swallowed";
}

TEST_F(DialogSessionTest, LeavingATextAreaMovesOnButATappedInputKeepsTheFocus) {
    show(call({Value(std::string("Notes")), Value(std::string("OK")), Value(std::string("textArea\rBio")),
               Value(std::string("")), Value(std::string("text\rA")), Value(std::string("")),
               Value(std::string("text\rB")), Value(std::string(""))}));
    auto* area = section<CustomTextArea>(1);
    auto* a = section<CustomTextField>(2);
    auto* b = section<CustomTextField>(3);

    // A tap on the panel ends the text area's editing, and the focus moves to the next input.
    ASSERT_TRUE(user->tap(*area->_text_area));
    ASSERT_TRUE(user->pressReturn());  // a line break, not a move
    EXPECT_TRUE(area->_text_area->isEditing());
    user->tap(dialog()._view()->convert(ui::Point{2, area->frame().y() + 2}, nullptr));
    EXPECT_TRUE(a->_textfield->isEditing());
    EXPECT_EQ(dialog()._currently_active_textfield(), a->_textfield);

    // Tapping another field goes there; leaving the last field that way presses no button.
    ASSERT_TRUE(user->tap(*b->_textfield));
    EXPECT_TRUE(b->_textfield->isEditing());
    ASSERT_TRUE(user->tap(*a->_textfield));
    EXPECT_TRUE(dialog().isShown());
    EXPECT_TRUE(a->_textfield->isEditing());
    EXPECT_EQ(dialog()._currently_active_textfield(), a->_textfield);
}

TEST_F(DialogSessionTest, TheLastInputAskingForFocusGetsIt) {
    show(call({Value(std::string("F")), Value(std::string("OK")), Value(std::string("text\rA\rfocus=1")),
               Value(std::string("")), Value(std::string("text\rB")), Value(std::string("")),
               Value(std::string("text\rC\rfocus=1")), Value(std::string(""))}));
    advance(0.2);
    EXPECT_TRUE(section<CustomTextField>(3)->_textfield->isEditing());
    EXPECT_EQ(dialog()._currently_active_textfield(), section<CustomTextField>(3)->_textfield);
}

TEST_F(DialogSessionTest, PanelRisesSoTheEditedSectionEndsFivePointsAboveTheKeyboard) {
    std::vector<Value> arguments = {Value(std::string("Tall")), Value(std::string("OK"))};
    for (int i = 0; i < 12; ++i) arguments.push_back(Value(std::string("separator")));
    arguments.push_back(Value(std::string("text\rBottom")));
    arguments.push_back(Value(std::string("")));
    show(call(arguments));
    InputDialog& d = dialog();
    const double restingY = d._view()->frame().y();
    auto* field = section<CustomTextField>(13);
    ASSERT_TRUE(user->tap(*field->_textfield));
    const double keyboardTop = ui::Keyboard::shared().shownFrame().y();
    const double bottom = d._view()->frame().y() + field->frame().y() + field->frame().height();
    EXPECT_NEAR(bottom, keyboardTop - 5, 1e-9);
    EXPECT_LT(d._view()->frame().y(), restingY);

    // A tap on the panel ends the editing; the panel goes back.
    user->tap(d._view()->convert(ui::Point{2, field->frame().y() + 2}, nullptr));
    EXPECT_EQ(ui::Responder::current(), nullptr);
    EXPECT_DOUBLE_EQ(d._view()->frame().y(), restingY);
    EXPECT_TRUE(d.isShown());
}

// --- the window

TEST_F(DialogSessionTest, ButtonsShareThePanelWidthRightToLeftWithTheDefaultInBold) {
    setText(CFG::dialog_width, "301");
    setText(CFG::dialog_position, "default\r120");
    show(call({Value(std::string("Three")), Value(std::string("A\rB\rC"))}));
    const ui::Rect panel = dialog()._view()->frame();
    EXPECT_DOUBLE_EQ(panel.width(), 301);
    EXPECT_DOUBLE_EQ(panel.y(), 120);
    EXPECT_DOUBLE_EQ(panel.x(), ui::Screen::main().bounds().width() / 2 - 301.0 / 2);
    const std::vector<std::pair<std::string, double>> expected = {{"C", 0}, {"B", 100}, {"A", 200}};
    for (const auto& [title, x] : expected) {
        SCOPED_TRACE(title);
        const ui::Button& b = button(title);
        EXPECT_DOUBLE_EQ(b.frame().x(), x);
        EXPECT_DOUBLE_EQ(b.frame().width(), 100);
        EXPECT_DOUBLE_EQ(b.frame().y(), panel.height() - __button_default_height);
        EXPECT_EQ(b.titleFont().name, title == "A" ? "Helvetica Bold" : ui::Button::defaultTitleFont().name);
    }
    ASSERT_TRUE(user->tap(button("B")));
    EXPECT_EQ(answer(), "0");
    EXPECT_EQ(stored(CFG::dialog_button), "2");
}

TEST_F(DialogSessionTest, PanelSizeAndPlaceFollowTheWidthAndPositionSettings) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string_view, std::string>> settings;
        std::optional<double> width;  // nothing: as the content needs
        std::optional<double> y;      // nothing: centred
        std::optional<double> x;      // nothing: centred
    };
    const std::vector<Case> cases = {
        {"plain", {}, std::nullopt, std::nullopt, std::nullopt},
        {"least width", {{CFG::dialog_min_width, "400"}}, 400, std::nullopt, std::nullopt},
        {"one-line position is ignored", {{CFG::dialog_position, "10"}}, std::nullopt, std::nullopt, std::nullopt},
        {"default x, top at 120", {{CFG::dialog_position, "default\r120"}}, std::nullopt, 120, std::nullopt},
        {"exactly the screen's width", {{CFG::dialog_width, "1024"}, {CFG::dialog_position, "0\r10"}}, 1024, 10, 0},
    };
    const ui::Rect screen = ui::Screen::main().bounds();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [key, text] : c.settings) setText(key, text);
        show(call({Value(std::string("Is this right?")), Value(std::string("OK\rCancel"))}));
        InputDialog& d = dialog();
        const ui::Rect panel = d._view()->frame();
        const double messageHeight = d._view_components().at(0)->frame().height();
        // Margins, the message, the button bar; one section adds no spacing.
        EXPECT_DOUBLE_EQ(panel.height(), 2 * __top_bottom_margin + messageHeight + __button_default_height);
        if (c.width) {
            EXPECT_DOUBLE_EQ(panel.width(), *c.width);
        }
        EXPECT_DOUBLE_EQ(panel.x(), c.x.value_or(screen.width() / 2 - panel.width() / 2));
        EXPECT_DOUBLE_EQ(panel.y(), c.y.value_or(screen.height() / 2 - panel.height() / 2 - __button_default_height));
        ASSERT_TRUE(user->tap(button("OK")));
        EXPECT_EQ(answer(), "0");
        for (const auto& [key, text] : c.settings) Plugin::setValue(key, std::nullopt);
    }

    // One point wider than the screen does not fit.
    setText(CFG::dialog_width, "1025");
    setText(CFG::dialog_position, "0\r10");
    open(call({Value(std::string("Is this right?")), Value(std::string("OK\rCancel"))}));
    EXPECT_EQ(answer(), "-5611");
}

TEST_F(DialogSessionTest, ReduceTransparencyShowsBlackInsteadOfTheBlur) {
    setText(CFG::dialog_blur, "yes");
    ui::Screen::main().setReduceTransparency(true);
    show(call({Value(std::string("Dim")), Value(std::string("OK"))}));
    EXPECT_EQ(dialog().view().backgroundColor(), ui::Color::black());
    EXPECT_EQ(InputDialog::_blur_effect_view()->superview(), nullptr);
    ui::Screen::main().setReduceTransparency(false);
    ASSERT_TRUE(user->tap(button("OK")));
    EXPECT_EQ(answer(), "0");
}

// --- validation

TEST_F(DialogSessionTest, PatternsHoldTheDefaultButtonBackAndABrokenOneEndsWith2400) {
    struct Case {
        const char* pattern;
        const char* text;
        const char* outcome;  // "closed", "open" or "2400"
    };
    const std::vector<Case> cases = {
        {"[0-9]+", "abc1", "closed"},
        {"^[0-9]+$", "12a", "open"},
        {"(x)*", "", "closed"},
        {"[0-9", "1", "2400"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        show(call({Value(std::string("V")), Value(std::string("OK\rCancel")),
                   Value(std::string("text\rCode\rvalidation=regexp\r") + c.pattern), Value(std::string(c.text))}));
        ASSERT_TRUE(user->tap(button("OK")));
        ui::RunLoop::main().runUntilIdle();
        if (std::string(c.outcome) == "open") {
            EXPECT_TRUE(dialog().isShown());
            ASSERT_TRUE(user->tap(button("Cancel")));
            EXPECT_EQ(answer(), "0");
        } else if (std::string(c.outcome) == "closed") {
            EXPECT_EQ(answer(), "0");
            EXPECT_EQ(stored(CFG::dialog_button), "1");
        } else {
            EXPECT_EQ(answer(), "2400");
            EXPECT_EQ(stored(CFG::last_error), "2400");
            EXPECT_EQ(stored(CFG::last_error_message), kUnknownErrorMessage);
            EXPECT_EQ(stored("value_1"), c.text) << "the values are still collected";
        }
    }
}

// --- what a host sees of the sections without the plug-in's headers

TEST_F(DialogSessionTest, SectionsDescribeThemselvesWithTheValuesAClosingWouldCollect) {
    show(call({Value(std::string("Order")), Value(std::string("OK")), Value(std::string("text\rName")),
               Value(std::string("")), Value(std::string("checkbox\rGift")), Value(true),
               Value(std::string("menu\rSize")), Value(std::string("S\rM")), Value(std::string("M"))}));
    ASSERT_TRUE(user->tap(*section<CustomTextField>(1)->_textfield));
    ASSERT_TRUE(user->type("Eve"));
    std::vector<std::string> seen;
    for (const auto& view : dialog()._view()->subviews()) {
        const ui::Inspection about = view->inspect();
        if (about.empty()) continue;
        std::string line = about.className;
        for (const auto& [role, text] : about.texts) line += " " + role + "=" + text;
        if (about.value) line += " value=" + *about.value + " display=" + about.display.value_or("?");
        seen.push_back(line);
    }
    const std::vector<std::string> expected = {
        "CustomMessage message=Order",
        "CustomTextField title=Name placeholder= value=Eve display=Eve",
        "CustomCheckbox description=Gift value=1 display=1",
        "CustomMenu title=Size placeholder=M value=2 display=M",
    };
    EXPECT_EQ(seen, expected);
}

TEST(PatternTest, BuiltInPatternsMatchAnywhereUnlessAnchored) {
    using V = supported_validations;
    struct Case {
        V rule;
        const char* text;
        bool passes;
    };
    const std::vector<Case> cases = {
        {V::ssn, "", true},           {V::ssn, "123-45-6789", true},   {V::ssn, "666-12-3456", false},
        {V::ssn, "123-45-678", false}, {V::sin, "123-456-789abc", true}, {V::sin, "123456789", false},
        {V::credit_card, "4111 1111 1111 1111", true}, {V::credit_card, "4111-1111-1111-1111", true},
        {V::credit_card, "5212345678901234", true},   {V::credit_card, "6212345678901234", false},
        {V::credit_card, "4111111111111", false},      {V::czech_id, "800101/1234", true},
        {V::czech_id, "8001011234", true},             {V::czech_id, "800191/1234", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(rawValue(c.rule)) + " " + c.text);
        const auto [compiled, found] = InputDialog::matches(std::string(builtInPattern(c.rule)), c.text);
        EXPECT_TRUE(compiled);
        EXPECT_EQ(!found.empty(), c.passes);
    }
}

TEST(PatternTest, AllMatchesAreFoundIncludingEmptyOnes) {
    EXPECT_EQ(InputDialog::matches("[0-9]+", "a1b22c333").second, (std::vector<std::string>{"1", "22", "333"}));
    EXPECT_EQ(InputDialog::matches("x*", "ab").second, (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(InputDialog::matches("^.$", "\xF0\x9F\x98\x80").second.size(), 1u) << "one character, two UTF-16 units";
    EXPECT_FALSE(InputDialog::matches("(", "x").first);
}

// --- calculation validation

TEST(CalculationBridgeTest, FieldTextIsQuotedSoXIsExactlyThatText) {
    EXPECT_EQ(CalculationBridge::expression("abcd", "Length ( x ) > 3"), "Let ( x = \"abcd\" ; Length ( x ) > 3 )");
    EXPECT_EQ(CalculationBridge::expression("say \"hi\" \\ \xC2\xB6", "x"),
              "Let ( x = \"say \\\"hi\\\" \\\\ \\\xC2\xB6\" ; x )");
}

TEST(CalculationBridgeTest, AnswersByTheResultsKind) {
    using namespace fmx::testing;
    struct Case {
        fmx::Data result;
        std::string answer;
    };
    fmx::Data date;
    date.SetAsDateTime(fmx::kDTDate, 738000, fmx::Text::fromUtf8("1/1/2022"));
    const std::vector<Case> cases = {
        {textValue("Name required"), "Name required"}, {textValue("0"), "0"}, {textValue(""), ""},
        {numberValue(1), "0"}, {numberValue(-2), "0"}, {numberValue(0.5), ""}, {numberValue(0), ""},
        {booleanValue(true), "0"}, {booleanValue(false), ""}, {date, ""}, {fmx::Data(), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(CalculationBridge::answer(c.result), c.answer) << c.answer;
}

TEST_F(DialogSessionTest, CalculationRuleDecidesWithTheCallsEnvironment) {
    fmx::testing::TestEngine engine;
    fmx::testing::ScopedEngine installed(engine);
    const fmx::ExprEnv env;
    // No "default-button": a passed calculation counts as button 1.
    Plugin::setValue(CFG::default_button, std::nullopt);
    openServing(call({Value(std::string("Who?")), Value(std::string("OK\rCancel")),
                      Value(std::string("text\rName\rvalidation=filemaker\rIf ( IsEmpty ( x ) ; \"Name required\" ; 1 )")),
                      Value(std::string("Ann \"A\"")), Value(std::string("text\rCode\rvalidation=regexp\r^[0-9]+$")),
                      Value(std::string("fails"))}),
                 env);
    ASSERT_TRUE(pumpUntil([] { return dialog().isShown(); }));

    // A text answer shows it in an alert; the dialog stays open.
    engine.setEvaluationResult(fmx::testing::textValue("Name required"));
    ASSERT_TRUE(user->tap(button("OK")));
    advance(1);
    EXPECT_TRUE(dialog().isShown());
    auto* alert = dynamic_cast<ui::AlertController*>(dialog().presentedViewController());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Validation failed");
    EXPECT_EQ(alert->message(), "Name required");
    ASSERT_TRUE(user->tap(*alert->buttonForAction(0)));
    advance(1);
    EXPECT_EQ(dialog().presentedViewController(), nullptr);

    // False keeps it open without a word.
    engine.setEvaluationResult(fmx::testing::numberValue(0));
    ASSERT_TRUE(user->tap(button("OK")));
    advance(1);
    EXPECT_TRUE(dialog().isShown());
    EXPECT_EQ(dialog().presentedViewController(), nullptr);

    // True closes it as the default button, although the second field fails its pattern.
    engine.setEvaluationResult(fmx::testing::booleanValue(true));
    ASSERT_TRUE(user->tap(button("OK")));
    EXPECT_EQ(answer(), "0");
    EXPECT_EQ(stored(CFG::dialog_button), "1");
    ASSERT_EQ(engine.evaluatedExpressions().size(), 3u);
    EXPECT_EQ(engine.evaluatedExpressions().back(),
              "Let ( x = \"Ann \\\"A\\\"\" ; If ( IsEmpty ( x ) ; \"Name required\" ; 1 ) )");

    // With the session over, nobody serves requests any more.
    EXPECT_EQ(ui::NotificationCenter::defaultCenter().observerCount(CalculationBridge::kRequest), 0u);
}

TEST_F(DialogSessionTest, AStrayCalculationAnswerDoesNotCloseTheDialog) {
    show(call({Value(std::string("Q")), Value(std::string("OK"))}));
    ui::NotificationCenter::defaultCenter().post(CalculationBridge::kAnswer, std::string("0"));
    ui::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(dialog().isShown());
    ASSERT_TRUE(user->tap(button("OK")));
    EXPECT_EQ(answer(), "0");
}

}  // namespace
}  // namespace brelka
