// Fuzz target: tulvo-cli's command-line parser on any words. The input is
// split at NUL bytes into words; the first chooses the command from the
// command table, the rest are parsed as that command's words (options,
// values, operands). Only the parse runs, never the command: the parser's
// own refusals (CLI11's ParseError, help requests, whose text is formatted)
// are fine; a crash, a hang or undefined behaviour is a finding.

#include "cli/CommandLine.h"
#include "cli/CommandTable.h"

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> words(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            words.emplace_back();
        } else {
            words.back() += static_cast<char>(data[i]);
        }
    }
    const auto commands = CommandTable();
    const TCommand* command = FindCommand(words.front());
    if (command == nullptr) {
        command = &commands[words.front().size() % commands.size()];
    }
    words.erase(words.begin());

    const auto app = MakeCommandParser(*command);
    const TCommandRun run = command->Setup(*app);
    try {
        ParseWords(*app, words);
    } catch (const CLI::CallForHelp&) {
        (void)app->help();
    } catch (const CLI::ParseError&) {
    }
    return 0;
}
