// The store's vocabulary: the key strings of every setting and result, the delimiter that
// joins multi-part values, and the error codes with their messages.
#pragma once

#include <optional>
#include <string_view>

namespace brelka {

// Key strings of the settings store. Keys are exact and case-sensitive.
struct CFG {
    static constexpr std::string_view dialog_title = "dialog-title";
    static constexpr std::string_view dialog_blur = "blur";
    static constexpr std::string_view dialog_width = "dialog-width";
    // Underscore, not hyphen, before "width": scripts already use this spelling.
    static constexpr std::string_view dialog_min_width = "dialog-min_width";
    static constexpr std::string_view dialog_timeout = "dialog-timeout";
    static constexpr std::string_view dialog_position = "dialog-position";
    static constexpr std::string_view dialog_icon = "dialog-icon";
    static constexpr std::string_view default_button = "default-button";
    static constexpr std::string_view cancel_button = "cancel-button";
    static constexpr std::string_view compatibility_mode = "compatibility-mode";
    static constexpr std::string_view progress_title = "progress-title";
    static constexpr std::string_view progress_position = "progress-position";
    static constexpr std::string_view calculation_period = "calculation-period";
    static constexpr std::string_view last_error = "lastError";
    static constexpr std::string_view last_error_message = "lastErrorMessage";
    static constexpr std::string_view dialog_button = "dialog-button";
    static constexpr std::string_view dialog_value = "dialog-value";
    static constexpr std::string_view dialog_text = "dialog-text";
    static constexpr std::string_view dialog_all_values = "dialog-all-values";
    static constexpr std::string_view dialog_all_text = "dialog-all-text";
    static constexpr std::string_view last_dialog_position = "last-dialog-position";
    static constexpr std::string_view screen_width = "screen-width";
    static constexpr std::string_view screen_height = "screen-height";
    static constexpr std::string_view device_family = "device-family";
    static constexpr std::string_view clear = "clear";
    static constexpr std::string_view reset = "reset";
};

// Prefixes of the per-item result entries "value_1", "text_1", ...
inline constexpr std::string_view kValueEntryPrefix = "value_";
inline constexpr std::string_view kTextEntryPrefix = "text_";

// Separates the lines of multi-line parameters and joins two-part values and result lists.
inline constexpr std::string_view PARAMETER_DELIMITER = "\r";

// Codes of the store's answers and of the plug-in's reports, by their text raw value.
enum class Errors { kNoError, kNotImplemented, kWrongParameters, kUnknownError };

constexpr std::string_view rawValue(Errors error) {
    switch (error) {
    case Errors::kNoError: return "0";
    case Errors::kNotImplemented: return "-4";
    case Errors::kWrongParameters: return "-50";
    case Errors::kUnknownError: return "2400";
    }
    return "2400";
}

// Only an exact raw value names a case.
constexpr std::optional<Errors> errorsFromRawValue(std::string_view raw) {
    for (Errors e : {Errors::kNoError, Errors::kNotImplemented, Errors::kWrongParameters,
                     Errors::kUnknownError}) {
        if (rawValue(e) == raw) {
            return e;
        }
    }
    return std::nullopt;
}

// Codes outside the enumeration, and the session's "no result".
inline constexpr int kWindowTooLargeCode = -5611;
inline constexpr int kNoResultCode = -1;

// Messages stored under "lastErrorMessage".
inline constexpr std::string_view kNotImplementedMessage = "Not implemented";
inline constexpr std::string_view kWrongParametersMessage = "paramErr";
inline constexpr std::string_view kUnknownErrorMessage =
    "General error, Brelka is not able to recognize the error. Please report this error and its "
    "conditions to support@brelka.example.";
inline constexpr std::string_view kWindowTooLargeMessage =
    "Resulting window is too large to fit the screen. This error is usually returned if you try "
    "to insert too large picture into the dialog.";

}  // namespace brelka
