// The dialog's layout constants: every margin, spacing, height, font size and colour that the
// measuring operations, the controller and the components share. Plain compile-time values,
// usable from any thread. The double-underscore names are the dialog's own vocabulary.
#pragma once

#include <cstdint>

#include "ui/Geometry.h"

namespace brelka {

inline constexpr ui::Color __view_color = ui::Color::rgb255(237, 237, 237, 255);
inline constexpr double __left_right_margin = 16;
inline constexpr double __top_bottom_margin = 20;
inline constexpr double __component_spacing = 10;
inline constexpr double __component_horizontal_spacing = 5;
inline constexpr double __separator_default_height = 21;
inline constexpr ui::Color __separator_default_color = ui::Color::rgb255(199, 199, 199, 255);
inline constexpr double __title_default_font_size = 20;
inline constexpr double __message_default_font_size = 15;
inline constexpr double __button_default_height = 50;
inline constexpr ui::Color __button_default_title_color = ui::Color::rgb255(0, 122, 255, 255);
inline constexpr double __button_default_font_size = 18;
inline constexpr double __button_default_title_margin = 25;
inline constexpr double __radio_default_size = 22;
inline constexpr double __inside_radio_default_size = 10;
inline constexpr double __switch_default_height = 31;
inline constexpr double __switch_default_width = 51;
inline constexpr double __switch_default_font_size = 15;
inline constexpr ui::Color __switch_default_tint_color = ui::Color::rgb255(64, 155, 249, 255);
inline constexpr double __textfield_default_min_width = 150;
inline constexpr double __textfield_default_height = 30;
inline constexpr double __link_button_default_font_size = 15;
inline constexpr double __tableview_default_cell_height = 40;
inline constexpr ui::Color __tableview_default_selection_color = ui::Color::rgb255(17, 108, 214, 255);

// The font faces every dialog text is measured and drawn in.
inline constexpr const char* kRegularFontName = "Helvetica";
inline constexpr const char* kBoldFontName = "Helvetica Bold";

// Heights that grow with a line count: perLine × (lines − firstLineOffset) + base, in 64-bit
// integers. A script may ask for any count a 64-bit integer holds (2^63 − 1 lines, or a
// negative one), so the whole computation saturates: a result beyond the 64-bit range is
// clamped to its nearest end instead of wrapping around. Clamping the height is the same as
// clamping the line count to the largest count whose height still fits. Every height made from
// a line count goes through this one rule.
std::int64_t lineCountHeight(std::int64_t lines, std::int64_t perLine, std::int64_t firstLineOffset,
                             std::int64_t base);

// The text area's height: 29 points for one line and 18 more per further line (0 lines: 11).
inline std::int64_t textAreaHeightForLines(std::int64_t lines) {
    return lineCountHeight(lines, 18, 1, 29);
}
// The list's height: one row of __tableview_default_cell_height per visible line.
inline std::int64_t listHeightForLines(std::int64_t lines) { return lineCountHeight(lines, 40, 0, 0); }

}  // namespace brelka
