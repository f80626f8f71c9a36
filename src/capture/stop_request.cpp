#include "capture/stop_request.h"

namespace {

volatile std::sig_atomic_t noted = 0;

extern "C" void noteStop(int signal) {
    noted = signal;
    // The next one is not caught: a second Ctrl-C ends the program at once.
    std::signal(signal, SIG_DFL);
}

} // namespace

void watchStopSignals() {
    noted = 0;
    std::signal(SIGINT, noteStop);
    std::signal(SIGTERM, noteStop);
}

void unwatchStopSignals() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    noted = 0;
}

int stopSignal() {
    return noted;
}
