// tulvo-cli as a process where the process is the point: many processes
// appending to one report. The tests of POSIX behaviour (no Qt loaded, a
// signal in the middle of a large batch, stdout on a full device, plot handed
// to its drawing helper) are in ToolProcessPosixTest.cpp.

#include "ToolProcessFixture.h"

#include "tests/support/ProgramRun.h"

#include <gtest/gtest.h>

#include <set>

using namespace testsupport;
using namespace toolprocesstest;

namespace {

TEST(ToolProcess, TwentyProcessesAppendingToOneReportKeepEveryRow)
{
    TTempFolder folder;
    const auto paths = CopiesOfARecording(folder, 200);
    const std::string report = folder.File("report.csv");
    std::vector<pid_t> pids;
    for (int chunk = 0; chunk < 20; ++chunk) {
        std::vector<std::string> args{"batch", "--jobs=1", "--report", report, "--append", "-q"};
        args.insert(args.end(), paths.begin() + chunk * 10, paths.begin() + chunk * 10 + 10);
        pids.push_back(StartProgram(Cli(args), "/dev/null", "/dev/null", "/dev/null"));
    }
    for (const pid_t pid : pids) {
        EXPECT_EQ(WaitProgram(pid).Status, 0);
    }
    const auto rows = LinesOf(TextOf(report));
    ASSERT_EQ(rows.size(), 201u);
    EXPECT_EQ(rows[0], "File,Status,Peak frequency (Hz),Peak value,Format");
    std::set<std::string> files;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        files.insert(rows[i].substr(0, rows[i].find(',')));
        EXPECT_EQ(rows[i].substr(rows[i].find(','), 9), ",ok,3000,") << rows[i];
    }
    EXPECT_EQ(files.size(), 200u);
}

} // namespace
