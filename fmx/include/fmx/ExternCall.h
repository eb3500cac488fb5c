// The call record a host passes to a plug-in's entry point, FMExternCallProc, and the message
// and string numbers it carries. The layout is C so that the entry point can be extern "C".
#pragma once

#include "fmx/Types.h"

extern "C" {

struct FMX_ExternCallStruct {
    fmx::int16 extnVersion;  // interface version, read by init
    fmx::uint8 whichCall;    // message kind
    fmx::uint8 parm1;        // idle level, or the string selector of get-string
    fmx::ptrtype parm2;      // init: UTF-16 text handed to the start-up hook
    fmx::ptrtype parm3;      // get-string: capacity of the result buffer in UTF-16 units
    fmx::ptrtype result;     // init: the init result (sign-extended); get-string: the buffer
};

typedef void (*FMX_ExternCallProc)(FMX_ExternCallStruct* call);
}

namespace fmx {

// Message kinds.
inline constexpr uint8 kMsgInit = 0;
inline constexpr uint8 kMsgIdle = 1;
inline constexpr uint8 kMsgShutdown = 4;
inline constexpr uint8 kMsgPreferences = 5;
inline constexpr uint8 kMsgGetString = 7;

// Idle levels.
inline constexpr uint8 kIdleUser = 0;
inline constexpr uint8 kIdleUnsafe = 4;

// Get-string selectors.
inline constexpr uint8 kStrName = 128;
inline constexpr uint8 kStrAbout = 129;
inline constexpr uint8 kStrConfig = 131;

// Init results.
inline constexpr int32 kInitOk = 65;
inline constexpr int32 kInitBadVersion = -1;
inline constexpr int32 kInitFailed = -2;

inline constexpr const char* kEntryPointName = "FMExternCallProc";

}  // namespace fmx
