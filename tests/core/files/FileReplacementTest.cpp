// Files replaced by whole new ones, on every system: through the spectrum-file writer over a
// series of files (kind SpectrumFile), and through ReplaceWithBytes for the other kinds. Every
// replacement is a new file, so that a replaced file's other names keep its contents; a file
// already holding the bytes is kept; failures leave the target as it was and no temporary; a
// writer's crash leaves nothing that a later write does not sweep away; the final flush of a run.
// What only POSIX can show (symbolic links, a replaced file still open, file modes, a limit on a
// file's size) is in FileReplacementPosixTest.cpp.

#include "SpectrumWriterFixture.h"

#include "tests/support/FileBytes.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TPermissionsEnforced.h"
#include "tests/support/TTempFolder.h"

#include "core/analysis/TSpmFileWriter.h"
#include "core/base/Paths.h"
#include "core/files/FileReplacement.h"
#include "core/files/FolderSync.h"
#include "core/platform/FileStatus.h"
#include "core/platform/Program.h"
#include "core/platform/TemporaryFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

using namespace testsupport;

namespace {

namespace fs = std::filesystem;

// The folder the writer started by KilledWriterLeavesNoDebrisAfterTheNextWrite writes into.
constexpr const char* WriterFolderVariable = "TULVO_TEST_WRITER_FOLDER";

using writertest::CodesOf;
using writertest::ImageOf;

// "<stem><number>.spm", built up in place (GCC 12 warns falsely about a literal + std::string
// chain).
std::string Numbered(const char* stem, int number)
{
    std::string name(stem);
    name += std::to_string(number);
    name += ".spm";
    return name;
}

// Names in folder that a writer gives its temporaries.
std::vector<std::string> Temporaries(const fs::path& folder)
{
    std::vector<std::string> found;
    for (const auto& name : FolderEntries(folder)) {
        if (name.rfind(".tulvo-", 0) == 0) {
            found.push_back(name);
        }
    }
    return found;
}

Platform::TFileStatus StatusOf(const std::string& path)
{
    const auto status = Platform::StatusOf(path);
    EXPECT_TRUE(status) << path;
    return status.value_or(Platform::TFileStatus{});
}

class SpectrumWriterSeries : public writertest::SpectrumWriterSeries {
protected:
    std::vector<std::string> Temporaries() const { return ::Temporaries(Folder.Path()); }
};

TEST_F(SpectrumWriterSeries, ReplacesExistingFilesAndLeavesNothingAfterRelease)
{
    for (int i = 0; i < 5; ++i) {
        WriteBytes(Folder.File(Numbered("s", i)), std::vector<std::uint8_t>(100 + 900 * i, 0x77));
    }
    for (int i = 0; i < 5; ++i) {
        Write(Numbered("s", i), 10 + i);
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ReadBytes(Folder.File(Numbered("s", i))), ImageOf(10 + i)) << i;
    }
    Writer.Release();
    EXPECT_EQ(FolderEntries(Folder.Path()).size(), 5u); // no temporary left
}

// Whoever holds a replaced file by another name keeps what it held, however many files the
// writer writes after it.
TEST_F(SpectrumWriterSeries, ReplacedFilesKeepTheirContentsForTheirOtherNames)
{
    const std::string linked = Folder.File("linked.spm");
    WriteBytes(linked, std::vector<std::uint8_t>(732, 0x66));
    fs::create_hard_link(linked, Folder.File("backup.bin"));
    Write("own.spm", 9);
    fs::create_hard_link(Folder.File("own.spm"), Folder.File("own.bak"));

    Write("linked.spm", 2);
    Write("own.spm", 3);
    for (int i = 0; i < 20; ++i) {
        Write(Numbered("later", i), 100 + i);
        Write(Numbered("later", i), 200 + i); // replaces a file again
    }
    EXPECT_EQ(ReadBytes(Folder.File("backup.bin")), std::vector<std::uint8_t>(732, 0x66));
    EXPECT_EQ(ReadBytes(Folder.File("own.bak")), ImageOf(9));
    EXPECT_EQ(ReadBytes(linked), ImageOf(2));
    EXPECT_EQ(ReadBytes(Folder.File("own.spm")), ImageOf(3));
}

// A rerun over the same recording writes the same bytes: a regular file that already holds
// exactly them stays the same file and only becomes newer; one that holds anything else (more
// bytes, other codes) is replaced.
TEST_F(SpectrumWriterSeries, AFileAlreadyHoldingTheBytesIsKeptAndMadeNewer)
{
    auto longer = ImageOf(7);
    longer.push_back(0);
    const struct {
        const char* Name;
        std::vector<std::uint8_t> Held;
        bool Kept;
    } cases[] = {{"same.spm", ImageOf(7), true}, {"longer.spm", longer, false}, {"other.spm", ImageOf(8), false}};
    for (const auto& c : cases) {
        const std::string path = Folder.File(c.Name);
        WriteBytes(path, c.Held);
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24 * 365));
        const auto before = StatusOf(path);
        Write(c.Name, 7);
        const auto after = StatusOf(path);
        EXPECT_EQ(ReadBytes(path), ImageOf(7)) << c.Name;
        EXPECT_EQ(after.Identity == before.Identity, c.Kept) << c.Name;
        EXPECT_GT(after.Modified, before.Modified) << c.Name;
    }
    EXPECT_TRUE(Temporaries().empty());
}

TEST_F(SpectrumWriterSeries, FilesRemovedBetweenWritesDoNotHinderTheNext)
{
    WriteBytes(Folder.File("a.spm"), {1, 2, 3});
    Write("a.spm", 1);
    for (const auto& name : FolderEntries(Folder.Path())) {
        fs::remove(Folder.Path() / name);
    }
    Write("b.spm", 2);
    EXPECT_EQ(ReadBytes(Folder.File("b.spm")), ImageOf(2));
}

// A temporary left by a writer that is gone (nobody holds it) is removed by the first write into
// its folder; anything else of a similar name stays.
TEST_F(SpectrumWriterSeries, FirstWriteIntoAFolderRemovesTheDebrisOfGoneWriters)
{
    for (const char* name : {".tulvo-4242-0.tmp", ".tulvo-1-17.tmp"}) {
        WriteBytes(Folder.File(name), std::vector<std::uint8_t>(300, 0x42));
    }
    const std::vector<std::string> unlike = {".tulvo-12.tmp",  ".tulvo-1-2.tmp.bak", ".tulvo--1.tmp",  "tulvo-1-2.tmp",
                                             ".tulvo-1-x.tmp", ".tulvo-out-1-2.tmp", ".tulvo-1-2.tmpx"};
    for (const auto& name : unlike) {
        WriteBytes(Folder.File(name), {1});
    }
    fs::create_directory(Folder.File(".tulvo-3-3.tmp")); // not a file: stays

    Write("a.spm", 1);
    auto expected = unlike;
    expected.push_back(".tulvo-3-3.tmp");
    expected.push_back("a.spm");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderEntries(Folder.Path()), expected);
}

// A temporary that its writer still holds, in this process or another, is in use and is never
// removed.
TEST_F(SpectrumWriterSeries, TemporaryOfALiveWriterIsLeftAlone)
{
    const std::string inUse = Folder.File(".tulvo-77-5.tmp");
    {
        Platform::TTemporaryFile live;
        ASSERT_EQ(live.CreateNamed(inUse, true), 0);
        ASSERT_EQ(WriteSome(live.Handle(), "live", 4, inUse), 4u);

        Write("a.spm", 1);
        Writer.Release();
        Write("b.spm", 2); // the next series sweeps again
        EXPECT_EQ(ReadBytes(inUse), (std::vector<std::uint8_t>{'l', 'i', 'v', 'e'}));
        EXPECT_EQ(RemoveReplacementDebris(Folder.Path().string()), 0);
        EXPECT_EQ(live.CloseForWriting(), 0);
    } // its writer is gone now, and its temporary with it
    WriteBytes(inUse, {1});
    Writer.Release();
    Write("c.spm", 3);
    EXPECT_EQ(Temporaries(), std::vector<std::string>{});
}

// Not a test of its own: the writer that KilledWriterLeavesNoDebrisAfterTheNextWrite starts as
// a process of its own and ends at any moment of its writing.
TEST(SpectrumWriterProcess, DISABLED_WritesUntilStopped)
{
    const char* folder = std::getenv(WriterFolderVariable);
    if (folder == nullptr) {
        GTEST_SKIP() << WriterFolderVariable << " names no folder to write into";
    }
    TSpmFileWriter writer;
    TDataFile file;
    for (int i = 0;; i = (i + 1) % 50) {
        writer.Write(file, JoinPath(folder, Numbered("f", i)), 0.5L, CodesOf(i));
    }
}

// A writer killed at any moment of a long series leaves nothing that the next write into that
// folder does not remove, and never a partial spectrum file.
TEST_F(SpectrumWriterSeries, KilledWriterLeavesNoDebrisAfterTheNextWrite)
{
    const std::vector<std::string> writer = {Platform::RunningProgramPath(),
                                             "--gtest_filter=SpectrumWriterProcess.DISABLED_WritesUntilStopped",
                                             "--gtest_also_run_disabled_tests"};
    const std::string environment = std::string(WriterFolderVariable) + "=" + Folder.Path().string();
    for (int round = 0; round < 8; ++round) {
        const pid_t child = StartProgram(writer, "/dev/null", "/dev/null", "/dev/null", {environment});
        // Long enough for the first files, then a moment that differs in every round.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!Exists(Folder.File("f3.spm")) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(137 * round * round));
        StopProgram(child);
        WaitProgram(child);
        ASSERT_TRUE(Exists(Folder.File("f3.spm"))) << "the writer wrote nothing in round " << round;

        TSpmFileWriter next;
        next.Write(File, Folder.File("next.spm"), 0.5L, CodesOf(1));
        EXPECT_EQ(Temporaries(), std::vector<std::string>{}) << "round " << round;
        for (int i = 0; i < 50; ++i) {
            const auto bytes = ReadBytes(Folder.File(Numbered("f", i)));
            EXPECT_TRUE(bytes.empty() || bytes == ImageOf(i)) << "f" << i << " in round " << round;
        }
        fs::remove(Folder.File("f3.spm"));
    }
}

// ---------------------------------------------------------------------------
// Each kind of replacement
// ---------------------------------------------------------------------------

struct TKindCase {
    const char* Name;
    TReplacementKind Kind;
};

void PrintTo(const TKindCase& c, std::ostream* os) { *os << c.Name; }

class ReplacementKinds : public testing::TestWithParam<TKindCase> {
protected:
    TTempFolder Folder;

    // The code of replacing path by bytes of the case's kind, 0 when it succeeds.
    int ReplaceCode(const std::string& path, const std::string& bytes)
    {
        try {
            const std::string target = ReplacementTarget(path, GetParam().Kind);
            ReplaceWithBytes(target, bytes, GetParam().Kind, TFlushing::BeforeRename, path);
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.Path(), path);
            return e.ErrorCode();
        }
        return 0;
    }
};

// A replacement that fails once the bytes are written (a folder has the target's name, which no
// file replaces) leaves the folder as it was and no temporary; nor does a target in a missing
// folder leave anything.
TEST_P(ReplacementKinds, AFailedReplacementLeavesTheTargetAndNoTemporary)
{
    const std::string folder = Folder.File("taken");
    fs::create_directory(folder);
    WriteBytes(folder + "/inside", {1});
    try {
        ReplaceWithBytes(folder, "new", GetParam().Kind, TFlushing::BeforeRename, folder);
        ADD_FAILURE() << "a folder was replaced";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), IoCode::AccessDenied);
        EXPECT_EQ(e.Path(), folder);
    }
    EXPECT_EQ(ReplaceCode(Folder.File("missing/a.spm"), "new"), IoCode::InvalidFilename);
    EXPECT_EQ(ReplaceCode("", "new"), IoCode::InvalidFilename);
    EXPECT_EQ(ReplaceCode(folder, "new"), IoCode::AccessDenied);
    EXPECT_EQ(FolderEntries(Folder.Path()), std::vector<std::string>{"taken"});
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"inside"});
}

// What replaces a file the user has made read-only: the spectrum files and the windows' saves
// refuse it before writing anything.
TEST_P(ReplacementKinds, AReadOnlyTargetIsRefusedOrReplacedAsTheKindSays)
{
    const std::string path = Folder.File("kept.csv");
    WriteBytes(path, {'o', 'l', 'd'});
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const TPermissionsEnforced enforced;
    if (std::ofstream(path, std::ios::app).is_open()) {
        fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
        GTEST_SKIP() << "a read-only file may be written by this process";
    }
    const bool refused = GetParam().Kind != TReplacementKind::ToolOutput;
    const int code = ReplaceCode(path, "new");
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    if (refused) {
        EXPECT_EQ(code, IoCode::AccessDenied);
        EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    }
    EXPECT_EQ(FolderEntries(Folder.Path()), std::vector<std::string>{"kept.csv"});
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReplacementKinds,
                         testing::Values(TKindCase{"SpectrumFile", TReplacementKind::SpectrumFile},
                                         TKindCase{"WindowSave", TReplacementKind::WindowSave},
                                         TKindCase{"ToolOutput", TReplacementKind::ToolOutput}),
                         [](const testing::TestParamInfo<TKindCase>& info) { return std::string(info.param.Name); });

// ---------------------------------------------------------------------------
// The flush at a run's end
// ---------------------------------------------------------------------------

TEST(SyncFolders, FlushesEachFileSystemOnce)
{
    TTempFolder one;
    TTempFolder two;
    EXPECT_EQ(SyncFolders({}), 0);
    EXPECT_EQ(SyncFolders({one.Path().string(), two.Path().string(), one.Path().string()}), 1);
    EXPECT_EQ(SyncFolders({one.File("missing")}), 0);

    // Folders on two file systems, where the machine has a second one.
    const auto tmp = Platform::StatusOf(one.Path().string());
    const auto shm = Platform::StatusOf("/dev/shm");
    if (tmp && shm && tmp->Identity.Device != shm->Identity.Device) {
        EXPECT_EQ(SyncFolders({one.Path().string(), "/dev/shm", two.Path().string()}), 2);
    }
}

TEST(SyncFolders, ABatchKeepsTheFoldersItWroteInto)
{
    TTempFolder one;
    TTempFolder two;
    TSpmFileWriter writer;
    TDataFile file;
    writer.Write(file, one.File("a.spm"), 1.0L, TBandCodes{});
    writer.Write(file, two.File("b.spm"), 1.0L, TBandCodes{});
    writer.Write(file, one.File("c.spm"), 1.0L, TBandCodes{});
    EXPECT_EQ(writer.Folders(), (std::vector<std::string>{one.Path().string(), two.Path().string()}));
    EXPECT_EQ(SyncFolders(writer.Folders()), 1);
    writer.Release();
    EXPECT_TRUE(writer.Folders().empty());

    // A rerun that finds every file already holding its bytes keeps them, yet still flushes
    // their folders: they may come from a run that never reached its own flush.
    writer.Write(file, two.File("b.spm"), 1.0L, TBandCodes{});
    writer.Write(file, one.File("a.spm"), 1.0L, TBandCodes{});
    EXPECT_EQ(writer.Folders(), (std::vector<std::string>{two.Path().string(), one.Path().string()}));
}

} // namespace
