#include "cli/PathCollisions.h"

#include <climits>
#include <cstdlib>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {

// Symbolic links followed at most, as the kernel's own limit.
constexpr int MaxLinkDepth = 40;

struct TSplitPath {
    std::string Folder; // "." for a bare name
    std::string Name;
};

TSplitPath Split(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// Resolves folders to their canonical absolute form, each once.
class TFolderResolver {
public:
    const std::string& Resolve(const std::string& folder)
    {
        const auto known = resolved_.find(folder);
        if (known != resolved_.end()) {
            return known->second;
        }
        std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.c_str(), nullptr), &std::free);
        // A folder that does not resolve keeps its name: nothing can be written there anyway.
        return resolved_.emplace(folder, real ? std::string(real.get()) : folder).first->second;
    }

    // path with its folder resolved.
    std::string ResolveName(const std::string& path)
    {
        const TSplitPath split = Split(path);
        const std::string& folder = Resolve(split.Folder);
        return folder == "/" ? "/" + split.Name : folder + "/" + split.Name;
    }

private:
    std::unordered_map<std::string, std::string> resolved_;
};

// path after the symbolic links at its last component, as far as they go.
std::string FollowLinks(std::string path)
{
    for (int depth = 0; depth < MaxLinkDepth; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            return path;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : Split(path).Folder + "/" + target;
    }
    return path;
}

} // namespace

std::optional<std::string> FindSameFile(const std::string& output, const std::vector<std::string>& inputs,
                                        const std::vector<std::string>& outputs)
{
    TFolderResolver resolver;
    const std::string outputName = resolver.ResolveName(FollowLinks(output));
    struct stat outputInfo {};
    const bool outputExists = ::stat(output.c_str(), &outputInfo) == 0;

    for (const auto* list : {&inputs, &outputs}) {
        for (const std::string& path : *list) {
            if (resolver.ResolveName(path) == outputName) {
                return path;
            }
            struct stat info {};
            if (outputExists && ::stat(path.c_str(), &info) == 0 && info.st_dev == outputInfo.st_dev &&
                info.st_ino == outputInfo.st_ino) {
                return path;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::pair<std::size_t, std::size_t>> FindSameFileName(const std::vector<std::string>& paths)
{
    std::unordered_map<std::string, std::size_t> seen;
    seen.reserve(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const auto [place, added] = seen.emplace(Split(paths[i]).Name, i);
        if (!added) {
            return std::make_pair(place->second, i);
        }
    }
    return std::nullopt;
}
