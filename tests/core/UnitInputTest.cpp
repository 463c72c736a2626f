// Units read for masks and checks: a recording analysed in memory gives the
// bytes batch writes for it and leaves nothing beside it; units are handed
// over in list order, with their failures, on any number of threads.

#include "core/UnitInput.h"

#include "core/BatchRun.h"
#include "core/ErrorTexts.h"

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/SpectrumFixtures.h"
#include "tests/support/TTempFolder.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

// Recordings of several kinds, one with a header batch warns of.
std::vector<std::string> WriteRecordings(const TTempFolder& folder)
{
    std::vector<std::string> paths;
    const auto write = [&](const std::string& name, const TSamples& samples, bool realHeader = true) {
        paths.push_back(folder.File(name));
        WriteRecording(paths.back(), samples, realHeader);
    };
    write("line.wav", LineUnitSamples(TLineUnit{7}));
    write("tone.WAV", LineUnitSamples(TLineUnit{8, 6800.0, 4500.0, 115.0}));
    write("noise.wav", NoiseSamples(3, 12000));
    write("full-scale.wav", SineSamples(5000.0, 32767.0));
    write("raw-header.wav", SineSamples(2500.0, 3000.0), false);
    return paths;
}

TEST(UnitInput, RecordingsGiveTheBytesBatchWritesAndLeaveNothingBeside)
{
    const TTempFolder folder;
    const std::vector<std::string> recordings = WriteRecordings(folder);
    const auto before = FolderEntries(folder.Path());
    TUnitReader reader({});
    std::vector<TUnit> units;
    for (const auto& path : recordings) {
        units.push_back(reader.Read(path));
    }
    EXPECT_EQ(FolderEntries(folder.Path()), before);

    TBatchOptions options;
    options.OutputFolder = folder.File("batch");
    std::filesystem::create_directory(options.OutputFolder);
    RunBatchParallel(recordings, {}, options);
    for (std::size_t i = 0; i < recordings.size(); ++i) {
        const TUnit& unit = units[i];
        const auto image = SpectrumFileImage(unit.Spectrum.Scale, unit.Spectrum.Codes);
        EXPECT_EQ(std::vector<std::uint8_t>(image.begin(), image.end()),
                  ReadBytes(SpectrumPathFor(recordings[i], options.OutputFolder)))
            << recordings[i];
        EXPECT_EQ(unit.Source, TUnitSource::Recording);
        ASSERT_TRUE(unit.Header);
        EXPECT_EQ(unit.Header->Conforms, i != 4);
        EXPECT_EQ(unit.Spectrum.Values, ReadSpectrum(SpectrumPathFor(recordings[i], options.OutputFolder)).Values);
    }
    // A full-scale sine in the band: 20 log10(sqrt(1/2)).
    EXPECT_NEAR(*units[3].LevelDbfs, -3.01, 0.005);
}

TEST(UnitInput, UnitsComeInListOrderWithTheirFailuresOnAnyNumberOfThreads)
{
    const TTempFolder folder;
    std::vector<std::string> paths = WriteRecordings(folder);
    TSpectrumCodes codes;
    codes.fill(100);
    WriteSpectrumFixture(folder.File("a.spm"), 1e-6L, codes);
    codes[3] = -1;
    WriteSpectrumFixture(folder.File("negative.spm"), 1e-6L, codes);
    WriteRecording(folder.File("silent.wav"), ConstantSamples(0));
    for (const char* name : {"a.spm", "negative.spm", "missing.spm", "silent.wav"}) {
        paths.insert(paths.begin() + 2, folder.File(name));
    }
    TUnitReadOptions strict;
    strict.Policy = TFormatPolicy::RefuseNonconform;
    std::vector<std::string> first;
    for (const int jobs : {1, 3}) {
        std::vector<std::string> seen;
        const bool whole = ReadUnits(paths, strict, jobs, [&](std::size_t index, TUnitOutcome& outcome) {
            seen.push_back(
                std::to_string(index) + " " +
                (outcome.Unit ? std::to_string(outcome.Unit->Spectrum.Codes[0]) : FailureText(outcome.Error)));
        });
        EXPECT_TRUE(whole);
        if (first.empty()) {
            first = seen;
        }
        EXPECT_EQ(seen, first) << jobs << " threads";
    }
    ASSERT_EQ(first.size(), 9u);
    EXPECT_EQ(first[2], "2 Invalid floating point operation (all samples are zero)");
    EXPECT_EQ(first[3], "3 File not found");
    EXPECT_EQ(first[4], "4 not a unit's spectrum: code -1 at 1075 Hz");
    EXPECT_EQ(first[5], "5 100");
    EXPECT_EQ(first[8], "8 not a RIFF/WAVE file (expected 1 channel, 51200 Hz, 16-bit PCM, samples at byte 44)");
}

} // namespace
