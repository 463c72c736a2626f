#include "tests/support/ProgramRun.h"

#include "tests/support/FileBytes.h"
#include "tests/support/TTempFolder.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace testsupport {

namespace {

std::vector<char*> Pointers(std::vector<std::string>& words)
{
    std::vector<char*> pointers;
    for (auto& word : words) {
        pointers.push_back(word.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

pid_t Spawn(const std::vector<std::string>& argv, const std::string& stdinPath, const std::string& stdoutPath,
            const std::string& stderrPath, const std::vector<std::string>& env)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, stdinPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> words = argv;
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        environment.emplace_back(*entry);
    }
    environment.insert(environment.end(), env.begin(), env.end());
    auto argPointers = Pointers(words);
    auto envPointers = Pointers(environment);
    pid_t pid = 0;
    const int error =
        ::posix_spawn(&pid, argv.at(0).c_str(), &actions, nullptr, argPointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw std::runtime_error("cannot start " + argv[0]);
    }
    return pid;
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

void StopProgram(pid_t pid) { ::kill(pid, SIGKILL); }

TProgramResult WaitProgram(pid_t pid)
{
    int raw = 0;
    while (::waitpid(pid, &raw, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("waitpid failed");
        }
    }
    TProgramResult result;
    if (WIFEXITED(raw)) {
        result.Status = WEXITSTATUS(raw);
    } else if (WIFSIGNALED(raw)) {
        result.Signal = WTERMSIG(raw);
    }
    return result;
}

} // namespace testsupport
