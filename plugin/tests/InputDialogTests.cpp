// The dialog controller's assembly: how the dialog and its sections grow as sections are
// added, the shared left column, the message re-wrapping, resetting, the radio group, the
// interface file, hostile input, and the deferred layout against a full re-layout after every
// addition on random sequences of sections.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "StoreTestSupport.h"
#include "components/CustomCaption.h"
#include "components/CustomCheckbox.h"
#include "components/CustomIcon.h"
#include "components/CustomImage.h"
#include "components/CustomLinkButton.h"
#include "components/CustomList.h"
#include "components/CustomMenu.h"
#include "components/CustomMessage.h"
#include "components/CustomRadioButton.h"
#include "components/CustomSeparator.h"
#include "components/CustomTextArea.h"
#include "components/CustomTextField.h"
#include "components/CustomTitle.h"
#include "dialog/GetSizeHelper.h"
#include "dialog/InputDialog.h"
#include "ui/Font.h"
#include "ui/Image.h"
#include "ui/RunLoop.h"
#include "ui/Screen.h"
#include "ui/TextMeasurer.h"

namespace brelka {
namespace {

using testing::StoreTest;

double width15(const std::string& text) {
    return ui::TextMeasurer::singleLineSize(text, ui::Font("Helvetica", 15)).width;
}

std::shared_ptr<const ui::Image> solidImage(int width, int height) {
    const std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4, 0x80);
    return ui::Image::fromPixels(width, height, pixels);
}

template <class T>
T* sectionAt(InputDialog& dialog, std::size_t index) {
    return dynamic_cast<T*>(dialog._view_components().at(index).get());
}

class InputDialogTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ui::RunLoop::main().clear();
        ui::RunLoop::main().useVirtualClock();
        InputDialog::_radio_buttons().clear();
        dialog = std::make_shared<InputDialog>();
        dialog->resetUIViewController();
    }
    void TearDown() override {
        ui::RunLoop::main().runUntilIdle();
        ui::RunLoop::main().clear();
        InputDialog::_radio_buttons().clear();
        StoreTest::TearDown();
    }

    std::shared_ptr<InputDialog> dialog;
};

TEST_F(InputDialogTest, StartsAndResetsToAnEmptyDialog) {
    auto fresh = std::make_shared<InputDialog>();
    for (InputDialog* d : {fresh.get(), dialog.get()}) {
        EXPECT_FALSE(d->_enable_blur());
        EXPECT_EQ(d->_last_y(), 20);
        EXPECT_EQ(d->_width(), 0);
        EXPECT_EQ(d->_width_left(), 0);
        EXPECT_EQ(d->_height(), 40);
        EXPECT_TRUE(d->_view_components().empty());
        EXPECT_TRUE(d->_view()->subviews().empty());
        EXPECT_TRUE(d->_close_dialog_task());
    }

    dialog->set_enable_blur(true);
    dialog->set_button_names({"OK", "Cancel"});
    dialog->set_buttons({std::make_shared<ui::Button>()});
    dialog->addTitleComponent("Welcome");
    dialog->addRadioButtonComponent("One", false);
    dialog->addTextFieldComponent("Name", false, "");
    dialog->view().addSubview(dialog->_view());
    dialog->view().setBackgroundColor(ui::Color::black());
    const auto oldPanel = dialog->_view();
    const auto task = ui::WorkItem::make([] {});
    dialog->set_close_dialog_task(task);

    dialog->resetUIViewController();
    EXPECT_FALSE(dialog->_enable_blur());
    EXPECT_EQ(dialog->_width(), 0);
    EXPECT_EQ(dialog->_width_left(), 0);
    EXPECT_EQ(dialog->_height(), 40);
    EXPECT_TRUE(dialog->_view_components().empty());
    EXPECT_TRUE(dialog->_button_names().empty());
    EXPECT_TRUE(InputDialog::_radio_buttons().empty());
    EXPECT_NE(dialog->_view(), oldPanel);
    EXPECT_TRUE(dialog->view().subviews().empty());
    EXPECT_EQ(dialog->view().backgroundColor(), ui::Color::clear());
    EXPECT_TRUE(task->isCancelled());
    EXPECT_EQ(dialog->_buttons().size(), 1u) << "the buttons stay until the next window is built";

    // One dark blur view serves every dialog.
    ASSERT_TRUE(InputDialog::_blur_effect_view());
    EXPECT_EQ(InputDialog::_blur_effect_view(), InputDialog::_blur_effect_view());
    EXPECT_EQ(InputDialog::_blur_effect_view()->style(), ui::BlurStyle::dark);
}

TEST_F(InputDialogTest, SectionsGrowTheDialogByTheirMeasuredSize) {
    const auto icon = solidImage(32, 24);
    dialog->addIconComponent(icon);
    EXPECT_EQ(dialog->_width(), 32 + 32);
    EXPECT_EQ(dialog->_height(), 40 + 24);
    EXPECT_EQ(sectionAt<CustomIcon>(*dialog, 0)->_view_width, 64);
    EXPECT_EQ(sectionAt<CustomIcon>(*dialog, 0)->_icon_view->frame(), ui::Rect(16, 0, 32, 24));

    dialog->addTitleComponent("Account");
    const auto title = GetSizeHelper::getMinSizeOfTitleSection("Account");
    EXPECT_EQ(dialog->_width(), std::max(64.0, title.width));
    EXPECT_EQ(dialog->_height(), 40 + 24 + title.height);

    // A check box adds the switch height, whatever its description measures.
    dialog->addCheckboxComponent("", true);
    EXPECT_EQ(dialog->_height(), 40 + 24 + title.height + 31);

    // A separator takes the dialog's width as it is when it is added.
    const double before = dialog->_width();
    dialog->addSeparatorComponent();
    EXPECT_EQ(dialog->_width(), before);
    EXPECT_EQ(sectionAt<CustomSeparator>(*dialog, 3)->frame(), ui::Rect(0, 0, before, 21));
    EXPECT_EQ(dialog->_height(), 40 + 24 + title.height + 31 + 21);

    // Every full-width section follows the widest one.
    dialog->addTextAreaComponent("", 4, "");
    const double wide = dialog->_width();
    EXPECT_EQ(sectionAt<CustomTitle>(*dialog, 1)->frame().width(), wide);
    EXPECT_EQ(sectionAt<CustomIcon>(*dialog, 0)->frame().width(), wide);
    EXPECT_EQ(sectionAt<CustomTextArea>(*dialog, 4)->frame().height(), 83);
}

TEST_F(InputDialogTest, ACheckBoxFollowsTheLeftColumnOfALaterTitledField) {
    dialog->addCheckboxComponent("Send me the monthly newsletter and occasional offers", false);
    const double checkboxWidth = dialog->_width();
    const double nameWidth = width15("Name");
    ASSERT_GT(checkboxWidth, nameWidth + 150 + 37) << "the check box must be the widest section";

    dialog->addTextFieldComponent("Name", false, "");
    EXPECT_DOUBLE_EQ(dialog->_width_left(), nameWidth);
    EXPECT_DOUBLE_EQ(dialog->_width(), checkboxWidth + nameWidth);
    const auto* checkbox = sectionAt<CustomCheckbox>(*dialog, 0);
    EXPECT_DOUBLE_EQ(checkbox->_width_left, nameWidth);
    EXPECT_DOUBLE_EQ(checkbox->_width, dialog->_width());
    EXPECT_DOUBLE_EQ(checkbox->frame().width(), nameWidth + dialog->_width());
    EXPECT_DOUBLE_EQ(checkbox->_checkbox->frame().x(), nameWidth + 16 + 5);
}

TEST_F(InputDialogTest, TitledFieldsShareTheWidestTitleColumn) {
    dialog->addTextFieldComponent("Name", false, "");
    dialog->addTextFieldComponent("Email address", false, "");
    dialog->addMenuComponent("Size", "Pick", {"S", "M", "L"}, {"S", "M", "L"});
    dialog->addLinkButtonComponent("Terms", "https://example.org");
    const double column = width15("Email address");
    ASSERT_GT(column, width15("Name"));
    EXPECT_DOUBLE_EQ(dialog->_width_left(), column);

    const auto* name = sectionAt<CustomTextField>(*dialog, 0);
    const auto* email = sectionAt<CustomTextField>(*dialog, 1);
    const auto* menu = sectionAt<CustomMenu>(*dialog, 2);
    const auto* link = sectionAt<CustomLinkButton>(*dialog, 3);
    for (double titleWidth : {name->_title_width, email->_title_width, menu->_title_width}) {
        EXPECT_DOUBLE_EQ(titleWidth, column);
    }
    const double inputX = 16 + column + 5;
    EXPECT_DOUBLE_EQ(name->_textfield->frame().x(), inputX);
    EXPECT_DOUBLE_EQ(email->_textfield->frame().x(), inputX);
    EXPECT_DOUBLE_EQ(menu->_button->frame().x(), inputX);
    EXPECT_DOUBLE_EQ(link->_link_button->frame().x(), inputX);
    EXPECT_DOUBLE_EQ(name->frame().width(), dialog->_width());
}

TEST_F(InputDialogTest, AMessageIsWrappedAgainWhenALeftColumnAppears) {
    ui::ScreenProfile profile = ui::ScreenProfile::ipad();
    profile.size = ui::Size{600, 800};
    ui::Screen::main().setProfile(profile);
    const std::string message =
        "Please fill in the form below. Every field is checked before the dialog closes.";
    const std::string title = "A long title for the first field";

    dialog->addMessageComponent(message);
    const double alone = GetSizeHelper::getMinSizeOfMessageSection(message).height;
    EXPECT_DOUBLE_EQ(dialog->_height(), 40 + alone);

    dialog->addTextFieldComponent(title, false, "");
    const double rewrapped = GetSizeHelper::recalculateHeight(message, width15(title));
    ASSERT_GT(rewrapped, alone);
    EXPECT_DOUBLE_EQ(dialog->_height(), 40 + rewrapped + 30);
    auto* section = sectionAt<CustomMessage>(*dialog, 0);
    EXPECT_DOUBLE_EQ(section->_height, rewrapped);
    // The rebuild that wrapped it again still showed the height it had before; the next
    // one shows the new height.
    EXPECT_DOUBLE_EQ(section->frame().height(), alone);
    dialog->addSeparatorComponent();
    EXPECT_DOUBLE_EQ(sectionAt<CustomMessage>(*dialog, 0)->frame().height(), rewrapped);
    EXPECT_DOUBLE_EQ(dialog->_height(), 40 + rewrapped + 30 + 21);
}

TEST_F(InputDialogTest, CaptionDescriptionsFollowTheLeftColumnToo) {
    ui::ScreenProfile profile = ui::ScreenProfile::ipad();
    profile.size = ui::Size{600, 800};
    ui::Screen::main().setProfile(profile);
    const std::string description = "A description long enough to wrap once the column widens a lot.";
    dialog->addCaptionComponent("Hint", description);
    dialog->addTextFieldComponent("A really rather long field title", false, "");
    const double column = width15("A really rather long field title");
    const double wrapped = GetSizeHelper::recalculateHeight(description, column);
    const auto* caption = sectionAt<CustomCaption>(*dialog, 0);
    EXPECT_DOUBLE_EQ(caption->_title_width, column);
    EXPECT_DOUBLE_EQ(caption->_total_height, wrapped);
    EXPECT_DOUBLE_EQ(caption->frame().height(), wrapped);
    EXPECT_DOUBLE_EQ(dialog->_height(), 40 + wrapped + 30);
}

TEST_F(InputDialogTest, TheLastRadioButtonAskingForItIsSelectedByDefault) {
    dialog->addRadioButtonComponent("A", false);
    dialog->addRadioButtonComponent("B", true);
    dialog->addRadioButtonComponent("C", true);
    ASSERT_EQ(InputDialog::_radio_buttons().size(), 3u);
    InputDialog::selectDefaultRadioButton();
    ui::RunLoop::main().advance(1);
    std::vector<bool> selected;
    for (const auto& button : InputDialog::_radio_buttons()) selected.push_back(button->_current_value);
    EXPECT_EQ(selected, (std::vector<bool>{false, false, true}));

    InputDialog::deselectAllRadioButtons();
    ui::RunLoop::main().advance(1);
    for (const auto& button : InputDialog::_radio_buttons()) EXPECT_FALSE(button->_current_value);
}

TEST_F(InputDialogTest, TextFieldEditingIsReportedToTheController) {
    dialog->addTextFieldComponent("Name", false, "Ann");
    const auto& input = sectionAt<CustomTextField>(*dialog, 0)->_textfield;
    input->sendActions(ui::ControlEvent::editingDidBegin);
    EXPECT_EQ(dialog->_currently_active_textfield(), input);
    input->sendActions(ui::ControlEvent::editingChanged);
    input->sendActions(ui::ControlEvent::editingDidEnd);
    EXPECT_EQ(dialog->_currently_active_textfield(), nullptr);

    // The input may outlive the controller; its actions then do nothing.
    const std::shared_ptr<ui::TextField> kept = input;
    dialog.reset();
    kept->sendActions(ui::ControlEvent::editingDidBegin);
}

TEST_F(InputDialogTest, TheInterfaceFileDescribesTheRootView) {
    const auto folder = std::filesystem::temp_directory_path() / "brelka-dialog-interface";
    std::filesystem::create_directories(folder);
    const auto write = [&](const std::string& text) { std::ofstream(folder / "InputDialog.json") << text; };
    const ui::Rect screen = ui::Screen::main().bounds();
    const unsigned flexible = ui::autoresizingFlexibleWidth | ui::autoresizingFlexibleHeight;

    struct Case {
        std::string file;  // empty: no file at all
        ui::Color background;
        ui::Rect frame;
        unsigned mask;
    };
    const std::vector<Case> cases = {
        {"", ui::Color::clear(), screen, flexible},
        {"{ not json", ui::Color::clear(), screen, flexible},
        {"[1, 2]", ui::Color::clear(), screen, flexible},
        {R"({"rootView": {"backgroundColor": [255, 0, 0, 255], "frame": [0, 0, 100, 50],
             "autoresizingMask": ["flexibleWidth"]}})",
         ui::Color{1, 0, 0, 1}, ui::Rect(0, 0, 100, 50), ui::autoresizingFlexibleWidth},
        {R"({"rootView": {"backgroundColor": [300, "x", 0], "frame": [0, 0, -5, 1e999]}})",
         ui::Color::clear(), screen, flexible},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(folder / "InputDialog.json");
        if (!c.file.empty()) write(c.file);
        auto controller = std::make_shared<InputDialog>(InputDialog::kInterfaceName, folder);
        EXPECT_EQ(controller->view().backgroundColor(), c.background) << c.file;
        EXPECT_EQ(controller->view().frame(), c.frame) << c.file;
        EXPECT_EQ(controller->view().autoresizingMask(), c.mask) << c.file;
    }
    std::filesystem::remove_all(folder);

    // The shipped file gives the same root view as no file.
    auto shipped = std::make_shared<InputDialog>();
    EXPECT_EQ(shipped->view().backgroundColor(), ui::Color::clear());
    EXPECT_EQ(shipped->view().frame(), screen);
    EXPECT_FALSE(shipped->shouldAutorotate());
}

// --- hostile input

void expectFiniteTree(const ui::View& view, const std::string& where) {
    const ui::Rect f = view.frame();
    for (double v : {f.x(), f.y(), f.width(), f.height()}) {
        ASSERT_TRUE(std::isfinite(v)) << where;
    }
    for (const auto& child : view.subviews()) expectFiniteTree(*child, where + "/child");
}

TEST_F(InputDialogTest, HostileInputKeepsEveryFrameFinite) {
    const std::string huge(10000, 'W');
    const std::int64_t most = std::numeric_limits<std::int64_t>::max();
    dialog->addIconComponent(solidImage(1, 1));
    dialog->addIconComponent(nullptr);
    dialog->addTitleComponent(huge);
    dialog->addMessageComponent("");
    dialog->addMessageComponent(huge);
    dialog->addCaptionComponent(huge, huge);
    dialog->addCaptionComponent("", "");
    dialog->addCheckboxComponent("", false);
    dialog->addRadioButtonComponent(huge, false);
    dialog->addTextFieldComponent(huge, true, huge, "", false, false);
    dialog->addTextFieldComponent("", false, "");
    dialog->addTextAreaComponent("", most, "");
    dialog->addTextAreaComponent(huge, std::numeric_limits<std::int64_t>::min(), huge);
    dialog->addMenuComponent("", "", {}, {});
    dialog->addMenuComponent(huge, huge, {huge, "-", ""}, {huge, "-", ""});
    dialog->addListComponent("", {""}, {""}, most, most);
    dialog->addListComponent(huge, {huge}, {"x"}, -most, 0);
    dialog->addImageComponent("", solidImage(1, 1));
    dialog->addImageComponent(huge, solidImage(8000, 8000));
    dialog->addImageComponent("", nullptr);
    dialog->addLinkButtonComponent("", "");
    dialog->addLinkButtonComponent(huge, huge);
    dialog->addSeparatorComponent();

    for (double v : {dialog->_width(), dialog->_width_left(), dialog->_height()}) {
        EXPECT_TRUE(std::isfinite(v));
    }
    EXPECT_GE(dialog->_width(), width15(huge));
    const auto& sections = dialog->_view_components();
    ASSERT_EQ(sections.size(), 23u);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        expectFiniteTree(*sections[i], "section " + std::to_string(i));
    }
}

// --- deferred layout against a full re-layout after every addition

using Step = std::function<void(InputDialog&)>;

std::vector<Step> randomSections(std::mt19937& random, std::size_t count,
                                 const std::shared_ptr<const ui::Image>& image) {
    const std::vector<std::string> words = {
        "",      "OK",   "Name",        "Email address", "Notes",
        "A somewhat longer title here", "x", "Postal code",
        "This description is long enough that it has to wrap over several lines in a dialog."};
    const auto word = [&] { return words[random() % words.size()]; };
    std::vector<Step> steps;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string a = word();
        const std::string b = word();
        const auto n = static_cast<std::int64_t>(random() % 6);
        const bool flag = random() % 2 == 0;
        switch (random() % 13) {
        case 0: steps.push_back([image](InputDialog& d) { d.addIconComponent(image); }); break;
        case 1: steps.push_back([a](InputDialog& d) { d.addTitleComponent(a); }); break;
        case 2: steps.push_back([a, b](InputDialog& d) { d.addMessageComponent(a + " " + b + " " + a); }); break;
        case 3: steps.push_back([a, b](InputDialog& d) { d.addCaptionComponent(a, b + " " + b); }); break;
        case 4: steps.push_back([a, flag](InputDialog& d) { d.addCheckboxComponent(a, flag); }); break;
        case 5: steps.push_back([a, flag](InputDialog& d) { d.addRadioButtonComponent(a, flag); }); break;
        case 6: steps.push_back([a, b, flag](InputDialog& d) { d.addTextFieldComponent(a, flag, b); }); break;
        case 7: steps.push_back([a, b, n](InputDialog& d) { d.addTextAreaComponent(a, n, b); }); break;
        case 8:
            steps.push_back([a, b](InputDialog& d) { d.addMenuComponent(a, b, {"Red", "-", b}, {"Red", "-", b}); });
            break;
        case 9:
            steps.push_back([a, b, n](InputDialog& d) { d.addListComponent(a, {b, "Pear"}, {"b", "p"}, n, n); });
            break;
        case 10: steps.push_back([a, image](InputDialog& d) { d.addImageComponent(a, image); }); break;
        case 11: steps.push_back([a](InputDialog& d) { d.addLinkButtonComponent(a, "https://example.org"); }); break;
        default: steps.push_back([](InputDialog& d) { d.addSeparatorComponent(); }); break;
        }
    }
    return steps;
}

// Every geometry field of a section, its frame and its direct inner views' frames.
std::vector<double> describe(ui::View& section) {
    std::vector<double> out;
    const auto add = [&](std::initializer_list<double> values) { out.insert(out.end(), values); };
    if (auto* s = dynamic_cast<CustomIcon*>(&section)) add({0, s->_width, s->_view_width, s->_height});
    if (auto* s = dynamic_cast<CustomTitle*>(&section)) add({1, s->_width, s->_height});
    if (auto* s = dynamic_cast<CustomMessage*>(&section)) add({2, s->_width, s->_height});
    if (auto* s = dynamic_cast<CustomCaption*>(&section))
        add({3, s->_title_width, s->_total_width, s->_title_height, s->_total_height});
    if (auto* s = dynamic_cast<CustomCheckbox*>(&section)) add({4, s->_width_left, s->_width, s->_height});
    if (auto* s = dynamic_cast<CustomRadioButton*>(&section)) add({5, s->_width_left, s->_width, s->_height});
    if (auto* s = dynamic_cast<CustomTextField*>(&section)) add({6, s->_title_width, s->_total_width, s->_height});
    if (auto* s = dynamic_cast<CustomTextArea*>(&section))
        add({7, s->_title_width, s->_total_width, s->_title_height, s->_total_height});
    if (auto* s = dynamic_cast<CustomMenu*>(&section)) add({8, s->_title_width, s->_total_width, s->_height});
    if (auto* s = dynamic_cast<CustomList*>(&section)) add({9, s->_title_width, s->_total_width, s->_height});
    if (auto* s = dynamic_cast<CustomImage*>(&section))
        add({10, s->_title_width, s->_total_width, s->_image_width, s->_total_height});
    if (auto* s = dynamic_cast<CustomLinkButton*>(&section)) add({11, s->_width_left, s->_width, s->_height});
    if (auto* s = dynamic_cast<CustomSeparator*>(&section)) add({12, s->_width, s->_height});
    const auto addFrame = [&](const ui::Rect& r) { add({r.x(), r.y(), r.width(), r.height()}); };
    addFrame(section.frame());
    out.push_back(static_cast<double>(section.subviews().size()));
    for (const auto& inner : section.subviews()) addFrame(inner->frame());
    return out;
}

std::vector<double> describe(InputDialog& dialog) {
    std::vector<double> out = {dialog._width(), dialog._width_left(), dialog._height(),
                               static_cast<double>(dialog._view_components().size())};
    for (const auto& section : dialog._view_components()) {
        const auto part = describe(*section);
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

TEST_F(InputDialogTest, DeferredLayoutEndsWhereAFullReLayoutAfterEveryAdditionEnds) {
    ui::ScreenProfile profile = ui::ScreenProfile::ipad();
    profile.size = ui::Size{700, 900};
    ui::Screen::main().setProfile(profile);
    const auto image = solidImage(40, 30);
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        const auto steps = randomSections(random, 1 + random() % 24, image);

        auto reference = std::make_shared<InputDialog>();
        reference->resetUIViewController();
        reference->setLayoutDeferred(false);
        auto deferred = std::make_shared<InputDialog>();
        deferred->resetUIViewController();
        ASSERT_TRUE(deferred->isLayoutDeferred());

        for (const auto& step : steps) {
            step(*reference);
            step(*deferred);
            // Now and then somebody looks in the middle of filling.
            if (random() % 5 == 0) {
                EXPECT_NEAR(deferred->_height(), reference->_height(), 1e-6) << "seed " << seed;
            }
        }
        const auto expected = describe(*reference);
        const auto actual = describe(*deferred);
        ASSERT_EQ(actual.size(), expected.size()) << "seed " << seed;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            ASSERT_NEAR(actual[i], expected[i], 1e-6) << "seed " << seed << ", value " << i;
        }
        InputDialog::_radio_buttons().clear();
    }
}

}  // namespace
}  // namespace brelka
