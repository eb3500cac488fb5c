// Basic types of the host's plug-in interface, shared by the host side and the plug-in.
#pragma once

#include <cstdint>

namespace fmx {

using int16 = std::int16_t;
using uint16 = std::uint16_t;
using int32 = std::int32_t;
using uint32 = std::uint32_t;
using int64 = std::int64_t;
using uint8 = std::uint8_t;
using unichar16 = char16_t;
using errcode = std::int16_t;
using ptrtype = std::uintptr_t;

// Native types of a calculation value, as GetNativeType answers them.
enum NativeType : int32 {
    kDTInvalid = 0,
    kDTText = 1,
    kDTNumber = 2,
    kDTDate = 3,
    kDTTime = 4,
    kDTTimeStamp = 5,
    kDTBinary = 6,
    kDTBoolean = 7,
};

// "To the end" for sizes and positions in Text operations; also Find's "not found".
inline constexpr uint32 kSize_End = 0xFFFFFFFFu;

// Text encodings understood by Text::Assign and Text::GetBytes. This host keeps plain
// character strings in UTF-8, so the native selector is UTF-8 as well.
enum Encoding : int32 {
    kEncoding_Native = 0,
    kEncoding_UTF8 = 1,
};

}  // namespace fmx
