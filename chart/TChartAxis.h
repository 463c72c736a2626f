#pragma once

#include "chart/TChartAxisTitle.h"
#include "chart/axis/TAxisMap.h"

#include <QColor>
#include <QLocale>
#include <QString>

#include <utility>
#include <vector>

class TChart;

// One axis of a chart: its settings, its working range and its pixel extent.
//
// The working range is recomputed before each drawing: an automatic axis takes
// the smallest and largest finite values of the active series drawn against it,
// backdrops left out (no margin; 0..0 with no data), a fixed one keeps Minimum..Maximum. The pixel
// extent is the plot area's edge along the axis (left to right for a
// horizontal axis, top to bottom for a vertical one).
//
// Every setter that changes the drawing marks the chart for redrawing.
class TChartAxis {
public:
    TChartAxis(TChart* chart, bool horizontal);
    TChartAxis(const TChartAxis&) = delete;
    TChartAxis& operator=(const TChartAxis&) = delete;

    bool Horizontal() const { return horizontal_; }
    TChartAxisTitle* Title() { return &title_; }
    const TChartAxisTitle* Title() const { return &title_; }

    // Automatic takes both ends from the data; setting it sets AutomaticMinimum
    // and AutomaticMaximum too. With Automatic false, each end whose own flag is
    // set still follows the data and the other one is Minimum or Maximum.
    bool Automatic() const { return automatic_; }
    void SetAutomatic(bool automatic);
    bool AutomaticMinimum() const { return automaticMinimum_; }
    void SetAutomaticMinimum(bool automatic);
    bool AutomaticMaximum() const { return automaticMaximum_; }
    void SetAutomaticMaximum(bool automatic);
    double Minimum() const { return minimum_; }
    void SetMinimum(double value);
    double Maximum() const { return maximum_; }
    void SetMaximum(double value);

    bool Logarithmic() const { return logarithmic_; }
    // Switching on throws EChartError "DateTime Axis cannot be Logarithmic" when
    // a series draws date-time values against the axis, and "Logarithmic Axis
    // Min and Max values should be >= 0" when the recomputed working range
    // reaches below 0; the flag then stays as it was. Switching off never fails.
    void SetLogarithmic(bool logarithmic);
    double LogarithmicBase() const { return logarithmicBase_; }
    void SetLogarithmicBase(double base);

    // Fixed label step; 0 chooses the step from the room available.
    double Increment() const { return increment_; }
    void SetIncrement(double increment);
    const QString& AxisValuesFormat() const { return axisValuesFormat_; }
    void SetAxisValuesFormat(const QString& format);
    // Free space between labels, in percent of the label size.
    int LabelsSeparation() const { return labelsSeparation_; }
    void SetLabelsSeparation(int percent);
    bool RoundFirstLabel() const { return roundFirstLabel_; }
    void SetRoundFirstLabel(bool round);
    bool Inverted() const { return inverted_; }
    void SetInverted(bool inverted);

    int TickLength() const { return tickLength_; }
    void SetTickLength(int pixels);
    int MinorTickLength() const { return minorTickLength_; }
    void SetMinorTickLength(int pixels);
    int MinorTickCount() const { return minorTickCount_; }
    void SetMinorTickCount(int count);
    bool GridVisible() const { return gridVisible_; }
    void SetGridVisible(bool visible);
    QColor GridColor() const { return gridColor_; }
    void SetGridColor(const QColor& color);
    QColor AxisColor() const { return axisColor_; }
    void SetAxisColor(const QColor& color);

    // Puts the range to [a, b] in ascending order and clears the three Automatic
    // flags; a range narrower than 1e-10 is widened to 1e-10 by raising the upper
    // end (to the next double where doubles lie further apart, so the range is
    // never left narrower). Ends that are not finite leave the axis unchanged.
    void SetMinMax(double a, double b);

    // True when a series draws values marked DateTime against this axis.
    bool IsDateTime() const;

    // Working range and pixel extent as of the chart's current layout (brought
    // up to date first when data or settings changed).
    double WorkingMinimum() const;
    double WorkingMaximum() const;
    double WorkingRange() const { return WorkingMaximum() - WorkingMinimum(); }
    int PixelStart() const;
    int PixelEnd() const;
    int PixelSize() const { return PixelEnd() - PixelStart(); }
    TAxisMap Map() const;
    // Values of the labels, from the highest down, and of the minor ticks.
    std::vector<double> LabelValues() const;
    std::vector<double> MinorTickValues() const;
    // A label's text: the value formatted with AxisValuesFormat in the
    // separators of the default locale; on a logarithmic axis, values too small
    // for the format's decimals in scientific notation (FormatLogLabel).
    QString LabelText(double value) const;
    // FormatFloat (chart/axis/TNumberFormat.h) with the decimal point, group
    // separator and negative sign of `locale`.
    static QString FormatLabel(const QString& format, double value, const QLocale& locale = QLocale());

    int ValueToPixel(double value) const;
    double PixelToValue(int pixel) const;

    // Layout steps run by the chart before drawing.
    // Working range from the data or the fixed range.
    void CalcRange();
    void SetPixelExtent(int start, int end);
    // Label values for a label of labelSize pixels; may raise the lower end of
    // a logarithmic axis (a lower end of 0 becomes 0.1).
    void CalcLabels(double labelSize);

private:
    void Changed();
    // The range from the data (finite values of active series) or the fixed ends.
    std::pair<double, double> ComputeRange() const;

    TChart* chart_;
    bool horizontal_;
    TChartAxisTitle title_;

    bool automatic_ = true;
    bool automaticMinimum_ = true;
    bool automaticMaximum_ = true;
    double minimum_ = 0.0;
    double maximum_ = 0.0;
    bool logarithmic_ = false;
    double logarithmicBase_ = 10.0;
    double increment_ = 0.0;
    QString axisValuesFormat_ = QStringLiteral("#,##0.###");
    int labelsSeparation_ = 10;
    bool roundFirstLabel_ = true;
    bool inverted_ = false;
    int tickLength_ = 4;
    int minorTickLength_ = 2;
    int minorTickCount_ = 3;
    bool gridVisible_ = true;
    QColor gridColor_ = Qt::gray;
    QColor axisColor_ = Qt::black;

    TAxisMap map_;
    std::vector<double> labels_;
    double labelStep_ = 0.0;
};
