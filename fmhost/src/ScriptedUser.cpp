#include "ScriptedUser.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <ostream>
#include <utility>

#include <nlohmann/json.hpp>

#include "ui/AlertController.h"
#include "ui/Button.h"
#include "ui/Keyboard.h"
#include "ui/Label.h"
#include "ui/Renderer.h"
#include "ui/RunLoop.h"
#include "ui/Switch.h"
#include "ui/TableView.h"
#include "ui/TableViewCell.h"
#include "ui/TextField.h"
#include "ui/TextView.h"
#include "ui/ViewController.h"
#include "ui/VirtualClock.h"
#include "ui/Window.h"

namespace fmhost {

namespace {

// A view as the user sees it: its rectangle in window coordinates, cut by the ancestors that
// clip (a list row scrolled out of sight has nothing left).
struct Visible {
    ui::View* view;
    ui::Rect rect;
};

ui::Rect intersection(const ui::Rect& a, const ui::Rect& b) {
    const double x0 = std::max(a.minX(), b.minX()), y0 = std::max(a.minY(), b.minY());
    const double x1 = std::min(a.maxX(), b.maxX()), y1 = std::min(a.maxY(), b.maxY());
    if (x1 <= x0 || y1 <= y0) return ui::Rect(x0, y0, 0, 0);
    return ui::Rect(x0, y0, x1 - x0, y1 - y0);
}

bool isEmpty(const ui::Rect& r) { return r.width() <= 0 || r.height() <= 0; }

void collect(ui::View& view, ui::Rect clip, std::vector<Visible>& out) {
    if (view.isHidden() || view.alpha() < 0.01) return;
    const ui::Rect rect = view.convert(view.bounds(), nullptr);
    const ui::Rect seen = intersection(rect, clip);
    if (!isEmpty(seen)) out.push_back({&view, seen});
    if (view.clipsToBounds()) clip = seen;
    if (isEmpty(clip)) return;
    for (const auto& child : view.subviews()) collect(*child, clip, out);
}

// Everything visible under `root`, top to bottom and left to right.
std::vector<Visible> visibleViews(ui::View& root, const ui::Rect& screen) {
    std::vector<Visible> all;
    collect(root, screen, all);
    std::stable_sort(all.begin(), all.end(), [](const Visible& a, const Visible& b) {
        const double ay = std::round(a.rect.minY()), by = std::round(b.rect.minY());
        return ay != by ? ay < by : a.rect.minX() < b.rect.minX();
    });
    return all;
}

// The text a view shows, for matching targets: a button's title or a label's text.
std::optional<std::string> shownText(const ui::View& view) {
    if (const auto* button = dynamic_cast<const ui::Button*>(&view)) {
        if (auto attributed = button->currentAttributedTitle()) return attributed->string();
        return button->currentTitle();
    }
    if (const auto* label = dynamic_cast<const ui::Label*>(&view)) return label->text();
    return std::nullopt;
}

bool isTextInput(const ui::View& view) {
    return dynamic_cast<const ui::TextField*>(&view) || dynamic_cast<const ui::TextView*>(&view);
}

std::string withoutLeadingSpaces(const std::string& s) {
    const size_t start = s.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : s.substr(start);
}

void collectTables(ui::View& view, std::vector<ui::TableView*>& out) {
    if (view.isHidden() || view.alpha() < 0.01) return;
    if (auto* table = dynamic_cast<ui::TableView*>(&view)) out.push_back(table);
    for (const auto& child : view.subviews()) collectTables(*child, out);
}

nlohmann::ordered_json frameOf(const ui::Rect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

bool isBold(const ui::Button& button) {
    if (auto attributed = button.currentAttributedTitle()) {
        for (const auto& run : attributed->runs)
            if (run.font.name.find("Bold") != std::string::npos) return true;
        return false;
    }
    return button.titleFont().name.find("Bold") != std::string::npos;
}

std::string printable(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\r' || c == '\n')
            out += "\xC2\xB6";
        else if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else
            out += c;
    }
    return out + "\"";
}

}  // namespace

ScriptedUser::ScriptedUser(ui::Window* window, Settings settings, ActionQueue& actions, std::ostream& out,
                           std::ostream& err)
    : window_(window), settings_(std::move(settings)), actions_(actions), out_(out), err_(err) {}

bool ScriptedUser::dialogOnScreen() const {
    return window_ && window_->rootViewController() && window_->rootViewController()->presentedViewController();
}

int ScriptedUser::run(const std::atomic<bool>& finished) {
    ui::RunLoop& loop = ui::RunLoop::main();
    bool dialogSeen = false;
    while (true) {
        // A dialog may have left the screen during the last step (an action closes it at
        // once); note it before anything else runs, as the next dialog may follow at once.
        if (dialogSeen && !dialogOnScreen()) {
            dialogClosed();
            dialogSeen = false;
        }
        // Run what is due, but stop where a dialog comes or goes, so that a dialog closed and
        // the next one opened in quick succession are seen as two.
        const bool wasOnScreen = dialogOnScreen();
        loop.run([&] { return dialogOnScreen() != wasOnScreen; }, 0.0);
        if (!dialogOnScreen()) {
            if (dialogSeen) dialogClosed();
            dialogSeen = false;
            if (finished.load() && loop.isIdle()) return 0;
            // The calculation thread is working, or waits for work still to come here (a
            // dialog's closing transition): give it a moment, then let simulated time move
            // on to the next timer, since nobody is looking at the screen.
            if (loop.waitForWork(0.01) || finished.load()) continue;
            if (auto due = loop.nextDueTime()) passTime(std::max(0.0, *due - loop.now()));
            continue;
        }
        if (!dialogSeen) {
            dialogSeen = true;
            dialogAppeared();
            continue;
        }
        if (auto entry = actions_.take()) {
            // A person takes a moment before each action; what is due meanwhile happens first.
            passTime(settings_.thinkSeconds);
            if (!dialogOnScreen()) {
                // The dialog closed by itself meanwhile; the action is left over from its call,
                // which the calculation thread reports when the call returns.
                actions_.putBack();
                continue;
            }
            try {
                perform(*entry);
                // Done before the loop runs what the action set off, such as the closing that
                // lets the call return.
                actions_.done();
            } catch (const std::exception& e) {
                err_ << "fmhost: " << entry->origin << ": " << entry->action.source() << " cannot be carried out: "
                     << e.what() << std::endl;
                return 3;
            }
            continue;
        }
        // Nothing left for the user to do: time runs on to whatever closes the dialog.
        if (auto due = loop.nextDueTime()) {
            passTime(std::max(0.0, *due - loop.now()));
            continue;
        }
        for (const auto& entry : takeLeftOver())
            err_ << "fmhost: " << entry.origin << ": " << entry.action.source()
                 << " was left over when the previous dialog closed" << std::endl;
        err_ << "fmhost: a dialog is still open, with no user action and no automatic close left; on screen: "
             << targetsOnScreen() << std::endl;
        return 3;
    }
}

bool ScriptedUser::passTime(double seconds) {
    ui::RunLoop& loop = ui::RunLoop::main();
    const bool wasOnScreen = dialogOnScreen();
    const auto changed = [&] { return dialogOnScreen() != wasOnScreen; };
    auto* clock = dynamic_cast<ui::VirtualClock*>(&loop.clock());
    if (!clock) {
        // On the real clock time passes by itself.
        loop.run(changed, seconds);
        return !changed();
    }
    const double target = loop.now() + seconds;
    // Step from one due time to the next, running what falls due at each, rather than
    // advancing in one go: a closing dialog lets the calculation thread open the next one at
    // once, and the loop must see the screen between the two.
    while (true) {
        loop.run(changed, 0.0);
        if (changed()) return false;
        const auto next = loop.nextDueTime();
        if (!next || *next > target) {
            clock->advanceTo(target);
            loop.run(changed, 0.0);
            return !changed();
        }
        clock->advanceTo(*next);
    }
}

void ScriptedUser::dialogClosed() {
    auto rest = actions_.drain();
    if (rest.empty()) return;
    std::lock_guard lock(leftOverMutex_);
    leftOver_.insert(leftOver_.end(), std::make_move_iterator(rest.begin()), std::make_move_iterator(rest.end()));
}

std::vector<ActionQueue::Entry> ScriptedUser::takeLeftOver() {
    std::lock_guard lock(leftOverMutex_);
    return std::exchange(leftOver_, {});
}

void ScriptedUser::dialogAppeared() {
    // The presentation takes its transition; the dialog has appeared when that is over.
    passTime(ui::ViewController::kTransitionDuration);
    const int n = ++shown_;
    if (settings_.snapshotDir.empty() || !dialogOnScreen()) return;
    const auto path = std::filesystem::path(settings_.snapshotDir) / ("dialog-" + std::to_string(n) + ".png");
    try {
        snapshot(path.string());
    } catch (const std::exception& e) {
        err_ << "fmhost: cannot write the snapshot " << path.string() << ": " << e.what() << std::endl;
    }
}

void ScriptedUser::perform(const ActionQueue::Entry& entry) {
    const Action& action = entry.action;
    const auto& args = action.arguments();
    switch (action.kind()) {
    case Action::Kind::tap:
        tapText(args[0]);
        break;
    case Action::Kind::type:
        typeInto(action);
        break;
    case Action::Kind::returnKey:
        if (!ui::Keyboard::shared().pressReturn()) throw ActionError("no input is being edited");
        break;
    case Action::Kind::toggle:
        toggle(args[0]);
        break;
    case Action::Kind::alert:
        alert(args[0]);
        break;
    case Action::Kind::wait:
        // Waiting is carried out as soon as it starts: a dialog that closes meanwhile does
        // not leave it over.
        actions_.done();
        passTime(action.seconds());
        break;
    case Action::Kind::snapshot:
        snapshot(args[0]);
        break;
    case Action::Kind::tapOutside:
        tapOutside();
        break;
    case Action::Kind::select:
        select(args[0], args[1]);
        break;
    case Action::Kind::tapPanel:
        tapPanel();
        break;
    case Action::Kind::dump:
        out_ << dump() << std::endl;
        break;
    }
}

void ScriptedUser::tap(ui::View& view) {
    const ui::Rect rect = view.convert(view.bounds(), nullptr);
    const ui::Point p{rect.midX(), rect.midY()};
    window_->sendTouch(ui::TouchPhase::began, p);
    window_->sendTouch(ui::TouchPhase::ended, p);
}

void ScriptedUser::tapOutside() {
    // Outside the panel is where a tap lands on something that spans the screen (the
    // dialog's backdrop or its root view) rather than on the panel or what it holds. Try the
    // corners and the middles of the edges, as a person reaches for an empty part of the screen.
    const ui::Rect screen = window_->bounds();
    const double inset = 2;
    const std::vector<ui::Point> candidates = {
        {screen.minX() + inset, screen.minY() + inset}, {screen.maxX() - inset, screen.minY() + inset},
        {screen.minX() + inset, screen.maxY() - inset}, {screen.maxX() - inset, screen.maxY() - inset},
        {screen.midX(), screen.minY() + inset},         {screen.midX(), screen.maxY() - inset},
        {screen.minX() + inset, screen.midY()},         {screen.maxX() - inset, screen.midY()},
    };
    for (const ui::Point& p : candidates) {
        ui::View* hit = window_->hitTest(p);
        if (!hit) continue;
        const ui::Rect rect = hit->convert(hit->bounds(), nullptr);
        if (rect.width() * rect.height() < 0.9 * screen.width() * screen.height()) continue;
        window_->sendTouch(ui::TouchPhase::began, p);
        window_->sendTouch(ui::TouchPhase::ended, p);
        return;
    }
    throw ActionError("the dialog covers the whole screen; there is no place outside it to tap");
}

std::vector<ui::View*> ScriptedUser::sections() const {
    std::vector<ui::View*> found;
    if (!dialogOnScreen()) return found;
    // Depth first in tree order, which is the order the dialog added them; a section's own
    // inner views are part of it.
    std::vector<ui::View*> stack{&window_->rootViewController()->presentedViewController()->view()};
    while (!stack.empty()) {
        ui::View* view = stack.back();
        stack.pop_back();
        if (!view->inspect().empty()) {
            found.push_back(view);
            continue;
        }
        const auto& children = view->subviews();
        for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back(it->get());
    }
    return found;
}

ui::View* ScriptedUser::panel() const {
    const auto all = sections();
    return all.empty() ? nullptr : all.front()->superview();
}

void ScriptedUser::tapPanel() {
    ui::View* box = panel();
    if (!box) throw ActionError("the dialog shows no panel with sections");
    const ui::Rect rect = box->convert(box->bounds(), nullptr);
    const auto parts = sections();
    // An empty spot: a point of the panel that no section and no control covers.
    for (double y = rect.minY() + 2; y < rect.maxY() - 1; y += 4) {
        for (double x = rect.minX() + 2; x < rect.maxX() - 1; x += 4) {
            const ui::Point p{x, y};
            ui::View* hit = window_->hitTest(p);
            if (!hit || !(hit == box || hit->isDescendantOf(box))) continue;
            if (dynamic_cast<ui::Control*>(hit) || hit->acceptsTouches()) continue;
            bool inSection = false;
            for (ui::View* section : parts)
                if (hit == section || hit->isDescendantOf(section)) inSection = true;
            if (inSection) continue;
            window_->sendTouch(ui::TouchPhase::began, p);
            window_->sendTouch(ui::TouchPhase::ended, p);
            return;
        }
    }
    throw ActionError("the panel has no empty spot to tap");
}

void ScriptedUser::select(const std::string& title, const std::string& entry) {
    ui::View* section = sectionShowing(title);
    if (!section) {
        // A component that does not describe itself: the view holding a label that shows T.
        for (const auto& v : visibleViews(window_->topViewController()->view(), window_->bounds()))
            if (!section && dynamic_cast<ui::Label*>(v.view) && shownText(*v.view) == title)
                section = v.view->superview();
    }
    if (!section) throw ActionError("no pop-up menu or list titled " + printable(title) + "; on screen: " + targetsOnScreen());

    std::vector<ui::TableView*> tables;
    collectTables(*section, tables);
    if (tables.empty()) {
        // A pop-up menu: its button opens the list of entries.
        ui::Button* opener = nullptr;
        std::vector<ui::View*> stack{section};
        while (!stack.empty() && !opener) {
            ui::View* view = stack.back();
            stack.pop_back();
            opener = dynamic_cast<ui::Button*>(view);
            for (const auto& child : view->subviews()) stack.push_back(child.get());
        }
        if (!opener) throw ActionError(printable(title) + " is neither a pop-up menu nor a list");
        // The opened menu is the list that was not on screen before the tap: the dialog may
        // hold lists of its own that come earlier in the tree.
        std::vector<ui::TableView*> before;
        collectTables(window_->topViewController()->view(), before);
        tap(*opener);
        ui::RunLoop::main().runUntilIdle();
        std::vector<ui::TableView*> after;
        collectTables(window_->topViewController()->view(), after);
        for (ui::TableView* table : after)
            if (std::find(before.begin(), before.end(), table) == before.end()) tables.push_back(table);
        if (tables.empty()) throw ActionError("the menu " + printable(title) + " did not open");
    }
    std::vector<std::string> entries;
    if (tapRow(*tables.front(), entry, &entries)) return;
    std::string list;
    for (const auto& e : entries) list += (list.empty() ? "" : ", ") + e;
    throw ActionError(printable(title) + " has no entry " + printable(entry) + "; its entries: " + list);
}

std::string ScriptedUser::dump() const {
    using nlohmann::ordered_json;
    const ui::Rect screen = window_->bounds();
    ordered_json d;
    d["screen"] = {screen.width(), screen.height()};
    ui::View* box = panel();
    d["panel"] = box ? frameOf(box->convert(box->bounds(), nullptr)) : ordered_json(nullptr);
    const auto keyboard = ui::Keyboard::shared().frame();
    d["keyboard"] = keyboard ? frameOf(*keyboard) : ordered_json(nullptr);

    const auto parts = sections();
    ordered_json list = ordered_json::array();
    auto* editingView = dynamic_cast<ui::View*>(ui::Responder::current());
    ordered_json editing = nullptr;
    for (size_t i = 0; i < parts.size(); ++i) {
        ui::View* section = parts[i];
        const ui::Inspection inspection = section->inspect();
        ordered_json entry;
        entry["class"] = inspection.className;
        entry["frame"] = frameOf(box ? section->convert(section->bounds(), box) : section->frame());
        ordered_json texts = ordered_json::object();
        for (const auto& [role, text] : inspection.texts) texts[role] = text;
        entry["texts"] = texts;
        if (inspection.value) entry["value"] = *inspection.value;
        if (inspection.display) entry["display"] = *inspection.display;
        list.push_back(entry);
        if (editingView && (editingView == section || editingView->isDescendantOf(section))) editing = i;
    }
    d["sections"] = list;

    // The button bar: the panel's buttons that belong to no section.
    ordered_json buttons = ordered_json::array();
    if (box) {
        std::vector<ui::View*> stack{box};
        std::vector<ui::Button*> found;
        while (!stack.empty()) {
            ui::View* view = stack.back();
            stack.pop_back();
            if (std::find(parts.begin(), parts.end(), view) != parts.end()) continue;
            if (auto* button = dynamic_cast<ui::Button*>(view)) found.push_back(button);
            const auto& children = view->subviews();
            for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back(it->get());
        }
        for (ui::Button* button : found) {
            ordered_json b;
            b["title"] = shownText(*button).value_or("");
            b["frame"] = frameOf(button->frame());
            b["tag"] = button->tag();
            b["bold"] = isBold(*button);
            buttons.push_back(b);
        }
    }
    d["buttons"] = buttons;
    d["editing"] = editing;
    if (auto* alert = dynamic_cast<ui::AlertController*>(window_->topViewController()))
        d["alert"] = {{"title", alert->title()}, {"message", alert->message()}};
    else
        d["alert"] = nullptr;
    ordered_json line;
    line["dump"] = d;
    return line.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

void ScriptedUser::tapText(const std::string& text) {
    ui::View& root = window_->topViewController()->view();
    const auto views = visibleViews(root, window_->bounds());
    // A menu's button shows its choice after some spaces; the target is the choice itself.
    const auto shows = [&](ui::View& view) {
        auto shown = shownText(view);
        return shown && withoutLeadingSpaces(*shown) == text;
    };
    // Buttons first (the button bar), then whatever else shows the text, in reading order.
    const Visible* target = nullptr;
    for (const auto& v : views)
        if (!target && dynamic_cast<ui::Button*>(v.view) && shows(*v.view)) target = &v;
    if (!target) {
        // A radio button's text is its description beside the circle, and only the circle
        // takes a tap: a person aiming at the description hits the circle next to it.
        for (ui::View* section : sections()) {
            const ui::Inspection inspection = section->inspect();
            if (inspection.className != "CustomRadioButton") continue;
            bool described = false;
            for (const auto& [role, shown] : inspection.texts) described = described || shown == text;
            if (!described) continue;
            for (const auto& v : visibleViews(*section, window_->bounds())) {
                if (dynamic_cast<ui::Control*>(v.view)) {
                    tap(*v.view);
                    return;
                }
            }
        }
    }
    for (const auto& v : views)
        if (!target && shows(*v.view)) target = &v;
    if (target) {
        const ui::Point p{target->rect.midX(), target->rect.midY()};
        window_->sendTouch(ui::TouchPhase::began, p);
        window_->sendTouch(ui::TouchPhase::ended, p);
        return;
    }
    // An entry of an open list may be out of sight: scroll it into view, as a person would.
    std::vector<ui::TableView*> tables;
    collectTables(root, tables);
    for (ui::TableView* table : tables)
        if (tapRow(*table, text)) return;
    throw ActionError("nothing on screen shows " + printable(text) + "; on screen: " + targetsOnScreen());
}

bool ScriptedUser::tapRow(ui::TableView& table, const std::string& entry, std::vector<std::string>* seen) {
    const int rows = table.numberOfRows();
    for (int row = 0; row < rows; ++row) {
        table.scrollToRow(row);
        table.layoutIfNeeded();
        ui::TableViewCell* cell = table.cellForRow(row);
        if (!cell) continue;
        const std::string text = withoutLeadingSpaces(cell->textLabel().text());
        // Separator rows are never targets.
        if (text == "-") continue;
        if (text == entry) {
            tap(*cell);
            return true;
        }
        if (seen && seen->size() < 20) seen->push_back(printable(text));
    }
    return false;
}

// The section that shows `text` among its own texts, in order, or nullptr.
ui::View* ScriptedUser::sectionShowing(const std::string& text) const {
    for (ui::View* section : sections())
        for (const auto& [role, shown] : section->inspect().texts)
            if (withoutLeadingSpaces(shown) == text) return section;
    return nullptr;
}

void ScriptedUser::typeInto(const Action& action) {
    ui::View& root = window_->topViewController()->view();
    const auto views = visibleViews(root, window_->bounds());
    ui::View* input = nullptr;
    if (auto index = action.inputIndex()) {
        int n = 0;
        for (const auto& v : views)
            if (!input && isTextInput(*v.view) && ++n == *index) input = v.view;
        if (!input)
            throw ActionError("there " + std::string(n == 1 ? "is " : "are ") + std::to_string(n) +
                              " text input" + (n == 1 ? "" : "s") + " on screen, not " + std::to_string(*index));
    } else {
        // The input titled T: the text input of the section that shows T, or else the first
        // input after a label that shows T.
        const std::string& title = action.arguments()[0];
        if (ui::View* section = sectionShowing(title)) {
            for (const auto& v : visibleViews(*section, window_->bounds()))
                if (!input && isTextInput(*v.view)) input = v.view;
        }
        bool afterTitle = false;
        for (const auto& v : views) {
            if (input) break;
            if (afterTitle && isTextInput(*v.view)) input = v.view;
            if (dynamic_cast<ui::Label*>(v.view) && shownText(*v.view) == title) afterTitle = true;
            if (auto* field = dynamic_cast<ui::TextField*>(v.view); field && field->placeholder() == title)
                input = field;
        }
        if (!input)
            throw ActionError("no text input titled " + printable(title) + "; on screen: " + targetsOnScreen());
    }
    tap(*input);
    ui::RunLoop::main().runUntilIdle();
    auto* responder = dynamic_cast<ui::Responder*>(input);
    if (!responder || !responder->isFirstResponder()) throw ActionError("the input does not take the focus");

    ui::Keyboard& keyboard = ui::Keyboard::shared();
    const auto currentText = [&] {
        if (auto* field = dynamic_cast<ui::TextField*>(input)) return field->text();
        return static_cast<ui::TextView*>(input)->text();
    };
    // Replacing the content as a person does: delete it, then type.
    for (size_t guard = currentText().size() + 1; !currentText().empty() && guard > 0; --guard)
        keyboard.deleteBackward();
    std::string text = action.arguments()[1];
    if (dynamic_cast<ui::TextView*>(input)) std::replace(text.begin(), text.end(), '\r', '\n');
    if (!text.empty() && !keyboard.type(text)) throw ActionError("the input does not take text");
}

void ScriptedUser::toggle(const std::string& description) {
    // A check box section: its switch, else the control that draws its box.
    if (ui::View* section = sectionShowing(description)) {
        const auto inside = visibleViews(*section, window_->bounds());
        for (const auto& v : inside) {
            if (dynamic_cast<ui::Switch*>(v.view)) {
                tap(*v.view);
                return;
            }
        }
        for (const auto& v : inside) {
            if (dynamic_cast<ui::Control*>(v.view)) {
                tap(*v.view);
                return;
            }
        }
        throw ActionError(printable(description) + " is not a check box");
    }
    ui::View& root = window_->topViewController()->view();
    const auto views = visibleViews(root, window_->bounds());
    for (const auto& v : views) {
        if (!dynamic_cast<ui::Label*>(v.view) || shownText(*v.view) != description) continue;
        // The check box is the switch beside its description.
        ui::View* best = nullptr;
        double bestDistance = 0;
        for (const auto& s : views) {
            if (!dynamic_cast<ui::Switch*>(s.view) || s.view->superview() != v.view->superview()) continue;
            const double d = std::hypot(s.rect.midX() - v.rect.midX(), s.rect.midY() - v.rect.midY());
            if (!best || d < bestDistance) best = s.view, bestDistance = d;
        }
        if (!best) throw ActionError("no check box beside " + printable(description));
        tap(*best);
        return;
    }
    throw ActionError("no check box described " + printable(description) + "; on screen: " + targetsOnScreen());
}

void ScriptedUser::alert(const std::string& button) {
    auto* alert = dynamic_cast<ui::AlertController*>(window_->topViewController());
    if (!alert) throw ActionError("no alert is shown");
    std::string titles;
    for (size_t i = 0; i < alert->actions().size(); ++i) {
        if (alert->actions()[i].title == button) {
            ui::Button* b = alert->buttonForAction(i);
            if (!b) throw ActionError("the alert's button " + printable(button) + " is not drawn");
            tap(*b);
            return;
        }
        titles += (titles.empty() ? "" : ", ") + printable(alert->actions()[i].title);
    }
    throw ActionError("the alert " + printable(alert->title()) + " has no button " + printable(button) +
                      "; its buttons: " + titles);
}

void ScriptedUser::snapshot(const std::string& path) {
    if (!window_) throw ActionError("there is no window to draw");
    // A picture asked for under a folder that does not exist yet gets the folder, as a
    // person saving a file would expect.
    const auto parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) {
        std::error_code error;
        std::filesystem::create_directories(parent, error);
        if (error) throw ActionError("cannot create the folder " + parent.string() + ": " + error.message());
    }
    ui::Renderer::writePng(*window_, path);
}

std::string ScriptedUser::targetsOnScreen() const {
    if (!window_ || !window_->topViewController()) return "nothing";
    std::string list;
    for (const auto& v : visibleViews(window_->topViewController()->view(), window_->bounds())) {
        auto text = shownText(*v.view);
        if (!text || text->empty()) continue;
        list += (list.empty() ? "" : ", ") + printable(*text);
    }
    return list.empty() ? "no texts" : list;
}

}  // namespace fmhost
