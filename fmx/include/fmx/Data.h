// A calculation value: a native type with its text, number, boolean and container views.
// Values are plain objects owned by whoever made them; they are not shared between threads.
#pragma once

#include "fmx/BinaryData.h"
#include "fmx/FixPt.h"
#include "fmx/Locale.h"
#include "fmx/Text.h"
#include "fmx/Types.h"

namespace fmx {

class Data {
public:
    Data() = default;

    int32 GetNativeType() const { return type_; }
    // The value as text: a text itself, a number in the host's text form, a boolean as 1 or
    // 0, a date or time in its display form, a container as its file name (or empty).
    const Text& GetAsText() const;
    // The value as number: a number itself, a boolean 1 or 0, a text's leading number (0 if
    // none), a date, time or timestamp as its serial number.
    const FixPt& GetAsNumber() const;
    bool GetAsBoolean() const;
    const BinaryData& GetBinaryData() const;
    const Locale& GetLocale() const { return locale_; }

    // The last write wins: each setter replaces the whole value.
    errcode SetAsText(const Text& text, const Locale& locale, int32 nativeType = kDTText);
    void SetAsNumber(const FixPt& number, int32 nativeType = kDTNumber);
    void SetAsBoolean(bool value);
    errcode SetBinaryData(const BinaryData& data, bool forceBinaryNativeType = true);
    // Dates, times and timestamps: the serial number (days since 0001-01-01 counted from 1 for a
    // date, seconds for a time or a timestamp) and the display text.
    void SetAsDateTime(int32 nativeType, double serial, const Text& display);
    void Clear(int32 nativeType = kDTInvalid);

private:
    int32 type_ = kDTInvalid;
    mutable Text text_;
    mutable FixPt number_;
    BinaryData binary_;
    Locale locale_;
    bool boolean_ = false;
    mutable bool textValid_ = true;
    mutable bool numberValid_ = true;
};

}  // namespace fmx
