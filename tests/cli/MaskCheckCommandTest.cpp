// tulvo-cli mask and check, run in-process on a synthetic production line:
// the verdicts and worst lines of good and faulty units, the messages and
// statuses of bad masks and bad units with nothing written, and the options
// that must not change the table.

#include "ToolRun.h"

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/SpectrumFixtures.h"
#include "tests/support/TTempFolder.h"

#include "cli/ExitStatus.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <ostream>

using namespace clitest;
using namespace testsupport;

namespace {

// 30 good units (good01..good30) of one line, and faulty ones: a narrow tone
// 17 dB above the others at 4500 Hz, the upper resonance at 7600 Hz instead
// of 6800 Hz, a unit whose samples are doubled (none clipped) beside its
// twin as recorded, and a click of 6000 Hz, 5 ms long and about as loud as
// the unit's RMS, which the average of the frames dilutes; each as a
// recording and as its spectrum file (batch's).
class SyntheticLine {
public:
    SyntheticLine()
    {
        std::vector<std::string> words = {"batch", "--quiet"};
        const auto write = [&](const std::string& name, const TSamples& samples) {
            WriteRecording(File(name + ".wav"), samples);
            words.push_back(File(name + ".wav"));
        };
        for (int i = 1; i <= 30; ++i) {
            write(Good(i), LineUnitSamples(TLineUnit{static_cast<std::uint32_t>(i)}));
        }
        write("tone", LineUnitSamples(TLineUnit{31, 6800.0, 4500.0, 115.0}));
        write("shifted", LineUnitSamples(TLineUnit{32, 7600.0}));
        TSamples twin = LineUnitSamples(TLineUnit{33});
        write("twin", twin);
        for (auto& sample : twin) {
            sample = static_cast<std::int16_t>(2 * sample);
        }
        write("doubled", twin);
        write("click", LineUnitSamples(TLineUnit{35, 6800.0, 0.0, 0.0, 6000.0, 700.0}));
        EXPECT_EQ(RunToolInProcess(words).Status, ExitOk);
    }

    static std::string Good(int i) { return (i < 10 ? "good0" : "good") + std::to_string(i); }

    std::string File(const std::string& name) const { return folder_.File(name); }

private:
    TTempFolder folder_;
};

struct TLineCase {
    std::string Name;
    // The units the mask is learned from and the unit checked, by name; the
    // extension says spectrum files or recordings.
    std::vector<std::string> Learned;
    std::string Unit;
    // The row's Verdict, Outside and Worst (Hz) fields.
    std::string Expected;
    // Learned with --max-hold, and so checked against max-hold spectra.
    bool MaxHold = false;
};

void PrintTo(const TLineCase& c, std::ostream* os) { *os << c.Name; }

std::vector<std::string> GoodUnits(const std::string& extension, int leftOut = 0)
{
    std::vector<std::string> units;
    for (int i = 1; i <= 30; ++i) {
        if (i != leftOut) {
            units.push_back(SyntheticLine::Good(i) + extension);
        }
    }
    return units;
}

std::vector<TLineCase> LineCases()
{
    std::vector<TLineCase> cases;
    for (int i = 1; i <= 30; ++i) {
        const std::string unit = SyntheticLine::Good(i);
        cases.push_back({unit + "AgainstTheOther29", GoodUnits(".spm", i), unit + ".spm", "ok"});
    }
    std::vector<std::string> slipped = GoodUnits(".spm");
    slipped.push_back("tone.spm");
    cases.push_back({"Tone", GoodUnits(".spm"), "tone.spm", "differs,3,4500"});
    cases.push_back({"ToneSlippedIntoTheLearningSet", slipped, "tone.spm", "differs,3,4500"});
    cases.push_back({"ShiftedResonance", GoodUnits(".spm"), "shifted.spm", "differs,26,7600"});
    cases.push_back({"DoubledAgainstSpectrumFiles", GoodUnits(".spm"), "doubled.spm", "ok"});
    cases.push_back({"DoubledAgainstRecordings", GoodUnits(".wav"), "doubled.wav", "differs,0"});
    cases.push_back({"ClickAgainstAverages", GoodUnits(".wav"), "click.wav", "ok"});
    cases.push_back({"ClickAgainstMaxHolds", GoodUnits(".wav"), "click.wav", "differs,9,6000", true});
    return cases;
}

class LineVerdicts : public testing::TestWithParam<TLineCase> {
protected:
    static void SetUpTestSuite() { line_ = std::make_unique<SyntheticLine>(); }
    static void TearDownTestSuite() { line_.reset(); }

    // The fields of the unit's row from the first on, or the run's stderr.
    static std::vector<std::string> Row(const TToolRun& run)
    {
        const auto lines = Lines(run.Out);
        if (lines.size() != 2) {
            return {run.Err};
        }
        std::vector<std::string> fields;
        std::string rest = lines[1];
        for (std::size_t comma; (comma = rest.find(',')) != std::string::npos; rest.erase(0, comma + 1)) {
            fields.push_back(rest.substr(0, comma));
        }
        fields.push_back(rest);
        return fields;
    }

    static std::unique_ptr<SyntheticLine> line_;
};

std::unique_ptr<SyntheticLine> LineVerdicts::line_;

// With the defaults; the level of the doubled unit lies 20 log10(2) above its
// twin's. check takes the kind of spectrum from the mask.
TEST_P(LineVerdicts, VerdictAndWorstLine)
{
    const TLineCase& c = GetParam();
    const std::string mask = line_->File("mask-" + c.Name + ".csv");
    std::vector<std::string> words = {"mask", "-o", mask};
    if (c.MaxHold) {
        words.push_back("--max-hold");
    }
    for (const auto& unit : c.Learned) {
        words.push_back(line_->File(unit));
    }
    const TToolRun learned = RunToolInProcess(words);
    ASSERT_EQ(learned.Status, ExitOk) << learned.Err;
    EXPECT_EQ(learned.Err, "");
    const auto row = Row(RunToolInProcess({"check", "--mask", mask, line_->File(c.Unit)}));
    ASSERT_EQ(row.size(), 7u) << row[0];
    std::string fields = row[1];
    if (row[1] == "differs") {
        fields += "," + row[2] + (row[2] == "0" ? "" : "," + row[3]);
    }
    EXPECT_EQ(fields, c.Expected) << row[3] << " Hz, margin " << row[4];
    EXPECT_EQ(row[5].empty(), c.Unit.ends_with(".spm"));
    if (c.Unit == "doubled.wav") {
        const auto twin = Row(RunToolInProcess({"check", "--mask", mask, line_->File("twin.wav")}));
        EXPECT_NEAR(std::stod(row[5]) - std::stod(twin[5]), 6.021, 0.0011);
        EXPECT_LT(std::stod(row[6]), 0.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Line, LineVerdicts, testing::ValuesIn(LineCases()),
                         [](const testing::TestParamInfo<TLineCase>& info) { return info.param.Name; });

} // namespace

namespace {

// Units good and bad, an older mask, a good mask, the same of max-hold
// spectra and a broken one.
class UnitFiles {
public:
    UnitFiles()
    {
        TSpectrumCodes codes;
        for (int i = 0; i < 5; ++i) {
            codes.fill(static_cast<std::int16_t>(1000 + 100 * i));
            codes[100] = 10000;
            WriteSpectrumFixture(File(Unit(i)), 1e-5L, codes);
        }
        codes.fill(5000); // 6.2 dB above the others
        codes[100] = 10000;
        WriteSpectrumFixture(File("odd.spm"), 1e-5L, codes);
        codes[3] = -1;
        WriteSpectrumFixture(File("negative.spm"), 1e-5L, codes);
        codes.fill(0);
        WriteSpectrumFixture(File("zero.spm"), 1e-5L, codes);
        codes.fill(100);
        WriteSpectrumFixture(File("scale0.spm"), 0.0L, codes);
        WriteSpectrumFixture(File("nan.spm"), std::numeric_limits<long double>::quiet_NaN(), codes);
        WriteBytes(File("short.spm"), std::vector<std::uint8_t>(100, 1));
        WriteRecording(File("silent.wav"), ConstantSamples(0));
        WriteRecording(File("raw.wav"), SineSamples(3000.0, 5000.0), false);
        WriteBytes(File("notes.txt"), {'x'});
        WriteBytes(File("old.csv"), OldMask);
        WriteBytes(File("bad.csv"), {'a', ',', 'b', '\n'});
        std::vector<std::string> words = {"mask", "-o", File("good.csv")};
        for (int i = 0; i < 5; ++i) {
            words.push_back(File(Unit(i)));
        }
        EXPECT_EQ(RunToolInProcess(words).Status, ExitOk);
        // The same mask, said to be of max-hold spectra.
        const std::vector<std::uint8_t> mask = ReadBytes(File("good.csv"));
        std::string text(mask.begin(), mask.end());
        text.replace(text.find("average"), 7, "max-hold");
        WriteBytes(File("max-hold.csv"), {text.begin(), text.end()});
    }

    std::string File(const std::string& name) const { return folder_.File(name); }

    // u0.spm .. u4.spm: codes 1000 + 100 i, 10000 at 3500 Hz, scale 1e-5.
    static std::string Unit(int i)
    {
        std::string name = "u";
        name += std::to_string(i);
        return name + ".spm";
    }

    const std::vector<std::uint8_t> OldMask = {'o', 'l', 'd', '\n'};

private:
    TTempFolder folder_;
};

struct TMessageCase {
    const char* Name;
    // Words with "$" in front of a file of the folder; "$old.csv" is the mask mask writes.
    std::vector<std::string> Words;
    int Status;
    // Stderr and stdout, "$" standing for the folder and a separator.
    std::string Err;
    std::string Out;
};

void PrintTo(const TMessageCase& c, std::ostream* os) { *os << c.Name; }

class Messages : public testing::TestWithParam<TMessageCase> {};

// The five good units, and more.
std::vector<std::string> FiveAnd(std::initializer_list<std::string> more)
{
    std::vector<std::string> words = {"mask", "-o", "$old.csv", "$u0.spm", "$u1.spm", "$u2.spm", "$u3.spm", "$u4.spm"};
    words.insert(words.end(), more);
    return words;
}

// A failing run writes nothing: the older mask keeps its bytes, and check
// prints no row after a mask it cannot read.
TEST_P(Messages, MessageStatusAndNothingWritten)
{
    const UnitFiles files;
    const std::string folder = files.File("");
    const auto expand = [&](const std::string& text) {
        std::string expanded;
        for (const char c : text) {
            expanded += c == '$' ? folder : std::string(1, c);
        }
        return expanded;
    };
    std::vector<std::string> words;
    for (const auto& word : GetParam().Words) {
        words.push_back(expand(word));
    }
    const TToolRun run = RunToolInProcess(words);
    EXPECT_EQ(run.Status, GetParam().Status);
    EXPECT_EQ(run.Err, expand(GetParam().Err));
    EXPECT_EQ(run.Out, expand(GetParam().Out));
    EXPECT_EQ(ReadBytes(files.File("old.csv")) == files.OldMask, GetParam().Status != ExitOk || words[0] == "check");
}

const std::string NotWritten = "tulvo-cli: $old.csv: not written: 1 of 6 units cannot be read\n";
const std::string Rough = "tulvo-cli: warning: $old.csv: a mask from fewer than 20 units is rough";
const std::string Header = "File,Verdict,Outside,Worst (Hz),Margin (dB),Level (dBFS),Level margin (dB)\n";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, Messages, testing::Values(
    TMessageCase{"NegativeCode", FiveAnd({"$negative.spm"}), ExitFailure,
                 "tulvo-cli: $negative.spm: not a unit's spectrum: code -1 at 1075 Hz\n" + NotWritten, ""},
    TMessageCase{"NoPositiveCode", FiveAnd({"$zero.spm"}), ExitFailure,
                 "tulvo-cli: $zero.spm: not a unit's spectrum: no positive code\n" + NotWritten, ""},
    TMessageCase{"ZeroScale", FiveAnd({"$scale0.spm"}), ExitFailure,
                 "tulvo-cli: $scale0.spm: not a unit's spectrum: the scale is not a positive finite number\n" +
                     NotWritten, ""},
    TMessageCase{"NaNScale", FiveAnd({"$nan.spm"}), ExitFailure,
                 "tulvo-cli: $nan.spm: Invalid floating point operation\n" + NotWritten, ""},
    TMessageCase{"ShortFile", FiveAnd({"$short.spm"}), ExitFailure,
                 "tulvo-cli: $short.spm: Read beyond end of file\n" + NotWritten, ""},
    TMessageCase{"MissingUnit", FiveAnd({"$missing.spm"}), ExitFailure,
                 "tulvo-cli: $missing.spm: File not found\n" + NotWritten, ""},
    TMessageCase{"SilentRecording", FiveAnd({"$silent.wav"}), ExitFailure,
                 "tulvo-cli: $silent.wav: Invalid floating point operation (all samples are zero)\n" + NotWritten, ""},
    TMessageCase{"StrictRefusesAHeader", FiveAnd({"--strict", "$raw.wav"}), ExitFailure,
                 "tulvo-cli: $raw.wav: not a RIFF/WAVE file (expected 1 channel, 51200 Hz, 16-bit PCM, samples at "
                 "byte 44)\n" + NotWritten, ""},
    TMessageCase{"WarnedOfAHeaderAndOfMixedSources", FiveAnd({"$raw.wav"}), ExitOk,
                 "tulvo-cli: warning: $raw.wav: not a RIFF/WAVE file (expected 1 channel, 51200 Hz, 16-bit PCM, "
                 "samples at byte 44); analysed as raw samples\n" + Rough + " (6 given)\n"
                 "tulvo-cli: warning: $old.csv: no level band: 5 of the units are spectrum files, which hold no level\n",
                 ""},
    TMessageCase{"FewerThanFive", {"mask", "-o", "$old.csv", "$u0.spm", "$u1.spm", "$u2.spm", "$u3.spm"}, ExitUsage,
                 "tulvo-cli: mask: a mask needs at least 5 units, 4 given\nTry 'tulvo-cli mask --help' for more "
                 "information.\n", ""},
    TMessageCase{"OutputIsAUnit", {"mask", "-o", "$u4.spm", "$u0.spm", "$u1.spm", "$u2.spm", "$u3.spm", "$u4.spm"}, ExitUsage,
                 "tulvo-cli: mask: the mask $u4.spm would overwrite $u4.spm, one of its units\nTry 'tulvo-cli mask "
                 "--help' for more information.\n", ""},
    TMessageCase{"NeitherKind", FiveAnd({"$notes.txt"}), ExitUsage,
                 "tulvo-cli: mask: $notes.txt: neither a spectrum file (.spm) nor a recording (.wav)\nTry 'tulvo-cli "
                 "mask --help' for more information.\n", ""},
    TMessageCase{"MaxHoldOfASpectrumFile", FiveAnd({"--max-hold"}), ExitUsage,
                 "tulvo-cli: mask: --max-hold: $u0.spm: a spectrum file holds no frames, so no max-hold spectrum; "
                 "give the recording it was made from\nTry 'tulvo-cli mask --help' for more information.\n", ""},
    TMessageCase{"MaxHoldAgainstAnAverageMask", {"check", "--max-hold", "--mask", "$good.csv", "$raw.wav"}, ExitUsage,
                 "tulvo-cli: check: --max-hold: the mask $good.csv is of average spectra, not max-hold ones; learn "
                 "one with mask --max-hold\nTry 'tulvo-cli check --help' for more information.\n", ""},
    TMessageCase{"SpectrumFileAgainstAMaxHoldMask", {"check", "--mask", "$max-hold.csv", "$raw.wav", "$u0.spm"},
                 ExitUsage, "tulvo-cli: check: the mask $max-hold.csv is of max-hold spectra: $u0.spm: a spectrum "
                 "file holds no frames, so no max-hold spectrum; give the recording it was made from\nTry "
                 "'tulvo-cli check --help' for more information.\n", ""},
    TMessageCase{"MaskNotAMask", {"check", "--mask", "$bad.csv", "$u0.spm"}, ExitFailure,
                 "tulvo-cli: $bad.csv: line 1: not a mask: the first line is not '# Format: tulvo-mask 1'\n", ""},
    TMessageCase{"MaskMissing", {"check", "--mask", "$none.csv", "$u0.spm"}, ExitFailure,
                 "tulvo-cli: $none.csv: File not found\n", ""},
    TMessageCase{"UnitFailsInItsRow", {"check", "--mask", "$good.csv", "$zero.spm", "$u2.spm"}, ExitFailure,
                 "tulvo-cli: $zero.spm: not a unit's spectrum: no positive code\n",
                 Header + "$zero.spm,not a unit's spectrum: no positive code,,,,,\n$u2.spm,ok,0,3500,3.000,,\n"}),
    [](const testing::TestParamInfo<TMessageCase>& info) { return std::string(info.param.Name); });
// clang-format on

} // namespace

namespace {

// The rows do not depend on the threads, on where the names come from, on
// --failed-only beyond the rows it leaves out; "-" reads a unit from stdin
// and "-o -" writes the mask's bytes to stdout.
TEST(MaskCheck, OptionsLeaveTheTableAsItIs)
{
    const UnitFiles files;
    const std::vector<std::string> units = {files.File("u0.spm"), files.File("odd.spm"), files.File("zero.spm"),
                                            files.File("u1.spm")};
    std::vector<std::string> words = {"check", "--mask", files.File("good.csv"), "--jobs", "1"};
    words.insert(words.end(), units.begin(), units.end());
    const TToolRun full = RunToolInProcess(words);
    EXPECT_EQ(full.Status, ExitFailure);
    const auto rows = Lines(full.Out);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[2].rfind(files.File("odd.spm") + ",differs,360,", 0), 0u) << rows[2];

    std::string list;
    for (const auto& unit : units) {
        list += unit + '\0';
    }
    const TToolRun listed =
        RunToolInProcess({"check", "--mask", files.File("good.csv"), "--jobs", "3", "--files-from", "-", "-0"}, list);
    EXPECT_EQ(listed.Out, full.Out);
    EXPECT_EQ(listed.Err, full.Err);

    words.push_back("--failed-only");
    EXPECT_EQ(RunToolInProcess(words).Out, rows[0] + "\n" + rows[2] + "\n" + rows[3] + "\n");

    const auto u0 = ReadBytes(files.File("u0.spm"));
    const TToolRun piped =
        RunToolInProcess({"check", "--mask", files.File("good.csv"), "-"}, std::string(u0.begin(), u0.end()));
    EXPECT_EQ(piped.Status, ExitOk);
    EXPECT_EQ(Lines(piped.Out)[1], "-" + rows[1].substr(files.File("u0.spm").size()));

    std::vector<std::string> learn = {"mask", "-o", "-"};
    for (int i = 0; i < 5; ++i) {
        learn.push_back(files.File(UnitFiles::Unit(i)));
    }
    const auto mask = ReadBytes(files.File("good.csv"));
    EXPECT_EQ(RunToolInProcess(learn).Out, std::string(mask.begin(), mask.end()));

    // A side's own offset before --offset; excluded ranges in the given order.
    learn.insert(learn.end(),
                 {"--offset=1", "--upper-offset", "2", "--exclude", "2000-2000", "--exclude", "1000-1025"});
    const auto lines = Lines(RunToolInProcess(learn).Out);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 4, lines.begin() + 8),
              (std::vector<std::string>{"# Upper offset (dB): 2", "# Lower offset (dB): 1", "# Floor (dB): 0.5",
                                        "# Excluded (Hz): 2000-2000 1000-1025"}));
    EXPECT_TRUE(lines[13].ends_with(",,")) << lines[13]; // 1025 Hz
}

} // namespace
