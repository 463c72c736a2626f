// The mask file: its text as documented, read back to the same mask, a
// spreadsheet's re-save accepted, and every way a file can be wrong refused
// with its line number.

#include "core/qc/MaskFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <regex>

namespace {

// A mask with every kind of line and key: limits on both sides, one side,
// none; two excluded ranges; a level band with one limit; a note.
TToleranceMask SampleMask()
{
    TToleranceMask mask;
    mask.Units = 30;
    mask.Options.Factor = 6.5;
    mask.Options.UpperOffsetDb = 1;
    mask.Options.FloorDb = 0.25;
    mask.Options.Excluded = {{4400, 4600}, {9000.5, 9100}};
    for (int i = 0; i < SpectrumLines; ++i) {
        const double centre = -40 - i / 8.0;
        mask.Lines[i] = TMaskLine{centre, 0.5, centre - 3, centre + 4};
    }
    mask.Lines[1].LowerDb.reset();
    mask.Lines[2] = TMaskLine{-12.25, 1.125, std::nullopt, std::nullopt};
    mask.Level = TLevelBand{-16.5, -20.125, std::nullopt};
    mask.Notes = {"Learned by hand, for the test."};
    return mask;
}

std::string SampleText() { return MaskFileText(SampleMask()); }

TEST(MaskFile, TextAsDocumentedAndReadBackToTheSameMask)
{
    const std::string text = SampleText();
    // clang-format off
    const std::string head =
        "# Format: tulvo-mask 1\n"
        "# Spectrum: average\n"
        "# Units: 30\n"
        "# Factor: 6.5\n"
        "# Upper offset (dB): 1\n"
        "# Lower offset (dB): 0\n"
        "# Floor (dB): 0.25\n"
        "# Excluded (Hz): 4400-4600 9000.5-9100\n"
        "# Level (dBFS): -16.500\n"
        "# Level lower (dBFS): -20.125\n"
        "# Level upper (dBFS):\n"
        "# Learned by hand, for the test.\n"
        "Frequency (Hz),Centre (dB),Spread (dB),Lower (dB),Upper (dB)\n"
        "1000,-40.000,0.500,-43.000,-36.000\n"
        "1025,-40.125,0.500,,-36.125\n"
        "1050,-12.250,1.125,,\n"
        "1075,-40.375,0.500,-43.375,-36.375\n";
    // clang-format on
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_TRUE(text.ends_with("\n10000,-85.000,0.500,-88.000,-81.000\n"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 13 + SpectrumLines);
    const TToleranceMask read = ParseMaskFile(text, "m.csv");
    EXPECT_EQ(read, SampleMask());
    EXPECT_EQ(MaskFileText(read), text);
}

// text with every match of pattern replaced (ECMAScript, multiline).
std::string Replaced(const std::string& text, const std::string& pattern, const std::string& with)
{
    return std::regex_replace(text, std::regex(pattern, std::regex::multiline), with);
}

struct TVariantCase {
    const char* Name;
    std::function<std::string(const std::string&)> Change;
    // The message of the refusal; empty when the variant reads as the mask.
    const char* Message;
};

void PrintTo(const TVariantCase& c, std::ostream* os) { *os << c.Name; }

class MaskFileVariants : public testing::TestWithParam<TVariantCase> {};

TEST_P(MaskFileVariants, ReadAsTheMaskOrRefusedWithTheLine)
{
    const std::string text = GetParam().Change(SampleText());
    if (std::string(GetParam().Message).empty()) {
        EXPECT_EQ(ParseMaskFile(text, "m.csv"), SampleMask());
        return;
    }
    try {
        ParseMaskFile(text, "m.csv");
        ADD_FAILURE() << "read";
    } catch (const EContentError& e) {
        EXPECT_STREQ(e.what(), GetParam().Message);
        EXPECT_EQ(e.Path(), "m.csv");
    }
}

// Lines: 1 Format .. 8 Excluded, 9-11 level, 12 the note, 13 the header, 14 the 1000 Hz row.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, MaskFileVariants, testing::Values(
    // A spreadsheet's re-save (blank lines and quotes too), and a person's hand.
    TVariantCase{"CrLf", [](auto& t) { return Replaced(t, "\n", "\r\n"); }, ""},
    TVariantCase{"TrailingEmptyFields", [](auto& t) { return Replaced(t, "$", ",,,"); }, ""},
    TVariantCase{"ByteOrderMark", [](auto& t) { return "\xEF\xBB\xBF" + t; }, ""},
    TVariantCase{"QuotedAndSpaced", [](auto& t) {
        return Replaced(Replaced(t, "^1000,", "\"1000\" , "), "^(# Learned.*)$", "\"$1\""); }, ""},
    // Refused.
    TVariantCase{"NotAMask", [](auto&) { return std::string("a,b\n1,2\n"); },
                 "line 1: not a mask: the first line is not '# Format: tulvo-mask 1'"},
    TVariantCase{"OtherVersion", [](auto& t) { return Replaced(t, "mask 1", "mask 2"); },
                 "line 1: the format 'tulvo-mask 2' is not one this version reads ('tulvo-mask 1')"},
    TVariantCase{"OtherSpectrum", [](auto& t) { return Replaced(t, "average", "peak"); },
                 "line 2: the spectrum 'peak' is not one this version reads ('average' or 'max-hold')"},
    TVariantCase{"KeyMissing", [](auto& t) { return Replaced(t, "^# Factor.*\n", ""); },
                 "line 12: no '# Factor:' line above the header"},
    TVariantCase{"NegativeFactor", [](auto& t) { return Replaced(t, "Factor: 6.5", "Factor: -1"); },
                 "line 4: Factor: '-1' is not a finite number from 0 up"},
    TVariantCase{"BadRange", [](auto& t) { return Replaced(t, "4400-4600", "4600-4400"); },
                 "line 8: Excluded (Hz): '4600-4400' is not a range LOW-HIGH of Hz"},
    TVariantCase{"LevelLimitsWithoutLevel", [](auto& t) { return Replaced(t, "-16.500", "none"); },
                 "line 13: 'Level lower (dBFS)' with 'Level (dBFS): none'"},
    TVariantCase{"NoHeader", [](auto& t) { return t.substr(0, t.find("Frequency")); },
                 "line 13: no header line 'Frequency (Hz),Centre (dB),Spread (dB),Lower (dB),Upper (dB)'"},
    TVariantCase{"RowMissing", [](auto& t) { return Replaced(t, "^1025,.*\n", ""); },
                 "line 15: the frequency 1050 Hz where 1025 Hz comes next (rows from 1000 to 10000 Hz in steps of 25 Hz)"},
    TVariantCase{"LastRowMissing", [](auto& t) { return Replaced(t, "^10000,.*\n", ""); },
                 "line 374: 1 row missing: the table ends at 9975 Hz, not 10000 Hz"},
    TVariantCase{"RowAfterTheLast", [](auto& t) { return t + "10025,0,0,,\n"; },
                 "line 375: a row after the last line, 10000 Hz"},
    TVariantCase{"LowerAboveUpper", [](auto& t) { return Replaced(t, "-43.000,-36.000", "-35.000,-36.000"); },
                 "line 14: Lower (dB) -35.000 lies above Upper (dB) -36.000"},
    TVariantCase{"NotANumber", [](auto& t) { return Replaced(t, "^1000,-40.000", "1000,-40 dB"); },
                 "line 14: Centre (dB): '-40 dB' is not a number"},
    TVariantCase{"NaN", [](auto& t) { return Replaced(t, "^1000,-40.000,0.500", "1000,-40.000,nan"); },
                 "line 14: Spread (dB): 'nan' is NaN or infinite"},
    TVariantCase{"Infinity", [](auto& t) { return Replaced(t, "-36.000$", "inf"); },
                 "line 14: Upper (dB): 'inf' is NaN or infinite"},
    TVariantCase{"SixFields", [](auto& t) { return Replaced(t, "-36.000$", "-36.000,1"); },
                 "line 14: 6 fields, not 5"}),
    [](const testing::TestParamInfo<TVariantCase>& info) { return std::string(info.param.Name); });
// clang-format on

} // namespace
