#include "core/files/FileReplacement.h"

#include "core/base/Paths.h"
#include "core/files/ErrorMessages.h"
#include "core/files/FileHandles.h"
#include "core/platform/FileStatus.h"
#include "core/platform/Flushing.h"
#include "core/platform/Program.h"
#include "core/platform/SystemErrors.h"
#include "core/platform/TemporaryFile.h"

#include <atomic>

using Platform::TErrorCondition;
using Platform::TTemporaryFile;

namespace {

constexpr std::string_view HeldStart = ".tulvo-";
constexpr std::string_view UnheldStart = ".tulvo-out-";
constexpr std::string_view TemporaryEnd = ".tmp";

// Symbolic links followed at most, as Linux's own limit.
constexpr int MaxLinkDepth = 40;
// Fresh names tried for a temporary before the replacement fails.
constexpr int MaxNameAttempts = 100;
// Replacements started again after a sweep took their temporary away.
constexpr int MaxAttempts = 8;

// What a kind of replacement does, by TReplacementKind.
struct TRules {
    bool WriteThroughLinks; // and refuse unwritable targets
    bool KeepIdentical;
    bool Held; // held temporaries, ".tulvo-" names, swept
};
constexpr TRules Rules[] = {{true, true, true}, {true, false, false}, {false, false, false}};

TRules RulesOf(TReplacementKind kind) { return Rules[static_cast<int>(kind)]; }

std::string NewTemporaryName(const std::string& target, bool held)
{
    static std::atomic<unsigned> counter{0};
    std::string name = FolderPrefix(target);
    name += held ? HeldStart : UnheldStart;
    name += std::to_string(Platform::CurrentProcessId());
    name += '-';
    name += std::to_string(counter.fetch_add(1));
    name += TemporaryEnd;
    return name;
}

// True for ".tulvo-<digits>-<digits>.tmp".
bool IsHeldTemporaryName(std::string_view name)
{
    if (name.substr(0, HeldStart.size()) != HeldStart) {
        return false;
    }
    name.remove_prefix(HeldStart.size());
    for (const char end : {'-', '.'}) {
        const std::size_t digits = name.find_first_not_of("0123456789");
        if (digits == 0 || digits == std::string_view::npos || name[digits] != end) {
            return false;
        }
        name.remove_prefix(end == '-' ? digits + 1 : digits);
    }
    return name == TemporaryEnd;
}

bool IsCondition(int number, TErrorCondition condition)
{
    return Platform::TranslateSystemError(number).Condition == condition;
}

// True when target is a regular file that already holds exactly bytes: writing it again would
// change nothing but the file's identity. Its modification time is then brought to now, as a
// write would, so that it counts as up to date against its recording.
bool TargetAlreadyHolds(const std::string& target, std::string_view bytes)
{
    const Platform::TFileHandle handle = Platform::OpenForComparing(target);
    if (handle == Platform::NoFileHandle) {
        return false;
    }
    bool same = false;
    try {
        const auto status = Platform::StatusOf(handle);
        if (status && status->Regular && status->Size == static_cast<std::int64_t>(bytes.size())) {
            std::string held(bytes.size(), '\0');
            same = ReadUpTo(handle, held.data(), held.size(), target) == held.size() && held == bytes &&
                   Platform::SetModifiedToNow(handle);
        }
    } catch (const EInOutError&) {
        same = false; // unreadable: replaced
    }
    Platform::CloseFileQuietly(handle);
    return same;
}

// Gives temporary a fresh hidden name in target's folder: creates it under that name, or names
// the unnamed file it is.
void TakeFreshName(TTemporaryFile& temporary, bool create, const std::string& target, bool held,
                   const std::string& displayPath)
{
    for (int attempt = 1;; ++attempt) {
        const std::string name = NewTemporaryName(target, held);
        const int error = create ? temporary.CreateNamed(name, held) : temporary.Link(name, true);
        if (error == 0) {
            return;
        }
        if (!IsCondition(error, TErrorCondition::Exists) || attempt == MaxNameAttempts) {
            throw IoErrorFromSystem(error, TFileOperation::Create, displayPath);
        }
    }
}

} // namespace

std::string FolderOfFile(const std::string& path) { return FolderPath(path); }

std::string FollowLinks(std::string path)
{
    for (int depth = 0; depth < MaxLinkDepth; ++depth) {
        const auto link = Platform::ReadLink(path);
        const std::string target = link ? UsualPathForm(*link) : std::string();
        if (target.empty()) {
            return path;
        }
        path = PathRootLength(target) > 0 ? target : JoinPath(FolderPath(path), target);
    }
    return path;
}

std::optional<std::string> CanonicalFolder(const std::string& folder)
{
    auto canonical = Platform::CanonicalFolder(folder);
    return canonical ? std::optional(UsualPathForm(*canonical)) : std::nullopt;
}

std::string ReplacementTarget(const std::string& path, TReplacementKind kind)
{
    RefuseEmptyPath(path);
    if (!RulesOf(kind).WriteThroughLinks) {
        return path;
    }
    std::string target = FollowLinks(path);
    if (Platform::IsSymbolicLink(target)) {
        // Still a link after every step: a loop, or a link that cannot be read. An open for
        // writing fails on it as on a loop.
        throw IoErrorFromSystem(Platform::LinkLoopError, TFileOperation::Create, path);
    }
    // The rename that replaces the target would not ask whether it may be written.
    if (const int error = Platform::WriteAccessError(target); error != 0) {
        throw IoErrorFromSystem(error, TFileOperation::Create, path);
    }
    return target;
}

TReplaceResult ReplaceWithBytes(const std::string& target, std::string_view bytes, TReplacementKind kind,
                                TFlushing flushing, const std::string& displayPath)
{
    RefuseEmptyPath(target);
    const TRules rules = RulesOf(kind);
    if (rules.KeepIdentical && TargetAlreadyHolds(target, bytes)) {
        return TReplaceResult::Kept;
    }
    const bool flush = flushing == TFlushing::BeforeRename || !Platform::FlushesFileSystems();
    for (int attempt = 1;; ++attempt) {
        TTemporaryFile temporary;
        if (!rules.Held || !temporary.CreateUnnamed(FolderOfFile(target))) {
            TakeFreshName(temporary, true, target, rules.Held, displayPath);
        }
        WriteAllTo(temporary.Handle(), bytes.data(), bytes.size(), displayPath);
        if (flush) {
            FlushFile(temporary.Handle(), displayPath);
        }
        if (const int error = temporary.CloseForWriting(); error != 0) {
            throw IoErrorFromSystem(error, TFileOperation::Close, displayPath);
        }
        // An unnamed temporary becomes the target in one step when nothing has the target's name;
        // otherwise it gets a hidden name for the rename.
        if (temporary.Name().empty()) {
            if (temporary.Link(target, false) == 0) {
                return TReplaceResult::Replaced;
            }
            TakeFreshName(temporary, false, target, true, displayPath);
        }
        const int error = temporary.RenameOver(target);
        if (error == 0) {
            return TReplaceResult::Replaced;
        }
        const bool swept = IsCondition(error, TErrorCondition::NotFound) && !Platform::StatusOf(temporary.Name());
        if (!swept || attempt == MaxAttempts) {
            throw IoErrorFromSystem(error, TFileOperation::Rename, displayPath);
        }
    }
}

void ReplaceFile(const std::string& path, std::string_view bytes)
{
    // Errors name the target: the temporary file is no concern of the user's.
    const std::string target = ReplacementTarget(path, TReplacementKind::ToolOutput);
    ReplaceWithBytes(target, bytes, TReplacementKind::ToolOutput, TFlushing::WhereNoFileSystemFlush, path);
}

int RemoveReplacementDebris(const std::string& folder) noexcept
{
    if (folder.empty()) {
        return 0; // no folder (JoinPath would make it the root)
    }
    int removed = 0;
    try {
        for (const std::string& name : Platform::FolderEntryNames(JoinPath(folder, ""), std::string(HeldStart))) {
            if (IsHeldTemporaryName(name) && Platform::RemoveUnheldFile(JoinPath(folder, name))) {
                ++removed;
            }
        }
    } catch (...) {
        // Out of memory for a name: what is removed is removed.
    }
    return removed;
}
