// InputDialog: the controller of the modal input dialog. One instance serves every dialog of
// the process: the parser empties it (resetUIViewController), fills it section by section
// through the add-component operations, and presents it. Each addition measures its section,
// creates the component at x 0, y 0 and grows the dialog (recalculateComponents).
//
// Growing is cheap: the dialog's width, left column and height grow at once, but the
// per-component update (new widths, re-wrapped message and caption heights, rebuilt inner
// views) is only marked stale and applied once, the next time a stored field is read or
// written through its accessor. The end state equals the one a full re-layout after every
// addition gives, so filling a dialog is linear in its number of sections. The message and
// caption re-wraps change _height by the difference between the new and the old wrapped
// height; those differences telescope, so re-wrapping once with the final left column gives
// the same total. setLayoutDeferred(false) re-lays out everything on every addition instead.
//
// Stored fields are reached through accessors named after them: _width() reads, set_width()
// writes. Class-level state (_blur_effect, _blur_effect_view, _radio_buttons) lives as long as
// the process.
//
// Ownership: held by std::shared_ptr (the parser keeps the one instance); it owns its panel
// (_view), its components and buttons. Thread: main thread only.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "components/CustomMenuDelegate.h"
#include "dialog/GetSizeHelper.h"
#include "store/Value.h"
#include "ui/BlurView.h"
#include "ui/NotificationCenter.h"
#include "ui/Button.h"
#include "ui/TapGestureRecognizer.h"
#include "ui/TextField.h"
#include "ui/TextView.h"
#include "ui/View.h"
#include "ui/ViewController.h"
#include "ui/WorkItem.h"

namespace brelka {

class CustomRadioButton;

class InputDialog : public ui::ViewController,
                    public ui::TextFieldDelegate,
                    public ui::TextViewDelegate,
                    public ui::GestureRecognizerDelegate,
                    public CustomMenuDelegate {
public:
    // Name of the interface file in the bundle that describes the controller's root view.
    static constexpr const char* kInterfaceName = "InputDialog";

    // Gives every field its initial value. Hold the controller in a std::shared_ptr: the
    // actions it registers on inputs reach it through a weak reference. The root view is made from the interface file
    // `nibName` (".json") in `bundle` (the plug-in's bundle when none is given) when it is
    // first needed; a missing or unreadable file gives the default root view.
    explicit InputDialog(std::string nibName = kInterfaceName,
                         std::optional<std::filesystem::path> bundle = std::nullopt);
    ~InputDialog() override;

    // --- stored fields
    bool _enable_blur() const { return enable_blur_; }
    void set_enable_blur(bool on) { enable_blur_ = on; }
    double _last_y();
    void set_last_y(double y);
    double _x();
    void set_x(double x);
    double _y();
    void set_y(double y);
    double _width();
    void set_width(double width);
    double _width_left();
    void set_width_left(double width_left);
    double _height();
    void set_height(double height);
    const std::shared_ptr<ui::View>& _view();
    void set_view(std::shared_ptr<ui::View> view);
    // The sections in the order they were added, laid out up to date.
    const std::vector<std::shared_ptr<ui::View>>& _view_components();
    void set_view_components(std::vector<std::shared_ptr<ui::View>> components);
    const std::vector<std::string>& _button_names() const { return button_names_; }
    void set_button_names(std::vector<std::string> names) { button_names_ = std::move(names); }
    const std::vector<std::shared_ptr<ui::Button>>& _buttons() const { return buttons_; }
    void set_buttons(std::vector<std::shared_ptr<ui::Button>> buttons) { buttons_ = std::move(buttons); }
    const std::shared_ptr<ui::WorkItem>& _close_dialog_task() const { return close_dialog_task_; }
    void set_close_dialog_task(std::shared_ptr<ui::WorkItem> task) { close_dialog_task_ = std::move(task); }
    const std::shared_ptr<ui::TextField>& _currently_active_textfield() const { return active_textfield_; }
    void set_currently_active_textfield(std::shared_ptr<ui::TextField> field) { active_textfield_ = std::move(field); }
    const std::shared_ptr<ui::TextView>& _currently_active_textarea() const { return active_textarea_; }
    void set_currently_active_textarea(std::shared_ptr<ui::TextView> area) { active_textarea_ = std::move(area); }
    const std::shared_ptr<ui::TapGestureRecognizer>& _keyboard_gesture_recognizer() const { return keyboard_recognizer_; }
    void set_keyboard_gesture_recognizer(std::shared_ptr<ui::TapGestureRecognizer> r) { keyboard_recognizer_ = std::move(r); }

    // --- class-level state
    // The effect of the blurred background: the toolkit's dark style.
    static ui::BlurStyle _blur_effect();
    // The blurred background, made on first use and reused by every dialog.
    static const std::shared_ptr<ui::BlurView>& _blur_effect_view();
    // Every radio button of the current dialog in the order added; they form one group.
    static std::vector<std::shared_ptr<CustomRadioButton>>& _radio_buttons();
    // Selects the last radio button that asks to be the default; none when none asks.
    static void selectDefaultRadioButton();
    // Deselects every radio button of the current dialog.
    static void deselectAllRadioButtons();

    // --- filling
    // Empties the controller for the next dialog. _buttons, the active inputs and the keyboard
    // recogniser are left as they are.
    void resetUIViewController();

    void addIconComponent(ImageRef icon);
    void addTitleComponent(const std::string& title);
    void addMessageComponent(const std::string& message);
    void addCaptionComponent(const std::string& title, const std::string& description);
    void addCheckboxComponent(const std::string& description, bool default_value);
    void addRadioButtonComponent(const std::string& description, bool default_value);
    void addTextFieldComponent(const std::string& title, bool password, const std::string& placeholder,
                               const std::string& validation = "", bool filemaker_validation = false,
                               bool focus = false);
    void addTextAreaComponent(const std::string& title, std::int64_t lines, const std::string& placeholder,
                              bool focus = false);
    void addMenuComponent(const std::string& title, const std::string& placeholder,
                          const std::vector<std::string>& menu_items,
                          const std::vector<std::string>& return_ids);
    void addListComponent(const std::string& title, const std::vector<std::string>& list_items,
                          const std::vector<std::string>& return_ids, std::int64_t default_value,
                          std::int64_t lines);
    void addImageComponent(const std::string& title, ImageRef image);
    void addLinkButtonComponent(const std::string& title, const std::string& url);
    void addSeparatorComponent();

    // Grows the dialog by a section of this size and re-lays out every section.
    void recalculateComponents(double width, double height, double width_left = 0);

    // Measures the button row from _button_names and the store's "default-button".
    GetSizeHelper::Size getMinSizeOfButtonSection() const;

    // Text-field actions registered by addTextFieldComponent.
    void textDidChanged(ui::TextField& textfield);
    void editingDidBegin(ui::TextField& textfield);
    void editingDidEnd(ui::TextField& textfield);

    // A menu's list began to close; nothing to do.
    void menuClosed(CustomMenuHelper& menu) override;

    bool shouldAutorotate() const override { return false; }
    void loadView() override;

    // --- the window (WindowBuilding.cpp)
    // Registers for the keyboard's frame changes and for calculation answers, once.
    void viewDidLoad() override;
    // Builds the window afresh each time the controller is shown; a panel that does not fit
    // on the screen ends the dialog at once with -5611.
    void viewDidAppear(bool animated) override;
    void createView();
    void addComponents();
    void addButtons();
    void addBlurEffect();
    void addTapRecognizerView();
    // Whether the finished panel lies outside the main screen.
    bool isTooLarge();
    // Whether the window is built and the dialog waits for the user (no close has begun).
    bool isShown() const { return shown_; }

    // --- interaction, keyboard and focus (ComponentValidationHelper.cpp)
    // A press of a bar button (or one made up by the return key in the last input).
    void Action(ui::Button& sender);
    // A tap outside the panel.
    void Action(ui::TapGestureRecognizer& sender);
    // An automatic close (the sender is an empty dictionary).
    void Action(const Dictionary& sender);
    // The answer of a calculation validation ("calculationResult").
    void closeDialog(const ui::Notification& notification);
    void keyboardNotification(const ui::Notification& notification);
    void hideKeyboardIfNeeded();
    // Gives the initial focus to the inputs that ask for it, the last one winning.
    void checkForFocus();
    bool textFieldShouldReturn(ui::TextField& textfield) override;
    bool textViewShouldBeginEditing(ui::TextView& textview) override;
    bool textViewShouldEndEditing(ui::TextView& textview) override;
    // Moves the focus from `current_component` (a one-line input or a text view) to the next
    // section's input; from the last section's one-line input it presses the default button.
    void findNextResponder(ui::View& current_component);
    // Index of the section whose input is `current_component`; 0 when none.
    std::size_t getCurrentIndex(const ui::View& current_component);
    // Whether the input's section is the dialog's last.
    bool chechIfLast(const ui::TextField& textfield);
    // Bottom edge, in the root view's coordinates, of the section being edited; 0 when none.
    double getFistRespoderPosition();
    // Schedules the 5-second close of a dialog without buttons and the store's time-out.
    void scheduleAutomaticCloses();
    // Checks the text fields' rules: (may close, error).
    std::pair<bool, bool> checkValidations();
    // All matches of `pattern` (ICU syntax, no options) in `text`: (compiled, matched texts).
    static std::pair<bool, std::vector<std::string>> matches(const std::string& pattern, const std::string& text);

    // --- results (ResultCollection.cpp)
    // Writes every counted section's value and display text, the joined lists and the
    // panel's position into the store, then snapshots the store and restores its defaults.
    void prepareGetSetDirectory();

    // Applies the pending per-component update now; the accessors do it on their own.
    void layoutComponentsIfNeeded();
    // true (the default): additions only mark the sections stale. false: every addition
    // re-lays out every section at once, as the plain algorithm reads.
    void setLayoutDeferred(bool deferred);
    bool isLayoutDeferred() const { return deferred_; }

private:
    // How a dialog ends; decides what the closing sequence writes.
    enum class Ending { button, cancel, calculationPassed, validationError };
    // The one closing sequence: collect, empty, dismiss, then write the ending and release
    // the waiting caller.
    void closeWith(Ending ending, std::int64_t button_number = 0);
    void handleAction(ui::Button* button, bool automatic);
    // Ends any editing without moving the focus on and forgets the edited inputs.
    void endEditingQuietly();
    void attachKeyboardRecognizer();
    void detachKeyboardRecognizer();
    void movePanelForKeyboard(double keyboard_top, double duration, int curve);
    // Keeps the views on screen alive until a later turn of the main loop: a close may start
    // inside a button's or an input's own event handling, which must not lose its object.
    void retireViews();
    // Dismisses the controller (and whatever it presents) without animation.
    void dismissSelf(std::function<void()> done);

    void appendComponent(std::shared_ptr<ui::View> component);
    // Step 4 of growing: the per-class update of every section, with the controller's
    // current widths and left column.
    void updateComponents();
    void logAddition(const char* what, double width) const;

    std::string nib_name_;
    std::optional<std::filesystem::path> bundle_;

    bool enable_blur_ = false;
    double last_y_;
    double x_ = 0;
    double y_ = 0;
    double width_ = 0;
    double width_left_ = 0;
    double height_;
    std::shared_ptr<ui::View> view_;
    std::vector<std::shared_ptr<ui::View>> view_components_;
    std::vector<std::string> button_names_;
    std::vector<std::shared_ptr<ui::Button>> buttons_;
    std::shared_ptr<ui::WorkItem> close_dialog_task_;
    std::shared_ptr<ui::TextField> active_textfield_;
    std::shared_ptr<ui::TextView> active_textarea_;
    std::shared_ptr<ui::TapGestureRecognizer> keyboard_recognizer_;
    ui::NotificationCenter::Observer keyboard_observer_;
    ui::NotificationCenter::Observer calculation_observer_;
    // Set while the closing sequence runs, so that inputs ending their editing as they leave
    // the screen do not move the focus or press a button.
    bool closing_ = false;
    // Whether the window is built and no closing sequence ran since: the dialog is usable.
    bool shown_ = false;
    // Whether a calculation validation of this dialog waits for its answer.
    bool awaiting_calculation_ = false;

    // Deferred layout: whether sections await their update, the left column of the growth
    // before the latest one (a message's frame keeps the height of the previous wrap until its
    // next rebuild), and which sections arrived with the latest growth.
    bool deferred_ = true;
    bool layout_stale_ = false;
    double width_left_at_previous_growth_ = 0;
    double width_left_at_latest_growth_ = 0;
    std::size_t sections_before_latest_growth_ = 0;
    std::size_t sections_at_latest_growth_ = 0;
};

}  // namespace brelka
