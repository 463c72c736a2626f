// Axis maths without a widget: value/pixel mapping, label steps and label texts.

#include "chart/axis/TAxisLabels.h"
#include "chart/axis/TAxisMap.h"
#include "chart/axis/TNumberFormat.h"

#include <gtest/gtest.h>

#include <ostream>

#include <chrono>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TAxisMap Horizontal(double lo, double hi, int start, int end, bool log = false)
{
    TAxisMap map;
    map.Lo = lo;
    map.Hi = hi;
    map.Start = start;
    map.End = end;
    map.Horizontal = true;
    map.Logarithmic = log;
    return map;
}

TAxisMap Vertical(double lo, double hi, int start, int end, bool log = false)
{
    TAxisMap map = Horizontal(lo, hi, start, end, log);
    map.Horizontal = false;
    return map;
}

struct TPixelCase {
    const char* Name;
    TAxisMap Map;
    double Value;
    int Pixel;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TPixelCase& c, std::ostream* os) { *os << c.Name; }

class ValueToPixelTest : public testing::TestWithParam<TPixelCase> {};

TEST_P(ValueToPixelTest, MapsValue)
{
    const TPixelCase& c = GetParam();
    EXPECT_EQ(c.Map.ValueToPixel(c.Value), c.Pixel);
}

// Pixels worked out by hand from d = (v - lo) * s / r (or the logarithms),
// rounded half to even, placed from the start (horizontal) or the end (vertical).
INSTANTIATE_TEST_SUITE_P(
    chart, ValueToPixelTest,
    testing::Values(TPixelCase{"linear_h_0_100_mid", Horizontal(0, 100, 10, 110), 50, 60},
                    TPixelCase{"linear_h_lo_end", Horizontal(0, 100, 10, 110), 0, 10},
                    TPixelCase{"linear_h_hi_end", Horizontal(0, 100, 10, 110), 100, 110},
                    TPixelCase{"linear_v_lo_is_bottom", Vertical(0, 100, 10, 110), 0, 110},
                    TPixelCase{"linear_v_hi_is_top", Vertical(0, 100, 10, 110), 100, 10},
                    TPixelCase{"half_rounds_to_even_down", Horizontal(0, 4, 0, 10), 1, 2},   // d = 2.5
                    TPixelCase{"half_rounds_to_even_up", Horizontal(0, 4, 0, 14), 1, 4},     // d = 3.5
                    TPixelCase{"negative_half_to_even", Horizontal(0, 4, 100, 110), -1, 98}, // d = -2.5
                    TPixelCase{"negative_range", Horizontal(-50, -10, 0, 40), -30, 20},
                    TPixelCase{"outside_extrapolates", Horizontal(0, 10, 0, 100), 20, 200},
                    TPixelCase{"zero_range_centre", Horizontal(5, 5, 10, 111), 5, 60},
                    TPixelCase{"zero_range_v_centre", Vertical(5, 5, 10, 110), 123, 60},
                    TPixelCase{"huge_offset_centre", Horizontal(0, 1, 0, 100), 1e300, 50},
                    TPixelCase{"offset_at_int_limit_centre", Horizontal(0, 1, 0, 1), 2147483647.0, 0},
                    TPixelCase{"nan_centre", Horizontal(0, 1, 0, 100), NaN, 50},
                    TPixelCase{"inf_centre", Vertical(0, 1, 0, 100), Inf, 50},
                    TPixelCase{"infinite_range_centre", Horizontal(-1e308, 1e308, 0, 100), 1e308, 50},
                    TPixelCase{"large_offset_lo", Horizontal(1e12, 1e12 + 100, 0, 100), 1e12 + 25, 25},
                    // An extent wider than int holds: its size is held at 2147483647.
                    TPixelCase{"extent_wider_than_int", Horizontal(0, 1, -2147483000, 2147483000), 0.5, -1073741176},
                    TPixelCase{"log_10_1000_mid", Vertical(10, 1000, 0, 200, true), 100, 100},
                    TPixelCase{"log_10_1000_top", Vertical(10, 1000, 0, 200, true), 1000, 0},
                    TPixelCase{"log_zero_at_bottom", Vertical(10, 1000, 0, 200, true), 0, 200},
                    TPixelCase{"log_negative_at_left", Horizontal(10, 1000, 5, 205, true), -3, 5},
                    TPixelCase{"log_lo_0_uses_ln1", Vertical(0, std::exp(2.0), 0, 100, true), std::exp(1.0), 50},
                    TPixelCase{"log_equal_logs_centre", Vertical(0, 1, 0, 100, true), 0.5, 50}),
    [](const testing::TestParamInfo<TPixelCase>& info) { return std::string(info.param.Name); });

// A point far off the plot area stays on its own side, held at the far offset, where
// ValueToPixel gives the centre; near points get ValueToPixel's pixel.
TEST(ChartAxisMap, ClampedPixelKeepsFarPointsOnTheirSide)
{
    const TAxisMap h = Horizontal(0, 1, 0, 100);
    const TAxisMap v = Vertical(0, 1, 0, 100);
    EXPECT_EQ(h.ClampedPixel(0.255, 1e7), 26.0);
    EXPECT_EQ(h.ClampedPixel(1e300, 1e7), 1e7);
    EXPECT_EQ(h.ClampedPixel(-1e300, 1e7), -1e7);
    EXPECT_EQ(v.ClampedPixel(1e300, 1e7), 100 - 1e7);
    EXPECT_EQ(h.ClampedPixel(NaN, 1e7), 50.0);
}

struct TValueCase {
    const char* Name;
    TAxisMap Map;
    int Pixel;
    double Value;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TValueCase& c, std::ostream* os) { *os << c.Name; }

class PixelToValueTest : public testing::TestWithParam<TValueCase> {};

TEST_P(PixelToValueTest, MapsPixel)
{
    const TValueCase& c = GetParam();
    EXPECT_NEAR(c.Map.PixelToValue(c.Pixel), c.Value, 1e-9 * std::max(1.0, std::fabs(c.Value)));
}

INSTANTIATE_TEST_SUITE_P(chart, PixelToValueTest,
                         testing::Values(TValueCase{"linear_h_start", Horizontal(0, 100, 10, 110), 10, 0},
                                         TValueCase{"linear_h_mid", Horizontal(0, 100, 10, 110), 35, 25},
                                         TValueCase{"linear_v_top_is_hi", Vertical(-5, 15, 20, 220), 20, 15},
                                         TValueCase{"linear_v_bottom_is_lo", Vertical(-5, 15, 20, 220), 220, -5},
                                         TValueCase{"linear_outside", Vertical(0, 100, 0, 100), 150, -50},
                                         TValueCase{"linear_no_pixels", Horizontal(3, 7, 40, 40), 40, 0},
                                         TValueCase{"log_v_top", Vertical(10, 1000, 0, 200, true), 0, 1000},
                                         TValueCase{"log_v_bottom", Vertical(10, 1000, 0, 200, true), 200, 10},
                                         TValueCase{"log_v_mid", Vertical(10, 1000, 0, 200, true), 100, 100},
                                         TValueCase{"log_h_mid", Horizontal(1, 10000, 0, 400, true), 100, 10},
                                         TValueCase{"log_equal_logs_lo", Vertical(0, 1, 0, 100, true), 30, 0}),
                         [](const testing::TestParamInfo<TValueCase>& info) { return std::string(info.param.Name); });

TEST(ChartAxisMap, RoundTripsEveryPixelOfALinearAxis)
{
    const TAxisMap map = Vertical(-3.5, 12.25, 17, 317);
    for (int p = map.Start; p <= map.End; ++p) {
        EXPECT_EQ(map.ValueToPixel(map.PixelToValue(p)), p) << p;
    }
}

TEST(ChartAxisLabels, MaxLabelCountFollowsSeparation)
{
    // 13 px labels with 10 % separation: 13 + rnd(1.3) = 14 px each.
    EXPECT_EQ(TAxisLabels::MaxLabelCount(140, 13, 10), 10);
    EXPECT_EQ(TAxisLabels::MaxLabelCount(56, 13, 10), 4);
    EXPECT_EQ(TAxisLabels::MaxLabelCount(300, 0, 10), 1);
    EXPECT_EQ(TAxisLabels::MaxLabelCount(0, 13, 10), 0);
}

TEST(ChartAxisLabels, StepsWalkTheOneTwoFiveSequence)
{
    std::vector<double> steps{1.0};
    for (int i = 0; i < 6; ++i) {
        steps.push_back(TAxisLabels::NextLabelStep(steps.back()));
    }
    const std::vector<double> expected{1, 2, 5, 10, 20, 50, 100};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_DOUBLE_EQ(steps[i], expected[i]);
    }
    EXPECT_DOUBLE_EQ(TAxisLabels::NextLabelStep(3.0), 5.0);
    EXPECT_DOUBLE_EQ(TAxisLabels::NextLabelStep(0.2), 0.5);
    EXPECT_NEAR(TAxisLabels::NextLabelStep(2e-12), 5e-12, 1e-24);
    // A step that lost its last bit still moves on.
    EXPECT_GT(TAxisLabels::NextLabelStep(std::nextafter(2.0, 0.0)), 2.0);
}

struct TStepCase {
    const char* Name;
    double Range;
    int MaxLabels;
    double Increment;
    double Step;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TStepCase& c, std::ostream* os) { *os << c.Name; }

class LabelStepTest : public testing::TestWithParam<TStepCase> {};

TEST_P(LabelStepTest, ChoosesStep)
{
    const TStepCase& c = GetParam();
    EXPECT_NEAR(TAxisLabels::LinearLabelStep(c.Range, c.MaxLabels, c.Increment), c.Step, c.Step * 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    chart, LabelStepTest,
    testing::Values(TStepCase{"range_10000_room_10", 10000, 10, 0, 1000},
                    // 1000 gives 10, 2000 gives 5, 5000 gives 2.
                    TStepCase{"range_10000_room_4", 10000, 4, 0, 5000}, TStepCase{"range_negative", -10000, 4, 0, 5000},
                    TStepCase{"range_below_one", 0.05, 5, 0, 0.01}, TStepCase{"range_tiny", 3e-12, 10, 0, 1e-12},
                    TStepCase{"range_huge", 2e300, 10, 0, 2e299},
                    // 3 gives 33 labels, 5 gives 20, 10 gives 10.
                    TStepCase{"increment_start", 100, 10, 3, 10}, TStepCase{"increment_fits", 100, 50, 3, 3},
                    TStepCase{"increment_below_floor", 1e-12, 10, 1e-15, 1e-12}, TStepCase{"no_room", 100, 0, 0, 1e-12},
                    TStepCase{"zero_range", 0, 5, 0, 1e-12}),
    [](const testing::TestParamInfo<TStepCase>& info) { return std::string(info.param.Name); });

TEST(ChartAxisLabels, StepFinishesOnNonFiniteRanges)
{
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(TAxisLabels::LinearLabelStep(Inf, 10, 0), 1.0);
    EXPECT_EQ(TAxisLabels::LinearLabelStep(NaN, 10, 0), 1e-12);
    EXPECT_GT(TAxisLabels::LinearLabelStep(1.7e308, 10, 0), 1e307);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(1));
    // Without separation the step keeps its start value.
    EXPECT_EQ(TAxisLabels::LinearLabelStep(10000, 4, 0, false), 1.0);
}

TEST(ChartAxisLabels, LinearValuesFromTheTopDown)
{
    const auto labels = TAxisLabels::LinearLabelValues(0, 10000, 1000, true);
    ASSERT_EQ(labels.size(), 11U);
    EXPECT_EQ(labels.front(), 10000);
    EXPECT_EQ(labels.back(), 0);

    const auto offset = TAxisLabels::LinearLabelValues(1000, 10000, 2000, true);
    EXPECT_EQ(offset, (std::vector<double>{10000, 8000, 6000, 4000, 2000}));

    // The lower limit (lo - 1e-12) / 1.000000000001 lies a little above a
    // negative lower end, so a label exactly at such an end is left out.
    const auto unrounded = TAxisLabels::LinearLabelValues(-7, 13, 5, false);
    EXPECT_EQ(unrounded, (std::vector<double>{13, 8, 3, -2}));
    const auto positiveEnd = TAxisLabels::LinearLabelValues(7, 27, 5, false);
    EXPECT_EQ(positiveEnd, (std::vector<double>{27, 22, 17, 12, 7}));

    const auto negative = TAxisLabels::LinearLabelValues(-12, -3, 5, true);
    EXPECT_EQ(negative, (std::vector<double>{-5, -10}));
}

TEST(ChartAxisLabels, LinearValuesDegenerateCases)
{
    EXPECT_EQ(TAxisLabels::LinearLabelValues(5, 5, 1e-12, true), std::vector<double>{5});
    // 10000 labels or more: none at all.
    EXPECT_TRUE(TAxisLabels::LinearLabelValues(0, 10000, 1, true).empty());
    EXPECT_TRUE(TAxisLabels::LinearLabelValues(0, 1, 1e-12, true).empty());
    EXPECT_TRUE(TAxisLabels::LinearLabelValues(NaN, 1, 0.1, true).empty());
    EXPECT_TRUE(TAxisLabels::LinearLabelValues(-1e308, 1e308, 1e300, true).empty());
    EXPECT_TRUE(TAxisLabels::LinearLabelValues(0, 1, 0, true).empty());
}

TEST(ChartAxisLabels, LogValuesArePowersInsideTheRange)
{
    double lo = 10;
    EXPECT_EQ(TAxisLabels::LogLabelValues(lo, 1000, 10), (std::vector<double>{10, 100, 1000}));
    EXPECT_EQ(lo, 10);

    lo = 30;
    EXPECT_EQ(TAxisLabels::LogLabelValues(lo, 5000, 10), (std::vector<double>{100, 1000}));

    lo = 0;
    const auto fromZero = TAxisLabels::LogLabelValues(lo, 10, 10);
    EXPECT_EQ(lo, 0.1);
    ASSERT_EQ(fromZero.size(), 3U);
    EXPECT_DOUBLE_EQ(fromZero[0], 0.1);
    EXPECT_DOUBLE_EQ(fromZero[2], 10);

    lo = -4;
    const auto fromNegative = TAxisLabels::LogLabelValues(lo, 1, 10);
    EXPECT_EQ(lo, 1e-10);
    EXPECT_EQ(fromNegative.size(), 11U);

    lo = 7;
    EXPECT_TRUE(TAxisLabels::LogLabelValues(lo, 7, 10).empty());
    lo = 1;
    EXPECT_TRUE(TAxisLabels::LogLabelValues(lo, Inf, 10).empty());
    lo = 1;
    EXPECT_TRUE(TAxisLabels::LogLabelValues(lo, 100, 1).empty());
    lo = 1e-300;
    // Repeated multiplication may push the last power just past 1e300.
    const auto wide = TAxisLabels::LogLabelValues(lo, 1e300, 10);
    EXPECT_GE(wide.size(), 600U);
    EXPECT_LE(wide.size(), 601U);
}

// Separators of the C, German and Russian locales, and a made-up set of
// multi-byte ones that shows every separator is copied whole.
const TNumberFormat C{};
const TNumberFormat German{",", ".", "-"};
const TNumberFormat Russian{",", "\u00a0", "-"};
const TNumberFormat Wide{"\u066b", "\u2009", "\u2212"};

struct TFormatCase {
    const char* Name;
    const char* Picture;
    double Value;
    TNumberFormat Separators;
    const char* Text;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TFormatCase& c, std::ostream* os) { *os << c.Name; }

class FormatFloatTest : public testing::TestWithParam<TFormatCase> {};

TEST_P(FormatFloatTest, WritesPicture)
{
    const TFormatCase& c = GetParam();
    EXPECT_EQ(FormatFloat(c.Picture, c.Value, c.Separators), std::string(c.Text));
}

// Texts worked out by hand: round to the picture's decimals, drop optional
// trailing zeros, pad to the mandatory digits, group by three from the point.
INSTANTIATE_TEST_SUITE_P(
    chart, FormatFloatTest,
    testing::Values(
        TFormatCase{"grouping", "#,##0.#####", 1234567.891, C, "1,234,567.891"},
        TFormatCase{"zero", "#,##0.#####", 0.0, C, "0"}, TFormatCase{"negative_zero", "#,##0.#####", -0.0, C, "0"},
        TFormatCase{"tiny_negative_is_zero", "#,##0.#####", -0.000001, C, "0"},
        TFormatCase{"leading_zero", "#,##0.#####", 0.5, C, "0.5"},
        TFormatCase{"five_decimals", "#,##0.#####", 0.00001, C, "0.00001"},
        TFormatCase{"rounded", "#,##0.#####", 1.234567, C, "1.23457"},
        TFormatCase{"negative", "#,##0.#####", -1234.5, C, "-1,234.5"},
        TFormatCase{"three_decimals", "#,##0.###", 2.0006, C, "2.001"},
        TFormatCase{"no_decimals_left", "#,##0.###", 9999.9999, C, "10,000"},
        TFormatCase{"carry_into_new_group", "#,##0.###", 999999.9996, C, "1,000,000"},
        TFormatCase{"mandatory_decimals", "0.00", 1.5, C, "1.50"},
        TFormatCase{"mandatory_decimals_of_negative_zero", "0.00", -0.001, C, "0.00"},
        TFormatCase{"mandatory_int_digits", "00000", 42.0, C, "00042"},
        TFormatCase{"optional_digits_only_zero", "#", 0.4, C, "0"},
        TFormatCase{"optional_digits_only_value", "#", 7.5, C, "8"},
        TFormatCase{"no_grouping", "0.#", 12345.0, C, "12345"},
        TFormatCase{"comma_after_point_no_grouping", "0.#,#", 12345.25, C, "12345.25"},
        TFormatCase{"decimals_capped_at_20", "0.#########################", 0.1, C, "0.10000000000000000555"},
        TFormatCase{"literals", "~#,##0 Hz", 2500.0, C, "~2,500 Hz"},
        TFormatCase{"utf8_literals", "\u2248#,##0 \u0413\u0446", 2500.0, C, "\u22482,500 \u0413\u0446"},
        TFormatCase{"german", "#,##0.#####", 1234.5, German, "1.234,5"},
        TFormatCase{"russian", "#,##0.#####", 1234.5, Russian, "1\u00a0234,5"},
        TFormatCase{"wide_separators", "#,##0.#####", -1234567.25, Wide, "\u22121\u2009234\u2009567\u066b25"},
        TFormatCase{"huge", "#,##0.#####", 1e300, C, "1E+300"},
        TFormatCase{"huge_negative", "#,##0.#####", -2.5e20, C, "-2.5E+20"},
        TFormatCase{"huge_full_mantissa", "#,##0.#####", 1.2345678901234567e19, C, "1.23456789012346E+19"},
        TFormatCase{"huge_german_with_literals", "~0 Hz", -2.5e20, German, "~-2,5E+20 Hz"},
        TFormatCase{"huge_wide", "0", -2.5e20, Wide, "\u22122\u066b5E+20"},
        TFormatCase{"largest", "0", std::numeric_limits<double>::max(), C, "1.79769313486232E+308"},
        TFormatCase{"nan", "#,##0.#####", NaN, C, "NAN"}, TFormatCase{"inf", "#,##0.#####", Inf, German, "INF"},
        TFormatCase{"minus_inf", "#,##0.#####", -Inf, Wide, "-INF"}),
    [](const testing::TestParamInfo<TFormatCase>& info) { return std::string(info.param.Name); });

struct TLogAxisCase {
    const char* Name;
    double Lo;
    double Hi;
    std::vector<std::string> Texts; // from the lowest label up
};

void PrintTo(const TLogAxisCase& c, std::ostream* os) { *os << c.Name; }

class LogAxisLabelsTest : public testing::TestWithParam<TLogAxisCase> {};

// The labels of a decimal logarithmic axis in the spectrum charts' picture: every decade has
// its own text, and the texts from 1e-5 up are FormatFloat's, as on a linear axis.
TEST_P(LogAxisLabelsTest, TellsDecadesApart)
{
    const TLogAxisCase& c = GetParam();
    double lo = c.Lo;
    std::vector<std::string> texts;
    for (const double value : TAxisLabels::LogLabelValues(lo, c.Hi, 10)) {
        texts.push_back(FormatLogLabel("#,##0.#####", value));
        if (value >= 1e-5 * (1 - 1e-9)) {
            EXPECT_EQ(texts.back(), FormatFloat("#,##0.#####", value)) << value;
        }
    }
    EXPECT_EQ(texts, c.Texts);
}

INSTANTIATE_TEST_SUITE_P(
    chart, LogAxisLabelsTest,
    testing::Values(
        TLogAxisCase{
            "from_1e_minus_8", 1e-8, 1, {"1E-8", "1E-7", "1E-6", "0.00001", "0.0001", "0.001", "0.01", "0.1", "1"}},
        TLogAxisCase{"from_1e_minus_3", 1e-3, 1, {"0.001", "0.01", "0.1", "1"}},
        TLogAxisCase{"from_3e_minus_8", 3e-8, 0.05, {"1E-7", "1E-6", "0.00001", "0.0001", "0.001", "0.01"}},
        TLogAxisCase{"from_zero", 0, 100, {"0.1", "1", "10", "100"}},
        TLogAxisCase{"from_negative", -1, 1e-4, {"1E-10", "1E-9", "1E-8", "1E-7", "1E-6", "0.00001", "0.0001"}}),
    [](const testing::TestParamInfo<TLogAxisCase>& info) { return std::string(info.param.Name); });

class LogLabelTextTest : public testing::TestWithParam<TFormatCase> {};

TEST_P(LogLabelTextTest, WritesSmallValuesInScientificNotation)
{
    const TFormatCase& c = GetParam();
    EXPECT_EQ(FormatLogLabel(c.Picture, c.Value, c.Separators), std::string(c.Text));
}

// Below the picture's smallest decimal only what the picture would round away changes form.
INSTANTIATE_TEST_SUITE_P(
    chart, LogLabelTextTest,
    testing::Values(TFormatCase{"below_five_decimals", "#,##0.#####", 1e-6, C, "1E-6"},
                    TFormatCase{"hair_below_the_smallest_decimal", "#,##0.#####", 0.00001 * (1 - 1e-15), C, "0.00001"},
                    TFormatCase{"mantissa_digits_as_needed", "#,##0.#####", 2.5e-7, C, "2.5E-7"},
                    TFormatCase{"power_of_two", "#,##0.#####", 0x1p-17, C, "7.6294E-6"},
                    TFormatCase{"russian_decimal_comma", "#,##0.#####", 2.5e-7, Russian, "2,5E-7"},
                    TFormatCase{"literals_kept", "~0.## Hz", 3e-3, C, "~3E-3 Hz"},
                    TFormatCase{"far_below", "#,##0.#####", 1e-300, C, "1E-300"},
                    TFormatCase{"zero", "#,##0.#####", 0.0, C, "0"}, TFormatCase{"nan", "#,##0.#####", NaN, C, "NAN"},
                    TFormatCase{"one", "#,##0.#####", 1.0, C, "1"},
                    TFormatCase{"grouped", "#,##0.#####", 12345.0, German, "12.345"}),
    [](const testing::TestParamInfo<TFormatCase>& info) { return std::string(info.param.Name); });
} // namespace
