#pragma once

#include <string>
#include <string_view>

// Replacing a file by a whole new one, in one atomic step, never by writing
// into the file that is there.
//
// The bytes go to a new temporary file in the target's folder; the
// temporary is flushed where the system needs it for the replacement to be
// durable (Windows), then takes the target's name in one step (rename on
// POSIX; ReplaceFileW, or MoveFileExW with MOVEFILE_REPLACE_EXISTING |
// MOVEFILE_WRITE_THROUGH, on Windows). Whoever still holds the replaced file
// (an open handle, a hard link) keeps its contents. On any failure the
// temporary is removed and the target, or its absence, stays as it was;
// EInOutError names the path the caller gave (never the temporary), with the
// system's error code. A target that another program holds open so that the
// system refuses to replace it (Windows) fails with code 5 and the reason
// "the file is open in another program".
//
// Temporaries have hidden names in the target's folder:
// "<start><process id>-<n>.tmp", start as the kind says. A killed process
// leaves at most one per folder it was writing into.

namespace Platform {

// What is replaced, and how.
//
// SpectrumFile (temporaries ".tulvo-<pid>-<n>.tmp"):
//  - Symbolic links are written through: the file the link leads to is
//    replaced, atomically in that file's own folder, and the link stays. A
//    link that loops, or that leads into a missing folder, fails as an open
//    for writing would (POSIX: "I/O error 40" for the loop, 3 "Invalid
//    filename" for the missing folder), nothing written. A dangling link into
//    an existing folder creates the file it names. On Windows the same for
//    symbolic links and junctions where the system allows it.
//  - An existing target that may not be written (read-only, or a folder) is
//    refused with code 5 before anything is written, as an open for writing
//    would refuse it; a FIFO or device of that name is not opened.
//  - A regular target that already holds exactly the bytes is kept as it is
//    (same file), only its modification time brought to now.
//  - The temporary is locked (flock; LockFileEx) from before it has a name
//    until it has replaced the target, so that RemoveReplacementDebris can
//    tell a gone writer's temporary from a live one's. POSIX on Linux: the
//    temporary is first unnamed (O_TMPFILE) and, when nothing has the
//    target's name, linked as the target directly; chosen at build time.
//
// ToolOutput (temporaries ".tulvo-out-<pid>-<n>.tmp"): a report, table or
// picture the command-line tool writes. The target's name is replaced as it
// is (a symbolic link is replaced by the file); the new file gets mode 0666
// less the umask (POSIX); no lock, no sweep, no keeping.
enum class TReplacementKind { SpectrumFile, ToolOutput };

// What a replacement did.
enum class TReplaceResult { Replaced, Kept };

// The file a replacement of path would replace, with the checks made before
// anything is written: for SpectrumFile, path after its symbolic links
// (FollowLinks, with loops and missing folders refused as above) and an
// unwritable target refused; for ToolOutput, path itself. An empty path is
// refused with code 3. Raises EInOutError naming path.
std::string ReplacementTarget(const std::string& path, TReplacementKind kind);

// Writes bytes as the file target (what ReplacementTarget gave), replacing
// it as described above. Errors name displayPath (the path the user gave).
TReplaceResult ReplaceWithBytes(const std::string& target, std::string_view bytes, TReplacementKind kind,
                                const std::string& displayPath);

// The folder a file of path is in, as a path of its own ("." for a bare
// name): where its temporary goes, and what is flushed after it.
std::string FolderOfFile(const std::string& path);

// Removes from folder the temporaries of SpectrumFile replacements whose
// writers are gone: regular files named ".tulvo-<digits>-<digits>.tmp"
// whose lock can be taken (on Windows: that can be opened for deletion, no
// one holding them). Those of live writers, in this process or another, are
// left alone, and so is anything else. Returns how many were removed. Never
// fails; a folder that cannot be read removes nothing.
int RemoveReplacementDebris(const std::string& folder) noexcept;

} // namespace Platform
