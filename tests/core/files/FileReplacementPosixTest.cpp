// The replacement of files where only POSIX can show it, the one place of such tests: the rest
// (FileReplacementTest.cpp) runs on every system, Windows under wine included. Here: symbolic
// links (written through, kept, looping; wine has none to make), a file replaced while it is open
// (Windows refuses that: WindowsPlatformTest.cpp), the mode of a new file, a limit on a file's
// size that cuts a write short (RLIMIT_FSIZE), and a folder that root may not write into (its
// capabilities dropped).

#include "SpectrumFileIoFixture.h"
#include "SpectrumWriterFixture.h"

#include "tests/support/FileBytes.h"
#include "tests/support/TPermissionsEnforced.h"
#include "tests/support/TTempFolder.h"

#include "core/files/FileReplacement.h"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testsupport;

namespace {

using writertest::ImageOf;

mode_t ModeOf(const std::string& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// A file size limit for the lifetime of the object: no write stores more than bytes in all.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN))
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit tight = saved_;
        tight.rlim_cur = bytes;
        set_ = ::setrlimit(RLIMIT_FSIZE, &tight) == 0;
    }
    ~TFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;
    bool Set() const { return set_; }

private:
    rlimit saved_{};
    void (*previousHandler_)(int);
    bool set_ = false;
};

class PosixSpectrumWriterSeries : public writertest::SpectrumWriterSeries {};

// Every replaced file is a new one, with the mode a new file gets, whatever the old one's was.
TEST_F(PosixSpectrumWriterSeries, ReplacedFilesGetTheModeOfANewFile)
{
    Write("new.spm", 1);
    const mode_t fresh = ModeOf(Folder.File("new.spm"));
    WriteBytes(Folder.File("old.spm"), {1});
    ::chmod(Folder.File("old.spm").c_str(), 0600);
    Write("old.spm", 2);
    EXPECT_EQ(ModeOf(Folder.File("old.spm")), fresh);
    EXPECT_EQ(ReadBytes(Folder.File("old.spm")), ImageOf(2));
}

// Whoever holds a replaced file open keeps reading what it held, however many files the writer
// writes after it, the writer's own files included.
TEST_F(PosixSpectrumWriterSeries, ReplacedFilesKeepTheirContentsForWhoeverHoldsThemOpen)
{
    const std::string held = Folder.File("held.spm");
    WriteBytes(held, std::vector<std::uint8_t>(732, 0x55));
    const int handle = ::open(held.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(handle, 0);
    Write("own.spm", 9);
    const int ownHandle = ::open(Folder.File("own.spm").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(ownHandle, 0);

    Write("held.spm", 1);
    Write("own.spm", 3);
    for (int i = 0; i < 20; ++i) {
        Write("later.spm", 100 + i);
    }
    std::vector<std::uint8_t> stillHeld(732);
    EXPECT_EQ(::pread(handle, stillHeld.data(), stillHeld.size(), 0), 732);
    EXPECT_EQ(stillHeld, std::vector<std::uint8_t>(732, 0x55));
    EXPECT_EQ(::pread(ownHandle, stillHeld.data(), stillHeld.size(), 0), 732);
    EXPECT_EQ(stillHeld, ImageOf(9));
    EXPECT_EQ(ReadBytes(held), ImageOf(1));
    ::close(handle);
    ::close(ownHandle);
}

// A symbolic link is written through: the file it leads to is kept or replaced as any file, in
// its own folder, and the link stays.
TEST_F(PosixSpectrumWriterSeries, ALinkIsWrittenThroughAndStays)
{
    const struct {
        const char* Name;
        int Held;
        bool Kept;
    } cases[] = {{"link.spm", 7, true}, {"relinked.spm", 8, false}};
    const timespec old{1000000000, 0};
    const timespec times[2] = {old, old};
    ASSERT_EQ(::mkdir(Folder.File("elsewhere").c_str(), 0755), 0);
    for (const auto& c : cases) {
        const std::string path = Folder.File(c.Name);
        const std::string held = Folder.File("elsewhere/" + std::string(c.Name));
        WriteBytes(held, ImageOf(c.Held));
        ASSERT_EQ(::utimensat(AT_FDCWD, held.c_str(), times, 0), 0);
        ASSERT_EQ(::symlink(("elsewhere/" + std::string(c.Name)).c_str(), path.c_str()), 0);
        struct stat before {};
        ASSERT_EQ(::stat(held.c_str(), &before), 0);
        Write(c.Name, 7);
        struct stat after {};
        ASSERT_EQ(::stat(held.c_str(), &after), 0);
        struct stat named {};
        ASSERT_EQ(::lstat(path.c_str(), &named), 0);
        EXPECT_TRUE(S_ISLNK(named.st_mode)) << c.Name;
        EXPECT_TRUE(S_ISREG(after.st_mode)) << c.Name;
        EXPECT_EQ(after.st_ino == before.st_ino, c.Kept) << c.Name;
        EXPECT_GT(after.st_mtim.tv_sec, old.tv_sec) << c.Name;
        EXPECT_EQ(ReadBytes(held), ImageOf(7)) << c.Name;
    }
    EXPECT_EQ(FolderEntries(Folder.Path()), (std::vector<std::string>{"elsewhere", "link.spm", "relinked.spm"}));
    EXPECT_EQ(FolderEntries(Folder.File("elsewhere")), (std::vector<std::string>{"link.spm", "relinked.spm"}));
    EXPECT_EQ(Writer.Folders(), std::vector<std::string>{Folder.File("elsewhere")});
}

// A link that cannot be written through fails as an open for writing would, and nothing is
// written: not the link, not its folder, not the target's.
TEST_F(PosixSpectrumWriterSeries, ALinkThatLeadsNowhereFailsAsAnOpenWould)
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

// The windows' saves write through a link as the spectrum files do; the tool's outputs replace
// the link itself by the file.
TEST(ReplacementKindsOnLinks, AreWrittenThroughOrReplacedAsTheKindSays)
{
    const TTempFolder folder;
    for (const auto kind : {TReplacementKind::WindowSave, TReplacementKind::ToolOutput}) {
        const std::string link = folder.File("picture.png");
        const std::string held = folder.File("held.png");
        WriteBytes(held, {'o', 'l', 'd'});
        ASSERT_EQ(::symlink("held.png", link.c_str()), 0);
        ReplaceWithBytes(ReplacementTarget(link, kind), "new", kind, TFlushing::WhereNoFileSystemFlush, link);
        const bool through = kind == TReplacementKind::WindowSave;
        struct stat named {};
        ASSERT_EQ(::lstat(link.c_str(), &named), 0);
        EXPECT_EQ(S_ISLNK(named.st_mode), through);
        EXPECT_EQ(ReadBytes(held),
                  (through ? std::vector<std::uint8_t>{'n', 'e', 'w'} : std::vector<std::uint8_t>{'o', 'l', 'd'}));
        EXPECT_EQ(ReadBytes(link), (std::vector<std::uint8_t>{'n', 'e', 'w'}));
        EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"held.png", "picture.png"}));
        std::filesystem::remove(link);
    }
}

TEST_F(PosixSpectrumWriterSeries, FailureInASeriesKeepsTheOlderFile)
{
    WriteBytes(Folder.File("a.spm"), std::vector<std::uint8_t>(732, 0x10));
    WriteBytes(Folder.File("b.spm"), std::vector<std::uint8_t>(732, 0x20));
    Write("a.spm", 1);
    int code = 0;
    {
        const TFileSizeLimit limit(0); // no write can store a byte
        ASSERT_TRUE(limit.Set());
        try {
            Write("b.spm", 2);
        } catch (const EInOutError& e) {
            code = e.ErrorCode();
        }
    }
    EXPECT_EQ(code, IoCode::DiskFull);
    EXPECT_EQ(ReadBytes(Folder.File("b.spm")), std::vector<std::uint8_t>(732, 0x20));
    EXPECT_EQ(FolderEntries(Folder.Path()), (std::vector<std::string>{"a.spm", "b.spm"}));
}

using spmfiletest::SpectrumFileIo;

TEST_F(SpectrumFileIo, ShortWriteLeavesTheOlderFileAndNoTemporary)
{
    const std::string path = Folder.File("old.spm");
    const std::vector<std::uint8_t> older(732, 0x42);
    WriteBytes(path, older);
    int code = 0;
    {
        const TFileSizeLimit limit(100); // the write stores fewer bytes than asked
        ASSERT_TRUE(limit.Set());
        code = WriteCode(path, 1.0L, SomeCodes(3));
    }
    EXPECT_EQ(code, IoCode::DiskFull);
    EXPECT_EQ(ReadBytes(path), older);
    EXPECT_EQ(FolderEntries(Folder.Path()), std::vector<std::string>{"old.spm"});
}

TEST_F(SpectrumFileIo, UnwritableFolderCreatesNothing)
{
    TPermissionsEnforced enforced;
    if (!enforced.Available()) {
        GTEST_SKIP() << "cannot make file permissions apply to this process";
    }
    const std::string locked = Folder.File("locked");
    ASSERT_EQ(::mkdir(locked.c_str(), 0555), 0);
    EXPECT_EQ(WriteCode(locked + "/a.spm", 1.0L, SomeCodes(6)), IoCode::AccessDenied);
    EXPECT_TRUE(FolderEntries(locked).empty());
}

} // namespace
