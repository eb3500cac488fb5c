// The dialog's boolean and free-text components: geometry with and without a left column,
// values and display texts, rebuilds, and the radio group's state and look as taps and the
// virtual clock drive it.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "InputComponentFixture.h"
#include "components/CustomCheckbox.h"
#include "components/CustomList.h"
#include "components/CustomMenu.h"
#include "components/CustomRadioButton.h"
#include "components/CustomTextArea.h"
#include "components/CustomTextField.h"
#include "dialog/Constants.h"

namespace brelka {
namespace {

using testing::InputComponentTest;
using ui::Rect;
using Lines = std::vector<std::string>;

// ---------------------------------------------------------------- check box

struct SwitchGeometry {
    double widthLeft;
    Rect component, control, label;
};

class CheckboxTest : public InputComponentTest {};

TEST_F(CheckboxTest, SwitchAndLabelFollowTheLeftColumn) {
    const std::vector<SwitchGeometry> cases = {
        // No left column: the switch starts at the margin.
        {0, Rect(0, 0, 200, 18), Rect(16, 0, 51, 31), Rect(72, 6.5, 191, 18)},
        // A left column of 100: one spacing more, the label one point taller.
        {100, Rect(0, 0, 300, 18), Rect(121, 0, 51, 31), Rect(177, 6.5, 391, 19)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.widthLeft);
        auto box = std::make_shared<CustomCheckbox>("Agree", false, 0, 0, c.widthLeft, 200, 18);
        EXPECT_EQ(box->frame(), c.component);
        EXPECT_EQ(box->_checkbox->frame(), c.control);
        EXPECT_EQ(box->_description_label->frame(), c.label);
        EXPECT_EQ(box->_description_label->text(), "Agree");
        EXPECT_EQ(box->_checkbox->layer().borderWidth, 1);
        EXPECT_EQ(box->_checkbox->layer().cornerRadius, __switch_default_height / 2);
        EXPECT_EQ(box->_checkbox->onTintColor(), __switch_default_tint_color);
    }
}

TEST_F(CheckboxTest, ValueFollowsTheSwitchAndARebuildRestoresTheDefault) {
    auto box = place(std::make_shared<CustomCheckbox>("", true, 0, 0, 0, 200, 18));
    EXPECT_EQ(box->getValue(), "1");
    ASSERT_TRUE(user->tap(*box->_checkbox));
    EXPECT_EQ(box->getValue(), "0");
    EXPECT_EQ(box->getText(), "0");
    ASSERT_TRUE(user->tap(*box->_checkbox));
    EXPECT_EQ(box->getValue(), "1");  // flipped twice: back where it started
    ASSERT_TRUE(user->tap(*box->_checkbox));

    // The controller rebuilds only before the dialog is shown; a rebuild starts from the item's
    // initial state and leaves exactly one switch and one label, at the new geometry.
    box->_width_left = 80;
    box->updateSize();
    box->updateSize();
    EXPECT_EQ(box->getValue(), "1");
    EXPECT_EQ(box->subviews().size(), 2u);
    EXPECT_EQ(copiesOf(*box, box->_checkbox.get()), 1);
    EXPECT_EQ(copiesOf(*box, box->_description_label.get()), 1);
    EXPECT_EQ(box->frame(), Rect(0, 0, 280, 18));
    EXPECT_EQ(box->_checkbox->frame().x(), 101);
}

// ---------------------------------------------------------------- radio button

class RadioTest : public InputComponentTest {
protected:
    std::shared_ptr<CustomRadioButton> addRadio(const std::string& description, double y,
                                                bool wantsDefault = false) {
        auto radio = place(std::make_shared<CustomRadioButton>(description, wantsDefault, 0, y, 0, 300, 31));
        InputDialog::_radio_buttons().push_back(radio);
        return radio;
    }

    // The look a radio button shows now.
    static bool looksSelected(const CustomRadioButton& r) {
        return r._radio_button->backgroundColor() == __switch_default_tint_color &&
               r._radio_button->layer().borderWidth == 0 && r._radio_button_selected->alpha() == 1;
    }
    static bool looksNotSelected(const CustomRadioButton& r) {
        return r._radio_button->backgroundColor() == ui::Color::white() &&
               r._radio_button->layer().borderWidth == 1 &&
               r._radio_button->layer().borderColor == __separator_default_color &&
               r._radio_button_selected->alpha() == 0;
    }
    // A tap where the circle is drawn; the dot on top of a selected one takes it then.
    void tapCircle(const CustomRadioButton& r) {
        const Rect f = r._radio_button->frame();
        user->tap(r.convert(ui::Point{f.midX(), f.midY()}, nullptr));
    }
    // Views besides the circle, the dot and the label: animation circles still in flight.
    static std::vector<ui::View*> extras(const CustomRadioButton& r) {
        std::vector<ui::View*> v;
        for (const auto& s : r.subviews())
            if (s != r._radio_button && s != r._radio_button_selected && s != r._description_label)
                v.push_back(s.get());
        return v;
    }
};

TEST_F(RadioTest, CircleDotAndLabelFollowTheLeftColumn) {
    const std::vector<SwitchGeometry> cases = {
        {0, Rect(0, 0, 200, 31), Rect(16, 4.5, 22, 22), Rect(43, 0, 191, 31)},
        {100, Rect(0, 0, 300, 31), Rect(121, 4.5, 22, 22), Rect(148, 0, 391, 32)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.widthLeft);
        auto radio = std::make_shared<CustomRadioButton>("A", false, 0, 0, c.widthLeft, 200, 31);
        EXPECT_EQ(radio->frame(), c.component);
        EXPECT_EQ(radio->_radio_button->frame(), c.control);
        // The dot is centred in the circle.
        EXPECT_EQ(radio->_radio_button_selected->frame(),
                  Rect(c.control.x() + 6, c.control.y() + 6, 10, 10));
        EXPECT_EQ(radio->_description_label->frame(), c.label);
        EXPECT_EQ(radio->getValue(), "0");
        EXPECT_TRUE(looksNotSelected(*radio));
        // The dot lies over the circle.
        ASSERT_EQ(radio->subviews().size(), 3u);
        EXPECT_EQ(radio->subviews()[1], radio->_radio_button_selected);
    }
}

TEST_F(RadioTest, SelectingOneDeselectsTheOthersWithTheirAnimations) {
    auto a = addRadio("A", 0), b = addRadio("B", 40), c = addRadio("C", 80);
    ASSERT_TRUE(user->tap(*a->_radio_button));
    advance(1);
    ASSERT_TRUE(looksSelected(*a));

    ASSERT_TRUE(user->tap(*b->_radio_button));
    // State changes at once; the look follows the animations.
    EXPECT_EQ(a->getValue(), "0");
    EXPECT_EQ(b->getValue(), "1");
    EXPECT_EQ(c->getValue(), "0");
    // B's selection circle grows from 2 to 26 points around the circle's centre first.
    ASSERT_EQ(extras(*b).size(), 1u);
    EXPECT_EQ(extras(*b)[0]->frame(), Rect(16 - 2, 4.5 - 2, 26, 26));
    EXPECT_EQ(b->_radio_button_selected->alpha(), 1);
    // A's circle starts at the outer circle and grows by a tenth.
    ASSERT_EQ(extras(*a).size(), 1u);
    EXPECT_NEAR(extras(*a)[0]->frame().width(), 24.2, 1e-9);

    advance(0.1);  // A's first step is over: its circle turns white with its border back
    EXPECT_EQ(a->_radio_button->backgroundColor(), ui::Color::white());
    EXPECT_EQ(a->_radio_button->layer().borderWidth, 1);
    EXPECT_TRUE(extras(*c).empty());  // C was not selected: no animation, same look
    EXPECT_TRUE(looksNotSelected(*c));

    advance(0.1);  // B's first step: filled; its circle now shrinks back to 22
    EXPECT_EQ(b->_radio_button->backgroundColor(), __switch_default_tint_color);
    EXPECT_EQ(extras(*b)[0]->frame().width(), 22);

    advance(0.2);  // every animation is over and its circle gone
    EXPECT_TRUE(looksSelected(*b));
    EXPECT_TRUE(looksNotSelected(*a));
    EXPECT_TRUE(extras(*a).empty());
    EXPECT_TRUE(extras(*b).empty());
}

TEST_F(RadioTest, TappingTheSelectedOnePulsesAndDeselectsNothing) {
    auto a = addRadio("A", 0), b = addRadio("B", 40);
    ASSERT_TRUE(user->tap(*b->_radio_button));
    advance(1);
    ASSERT_EQ(b->getValue(), "1");

    ASSERT_TRUE(user->tap(*b->_radio_button_selected));  // the shown dot takes taps too
    EXPECT_EQ(b->getValue(), "1");
    EXPECT_EQ(a->getValue(), "0");
    EXPECT_TRUE(extras(*a).empty());
    // The pulse grows by a point on every side, centred, then returns.
    ASSERT_EQ(extras(*b).size(), 1u);
    EXPECT_EQ(extras(*b)[0]->frame(), Rect(15, 3.5, 24, 24));
    EXPECT_EQ(b->subviews().back(), b->_radio_button_selected);  // the dot stays on top
    advance(0.1);
    EXPECT_EQ(extras(*b)[0]->frame(), b->_radio_button->frame());
    advance(0.1);
    EXPECT_TRUE(extras(*b).empty());
    EXPECT_TRUE(looksSelected(*b));
    EXPECT_EQ(b->subviews().back(), b->_radio_button_selected);
}

TEST_F(RadioTest, QuickTapsEndInTheLookOfTheFinalState) {
    // Taps faster than the animations: a step of an animation that a later tap overtook must
    // not paint the old state over the new one.
    auto a = addRadio("A", 0), b = addRadio("B", 40);
    tapCircle(*a);
    advance(0.05);
    tapCircle(*b);
    advance(0.02);
    tapCircle(*a);
    advance(0.03);
    tapCircle(*a);  // a pulse cutting a selection short
    advance(1);
    EXPECT_EQ(a->getValue(), "1");
    EXPECT_EQ(b->getValue(), "0");
    EXPECT_TRUE(looksSelected(*a));
    EXPECT_EQ(a->_radio_button->alpha(), 1);
    EXPECT_TRUE(looksNotSelected(*b));
    EXPECT_TRUE(extras(*a).empty());
    EXPECT_TRUE(extras(*b).empty());
}

TEST_F(RadioTest, ARebuildDeselectsAndKeepsOneCopyOfEachView) {
    auto a = addRadio("A", 0);
    ASSERT_TRUE(user->tap(*a->_radio_button));
    advance(1);
    auto oldCircle = a->_radio_button;
    a->_width_left = 50;
    a->updateSize();
    a->updateSize();
    advance(1);
    EXPECT_EQ(a->getValue(), "0");
    EXPECT_TRUE(looksNotSelected(*a));
    EXPECT_EQ(a->subviews().size(), 3u);
    EXPECT_EQ(a->_radio_button->frame().x(), 71);
    EXPECT_EQ(oldCircle->superview(), nullptr);
    // A tap on a circle of an earlier build reaches nothing: only the new one acts.
    oldCircle->sendActions(ui::ControlEvent::touchUpInside);
    EXPECT_EQ(a->getValue(), "0");
    ASSERT_TRUE(user->tap(*a->_radio_button));
    EXPECT_EQ(a->getValue(), "1");
}

TEST_F(RadioTest, TheControllerSelectsTheLastRadioThatAsksToBeTheDefault) {
    auto a = addRadio("A", 0, true), b = addRadio("B", 40), c = addRadio("C", 80, true);
    InputDialog::selectDefaultRadioButton();
    advance(1);
    EXPECT_EQ(a->getValue() + b->getValue() + c->getValue(), "001");
    EXPECT_TRUE(looksSelected(*c));
}

// ---------------------------------------------------------------- text field and text area

struct TwoColumnGeometry {
    double titleWidth;
    Rect title, input;
};

class TextTest : public InputComponentTest {};

TEST_F(TextTest, FieldGeometryWithAndWithoutATitle) {
    const std::vector<TwoColumnGeometry> cases = {
        {0, Rect(16, 0, 0, 30), Rect(16, 0, 268, 30)},
        {40, Rect(16, 0, 40, 30), Rect(61, 0, 223, 30)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.titleWidth);
        auto field = std::make_shared<CustomTextField>("Name", "abc", false, 0, 0, c.titleWidth, 300, 30);
        EXPECT_EQ(field->frame(), Rect(0, 0, 300, 30));
        EXPECT_EQ(field->_title_label->frame(), c.title);
        EXPECT_EQ(field->_title_label->textAlignment(), ui::TextAlignment::right);
        EXPECT_EQ(field->_textfield->frame(), c.input);
        EXPECT_EQ(field->_textfield->layer().cornerRadius, 5);
        EXPECT_EQ(field->_textfield->font(), (ui::FontSpec{"Helvetica", 15}));
    }
}

TEST_F(TextTest, AreaGeometryWithAndWithoutATitle) {
    const std::vector<TwoColumnGeometry> cases = {
        {0, Rect(16, 8, 0, 18), Rect(16, 0, 268, 83)},
        {40, Rect(16, 8, 40, 18), Rect(61, 0, 223, 83)},  // the title sits 8 lower than a field's
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.titleWidth);
        auto area = std::make_shared<CustomTextArea>("Notes", "hi", 0, 0, c.titleWidth, 300, 18, 83);
        EXPECT_EQ(area->frame(), Rect(0, 0, 300, 83));
        EXPECT_EQ(area->_title_label->frame(), c.title);
        EXPECT_EQ(area->_text_area->frame(), c.input);
        EXPECT_EQ(area->_text_area->layer().cornerRadius, 0);
    }
}

TEST_F(TextTest, FieldReturnsWhatWasTypedUnmaskedAndARebuildResetsIt) {
    auto plain = place(std::make_shared<CustomTextField>("", "abc", false, 0, 0, 0, 300, 30));
    auto secret = place(std::make_shared<CustomTextField>("", "", true, 0, 40, 0, 300, 30, "^a", true, true));
    EXPECT_EQ(plain->getValue(), "abc");  // the initial text is real text
    EXPECT_EQ(plain->getText(), "abc");

    ASSERT_TRUE(user->tap(*plain->_textfield));
    ASSERT_TRUE(user->replaceText(""));
    EXPECT_EQ(plain->getValue(), "");

    ASSERT_TRUE(user->tap(*secret->_textfield));
    ASSERT_TRUE(user->type("pa55"));
    EXPECT_EQ(secret->_textfield->displayText(), "\u2022\u2022\u2022\u2022");
    EXPECT_EQ(secret->getValue(), "pa55");
    EXPECT_EQ(secret->_validation, "^a");
    EXPECT_TRUE(secret->_filemaker_validation);
    EXPECT_TRUE(secret->_focus);

    plain->updateSize();
    plain->updateSize();
    EXPECT_EQ(plain->getValue(), "abc");
    EXPECT_EQ(plain->subviews().size(), 2u);
    EXPECT_EQ(copiesOf(*plain, plain->_textfield.get()), 1);
}

TEST_F(TextTest, AreaRebuildReplacesTheTextView) {
    auto area = place(std::make_shared<CustomTextArea>("Notes", "first", 0, 0, 40, 300, 18, 83));
    ASSERT_TRUE(user->tap(*area->_text_area));
    ASSERT_TRUE(user->type(" line\nsecond"));
    EXPECT_EQ(area->getValue(), "first line\nsecond");  // the return key breaks the line
    auto old = area->_text_area;
    area->_total_width = 400;
    area->updateSize();
    area->updateSize();
    EXPECT_NE(area->_text_area, old);
    EXPECT_EQ(old->superview(), nullptr);
    EXPECT_EQ(area->getValue(), "first");
    EXPECT_EQ(area->subviews().size(), 2u);
    EXPECT_EQ(area->_text_area->frame().width(), 323);
}

// ---------------------------------------------------------------- unusual input, every kind

TEST_F(InputComponentTest, EmptyHugeAndLongInputsKeepEveryFrameFinite) {
    const std::int64_t most = std::numeric_limits<std::int64_t>::max();
    // Heights made from line counts go through the shared saturating rule.
    const double areaHeight = static_cast<double>(textAreaHeightForLines(most));
    const double listHeight = static_cast<double>(listHeightForLines(most));
    for (const std::string& text : {std::string(), std::string(10000, 'W')}) {
        SCOPED_TRACE(text.size());
        const Lines items = {text};
        std::vector<std::shared_ptr<ui::View>> views = {
            std::make_shared<CustomCheckbox>(text, true, 0, 0, 0, 0, 0),
            std::make_shared<CustomRadioButton>(text, false, 0, 0, 1e6, 0, 0),
            std::make_shared<CustomTextField>(text, text, true, 0, 0, 0, 0, 0, text),
            std::make_shared<CustomTextArea>(text, text, 0, 0, 0, 300, 18, areaHeight),
            std::make_shared<CustomMenu>(text, text, items, Lines{}, 0, 0, 0, 0, 40),
            std::make_shared<CustomList>(text, most, items, items, 0, 0, 0, 300, listHeight),
        };
        for (const auto& v : views) {
            place(v);
            v->layoutIfNeeded();
            EXPECT_TRUE(finiteTree(*v));
        }
        auto* menu = static_cast<CustomMenu*>(views[4].get());
        EXPECT_EQ(menu->getText(), text);  // its initial text is its only entry
        EXPECT_EQ(menu->getValue(), "");   // which has no return identifier: nothing made up
        menu->openMenu();
        EXPECT_TRUE(finiteTree(*menu->_menu));
        auto* list = static_cast<CustomList*>(views[5].get());
        EXPECT_EQ(list->getValue(), "1");
        EXPECT_EQ(list->getText(), text);
        EXPECT_EQ(static_cast<CustomTextField*>(views[2].get())->getValue(), text);
    }
}

}  // namespace
}  // namespace brelka
