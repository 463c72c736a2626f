#include "app/FileArguments.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr int MaxSpectrumFiles = 6;

bool HasSuffix(const QFileInfo& file, QLatin1String suffix)
{
    return !file.isDir() && file.suffix().compare(suffix, Qt::CaseInsensitive) == 0;
}

} // namespace

TFileOpening ClassifyFiles(const QStringList& files)
{
    TFileOpening opening;
    for (const QString& file : files)
        opening.Files << QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    const auto all = [&files](QLatin1String suffix) {
        return std::all_of(files.begin(), files.end(),
                           [suffix](const QString& file) { return HasSuffix(QFileInfo(file), suffix); });
    };
    const auto count = static_cast<int>(files.size());
    if (count == 0)
        opening.Kind = TFileOpening::Nothing;
    else if (count == 1 && all(QLatin1String("wav")))
        opening.Kind = TFileOpening::Waveform;
    else if (count == 1 && all(QLatin1String("spm")))
        opening.Kind = TFileOpening::Spectrum;
    else if (count <= MaxSpectrumFiles && all(QLatin1String("spm"))) {
        opening.Kind = TFileOpening::Comparison;
        opening.Window = count <= 3 ? count : MaxSpectrumFiles;
    } else
        opening.Kind = TFileOpening::Refused;
    return opening;
}

QString RefusedFilesText()
{
    return QStringLiteral("Открыть можно одну запись (файл .wav) или от одного до шести файлов спектра (.spm).");
}
