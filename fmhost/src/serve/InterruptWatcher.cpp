#include "serve/InterruptWatcher.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include <pthread.h>

namespace fmhost {

InterruptWatcher::InterruptWatcher(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGINT);
    sigaddset(&signals_, SIGTERM);
    sigaddset(&signals_, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals_, &previous_);
    thread_ = std::thread([this] {
        // Waits in short slices so that the destructor can end the thread without a signal.
        const timespec slice{0, 200'000'000};
        while (!done_.load()) {
            const int signal = sigtimedwait(&signals_, nullptr, &slice);
            if (signal <= 0) continue;
            int expected = 0;
            if (!received_.compare_exchange_strong(expected, signal)) std::_Exit(128 + signal);
            onSignal_(signal);
        }
    });
}

InterruptWatcher::~InterruptWatcher() {
    done_ = true;
    thread_.join();
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace fmhost
