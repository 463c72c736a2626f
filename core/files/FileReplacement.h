#pragma once

#include <optional>
#include <string>
#include <string_view>

// Replacing a file by a whole new one in one step, never by writing into the file that is there:
// the program's one policy for every file it writes whole (spectrum files; the tool's reports,
// tables and pictures; the pictures and tables saved from the windows), the same on every system,
// over the system's primitives (core/platform/TemporaryFile.h).
//
// The bytes go to a new temporary file in the target's folder, which then takes the target's name
// in one step (Platform::TTemporaryFile::RenameOver). The replaced file's other names (hard
// links) keep its contents, and on POSIX so do its open handles; Windows may refuse to replace a
// file that is open instead: code 5, with the reason "the file is open in another program" where
// the holder refused others' deletion (as editors and viewers hold files). On any failure the
// temporary is removed and the target, or its absence, stays as it was; EInOutError names the path
// the caller gave (never the temporary), with the system's error number. Every new file gets mode
// 0666 less the umask (POSIX).
//
// Temporaries have hidden names in the target's folder, "<start><process id>-<n>.tmp" with the
// start the kind says. A killed process leaves at most one per folder it was writing into.

// What is replaced, and how.
//
// SpectrumFile (temporaries ".tulvo-<pid>-<n>.tmp"):
//  - Symbolic links are written through: the file the link leads to (FollowLinks) is replaced,
//    in that file's own folder, and the link stays. A link that loops or goes deeper than
//    FollowLinks follows fails as an open for writing would (Platform::LinkLoopError: POSIX "I/O
//    error 40"), one that leads into a missing folder with 3 "Invalid filename", nothing written.
//    A dangling link into an existing folder creates the file it names. On Windows the same for
//    symbolic links and junctions where the system allows it.
//  - An existing target that may not be written (read-only, or a folder) is refused with code 5
//    before anything is written, as an open for writing would refuse it; a FIFO or device of that
//    name is not opened.
//  - A regular target that already holds exactly the bytes is kept as it is (the same file), only
//    its modification time brought to now.
//  - The temporary is held (Platform::TTemporaryFile) so that RemoveReplacementDebris can tell a
//    gone writer's temporary from a live one's: on POSIX from before it has a name until it has
//    replaced the target; on Windows while it is written. A replacement whose temporary another
//    process's sweep takes away in the moment between (Windows) starts again, 8 times at most.
//    POSIX on Linux: the temporary is first unnamed (O_TMPFILE) and, when nothing has the
//    target's name, linked as the target directly.
//
// WindowSave (temporaries ".tulvo-out-<pid>-<n>.tmp"): a picture or table saved from a window.
// Links written through and unwritable targets refused as for SpectrumFile; never kept, never
// swept.
//
// ToolOutput (temporaries ".tulvo-out-<pid>-<n>.tmp"): a report, table or picture the
// command-line tool writes. The target's name is replaced as it is (a symbolic link is replaced by
// the file; on POSIX a read-only file too, which Windows refuses with code 5); never kept, never
// swept.
enum class TReplacementKind { SpectrumFile, WindowSave, ToolOutput };

// When the new file's bytes are flushed to stable storage: the caller's choice, because the
// systems differ in what can be flushed later.
enum class TFlushing {
    // Before it takes the target's name, on every system (fsync; FlushFileBuffers): after a power
    // loss the target is the old file or the whole new one. A flush error fails the replacement.
    BeforeRename,
    // Before it takes the target's name only where the file systems cannot be flushed afterwards
    // (Platform::FlushesFileSystems false: Windows). On POSIX not here: the caller flushes the
    // folders' file systems once when a series ends (SyncFolders in FolderSync.h, as the batch
    // does), or leaves the bytes to the system's write-back (the tool's outputs).
    WhereNoFileSystemFlush,
};

// What a replacement did.
enum class TReplaceResult { Replaced, Kept };

// The file a replacement of path would replace, with the checks made before anything is written:
// for SpectrumFile and WindowSave, path after its symbolic links (FollowLinks; links that do not
// end refused as above) and an unwritable target refused; for ToolOutput, path itself. An empty
// path is refused with code 3. Raises EInOutError naming path.
std::string ReplacementTarget(const std::string& path, TReplacementKind kind);

// Writes bytes as the file target (what ReplacementTarget gave), replacing it as described above
// and flushing as flushing says. Errors name displayPath (the path the user gave).
TReplaceResult ReplaceWithBytes(const std::string& target, std::string_view bytes, TReplacementKind kind,
                                TFlushing flushing, const std::string& displayPath);

// Writes bytes as the file path, an output of the command-line tool: ReplacementTarget and
// ReplaceWithBytes of kind ToolOutput with TFlushing::WhereNoFileSystemFlush, errors naming path.
void ReplaceFile(const std::string& path, std::string_view bytes);

// The folder a file of path is in, as a path of its own ("." for a bare name): where its
// temporary goes, and what is flushed after it.
std::string FolderOfFile(const std::string& path);

// The file that a write to path reaches: path after the symbolic links (on Windows also
// junctions) of its last part, as far as they go, each link's target taken relative to the
// link's folder unless rooted, at most 40 links deep. path itself when it is no link or a link
// cannot be read. Never fails.
std::string FollowLinks(std::string path);

// The absolute form of folder with every symbolic link, "." and ".." resolved, as one writes it
// (Platform::CanonicalFolder in UsualPathForm); nothing when it does not resolve. Never fails.
std::optional<std::string> CanonicalFolder(const std::string& folder);

// Removes from folder the temporaries of SpectrumFile replacements whose writers are gone:
// regular files named ".tulvo-<digits>-<digits>.tmp" that no live writer holds
// (Platform::RemoveUnheldFile). Those of live writers, in this process or another, are left
// alone, and so is anything else. Returns how many were removed. Never fails; a folder that
// cannot be read removes nothing.
int RemoveReplacementDebris(const std::string& folder) noexcept;
