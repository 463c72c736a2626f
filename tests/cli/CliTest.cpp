// tulvo-cli run as a separate process: the files it writes equal the core's
// byte for byte, it stops (or goes on) like the windowed batch, its tables
// always use a '.' decimal point, and bad command lines fail clearly.

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TTempFolder.h"

#include "core/BatchRun.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

#include <ostream>
#include <memory>
#include <sstream>
#include <sys/wait.h>

using namespace testsupport;

namespace {

struct TCliResult {
    int Status = -1;
    std::string Out;
    std::string Err;
};

std::string Quote(const std::string& word)
{
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string ReadText(const std::string& path)
{
    const auto bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// Runs tulvo-cli with args (stdout and stderr captured, stdin empty), with
// environment assignments env put in front.
TCliResult RunCli(const TTempFolder& folder, const std::vector<std::string>& args,
                  const std::string& env = "")
{
    std::string command = env;
    for (const auto& word : std::vector<std::string>{TULVO_CLI_PATH}) {
        command += ' ';
        command += Quote(word);
    }
    for (const auto& arg : args) {
        command += ' ';
        command += Quote(arg);
    }
    const std::string out = folder.File("cli-stdout.txt");
    const std::string err = folder.File("cli-stderr.txt");
    command += " </dev/null >" + Quote(out) + " 2>" + Quote(err);
    const int raw = std::system(command.c_str());
    TCliResult result;
    result.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.Out = ReadText(out);
    result.Err = ReadText(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return result;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');) {
        fields.push_back(field);
    }
    return fields;
}

class Cli : public testing::Test {
protected:
    TTempFolder Folder;

    std::vector<std::string> MakeRecordings(const std::string& prefix, int count)
    {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i) {
            const std::string path = Folder.File(prefix + std::to_string(i) + ".wav");
            WriteRecording(path, i % 2 ? NoiseSamples(static_cast<std::uint32_t>(40 + i), 9000)
                                       : SineSamples(2000.0 + 700.0 * i, 12000.0));
            paths.push_back(path);
        }
        return paths;
    }
};

TEST_F(Cli, BatchWritesTheCoresBytes)
{
    const auto viaCli = MakeRecordings("cli", 7);
    const auto viaCore = MakeRecordings("core", 7);

    const TCliResult result = RunCli(Folder, [&] {
        std::vector<std::string> args{"batch", "--jobs", "2"};
        args.insert(args.end(), viaCli.begin(), viaCli.end());
        return args;
    }());
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Err, "");
    EXPECT_NE(result.Out.find("Обработка 7 файлов завершена!\n"), std::string::npos) << result.Out;
    // Not a terminal: one plain line per recording, then the completion text.
    EXPECT_EQ(Lines(result.Out).size(), 8u);

    auto analysis = std::make_unique<TRecordingAnalysis>();
    RunBatch(*analysis, viaCore);
    for (std::size_t i = 0; i < viaCli.size(); ++i) {
        const auto cliBytes = ReadBytes(SpectrumFileName(viaCli[i]));
        EXPECT_EQ(cliBytes.size(), 732u);
        EXPECT_EQ(cliBytes, ReadBytes(SpectrumFileName(viaCore[i]))) << viaCli[i];
    }
}

TEST_F(Cli, StopsAtTheFirstFailureAndReportsIt)
{
    auto paths = MakeRecordings("r", 4);
    paths[2] = Folder.File("missing.wav");
    const std::string report = Folder.File("report.csv");
    std::vector<std::string> args{"batch", "--report", report};
    args.insert(args.end(), paths.begin(), paths.end());

    const TCliResult result = RunCli(Folder, args);
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Err, paths[2] + ": File not found.\n");
    EXPECT_EQ(result.Out.find("завершена"), std::string::npos);
    EXPECT_TRUE(Exists(Folder.File("r0.spm")));
    EXPECT_TRUE(Exists(Folder.File("r1.spm")));
    EXPECT_FALSE(Exists(Folder.File("r3.spm")));

    const auto lines = Lines(ReadText(report));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "File,Status,Peak frequency (Hz),Peak value");
    EXPECT_EQ(Fields(lines[1])[0], paths[0]);
    EXPECT_EQ(Fields(lines[1])[1], "ok");
    EXPECT_EQ(Fields(lines[1])[2], "2000"); // the 2000 Hz sine
    EXPECT_EQ(lines[3], paths[2] + ",File not found,,");
}

TEST_F(Cli, KeepGoingFinishesTheListAndStillFails)
{
    auto paths = MakeRecordings("k", 4);
    const std::string silent = Folder.File("silent.wav");
    WriteRecording(silent, ConstantSamples(0));
    paths.insert(paths.begin() + 1, silent);
    const std::string report = Folder.File("report.csv");
    std::vector<std::string> args{"batch", "--keep-going", "--report=" + report};
    args.insert(args.end(), paths.begin(), paths.end());

    const TCliResult result = RunCli(Folder, args);
    EXPECT_EQ(result.Status, 1);
    EXPECT_NE(result.Err.find(silent + ": Invalid floating point operation.\n"), std::string::npos);
    EXPECT_NE(result.Out.find("Обработка 5 файлов завершена!"), std::string::npos);
    EXPECT_TRUE(Exists(Folder.File("k3.spm")));
    EXPECT_EQ(Lines(ReadText(report)).size(), 6u);
}

TEST_F(Cli, ShowPrintsValuesOrCodesWithADecimalPoint)
{
    const auto paths = MakeRecordings("s", 2);
    auto analysis = std::make_unique<TRecordingAnalysis>();
    RunBatch(*analysis, paths);
    const std::string a = SpectrumFileName(paths[0]);
    const std::string b = SpectrumFileName(paths[1]);

    // A locale with a decimal comma must not change the table.
    const TCliResult values = RunCli(Folder, {"show", a, b}, "LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8");
    ASSERT_EQ(values.Status, 0) << values.Err;
    const auto lines = Lines(values.Out);
    ASSERT_EQ(lines.size(), 362u);
    EXPECT_EQ(lines[0], "Frequency (Hz)," + a + "," + b);
    const TSpectrum spectrum = ReadSpectrum(b);
    for (int i = 0; i < SpectrumLines; ++i) {
        const auto fields = Fields(lines[i + 1]);
        ASSERT_EQ(fields.size(), 3u);
        EXPECT_EQ(fields[0], std::to_string(1000 + 25 * i));
        EXPECT_EQ(std::strtof(fields[2].c_str(), nullptr), spectrum.Values[i]) << fields[2];
    }

    const TCliResult codes = RunCli(Folder, {"show", "--codes", b});
    ASSERT_EQ(codes.Status, 0);
    const auto codeLines = Lines(codes.Out);
    EXPECT_EQ(codeLines[1], "1000," + std::to_string(spectrum.Codes[0]));
    EXPECT_EQ(codeLines[361], "10000," + std::to_string(spectrum.Codes[360]));

    const TCliResult missing = RunCli(Folder, {"show", a, Folder.File("none.spm")});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_EQ(missing.Out, ""); // the table is whole or not there
    EXPECT_EQ(missing.Err, Folder.File("none.spm") + ": File not found.\n");
}

struct TUsageCase {
    const char* Name;
    std::vector<std::string> Args;
    int Status;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TUsageCase& c, std::ostream* os)
{
    *os << c.Name;
}

class CliUsage : public testing::TestWithParam<TUsageCase> {};

TEST_P(CliUsage, ExitStatusAndMessage)
{
    TTempFolder folder;
    const TCliResult result = RunCli(folder, GetParam().Args);
    EXPECT_EQ(result.Status, GetParam().Status) << result.Err;
    if (GetParam().Status == 0) {
        EXPECT_EQ(result.Out.rfind("Usage: tulvo-cli", 0), 0u);
    } else {
        EXPECT_EQ(result.Out, "");
        EXPECT_NE(result.Err.find("tulvo-cli"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, CliUsage,
    testing::Values(TUsageCase{"Help", {"--help"}, 0},
                    TUsageCase{"BatchHelp", {"batch", "--help"}, 0},
                    TUsageCase{"NoArguments", {}, 2},
                    TUsageCase{"UnknownCommand", {"frobnicate"}, 2},
                    TUsageCase{"BatchWithoutFiles", {"batch", "--keep-going"}, 2},
                    TUsageCase{"JobsZero", {"batch", "--jobs", "0", "a.wav"}, 2},
                    TUsageCase{"ReportWithoutValue", {"batch", "a.wav", "--report"}, 2},
                    TUsageCase{"UnknownShowOption", {"show", "--values", "a.spm"}, 2}),
    [](const testing::TestParamInfo<TUsageCase>& info) { return std::string(info.param.Name); });

} // namespace
