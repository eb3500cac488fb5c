// A modal alert: a title, a message and buttons (actions), drawn as a box in the middle of
// the screen over a dimmed backdrop. A tap on a button dismisses the alert, then runs that
// action's handler. Presented like any view controller. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/ViewController.h"

namespace ui {

class Button;

enum class AlertActionStyle { defaultStyle, cancel, destructive };

struct AlertAction {
    std::string title;
    AlertActionStyle style = AlertActionStyle::defaultStyle;
    std::function<void()> handler;  // may be empty
};

class AlertController : public ViewController {
public:
    static constexpr double kWidth = 270;

    AlertController(std::string title, std::string message);

    const std::string& title() const { return title_; }
    const std::string& message() const { return message_; }
    void addAction(AlertAction action);
    const std::vector<AlertAction>& actions() const { return actions_; }
    // The button drawn for action `index` (valid once the view is loaded), or nullptr.
    Button* buttonForAction(std::size_t index) const;

    void loadView() override;

private:
    void tapped(std::size_t index);

    std::string title_;
    std::string message_;
    std::vector<AlertAction> actions_;
    std::vector<std::shared_ptr<Button>> buttons_;
};

}  // namespace ui
