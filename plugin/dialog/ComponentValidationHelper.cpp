// The dialog at work: button presses and taps, the one closing sequence, automatic closes,
// editing and the return key, the initial focus, keyboard avoidance, and the validation of
// text fields against their rules.
#include <unicode/regex.h>
#include <unicode/unistr.h>
#include <unicode/utypes.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "components/CustomTextArea.h"
#include "components/CustomTextField.h"
#include "dialog/GetSizeHelper.h"
#include "dialog/InputDialog.h"
#include "host/Diagnostics.h"
#include "parser/InputDialogSession.h"
#include "store/Config.h"
#include "store/Plugin.h"
#include "ui/AlertController.h"
#include "ui/Animation.h"
#include "ui/Keyboard.h"
#include "ui/MainQueue.h"
#include "ui/NumberFormatter.h"
#include "ui/Responder.h"

namespace brelka {

namespace {

// A store value as a whole number: a number's integer part, or a text read as a decimal
// integer; nothing otherwise.
std::optional<std::int64_t> wholeNumber(const Value& value) {
    if (const auto* number = std::get_if<double>(&value)) {
        if (!std::isfinite(*number) || std::fabs(*number) >= 9e18) return std::nullopt;
        return static_cast<std::int64_t>(*number);
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        std::int64_t parsed = 0;
        const char* end = text->data() + text->size();
        const auto [ptr, ec] = std::from_chars(text->data(), end, parsed);
        if (ec == std::errc() && ptr == end && !text->empty()) return parsed;
    }
    return std::nullopt;
}

// "dialog-timeout": a number, or a text a number formatter reads; seconds.
std::optional<double> timeoutSetting() {
    const std::optional<Value> value = Plugin::value(CFG::dialog_timeout);
    if (!value) return std::nullopt;
    if (const auto* number = std::get_if<double>(&*value)) {
        if (std::isfinite(*number)) return *number;
        return std::nullopt;
    }
    if (const auto* text = std::get_if<std::string>(&*value)) return ui::NumberFormatter::standard().number(*text);
    return std::nullopt;
}

template <class T>
std::shared_ptr<T> sharedOf(T& view) {
    return std::static_pointer_cast<T>(view.shared_from_this());
}

}  // namespace

// --- actions

void InputDialog::Action(ui::Button& sender) { handleAction(&sender, false); }

void InputDialog::Action(ui::TapGestureRecognizer&) { handleAction(nullptr, false); }

void InputDialog::Action(const Dictionary&) { handleAction(nullptr, true); }

void InputDialog::handleAction(ui::Button* button, bool automatic) {
    if (!shown_ || closing_) return;
    if (!automatic) {
        // A press or tap while an input is edited only ends the editing.
        if (active_textfield_) {
            const std::shared_ptr<ui::TextField> field = std::move(active_textfield_);
            active_textfield_.reset();
            field->resignFirstResponder();
            return;
        }
        if (active_textarea_) {
            const std::shared_ptr<ui::TextView> area = active_textarea_;
            area->resignFirstResponder();
            // The area's end may have moved the focus to the next text area; that one stays
            // recorded as edited.
            if (active_textarea_ == area) active_textarea_.reset();
            return;
        }
    }
    if (button) {
        const std::int64_t number = static_cast<std::int64_t>(button->tag()) + 1;
        if (GetSizeHelper::isDefaultButton(number)) {
            const auto [passed, error] = checkValidations();
            if (error) {
                closeWith(Ending::validationError);
                return;
            }
            if (!passed) return;
        }
        closeWith(Ending::button, number);
        return;
    }
    closeWith(Ending::cancel);
}

void InputDialog::closeWith(Ending ending, std::int64_t button_number) {
    if (!shown_ || closing_) return;
    closing_ = true;
    shown_ = false;

    // What the ending writes is read now: the result collection below restores the store's
    // per-dialog settings, "cancel-button" and "default-button" among them.
    std::optional<Value> pressed;
    switch (ending) {
    case Ending::button:
        pressed = Value(static_cast<double>(button_number));
        break;
    case Ending::cancel: {
        const std::optional<Value> cancel = Plugin::value(CFG::cancel_button);
        pressed = Value(cancel ? valueAsText(*cancel) : std::string("0"));
        break;
    }
    case Ending::calculationPassed: {
        const std::optional<Value> fallback = Plugin::value(CFG::default_button);
        pressed = Value(fallback ? valueAsText(*fallback) : std::string("1"));
        break;
    }
    case Ending::validationError:
        break;
    }

    prepareGetSetDirectory();
    retireViews();
    endEditingQuietly();
    resetUIViewController();
    closing_ = false;

    dismissSelf([pressed, ending] {
        if (pressed) Plugin::setValue(CFG::dialog_button, *pressed);
        if (ending == Ending::validationError) {
            Plugin::setValue(CFG::last_error, Value(std::string(rawValue(Errors::kUnknownError))));
            Plugin::setValue(CFG::last_error_message, Value(std::string(kUnknownErrorMessage)));
            InputDialogSession::endSession(rawValue(Errors::kUnknownError));
        } else {
            InputDialogSession::endSession(rawValue(Errors::kNoError));
        }
    });
}

void InputDialog::retireViews() {
    std::vector<std::shared_ptr<ui::View>> retired = view_components_;
    for (const auto& subview : view().subviews()) retired.push_back(subview);
    retired.push_back(view_);
    for (const auto& button : buttons_) retired.push_back(button);
    ui::MainQueue::async([retired = std::move(retired)] {});
}

void InputDialog::dismissSelf(std::function<void()> done) {
    // Dismissing from the presenter takes an alert shown over the dialog along.
    if (ui::ViewController* presenter = presentingViewController()) {
        presenter->dismiss(false, std::move(done));
    } else {
        dismiss(false, std::move(done));
    }
}

void InputDialog::endEditingQuietly() {
    const bool was = closing_;
    closing_ = true;
    active_textfield_.reset();
    active_textarea_.reset();
    if (auto* responder = dynamic_cast<ui::View*>(ui::Responder::current())) {
        if (responder->isDescendantOf(&view())) responder->resignFirstResponder();
    }
    detachKeyboardRecognizer();
    active_textfield_.reset();
    active_textarea_.reset();
    closing_ = was;
}

void InputDialog::scheduleAutomaticCloses() {
    const std::weak_ptr<ui::ViewController> weak = weak_from_this();
    const auto closeTask = [weak] {
        return ui::WorkItem::make([weak] {
            if (const auto self = weak.lock()) static_cast<InputDialog&>(*self).Action(Dictionary{});
        });
    };
    if (button_names_.empty()) {
        close_dialog_task_ = closeTask();
        ui::MainQueue::asyncAfter(5.0, close_dialog_task_);
    }
    if (const auto seconds = timeoutSetting()) {
        if (close_dialog_task_) close_dialog_task_->cancel();
        close_dialog_task_ = closeTask();
        ui::MainQueue::asyncAfter(*seconds, close_dialog_task_);
    }
}

void InputDialog::closeDialog(const ui::Notification& notification) {
    // Only the answer to this dialog's own request counts; one that arrives after the dialog
    // closed (or that nobody asked for) must not touch the next dialog.
    if (!shown_ || closing_ || !awaiting_calculation_) return;
    awaiting_calculation_ = false;
    if (const auto* text = std::any_cast<std::string>(&notification.object)) {
        if (text->empty()) return;
        if (*text != "0") {
            const std::weak_ptr<ui::ViewController> weak = weak_from_this();
            const std::string message = *text;
            ui::MainQueue::async([weak, message] {
                const auto self = weak.lock();
                if (!self) return;
                auto& dialog = static_cast<InputDialog&>(*self);
                if (!dialog.shown_) return;
                auto alert = std::make_shared<ui::AlertController>("Validation failed", message);
                alert->addAction(ui::AlertAction{"OK", ui::AlertActionStyle::cancel, {}});
                dialog.present(std::move(alert), true);
            });
            return;
        }
    }
    // A passed calculation presses the default button, which is button 1 when the store
    // names none.
    closeWith(Ending::calculationPassed);
}

// --- editing

void InputDialog::attachKeyboardRecognizer() {
    if (!keyboard_recognizer_ || !view_) return;
    view_->removeGestureRecognizer(keyboard_recognizer_.get());
    view_->addGestureRecognizer(keyboard_recognizer_);
}

void InputDialog::detachKeyboardRecognizer() {
    if (!keyboard_recognizer_ || !view_) return;
    view_->removeGestureRecognizer(keyboard_recognizer_.get());
}

void InputDialog::textDidChanged(ui::TextField&) {}

void InputDialog::editingDidBegin(ui::TextField& textfield) {
    if (closing_) return;
    attachKeyboardRecognizer();
    textfield.setReturnKeyType(chechIfLast(textfield) ? ui::ReturnKeyType::done : ui::ReturnKeyType::next);
    active_textfield_ = sharedOf(textfield);
}

bool InputDialog::textFieldShouldReturn(ui::TextField& textfield) {
    if (closing_ || !shown_) return true;
    detachKeyboardRecognizer();
    active_textfield_ = sharedOf(textfield);
    textfield.resignFirstResponder();
    // The focus may have moved to the next field, which stays recorded as edited.
    if (active_textfield_.get() == &textfield) active_textfield_.reset();
    return true;
}

void InputDialog::editingDidEnd(ui::TextField& textfield) {
    detachKeyboardRecognizer();
    if (closing_) return;
    if (!active_textfield_) return;
    active_textfield_.reset();
    // Another input taking the focus (a tap on it, an initial-focus request) keeps it.
    if (ui::Responder::pendingFirstResponder() != nullptr) return;
    findNextResponder(textfield);
}

bool InputDialog::textViewShouldBeginEditing(ui::TextView& textview) {
    if (closing_) return true;
    attachKeyboardRecognizer();
    if (active_textarea_ && active_textarea_.get() != &textview) {
        const std::shared_ptr<ui::TextView> previous = active_textarea_;
        previous->resignFirstResponder();
    }
    active_textarea_ = sharedOf(textview);
    return true;
}

bool InputDialog::textViewShouldEndEditing(ui::TextView& textview) {
    detachKeyboardRecognizer();
    if (closing_) return true;
    if (active_textarea_.get() == &textview) active_textarea_.reset();
    const ui::Responder* taking = ui::Responder::pendingFirstResponder();
    if (taking == nullptr || taking == &textview) findNextResponder(textview);
    return true;
}

void InputDialog::hideKeyboardIfNeeded() {
    detachKeyboardRecognizer();
    if (active_textfield_) {
        const std::shared_ptr<ui::TextField> field = std::move(active_textfield_);
        active_textfield_.reset();
        field->resignFirstResponder();
    } else if (active_textarea_) {
        const std::shared_ptr<ui::TextView> area = active_textarea_;
        area->resignFirstResponder();
        if (active_textarea_ == area) active_textarea_.reset();
    }
}

std::size_t InputDialog::getCurrentIndex(const ui::View& current_component) {
    for (std::size_t i = 0; i < view_components_.size(); ++i) {
        const ui::View* section = view_components_[i].get();
        if (const auto* field = dynamic_cast<const CustomTextField*>(section)) {
            if (field->_textfield.get() == &current_component) return i;
        } else if (const auto* area = dynamic_cast<const CustomTextArea*>(section)) {
            if (area->_text_area.get() == &current_component) return i;
        }
    }
    return 0;
}

bool InputDialog::chechIfLast(const ui::TextField& textfield) {
    return getCurrentIndex(textfield) + 1 >= view_components_.size();
}

void InputDialog::findNextResponder(ui::View& current_component) {
    if (closing_ || !shown_) return;
    const std::size_t next = getCurrentIndex(current_component) + 1;
    if (next >= view_components_.size()) {
        if (!dynamic_cast<ui::TextField*>(&current_component)) return;
        // The return key in the last section presses the default button.
        std::int64_t tag = 0;
        if (const std::optional<Value> value = Plugin::value(CFG::default_button)) {
            if (const auto number = wholeNumber(*value)) {
                tag = std::clamp<std::int64_t>(*number - 1, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max());
            }
        }
        auto button = std::make_shared<ui::Button>(ui::Rect{});
        button->setTag(static_cast<int>(tag));
        Action(*button);
        return;
    }
    const std::shared_ptr<ui::View> section = view_components_[next];
    if (auto* field = dynamic_cast<CustomTextField*>(section.get())) {
        active_textfield_ = field->_textfield;
        field->_textfield->becomeFirstResponder();
    } else if (auto* area = dynamic_cast<CustomTextArea*>(section.get())) {
        active_textarea_ = area->_text_area;
        area->_text_area->becomeFirstResponder();
    }
}

void InputDialog::checkForFocus() {
    for (const auto& section : view_components_) {
        std::weak_ptr<ui::View> input;
        if (const auto* area = dynamic_cast<const CustomTextArea*>(section.get()); area && area->_focus) {
            input = area->_text_area;
        } else if (const auto* field = dynamic_cast<const CustomTextField*>(section.get()); field && field->_focus) {
            input = field->_textfield;
        } else {
            continue;
        }
        ui::MainQueue::asyncAfter(0.1, [input] {
            if (const auto view = input.lock()) view->becomeFirstResponder();
        });
    }
}

// --- the keyboard

double InputDialog::getFistRespoderPosition() {
    ui::View* input = active_textarea_ ? static_cast<ui::View*>(active_textarea_.get())
                                       : static_cast<ui::View*>(active_textfield_.get());
    if (!input || !view_) return 0;
    const ui::View* section = input->superview();
    if (!section) return 0;
    return view_->frame().y() + section->frame().y() + section->frame().height();
}

void InputDialog::keyboardNotification(const ui::Notification& notification) {
    if (!shown_ || closing_) return;
    const auto end = notification.userInfo.find(ui::Keyboard::kFrameEndKey);
    if (end == notification.userInfo.end()) return;
    const auto* frame = std::any_cast<ui::Rect>(&end->second);
    if (!frame) return;
    double duration = 0;
    int curve = 0;
    if (const auto it = notification.userInfo.find(ui::Keyboard::kDurationKey); it != notification.userInfo.end()) {
        if (const auto* d = std::any_cast<double>(&it->second)) duration = *d;
    }
    if (const auto it = notification.userInfo.find(ui::Keyboard::kCurveKey); it != notification.userInfo.end()) {
        if (const auto* c = std::any_cast<int>(&it->second)) curve = *c;
    }
    movePanelForKeyboard(frame->y(), duration, curve);
}

void InputDialog::movePanelForKeyboard(double keyboard_top, double duration, int curve) {
    const std::shared_ptr<ui::View> panel = view_;
    if (!panel) return;
    // The edited section's bottom as it would be with the panel at its resting place: when
    // the focus moves on while the panel is already raised, measuring from the raised panel
    // would raise it by too little (or lower it) and leave the new field under the keyboard.
    const auto restingBottom = [this, panel] { return getFistRespoderPosition() - (panel->frame().y() - y_); };
    const bool covered = getFistRespoderPosition() != 0 && restingBottom() > keyboard_top;
    const auto options = static_cast<ui::AnimationOptions>(static_cast<unsigned>(curve) << 16);
    ui::Animation::animate(duration, 0, options, [this, panel, covered, keyboard_top, restingBottom] {
        const ui::Rect frame = panel->frame();
        const double y = covered ? y_ - (restingBottom() - keyboard_top) - 5 : y_;
        panel->setFrame(ui::Rect(frame.x(), y, frame.width(), frame.height()));
    });
}

// --- validation

std::pair<bool, bool> InputDialog::checkValidations() {
    for (const auto& section : view_components_) {
        const auto* field = dynamic_cast<const CustomTextField*>(section.get());
        if (!field) continue;
        const std::string text = field->_textfield->text();
        if (field->_filemaker_validation) {
            awaiting_calculation_ = true;
            ui::NotificationCenter::defaultCenter().post(
                "evaluateCalculation", Dictionary{{"x", Value(text)}, {"calc", Value(field->_validation)}});
            return {false, false};
        }
        if (field->_validation.empty()) continue;
        const auto [compiled, found] = matches(field->_validation, text);
        if (!compiled) return {true, true};
        if (found.empty()) return {false, false};
    }
    return {true, false};
}

std::pair<bool, std::vector<std::string>> InputDialog::matches(const std::string& pattern, const std::string& text) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError{};
    const std::unique_ptr<icu::RegexPattern> compiled(
        icu::RegexPattern::compile(icu::UnicodeString::fromUTF8(pattern), 0, parseError, status));
    if (U_FAILURE(status) || !compiled) {
        Diagnostics::log(std::string("invalid regex: ") + u_errorName(status));
        return {false, {}};
    }
    const icu::UnicodeString subject = icu::UnicodeString::fromUTF8(text);
    const std::unique_ptr<icu::RegexMatcher> matcher(compiled->matcher(subject, status));
    if (U_FAILURE(status) || !matcher) {
        Diagnostics::log(std::string("invalid regex: ") + u_errorName(status));
        return {false, {}};
    }
    std::vector<std::string> found;
    // find() steps past a zero-length match by itself, so matches never overlap and the
    // loop ends.
    while (matcher->find(status) && U_SUCCESS(status)) {
        std::string piece;
        matcher->group(status).toUTF8String(piece);
        if (U_FAILURE(status)) break;
        found.push_back(std::move(piece));
    }
    return {true, std::move(found)};
}

}  // namespace brelka
