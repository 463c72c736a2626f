#include "plot/ChartPicture.h"

#include "chart/TChart.h"

#include <QBuffer>
#include <QPainter>

#include <stdexcept>

void PaintPicture(QPainter& painter, const TChartPicture& picture)
{
    painter.fillRect(QRect(QPoint(0, 0), picture.Size), Qt::white);
    for (const TChartPicture::TPlacedChart& placed : picture.Charts) {
        painter.save();
        painter.translate(placed.Offset);
        painter.setClipRect(QRect(QPoint(0, 0), placed.Chart->size()));
        placed.Chart->PaintTo(painter);
        painter.restore();
    }
}

QImage PictureImage(const TChartPicture& picture)
{
    QImage image(picture.Size, QImage::Format_RGB32);
    QPainter painter(&image);
    PaintPicture(painter, picture);
    return image;
}

QByteArray PictureFileBytes(const TChartPicture& picture, TPictureFormat format, const QString& title)
{
    if (format == TPictureFormat::Svg)
        return SvgPicture(picture, title);
    if (format == TPictureFormat::Pdf)
        return PdfPicture(picture, title);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!PictureImage(picture).save(&buffer, "PNG"))
        throw std::runtime_error("The picture could not be encoded as PNG");
    return bytes;
}
