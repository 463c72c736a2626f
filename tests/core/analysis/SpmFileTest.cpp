// The spectrum file: its name, the 80-bit scale, quantisation, and writing
// and reading with every failure leaving the disk as it was.

#include "tests/support/FileBytes.h"
#include "tests/support/SpectrumFixtures.h"
#include "tests/support/TPermissionsEnforced.h"
#include "tests/support/TTempFolder.h"

#include "../files/SpectrumFileIoFixture.h"

#include "core/analysis/SpmFile.h"

#include <cstring>
#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <tuple>

using namespace testsupport;

namespace {

struct TNameCase {
    const char* Recording;
    const char* Spectrum;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TNameCase& c, std::ostream* os) { *os << c.Recording; }

class SpectrumName : public testing::TestWithParam<TNameCase> {};

TEST_P(SpectrumName, ReplacesTheLastFourCharactersOfTheFileName)
{
    EXPECT_EQ(SpectrumFileName(GetParam().Recording), GetParam().Spectrum);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SpectrumName,
    testing::Values(TNameCase{"/data/rec01.wav", "/data/rec01.spm"}, TNameCase{"/data/rec01.wave", "/data/rec01..spm"},
                    TNameCase{"/data/rec01.WAV", "/data/rec01.spm"}, TNameCase{"rec01.wav", "rec01.spm"},
                    TNameCase{"/data/rec.spm", "/data/rec.spm"}, TNameCase{"/data/abcd", "/data/.spm"},
                    // Shorter than four characters: never reaches into the folder.
                    TNameCase{"/data/ab", "/data/ab.spm"}, TNameCase{"/da.ta/abc", "/da.ta/abc.spm"},
                    TNameCase{"ab", "ab.spm"}, TNameCase{"/data/", "/data/.spm"},
                    // Characters, not bytes.
                    TNameCase{"/data/запись.wav", "/data/запись.spm"}, TNameCase{"/data/x.ывав", "/data/x..spm"},
                    TNameCase{"/data/звук", "/data/.spm"}, TNameCase{"/data/ёж", "/data/ёж.spm"},
                    TNameCase{"/папка/ёж", "/папка/ёж.spm"}));

using TTenBytes = std::array<std::uint8_t, ScaleFieldSize>;

TEST(ExtendedScale, KnownEncodings)
{
    EXPECT_EQ(EncodeExtended(1.0L), (TTenBytes{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
    EXPECT_EQ(EncodeExtended(0.5L), (TTenBytes{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x3F}));
    EXPECT_EQ(EncodeExtended(0.0L), TTenBytes{});
    EXPECT_EQ(EncodeExtended(-2.0L), (TTenBytes{0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}));
    EXPECT_EQ(DecodeExtended(TTenBytes{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}.data()), 1.0L);
}

TEST(ExtendedScale, ReadsBackBitForBit)
{
    const extended values[] = {1.0L / 3.0L,
                               3.00144e-06L,
                               std::numeric_limits<extended>::max(),
                               std::numeric_limits<extended>::denorm_min(),
                               -std::numeric_limits<extended>::infinity(),
                               0.1L + 1e-19L};
    for (const extended value : values) {
        const TTenBytes bytes = EncodeExtended(value);
        const extended back = DecodeExtended(bytes.data());
        EXPECT_EQ(EncodeExtended(back), bytes);
        EXPECT_EQ(std::memcmp(&back, &value, ScaleFieldSize), 0);
    }
    // Any ten bytes, NaN payloads included, come back unchanged.
    const TTenBytes odd{1, 2, 3, 4, 5, 6, 7, 0xC0, 0xFF, 0x7F};
    EXPECT_EQ(EncodeExtended(DecodeExtended(odd.data())), odd);
}

TEST(Quantise, LargestLineIsTopCodeAndHalvesGoToEven)
{
    TBandValues band{};
    band[0] = 2.5f; // scale is exactly 1: codes are the values rounded
    band[1] = 3.5f;
    band[2] = 0.5f;
    band[3] = 9999.5f;
    band[4] = 10000.0f; // the maximum
    band[5] = 10000.0f; // equal to it
    band[6] = 1234.49f;
    TBandCodes codes{};
    const extended scale = QuantiseBand(band, codes);
    EXPECT_EQ(scale, 1.0L);
    EXPECT_EQ(codes[0], 2);
    EXPECT_EQ(codes[1], 4);
    EXPECT_EQ(codes[2], 0);
    EXPECT_EQ(codes[3], 10000);
    EXPECT_EQ(codes[4], 10000);
    EXPECT_EQ(codes[5], 10000);
    EXPECT_EQ(codes[6], 1234);
    EXPECT_EQ(codes[7], 0);
}

TEST(Quantise, ScaleIsMaximumOverTenThousandInExtended)
{
    TBandValues band{};
    for (int i = 0; i < SpectrumLines; ++i) {
        band[i] = 1e-4f * static_cast<float>((i * 7919) % 361 + 1) / 361.0f;
    }
    TBandCodes codes{};
    const extended scale = QuantiseBand(band, codes);
    const float maximum = *std::max_element(band.begin(), band.end());
    EXPECT_EQ(scale, static_cast<extended>(maximum) / 10000.0L);
    EXPECT_EQ(*std::max_element(codes.begin(), codes.end()), TopCode);
    EXPECT_GE(*std::min_element(codes.begin(), codes.end()), 0);
}

TEST(Quantise, ZeroMaximumIsInvalidOperation)
{
    TBandValues band{};
    TBandCodes codes{};
    EXPECT_THROW(QuantiseBand(band, codes), EInvalidOp);
}

TEST(BandValues, AreCodesTimesScaleInSingle)
{
    TBandCodes codes{};
    codes[0] = 10000;
    codes[1] = -3;
    codes[2] = 1;
    TBandValues band{};
    BandFromCodes(codes, 0.1L, band);
    EXPECT_EQ(band[0], 1000.0f);
    EXPECT_EQ(band[1], static_cast<single>(-0.3L));
    EXPECT_EQ(band[2], static_cast<single>(0.1L));
    EXPECT_EQ(band[3], 0.0f);
    // Values that single cannot hold fail like any other floating-point fault.
    EXPECT_THROW(BandFromCodes(codes, 1e300L, band), EOverflow);
    EXPECT_THROW(BandFromCodes(codes, std::numeric_limits<extended>::infinity(), band), EInvalidOp);
}

using spmfiletest::SpectrumFileIo;

TEST_F(SpectrumFileIo, WritesScaleThenCodesAndReadsThemBack)
{
    const std::string path = Folder.File("a.spm");
    const TBandCodes codes = SomeCodes(1);
    const extended scale = 1.0L / 3.0L;
    ASSERT_EQ(WriteCode(path, scale, codes), 0);

    const auto bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 732u);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + 10, EncodeExtended(scale).begin()));
    EXPECT_EQ(bytes[10], codes[0] & 0xFF);
    EXPECT_EQ(bytes[11], codes[0] >> 8);
    EXPECT_EQ(bytes[730], codes[360] & 0xFF);

    const TSpectrum read = ReadSpectrum(path);
    EXPECT_EQ(std::memcmp(&read.Scale, &scale, ScaleFieldSize), 0);
    EXPECT_EQ(read.Codes, codes);
    TBandValues values{};
    BandFromCodes(codes, scale, values);
    EXPECT_EQ(read.Values, values);
    EXPECT_EQ(FolderEntries(Folder.Path()), std::vector<std::string>{"a.spm"}); // no temporary left
}

TEST_F(SpectrumFileIo, ReplacesAnExistingFileWithoutAsking)
{
    const std::string path = Folder.File("a.spm");
    WriteBytes(path, std::vector<std::uint8_t>(2000, 0xAB));
    ASSERT_EQ(WriteCode(path, 2.0L, SomeCodes(2)), 0);
    EXPECT_EQ(ReadBytes(path).size(), 732u);
}

TEST_F(SpectrumFileIo, ZeroFileReadsAsScaleZeroAndZeroValues)
{
    const std::string path = Folder.File("zero.spm");
    WriteBytes(path, std::vector<std::uint8_t>(732, 0));
    const TSpectrum spectrum = ReadSpectrum(path);
    EXPECT_EQ(spectrum.Scale, 0.0L);
    EXPECT_TRUE(std::all_of(spectrum.Codes.begin(), spectrum.Codes.end(), [](auto c) { return c == 0; }));
    EXPECT_TRUE(std::all_of(spectrum.Values.begin(), spectrum.Values.end(), [](auto v) { return v == 0.0f; }));
}

// A file laid out byte by byte reads as its scale, its codes, and the values
// code x scale formed in extended and rounded to single once.
TEST_F(SpectrumFileIo, ReadsValuesAsCodesTimesScaleInSingle)
{
    TSpectrumCodes codes{};
    codes[0] = 10000;
    codes[1] = -3;
    codes[2] = 1;
    codes[360] = 7;
    const std::string path = Folder.File("values.spm");
    WriteSpectrumFixture(path, 0.1L, codes);
    const TSpectrum spectrum = ReadSpectrum(path);
    EXPECT_EQ(spectrum.Scale, 0.1L);
    EXPECT_EQ(spectrum.Codes, codes);
    EXPECT_EQ(spectrum.Values[0], 1000.0f);
    EXPECT_EQ(spectrum.Values[1], static_cast<single>(-0.3L));
    EXPECT_EQ(spectrum.Values[2], static_cast<single>(0.1L));
    EXPECT_EQ(spectrum.Values[3], 0.0f);
    EXPECT_EQ(spectrum.Values[360], static_cast<single>(7 * 0.1L));
}

// A scale that makes a value overflow single, or infinity times a code of
// 0, is the floating-point error of the values, raised once the file is
// read and closed.
TEST_F(SpectrumFileIo, ValuesOutOfRangeAreFloatingPointErrors)
{
    TSpectrumCodes codes{};
    codes[0] = 10000;
    WriteSpectrumFixture(Folder.File("huge.spm"), 1e300L, codes);
    WriteSpectrumFixture(Folder.File("infinite.spm"), std::numeric_limits<long double>::infinity(), codes);
    const int before = OpenDescriptorCount();
    try {
        ReadSpectrum(Folder.File("huge.spm"));
        ADD_FAILURE() << "read";
    } catch (const EOverflow& e) {
        EXPECT_EQ(e.Path(), Folder.File("huge.spm"));
    }
    EXPECT_THROW(ReadSpectrum(Folder.File("infinite.spm")), EInvalidOp);
    EXPECT_EQ(OpenDescriptorCount(), before);
}

// Scales that are no finite number, as the file holds them.
const TTenBytes UnusableScales[] = {
    {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}, // infinity
    {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}, // minus infinity
    {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F}, // quiet NaN
    {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0xFF}, // minus quiet NaN
    {1, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}, // signalling NaN
    {0, 0, 0, 0, 0, 0, 0, 0x00, 0xFF, 0x7F}, // pseudo-infinity: integer bit clear
};

// A scale, and whether every other code is 0 (infinity times 0 faults on its own).
class UnusableScale : public testing::TestWithParam<std::tuple<TTenBytes, bool>> {
protected:
    TTempFolder Folder;
};

// A scale that is no number, or no finite one, gives no values whatever the codes, and is
// refused as an invalid operation naming the file, as other unusable scales are.
TEST_P(UnusableScale, IsAnInvalidOperationNamingTheFile)
{
    const auto [scale, zeroCodes] = GetParam();
    std::vector<std::uint8_t> bytes(scale.begin(), scale.end());
    for (int i = 0; i < SpectrumLines; ++i) {
        const std::int16_t code = zeroCodes && i % 2 ? 0 : static_cast<std::int16_t>(1 + i);
        bytes.push_back(static_cast<std::uint8_t>(code & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(code >> 8));
    }
    const std::string path = Folder.File("scale.spm");
    WriteBytes(path, bytes);
    const int before = OpenDescriptorCount();
    try {
        ReadSpectrum(path);
        ADD_FAILURE() << "read";
    } catch (const EInvalidOp& e) {
        EXPECT_STREQ(e.what(), "Invalid floating point operation");
        EXPECT_EQ(e.Path(), path);
    }
    EXPECT_EQ(OpenDescriptorCount(), before);
}

INSTANTIATE_TEST_SUITE_P(Scales, UnusableScale, testing::Combine(testing::ValuesIn(UnusableScales), testing::Bool()));

TEST_F(SpectrumFileIo, ShortFilesFailAndLongerOnesAreCut)
{
    const std::string path = Folder.File("b.spm");
    const int before = OpenDescriptorCount();
    for (const int size : {0, 9, 10, 731}) {
        WriteBytes(path, std::vector<std::uint8_t>(static_cast<std::size_t>(size), 1));
        try {
            ReadSpectrum(path);
            ADD_FAILURE() << size << " bytes read";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.ErrorCode(), IoCode::ReadBeyondEnd) << size;
        }
        EXPECT_EQ(OpenDescriptorCount(), before) << size;
    }
    std::vector<std::uint8_t> longer(800, 0);
    longer[10] = 7;
    longer[732] = 9; // beyond the file's 732 bytes
    WriteBytes(path, longer);
    EXPECT_EQ(ReadSpectrum(path).Codes[0], 7);
    try {
        ReadSpectrum(Folder.File("none.spm"));
        ADD_FAILURE() << "a missing file read";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), IoCode::FileNotFound);
    }
    EXPECT_EQ(OpenDescriptorCount(), before);
}

TEST_F(SpectrumFileIo, MissingFolderOrAFolderInPlaceCreatesNothing)
{
    EXPECT_EQ(WriteCode(Folder.File("missing/a.spm"), 1.0L, SomeCodes(6)), IoCode::InvalidFilename);
    EXPECT_EQ(WriteCode("", 1.0L, SomeCodes(6)), IoCode::InvalidFilename);
    // A folder standing where the spectrum file should go.
    std::filesystem::create_directory(Folder.File("dir.spm"));
    EXPECT_EQ(WriteCode(Folder.File("dir.spm"), 1.0L, SomeCodes(6)), IoCode::AccessDenied);
    EXPECT_EQ(FolderEntries(Folder.Path()), std::vector<std::string>{"dir.spm"});
}

TEST_F(SpectrumFileIo, ReadOnlyFilesAreReadButNotReplaced)
{
    TPermissionsEnforced enforced;
    if (!enforced.Available()) {
        GTEST_SKIP() << "cannot make file permissions apply to this process";
    }
    const std::string path = Folder.File("locked.spm");
    ASSERT_EQ(WriteCode(path, 0.25L, SomeCodes(4)), 0);
    std::filesystem::permissions(path, std::filesystem::perms(0444));
    const auto before = ReadBytes(path);

    // Read access is all a reader asks for.
    EXPECT_EQ(ReadSpectrum(path).Scale, 0.25L);

    EXPECT_EQ(WriteCode(path, 1.0L, SomeCodes(5)), IoCode::AccessDenied);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(FolderEntries(Folder.Path()), std::vector<std::string>{"locked.spm"});
}

} // namespace
