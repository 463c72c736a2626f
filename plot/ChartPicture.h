#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QPainter;
class TChart;

// A picture of what a window's chart area shows: the charts it shows, each at its place, on
// a white ground of the area's size. The charts draw themselves (TChart::PaintTo) at their
// own size, zoom, scales and colour key, so the picture is the area as the window shows it.
struct TChartPicture {
    struct TPlacedChart {
        TChart* Chart;
        QPoint Offset; // the chart's top-left corner in the picture
    };
    QSize Size;
    std::vector<TPlacedChart> Charts;
};

// The formats a picture is saved in.
enum class TPictureFormat { Png, Svg, Pdf };

// Paints the picture with its top-left corner at the painter's origin.
void PaintPicture(QPainter& painter, const TChartPicture& picture);

// The picture as pixels, one per pixel of the window (for the clipboard and PNG).
QImage PictureImage(const TChartPicture& picture);

// The picture as the bytes of a file in `format`; an SVG or PDF carries `title`. Raises
// std::runtime_error when the format cannot be written here (SvgPictureAvailable).
QByteArray PictureFileBytes(const TChartPicture& picture, TPictureFormat format, const QString& title);

// Whether this build writes SVG pictures (it does when Qt's SVG module was there to link).
bool SvgPictureAvailable();

// The picture as an SVG document of the picture's size in pixels, titled `title`. Raises
// std::runtime_error when SvgPictureAvailable() is false.
QByteArray SvgPicture(const TChartPicture& picture, const QString& title);

// A PDF document of one page of `size` pixels at 96 dots an inch (the size a browser shows the
// PNG at; the page in whole points, so up to a pixel of white may be added at its right and
// bottom), titled `title`, painted by `paint` onto a painter whose coordinates are those pixels:
// lines and text stay vectors, the fonts embedded. Qt's PDF engine writes the time of writing in
// the document's information, so two writes differ there. Needs a QGuiApplication.
QByteArray PdfDocument(QSize size, const QString& title, const std::function<void(QPainter&)>& paint);

// The picture as a PDF document (PdfDocument), painted as PaintPicture paints it.
QByteArray PdfPicture(const TChartPicture& picture, const QString& title);
