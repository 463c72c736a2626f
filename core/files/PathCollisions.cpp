#include "core/files/PathCollisions.h"

#include "core/base/Paths.h"
#include "core/files/FileReplacement.h"
#include "core/platform/FileStatus.h"

#include <unordered_map>

namespace {

// Resolves folders to their canonical absolute form, each once.
class TFolderResolver {
public:
    const std::string& Resolve(const std::string& folder)
    {
        const auto known = resolved_.find(folder);
        if (known != resolved_.end()) {
            return known->second;
        }
        // A folder that does not resolve keeps its name: nothing can be written there anyway.
        return resolved_.emplace(folder, CanonicalFolder(folder).value_or(folder)).first->second;
    }

    // path with its folder resolved.
    std::string ResolveName(const std::string& path) { return JoinPath(Resolve(FolderPath(path)), FileNamePart(path)); }

private:
    std::unordered_map<std::string, std::string> resolved_;
};

} // namespace

std::optional<std::string> FindSameFile(const std::string& output, const std::vector<std::string>& inputs,
                                        const std::vector<std::string>& outputs)
{
    TFolderResolver resolver;
    const std::string outputName = resolver.ResolveName(FollowLinks(output));
    const auto outputStatus = Platform::StatusOf(output);

    for (const auto* list : {&inputs, &outputs}) {
        for (const std::string& path : *list) {
            if (resolver.ResolveName(path) == outputName) {
                return path;
            }
            if (outputStatus) {
                const auto status = Platform::StatusOf(path);
                if (status && status->Identity == outputStatus->Identity) {
                    return path;
                }
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
        const auto [place, added] = seen.emplace(FileNamePart(paths[i]), i);
        if (!added) {
            return std::make_pair(place->second, i);
        }
    }
    return std::nullopt;
}
