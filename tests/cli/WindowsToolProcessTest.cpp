// tulvo-cli.exe as a process where Windows is the point: Ctrl+C in the middle of a large batch,
// and plot while the drawing helper has no Windows build. Built in the Windows build only.

#include "ToolProcessFixture.h"

#include "core/base/Paths.h"
#include "core/platform/FileStatus.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/SpectrumFixtures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <windows.h>

using namespace testsupport;
using namespace toolprocesstest;

namespace {

TEST(WindowsToolProcess, CtrlCStopsAfterTheFileInHandWithStatus130)
{
    TTempFolder folder;
    const auto paths = CopiesOfARecording(folder, 3000);
    std::string list;
    for (const auto& path : paths) {
        list += path + "\n";
    }
    WriteBytes(folder.File("list"), std::vector<std::uint8_t>(list.begin(), list.end()));
    const std::string report = folder.File("report.csv");
    // A console of this process's own, which the tool shares: the console's Ctrl+C reaches every
    // process on it, this one ignores it.
    ::FreeConsole();
    ASSERT_TRUE(::AllocConsole());
    const pid_t pid = StartProgram(Cli({"batch", "--files-from", folder.File("list"), "--report", report}), "/dev/null",
                                   "/dev/null", folder.File("stderr"));
    ::SetConsoleCtrlHandler(nullptr, TRUE);
    for (int wait = 0; wait < 20000 && TextOf(report).size() < 50 * 60; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    const TProgramResult result = WaitProgram(pid);
    ::FreeConsole();
    EXPECT_EQ(result.Status, 130);

    std::size_t spectra = 0;
    for (const auto& name : FolderEntries(folder.Path())) {
        EXPECT_NE(name[0], '.') << "temporary file " << name << " left";
        if (name.ends_with(".spm")) {
            ++spectra;
            EXPECT_EQ(ReadBytes(folder.File(name)).size(), 732u) << name;
        }
    }
    EXPECT_GT(spectra, 0u);
    EXPECT_LT(spectra, paths.size()) << "the run ended before Ctrl+C";
    EXPECT_EQ(LinesOf(TextOf(report)).size(), spectra + 1);
    const std::string err = TextOf(folder.File("stderr"));
    EXPECT_NE(err.find("tulvo-cli: 3000 recordings: " + std::to_string(spectra) + " written, 0 failed, " +
                       std::to_string(3000 - spectra) + " not done; stopped by SIGINT\n"),
              std::string::npos)
        << err;
}

TEST(WindowsToolProcess, PlotSaysThatItsHelperIsNotThere)
{
    const std::string helper = JoinPath(FolderPath(TULVO_CLI_PATH), "tulvo-plot.exe");
    if (Platform::StatusOf(helper)) {
        GTEST_SKIP() << "this build has the drawing helper beside the tool";
    }
    TTempFolder folder;
    const std::string spectrum = folder.File("a.spm");
    WriteSpectrumFixture(spectrum, 1e-6L, TSpectrumCodes{});
    const TProgramResult run = RunProgram(Cli({"plot", spectrum, "-o", folder.File("a.png")}));
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("tulvo-plot.exe: cannot run the drawing helper (No such file or directory)"),
              std::string::npos)
        << run.Err;
    EXPECT_NE(run.Err.find("not built for Windows yet"), std::string::npos) << run.Err;
    EXPECT_FALSE(Exists(folder.File("a.png")));
}

} // namespace
