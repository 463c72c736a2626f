// Pictures as PDF through Qt GUI's own PDF writer, which every build of Qt has (unlike its SVG
// module): vector pictures on every system.
#include "plot/ChartPicture.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <stdexcept>

namespace {

// The dots an inch that a picture's pixels are: CSS pixels, as for SVG.
constexpr int PixelsPerInch = 96;

} // namespace

QByteArray PdfDocument(QSize size, const QString& title, const std::function<void(QPainter&)>& paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("tulvo"));
        writer.setResolution(PixelsPerInch);
        // The page gets whole points (3/4 of a pixel): at most a pixel of white at the right and
        // bottom of a picture whose sides are not multiples of 4 pixels.
        const QSizeF inches(static_cast<double>(size.width()) / PixelsPerInch,
                            static_cast<double>(size.height()) / PixelsPerInch);
        writer.setPageLayout(QPageLayout(QPageSize(inches, QPageSize::Inch, QString(), QPageSize::ExactMatch),
                                         QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&writer))
            throw std::runtime_error("The picture could not be written as PDF");
        paint(painter);
        painter.end();
    }
    return bytes;
}

QByteArray PdfPicture(const TChartPicture& picture, const QString& title)
{
    return PdfDocument(picture.Size, title, [&picture](QPainter& painter) { PaintPicture(painter, picture); });
}
