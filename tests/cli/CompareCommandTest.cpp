// tulvo-cli compare, run in-process: the table's rows with their fixed
// decimals, thresholds and the exit status, a reference made of two files,
// an unreadable file among good ones, and the sort orders.

#include "ToolRun.h"

#include "tests/support/SpectrumFixtures.h"
#include "tests/support/TTempFolder.h"

#include "cli/CompareCommand.h"
#include "cli/ExitStatus.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace clitest;
using namespace testsupport;

namespace {

// Spectrum files of known figures against "ref.spm": codes 1000 on every
// line, 10000 at line 100 (3500 Hz), unless said otherwise.
class CompareFiles {
public:
    CompareFiles()
    {
        Write("ref.spm", 1e-6L, Codes(1000, 100));
        Write("same.spm", 1e-6L, Codes(1000, 100));
        Write("double.spm", 2e-6L, Codes(1000, 100));  // every value twice the reference's
        Write("triple.spm", 3e-6L, Codes(1000, 100));  // three times
        Write("shifted.spm", 1e-6L, Codes(1000, 101)); // the peak one line up
        Write("flat.spm", 1e-6L, Codes(5000, -1));     // constant: no correlation
    }

    std::string operator()(const std::string& name) const { return folder_.File(name); }

private:
    static TSpectrumCodes Codes(std::int16_t level, int peakLine)
    {
        TSpectrumCodes codes;
        codes.fill(level);
        if (peakLine >= 0) {
            codes[static_cast<std::size_t>(peakLine)] = 10000;
        }
        return codes;
    }

    void Write(const std::string& name, long double scale, const TSpectrumCodes& codes)
    {
        WriteSpectrumFixture(folder_.File(name), scale, codes);
    }

    TTempFolder folder_;
};

// Runs compare in the folder of files with the words given, file names
// taken as names of that folder where they end in ".spm".
TToolRun Compare(const CompareFiles& files, std::vector<std::string> words)
{
    for (auto& word : words) {
        if (word.size() > 4 && word.ends_with(".spm")) {
            word = files(word);
        }
    }
    words.insert(words.begin(), "compare");
    return RunToolInProcess(words);
}

// The file name (after the folder) and the verdict of each row after the header.
std::vector<std::string> NamesAndVerdicts(const TToolRun& run)
{
    std::vector<std::string> result;
    const auto lines = Lines(run.Out);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const auto name = line.substr(0, line.find(','));
        result.push_back(name.substr(name.find_last_of("/\\") + 1) + " " + line.substr(line.find_last_of(',') + 1));
    }
    return result;
}

TEST(Compare, RowsHoldTheFiguresWithFixedDecimals)
{
    const CompareFiles files;
    const TToolRun run =
        Compare(files, {"--reference", "ref.spm", "same.spm", "double.spm", "shifted.spm", "flat.spm"});
    EXPECT_EQ(run.Status, ExitOk);
    EXPECT_EQ(run.Err, "");
    // Worked out as in tests/core/SpectrumComparisonTest.cpp: the centroid
    // (1000 * SumOfFrequencies + 9000 * 3500) / 370000, r = -1/360 for the
    // moved peak; the flat file's correlation cannot be formed and is empty.
    // clang-format off
    EXPECT_EQ(run.Out, std::string(CompareHeader) + "\n" +
                           files("same.spm") + ",3500,0,5451.4,1.000000,0.000,0.000,1000,ok\n" +
                           files("double.spm") + ",3500,0,5451.4,1.000000,3.010,3.010,1000,ok\n" +
                           files("shifted.spm") + ",3525,25,5452.0,-0.002778,0.744,10.000,3500,ok\n" +
                           files("flat.spm") + ",1000,-2500,5500.0,,6.982,6.990,1000,ok\n");
    // clang-format on
}

struct TThresholdCase {
    const char* Name;
    std::vector<std::string> Words;
    int Status;
    std::vector<std::string> Verdicts;
};

void PrintTo(const TThresholdCase& c, std::ostream* os) { *os << c.Name; }

class Thresholds : public testing::TestWithParam<TThresholdCase> {};

TEST_P(Thresholds, SetTheVerdictsAndTheExitStatus)
{
    const CompareFiles files;
    std::vector<std::string> words = {"--reference", "ref.spm"};
    words.insert(words.end(), GetParam().Words.begin(), GetParam().Words.end());
    const TToolRun run = Compare(files, words);
    EXPECT_EQ(run.Status, GetParam().Status);
    EXPECT_EQ(NamesAndVerdicts(run), GetParam().Verdicts);
    EXPECT_EQ(run.Err, "");
}

INSTANTIATE_TEST_SUITE_P(Table, Thresholds,
                         testing::Values(
                             // Twice the values is 3.0103 dB away.
                             TThresholdCase{"DistanceCrossed",
                                            {"same.spm", "double.spm", "--max-distance", "3"},
                                            ExitFailure,
                                            {"same.spm ok", "double.spm differs"}},
                             TThresholdCase{"DistanceKept",
                                            {"same.spm", "double.spm", "--max-distance=3.02"},
                                            ExitOk,
                                            {"same.spm ok", "double.spm ok"}},
                             TThresholdCase{"CorrelationCrossed",
                                            {"double.spm", "shifted.spm", "--min-correlation", "0.5"},
                                            ExitFailure,
                                            {"double.spm ok", "shifted.spm differs"}},
                             // A correlation that cannot be formed keeps no limit, not even -1.
                             TThresholdCase{"NoCorrelationKeepsNoLimit",
                                            {"same.spm", "flat.spm", "--min-correlation", "-1"},
                                            ExitFailure,
                                            {"same.spm ok", "flat.spm differs"}},
                             TThresholdCase{"BothKept",
                                            {"shifted.spm", "--max-distance", "1", "--min-correlation", "-0.01"},
                                            ExitOk,
                                            {"shifted.spm ok"}}),
                         [](const testing::TestParamInfo<TThresholdCase>& info) {
                             return std::string(info.param.Name);
                         });

TEST(Compare, ReferenceOfTwoFilesIsTheirMean)
{
    const CompareFiles files;
    // Once and three times the values average to twice them.
    const TToolRun mean = Compare(files, {"--reference", "same.spm", "--reference", "triple.spm", "double.spm",
                                          "same.spm", "--max-distance", "0.001"});
    EXPECT_EQ(mean.Status, ExitFailure);
    const auto lines = Lines(mean.Out);
    ASSERT_EQ(lines.size(), 3u) << mean.Out;
    EXPECT_EQ(lines[1], files("double.spm") + ",3500,0,5451.4,1.000000,0.000,0.000,1000,ok");
    // Every line 3.010 dB down (where the largest lies depends on roundings
    // in the last bit of single values).
    EXPECT_EQ(lines[2].rfind(files("same.spm") + ",3500,0,5451.4,1.000000,3.010,3.010,", 0), 0u) << lines[2];
    EXPECT_TRUE(lines[2].ends_with(",differs")) << lines[2];
}

TEST(Compare, UnreadableFileIsReportedAndTheOthersCompared)
{
    const CompareFiles files;
    const std::string missing = files("missing.spm");
    const TToolRun run = Compare(files, {"--reference", "ref.spm", "same.spm", "missing.spm", "double.spm"});
    EXPECT_EQ(run.Status, ExitFailure);
    EXPECT_EQ(run.Err, "tulvo-cli: " + missing + ": File not found\n");
    const auto lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 4u) << run.Out;
    EXPECT_EQ(lines[2], missing + ",,,,,,,,File not found");
    EXPECT_EQ(lines[3], files("double.spm") + ",3500,0,5451.4,1.000000,3.010,3.010,1000,ok");

    // An unreadable reference is an error before any row.
    const TToolRun noReference = Compare(files, {"--reference", "missing.spm", "same.spm"});
    EXPECT_EQ(noReference.Status, ExitFailure);
    EXPECT_EQ(noReference.Out, "");
    EXPECT_EQ(noReference.Err, "tulvo-cli: " + missing + ": File not found\n");
}

TEST(Compare, SortPutsTheMostDifferentFirstAndUnreadableFilesLast)
{
    const CompareFiles files;
    const std::vector<std::string> operands = {"missing.spm", "same.spm", "double.spm", "shifted.spm", "flat.spm"};
    std::vector<std::string> words = {"--reference", "ref.spm", "--sort", "distance"};
    words.insert(words.end(), operands.begin(), operands.end());
    // Distances 6.982, 3.010, 0.744, 0.
    EXPECT_EQ(NamesAndVerdicts(Compare(files, words)),
              (std::vector<std::string>{"flat.spm ok", "double.spm ok", "shifted.spm ok", "same.spm ok",
                                        "missing.spm File not found"}));
    // Correlations none (the most different), -0.002778, 1, 1 (in the given order).
    words[3] = "correlation";
    EXPECT_EQ(NamesAndVerdicts(Compare(files, words)),
              (std::vector<std::string>{"flat.spm ok", "shifted.spm ok", "same.spm ok", "double.spm ok",
                                        "missing.spm File not found"}));
}

} // namespace
