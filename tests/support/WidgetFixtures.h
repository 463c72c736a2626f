#pragma once

// Recordings and spectrum files for the widget tests, with the paths as Qt strings.

#include "tests/support/RecordingFixtures.h"
#include "tests/support/SpectrumFixtures.h"
#include "tests/support/TTempFolder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class TReadoutStrip;

namespace testsupport {

// A temporary folder (TTempFolder) that hands out its paths as Qt strings.
class TFixtureFolder {
public:
    QString Path() const;
    // The path of `name` inside the folder.
    QString File(const QString& name) const;

private:
    TTempFolder folder_;
};

// 16384 samples of two sines in the analysis band (their frequencies and amplitudes vary with
// `seed`) plus a little deterministic noise.
TSamples TwoToneSamples(int seed);
// A recording of `samples` at `path` (WriteRecording with a RIFF header).
void WriteWave(const QString& path, const TSamples& samples);
// A spectrum file of `scale` and `codes` at `path` (WriteSpectrumFixture).
void WriteSpectrum(const QString& path, long double scale, const TSpectrumCodes& codes);
// Codes with a peak of 10000 at line `peak`, falling by 60 a line on either side to at least 1.
TSpectrumCodes PeakCodes(int peak);

// Recordings rec000.wav, rec001.wav... of TwoToneSamples(0), (1)... in `folder`.
QStringList WriteRecordings(const TFixtureFolder& folder, int count, const QString& prefix = QStringLiteral("rec"));
// Spectrum files spm0.spm... in `folder`: file k of scale 1e-5 (k + 1) with its peak at line
// 40 + 50 k.
QStringList WriteSpectra(const TFixtureFolder& folder, int count);

// The whole file; empty when it cannot be read.
QByteArray ReadAll(const QString& path);

// What is wrong with the read-out of `strip` as laid out now, or an empty text: a value or
// caption that overlaps another shown control of the strip or reaches past its right edge, a
// value narrower than its text needs (cut), or a value text that is not one of the read-out
// forms of `x` and `y` (ReadoutXForms, ReadoutYForms).
QString ReadoutFault(const TReadoutStrip& strip, double x, double y);

} // namespace testsupport
