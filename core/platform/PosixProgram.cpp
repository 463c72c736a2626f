// The running program on POSIX.

#include "core/platform/Program.h"

#include <cerrno>
#include <climits>
#include <unistd.h>

namespace Platform {

std::vector<std::string> CommandLineArguments(int argc, char** argv)
{
    if (argc < 1) {
        return {};
    }
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::uint32_t CurrentProcessId() noexcept { return static_cast<std::uint32_t>(::getpid()); }

std::string RunningProgramPath()
{
#if defined(__linux__)
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    path.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return path;
#else
    return {};
#endif
}

std::string ExecutableName(std::string_view stem) { return std::string(stem); }

bool IsRunnable(const std::string& path) noexcept { return ::access(path.c_str(), X_OK) == 0; }

int RunInPlaceOfThisProcess(const std::string& program, const std::vector<std::string>& arguments)
{
    std::vector<std::string> words = arguments;
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    return errno;
}

} // namespace Platform
