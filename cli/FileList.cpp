#include "cli/FileList.h"

#include "cli/ToolMessages.h"
#include "core/files/TDataFile.h"

#include <CLI/CLI.hpp>

namespace {

// The whole of what handle delivers until its end; name is for errors.
std::string ReadAll(Platform::TFileHandle handle, const std::string& name)
{
    std::string text;
    char buffer[64 * 1024];
    for (;;) {
        const std::size_t got = ReadSome(handle, buffer, sizeof buffer, name);
        if (got == 0) {
            return text;
        }
        text.append(buffer, got);
    }
}

std::string ReadListFile(const std::string& path, const TToolContext& context)
{
    if (path == "-") {
        return ReadAll(context.In, "standard input");
    }
    // Any readable kind: a list often comes through a pipe (<(find ...)).
    TDataFile file; // closes itself when a read fails
    file.Bind(path);
    file.OpenRead(TFileKinds::AnyReadable);
    std::string text = ReadAll(file.Handle(), path);
    file.CloseQuietly();
    return text;
}

} // namespace

void DeclareFileListOptions(CLI::App& app, TFileListOptions& options, std::string_view what)
{
    CLI::Option* list =
        app.add_option("--files-from", options.FilesFrom,
                       "read the names of more " + std::string(what) + " from FILE, one a line ('-': standard input)")
            ->option_text("FILE");
    app.add_flag("-0,--null", options.Null, "names in the --files-from list end with NUL bytes, not line ends")
        ->needs(list);
}

std::vector<std::string> SplitFileList(std::string_view text, char separator)
{
    std::vector<std::string> names;
    while (!text.empty()) {
        const auto end = text.find(separator);
        const std::string_view name = text.substr(0, end);
        if (!name.empty()) {
            names.emplace_back(name);
        }
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return names;
}

std::vector<std::string> CollectFiles(const std::vector<std::string>& operands, const TFileListOptions& options,
                                      const TToolContext& context)
{
    std::vector<std::string> files = operands;
    if (!options.FilesFrom.empty()) {
        const std::string text = ReadListFile(options.FilesFrom, context);
        auto listed = SplitFileList(text, options.Null ? '\0' : '\n');
        files.insert(files.end(), std::make_move_iterator(listed.begin()), std::make_move_iterator(listed.end()));
    }
    if (files.empty()) {
        throw TUsageError("no files given");
    }
    return files;
}
