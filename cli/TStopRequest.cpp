#include "cli/TStopRequest.h"

#include <csignal>

namespace {

// A signal handler reaches its object only through a global; this one is set
// once, before the handlers are.
TStopRequest* HandledRequest = nullptr;

void OnStopSignal(int signal)
{
    if (HandledRequest != nullptr) {
        HandledRequest->Request(signal);
    }
}

} // namespace

static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "set from a signal handler");

void TStopRequest::Request(int signal) noexcept
{
    int none = 0;
    signal_.compare_exchange_strong(none, signal);
    requested_.store(true);
}

void CatchStopSignals(TStopRequest& stop)
{
    HandledRequest = &stop;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}
