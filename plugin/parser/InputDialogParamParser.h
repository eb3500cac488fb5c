// InputDialogParamParser: reads the arguments of Brelka_InputDialog and fills the dialog
// controller with what they describe.
//
// The arguments arrive as the parameter dictionary of the call ("param_0", "param_1", ...):
// the prompt, the button titles (one per line), then the dialog items. An item is a text
// section whose lines are its kind keyword, its title and "key=value" option lines, followed
// by the value parameters its kind takes. Lines are separated by the carriage return.
//
// The parser has no instance state: every operation is class-level. It only reads the
// settings store, and changes the controller only through resetUIViewController, the blur
// flag, the button titles and the add-component operations.
//
// Thread: prepareComponents, setDialogButtons and _custom_view_controller run on the main
// thread, where the controller lives; the pure text operations run anywhere.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "parser/ItemOptions.h"
#include "store/Value.h"

namespace brelka {

class InputDialog;

class InputDialogParamParser {
public:
    // The one dialog controller of the process, made on first use and reused by every dialog.
    static const std::shared_ptr<InputDialog>& _custom_view_controller();

    // Empties the controller, applies blur, icon and title from the store, then adds the
    // prompt, the button titles and one component per item. false at the first error of the
    // description; what was added before it stays until the next reset.
    static bool prepareComponents(const Dictionary& parameters);
    // The same on a given controller.
    static bool prepareComponents(const Dictionary& parameters, InputDialog& controller);

    // Reads the option lines of a section given as its lines (options start at the third).
    static ItemOptions checkForMoreOptions(const std::vector<std::string>& param_section);
    // The carriage-return separated lines of a text; every piece is kept, empty ones too, so
    // the empty text is one empty line.
    static std::vector<std::string> getStringArrayFromString(std::string_view string);
    // The number of lines that are not the menu separator "-".
    static std::int64_t getMenuArrayCount(std::string_view string);
    // The initial text of a pop-up menu: a text as it is; a whole number n the n-th entry that
    // is not a separator ("" when there is none); anything else "". `object` may be null.
    static std::string getPlaceholderForMenu(const Value* object,
                                             const std::vector<std::string>& items);
    // The row of a list selected at first, from 1; 0 for none. A whole number passes unchanged;
    // a text selects the first row equal to it; anything else is 0. `object` may be null.
    static std::int64_t getDefaultValueForList(const Value* object,
                                               const std::vector<std::string>& items);
    // The visible rows of a list of `items_count` rows with the given least and most rows
    // (0 when not given).
    static std::int64_t getListLinesCount(std::int64_t items_count, std::int64_t min_lines,
                                          std::int64_t max_lines);
    // Appends the button titles, one per non-empty line, to the controller's button names;
    // the empty text stands for "OK" and "Cancel".
    static void setDialogButtons(std::string_view buttons);
    static void setDialogButtons(std::string_view buttons, InputDialog& controller);

    // Whether a link's URL line is a URI reference: non-empty and well-formed.
    static bool isURL(std::string_view text);
};

}  // namespace brelka
