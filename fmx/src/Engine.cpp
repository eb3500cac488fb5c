// The process's engine slot. An atomic pointer: plug-ins read it from any thread while the
// host program installs or removes its engine.
#include "fmx/Engine.h"

#include <atomic>

namespace fmx {

namespace {
std::atomic<Engine*> engineSlot{nullptr};
}  // namespace

void installEngine(Engine* engine) { engineSlot.store(engine, std::memory_order_release); }

Engine* installedEngine() { return engineSlot.load(std::memory_order_acquire); }

}  // namespace fmx
