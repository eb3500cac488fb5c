// The plug-in's string table and the registration of one external function with the host.
// The function names given to the host come from the same table as their prototypes, so a
// name can never drift from the prototype the host shows. Any thread; no state.
#pragma once

#include "fmx/fmx.h"

namespace brelka {

// The plug-in identifier the functions are registered under.
inline constexpr const char* kPluginId = "NvBk";

inline constexpr fmx::uint32 kStringName = 1;
inline constexpr fmx::uint32 kStringAbout = 2;

// Copies the string `stringNumber` (101..107 prototypes of functions 1..7, 108..110 empty,
// anything else "ERROR") into `buffer`, NUL-terminated and cut to `capacity` units.
void Do_GetString(fmx::uint32 stringNumber, fmx::unichar16* buffer, fmx::uint32 capacity);

// Copies the name (kStringName) or the about text (kStringAbout) into `buffer`, NUL-terminated
// and cut to `capacity` units; answers the number of units before the NUL. Writes nothing for
// another selector or a capacity of 0.
fmx::uint32 ReadString(fmx::unichar16* buffer, fmx::uint32 capacity, fmx::uint32 selector);

// Registers function `functionId` under its name and prototype from the string table; answers
// the host's result (0 = registered).
fmx::errcode RegisterExternalFunction(fmx::int16 functionId, fmx::int16 minArgs,
                                      fmx::int16 maxArgs, fmx::uint32 flags,
                                      fmx::ExtPluginType function);
fmx::errcode UnRegisterExternalFunction(fmx::int16 functionId);

}  // namespace brelka
