#include "chart/TChartColourBar.h"

#include "chart/ChartSpacing.h"
#include "chart/TChart.h"
#include "chart/TChartAxis.h"
#include "chart/axis/TAxisLabels.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {
using namespace ChartSpacing;
} // namespace

void TChartColourBar::SetVisible(bool visible)
{
    visible_ = visible;
    chart_->Invalidate();
}

void TChartColourBar::SetMinMax(double a, double b)
{
    minimum_ = std::min(a, b);
    maximum_ = std::max(a, b);
    chart_->Invalidate();
}

void TChartColourBar::SetColour(TValueColour colour)
{
    colour_ = std::move(colour);
    chart_->Invalidate();
}

void TChartColourBar::SetAxisValuesFormat(const QString& format)
{
    format_ = format;
    chart_->Invalidate();
}

void TChartColourBar::SetCaption(const QString& caption)
{
    caption_ = caption;
    chart_->Invalidate();
}

QString TChartColourBar::LabelText(double value) const { return TChartAxis::FormatLabel(format_, value); }

int TChartColourBar::Place(const QFontMetrics& fm, int top, int bottom, int plotRight, int width)
{
    map_ = TAxisMap{minimum_, maximum_, top, bottom, false, false, false};
    const int count = TAxisLabels::MaxLabelCount(map_.Size(), fm.height(), LabelsSeparationPercent);
    const double step = TAxisLabels::LinearLabelStep(map_.Range(), count, 0);
    labels_ = TAxisLabels::LinearLabelValues(minimum_, maximum_, step, true);
    labelWidth_ = 0;
    for (const double value : labels_) {
        labelWidth_ = std::max(labelWidth_, fm.horizontalAdvance(LabelText(value)));
    }
    const int barRight = std::max(0, width - 1 - Margin - labelWidth_ - LabelGap - TickLength);
    bar_ = QRect(QPoint(std::max(0, barRight - BarWidth + 1), top), QPoint(barRight, bottom));
    return std::min(plotRight, bar_.left() - BarGap);
}

void TChartColourBar::Paint(QPainter& painter, int captionTop) const
{
    if (colour_) {
        for (int y = bar_.top(); y <= bar_.bottom(); ++y) {
            painter.fillRect(QRect(bar_.left(), y, bar_.width(), 1), QColor(colour_(map_.PixelToValue(y))));
        }
    }
    const QFontMetrics fm(painter.font());
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar_.adjusted(-1, -1, 0, 0));
    const int labelLeft = bar_.right() + 1 + TickLength + LabelGap;
    for (const double value : labels_) {
        const int y = map_.ValueToPixel(value);
        if (y < bar_.top() || y > bar_.bottom()) {
            continue;
        }
        painter.drawLine(bar_.right() + 1, y, bar_.right() + TickLength, y);
        painter.drawText(QRect(labelLeft, y - fm.height() / 2, labelWidth_ + LabelGap, fm.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, LabelText(value));
    }
    if (!caption_.isEmpty()) {
        painter.drawText(QRect(bar_.left(), captionTop, labelLeft + labelWidth_ - bar_.left(), fm.height()),
                         Qt::AlignHCenter | Qt::AlignTop, caption_);
    }
}
