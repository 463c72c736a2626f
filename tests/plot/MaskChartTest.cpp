// A spectrum against a mask, drawn offscreen as a picture would be: the band lies behind the
// curve whenever it was made, leaves the excluded range blank and the value range to the curve,
// and only the lines outside carry red marks, on a linear and a logarithmic axis alike.

#include "chart/TBandSeries.h"
#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "chart/TMarkSeries.h"
#include "core/qc/ToleranceMask.h"
#include "plot/MaskChart.h"
#include "plot/SpectrumChart.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

// Lines 136 to 144 (4400 to 4600 Hz) are excluded; lines 200 to 204 of the unit lie above
// their upper limit.
constexpr int ExcludedFirst = 136;
constexpr int ExcludedLast = 144;
constexpr int OutsideFirst = 200;
constexpr int OutsideLast = 204;
// A line whose upper limit lies far above every value of the unit.
constexpr int HighLimitLine = 300;

// Limits -33 and -27 dB round a centre of -30 dB, the level of code 1000 at a scale of 1e-6.
TToleranceMask FlatMask()
{
    TToleranceMask mask;
    mask.Units = 20;
    mask.Options.Excluded = {{4400, 4600}};
    for (int i = 0; i < SpectrumLines; ++i) {
        TMaskLine& line = mask.Lines[static_cast<std::size_t>(i)];
        line.CentreDb = -30;
        line.SpreadDb = 0.5;
        if (i < ExcludedFirst || i > ExcludedLast) {
            line.LowerDb = -33;
            line.UpperDb = i == HighLimitLine ? -10 : -27;
        }
    }
    return mask;
}

// Code 1000 everywhere but in the excluded range (100 and 10000, which set the value range) and
// at the lines outside (4000, -24 dB).
TSpectrum Unit()
{
    TSpectrum spectrum;
    spectrum.Scale = 1e-6L;
    for (int i = 0; i < SpectrumLines; ++i) {
        std::int16_t code = 1000;
        if (i == ExcludedFirst)
            code = 100;
        else if (i == ExcludedLast)
            code = 10000;
        else if (i >= OutsideFirst && i <= OutsideLast)
            code = 4000;
        spectrum.Codes[static_cast<std::size_t>(i)] = code;
    }
    BandFromCodes(spectrum.Codes, spectrum.Scale, spectrum.Values);
    return spectrum;
}

QImage Render(TChart& chart)
{
    QImage image(chart.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    chart.PaintTo(painter);
    return image;
}

// The colour of the band's fill over the chart's white ground.
QRgb FillOnWhite()
{
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(Qt::white);
    QPainter painter(&pixel);
    painter.fillRect(0, 0, 1, 1, MaskFillColour);
    painter.end();
    return pixel.pixel(0, 0);
}

int ColumnOf(TChart& chart, int line) { return chart.BottomAxis()->ValueToPixel(BandLineFrequencyHz(line)); }

} // namespace

class TMaskChartTest : public QObject {
    Q_OBJECT

private slots:
    void bandBehindTheCurveAndMarksOnTheLinesOutside_data();
    void bandBehindTheCurveAndMarksOnTheLinesOutside();
    void limitsAtTheNearestLine_data();
    void limitsAtTheNearestLine();
};

void TMaskChartTest::bandBehindTheCurveAndMarksOnTheLinesOutside_data()
{
    QTest::addColumn<bool>("logarithmic");
    QTest::addColumn<bool>("bandAfterCurve");
    QTest::newRow("linear, the check window's chart") << false << false;
    QTest::newRow("logarithmic, the check window's chart") << true << false;
    QTest::newRow("linear, a band shown on a view's chart") << false << true;
}

void TMaskChartTest::bandBehindTheCurveAndMarksOnTheLinesOutside()
{
    QFETCH(bool, logarithmic);
    QFETCH(bool, bandAfterCurve);
    const TToleranceMask mask = FlatMask();
    const TSpectrum unit = Unit();
    const TMaskVerdict verdict = CheckUnit(mask, unit, std::nullopt);
    QCOMPARE(verdict.Outside, OutsideLast - OutsideFirst + 1);

    std::unique_ptr<TChart> chart;
    if (bandAfterCurve) {
        // A view's chart: its curve first, the band made later (and no marks).
        chart.reset(MakeChart(nullptr));
        PlotSpectrum(unit, *MakeSeries(chart.get(), MaskedCurveColour));
        PlotMaskBand(mask, *MakeMaskBand(*chart));
    } else {
        chart.reset(MakeMaskChart(nullptr, mask, unit, verdict, QStringLiteral("unit.spm")));
    }
    chart->resize(630, 320);
    chart->LeftAxis()->SetLogarithmic(logarithmic);
    const QImage image = Render(*chart);
    const QRect plot = chart->PlotRect();

    // The curve alone sets the value range, though one upper limit lies far above it.
    chart->EnsureLayout();
    QCOMPARE(chart->LeftAxis()->WorkingMaximum(), static_cast<double>(unit.Values[ExcludedLast]));
    QCOMPARE(chart->LeftAxis()->WorkingMinimum(), static_cast<double>(unit.Values[ExcludedFirst]));

    // The fill lies between the limits, none of it in the excluded range, and the curve runs
    // through it in its own colour.
    const QRgb fill = FillOnWhite();
    const int curveRow = chart->LeftAxis()->ValueToPixel(unit.Values[50]);
    const int lowerRow = chart->LeftAxis()->ValueToPixel(ChartValueOfDb(-33));
    const int upperRow = chart->LeftAxis()->ValueToPixel(ChartValueOfDb(-27));
    QVERIFY(upperRow < curveRow && curveRow < lowerRow);
    int filled = 0;
    for (int y = upperRow + 1; y < lowerRow; ++y)
        filled += image.pixel(ColumnOf(*chart, 50), y) == fill;
    QVERIFY2(filled > (lowerRow - upperRow) / 2, qPrintable(QString::number(filled)));
    QCOMPARE(QColor(image.pixel(ColumnOf(*chart, 50), curveRow)), MaskedCurveColour);
    QCOMPARE(QColor(image.pixel(ColumnOf(*chart, 50), upperRow)), MaskLimitColour);
    for (int x = ColumnOf(*chart, ExcludedFirst - 1) + 1; x < ColumnOf(*chart, ExcludedLast + 1); ++x)
        for (int y = plot.top(); y <= plot.bottom(); ++y)
            QVERIFY2(image.pixel(x, y) != fill && QColor(image.pixel(x, y)) != MaskLimitColour,
                     qPrintable(QStringLiteral("band at %1, %2").arg(x).arg(y)));

    // Red only at the lines outside, on the check window's chart.
    const int markFrom = ColumnOf(*chart, OutsideFirst) - TMarkSeries::MarkRadius;
    const int markTo = ColumnOf(*chart, OutsideLast) + TMarkSeries::MarkRadius;
    int red = 0;
    for (int x = plot.left(); x <= plot.right(); ++x)
        for (int y = plot.top(); y <= plot.bottom(); ++y)
            if (QColor(image.pixel(x, y)) == OutsideMarkColour) {
                QVERIFY2(x >= markFrom && x <= markTo, qPrintable(QStringLiteral("red at %1, %2").arg(x).arg(y)));
                ++red;
            }
    QCOMPARE(red > 0, !bandAfterCurve);
}

void TMaskChartTest::limitsAtTheNearestLine_data()
{
    QTest::addColumn<double>("frequencyHz");
    QTest::addColumn<int>("line"); // -1: none
    QTest::newRow("below the band") << 987.4 << -1;
    QTest::newRow("half a step below the first line") << 987.5 << 0;
    QTest::newRow("nearer the next line") << 2262.6 << 51;
    QTest::newRow("an excluded line") << 4500.0 << 140;
    QTest::newRow("halfway between two lines") << 1012.5 << 1;
    QTest::newRow("the last line") << 10012.4 << 360;
    QTest::newRow("half a step above the last line") << 10012.5 << -1;
    QTest::newRow("not a number") << std::nan("") << -1;
}

void TMaskChartTest::limitsAtTheNearestLine()
{
    QFETCH(double, frequencyHz);
    QFETCH(int, line);
    TToleranceMask mask = FlatMask();
    for (int i = 0; i < SpectrumLines; ++i)
        if (mask.Lines[static_cast<std::size_t>(i)].UpperDb)
            mask.Lines[static_cast<std::size_t>(i)].UpperDb = -20.0 + i / 1000.0; // tells the lines apart
    const std::optional<TChartLimits> limits = MaskLimitsAt(mask, frequencyHz);
    QCOMPARE(limits.has_value(), line >= 0);
    if (!limits)
        return;
    const TMaskLine& expected = mask.Lines[static_cast<std::size_t>(line)];
    if (expected.UpperDb) {
        QCOMPARE(limits->Upper, ChartValueOfDb(*expected.UpperDb));
        QCOMPARE(limits->Lower, ChartValueOfDb(-33));
    } else {
        QVERIFY(std::isnan(limits->Upper) && std::isnan(limits->Lower));
    }
}

QTEST_MAIN(TMaskChartTest)
#include "MaskChartTest.moc"
