#include "tests/support/WidgetFixtures.h"

#include "ui/LocalPath.h"
#include "ui/ReadoutFormat.h"
#include "ui/TReadoutStrip.h"

#include <QLabel>
#include <QPushButton>

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

void WriteWave(const QString& path, const TSamples& samples) { WriteRecording(LocalPath(path), samples); }

void WriteSpectrum(const QString& path, long double scale, const TSpectrumCodes& codes)
{
    WriteSpectrumFixture(LocalPath(path), scale, codes);
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

QString ReadoutFault(const TReadoutStrip& strip, double x, double y)
{
    const QLabel* const readout[] = {strip.XCaption, strip.XValue, strip.YCaption, strip.YValue};
    for (const QLabel* label : readout) {
        const QRect place = label->geometry();
        const QString name = label->text();
        if (place.right() >= strip.width())
            return QStringLiteral("\"%1\" reaches past the strip's right edge").arg(name);
        // The captions have their designed size; the values are sized to their texts.
        if ((label == strip.XValue || label == strip.YValue) && label->width() < label->sizeHint().width())
            return QStringLiteral("\"%1\" is cut").arg(name);
        for (const QObject* child : strip.children()) {
            const auto* other = qobject_cast<const QWidget*>(child);
            if (other == nullptr || other == label || other->isHidden())
                continue;
            if (place.intersects(other->geometry()))
                return QStringLiteral("\"%1\" runs under %2 \"%3\"")
                    .arg(name, QString::fromLatin1(other->metaObject()->className()),
                         qobject_cast<const QLabel*>(other)        ? qobject_cast<const QLabel*>(other)->text()
                         : qobject_cast<const QPushButton*>(other) ? qobject_cast<const QPushButton*>(other)->text()
                                                                   : QString());
        }
    }
    if (!ReadoutXForms(x).contains(strip.XValue->text()))
        return QStringLiteral("X shows \"%1\"").arg(strip.XValue->text());
    if (!ReadoutYForms(y).contains(strip.YValue->text()))
        return QStringLiteral("Y shows \"%1\"").arg(strip.YValue->text());
    return {};
}

} // namespace testsupport
