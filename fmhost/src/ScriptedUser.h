// The simulated user of a scripted run, and the main thread's loop while the run lasts: it
// runs the toolkit's work, moves simulated time on whenever the calculation thread waits for
// the screen, and carries out the queued actions on the dialog shown over the key window.
// Created and run on the main thread; dialogsShown() may be read from any thread.
#pragma once

#include <atomic>
#include <iosfwd>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "ActionQueue.h"

namespace ui {
class TableView;
class View;
class Window;
}  // namespace ui

namespace fmhost {

// An action that cannot be carried out; the message says why and what is on screen.
class ActionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ScriptedUser {
public:
    struct Settings {
        double thinkSeconds = 0.5;
        std::string snapshotDir;  // empty: no snapshot per dialog
    };

    // `window` may be null (no key window): then no dialog can be shown. `@dump` lines go to
    // `out`, messages to `err`.
    ScriptedUser(ui::Window* window, Settings settings, ActionQueue& actions, std::ostream& out, std::ostream& err);

    // Runs the main loop until `finished` holds and nothing is left to do. Answers 0, or 3
    // when the run cannot go on (an action that cannot be carried out, or a dialog that stays
    // open with nothing left to close it); the message is written then.
    int run(const std::atomic<bool>& finished);

    // How many dialogs have been shown so far.
    int dialogsShown() const { return shown_.load(); }
    // The actions still queued when a dialog closed: they belonged to its call and can no
    // longer be carried out. Taken by the calculation thread once the call has returned.
    std::vector<ActionQueue::Entry> takeLeftOver();

private:
    bool dialogOnScreen() const;
    // Lets `seconds` of simulated time pass, running what falls due in time order, but stops
    // early where a dialog comes or goes. Answers whether the whole time passed.
    bool passTime(double seconds);
    // A dialog left the screen: whatever is still queued was meant for it.
    void dialogClosed();
    void dialogAppeared();
    void perform(const ActionQueue::Entry& entry);
    void tap(ui::View& view);
    void tapText(const std::string& text);
    void tapOutside();
    void tapPanel();
    // Scrolls to and taps the row showing `entry`; answers false when there is none (and lists
    // the rows it saw in `seen`).
    bool tapRow(ui::TableView& table, const std::string& entry, std::vector<std::string>* seen = nullptr);
    ui::View* sectionShowing(const std::string& text) const;
    void select(const std::string& title, const std::string& entry);
    // One line {"dump": {...}} describing the dialog on screen.
    std::string dump() const;
    // The dialog's sections (the views that describe themselves), in order, and its panel.
    std::vector<ui::View*> sections() const;
    ui::View* panel() const;
    void typeInto(const Action& action);
    void toggle(const std::string& description);
    void alert(const std::string& button);
    void snapshot(const std::string& path);
    // The visible texts that actions can aim at, for messages.
    std::string targetsOnScreen() const;

    ui::Window* window_;
    Settings settings_;
    ActionQueue& actions_;
    std::ostream& out_;
    std::ostream& err_;
    std::atomic<int> shown_{0};
    std::mutex leftOverMutex_;
    std::vector<ActionQueue::Entry> leftOver_;
};

}  // namespace fmhost
