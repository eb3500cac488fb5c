#include "host/Support_Functions.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "host/Diagnostics.h"
#include "host/PluginBridge.h"
#include "store/Config.h"

namespace brelka {

std::string StringFromFmText(const fmx::Text& text) {
    fmx::uint32 units = text.GetSize();
    if (units == 0) {
        return {};
    }
    // One UTF-16 unit never needs more than three UTF-8 bytes (a pair needs four for two), and
    // the host writes a terminating NUL. Short texts, the usual selectors and settings, go
    // through a buffer on the stack.
    std::size_t capacity = static_cast<std::size_t>(units) * 3 + 1;
    if (capacity > UINT32_MAX) {
        capacity = UINT32_MAX;
    }
    auto convert = [&](char* buffer) {
        fmx::uint32 written = text.GetBytes(buffer, static_cast<fmx::uint32>(capacity), 0,
                                            fmx::kSize_End, fmx::kEncoding_UTF8);
        std::size_t length = std::min<std::size_t>(written, capacity - 1);
        // The text ends at its first NUL, as a C string would.
        const void* nul = std::memchr(buffer, '\0', length);
        return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer) : length;
    };
    constexpr std::size_t kStackBytes = 256;
    if (capacity <= kStackBytes) {
        char buffer[kStackBytes];
        return std::string(buffer, convert(buffer));
    }
    std::string out(capacity, '\0');
    out.resize(convert(out.data()));
    return out;
}

int FindFMTextInArray(const fmx::Text& text, const char* const table[], int count) {
    fmx::Text wanted;
    wanted.AppendText(text);
    wanted.Lowercase();
    for (int i = 0; i < count; ++i) {
        fmx::Text entry;
        entry.Assign(table[i], fmx::kEncoding_Native);
        entry.Lowercase();
        if (entry == wanted) {
            return i;
        }
    }
    return -1;
}

fmx::int32 findImageStream(const fmx::BinaryData& container) {
    fmx::int32 best = -1;
    fmx::uint32 bestSize = 0;
    fmx::int32 count = container.GetCount();
    for (fmx::int32 i = 0; i < count; ++i) {
        fmx::uint32 size = container.GetSize(i);
        if (best < 0 || size > bestSize) {
            best = i;
            bestSize = size;
        }
    }
    return best;
}

void GetBinaryDataFromFMBinary(void* buffer, fmx::uint32 length, const fmx::BinaryData& container,
                               fmx::int32 stream) {
    if (length == 0) {
        return;
    }
    container.GetData(stream, 0, length, buffer);
}

void storeErrorCode(int code, fmx::Data& result) {
    fmx::FixPt number(0, 16);
    number.AssignInt(code);
    result.SetAsNumber(number, fmx::kDTNumber);
}

void storeTextResult(const std::string& utf8, fmx::Data& result) {
    fmx::Text text;
    // Assign reads up to the first NUL, which is where StringFromFmText ends texts too.
    text.Assign(utf8.c_str(), fmx::kEncoding_Native);
    result.SetAsText(text, result.GetLocale(), fmx::kDTText);
}

void setLastErrorCode(int code) {
    Dictionary parameters;
    parameters.emplace("param_0", std::string(CFG::last_error));
    parameters.emplace("param_1", static_cast<double>(code));
    PluginBridge::set(parameters);
}

void setLastErrorMessage(std::string_view message) {
    Dictionary parameters;
    parameters.emplace("param_0", std::string(CFG::last_error_message));
    parameters.emplace("param_1", std::string(message));
    PluginBridge::set(parameters);
}

void reportFrameFailure(fmx::Data& result, const char* what) noexcept {
    constexpr int code = 2400;  // Errors::kUnknownError
    // Each step on its own: when memory is short, as much as possible still gets through.
    try {
        storeErrorCode(code, result);
    } catch (...) {
    }
    try {
        setLastErrorCode(code);
        setLastErrorMessage(kUnknownErrorMessage);
    } catch (...) {
    }
    try {
        if (Diagnostics::enabled()) {
            Diagnostics::log(std::string("external function failed: ") + what);
        }
    } catch (...) {
    }
}

}  // namespace brelka
