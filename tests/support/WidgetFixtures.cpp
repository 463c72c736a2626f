#include "tests/support/WidgetFixtures.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace testsupport {

QString TFixtureFolder::Path() const { return QString::fromStdString(folder_.Path().string()); }

QString TFixtureFolder::File(const QString& name) const
{
    return QString::fromStdString(folder_.File(name.toStdString()));
}

TSamples TwoToneSamples(int seed)
{
    TSamples samples(SampleCount);
    const double f1 = 1500.0 + 350.0 * (seed % 7);
    const double f2 = 4000.0 + 900.0 * (seed % 5);
    const double a1 = 6000.0 + 500.0 * (seed % 3);
    const double a2 = 2500.0;
    std::uint32_t noise = 12345u + 7919u * static_cast<std::uint32_t>(seed);
    for (int i = 0; i < SampleCount; ++i) {
        noise = noise * 1664525u + 1013904223u;
        const double t = i / 51200.0;
        const double value = a1 * std::sin(2 * std::numbers::pi * f1 * t) +
                             a2 * std::sin(2 * std::numbers::pi * f2 * t) + static_cast<int>(noise >> 24) - 128;
        samples[i] = static_cast<std::int16_t>(std::lround(value));
    }
    return samples;
}

void WriteWave(const QString& path, const TSamples& samples)
{
    WriteRecording(QFile::encodeName(path).toStdString(), samples);
}

void WriteSpectrum(const QString& path, long double scale, const TSpectrumCodes& codes)
{
    WriteSpectrumFixture(QFile::encodeName(path).toStdString(), scale, codes);
}

TSpectrumCodes PeakCodes(int peak)
{
    TSpectrumCodes codes{};
    for (int i = 0; i < SpectrumLines; ++i)
        codes[i] = static_cast<std::int16_t>(std::max(1, 9000 - 60 * std::abs(i - peak)));
    codes[peak] = 10000;
    return codes;
}

QStringList WriteRecordings(const TFixtureFolder& folder, int count, const QString& prefix)
{
    QStringList paths;
    for (int k = 0; k < count; ++k) {
        const QString path = folder.File(prefix + QStringLiteral("%1.wav").arg(k, 3, 10, QLatin1Char('0')));
        WriteWave(path, TwoToneSamples(k));
        paths << path;
    }
    return paths;
}

QStringList WriteSpectra(const TFixtureFolder& folder, int count)
{
    QStringList paths;
    for (int k = 0; k < count; ++k) {
        const QString path = folder.File(QStringLiteral("spm%1.spm").arg(k));
        WriteSpectrum(path, 1.0e-5L * (k + 1), PeakCodes(40 + 50 * k));
        paths << path;
    }
    return paths;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace testsupport
