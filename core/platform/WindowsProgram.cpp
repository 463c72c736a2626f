// The running program on Windows: the command line read as UTF-16, the own file from
// GetModuleFileNameW, and a helper program run with CreateProcessW in this one's place.

#include "core/platform/Program.h"

#include "core/platform/WindowsWide.h"

#include <windows.h>

#include <shellapi.h>

namespace Platform {

using Windows::Narrow;
using Windows::Wide;

std::vector<std::string> CommandLineArguments(int, char**)
{
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    if (words == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.push_back(Narrow(words[i], std::wcslen(words[i])));
    }
    ::LocalFree(words);
    return arguments;
}

std::uint32_t CurrentProcessId() noexcept { return ::GetCurrentProcessId(); }

std::string RunningProgramPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return Narrow(path);
        }
        path.resize(path.size() * 2);
    }
}

std::string ExecutableName(std::string_view stem) { return std::string(stem) + ".exe"; }

bool IsRunnable(const std::string& path) noexcept
{
    try {
        const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    } catch (...) {
        return false;
    }
}

int RunInPlaceOfThisProcess(const std::string& program, const std::vector<std::string>& arguments)
{
    std::wstring line;
    for (const auto& word : arguments) {
        Windows::AppendQuotedArgument(line, Wide(word));
    }
    // The helper gets this process's standard streams.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    for (const HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
        ::SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    }
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(Wide(program).c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                          &process)) {
        return static_cast<int>(::GetLastError());
    }
    ::CloseHandle(process.hThread);
    // Ctrl+C reaches the helper on the same console: it decides, this process only waits.
    ::SetConsoleCtrlHandler(nullptr, TRUE);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::ExitProcess(code);
}

} // namespace Platform
