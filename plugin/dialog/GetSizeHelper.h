// GetSizeHelper: the measuring operations of the dialog. For each kind of section, the
// smallest size in which its texts fit on one line (or wrap, for the message and caption
// descriptions), computed from the layout constants and the measured texts. Texts are
// measured with the real "Helvetica" and "Helvetica Bold" faces; the wrap width comes from the
// main screen's width at the moment of the call. Nothing here changes any state.
//
// Thread: main thread (the dialog measures there); the operations themselves are reentrant.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/Value.h"

namespace brelka {

class GetSizeHelper {
public:
    struct Size {
        double width = 0;
        double height = 0;
    };
    struct CaptionSize {
        double title_width = 0;
        double total_width = 0;
        double title_height = 0;
        double description_height = 0;
    };
    struct TitledSize {
        double title_width = 0;
        double total_width = 0;
        double height = 0;
    };
    struct TextAreaSize {
        double title_width = 0;
        double total_width = 0;
        double title_height = 0;
        double height = 0;
    };
    struct ImageSize {
        double title_width = 0;
        double title_height = 0;
        double total_width = 0;
        double image_width = 0;
        double image_height = 0;
    };

    // The widest line a wrapped text may take: the screen width less 53 points.
    static double wrapWidth();

    static Size getMinSizeOfTitleSection(std::string_view title);
    static Size getMinSizeOfMessageSection(std::string_view message);
    static CaptionSize getMinSizeOfCaptionSection(std::string_view title, std::string_view description);
    static Size getMinSizeOfCheckboxSection(std::string_view description);
    static Size getMinSizeOfRadioButtonSection(std::string_view description);
    static TitledSize getMinSizeOfTextFieldSection(std::string_view title, std::string_view placeholder);
    static TextAreaSize getMinSizeOfTextAreaSection(std::string_view title, std::int64_t lines);
    static TitledSize getMinSizeOfMenuSection(std::string_view title, std::string_view placeholder,
                                              const std::vector<std::string>& menu_items);
    static TitledSize getMinSizeOfListSection(std::string_view title,
                                              const std::vector<std::string>& list_items,
                                              std::int64_t lines);
    // A missing image measures 0 by 0.
    static ImageSize getMinSizeOfImageSection(std::string_view title, const ImageRef& image);
    static Size getMinSizeOfIconSection(const ImageRef& icon);
    static Size getMinSizeOfLinkButtonSection(std::string_view title);
    // The button row: n buttons as wide as the widest title (the default button's in bold)
    // plus the title margin on each side, __button_default_height high; 0 by 0 without buttons.
    static Size getMinSizeOfButtonSection(const std::vector<std::string>& button_names);
    // The height of `text` wrapped within the wrap width less `left_width`.
    static double recalculateHeight(std::string_view text, double left_width);

    // Whether button `number` (counted from 1) is the default button: its decimal text equals
    // the text form of the store's "default-button", or it is button 1 when there is none.
    static bool isDefaultButton(std::int64_t number);
};

}  // namespace brelka
