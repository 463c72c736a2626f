// Layout and drawing of TChart: background, title, grid, axes, series.

#include "chart/TChart.h"

#include "chart/ChartSpacing.h"
#include "chart/TChartSeries.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace {
using ChartSpacing::LabelGap;
using ChartSpacing::Margin;
constexpr int TitleGap = 4;

int TextWidth(const QFontMetrics& fm, const QString& text) { return fm.horizontalAdvance(text); }
} // namespace

void TChart::CalcLayout()
{
    const QFontMetrics fm(font());
    const int lineHeight = fm.height();
    const int w = width();
    const int h = height();

    int top = Margin;
    if (title_.HasText()) {
        top += static_cast<int>(title_.Lines().size()) * lineHeight + TitleGap;
    }
    titleBottom_ = top;
    // Half a label above the plot area keeps the top label inside the control.
    top += lineHeight / 2;

    int bottom = h - 1 - Margin;
    if (!bottomAxis_.Title()->Caption().isEmpty()) {
        bottom -= lineHeight + LabelGap;
    }
    bottom -= lineHeight + bottomAxis_.TickLength() + LabelGap + 1;
    bottom = std::max(bottom, top);

    for (TChartAxis* axis : Axes()) {
        axis->CalcRange();
    }

    // The left labels depend only on the height, and their width decides where
    // the plot area starts.
    leftAxis_.SetPixelExtent(top, bottom);
    leftAxis_.CalcLabels(lineHeight);
    int labelWidth = 0;
    for (double value : leftAxis_.LabelValues()) {
        labelWidth = std::max(labelWidth, TextWidth(fm, leftAxis_.LabelText(value)));
    }
    int left = Margin + labelWidth + LabelGap + leftAxis_.TickLength() + 1;
    if (!leftAxis_.Title()->Caption().isEmpty()) {
        left += lineHeight + LabelGap;
    }

    const QString lowText = bottomAxis_.LabelText(bottomAxis_.Map().Lo);
    const QString highText = bottomAxis_.LabelText(bottomAxis_.Map().Hi);
    int right = w - 1 - std::max(Margin, TextWidth(fm, highText) / 2 + LabelGap);
    if (colourBar_.Visible()) {
        right = colourBar_.Place(fm, top, bottom, right, w);
    }
    left = std::max(left, plotInsetLeft_);
    right = std::min(right, w - 1 - plotInsetRight_);
    right = std::max(right, left);
    bottomAxis_.SetPixelExtent(left, right);
    bottomAxis_.CalcLabels(std::max(TextWidth(fm, lowText), TextWidth(fm, highText)));

    plotRect_ = QRect(QPoint(left, top), QPoint(right, bottom));
}

void TChart::PaintTo(QPainter& painter)
{
    EnsureLayout();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(font());
    PaintBackground(painter);
    PaintTitle(painter);
    PaintGrid(painter);
    PaintSeries(painter);
    PaintLeftAxis(painter);
    PaintBottomAxis(painter);
    if (colourBar_.Visible()) {
        colourBar_.Paint(painter, plotRect_.bottom() + 1 + bottomAxis_.TickLength() + LabelGap);
    }
    if (foreground_) {
        foreground_(painter, plotRect_);
    }
    painter.restore();
}

void TChart::SetForeground(TForegroundPainter foreground)
{
    foreground_ = std::move(foreground);
    Invalidate();
}

void TChart::PaintBackground(QPainter& painter) const
{
    painter.fillRect(QRect(0, 0, width(), height()), color_);
    if (backWall_.Brush().style() != Qt::NoBrush) {
        painter.fillRect(plotRect_, backWall_.Brush());
    }
}

void TChart::PaintTitle(QPainter& painter) const
{
    if (!title_.HasText()) {
        return;
    }
    const QFontMetrics fm(font());
    painter.setPen(title_.Color());
    int y = Margin;
    for (const QString& line : title_.Lines()) {
        painter.drawText(QRect(0, y, width(), fm.height()), Qt::AlignHCenter | Qt::AlignTop, line);
        y += fm.height();
    }
}

void TChart::PaintGrid(QPainter& painter) const
{
    const QRect plot = plotRect_;
    if (leftAxis_.GridVisible()) {
        painter.setPen(QPen(leftAxis_.GridColor(), 0, Qt::DotLine));
        const TAxisMap map = leftAxis_.Map();
        for (double value : leftAxis_.LabelValues()) {
            const int y = map.ValueToPixel(value);
            if (y >= plot.top() && y <= plot.bottom()) {
                painter.drawLine(plot.left(), y, plot.right(), y);
            }
        }
    }
    if (bottomAxis_.GridVisible()) {
        painter.setPen(QPen(bottomAxis_.GridColor(), 0, Qt::DotLine));
        const TAxisMap map = bottomAxis_.Map();
        for (double value : bottomAxis_.LabelValues()) {
            const int x = map.ValueToPixel(value);
            if (x >= plot.left() && x <= plot.right()) {
                painter.drawLine(x, plot.top(), x, plot.bottom());
            }
        }
    }
}

void TChart::PaintLeftAxis(QPainter& painter) const
{
    const QRect plot = plotRect_;
    const QFontMetrics fm(font());
    const TAxisMap map = leftAxis_.Map();
    const int axisX = plot.left() - 1;
    painter.setPen(QPen(leftAxis_.AxisColor(), 0));
    painter.drawLine(axisX, plot.top(), axisX, plot.bottom() + 1);

    for (double value : leftAxis_.MinorTickValues()) {
        const int y = map.ValueToPixel(value);
        painter.drawLine(axisX - leftAxis_.MinorTickLength(), y, axisX, y);
    }
    const int labelRight = axisX - leftAxis_.TickLength() - LabelGap;
    for (double value : leftAxis_.LabelValues()) {
        const int y = map.ValueToPixel(value);
        if (y < plot.top() || y > plot.bottom()) {
            continue;
        }
        painter.drawLine(axisX - leftAxis_.TickLength(), y, axisX, y);
        const QRect box(0, y - fm.height() / 2, labelRight, fm.height());
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, leftAxis_.LabelText(value));
    }

    const QString& caption = leftAxis_.Title()->Caption();
    if (!caption.isEmpty()) {
        painter.save();
        painter.translate(Margin, plot.center().y());
        painter.rotate(-90);
        painter.drawText(QRect(-plot.height() / 2, 0, plot.height(), fm.height()), Qt::AlignCenter, caption);
        painter.restore();
    }
}

void TChart::PaintBottomAxis(QPainter& painter) const
{
    const QRect plot = plotRect_;
    const QFontMetrics fm(font());
    const TAxisMap map = bottomAxis_.Map();
    const int axisY = plot.bottom() + 1;
    painter.setPen(QPen(bottomAxis_.AxisColor(), 0));
    painter.drawLine(plot.left() - 1, axisY, plot.right(), axisY);

    for (double value : bottomAxis_.MinorTickValues()) {
        const int x = map.ValueToPixel(value);
        painter.drawLine(x, axisY, x, axisY + bottomAxis_.MinorTickLength());
    }
    const int labelTop = axisY + bottomAxis_.TickLength() + LabelGap;
    for (double value : bottomAxis_.LabelValues()) {
        const int x = map.ValueToPixel(value);
        if (x < plot.left() || x > plot.right()) {
            continue;
        }
        painter.drawLine(x, axisY, x, axisY + bottomAxis_.TickLength());
        const QString text = bottomAxis_.LabelText(value);
        const int textWidth = TextWidth(fm, text);
        painter.drawText(QRect(x - textWidth / 2 - 1, labelTop, textWidth + 2, fm.height()), Qt::AlignCenter, text);
    }

    const QString& caption = bottomAxis_.Title()->Caption();
    if (!caption.isEmpty()) {
        const QRect box(plot.left(), labelTop + fm.height() + LabelGap, plot.width(), fm.height());
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, caption);
    }
}

void TChart::PaintSeries(QPainter& painter) const
{
    painter.save();
    painter.setClipRect(plotRect_);
    // Backdrops first, behind every other series, each group in the order the series were made.
    for (const bool backdrop : {true, false}) {
        for (const TChartSeries* series : series_) {
            if (series->Active() && series->Backdrop() == backdrop) {
                series->DrawAllValues(painter);
            }
        }
    }
    painter.restore();
}

void TChart::PaintBand(QPainter& painter) const
{
    if (!zoomBand_.Active) {
        return;
    }
    const QRect band = QRect(QPoint(zoomBand_.X0, zoomBand_.Y0), QPoint(zoomBand_.X1, zoomBand_.Y1)).normalized();
    // Drawn over the cached picture, so moving or ending the band erases it.
    painter.setPen(QPen(Qt::black, 0, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(band);
}

void TChart::paintEvent(QPaintEvent* /*event*/)
{
    EnsureLayout();
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (!cacheValid_ || cache_.size() != pixels) {
        if (cache_.size() != pixels) {
            cache_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        }
        cache_.setDevicePixelRatio(ratio);
        QPainter cachePainter(&cache_);
        PaintTo(cachePainter);
        cacheValid_ = true;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, cache_);
    PaintBand(painter);
}

void TChart::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Invalidate();
}

void TChart::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        Invalidate();
    }
}
