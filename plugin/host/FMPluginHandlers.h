// The plug-in's life-cycle hooks, called by the entry point (iOS_FMTemplate). This plug-in
// needs no work at start-up, shutdown, idle time or for preferences, so every hook is empty;
// they stay as the place where such work would go. Called on whichever thread the host sends
// the message on.
#pragma once

#include "fmx/Types.h"

namespace brelka {

// Runs before the functions are registered; `startupText` is the host's UTF-16 text of the
// init message (may be null). Answering false makes the init fail.
bool Startup(const fmx::unichar16* startupText);
void Shutdown();
void Preferences();
// Idle time: SafeIdle for the user-idle level, UnsafeIdle for the unsafe level, SemiSafeIdle
// with the level for every other one.
void SafeIdle();
void SemiSafeIdle(fmx::uint8 level);
void UnsafeIdle();

}  // namespace brelka
