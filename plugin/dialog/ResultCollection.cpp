// What a closed dialog leaves in the store: a value and a display text per counted section,
// both lists joined, and where the panel stood.
#include <string>

#include "components/CustomCaption.h"
#include "components/CustomCheckbox.h"
#include "components/CustomImage.h"
#include "components/CustomLinkButton.h"
#include "components/CustomList.h"
#include "components/CustomMenu.h"
#include "components/CustomRadioButton.h"
#include "components/CustomSeparator.h"
#include "components/CustomTextArea.h"
#include "components/CustomTextField.h"
#include "dialog/InputDialog.h"
#include "host/Diagnostics.h"
#include "store/Config.h"
#include "store/Plugin.h"

namespace brelka {

namespace {

struct Collected {
    std::string value;
    std::string text;
};

// The value and display text of a section; nothing for sections that are not counted.
std::optional<Collected> collect(const ui::View* section) {
    if (const auto* c = dynamic_cast<const CustomCheckbox*>(section)) return Collected{c->getValue(), c->getValue()};
    if (const auto* r = dynamic_cast<const CustomRadioButton*>(section)) return Collected{r->getValue(), r->getValue()};
    if (const auto* f = dynamic_cast<const CustomTextField*>(section)) {
        const std::string text = f->_textfield->text();
        return Collected{text, text};
    }
    if (const auto* a = dynamic_cast<const CustomTextArea*>(section)) {
        const std::string text = a->_text_area->text();
        return Collected{text, text};
    }
    if (const auto* m = dynamic_cast<const CustomMenu*>(section)) return Collected{m->getValue(), m->getText()};
    if (const auto* l = dynamic_cast<const CustomList*>(section)) return Collected{l->getValue(), l->getText()};
    if (dynamic_cast<const CustomImage*>(section) || dynamic_cast<const CustomCaption*>(section) ||
        dynamic_cast<const CustomSeparator*>(section) || dynamic_cast<const CustomLinkButton*>(section))
        return Collected{};
    return std::nullopt;
}

}  // namespace

void InputDialog::prepareGetSetDirectory() {
    std::string allValues;
    std::string allText;
    Dictionary entries;
    std::size_t number = 1;
    for (const auto& section : view_components_) {
        std::optional<Collected> item = collect(section.get());
        if (!item) continue;
        const std::string n = std::to_string(number);
        if (dynamic_cast<const CustomMenu*>(section.get()) && Diagnostics::enabled()) {
            std::string line = "value_" + n + " = ";
            appendForLog(line, item->value);
            line += " text_" + n + " = ";
            appendForLog(line, item->text);
            Diagnostics::log(line);
        }
        allValues += item->value;
        allValues += PARAMETER_DELIMITER;
        allText += item->text;
        allText += PARAMETER_DELIMITER;
        entries.insert_or_assign(std::string(kValueEntryPrefix) + n, Value(std::move(item->value)));
        entries.insert_or_assign(std::string(kTextEntryPrefix) + n, Value(std::move(item->text)));
        ++number;
    }
    if (!allValues.empty()) allValues.pop_back();
    if (!allText.empty()) allText.pop_back();
    entries.insert_or_assign(std::string(CFG::dialog_all_values), Value(std::move(allValues)));
    entries.insert_or_assign(std::string(CFG::dialog_all_text), Value(std::move(allText)));

    const ui::Rect frame = view_ ? view_->frame() : ui::Rect{};
    entries.insert_or_assign(std::string(CFG::last_dialog_position),
                             Value(numberWithFraction(frame.x()) + std::string(PARAMETER_DELIMITER) +
                                   numberWithFraction(frame.y())));

    Plugin::modify_get_set_dictionary([&entries](Dictionary& store) {
        for (auto& [key, value] : entries) store.insert_or_assign(key, std::move(value));
    });
    Plugin::saveGetSetDictionary();
}

}  // namespace brelka
