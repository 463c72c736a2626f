// Stop requests on Windows: the console's control events (SetConsoleCtrlHandler). Ctrl+C and
// Ctrl+Break are interrupts, the console window closed a hang-up, log-off and shutdown a
// termination; each kind is routed once, a second one ends the process as usual.

#include "core/platform/Interruption.h"

#include <atomic>
#include <windows.h>

namespace Platform {

namespace {

TStopHandler RoutedHandler = nullptr;
std::atomic<bool> Routed[3]{}; // interrupt, hang-up, termination

BOOL WINAPI OnControlEvent(DWORD event)
{
    int request = 0;
    int kind = 0;
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        request = StopByInterrupt;
        kind = 0;
        break;
    case CTRL_CLOSE_EVENT:
        request = StopByHangUp;
        kind = 1;
        break;
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        request = StopByTermination;
        kind = 2;
        break;
    default: return FALSE;
    }
    if (RoutedHandler == nullptr || Routed[kind].exchange(true)) {
        return FALSE; // the system's handling: the process ends
    }
    RoutedHandler(request);
    return TRUE;
}

} // namespace

void RouteStopRequests(TStopHandler handler) noexcept
{
    RoutedHandler = handler;
    // A program started in a new process group has Ctrl+C ignored: it is taken on again.
    ::SetConsoleCtrlHandler(nullptr, FALSE);
    ::SetConsoleCtrlHandler(OnControlEvent, TRUE);
}

std::string StopRequestName(int request)
{
    switch (request) {
    case StopByHangUp: return "SIGHUP";
    case StopByInterrupt: return "SIGINT";
    case StopByTermination: return "SIGTERM";
    default: return "SIG" + std::to_string(request);
    }
}

} // namespace Platform
