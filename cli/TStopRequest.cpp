#include "cli/TStopRequest.h"

#include "core/platform/Interruption.h"

namespace {

// A stop handler reaches its object only through a global; this one is set
// once, before the handler is routed.
TStopRequest* HandledRequest = nullptr;

void OnStopSignal(int signal) noexcept
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
    Platform::RouteStopRequests(OnStopSignal);
}
