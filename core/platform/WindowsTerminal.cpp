// Consoles on Windows: a console handle is one GetConsoleMode accepts. The C runtime's standard
// streams are put in binary mode, the console's output code page to UTF-8 for what the runtime
// itself writes there (the program's own console text goes through WriteConsoleW), and the
// console made to understand the terminal sequences the progress bar uses ("\r\033[K").

#include "core/platform/Terminal.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace Platform {

namespace {

UINT SavedOutputCodePage = 0;

void RestoreOutputCodePage() { ::SetConsoleOutputCP(SavedOutputCodePage); }

} // namespace

bool IsTerminal(TFileHandle handle) noexcept
{
    DWORD mode = 0;
    return ::GetConsoleMode(reinterpret_cast<HANDLE>(handle), &mode) != 0;
}

void PrepareStandardStreams() noexcept
{
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    for (const DWORD stream : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE console = ::GetStdHandle(stream);
        DWORD mode = 0;
        if (::GetConsoleMode(console, &mode)) {
            ::SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
        }
    }
    SavedOutputCodePage = ::GetConsoleOutputCP();
    if (SavedOutputCodePage != 0 && SavedOutputCodePage != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8)) {
        std::atexit(RestoreOutputCodePage);
    }
}

} // namespace Platform
