// The kinds of dialog item a description can name, with the keyword that names each. An item
// section's first line is compared, lower-cased, with the lower-cased keywords in the order of
// `allSupportedTypes`; the first match decides the kind.
#pragma once

#include <array>
#include <string_view>

namespace brelka {

enum class supported_types {
    textfield,
    passwordfield,
    checkbox,
    radiobutton,
    menu,
    list,
    textarea,
    caption,
    separator,
    image,
    link,
};

// The keyword of a kind, as scripts write it.
constexpr std::string_view rawValue(supported_types type) {
    switch (type) {
    case supported_types::textfield: return "text";
    case supported_types::passwordfield: return "password";
    case supported_types::checkbox: return "checkbox";
    case supported_types::radiobutton: return "radio";
    case supported_types::menu: return "menu";
    case supported_types::list: return "list";
    case supported_types::textarea: return "textArea";
    case supported_types::caption: return "caption";
    case supported_types::separator: return "separator";
    case supported_types::image: return "image";
    case supported_types::link: return "link";
    }
    return "";
}

// Every kind, in the order in which a section's first line is matched against them.
inline constexpr std::array<supported_types, 11> allSupportedTypes = {
    supported_types::textfield, supported_types::passwordfield, supported_types::checkbox,
    supported_types::radiobutton, supported_types::menu,        supported_types::list,
    supported_types::textarea,  supported_types::caption,       supported_types::separator,
    supported_types::image,     supported_types::link,
};

}  // namespace brelka
