// Files that are not regular files: a FIFO, a socket or a device named as a
// recording or a spectrum file is refused with code 5 at once, never waited
// for; a symbolic link to a regular file reads as the file; reads that ask
// for any kind of file take pipes and devices with blocking reads.

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/SpectrumFixtures.h"
#include "tests/support/TTempFolder.h"

#include "core/analysis/SpmFile.h"
#include "core/analysis/TSampleBlock.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace testsupport;

namespace {

enum class TKind { Fifo, Socket, Device, Folder, LinkToFifo };

struct TKindCase {
    const char* Name;
    TKind Kind;
};

void PrintTo(const TKindCase& c, std::ostream* os) { *os << c.Name; }

// Makes a file of the case's kind and returns its path. A socket stays bound
// (its descriptor in socketHandle) until the test closes it.
std::string MakeFileOfKind(const TTempFolder& folder, TKind kind, int& socketHandle)
{
    const std::string path = folder.File("rec.wav");
    switch (kind) {
    case TKind::Fifo: EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0); return path;
    case TKind::LinkToFifo:
        EXPECT_EQ(::mkfifo(folder.File("fifo").c_str(), 0600), 0);
        EXPECT_EQ(::symlink("fifo", path.c_str()), 0);
        return path;
    case TKind::Socket: {
        socketHandle = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        EXPECT_LT(path.size(), sizeof address.sun_path);
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        EXPECT_EQ(::bind(socketHandle, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(::listen(socketHandle, 1), 0);
        return path;
    }
    case TKind::Device: return "/dev/null";
    case TKind::Folder: EXPECT_EQ(::mkdir(path.c_str(), 0755), 0); return path;
    }
    return path;
}

class NotARegularFile : public testing::TestWithParam<TKindCase> {
protected:
    TTempFolder Folder;
    int SocketHandle = -1;
    ~NotARegularFile() override
    {
        if (SocketHandle >= 0) {
            ::close(SocketHandle);
        }
    }

    // The code of read, 0 when it succeeds; no descriptor stays open.
    static int CodeOf(const std::function<void()>& read)
    {
        const int before = OpenDescriptorCount();
        int code = 0;
        try {
            read();
        } catch (const EInOutError& e) {
            code = e.ErrorCode();
        }
        EXPECT_EQ(OpenDescriptorCount(), before);
        return code;
    }
};

// Without a writer a FIFO's open would wait for ever: the test's CTest
// timeout turns such a wait into a failure.
TEST_P(NotARegularFile, IsRefusedAsARecordingOrASpectrumFileWithoutWaiting)
{
    const std::string path = MakeFileOfKind(Folder, GetParam().Kind, SocketHandle);
    EXPECT_EQ(CodeOf([&] { ReadSampleBlock(path); }), IoCode::AccessDenied);
    EXPECT_EQ(CodeOf([&] { ReadSpectrum(path); }), IoCode::AccessDenied);
    EXPECT_EQ(CodeOf([&] {
                  TDataFile file;
                  file.Bind(path);
                  file.OpenRead(TFileKinds::RegularOnly);
              }),
              IoCode::AccessDenied);
}

INSTANTIATE_TEST_SUITE_P(Kinds, NotARegularFile,
                         testing::Values(TKindCase{"Fifo", TKind::Fifo}, TKindCase{"LinkToFifo", TKind::LinkToFifo},
                                         TKindCase{"Socket", TKind::Socket}, TKindCase{"Device", TKind::Device},
                                         TKindCase{"Folder", TKind::Folder}),
                         [](const testing::TestParamInfo<TKindCase>& info) { return std::string(info.param.Name); });

TEST(FileKinds, SymbolicLinksToRegularFilesReadAsTheFile)
{
    TTempFolder folder;
    const TSamples samples = NoiseSamples(3, 1000);
    WriteRecording(folder.File("real.wav"), samples);
    ASSERT_EQ(::symlink("real.wav", folder.File("link.wav").c_str()), 0);
    const TSampleBlock block = ReadSampleBlock(folder.File("link.wav"));
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), block.Samples.begin()));

    TSpectrumCodes codes{};
    codes[5] = 10000;
    WriteSpectrumFixture(folder.File("real.spm"), 0.25L, codes);
    ASSERT_EQ(::symlink(folder.File("real.spm").c_str(), folder.File("link.spm").c_str()), 0);
    EXPECT_EQ(ReadSpectrum(folder.File("link.spm")).Codes, codes);
}

// Any readable kind: a FIFO is read as its writer feeds it, in pieces, and a
// device like any file.
TEST(FileKinds, AnyReadableReadsAFifoFedByAnotherThreadAndDevices)
{
    TTempFolder folder;
    const std::string fifo = folder.File("stream.wav");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    WriteRecording(folder.File("source.wav"), SineSamples(2000.0, 5000.0));
    const auto bytes = ReadBytes(folder.File("source.wav"));
    std::thread feeder([&] {
        const int handle = ::open(fifo.c_str(), O_WRONLY | O_CLOEXEC); // waits for the reader
        if (handle < 0) {
            return;
        }
        for (std::size_t done = 0; done < bytes.size();) {
            const std::size_t piece = std::min<std::size_t>(1000, bytes.size() - done);
            const ssize_t put = ::write(handle, bytes.data() + done, piece);
            if (put <= 0) {
                break;
            }
            done += static_cast<std::size_t>(put);
        }
        ::close(handle);
    });
    const TSampleBlock block = ReadSampleBlock(fifo, TFileKinds::AnyReadable);
    feeder.join();
    const TSamples expected = SineSamples(2000.0, 5000.0);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), block.Samples.begin()));

    const TSampleBlock zeros = ReadSampleBlock("/dev/zero", TFileKinds::AnyReadable);
    EXPECT_TRUE(std::all_of(zeros.Samples.begin(), zeros.Samples.end(), [](auto s) { return s == 0; }));
    try {
        ReadSampleBlock("/dev/null", TFileKinds::AnyReadable);
        ADD_FAILURE() << "an empty device gave a block";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), IoCode::ReadBeyondEnd);
    }
    try {
        ReadSampleBlock(folder.Path().string(), TFileKinds::AnyReadable);
        ADD_FAILURE() << "a folder gave a block";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), IoCode::AccessDenied);
    }
}

} // namespace
