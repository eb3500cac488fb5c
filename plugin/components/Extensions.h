// The text operations shared by the parser and the result collection: reading a yes/no
// option, and replacing the last occurrence of a text. Pure functions; any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brelka {

// "True", "true", "yes", "1" give true; "False", "false", "no", "0" give false; every other
// text (case-sensitive, the whole text) gives nothing.
std::optional<bool> toBool(std::string_view text);

// The text with the last occurrence of `search` replaced by `replacement`; letter case is
// ignored (Unicode simple case folding) when `caseInsensitive` is true. The text unchanged when
// `search` is empty or does not occur. Texts are UTF-8; invalid bytes only ever match
// themselves.
std::string replacingLastOccurrenceOfString(std::string_view text, std::string_view search,
                                            std::string_view replacement,
                                            bool caseInsensitive = true);

}  // namespace brelka
