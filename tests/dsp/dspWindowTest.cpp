#include <gtest/gtest.h>

#include <ostream>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "dsp/dspWindow.h"

namespace {

struct TWindowTable {
    TdspWindow Kind;
    const char* Name;
    std::array<double, 8> Values; // N = 8, rounded to six significant digits
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TWindowTable& c, std::ostream* os) { *os << c.Name; }

// Six-digit values of the closed forms for N = 8 (periodic cosine windows,
// Welch and Parzen over N + 1).
const TWindowTable WindowTables[] = {
    {fwNone, "None", {1, 1, 1, 1, 1, 1, 1, 1}},
    {fwHamming, "Hamming", {0.08, 0.214731, 0.54, 0.865269, 1, 0.865269, 0.54, 0.214731}},
    {fwHanning, "Hanning", {0, 0.146447, 0.5, 0.853553, 1, 0.853553, 0.5, 0.146447}},
    {fwBlackman, "Blackman", {0, 0.0664466, 0.34, 0.773553, 1, 0.773553, 0.34, 0.0664466}},
    {fwGaussian, "Gaussian", {0.606531, 0.75484, 0.882497, 0.969233, 1, 0.969233, 0.882497, 0.75484}},
    {fwWelch, "Welch", {0.209877, 0.555556, 0.802469, 0.950617, 1, 0.950617, 0.802469, 0.555556}},
    {fwParzen, "Parzen", {0.111111, 0.333333, 0.555556, 0.777778, 1, 0.777778, 0.555556, 0.333333}},
};

class WindowTable : public testing::TestWithParam<TWindowTable> {};

TEST_P(WindowTable, EightPointTable)
{
    const TWindowTable& t = GetParam();
    std::array<single, 8> table{};
    FillWindow(t.Kind, table.data(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(table[i], t.Values[i], 5e-6 * t.Values[i] + 1e-18) << "i = " << i;
        EXPECT_EQ(table[i], WindowValue(t.Kind, i, 8));
    }
}

TEST_P(WindowTable, PeakIsOneAndHalvesMirror)
{
    const TdspWindow kind = GetParam().Kind;
    for (const int n : {4, 64, 2048, 32768}) {
        std::vector<single> table(n);
        FillWindow(kind, table.data(), n);
        EXPECT_EQ(table[n / 2], 1.0f) << "N = " << n;
        for (int i = 1; i < n; i += 37) {
            EXPECT_NEAR(table[i], table[n - i], 1e-7) << "N = " << n << ", i = " << i;
            EXPECT_LE(table[i], 1.0f);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(dspWindowKinds, WindowTable, testing::ValuesIn(WindowTables),
                         [](const testing::TestParamInfo<TWindowTable>& info) { return std::string(info.param.Name); });

TEST(dspWindow, ParzenOfTheBatchFrame)
{
    EXPECT_FLOAT_EQ(WindowValue(fwParzen, 0, 2048), 1.0f / 2049);
    EXPECT_FLOAT_EQ(WindowValue(fwParzen, 1, 2048), 3.0f / 2049);
    EXPECT_FLOAT_EQ(WindowValue(fwParzen, 512, 2048), 1025.0f / 2049);
    EXPECT_EQ(WindowValue(fwParzen, 1024, 2048), 1.0f);
    EXPECT_FLOAT_EQ(WindowValue(fwParzen, 2047, 2048), 3.0f / 2049);
    // Each weight is 1 - |2i - N|/(N + 1) rounded once from extended.
    for (int i = 0; i < 2048; i += 101) {
        const extended q = static_cast<extended>(2 * i - 2048) / 2049.0L;
        EXPECT_EQ(WindowValue(fwParzen, i, 2048), static_cast<single>(1.0L - std::fabs(q)));
    }
}

TEST(dspWindow, BlackmanStartsAtZeroUpToRounding)
{
    EXPECT_LT(std::fabs(WindowValue(fwBlackman, 0, 2048)), 1e-19f);
    EXPECT_EQ(WindowValue(fwGaussian, 0, 2048), static_cast<single>(std::exp(-0.5L)));
}

TEST(dspWindow, NonPositiveCountWritesNothing)
{
    std::array<single, 4> table{7, 7, 7, 7};
    FillWindow(fwHanning, table.data(), 0);
    FillWindow(fwHanning, table.data(), -5);
    EXPECT_EQ(table, (std::array<single, 4>{7, 7, 7, 7}));
}

} // namespace
