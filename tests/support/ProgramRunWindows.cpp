// The Windows runner of ProgramRun.h: CreateProcessW with a command line quoted as
// CommandLineToArgvW reads it, standard handles on files, the exit code as the status.

#include "tests/support/ProgramRun.h"

#include "tests/support/FileBytes.h"
#include "tests/support/TTempFolder.h"
#include "core/platform/WindowsWide.h"

#include <map>
#include <mutex>
#include <stdexcept>
#include <windows.h>

namespace testsupport {

namespace {

HANDLE OpenInherited(const std::string& path, bool write)
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const std::wstring name = path == "/dev/null" ? std::wstring(L"NUL") : Platform::Windows::Wide(path);
    const HANDLE handle =
        ::CreateFileW(name.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                      write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot open " + path + " for a program's standard stream");
    }
    return handle;
}

// This process's environment with the assignments env added (later ones win), as the block
// CreateProcessW takes.
std::wstring Environment(const std::vector<std::string>& env)
{
    std::map<std::wstring, std::wstring> values;
    std::vector<std::wstring> order;
    auto add = [&](const std::wstring& entry) {
        const auto equals = entry.find(L'=', 1); // "=C:=C:\..." entries start with '='
        const std::wstring name = entry.substr(0, equals);
        if (values.find(name) == values.end()) {
            order.push_back(name);
        }
        values[name] = entry;
    };
    if (wchar_t* block = ::GetEnvironmentStringsW()) {
        for (const wchar_t* entry = block; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
            add(entry);
        }
        ::FreeEnvironmentStringsW(block);
    }
    for (const auto& entry : env) {
        add(Platform::Windows::Wide(entry));
    }
    std::wstring result;
    for (const auto& name : order) {
        result += values[name];
        result += L'\0';
    }
    result += L'\0';
    return result;
}

std::mutex StartedMutex;
std::map<pid_t, HANDLE> Started;

pid_t Spawn(const std::vector<std::string>& argv, const std::string& stdinPath, const std::string& stdoutPath,
            const std::string& stderrPath, const std::vector<std::string>& env)
{
    std::wstring line;
    for (const auto& word : argv) {
        Platform::Windows::AppendQuotedArgument(line, Platform::Windows::Wide(word));
    }
    std::wstring environment = Environment(env);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = OpenInherited(stdinPath, false);
    startup.hStdOutput = OpenInherited(stdoutPath, true);
    startup.hStdError = OpenInherited(stderrPath, true);
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(Platform::Windows::Wide(argv.at(0)).c_str(), line.data(), nullptr, nullptr, TRUE,
                                          CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &startup, &process);
    ::CloseHandle(startup.hStdInput);
    ::CloseHandle(startup.hStdOutput);
    ::CloseHandle(startup.hStdError);
    if (!started) {
        throw std::runtime_error("cannot start " + argv[0] + " (Windows error " + std::to_string(::GetLastError()) +
                                 ")");
    }
    ::CloseHandle(process.hThread);
    const std::lock_guard lock(StartedMutex);
    Started[static_cast<pid_t>(process.dwProcessId)] = process.hProcess;
    return static_cast<pid_t>(process.dwProcessId);
}

std::string ReadText(const std::string& path)
{
    const auto bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TProgramResult RunProgram(const std::vector<std::string>& argv, const std::string& input,
                          const std::vector<std::string>& env)
{
    const TTempFolder folder;
    const std::string in = folder.File("stdin");
    const std::string out = folder.File("stdout");
    const std::string err = folder.File("stderr");
    WriteBytes(in, std::vector<std::uint8_t>(input.begin(), input.end()));
    TProgramResult result = WaitProgram(Spawn(argv, in, out, err, env));
    result.Out = ReadText(out);
    result.Err = ReadText(err);
    return result;
}

pid_t StartProgram(const std::vector<std::string>& argv, const std::string& stdinPath, const std::string& stdoutPath,
                   const std::string& stderrPath, const std::vector<std::string>& env)
{
    return Spawn(argv, stdinPath, stdoutPath, stderrPath, env);
}

void StopProgram(pid_t pid)
{
    const std::lock_guard lock(StartedMutex);
    const auto found = Started.find(pid);
    if (found != Started.end()) {
        ::TerminateProcess(found->second, 1);
    }
}

TProgramResult WaitProgram(pid_t pid)
{
    HANDLE process = nullptr;
    {
        const std::lock_guard lock(StartedMutex);
        const auto found = Started.find(pid);
        if (found == Started.end()) {
            throw std::runtime_error("no such program started");
        }
        process = found->second;
        Started.erase(found);
    }
    ::WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process, &code);
    ::CloseHandle(process);
    TProgramResult result;
    result.Status = static_cast<int>(code);
    return result;
}

} // namespace testsupport
