// The plug-in's entry point and its life cycle towards the host: init (interface version
// check, start-up hook, registration of the six external functions), idle, preferences,
// get-string and shutdown. FMExternCallProc is the only symbol the loadable module exports.
//
// The host sends one message at a time; the flags are atomics only so that a stray idle
// message from another thread reads a whole value. No exception leaves FMExternCallProc.
#pragma once

#include <atomic>

#include "fmx/fmx.h"

extern "C" __attribute__((visibility("default"))) void FMExternCallProc(
    FMX_ExternCallStruct* call);

namespace brelka {

// The call record of the message being handled on this thread; set first thing on every call.
extern thread_local FMX_ExternCallStruct* gFMX_ExternCallPtr;
// True after a successful init, false again at shutdown.
extern std::atomic<bool> gPlugInInitialized;
// True while the preferences hook runs.
extern std::atomic<bool> gPrefsOpen;

// Answers 65 (initialised), -1 (interface version outside 50..255) or -2 (start-up or
// registration failed; nothing stays registered).
fmx::int32 Do_PluginInit(fmx::int16 interfaceVersion);
void Do_PluginShutdown();
void Do_PluginIdle(fmx::uint8 level);
void Do_PluginPrefs();
// Writes the string selected by the current call record's parameter 1 into its result buffer.
void Do_PluginGetString();

// Registers functions 1, 3, 4, 5, 6 and 7 in this order; when one fails, undoes the ones this
// call registered, newest first, and answers false.
bool RegisterExternalFunctions();
// Unregisters functions 7, 6, 5, 4, 3 and 1, ignoring the host's answers.
void UnRegisterExternalFunctions();

}  // namespace brelka
