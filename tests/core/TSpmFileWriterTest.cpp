// The spectrum-file writer over a series of files: every replacement is a
// new file, so that whoever holds a replaced file (an open descriptor, a hard
// link) keeps its contents; failures and crashes leave no temporary behind
// that a later write does not sweep away; the final flush of a run.

#include "tests/support/FileBytes.h"
#include "tests/support/TTempFolder.h"

#include "core/SyncFolders.h"
#include "core/TSpmFileWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace testsupport;

namespace {

class SpectrumWriterSeries : public testing::Test {
protected:
    TTempFolder Folder;
    TDataFile File;
    TSpmFileWriter Writer;

    static TBandCodes CodesOf(int value)
    {
        TBandCodes codes{};
        codes.fill(static_cast<std::int16_t>(value));
        return codes;
    }
    static std::vector<std::uint8_t> ImageOf(int value)
    {
        const auto image = SpectrumFileImage(0.5L, CodesOf(value));
        return std::vector<std::uint8_t>(image.begin(), image.end());
    }
    void Write(const std::string& name, int value)
    {
        Writer.Write(File, Folder.File(name), 0.5L, CodesOf(value));
        EXPECT_FALSE(File.IsOpen());
    }
    static mode_t ModeOf(const std::string& path)
    {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }
    // The whole contents of an open descriptor, from its start.
    static std::vector<std::uint8_t> ContentsOf(int handle)
    {
        std::vector<std::uint8_t> bytes(4096);
        const ssize_t got = ::pread(handle, bytes.data(), bytes.size(), 0);
        bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return bytes;
    }
    // "<stem><number>.spm", built up in place (GCC 12 warns falsely about
    // a literal + std::string chain).
    static std::string Numbered(const char* stem, int number)
    {
        std::string name(stem);
        name += std::to_string(number);
        name += ".spm";
        return name;
    }
    // Names in the folder that a writer gives its temporaries.
    std::vector<std::string> Temporaries() const
    {
        std::vector<std::string> found;
        for (const auto& name : FolderEntries(Folder.Path())) {
            if (name.rfind(".tulvo-", 0) == 0) {
                found.push_back(name);
            }
        }
        return found;
    }
};

TEST_F(SpectrumWriterSeries, ReplacesExistingFilesAndLeavesNothingAfterRelease)
{
    for (int i = 0; i < 5; ++i) {
        WriteBytes(Folder.File(Numbered("s", i)), std::vector<std::uint8_t>(100 + 900 * i, 0x77));
    }
    WriteBytes(Folder.File("s0.spm"), std::vector<std::uint8_t>(2000, 0x77)); // longer than a spectrum file
    const mode_t fresh = [&] {
        Write("new.spm", 1);
        return ModeOf(Folder.File("new.spm"));
    }();
    ::chmod(Folder.File("s1.spm").c_str(), 0600);
    for (int i = 0; i < 5; ++i) {
        Write(Numbered("s", i), 10 + i);
    }
    for (int i = 0; i < 5; ++i) {
        const std::string path = Folder.File(Numbered("s", i));
        EXPECT_EQ(ReadBytes(path), ImageOf(10 + i)) << path;
        EXPECT_EQ(ModeOf(path), fresh) << path;
    }
    Writer.Release();
    EXPECT_EQ(FolderEntries(Folder.Path()).size(), 6u); // no temporary left
}

// Whoever holds a replaced file, by a descriptor or by another name, keeps
// what it held, however many files the writer writes after it.
TEST_F(SpectrumWriterSeries, ReplacedFilesKeepTheirContentsForWhoeverHoldsThem)
{
    const std::string held = Folder.File("held.spm");
    const std::string linked = Folder.File("linked.spm");
    WriteBytes(held, std::vector<std::uint8_t>(732, 0x55));
    WriteBytes(linked, std::vector<std::uint8_t>(732, 0x66));
    ASSERT_EQ(::link(linked.c_str(), Folder.File("backup.bin").c_str()), 0);
    const int handle = ::open(held.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(handle, 0);
    const int heldByWriter = [&] { // the writer's own file replaced, still open for the caller
        Write("own.spm", 9);
        return ::open(Folder.File("own.spm").c_str(), O_RDONLY | O_CLOEXEC);
    }();

    Write("held.spm", 1);
    Write("linked.spm", 2);
    Write("own.spm", 3);
    for (int i = 0; i < 20; ++i) {
        Write(Numbered("later", i), 100 + i);
        Write(Numbered("later", i), 200 + i); // replaces a file again
    }
    EXPECT_EQ(ContentsOf(handle), std::vector<std::uint8_t>(732, 0x55));
    EXPECT_EQ(ContentsOf(heldByWriter), ImageOf(9));
    EXPECT_EQ(ReadBytes(Folder.File("backup.bin")), std::vector<std::uint8_t>(732, 0x66));
    EXPECT_EQ(ReadBytes(held), ImageOf(1));
    EXPECT_EQ(ReadBytes(linked), ImageOf(2));
    EXPECT_EQ(ReadBytes(Folder.File("own.spm")), ImageOf(3));
    ::close(handle);
    ::close(heldByWriter);
}

// A rerun over the same recording writes the same bytes: a regular file that
// already holds exactly them stays the same file and only becomes newer; one
// that holds anything else (more bytes, other codes) is replaced. A symbolic
// link is written through: the file it leads to is kept or replaced the same
// way, in its own folder, and the link stays.
TEST_F(SpectrumWriterSeries, AFileAlreadyHoldingTheBytesIsKeptAndMadeNewer)
{
    const struct {
        const char* Name;
        std::vector<std::uint8_t> Held;
        bool Link;
        bool Kept;
    } cases[] = {
        {"same.spm", ImageOf(7), false, true},
        {"longer.spm",
         [] {
             auto b = ImageOf(7);
             b.push_back(0);
             return b;
         }(),
         false, false},
        {"other.spm", ImageOf(8), false, false},
        {"link.spm", ImageOf(7), true, true},
        {"relinked.spm", ImageOf(8), true, false},
    };
    const timespec old{1000000000, 0};
    const timespec times[2] = {old, old};
    ASSERT_EQ(::mkdir(Folder.File("elsewhere").c_str(), 0755), 0);
    for (const auto& c : cases) {
        const std::string path = Folder.File(c.Name);
        const std::string held = c.Link ? Folder.File("elsewhere/" + std::string(c.Name)) : path;
        WriteBytes(held, c.Held);
        ASSERT_EQ(::utimensat(AT_FDCWD, held.c_str(), times, 0), 0);
        if (c.Link) {
            ASSERT_EQ(::symlink(("elsewhere/" + std::string(c.Name)).c_str(), path.c_str()), 0);
        }
        struct stat before {};
        ASSERT_EQ(::stat(held.c_str(), &before), 0);
        Write(c.Name, 7);
        struct stat after {};
        ASSERT_EQ(::stat(held.c_str(), &after), 0);
        struct stat named {};
        ASSERT_EQ(::lstat(path.c_str(), &named), 0);
        EXPECT_EQ(ReadBytes(path), ImageOf(7)) << c.Name;
        EXPECT_EQ(S_ISLNK(named.st_mode), c.Link) << c.Name;
        EXPECT_TRUE(S_ISREG(after.st_mode)) << c.Name;
        EXPECT_EQ(after.st_ino == before.st_ino, c.Kept) << c.Name;
        EXPECT_GT(after.st_mtim.tv_sec, old.tv_sec) << c.Name;
        EXPECT_EQ(ReadBytes(held), ImageOf(7)) << c.Name;
    }
    EXPECT_TRUE(Temporaries().empty());
    EXPECT_EQ(FolderEntries(Folder.File("elsewhere")), (std::vector<std::string>{"link.spm", "relinked.spm"}));
    EXPECT_EQ(Writer.Folders(), (std::vector<std::string>{Folder.Path().string(), Folder.File("elsewhere")}));
}

// A link that cannot be written through fails as an open for writing would,
// and nothing is written: not the link, not its folder, not the target's.
TEST_F(SpectrumWriterSeries, ALinkThatLeadsNowhereFailsAsAnOpenWould)
{
    const struct {
        const char* Name;
        const char* Target;
        int Code;
        const char* Message;
    } cases[] = {
        {"loop.spm", "loop.spm", ELOOP, "I/O error 40"},
        {"ring.spm", "ring2.spm", ELOOP, "I/O error 40"},
        {"nowhere.spm", "missing/a.spm", IoCode::InvalidFilename, "Invalid filename"},
    };
    ASSERT_EQ(::symlink("ring.spm", Folder.File("ring2.spm").c_str()), 0);
    for (const auto& c : cases) {
        const std::string path = Folder.File(c.Name);
        ASSERT_EQ(::symlink(c.Target, path.c_str()), 0);
        try {
            Write(c.Name, 1);
            ADD_FAILURE() << c.Name << " written";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.ErrorCode(), c.Code) << c.Name;
            EXPECT_STREQ(e.what(), c.Message) << c.Name;
            EXPECT_EQ(e.Path(), path) << c.Name;
        }
    }
    EXPECT_EQ(FolderEntries(Folder.Path()),
              (std::vector<std::string>{"loop.spm", "nowhere.spm", "ring.spm", "ring2.spm"}));
}

TEST_F(SpectrumWriterSeries, FilesRemovedBetweenWritesDoNotHinderTheNext)
{
    WriteBytes(Folder.File("a.spm"), {1, 2, 3});
    Write("a.spm", 1);
    for (const auto& name : FolderEntries(Folder.Path())) {
        std::filesystem::remove(Folder.Path() / name);
    }
    Write("b.spm", 2);
    EXPECT_EQ(ReadBytes(Folder.File("b.spm")), ImageOf(2));
}

TEST_F(SpectrumWriterSeries, FailureInASeriesKeepsTheOlderFile)
{
    WriteBytes(Folder.File("a.spm"), std::vector<std::uint8_t>(732, 0x10));
    WriteBytes(Folder.File("b.spm"), std::vector<std::uint8_t>(732, 0x20));
    Write("a.spm", 1);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = 0; // no write can store a byte
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    int code = 0;
    try {
        Write("b.spm", 2);
    } catch (const EInOutError& e) {
        code = e.ErrorCode();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(code, IoCode::DiskFull);
    EXPECT_EQ(ReadBytes(Folder.File("b.spm")), std::vector<std::uint8_t>(732, 0x20));
    EXPECT_EQ(FolderEntries(Folder.Path()), (std::vector<std::string>{"a.spm", "b.spm"}));
}

// A temporary left by a writer that is gone (its lock free) is removed by the
// first write into its folder; anything else of a similar name stays.
TEST_F(SpectrumWriterSeries, FirstWriteIntoAFolderRemovesTheDebrisOfGoneWriters)
{
    for (const char* name : {".tulvo-4242-0.tmp", ".tulvo-1-17.tmp"}) {
        WriteBytes(Folder.File(name), std::vector<std::uint8_t>(300, 0x42));
    }
    const std::vector<std::string> unlike = {".tulvo-12.tmp", ".tulvo-1-2.tmp.bak", ".tulvo--1.tmp", "tulvo-1-2.tmp",
                                             ".tulvo-1-x.tmp"};
    for (const auto& name : unlike) {
        WriteBytes(Folder.File(name), {1});
    }
    ASSERT_EQ(::mkdir(Folder.File(".tulvo-3-3.tmp").c_str(), 0755), 0); // not a file: stays

    Write("a.spm", 1);
    auto expected = unlike;
    expected.push_back(".tulvo-3-3.tmp");
    expected.push_back("a.spm");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderEntries(Folder.Path()), expected);
}

// A temporary whose writer still holds its lock, in this process or another,
// is in use and is never removed.
TEST_F(SpectrumWriterSeries, TemporaryOfALiveWriterIsLeftAlone)
{
    const std::string inUse = Folder.File(".tulvo-77-5.tmp");
    WriteBytes(inUse, std::vector<std::uint8_t>(732, 0x33));
    const int handle = ::open(inUse.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(handle, 0);
    ASSERT_EQ(::flock(handle, LOCK_EX), 0);

    Write("a.spm", 1);
    Writer.Release();
    Write("b.spm", 2); // the next series sweeps again
    EXPECT_EQ(ReadBytes(inUse), std::vector<std::uint8_t>(732, 0x33));

    ::close(handle); // its writer is gone now
    Writer.Release();
    Write("c.spm", 3);
    EXPECT_EQ(Temporaries(), std::vector<std::string>{});
}

// A writer killed at any moment of a long series leaves nothing that the next
// write into that folder does not remove, and never a partial spectrum file.
TEST_F(SpectrumWriterSeries, KilledWriterLeavesNoDebrisAfterTheNextWrite)
{
    for (int round = 0; round < 12; ++round) {
        std::fflush(nullptr);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            TSpmFileWriter writer;
            TDataFile file;
            for (int i = 0;; i = (i + 1) % 50) {
                writer.Write(file, Folder.File(Numbered("f", i)), 0.5L, CodesOf(i));
            }
        }
        // Long enough for the first files, then a moment that differs in every round.
        while (!Exists(Folder.File("f3.spm"))) {
            ASSERT_EQ(::waitpid(child, nullptr, WNOHANG), 0) << "the writing child ended on its own";
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(137 * round * round));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));

        TSpmFileWriter next;
        next.Write(File, Folder.File("next.spm"), 0.5L, CodesOf(1));
        EXPECT_EQ(Temporaries(), std::vector<std::string>{}) << "round " << round;
        for (int i = 0; i < 50; ++i) {
            const auto bytes = ReadBytes(Folder.File(Numbered("f", i)));
            EXPECT_TRUE(bytes.empty() || bytes == ImageOf(i)) << "f" << i << " in round " << round;
        }
    }
}

TEST(SyncFolders, FlushesEachFileSystemOnce)
{
    TTempFolder one;
    TTempFolder two;
    EXPECT_EQ(SyncFolders({}), 0);
    EXPECT_EQ(SyncFolders({one.Path().string(), two.Path().string(), one.Path().string()}), 1);
    EXPECT_EQ(SyncFolders({one.File("missing")}), 0);

    // Folders on two file systems, where the machine has a second one.
    struct stat tmp {};
    struct stat shm {};
    if (::stat(one.Path().c_str(), &tmp) == 0 && ::stat("/dev/shm", &shm) == 0 && tmp.st_dev != shm.st_dev) {
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
