#pragma once

#include "chart/TValueColour.h"
#include "chart/axis/TAxisMap.h"

#include <QRect>
#include <QString>

#include <vector>

class QFontMetrics;
class QPainter;
class TChart;

// The key of a chart's colours: a strip right of the plot area and as high as
// it, coloured from Minimum at the bottom to Maximum at the top by Colour,
// framed, with ticks and labels at its right (in AxisValuesFormat, spaced as
// an axis spaces them) and Caption below, in the row of the bottom axis's
// labels. Hidden until shown; while hidden the chart is laid out as without
// it. Every setter marks the chart for redrawing.
class TChartColourBar {
public:
    explicit TChartColourBar(TChart* chart) : chart_(chart) {}
    TChartColourBar(const TChartColourBar&) = delete;
    TChartColourBar& operator=(const TChartColourBar&) = delete;

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }
    // The values at the bottom and the top (in either order).
    void SetMinMax(double a, double b);
    void SetColour(TValueColour colour);
    const QString& AxisValuesFormat() const { return format_; }
    void SetAxisValuesFormat(const QString& format);
    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);

    // As of the chart's layout: the strip's pixels, its values' map (top to
    // bottom) and the label values from the top down.
    QRect BarRect() const { return bar_; }
    TAxisMap Map() const { return map_; }
    const std::vector<double>& LabelValues() const { return labels_; }

    // Layout and painting, run by the chart. Places the strip beside a plot
    // area from top to bottom whose right edge is at most plotRight and
    // returns the plot area's right edge that leaves room for the strip and
    // its labels in a chart `width` pixels wide.
    int Place(const QFontMetrics& fm, int top, int bottom, int plotRight, int width);
    void Paint(QPainter& painter, int captionTop) const;
    QString LabelText(double value) const;

private:
    TChart* chart_;
    bool visible_ = false;
    double minimum_ = 0;
    double maximum_ = 1;
    TValueColour colour_;
    QString format_ = QStringLiteral("#,##0.###");
    QString caption_;

    QRect bar_;
    TAxisMap map_;
    std::vector<double> labels_;
    int labelWidth_ = 0;
};
