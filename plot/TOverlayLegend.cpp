#include "plot/TOverlayLegend.h"

#include "chart/TChart.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {
// Between the line and the name.
constexpr int LineGap = 4;
// White that lets a curve behind the key show through faintly.
const QColor Background(255, 255, 255, 215);
const QColor FrameColour(160, 160, 160);

QString MoreText(std::size_t left) { return QStringLiteral("+") + QString::number(left); }
} // namespace

QString TOverlayLegend::ShownName(const QString& path, const QFontMetrics& metrics, int plotWidth)
{
    const int room = std::min(MaxNameWidth, std::max(plotWidth / 3, metrics.horizontalAdvance(QStringLiteral("W…W"))));
    return metrics.elidedText(QFileInfo(path).fileName(), Qt::ElideMiddle, room);
}

int TOverlayLegend::ShownRows(const QRect& plot, const QFontMetrics& metrics, bool& more) const
{
    const int available = (plot.height() - 2 * Inset - 2 * Padding) / metrics.height();
    const int count = static_cast<int>(entries_.size());
    more = count > std::max(available, 1);
    return more ? std::max(available - 1, 0) : count;
}

int TOverlayLegend::NameWidth(const QRect& plot, const QFontMetrics& metrics) const
{
    bool more = false;
    const int rows = ShownRows(plot, metrics, more);
    int width = more ? metrics.horizontalAdvance(MoreText(entries_.size() - rows)) : 0;
    for (int k = 0; k < rows; ++k)
        width = std::max(width, metrics.horizontalAdvance(ShownName(entries_[k].Path, metrics, plot.width())));
    return width;
}

QRect TOverlayLegend::Frame(const QRect& plot, const QFontMetrics& metrics) const
{
    if (entries_.empty())
        return {};
    bool more = false;
    const int rows = ShownRows(plot, metrics, more) + (more ? 1 : 0);
    const int width = 2 * Padding + LineLength + LineGap + NameWidth(plot, metrics);
    const int height = 2 * Padding + rows * metrics.height();
    return {plot.right() - Inset - width + 1, plot.top() + Inset, width, height};
}

QRect TOverlayLegend::Row(int k, const QRect& plot, const QFontMetrics& metrics) const
{
    bool more = false;
    if (k < 0 || k >= ShownRows(plot, metrics, more))
        return {};
    const QRect frame = Frame(plot, metrics);
    return {frame.left() + Padding, frame.top() + Padding + k * metrics.height(), frame.width() - 2 * Padding,
            metrics.height()};
}

int TOverlayLegend::EntryAt(QPoint point, const QRect& plot, const QFontMetrics& metrics) const
{
    for (int k = 0; k < static_cast<int>(entries_.size()); ++k)
        if (Row(k, plot, metrics).contains(point))
            return k;
    return -1;
}

void TOverlayLegend::Paint(QPainter& painter, const QRect& plot) const
{
    if (entries_.empty())
        return;
    const QFontMetrics metrics(painter.font());
    const QRect frame = Frame(plot, metrics);
    painter.save();
    painter.setPen(FrameColour);
    painter.setBrush(Background);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    bool more = false;
    const int rows = ShownRows(plot, metrics, more);
    for (int k = 0; k < rows; ++k) {
        const QRect row = Row(k, plot, metrics);
        const int middle = row.top() + row.height() / 2;
        painter.setPen(QPen(entries_[k].Colour, 2));
        painter.drawLine(row.left(), middle, row.left() + LineLength - 1, middle);
        painter.setPen(Qt::black);
        const QRect name(row.left() + LineLength + LineGap, row.top(), row.width() - LineLength - LineGap,
                         row.height());
        painter.drawText(name, Qt::AlignLeft | Qt::AlignVCenter, ShownName(entries_[k].Path, metrics, plot.width()));
    }
    if (more) {
        painter.setPen(Qt::black);
        const QRect last(frame.left() + Padding + LineLength + LineGap, frame.top() + Padding + rows * metrics.height(),
                         frame.width() - 2 * Padding - LineLength - LineGap, metrics.height());
        painter.drawText(last, Qt::AlignLeft | Qt::AlignVCenter, MoreText(entries_.size() - rows));
    }
    painter.restore();
}

void ShowLegend(TChart& chart, const TOverlayLegend& legend)
{
    if (legend.Empty())
        chart.SetForeground({});
    else
        chart.SetForeground([legend](QPainter& painter, const QRect& plot) { legend.Paint(painter, plot); });
}
