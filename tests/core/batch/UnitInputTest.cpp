// Units read for masks and checks: a recording analysed in memory, on worker
// threads, gives the bytes batch writes for it and leaves nothing beside it,
// or its max-hold spectrum.

#include "core/batch/UnitInput.h"

#include "core/analysis/TRecordingFrames.h"
#include "core/base/TulvoErrors.h"
#include "core/batch/BatchRun.h"

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
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
    std::vector<TUnit> units;
    ReadUnits(recordings, {}, 3, [&](std::size_t index, TUnitOutcome& outcome) {
        EXPECT_EQ(index, units.size());
        units.push_back(*outcome.Unit);
    });
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

// Asked for max-hold spectra, a recording gives its frames' max-hold spectrum
// and a spectrum file, which holds no frames, is refused.
TEST(UnitInput, MaxHoldSpectraOfRecordingsOnly)
{
    const TTempFolder folder;
    const std::vector<std::string> recordings = WriteRecordings(folder);
    TUnitReadOptions options;
    options.Kind = TSpectrumKind::MaxHold;
    ReadUnits(recordings, options, 2, [&](std::size_t index, TUnitOutcome& outcome) {
        const TSpectrum expected = AnalyseFramedRecording(recordings[index]).Frames.MaxHoldSpectrum();
        EXPECT_EQ(outcome.Unit->Kind, TSpectrumKind::MaxHold);
        EXPECT_EQ(outcome.Unit->Spectrum.Codes, expected.Codes) << recordings[index];
        EXPECT_EQ(outcome.Unit->Spectrum.Scale, expected.Scale);
    });
    try {
        TUnitReader(options).Read(folder.File("u.spm"));
        ADD_FAILURE() << "read";
    } catch (const EContentError& e) {
        EXPECT_EQ(e.what(), std::string(SpectrumFileHoldsNoFrames));
        EXPECT_EQ(e.Path(), folder.File("u.spm"));
    }
}

} // namespace
