#include "host/FMPluginHandlers.h"

namespace brelka {

bool Startup(const fmx::unichar16* /*startupText*/) { return true; }

void Shutdown() {}

void Preferences() {}

void SafeIdle() {}

void SemiSafeIdle(fmx::uint8 /*level*/) {}

void UnsafeIdle() {}

}  // namespace brelka
