// tulvo-cli batch and show where POSIX behaviour decides: full devices
// (/dev/full), the stop signals, reports that are links to files of the run,
// names with bytes that are no characters or a line end, the locale's decimal
// point (LC_ALL), and FIFOs.

#include "BatchCommandFixture.h"
#include "ToolRun.h"

#include "tests/support/FileBytes.h"

#include "cli/ExitStatus.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

using namespace clitest;
using namespace testsupport;

namespace {

using batchcommandtest::BatchCommand;
using batchcommandtest::CsvRows;
using batchcommandtest::Header;
using batchcommandtest::ShowCommand;
using batchcommandtest::Text;

TEST_F(BatchCommand, ReportToStdoutAndFailedReportWrites)
{
    const auto paths = MakeRecordings("s", 2);
    const TToolRun toStdout = RunToolInProcess(Words({"batch", "--report=-"}, paths));
    EXPECT_EQ(toStdout.Status, ExitOk);
    const auto rows = CsvRows(toStdout.Out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2][0], paths[1]);
    EXPECT_EQ(toStdout.Err, "tulvo-cli: 2 recordings: 2 written, 0 failed\n");

    const TToolRun full = RunToolInProcess(Words({"batch", "--report", "-"}, paths), "", "/dev/full");
    EXPECT_EQ(full.Status, ExitFailure);
    EXPECT_EQ(full.Err, "tulvo-cli: standard output: Disk full\n");

    const TToolRun device = RunToolInProcess(Words({"batch", "--report", "/dev/full"}, paths));
    EXPECT_EQ(device.Status, ExitFailure);
    EXPECT_EQ(device.Err.rfind("tulvo-cli: /dev/full: Disk full\n", 0), 0u) << device.Err;
}

TEST_F(BatchCommand, StopRequestGivesTheSignalsStatusAndSummary)
{
    const auto paths = MakeRecordings("t", 3);
    const std::string report = Folder.File("report.csv");
    const TToolRun run = RunToolInProcess(Words({"batch", "--report", report}, paths), "", "", SIGTERM);
    EXPECT_EQ(run.Status, 143);
    EXPECT_EQ(run.Err, "tulvo-cli: 3 recordings: 0 written, 0 failed, 3 not done; stopped by SIGTERM\n");
    EXPECT_EQ(Text(ReadBytes(report)), Header + "\n");
    EXPECT_EQ(RunToolInProcess(Words({"batch"}, paths), "", "", SIGINT).Status, 130);
    EXPECT_EQ(RunToolInProcess(Words({"batch"}, paths), "", "", SIGHUP).Status, 129);
}

// A report that would overwrite a file of the run: (name, how the report
// path is made from the folder and the run's recording a.wav).
struct TCollisionCase {
    const char* Name;
    std::string (*Report)(const TTempFolder& folder);
};

void PrintTo(const TCollisionCase& c, std::ostream* os) { *os << c.Name; }

class ReportCollision : public testing::TestWithParam<TCollisionCase> {};

TEST_P(ReportCollision, IsRefusedBeforeAnythingIsTouched)
{
    TTempFolder folder;
    ASSERT_EQ(::mkdir(folder.File("sub").c_str(), 0755), 0);
    const std::string recording = folder.File("a.wav");
    WriteRecording(recording, SineSamples(2500.0, 9000.0));
    const auto before = ReadBytes(recording);
    const std::string report = GetParam().Report(folder);

    const TToolRun run = RunToolInProcess({"batch", "--report", report, recording});
    EXPECT_EQ(run.Status, ExitUsage);
    EXPECT_NE(run.Err.find("the report " + report + " would overwrite "), std::string::npos) << run.Err;
    EXPECT_EQ(ReadBytes(recording), before);
    EXPECT_FALSE(Exists(folder.File("a.spm")));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReportCollision,
    testing::Values(TCollisionCase{"TheRecording", [](const TTempFolder& f) { return f.File("a.wav"); }},
                    TCollisionCase{"ItsSpectrumFile", [](const TTempFolder& f) { return f.File("a.spm"); }},
                    TCollisionCase{"ThroughDotDot", [](const TTempFolder& f) { return f.File("sub/../a.wav"); }},
                    TCollisionCase{"HardLinkToTheRecording",
                                   [](const TTempFolder& f) {
                                       if (::link(f.File("a.wav").c_str(), f.File("sub/hard.csv").c_str()) != 0)
                                           ADD_FAILURE() << "link: " << std::strerror(errno);
                                       return f.File("sub/hard.csv");
                                   }},
                    TCollisionCase{"SymbolicLinkToTheSpectrumFileToBe",
                                   [](const TTempFolder& f) {
                                       if (::symlink("../a.spm", f.File("sub/soft.csv").c_str()) != 0)
                                           ADD_FAILURE() << "symlink: " << std::strerror(errno);
                                       return f.File("sub/soft.csv");
                                   }},
                    TCollisionCase{"LinkedFolder",
                                   [](const TTempFolder& f) {
                                       if (::symlink(f.Path().c_str(), f.File("sub/up").c_str()) != 0)
                                           ADD_FAILURE() << "symlink: " << std::strerror(errno);
                                       return f.File("sub/up/a.spm");
                                   }}),
    [](const testing::TestParamInfo<TCollisionCase>& info) { return std::string(info.param.Name); });

// Names with every awkward byte but NUL, and (with -0 only) a line end.
class AwkwardNames : public testing::TestWithParam<std::tuple<bool, bool>> {};

TEST_P(AwkwardNames, PassThroughListsFromAFileAndFromStdin)
{
    const auto [nulSeparated, fromStdin] = GetParam();
    TTempFolder folder;
    std::vector<std::string> names{"with space.wav", "com,ma.wav",         "quo\"te.wav",
                                   "апельсин.wav",   "bytes-\xff\xfe.wav", "-dash.wav"};
    if (nulSeparated) {
        names.push_back("new\nline.wav");
    }
    std::string list;
    for (auto& name : names) {
        name = folder.File(name);
        WriteRecording(name, SineSamples(1800.0, 8000.0));
        list += name + (nulSeparated ? '\0' : '\n');
    }
    const std::string listFile = folder.File("list");
    WriteBytes(listFile, std::vector<std::uint8_t>(list.begin(), list.end()));
    std::vector<std::string> words{"batch", "--report", "-", "--files-from", fromStdin ? "-" : listFile};
    if (nulSeparated) {
        words.push_back("-0");
    }
    const TToolRun run = RunToolInProcess(words, fromStdin ? list : "");
    EXPECT_EQ(run.Status, ExitOk) << run.Err;
    const auto rows = CsvRows(run.Out);
    ASSERT_EQ(rows.size(), names.size() + 1);
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(rows[i + 1][0], names[i]);
        EXPECT_EQ(rows[i + 1][1], "ok");
        EXPECT_EQ(ReadBytes(SpectrumFileName(names[i])).size(), 732u) << names[i];
    }

    // show reads the spectrum files through a list the same way.
    std::string spectra;
    for (const auto& name : names) {
        spectra += SpectrumFileName(name) + (nulSeparated ? '\0' : '\n');
    }
    std::vector<std::string> showWords{"show", "--long", "--files-from", "-"};
    if (nulSeparated) {
        showWords.push_back("--null");
    }
    const TToolRun shown = RunToolInProcess(showWords, spectra);
    EXPECT_EQ(shown.Status, ExitOk) << shown.Err;
    const auto showRows = CsvRows(shown.Out);
    ASSERT_EQ(showRows.size(), 1 + 361 * names.size());
    EXPECT_EQ(showRows[1 + 361 * (names.size() - 1)][0], SpectrumFileName(names.back()));
}

INSTANTIATE_TEST_SUITE_P(Lists, AwkwardNames, testing::Combine(testing::Bool(), testing::Bool()),
                         [](const testing::TestParamInfo<std::tuple<bool, bool>>& info) {
                             return std::string(std::get<0>(info.param) ? "Nul" : "Line") +
                                    (std::get<1>(info.param) ? "FromStdin" : "FromFile");
                         });

TEST_F(ShowCommand, WideAndLongTablesWithADecimalPointWhateverTheLocale)
{
    const auto files = Spectra(2);
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    const TToolRun wide = RunToolInProcess({"show", files[0], files[1]});
    ::unsetenv("LC_ALL");
    ASSERT_EQ(wide.Status, ExitOk) << wide.Err;
    const auto rows = CsvRows(wide.Out);
    ASSERT_EQ(rows.size(), 362u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Frequency (Hz)", files[0], files[1]}));
    const TSpectrum spectrum = ReadSpectrum(files[1]);
    for (int i = 0; i < SpectrumLines; ++i) {
        ASSERT_EQ(rows[i + 1].size(), 3u);
        EXPECT_EQ(rows[i + 1][0], std::to_string(1000 + 25 * i));
        EXPECT_EQ(std::strtof(rows[i + 1][2].c_str(), nullptr), spectrum.Values[i]) << rows[i + 1][2];
    }

    const TToolRun longCodes = RunToolInProcess({"show", "--long", "--codes", files[1]});
    const auto longRows = CsvRows(longCodes.Out);
    ASSERT_EQ(longRows.size(), 362u);
    EXPECT_EQ(longRows[0], (std::vector<std::string>{"File", "Frequency (Hz)", "Code"}));
    EXPECT_EQ(longRows[361], (std::vector<std::string>{files[1], "10000", std::to_string(spectrum.Codes[360])}));
}

TEST_F(ShowCommand, UnreadableFilesAndFailedWritesAreNamed)
{
    const auto files = Spectra(1);
    const TToolRun missing = RunToolInProcess({"show", files[0], Folder.File("none.spm")});
    EXPECT_EQ(missing.Status, ExitFailure);
    EXPECT_EQ(missing.Out, ""); // the table is whole or not there
    EXPECT_EQ(missing.Err, "tulvo-cli: " + Folder.File("none.spm") + ": File not found\n");

    // A pipe nobody writes to is refused at once instead of waited for.
    const std::string fifo = Folder.File("fifo.spm");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const TToolRun pipe = RunToolInProcess({"show", fifo});
    EXPECT_EQ(pipe.Status, ExitFailure);
    EXPECT_EQ(pipe.Err, "tulvo-cli: " + fifo + ": File access denied\n");

    const TToolRun full = RunToolInProcess({"show", files[0]}, "", "/dev/full");
    EXPECT_EQ(full.Status, ExitFailure);
    EXPECT_EQ(full.Err, "tulvo-cli: standard output: Disk full\n");
}

} // namespace
