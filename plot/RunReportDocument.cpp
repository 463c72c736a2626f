#include "plot/RunReportDocument.h"

#include "chart/TChart.h"
#include "core/files/TDataFile.h"
#include "plot/MaskChart.h"
#include "plot/TSpectrumHeatmap.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>
#include <QPainter>

#include <array>
#include <memory>

namespace {

TReportPicture PngPicture(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        throw std::runtime_error("a picture of the report could not be encoded as PNG");
    }
    const QByteArray base64 = png.toBase64();
    return {std::string(base64.constData(), static_cast<std::size_t>(base64.size())), image.width(), image.height()};
}

std::string HexDigest(QCryptographicHash& hash)
{
    const QByteArray hex = hash.result().toHex().left(static_cast<qsizetype>(ReportDigestDigits));
    return std::string(hex.constData(), static_cast<std::size_t>(hex.size()));
}

// A failing unit against the mask, as the check window draws it when it opens: on a logarithmic
// value axis, where limits in dB read best.
QImage DrawUnitChart(const TReportUnit& unit, const TReportMask& mask)
{
    const std::unique_ptr<TChart> chart(
        MakeMaskChart(nullptr, mask.Mask, unit.Unit->Spectrum, *unit.Verdict, QString::fromStdString(unit.File)));
    chart->resize(ReportChartSize);
    chart->LeftAxis()->SetLogarithmic(true);
    QImage image(ReportChartSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    chart->PaintTo(painter);
    return image;
}

QImage DrawHeatmap(const TRunReport& report)
{
    std::vector<QString> names;
    std::vector<TBandValues> bands;
    for (const std::size_t k : ReportHeatmapOrder(report)) {
        names.push_back(QString::fromStdString(report.Units[k].File));
        bands.push_back(report.Units[k].Unit->Spectrum.Values);
    }
    const QSize size = TSpectrumHeatmap::DefaultSize(static_cast<int>(bands.size()), MaxReportHeatmapHeight);
    return TSpectrumHeatmap(std::move(names), std::move(bands), report.Settings.Logarithmic).Draw(size);
}

} // namespace

std::string DigestOf(std::string_view bytes)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return HexDigest(hash);
}

std::string FileDigest(const std::string& path)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    try {
        TDataFile file;
        file.Bind(path);
        file.OpenRead();
        std::array<char, 1 << 16> buffer;
        while (const std::size_t got = ReadUpTo(file.Handle(), buffer.data(), buffer.size(), path)) {
            hash.addData(QByteArrayView(buffer.data(), static_cast<qsizetype>(got)));
        }
        file.Close();
    } catch (const EInOutError&) {
        return {};
    }
    return HexDigest(hash);
}

TReportPictures DrawReportPictures(const TRunReport& report)
{
    TReportPictures pictures;
    for (const std::size_t k : ReportChartedUnits(report)) {
        pictures.Charts.push_back(PngPicture(DrawUnitChart(report.Units[k], *report.Mask)));
    }
    if (!ReportHeatmapOrder(report).empty()) {
        pictures.Heatmap = PngPicture(DrawHeatmap(report));
    }
    return pictures;
}

std::string RunReportDocument(const TRunReport& report) { return RunReportHtml(report, DrawReportPictures(report)); }
