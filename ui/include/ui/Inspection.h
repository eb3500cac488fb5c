// What a view tells a reader of the tree (a host's dump, a test) about itself, without the
// reader knowing the view's class: a class name, its visible texts by role, and for inputs the
// value and display text they would hand back. A plain view says nothing (empty className).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ui {

struct Inspection {
    std::string className;  // empty: nothing to report
    std::vector<std::pair<std::string, std::string>> texts;  // (role, text), in reading order
    std::optional<std::string> value;
    std::optional<std::string> display;

    bool empty() const { return className.empty(); }
};

}  // namespace ui
