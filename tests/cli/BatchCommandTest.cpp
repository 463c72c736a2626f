// tulvo-cli batch, probe and show, run in-process: the core's bytes, what goes to
// stdout and to stderr (errors, warnings, the summary), the report's rows, the
// header check with --strict, skipping up-to-date files, and failed writes
// named by their file. Collisions, a stop request and lists of awkward names:
// BatchCommandPosixTest.cpp.

#include "BatchCommandFixture.h"
#include "ToolRun.h"

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/SpectrumFixtures.h"
#include "tests/support/TTempFolder.h"

#include "cli/ExitStatus.h"
#include "core/base/AnalysisConstants.h"
#include "core/batch/BatchRun.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <limits>
#include <memory>
#include <ostream>
#include <tuple>

using namespace clitest;
using namespace testsupport;

namespace {

using batchcommandtest::BatchCommand;
using batchcommandtest::CsvRows;
using batchcommandtest::Header;
using batchcommandtest::ShowCommand;
using batchcommandtest::Text;

TEST_F(BatchCommand, WritesTheCoresBytesAndOnlyTheSummaryOnStderr)
{
    const auto viaCli = MakeRecordings("cli", 7);
    const auto viaCore = MakeRecordings("core", 7);
    const TToolRun run = RunToolInProcess(Words({"batch", "--jobs", "2"}, viaCli));
    EXPECT_EQ(run.Status, ExitOk);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "tulvo-cli: 7 recordings: 7 written, 0 failed\n");

    auto analysis = std::make_unique<TRecordingAnalysis>();
    RunBatch(*analysis, viaCore);
    for (std::size_t i = 0; i < viaCli.size(); ++i) {
        EXPECT_EQ(ReadBytes(SpectrumFileName(viaCli[i])).size(), 732u);
        EXPECT_EQ(ReadBytes(SpectrumFileName(viaCli[i])), ReadBytes(SpectrumFileName(viaCore[i]))) << i;
    }
}

TEST_F(BatchCommand, StopsAtTheFirstFailureWithItsErrorRowAndSummary)
{
    auto paths = MakeRecordings("r", 4);
    paths[2] = Folder.File("missing.wav");
    const std::string report = Folder.File("report.csv");
    const TToolRun run = RunToolInProcess(Words({"batch", "--report", report}, paths));
    EXPECT_EQ(run.Status, ExitFailure);
    EXPECT_EQ(run.Err, "tulvo-cli: " + paths[2] + ": File not found\n" +
                           "tulvo-cli: 4 recordings: 2 written, 1 failed, 1 not done\n");
    EXPECT_FALSE(Exists(Folder.File("r3.spm")));
    const auto rows = CsvRows(Text(ReadBytes(report)));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"File", "Status", "Peak frequency (Hz)", "Peak value", "Format"}));
    EXPECT_EQ(rows[1][0], paths[0]);
    EXPECT_EQ(rows[1][1], "ok");
    EXPECT_EQ(rows[1][2], "2000"); // the 2000 Hz sine
    EXPECT_EQ(rows[3], (std::vector<std::string>{paths[2], "File not found", "", "", ""}));
}

TEST_F(BatchCommand, VerbosityDecidesWhatElseStderrGets)
{
    auto paths = MakeRecordings("v", 3);
    const std::string silent = Folder.File("silent.wav");
    WriteRecording(silent, ConstantSamples(0));
    paths.insert(paths.begin() + 1, silent);
    const std::string error = "tulvo-cli: " + silent + ": Invalid floating point operation (all samples are zero)\n";

    const TToolRun quiet = RunToolInProcess(Words({"batch", "-k", "-q"}, paths));
    EXPECT_EQ(quiet.Status, ExitFailure);
    EXPECT_EQ(quiet.Err, error);
    EXPECT_TRUE(Exists(Folder.File("v2.spm"))); // kept going past the failure

    const TToolRun normal = RunToolInProcess(Words({"batch", "--keep-going"}, paths));
    EXPECT_EQ(normal.Err, error + "tulvo-cli: 4 recordings: 3 written, 1 failed\n");

    const TToolRun verbose = RunToolInProcess(Words({"batch", "-k", "-v", "-u"}, paths));
    const auto lines = Lines(verbose.Err);
    ASSERT_EQ(lines.size(), 5u) << verbose.Err;
    EXPECT_EQ(lines[0], "tulvo-cli: [1/4] " + Folder.File("v0.spm") + ": up to date");
    EXPECT_EQ(lines[4], "tulvo-cli: 4 recordings: 0 written, 1 failed, 3 skipped");
    EXPECT_EQ(verbose.Out, "");
}

TEST_F(BatchCommand, UpdateSkipsUntilARecordingIsTouched)
{
    const auto paths = MakeRecordings("u", 3);
    ASSERT_EQ(RunToolInProcess(Words({"batch"}, paths)).Status, ExitOk);
    const TToolRun again = RunToolInProcess(Words({"batch", "--update", "--report", "-"}, paths));
    EXPECT_EQ(again.Status, ExitOk);
    EXPECT_EQ(again.Out,
              Header + "\n" + paths[0] + ",skipped,,,\n" + paths[1] + ",skipped,,,\n" + paths[2] + ",skipped,,,\n");
    EXPECT_EQ(again.Err, "tulvo-cli: 3 recordings: 0 written, 0 failed, 3 skipped\n");

    // A touch (a later modification time) makes the recording due again.
    std::filesystem::last_write_time(paths[1], std::filesystem::last_write_time(SpectrumFileName(paths[1])) +
                                                   std::chrono::seconds(1));
    const TToolRun touched = RunToolInProcess(Words({"batch", "-u", "--report", "-"}, paths));
    const auto rows = CsvRows(touched.Out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1][1], "skipped");
    EXPECT_EQ(rows[2][1], "ok");
    EXPECT_EQ(rows[3][1], "skipped");
}

TEST_F(BatchCommand, OutputFolderWritesThereAndRefusesTwoRecordingsOfOneName)
{
    const auto paths = MakeRecordings("o", 2);
    const std::string out = Folder.File("out");
    const std::string other = Folder.File("other");
    ASSERT_TRUE(std::filesystem::create_directory(out));
    ASSERT_TRUE(std::filesystem::create_directory(other));
    const std::string twin = other + "/o1.wav";
    WriteRecording(twin, SineSamples(3000.0, 9000.0));

    const TToolRun refused = RunToolInProcess(Words({"batch", "--output-dir=" + out}, {paths[0], paths[1], twin}));
    EXPECT_EQ(refused.Status, ExitUsage);
    EXPECT_NE(refused.Err.find("recordings " + paths[1] + " and " + twin + " would both write " + out + "/o1.spm"),
              std::string::npos)
        << refused.Err;
    EXPECT_TRUE(FolderEntries(out).empty());

    const TToolRun run = RunToolInProcess(Words({"batch", "--output-dir", out}, paths));
    EXPECT_EQ(run.Status, ExitOk) << run.Err;
    EXPECT_EQ(FolderEntries(out), (std::vector<std::string>{"o0.spm", "o1.spm"}));
    EXPECT_FALSE(Exists(Folder.File("o0.spm")));
}

TEST_F(BatchCommand, FailedSpectrumWriteNamesTheSpectrumFile)
{
    const auto paths = MakeRecordings("w", 1);
    const std::string spm = SpectrumFileName(paths[0]);
    ASSERT_TRUE(std::filesystem::create_directory(spm));
    const TToolRun run = RunToolInProcess(Words({"batch"}, paths));
    EXPECT_EQ(run.Status, ExitFailure);
    EXPECT_EQ(run.Err.rfind("tulvo-cli: " + spm + ": File access denied", 0), 0u) << run.Err;
}

// Recordings of the same kind of samples under the headers a user meets:
// (file name, what the header is, the reason batch and probe give).
struct TLayoutCase {
    const char* Name;
    int Channels;
    std::uint32_t RateHz;
    int ListBytes; // a LIST chunk of this size before the data; 0: none
    const char* Reason;
};

// A recording at path: the canonical header with channels and rate changed
// and a LIST chunk inserted, then the samples of a 3000 Hz sine.
void WriteLaidOut(const std::string& path, const TLayoutCase& layout)
{
    const auto canonical = CanonicalWavHeader(2 * SampleCount);
    std::vector<std::uint8_t> bytes(canonical.begin(), canonical.end());
    bytes[22] = static_cast<std::uint8_t>(layout.Channels);
    for (int i = 0; i < 4; ++i) {
        bytes[24 + i] = static_cast<std::uint8_t>(layout.RateHz >> (8 * i));
    }
    if (layout.ListBytes > 0) {
        std::vector<std::uint8_t> list{'L', 'I', 'S', 'T', static_cast<std::uint8_t>(layout.ListBytes), 0, 0, 0};
        list.resize(8 + static_cast<std::size_t>(layout.ListBytes), 'i');
        bytes.insert(bytes.begin() + 36, list.begin(), list.end());
    }
    const TSamples samples = SineSamples(3000.0, 9000.0);
    const auto* sampleBytes = reinterpret_cast<const std::uint8_t*>(samples.data());
    bytes.insert(bytes.end(), sampleBytes, sampleBytes + 2 * samples.size());
    WriteBytes(path, bytes);
}

const TLayoutCase Layouts[] = {
    {"mono.wav", 1, 51200, 0, "ok"},
    {"cd.wav", 2, 44100, 0, "2 channels, 44100 Hz"},
    {"list.wav", 1, 51200, 26, "samples at byte 78"},
    {"rate.wav", 1, 48000, 0, "48000 Hz"},
};

class FormatCheck : public testing::Test {
protected:
    TTempFolder Folder;
    std::vector<std::string> Paths;

    FormatCheck()
    {
        for (const TLayoutCase& layout : Layouts) {
            Paths.push_back(Folder.File(layout.Name));
            WriteLaidOut(Paths.back(), layout);
        }
    }
};

TEST_F(FormatCheck, BatchWarnsOfEachNonconformingRecordingAndWritesItAsBefore)
{
    const TToolRun run =
        RunToolInProcess({"batch", "--jobs", "2", "--report", "-", Paths[0], Paths[1], Paths[2], Paths[3]});
    EXPECT_EQ(run.Status, ExitOk);
    const std::string expected =
        " (expected 1 channel, 51200 Hz, 16-bit PCM, samples at byte 44); analysed as raw samples\n";
    EXPECT_EQ(run.Err, "tulvo-cli: warning: " + Paths[1] + ": 2 channels, 44100 Hz" + expected +
                           "tulvo-cli: warning: " + Paths[2] + ": samples at byte 78" + expected +
                           "tulvo-cli: warning: " + Paths[3] + ": 48000 Hz" + expected +
                           "tulvo-cli: 4 recordings: 4 written, 0 failed\n");
    const auto rows = CsvRows(run.Out);
    ASSERT_EQ(rows.size(), 5u);
    for (std::size_t i = 0; i < Paths.size(); ++i) {
        EXPECT_EQ(rows[i + 1][1], "ok");
        EXPECT_EQ(rows[i + 1][4], Layouts[i].Reason);
    }
    // Samples at byte 44 whatever the header says: the same spectrum file.
    EXPECT_EQ(ReadBytes(SpectrumFileName(Paths[1])), ReadBytes(SpectrumFileName(Paths[0])));
    EXPECT_EQ(ReadBytes(SpectrumFileName(Paths[3])), ReadBytes(SpectrumFileName(Paths[0])));
    EXPECT_NE(ReadBytes(SpectrumFileName(Paths[2])), ReadBytes(SpectrumFileName(Paths[0])));
    // Quiet leaves the errors and the warnings.
    EXPECT_EQ(Lines(RunToolInProcess({"batch", "-q", Paths[0], Paths[1]}).Err).size(), 1u);
}

TEST_F(FormatCheck, StrictFailsNonconformingRecordingsAndKeepGoingGoesPastThem)
{
    const std::string report = Folder.File("report.csv");
    const TToolRun run =
        RunToolInProcess({"batch", "--strict", "--keep-going", "--report", report, Paths[1], Paths[0], Paths[2]});
    EXPECT_EQ(run.Status, ExitFailure);
    const std::string expected = " (expected 1 channel, 51200 Hz, 16-bit PCM, samples at byte 44)";
    EXPECT_EQ(run.Err, "tulvo-cli: " + Paths[1] + ": 2 channels, 44100 Hz" + expected + "\n" +
                           "tulvo-cli: " + Paths[2] + ": samples at byte 78" + expected + "\n" +
                           "tulvo-cli: 3 recordings: 1 written, 2 failed\n");
    EXPECT_FALSE(Exists(SpectrumFileName(Paths[1])));
    EXPECT_TRUE(Exists(SpectrumFileName(Paths[0])));
    EXPECT_FALSE(Exists(SpectrumFileName(Paths[2])));
    const auto rows = CsvRows(Text(ReadBytes(report)));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1],
              (std::vector<std::string>{Paths[1], "2 channels, 44100 Hz" + expected, "", "", "2 channels, 44100 Hz"}));
    EXPECT_EQ(rows[2][4], "ok");

    const TToolRun stops = RunToolInProcess({"batch", "--strict", Paths[0], Paths[1], Paths[3]});
    EXPECT_EQ(stops.Status, ExitFailure);
    EXPECT_EQ(Lines(stops.Err).back(), "tulvo-cli: 3 recordings: 1 written, 1 failed, 1 not done");
    EXPECT_FALSE(Exists(SpectrumFileName(Paths[3])));
}

TEST_F(FormatCheck, AppendingToAFourColumnReportKeepsItsColumns)
{
    const std::string report = Folder.File("old.csv");
    const std::string old = "File,Status,Peak frequency (Hz),Peak value\nearlier.wav,ok,3000,0.5\n";
    WriteBytes(report, std::vector<std::uint8_t>(old.begin(), old.end()));
    ASSERT_EQ(RunToolInProcess({"batch", "--report", report, "--append", Paths[0], Paths[1]}).Status, ExitOk);
    const auto rows = CsvRows(Text(ReadBytes(report)));
    ASSERT_EQ(rows.size(), 4u);
    for (const auto& row : rows) {
        EXPECT_EQ(row.size(), 4u);
    }
    EXPECT_EQ(rows[3][0], Paths[1]);
}

TEST_F(FormatCheck, ProbeTableReadsBackAsCsvWithTheStatusOfTheWorst)
{
    const std::string missing = Folder.File("missing.wav");
    const TToolRun run = RunToolInProcess({"probe", Paths[0], Paths[1], Paths[2], missing});
    EXPECT_EQ(run.Status, ExitFailure);
    EXPECT_EQ(run.Err, "tulvo-cli: " + missing + ": File not found\n");
    const auto rows = CsvRows(run.Out);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"File", "Container", "Format", "Channels", "Rate (Hz)", "Bits",
                                                 "Data offset", "Data bytes", "Verdict"}));
    EXPECT_EQ(rows[1],
              (std::vector<std::string>{Paths[0], "RIFF/WAVE", "PCM", "1", "51200", "16", "44", "32768", "ok"}));
    EXPECT_EQ(rows[2], (std::vector<std::string>{Paths[1], "RIFF/WAVE", "PCM", "2", "44100", "16", "44", "32768",
                                                 "2 channels, 44100 Hz"}));
    EXPECT_EQ(rows[3][6], "78");
    EXPECT_EQ(rows[3][8], "samples at byte 78");
    EXPECT_EQ(rows[4], (std::vector<std::string>{missing, "", "", "", "", "", "", "", "File not found"}));

    EXPECT_EQ(RunToolInProcess({"probe", Paths[0]}).Status, ExitOk);
    const auto bytes = ReadBytes(Paths[1]);
    const TToolRun piped = RunToolInProcess({"probe", "-"}, std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(piped.Status, ExitFailure);
    EXPECT_EQ(CsvRows(piped.Out).at(1).at(8), "2 channels, 44100 Hz");
}

TEST_F(ShowCommand, ReadsOneSpectrumFileFromStdin)
{
    const auto files = Spectra(1);
    const auto bytes = ReadBytes(files[0]);
    const TToolRun fromStdin = RunToolInProcess({"show", "-"}, Text(bytes));
    const TToolRun fromFile = RunToolInProcess({"show", files[0]});
    ASSERT_EQ(fromStdin.Status, ExitOk);
    EXPECT_EQ(Lines(fromStdin.Out)[0], "Frequency (Hz),-");
    EXPECT_EQ(Lines(fromStdin.Out)[200], Lines(fromFile.Out)[200]);

    const TToolRun cut = RunToolInProcess({"show", "-"}, Text(bytes).substr(0, 700));
    EXPECT_EQ(cut.Status, ExitFailure);
    EXPECT_EQ(cut.Err, "tulvo-cli: standard input: Read beyond end of file\n");
}

class ShowUnusableScale : public BatchCommand, public testing::WithParamInterface<std::tuple<long double, bool>> {};

// A scale that is no finite number fails like other unusable scales: the message of the
// invalid operation naming the file (or standard input), status 1 and no table, also beside a
// readable file.
TEST_P(ShowUnusableScale, FailsWithTheInvalidOperation)
{
    const auto [scale, fromStdin] = GetParam();
    const std::string good = Folder.File("good.spm");
    const std::string bad = Folder.File("bad.spm");
    TSpectrumCodes codes{};
    codes.fill(10000);
    WriteSpectrumFixture(good, 1e-4L, codes);
    WriteSpectrumFixture(bad, scale, codes);
    const TToolRun run =
        fromStdin ? RunToolInProcess({"show", good, "-"}, Text(ReadBytes(bad))) : RunToolInProcess({"show", good, bad});
    EXPECT_EQ(run.Status, ExitFailure);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "tulvo-cli: " + (fromStdin ? std::string("standard input") : bad) +
                           ": Invalid floating point operation\n");
}

INSTANTIATE_TEST_SUITE_P(Scales, ShowUnusableScale,
                         testing::Combine(testing::Values(std::numeric_limits<long double>::infinity(),
                                                          -std::numeric_limits<long double>::infinity(),
                                                          std::numeric_limits<long double>::quiet_NaN()),
                                          testing::Bool()));

} // namespace
