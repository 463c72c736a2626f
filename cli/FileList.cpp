#include "cli/FileList.h"

#include "cli/ToolMessages.h"
#include "core/TDataFile.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The whole of what handle delivers until its end; name is for errors.
std::string ReadAll(int handle, const std::string& name)
{
    std::string text;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(handle, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw IoErrorFromErrno(errno, TFileOperation::Read, name);
        }
        if (got == 0) {
            return text;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

std::string ReadListFile(const std::string& path, const TToolContext& context)
{
    if (path == "-") {
        return ReadAll(context.In, "standard input");
    }
    // Any readable kind: a list often comes through a pipe (<(find ...)).
    int handle;
    do {
        handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0) {
        throw IoErrorFromErrno(errno, TFileOperation::Open, path);
    }
    try {
        std::string text = ReadAll(handle, path);
        ::close(handle);
        return text;
    } catch (...) {
        ::close(handle);
        throw;
    }
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
