// SVG pictures through Qt's SVG module; the build uses SvgPictureUnavailable.cpp instead where
// that module is missing.
#include "plot/ChartPicture.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

bool SvgPictureAvailable() { return true; }

QByteArray SvgPicture(const TChartPicture& picture, const QString& title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(picture.Size);
    // 96 dots an inch: the size in millimetres is the picture's size in CSS pixels, which is
    // what SVG viewers and browsers show it at.
    generator.setResolution(96);
    generator.setViewBox(QRect(QPoint(0, 0), picture.Size));
    generator.setTitle(title);
    {
        QPainter painter(&generator);
        PaintPicture(painter, picture);
    }
    return bytes;
}
