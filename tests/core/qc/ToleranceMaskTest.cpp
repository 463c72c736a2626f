// Masks learned from units of known levels, worked out by hand from the
// definitions, and units checked against a mask line by line.

#include "core/qc/ToleranceMask.h"

#include "dsp/dspFloatControl.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>

namespace {

// A spectrum of scale 1 whose lines hold code (a level of 10 log10(code) dB).
TSpectrum Flat(std::int16_t code)
{
    TSpectrum spectrum;
    spectrum.Scale = 1;
    spectrum.Codes.fill(code);
    return spectrum;
}

// Six units (an even count) with, per line:
//   1000 Hz  codes 1, 10, 10, 100, 1000, 10000: levels 0, 10, 10, 20, 30, 40 dB,
//            centre 15 (the mean of the middle two), MAD 10, spread 14.826;
//   1025 Hz  codes 3 everywhere: MAD 0, spread one code step 10 log10(4/3);
//   1050 Hz  codes 0: half a code, -3.0103 dB, and a code step as at code 1;
//   1075 Hz  codes 2000: a code step of 0.002 dB, so the floor 0.5 dB;
//   1100 Hz  excluded; the rest codes 5000.
// Levels of -10 to -14 dBFS and one of -30: centre -12.5, MAD 1.5.
// Factor 6, offsets 1 dB up and 2 dB down.
TEST(MaskLearner, FiguresFollowTheirDefinitions)
{
    dspFloatControl::SetExactFloatControl();
    const std::int16_t firstLine[] = {1, 10, 10, 100, 1000, 10000};
    const double levels[] = {-10, -11, -12, -13, -14, -30};
    TMaskLearner learner;
    for (int u = 0; u < 6; ++u) {
        TSpectrum unit = Flat(5000);
        unit.Codes[0] = firstLine[u];
        unit.Codes[1] = 3;
        unit.Codes[2] = 0;
        unit.Codes[3] = 2000;
        learner.Add(unit, levels[u]);
    }
    TMaskOptions options;
    options.UpperOffsetDb = 1;
    options.LowerOffsetDb = 2;
    options.Excluded = {{1090, 1110}};
    const TToleranceMask mask = learner.Learn(options);

    EXPECT_EQ(mask.Units, 6u);
    EXPECT_EQ(mask.Options, options);
    // Centre, spread, lower and upper; the limits from the unrounded figures.
    const auto expect = [&](int line, double centre, double spread, double lower, double upper) {
        const TMaskLine& l = mask.Lines[line];
        EXPECT_EQ(l, (TMaskLine{centre, spread, lower, upper}))
            << "line " << line << ": " << l.CentreDb << " " << l.SpreadDb << " " << *l.LowerDb << " " << *l.UpperDb;
    };
    expect(0, 15.0, 14.826, 15 - 88.956 - 2, 15 + 88.956 + 1);
    expect(1, 4.771, 1.249, -4.725, 13.268);   // 4.7712 -+ 6 x 1.24939
    expect(2, -3.010, 3.010, -23.072, 16.051); // -3.0103 -+ 6 x 3.0103
    expect(3, 33.010, 0.5, 28.010, 37.010);    // 33.0103 -+ 6 x 0.5
    EXPECT_EQ(mask.Lines[4].LowerDb, std::nullopt);
    EXPECT_EQ(mask.Lines[4].UpperDb, std::nullopt);
    ASSERT_TRUE(mask.Level);
    EXPECT_EQ(*mask.Level, (TLevelBand{-12.5, -27.843, 1.843})); // spread 2.2239

    // A level counts only when every unit has one.
    learner.Add(Flat(5000));
    EXPECT_FALSE(learner.Learn(options).Level);
}

TEST(MaskLearner, RefusesFewerThanFiveUnits)
{
    TMaskLearner learner;
    for (int u = 0; u < 4; ++u) {
        learner.Add(Flat(100));
    }
    EXPECT_THROW(learner.Learn({}), std::invalid_argument);
}

struct TCheckCase {
    const char* Name;
    std::function<void(TToleranceMask&, TSpectrum&)> Change;
    std::optional<double> LevelDbfs;
    bool Ok;
    int Outside;
    std::optional<int> WorstHz;
    double MarginDb;
    std::optional<double> LevelMarginDb;
};

void PrintTo(const TCheckCase& c, std::ostream* os) { *os << c.Name; }

class MaskCheck : public testing::TestWithParam<TCheckCase> {};

// Every line -10..10 dB, the level band -20..-10 dBFS; the unit has code 1 at
// scale 1 (0 dB) on every line, unless a case changes them.
TEST_P(MaskCheck, VerdictMarginsAndWorstLine)
{
    dspFloatControl::SetExactFloatControl();
    const TCheckCase& c = GetParam();
    TToleranceMask mask;
    mask.Lines.fill(TMaskLine{0, 1, -10.0, 10.0});
    mask.Level = TLevelBand{-15, -20.0, -10.0};
    TSpectrum unit = Flat(1);
    unit.Codes[200] = 2; // 3.0103 dB: the smallest margin, 6.990 dB
    c.Change(mask, unit);
    const TMaskVerdict verdict = CheckUnit(mask, unit, c.LevelDbfs);
    EXPECT_EQ(verdict.Ok, c.Ok);
    EXPECT_EQ(verdict.Outside, c.Outside);
    EXPECT_EQ(static_cast<int>(verdict.OutsideLines.count()), c.Outside);
    EXPECT_EQ(verdict.WorstLine ? std::optional(BandLineFrequencyHz(*verdict.WorstLine)) : std::nullopt, c.WorstHz);
    if (std::isnan(c.MarginDb)) {
        EXPECT_TRUE(std::isnan(verdict.WorstMarginDb));
    } else {
        EXPECT_EQ(verdict.WorstMarginDb, c.MarginDb);
    }
    EXPECT_EQ(verdict.LevelMarginDb, c.LevelMarginDb);
}

const auto Unchanged = [](TToleranceMask&, TSpectrum&) {};
const double NoMargin = std::nan("");

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, MaskCheck, testing::Values(
    TCheckCase{"Within", Unchanged, std::nullopt, true, 0, 6000, 6.990, std::nullopt},
    // Code 100 (20 dB) at 1500 Hz lies 10 dB above; code 1000 at 1525 Hz 20 dB.
    TCheckCase{"TwoLinesAbove", [](auto&, auto& u) { u.Codes[20] = 100; u.Codes[21] = 1000; }, std::nullopt,
               false, 2, 1525, -20.0, std::nullopt},
    // Code 10 reads 10 dB to 0.001 dB: on the limit is within, with margin 0.
    TCheckCase{"OnTheLimit", [](auto&, auto& u) { u.Codes[40] = 10; }, std::nullopt, true, 0, 2000, 0.0, std::nullopt},
    // Code 0 is half a code, -3.0103 dB: 1 dB below a lower limit of -2.
    TCheckCase{"ZeroCodeBelow", [](auto& m, auto& u) { u.Codes[5] = 0; m.Lines[5].LowerDb = -2.0; }, std::nullopt,
               false, 1, 1125, -1.010, std::nullopt},
    // An upper limit alone, and a line without limits, however far off.
    TCheckCase{"OneSidedAndExcluded", [](auto& m, auto& u) {
                   m.Lines[200] = TMaskLine{0, 1, std::nullopt, 4.0};
                   m.Lines[300] = TMaskLine{0, 1, std::nullopt, std::nullopt};
                   u.Codes[300] = 30000; }, std::nullopt, true, 0, 6000, 0.990, std::nullopt},
    TCheckCase{"NoLimitsAtAll", [](auto& m, auto&) { m.Lines.fill(TMaskLine{}); }, std::nullopt, true, 0, std::nullopt,
               NoMargin, std::nullopt},
    // A level 6.02 dB above the band fails the unit without a line outside.
    TCheckCase{"LevelAbove", Unchanged, -3.98, false, 0, 6000, 6.990, -6.020},
    // A mask without level band leaves the level unchecked.
    TCheckCase{"NoLevelBand", [](auto& m, auto&) { m.Level.reset(); }, 0.0, true, 0, 6000, 6.990, std::nullopt}),
    [](const testing::TestParamInfo<TCheckCase>& info) { return std::string(info.param.Name); });
// clang-format on

} // namespace
