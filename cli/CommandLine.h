#pragma once

#include "cli/CommandTable.h"
#include "cli/TToolContext.h"

#include <memory>
#include <string>
#include <vector>

namespace CLI {
class App;
}

// tulvo-cli's command line: "tulvo-cli COMMAND [OPTIONS] [OPERANDS]".
// Every command parses the same way: "--opt=value" and "--opt value" (and
// "-o value", "-ovalue" for short names), "--" ends the options, -h/--help
// shows the command's help on stdout, and one usage line format. Exit
// statuses: 0 done, 1 a file failed, 2 a command line that cannot be carried
// out, 128 + N stopped by signal N. Messages go to stderr as
// "tulvo-cli: PATH: message"; a usage error adds a pointer to --help.

// Runs the tool on words (the arguments after the program's name) and
// returns the exit status. "--help"/"-h"/"help" show the commands,
// "help COMMAND" a command's help, "--version"/"-V" "tulvo-cli 1.0.0".
int RunTool(const std::vector<std::string>& words, TToolContext& context);

// Sets the exact arithmetic's floating-point state in the calling thread, before anything computes
// (tulvo-cli's and the drawing helper's main). Where it cannot be set it says so on stderr and
// returns false: the program then does nothing rather than compute other values.
bool SetExactArithmetic(const TToolContext& context);

// Parses words (those after the command's name) for command and runs it:
// help, usage errors (CLI11's and TUsageError), a file's EInOutError or
// EMathError that escapes the command (exit 1) and any other exception
// (exit 1) are all answered here. The drawing helper runs plot through this
// with a Setup of its own.
int RunCommand(const TCommand& command, const std::vector<std::string>& words, TToolContext& context);

// A parser for command, set up with the tool's conventions and help format
// (the command's Setup is not called).
std::unique_ptr<CLI::App> MakeCommandParser(const TCommand& command);

// Parses words (those after the command's name) with app; raises
// CLI::ParseError as CLI11 does (CLI::CallForHelp for -h/--help).
void ParseWords(CLI::App& app, const std::vector<std::string>& words);

// The text of "tulvo-cli --help" and "tulvo-cli --version".
std::string ToolHelp();
std::string ToolVersion();
