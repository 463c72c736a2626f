#pragma once

#include "core/AnalysisConstants.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <array>
#include <cstdint>
#include <vector>

class QWidget;

// Fixture files for the window tests, written into a temporary folder.
namespace guitest {

using TSamples = std::vector<std::int16_t>;
using TCodes = std::array<std::int16_t, SpectrumLines>;

// A recording of two sines in the analysis band (their frequencies and amplitudes vary with
// `seed`) plus a little deterministic noise.
TSamples TestSignal(int seed);

// Writes a recording: a 44-byte header that starts like a RIFF header, the samples, and
// nothing else.
void WriteWav(const QString& path, const TSamples& samples);
// Writes a spectrum file: the 10 bytes of the 80-bit scale, then the 361 codes.
void WriteSpm(const QString& path, long double scale, const TCodes& codes);
// A spectrum file with a peak of 10000 at line `peak` and a slope elsewhere.
TCodes PeakCodes(int peak);

QByteArray ReadAll(const QString& path);

// A folder that goes away with the object, with paths of names inside it.
class TFolder
{
public:
    TFolder();
    QString File(const QString& name) const;
    QString Path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

// Recordings rec00.wav... in `folder`, `count` of them.
QStringList MakeRecordings(const TFolder& folder, int count, const QString& prefix = QStringLiteral("rec"));
// Spectrum files spm0.spm... with peaks at different lines.
QStringList MakeSpectra(const TFolder& folder, int count);

// Widget tests: the centre of a rectangle's horizontal extent, as a fraction of a width.
double CentreFraction(const QWidget& widget, int width);

} // namespace guitest
