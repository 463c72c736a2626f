// Stop requests on POSIX: SIGINT, SIGTERM and SIGHUP, each handled once.

#include "core/platform/Interruption.h"

#include <cstring>
#include <initializer_list>
#include <signal.h>

static_assert(SIGHUP == Platform::StopByHangUp && SIGINT == Platform::StopByInterrupt &&
                  SIGTERM == Platform::StopByTermination,
              "stop requests are numbered as the POSIX signals");

namespace Platform {

namespace {

// A signal handler reaches the program's handler only through a global; it
// is set once, before the signal handlers are.
TStopHandler RoutedHandler = nullptr;

void OnStopSignal(int signal)
{
    if (RoutedHandler != nullptr) {
        RoutedHandler(signal);
    }
}

} // namespace

void RouteStopRequests(TStopHandler handler) noexcept
{
    RoutedHandler = handler;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

std::string StopRequestName(int request)
{
    const char* name = ::sigabbrev_np(request);
    return "SIG" + (name != nullptr ? std::string(name) : std::to_string(request));
}

} // namespace Platform
