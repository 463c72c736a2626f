#include "chart/TChartTitle.h"

#include "chart/TChart.h"

#include <QRegularExpression>

TChartTitle::TChartTitle(TChart* chart) : chart_(chart) {}

QString TChartTitle::Text() const
{
    QString text;
    for (const QString& line : lines_) {
        text += line;
        text += QLatin1Char('\n');
    }
    return text;
}

void TChartTitle::SetText(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    lines_ = text.split(lineBreak);
    // A break at the very end closes the last line rather than opening a new one.
    if (lines_.size() > 1 && lines_.back().isEmpty()) {
        lines_.removeLast();
    }
    if (text.isEmpty()) {
        lines_.clear();
    }
    chart_->Invalidate();
}

void TChartTitle::SetVisible(bool visible)
{
    visible_ = visible;
    chart_->Invalidate();
}

void TChartTitle::SetColor(const QColor& color)
{
    color_ = color;
    chart_->Invalidate();
}

bool TChartTitle::HasText() const
{
    if (!visible_) {
        return false;
    }
    for (const QString& line : lines_) {
        if (!line.isEmpty()) {
            return true;
        }
    }
    return false;
}
