// Conversions between host values and the plug-in's own, and the reporting of error codes
// into the result value and the store. Used by the external functions' frames on the host's
// calculation thread.
#pragma once

#include <string>
#include <string_view>

#include "fmx/fmx.h"

namespace brelka {

// The text as UTF-8, ending at its first NUL character if it has one.
std::string StringFromFmText(const fmx::Text& text);
// Index of the first entry equal to `text` ignoring letter case (host case folding), or -1.
// No trimming: " short" does not match "short".
int FindFMTextInArray(const fmx::Text& text, const char* const table[], int count);
// The container's largest stream (the first of equal ones), or -1 when it has none.
fmx::int32 findImageStream(const fmx::BinaryData& container);
// Copies the first `length` bytes of stream `stream` into `buffer`.
void GetBinaryDataFromFMBinary(void* buffer, fmx::uint32 length, const fmx::BinaryData& container,
                               fmx::int32 stream);

// Makes the result the number `code`.
void storeErrorCode(int code, fmx::Data& result);
// Makes the result the text `utf8`, in the result's own locale.
void storeTextResult(const std::string& utf8, fmx::Data& result);

// Record the last error in the store ("lastError" as a number, "lastErrorMessage").
void setLastErrorCode(int code);
void setLastErrorMessage(std::string_view message);

// Runs an external function's body, so that no exception ever unwinds into the host: a host
// failure or any other exception answers 2400 in the result and in the last-error entries.
// Always answers the host error code 0.
template <typename Body>
fmx::errcode guardedFrame(fmx::Data& result, Body&& body) noexcept;
void reportFrameFailure(fmx::Data& result, const char* what) noexcept;

template <typename Body>
fmx::errcode guardedFrame(fmx::Data& result, Body&& body) noexcept {
    try {
        body();
    } catch (const std::exception& e) {
        reportFrameFailure(result, e.what());
    } catch (...) {
        reportFrameFailure(result, "unknown exception");
    }
    return 0;
}

}  // namespace brelka
