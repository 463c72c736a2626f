#pragma once

#include "cli/TToolContext.h"

#include <functional>
#include <memory>
#include <span>
#include <string_view>

namespace CLI {
class App;
}

// How a command runs once its words are parsed: with the values bound to the
// options at setup, in context; returns the exit status.
using TCommandRun = std::function<int(TToolContext& context)>;

// One command of tulvo-cli. Adding a command is one entry in CommandTable()
// and a pair of functions: one that declares its options on a parser, bound
// to a struct of its arguments, and one that runs it over that struct.
struct TCommand {
    std::string_view Name;
    // The words after the name in the usage line ("[OPTIONS] RECORDING...").
    std::string_view Synopsis;
    // One line for the list of commands.
    std::string_view Summary;
    // The paragraph that --help shows under the usage line.
    std::string_view Description;
    // Declares the command's options and operands on app, bound to storage of
    // their own, and returns the run over the values parsed into them.
    TCommandRun (*Setup)(CLI::App& app);
};

// Every command of tulvo-cli, in the order --help lists them.
std::span<const TCommand> CommandTable();

// The command called name; nullptr when there is none.
const TCommand* FindCommand(std::string_view name);

// The Setup of a command whose arguments are a TArguments, declared by
// Declare and run by Run.
template <class TArguments, void (*Declare)(CLI::App&, TArguments&), int (*Run)(const TArguments&, TToolContext&)>
TCommandRun SetupCommand(CLI::App& app)
{
    auto arguments = std::make_shared<TArguments>();
    Declare(app, *arguments);
    return [arguments](TToolContext& context) { return Run(*arguments, context); };
}
