// Character-level editing of UTF-8 text for the text inputs: what one press of backspace
// removes and how many characters a secure field masks. A character is a grapheme cluster,
// so an accented letter or an emoji with modifiers goes as a whole.
#pragma once

#include <string>
#include <string_view>

namespace ui::detail {

// Removes the last grapheme cluster; nothing happens to an empty text.
void removeLastCharacter(std::string& text);
std::size_t characterCount(std::string_view text);

}  // namespace ui::detail
