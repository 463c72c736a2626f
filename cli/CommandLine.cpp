#include "cli/CommandLine.h"

#include "cli/ExitStatus.h"
#include "cli/TOutputStream.h"
#include "cli/ToolMessages.h"
#include "core/base/TulvoErrors.h"
#include "dsp/dspFloatControl.h"

#include "TulvoVersion.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace {

// Help in one format for every command, laid out for people and for
// help2man alike: the usage line, the description, then "Options:" with
// "-s, --long VALUE" names and descriptions wrapped to 80 columns.
class THelpFormatter : public CLI::Formatter {
public:
    explicit THelpFormatter(std::string usage) : usage_(std::move(usage)) {}

    std::string make_help(const CLI::App* app, std::string, CLI::AppFormatMode mode) const override
    {
        std::ostringstream out;
        out << "Usage: " << usage_ << "\n";
        if (!app->get_description().empty()) {
            out << app->get_description() << "\n";
        }
        out << make_groups(app, mode);
        return out.str();
    }

    std::string make_option(const CLI::Option* option, bool) const override
    {
        std::string names = "  ";
        for (const char c : option->get_name(false, true)) {
            names += c;
            if (c == ',') {
                names += ' ';
            }
        }
        if (!option->get_option_text().empty()) {
            names += " " + option->get_option_text();
        }
        return names + Wrapped(option->get_description(), names.size());
    }

private:
    static constexpr std::size_t DescriptionColumn = 28;
    static constexpr std::size_t LineWidth = 80;

    // text from DescriptionColumn on (on a line of its own when the names
    // reach there), wrapped at spaces.
    static std::string Wrapped(const std::string& text, std::size_t column)
    {
        std::string out;
        std::istringstream words(text);
        for (std::string word; words >> word;) {
            if (column >= DescriptionColumn && column + 1 + word.size() > LineWidth) {
                out += "\n";
                column = 0;
            }
            if (column < DescriptionColumn) {
                out.append(DescriptionColumn - column, ' ');
                column = DescriptionColumn;
            } else {
                out += ' ';
                ++column;
            }
            out += word;
            column += word.size();
        }
        return out + "\n";
    }

private:
    std::string usage_;
};

std::string TryHelp(std::string_view command)
{
    std::string line = "Try '" + std::string(ToolName) + " ";
    if (!command.empty()) {
        line += std::string(command) + " ";
    }
    return line + "--help' for more information.\n";
}

int UsageError(TToolContext& context, std::string_view command, const std::string& message)
{
    std::string text = std::string(ToolName) + ": ";
    if (!command.empty()) {
        text += std::string(command) + ": ";
    }
    WriteToErr(context, text + message + "\n" + TryHelp(command));
    return ExitUsage;
}

// Writes text to stdout; a failure is reported like any failed write.
int PrintOut(TToolContext& context, const std::string& text)
{
    try {
        TOutputStream(context.Out, "standard output").WriteWhole(text);
    } catch (const EInOutError& e) {
        WriteToErr(context, ErrorLine("standard output", e));
        return ExitFailure;
    }
    return ExitOk;
}

bool IsHelp(const std::string& word) { return word == "--help" || word == "-h"; }

} // namespace

std::unique_ptr<CLI::App> MakeCommandParser(const TCommand& command)
{
    const std::string name = std::string(ToolName) + " " + std::string(command.Name);
    auto app = std::make_unique<CLI::App>(std::string(command.Description), name);
    app->formatter(std::make_shared<THelpFormatter>(name + " " + std::string(command.Synopsis)));
    app->set_help_flag("-h,--help", "show this help and exit");
    return app;
}

void ParseWords(CLI::App& app, const std::vector<std::string>& words)
{
    // CLI11 takes the words last first.
    std::vector<std::string> reversed(words.rbegin(), words.rend());
    app.parse(reversed);
}

int RunCommand(const TCommand& command, const std::vector<std::string>& words, TToolContext& context)
{
    const auto app = MakeCommandParser(command);
    const TCommandRun run = command.Setup(*app);
    try {
        ParseWords(*app, words);
    } catch (const CLI::CallForHelp&) {
        return PrintOut(context, app->help());
    } catch (const CLI::ParseError& e) {
        return UsageError(context, command.Name, e.what());
    }
    context.CommandWords = words;
    try {
        return run(context);
    } catch (const TUsageError& e) {
        return UsageError(context, command.Name, e.what());
    } catch (const EInOutError& e) {
        WriteToErr(context, ErrorLine("", e));
        return ExitFailure;
    } catch (const std::exception& e) {
        WriteToErr(context, std::string(ToolName) + ": " + e.what() + "\n");
        return ExitFailure;
    }
}

std::string ToolHelp()
{
    std::string text = "Usage: " + std::string(ToolName) +
                       " COMMAND [OPTIONS] [FILE]...\n"
                       "Spectral analysis of short WAV recordings without a window: spectrum files from\n"
                       "recordings, spectrum files as CSV tables and pictures, and units checked against\n"
                       "tolerance masks learned from known-good ones.\n"
                       "\n"
                       "Commands:\n";
    for (const TCommand& command : CommandTable()) {
        std::string name(command.Name);
        name.resize(std::max<std::size_t>(name.size() + 2, 10), ' ');
        text += "  " + name + std::string(command.Summary) + "\n";
    }
    text += "\n"
            "Options:\n"
            "  -h, --help                show this help and exit; COMMAND --help shows a\n"
            "                            command's options\n"
            "  -V, --version             show the version and exit\n"
            "\n"
            "Exit status:\n"
            "  0 done; 1 a file could not be read, written or analysed, or differs from the\n"
            "  reference (compare) or the mask (check); 2 a command line that cannot be\n"
            "  carried out; 129, 130, 143 stopped by SIGHUP, SIGINT, SIGTERM.\n";
    return text;
}

std::string ToolVersion() { return std::string(ToolName) + " " + TulvoVersion + "\n"; }

int RunTool(const std::vector<std::string>& words, TToolContext& context)
{
    if (words.empty()) {
        return UsageError(context, "", "no command given");
    }
    const std::string& first = words[0];
    if (IsHelp(first) || (first == "help" && words.size() == 1)) {
        return PrintOut(context, ToolHelp());
    }
    if (first == "--version" || first == "-V") {
        return PrintOut(context, ToolVersion());
    }
    if (first == "help") {
        const TCommand* command = FindCommand(words[1]);
        if (command == nullptr) {
            return UsageError(context, "", "unknown command '" + words[1] + "'");
        }
        return RunCommand(*command, {"--help"}, context);
    }
    const TCommand* command = FindCommand(first);
    if (command == nullptr) {
        return UsageError(context, "", "unknown command '" + first + "'");
    }
    return RunCommand(*command, std::vector<std::string>(words.begin() + 1, words.end()), context);
}

bool SetExactArithmetic(const TToolContext& context)
{
    try {
        dspFloatControl::SetExactFloatControl();
        return true;
    } catch (const std::runtime_error& e) {
        WriteToErr(context, std::string(ToolName) + ": " + e.what() + "\n");
        return false;
    }
}
