// tulvo-cli as a process where POSIX behaviour is the point: no Qt loaded
// (ldd), a signal in the middle of a large batch, stdout on a full device,
// and plot handed to its drawing helper (FIFOs and a file size limit among
// its failures).

#include "ToolProcessFixture.h"

#include "tests/support/ProgramRun.h"
#include "tests/support/SpectrumFixtures.h"

#include "core/analysis/SpmFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace testsupport;
using namespace toolprocesstest;

namespace {

TEST(ToolProcess, LoadsNoQtNorAnyDisplayLibrary)
{
    const TProgramResult ldd = RunProgram({"/usr/bin/ldd", TULVO_CLI_PATH});
    ASSERT_EQ(ldd.Status, 0) << ldd.Err;
    for (const auto* library : {"libQt", "libX11", "libxcb", "libGL", "libEGL", "libicu", "libfontconfig"}) {
        EXPECT_EQ(ldd.Out.find(library), std::string::npos) << library << " in\n" << ldd.Out;
    }
}

TEST(ToolProcess, SigtermLeavesOnlyWholeSpectrumFilesAndNoTemporary)
{
    TTempFolder folder;
    const auto paths = CopiesOfARecording(folder, 3000);
    std::string list;
    for (const auto& path : paths) {
        list += path + "\n";
    }
    WriteBytes(folder.File("list"), std::vector<std::uint8_t>(list.begin(), list.end()));
    const std::string report = folder.File("report.csv");
    const pid_t pid = StartProgram(Cli({"batch", "--files-from", folder.File("list"), "--report", report}), "/dev/null",
                                   "/dev/null", folder.File("stderr"));
    // Signal once the run is under way.
    for (int wait = 0; wait < 5000 && TextOf(report).size() < 50 * 60; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    const TProgramResult result = WaitProgram(pid);
    EXPECT_EQ(result.Status, 143);

    std::size_t spectra = 0;
    for (const auto& name : FolderEntries(folder.Path())) {
        EXPECT_NE(name[0], '.') << "temporary file " << name << " left";
        if (name.ends_with(".spm")) {
            ++spectra;
            EXPECT_EQ(ReadBytes(folder.File(name)).size(), 732u) << name;
        }
    }
    EXPECT_GT(spectra, 0u);
    EXPECT_LT(spectra, paths.size()) << "the run ended before the signal";
    EXPECT_EQ(LinesOf(TextOf(report)).size(), spectra + 1); // the header, then a row per file written
    const std::string err = TextOf(folder.File("stderr"));
    EXPECT_NE(err.find("tulvo-cli: 3000 recordings: " + std::to_string(spectra) + " written, 0 failed, " +
                       std::to_string(3000 - spectra) + " not done; stopped by SIGTERM\n"),
              std::string::npos)
        << err;
}

TEST(ToolProcess, FullStdoutIsReportedAndStdinIsNoRecording)
{
    TTempFolder folder;
    const auto paths = CopiesOfARecording(folder, 2);
    const pid_t batch = StartProgram(Cli({"batch", "--report", "-", paths[0], paths[1]}), "/dev/null", "/dev/full",
                                     folder.File("batch.err"));
    EXPECT_EQ(WaitProgram(batch).Status, 1);
    EXPECT_EQ(TextOf(folder.File("batch.err")), "tulvo-cli: standard output: Disk full\n");

    WriteSpectrumFixture(folder.File("a.spm"), 1e-6L, TSpectrumCodes{});
    const pid_t show =
        StartProgram(Cli({"show", folder.File("a.spm")}), "/dev/null", "/dev/full", folder.File("show.err"));
    EXPECT_EQ(WaitProgram(show).Status, 1);
    EXPECT_EQ(TextOf(folder.File("show.err")), "tulvo-cli: standard output: Disk full\n");

    // Not a regular file: refused, instead of a spectrum file "/dev/s.spm".
    ::unlink("/dev/s.spm");
    const pid_t stdinRecording =
        StartProgram(Cli({"batch", "/dev/stdin"}), "/dev/null", "/dev/null", folder.File("stdin.err"));
    EXPECT_EQ(WaitProgram(stdinRecording).Status, 1);
    EXPECT_EQ(TextOf(folder.File("stdin.err")).rfind("tulvo-cli: /dev/stdin: File access denied\n", 0), 0u)
        << TextOf(folder.File("stdin.err"));
    EXPECT_FALSE(Exists("/dev/s.spm"));
}

class PlotProcess : public testing::Test {
protected:
    TTempFolder Folder;
    std::string Spectrum = Folder.File("a.spm");

    void SetUp() override
    {
        TSpectrumCodes codes{};
        for (int i = 0; i < SpectrumLines; ++i) {
            codes[i] = static_cast<std::int16_t>(100 + (i * 37) % 9000);
        }
        WriteSpectrumFixture(Spectrum, 1e-6L, codes);
    }
};

// The PNG's width and height from its header.
std::pair<int, int> PngSize(const std::vector<std::uint8_t>& png)
{
    if (png.size() < 24 || png[1] != 'P' || png[2] != 'N' || png[3] != 'G') {
        return {0, 0};
    }
    auto at = [&](std::size_t i) { return (png[i] << 24) | (png[i + 1] << 16) | (png[i + 2] << 8) | png[i + 3]; };
    return {at(16), at(20)};
}

TEST_F(PlotProcess, TakesTheSharedOptionFormsAndWritesToStdout)
{
    const std::string out = Folder.File("p.png");
    const TProgramResult joined = RunProgram(Cli({"plot", "--size=300x200", "-o", out, "--", Spectrum}));
    EXPECT_EQ(joined.Status, 0) << joined.Err;
    EXPECT_EQ(joined.Err, "");
    EXPECT_EQ(PngSize(ReadBytes(out)), std::make_pair(300, 200));

    const TProgramResult toStdout = RunProgram(Cli({"plot", "-", "--output=-"}), TextOf(Spectrum));
    EXPECT_EQ(toStdout.Status, 0) << toStdout.Err;
    EXPECT_EQ(PngSize(std::vector<std::uint8_t>(toStdout.Out.begin(), toStdout.Out.end())), std::make_pair(630, 360));
    EXPECT_FALSE(Exists("-"));
}

TEST_F(PlotProcess, FailuresAreNamedAndLeaveTheOlderPicture)
{
    const std::string missing = Folder.File("missing.spm");
    const std::string out = Folder.File("p.png");
    const TProgramResult unread = RunProgram(Cli({"plot", missing, "-o", out}));
    EXPECT_EQ(unread.Status, 1);
    EXPECT_EQ(unread.Err, "tulvo-cli: " + missing + ": File not found\n");

    // A pipe nobody writes to is refused at once instead of waited for.
    const std::string fifo = Folder.File("fifo.spm");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const TProgramResult pipe = RunProgram(Cli({"plot", fifo, "-o", out}));
    EXPECT_EQ(pipe.Status, 1);
    EXPECT_EQ(pipe.Err, "tulvo-cli: " + fifo + ": File access denied\n");
    ::unlink(fifo.c_str());

    const TProgramResult onInput = RunProgram(Cli({"plot", Spectrum, "-o", Spectrum}));
    EXPECT_EQ(onInput.Status, 2);
    EXPECT_NE(onInput.Err.find("would overwrite"), std::string::npos) << onInput.Err;
    EXPECT_EQ(ReadBytes(Spectrum).size(), 732u);

    // A write cut short (the file size limit, as a full disk would) keeps
    // the older picture and leaves no temporary file.
    const std::vector<std::uint8_t> older(100, 0x5A);
    WriteBytes(out, older);
    const TProgramResult cut =
        RunProgram({"/bin/sh", "-c", "trap '' XFSZ; ulimit -f 2; exec \"$0\" plot \"$1\" -o \"$2\"", TULVO_CLI_PATH,
                    Spectrum, out});
    EXPECT_EQ(cut.Status, 1);
    EXPECT_EQ(cut.Err, "tulvo-cli: " + out + ": Disk full (File too large)\n");
    EXPECT_EQ(ReadBytes(out), older);
    EXPECT_EQ(FolderEntries(Folder.Path()), (std::vector<std::string>{"a.spm", "p.png"}));
}

TEST_F(PlotProcess, UsageErrorsAndHelpComeWithoutTheHelper)
{
    // A helper that is not there: tulvo-cli answers these by itself.
    const std::string copy = Folder.File("tulvo-cli");
    WriteBytes(copy, ReadBytes(TULVO_CLI_PATH));
    ASSERT_EQ(::chmod(copy.c_str(), 0755), 0);
    const TProgramResult help = RunProgram({copy, "plot", "--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_EQ(help.Out.rfind("Usage: tulvo-cli plot [OPTIONS] FILE... -o OUT.png\n", 0), 0u) << help.Out;
    EXPECT_EQ(RunProgram({copy, "plot", Spectrum, "--size", "0x5", "-o", "x.png"}).Status, 2);
    const TProgramResult run = RunProgram({copy, "plot", Spectrum, "-o", Folder.File("x.png")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("cannot run the drawing helper (No such file or directory)"), std::string::npos) << run.Err;
}

} // namespace
