// The chart widget on the offscreen platform: series, axes, drawing, mouse
// zoom and panning, and data that a damaged spectrum file may hold.

#include "chart/EChartError.h"
#include "chart/TChart.h"
#include "chart/TColourGridSeries.h"
#include "chart/TFastLineSeries.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
const QColor SeriesRed(255, 0, 0);

// A chart that counts its repaints.
class TCountingChart : public TChart {
public:
    int Paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        ++Paints;
        TChart::paintEvent(event);
    }
};

struct TChartFixture {
    std::unique_ptr<TCountingChart> Chart;
    TFastLineSeries* Series = nullptr;
};

// A fresh chart of fixed size with one red series, shown and exposed.
TChartFixture MakeChart(int width = 400, int height = 300)
{
    TChartFixture f;
    f.Chart = std::make_unique<TCountingChart>();
    f.Chart->resize(width, height);
    f.Chart->LeftAxis()->SetAxisValuesFormat(QStringLiteral("#,##0.#####"));
    f.Series = new TFastLineSeries(f.Chart.get());
    f.Series->SetSeriesColor(SeriesRed);
    f.Chart->show();
    if (!QTest::qWaitForWindowExposed(f.Chart.get())) {
        qWarning("chart window not exposed");
    }
    return f;
}

void AddLine(TChartSeries* series, double x0, double y0, double x1, double y1, int points)
{
    for (int i = 0; i < points; ++i) {
        const double t = static_cast<double>(i) / (points - 1);
        series->AddPoint(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t);
    }
}

QImage Render(TChart& chart)
{
    QImage image(chart.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    chart.PaintTo(painter);
    return image;
}

// A mouse move to `to` with `buttons` held.
void MoveMouse(QWidget* widget, QPoint to, Qt::MouseButtons buttons = Qt::NoButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(to), widget->mapToGlobal(QPointF(to)), Qt::NoButton, buttons,
                     modifiers);
    QApplication::sendEvent(widget, &move);
}

// Press, one move with the button held, release.
void Drag(QWidget* widget, Qt::MouseButton button, QPoint from, QPoint to)
{
    QTest::mousePress(widget, button, Qt::NoModifier, from);
    MoveMouse(widget, to, button);
    QTest::mouseRelease(widget, button, Qt::NoModifier, to);
}

struct TRanges {
    double XLo, XHi, YLo, YHi;
};

TRanges Ranges(TChart& chart)
{
    return {chart.BottomAxis()->WorkingMinimum(), chart.BottomAxis()->WorkingMaximum(),
            chart.LeftAxis()->WorkingMinimum(), chart.LeftAxis()->WorkingMaximum()};
}

bool IsAutomatic(TChart& chart)
{
    return chart.BottomAxis()->Automatic() && chart.LeftAxis()->Automatic() && chart.Restored();
}
} // namespace

class ChartWidgetTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void insertionKeepsXAscending();
    void valueIndexOutOfBounds_data();
    void valueIndexOutOfBounds();
    void minMaxCacheIgnoresNonFinite();
    void titleTextLines();
    void formatFloat_data();
    void formatFloat();

    void labelsFitTheAxis_data();
    void labelsFitTheAxis();
    void logarithmicLabelsAndCentre();
    void zeroOnLogAxisDrawnOnBottomEdge();
    void failedLogSwitch_data();
    void failedLogSwitch();
    void cursorToValuesOnEdgeRows();
    void constantSeriesAtVerticalCentre();
    void lineDrawnWhereItBelongs();
    void seriesClippedToPlotArea();
    void singlePointShowsAsDot();
    void colourGridKeepsNarrowPeaks();
    void zoomBandDrawnWhileDragging();
    void addingPointsCostsOneRepaint();

    void smallDragDoesNothing_data();
    void smallDragDoesNothing();
    void dragRightDownZooms();
    void dragOtherWayUndoes_data();
    void dragOtherWayUndoes();
    void twoZoomsThenUndo();
    void panAfterZoomThenUndo();
    void zoomOnLogarithmicAxis();
    void setRangeWidensNarrowRanges_data();
    void setRangeWidensNarrowRanges();
    void mouseMovedBeforePan();
    void rightClickOrPan_data();
    void rightClickOrPan();
    void pressOnTitleStartsNothing();

    void nonFiniteAndExtremeData_data();
    void nonFiniteAndExtremeData();
};

void ChartWidgetTest::insertionKeepsXAscending()
{
    TChart chart;
    TFastLineSeries series(&chart);
    QCOMPARE(series.AddPoint(1, 10), 0);
    QCOMPARE(series.AddPoint(3, 30), 1);
    QCOMPARE(series.AddPoint(5, 50), 2);
    QCOMPARE(series.AddPoint(4, 40), 2);
    QCOMPARE(series.AddPoint(3, 33), 2); // after the first 3
    QCOMPARE(series.AddPoint(0, 0), 0);
    const std::vector<double> xs{0, 1, 3, 3, 4, 5};
    const std::vector<double> ys{0, 10, 30, 33, 40, 50};
    QCOMPARE(series.Count(), 6);
    for (int i = 0; i < series.Count(); ++i) {
        QCOMPARE(series.XValues().Value(i), xs[static_cast<std::size_t>(i)]);
        QCOMPARE(series.YValues().Value(i), ys[static_cast<std::size_t>(i)]);
    }
}

// clang-format off
void ChartWidgetTest::valueIndexOutOfBounds_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("message");
    QTest::newRow("negative") << -1 << "List index out of bounds (-1)";
    QTest::newRow("count") << 3 << "List index out of bounds (3)";
    QTest::newRow("far") << 361 << "List index out of bounds (361)";
}
// clang-format on

void ChartWidgetTest::valueIndexOutOfBounds()
{
    QFETCH(int, index);
    QFETCH(QString, message);
    TChart chart;
    TFastLineSeries series(&chart);
    AddLine(&series, 0, 0, 2, 2, 3);
    try {
        series.YValues().Value(index);
        QFAIL("no error raised");
    } catch (const EChartError& e) {
        QCOMPARE(QString::fromStdString(e.what()), message);
    }
    QVERIFY_THROWS_EXCEPTION(EChartError, series.XValues().Value(index));
}

void ChartWidgetTest::minMaxCacheIgnoresNonFinite()
{
    TChartValueList list(QStringLiteral("Y"), loNone);
    QVERIFY(!list.HasFiniteValues());
    QCOMPARE(list.MinValue(), 0.0);
    list.Insert(0, 5);
    list.Insert(1, NaN);
    list.Insert(2, -Inf);
    QCOMPARE(list.MinValue(), 5.0);
    list.Insert(3, -2);
    list.Insert(4, 9);
    QCOMPARE(list.MinValue(), -2.0); // recomputed after the change
    QCOMPARE(list.MaxValue(), 9.0);
    list.SetMultiplier(-2);
    QCOMPARE(list.MinValue(), -18.0);
    QCOMPARE(list.Value(3), 4.0);
}

void ChartWidgetTest::titleTextLines()
{
    TChart chart;
    QCOMPARE(chart.Title()->Text(), QStringLiteral("\n"));
    chart.Title()->SetText(QStringLiteral("С П Е К Т Р  /tmp/a.spm"));
    QCOMPARE(chart.Title()->Text(), QStringLiteral("С П Е К Т Р  /tmp/a.spm\n"));
    const QString saved = chart.Title()->Text();
    chart.Title()->SetText(QStringLiteral("first\r\nsecond\rthird\nfourth"));
    QCOMPARE(chart.Title()->Lines().size(), 4);
    QCOMPARE(chart.Title()->Text(), QStringLiteral("first\nsecond\nthird\nfourth\n"));
    chart.Title()->SetText(saved); // read back and written again: unchanged
    QCOMPARE(chart.Title()->Text(), saved);
}

// clang-format off
void ChartWidgetTest::formatFloat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");
    const QString left = QStringLiteral("#,##0.#####");
    const QString bottom = QStringLiteral("#,##0.###");
    QTest::newRow("grouping") << left << 1234567.891 << "C" << "1,234,567.891";
    QTest::newRow("zero") << left << 0.0 << "C" << "0";
    QTest::newRow("tiny_negative_is_zero") << left << -0.000001 << "C" << "0";
    QTest::newRow("leading_zero") << left << 0.5 << "C" << "0.5";
    QTest::newRow("five_decimals") << left << 0.00001 << "C" << "0.00001";
    QTest::newRow("rounded") << left << 1.234567 << "C" << "1.23457";
    QTest::newRow("negative") << left << -1234.5 << "C" << "-1,234.5";
    QTest::newRow("three_decimals") << bottom << 2.0006 << "C" << "2.001";
    QTest::newRow("no_decimals_left") << bottom << 9999.9999 << "C" << "10,000";
    QTest::newRow("mandatory_decimals") << QStringLiteral("0.00") << 1.5 << "C" << "1.50";
    QTest::newRow("no_grouping") << QStringLiteral("0.#") << 12345.0 << "C" << "12345";
    QTest::newRow("literals") << QStringLiteral("~#,##0 Hz") << 2500.0 << "C" << "~2,500 Hz";
    QTest::newRow("german") << left << 1234.5 << "de_DE" << "1.234,5";
    QTest::newRow("russian") << left << 1234.5 << "ru_RU" << QStringLiteral("1\u00a0234,5");
    QTest::newRow("huge") << left << 1e300 << "C" << "1E+300";
    QTest::newRow("huge_negative") << left << -2.5e20 << "C" << "-2.5E+20";
    QTest::newRow("nan") << left << NaN << "C" << "NAN";
    QTest::newRow("inf") << left << -Inf << "C" << "-INF";
}
// clang-format on

void ChartWidgetTest::formatFloat()
{
    QFETCH(QString, format);
    QFETCH(double, value);
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    QCOMPARE(TChartAxis::FormatLabel(format, value, QLocale(locale)), expected);
}

// clang-format off
void ChartWidgetTest::labelsFitTheAxis_data()
{
    QTest::addColumn<int>("height");
    QTest::newRow("short") << 120;
    QTest::newRow("medium") << 300;
    QTest::newRow("tall") << 700;
}
// clang-format on

// The labels of a 0..10000 axis use one step of the 1-2-5 sequence, stay in
// the range, and are at least a label height apart.
void ChartWidgetTest::labelsFitTheAxis()
{
    QFETCH(int, height);
    auto f = MakeChart(400, height);
    AddLine(f.Series, 0, 0, 100, 10000, 101);
    const TChartAxis* axis = f.Chart->LeftAxis();
    const std::vector<double> labels = axis->LabelValues();
    QVERIFY(labels.size() >= 2);
    const double step = labels[0] - labels[1];
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
    QVERIFY(qFuzzyCompare(mantissa, 1.0) || qFuzzyCompare(mantissa, 2.0) || qFuzzyCompare(mantissa, 5.0));
    QCOMPARE(labels.front(), 10000.0);
    QCOMPARE(labels.back(), 0.0);
    const int labelHeight = QFontMetrics(f.Chart->font()).height();
    for (std::size_t i = 1; i < labels.size(); ++i) {
        QVERIFY(axis->ValueToPixel(labels[i]) - axis->ValueToPixel(labels[i - 1]) >= labelHeight);
    }
}

void ChartWidgetTest::logarithmicLabelsAndCentre()
{
    auto f = MakeChart();
    AddLine(f.Series, 0, 10, 10, 1000, 11);
    f.Chart->LeftAxis()->SetLogarithmic(true);
    const TChartAxis* axis = f.Chart->LeftAxis();
    QCOMPARE(axis->LabelValues(), (std::vector<double>{10, 100, 1000}));
    const int s = axis->PixelSize();
    const double centre = axis->PixelToValue(axis->PixelStart() + s / 2);
    // Within half a pixel of 100 (an odd size puts s / 2 half a pixel off).
    QVERIFY2(std::fabs(centre - 100.0) <= 100.0 * (std::pow(100.0, 0.5 / s) - 1.0) + 1e-9,
             qPrintable(QString::number(centre, 'g', 17)));
    QCOMPARE(axis->PixelToValue(axis->PixelStart()), 1000.0);
    QCOMPARE(axis->PixelToValue(axis->PixelEnd()), 10.0);
}

void ChartWidgetTest::zeroOnLogAxisDrawnOnBottomEdge()
{
    auto f = MakeChart();
    f.Series->AddPoint(0, 0);
    f.Series->AddPoint(5, 10);
    f.Series->AddPoint(10, 100);
    f.Chart->LeftAxis()->SetLogarithmic(true);
    const TChartAxis* left = f.Chart->LeftAxis();
    QCOMPARE(left->ValueToPixel(0), left->PixelEnd());
    // A lower end of 0 becomes 0.1 for the labels and the mapping.
    QCOMPARE(left->WorkingMinimum(), 0.1);
    const QImage image = Render(*f.Chart);
    const int x = f.Chart->BottomAxis()->ValueToPixel(0);
    QCOMPARE(image.pixelColor(x, left->PixelEnd()), SeriesRed);
}

// clang-format off
void ChartWidgetTest::failedLogSwitch_data()
{
    QTest::addColumn<double>("lowestY");
    QTest::addColumn<bool>("dateTime");
    QTest::addColumn<QString>("message");
    QTest::newRow("negative_value") << -1.0 << false << "Logarithmic Axis Min and Max values should be >= 0";
    QTest::newRow("date_time") << 1.0 << true << "DateTime Axis cannot be Logarithmic";
}
// clang-format on

void ChartWidgetTest::failedLogSwitch()
{
    QFETCH(double, lowestY);
    QFETCH(bool, dateTime);
    QFETCH(QString, message);
    auto f = MakeChart();
    f.Series->AddPoint(0, lowestY);
    f.Series->AddPoint(1, 5);
    f.Series->YValues().SetDateTime(dateTime);
    try {
        f.Chart->LeftAxis()->SetLogarithmic(true);
        QFAIL("no error raised");
    } catch (const EChartError& e) {
        QCOMPARE(QString::fromStdString(e.what()), message);
    }
    QVERIFY(!f.Chart->LeftAxis()->Logarithmic());
    f.Chart->LeftAxis()->SetLogarithmic(false); // switching off never fails
    QVERIFY(!f.Chart->LeftAxis()->Logarithmic());
}

void ChartWidgetTest::cursorToValuesOnEdgeRows()
{
    auto f = MakeChart();
    AddLine(f.Series, 100, -3, 200, 7, 11);
    const TChartAxis* left = f.Chart->LeftAxis();
    const int x = f.Chart->BottomAxis()->ValueToPixel(150);
    double cx = 0;
    double cy = 0;
    QCursor::setPos(f.Chart->mapToGlobal(QPoint(x, left->PixelStart())));
    QApplication::processEvents();
    if (f.Chart->mapFromGlobal(QCursor::pos()) != QPoint(x, left->PixelStart())) {
        QSKIP("the platform does not move the pointer");
    }
    f.Series->CursorToValues(cx, cy);
    QCOMPARE(cx, f.Chart->BottomAxis()->PixelToValue(x));
    QCOMPARE(cy, 7.0);
    QCursor::setPos(f.Chart->mapToGlobal(QPoint(x, left->PixelEnd())));
    f.Series->CursorToValues(cx, cy);
    QCOMPARE(cy, -3.0);
    // Outside the plot area the values extrapolate along the axis.
    QCursor::setPos(f.Chart->mapToGlobal(QPoint(x, left->PixelEnd() + left->PixelSize())));
    f.Series->CursorToValues(cx, cy);
    QCOMPARE(cy, -13.0);
}

void ChartWidgetTest::constantSeriesAtVerticalCentre()
{
    auto f = MakeChart();
    AddLine(f.Series, 0, 42, 50, 42, 51);
    const TChartAxis* left = f.Chart->LeftAxis();
    const int centre = (left->PixelStart() + left->PixelEnd()) / 2;
    QCOMPARE(left->ValueToPixel(42), centre);
    const QImage image = Render(*f.Chart);
    const QRect plot = f.Chart->PlotRect();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == SeriesRed) {
                QCOMPARE(y, centre);
            }
        }
    }
    QCOMPARE(image.pixelColor(plot.center().x(), centre), SeriesRed);
}

// A diagonal from corner to corner: red pixels only along it, white beside it.
void ChartWidgetTest::lineDrawnWhereItBelongs()
{
    auto f = MakeChart(300, 200);
    f.Series->AddPoint(0, 0);
    f.Series->AddPoint(10, 10);
    const QImage image = Render(*f.Chart);
    const TAxisMap h = f.Chart->BottomAxis()->Map();
    const TAxisMap v = f.Chart->LeftAxis()->Map();
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != SeriesRed) {
                continue;
            }
            ++red;
            const double along = h.PixelToValue(x) - v.PixelToValue(y);
            QVERIFY2(std::fabs(along) < 0.15, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    }
    QVERIFY(red >= h.Size());
    QCOMPARE(image.pixelColor(h.ValueToPixel(5), v.ValueToPixel(5)), SeriesRed);
    QCOMPARE(image.pixelColor(h.ValueToPixel(0.3), v.ValueToPixel(9.7)), QColor(Qt::white));
    QCOMPARE(image.pixelColor(h.ValueToPixel(9.7), v.ValueToPixel(0.3)), QColor(Qt::white));
}

void ChartWidgetTest::seriesClippedToPlotArea()
{
    auto f = MakeChart(300, 200);
    AddLine(f.Series, 0, -50, 100, 150, 101);
    f.Chart->BottomAxis()->SetMinMax(40, 60);
    f.Chart->LeftAxis()->SetMinMax(45, 55);
    const QImage image = Render(*f.Chart);
    const QRect plot = f.Chart->PlotRect();
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == SeriesRed) {
                ++red;
                QVERIFY(plot.contains(x, y));
            }
        }
    }
    QVERIFY(red > 0);
}

// A 3 x 400 grid in a plot area lower than 400 pixels: its one hot cell still shows, within
// its column and at its row; the automatic axes take the grid's whole area in, and CellAt maps
// values back to cells. Zoomed into that cell, it fills the plot area.
void ChartWidgetTest::colourGridKeepsNarrowPeaks()
{
    auto f = MakeChart(300, 200);
    f.Series->SetActive(false);
    auto* grid = new TColourGridSeries(f.Chart.get());
    std::vector<double> values(3 * 400, 0.0);
    values[1 * 400 + 123] = 1.0; // x 10..20, y 2230..2240
    grid->SetGrid(3, 400, values);
    grid->SetArea(0, 30, 1000, 5000);
    grid->SetColour([](double v) { return v > 0.5 ? qRgb(255, 0, 0) : qRgb(0, 0, 255); });
    QImage image = Render(*f.Chart);
    QCOMPARE(Ranges(*f.Chart).XLo, 0.0);
    QCOMPARE(Ranges(*f.Chart).YHi, 5000.0);
    const TAxisMap h = f.Chart->BottomAxis()->Map();
    const TAxisMap v = f.Chart->LeftAxis()->Map();
    QVERIFY(v.Size() < 400);
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == SeriesRed) {
                ++red;
                QVERIFY(h.PixelToValue(x) > 9.8 && h.PixelToValue(x) < 20.2);
                QVERIFY(v.PixelToValue(y) > 2230 - 30 && v.PixelToValue(y) < 2240 + 30);
            }
        }
    }
    QVERIFY(red > 0);
    QCOMPARE(image.pixelColor(h.ValueToPixel(25), v.ValueToPixel(2235)), QColor(Qt::blue));
    QCOMPARE(grid->CellAt(15, 2235)->Row, 123);
    QCOMPARE(grid->CellAt(30, 5000)->Column, 2);
    QVERIFY(!grid->CellAt(31, 2235));

    f.Chart->BottomAxis()->SetMinMax(11, 12);
    f.Chart->LeftAxis()->SetMinMax(2231, 2232);
    image = Render(*f.Chart);
    const QRect plot = f.Chart->PlotRect();
    for (const QPoint corner : {plot.topLeft(), plot.bottomRight(), plot.center()}) {
        QCOMPARE(image.pixelColor(corner), SeriesRed);
    }
}

void ChartWidgetTest::singlePointShowsAsDot()
{
    auto f = MakeChart(300, 200);
    f.Series->AddPoint(4, 9);
    const QImage image = Render(*f.Chart);
    const QRect plot = f.Chart->PlotRect();
    // Both ranges are zero: the point sits at the centre of both axes.
    const int x = (plot.left() + plot.right()) / 2;
    const int y = (plot.top() + plot.bottom()) / 2;
    QCOMPARE(image.pixelColor(x, y), SeriesRed);
}

// While the left button is held, the rubber band is outlined over the chart;
// after the release it is gone again.
void ChartWidgetTest::zoomBandDrawnWhileDragging()
{
    auto f = MakeChart(300, 200);
    f.Chart->LeftAxis()->SetGridVisible(false);
    f.Chart->BottomAxis()->SetGridVisible(false);
    AddLine(f.Series, 0, 0, 10, 0, 2);
    const QRect plot = f.Chart->PlotRect();
    const QPoint from = plot.topLeft() + QPoint(10, 10);
    const QPoint to = from + QPoint(60, 40);
    const QPoint onEdge(from.x() + 30, from.y());
    QCOMPARE(f.Chart->grab().toImage().pixelColor(onEdge), QColor(Qt::white));
    QTest::mousePress(f.Chart.get(), Qt::LeftButton, Qt::NoModifier, from);
    MoveMouse(f.Chart.get(), to, Qt::LeftButton);
    QVERIFY(f.Chart->ZoomBand().Active);
    QImage during = f.Chart->grab().toImage();
    QVERIFY(during.pixelColor(onEdge) != QColor(Qt::white) ||
            during.pixelColor(onEdge + QPoint(1, 0)) != QColor(Qt::white));
    // Released at a spot that makes it a small drag: nothing zooms, the band goes.
    QTest::mouseRelease(f.Chart.get(), Qt::LeftButton, Qt::NoModifier, from + QPoint(5, 5));
    QVERIFY(IsAutomatic(*f.Chart));
    QCOMPARE(f.Chart->grab().toImage().pixelColor(onEdge), QColor(Qt::white));
}

void ChartWidgetTest::addingPointsCostsOneRepaint()
{
    auto f = MakeChart();
    QApplication::processEvents();
    f.Chart->Paints = 0;
    f.Series->Clear();
    for (int i = 0; i < 16384; ++i) {
        f.Series->AddPoint(i * 0.01953125, std::sin(i * 0.01) * 1000);
    }
    QCOMPARE(f.Chart->Paints, 0);
    QApplication::processEvents();
    QCOMPARE(f.Chart->Paints, 1);
    f.Chart->Redraw();
    QCOMPARE(f.Chart->Paints, 2);
}

// clang-format off
void ChartWidgetTest::smallDragDoesNothing_data()
{
    QTest::addColumn<QPoint>("delta");
    QTest::newRow("16x16") << QPoint(16, 16);
    QTest::newRow("16x60") << QPoint(16, 60);
    QTest::newRow("60x16") << QPoint(60, 16);
    QTest::newRow("up_left_16") << QPoint(-16, -16);
}
// clang-format on

void ChartWidgetTest::smallDragDoesNothing()
{
    QFETCH(QPoint, delta);
    auto f = MakeChart();
    AddLine(f.Series, 0, 0, 100, 50, 101);
    QSignalSpy zooms(f.Chart.get(), &TChart::zoomed);
    QSignalSpy undos(f.Chart.get(), &TChart::zoomUndone);
    const QPoint from = f.Chart->PlotRect().center();
    Drag(f.Chart.get(), Qt::LeftButton, from, from + delta);
    QVERIFY(IsAutomatic(*f.Chart));
    QVERIFY(!f.Chart->Zoomed());
    QCOMPARE(zooms.count(), 0);
    QCOMPARE(undos.count(), 0);
    QVERIFY(!f.Chart->ZoomBand().Active);
}

void ChartWidgetTest::dragRightDownZooms()
{
    auto f = MakeChart();
    AddLine(f.Series, 0, 0, 100, 50, 101);
    QSignalSpy zooms(f.Chart.get(), &TChart::zoomed);
    QSignalSpy undos(f.Chart.get(), &TChart::zoomUndone);
    const QPoint from = f.Chart->PlotRect().center() - QPoint(30, 30);
    const QPoint to = from + QPoint(17, 17);
    const TAxisMap h = f.Chart->BottomAxis()->Map();
    const TAxisMap v = f.Chart->LeftAxis()->Map();
    Drag(f.Chart.get(), Qt::LeftButton, from, to);
    QCOMPARE(zooms.count(), 1);
    QCOMPARE(undos.count(), 0);
    QVERIFY(f.Chart->Zoomed());
    QVERIFY(!f.Chart->Restored());
    QVERIFY(!f.Chart->BottomAxis()->Automatic());
    const TRanges r = Ranges(*f.Chart);
    QCOMPARE(r.XLo, h.PixelToValue(from.x()));
    QCOMPARE(r.XHi, h.PixelToValue(to.x()));
    QCOMPARE(r.YLo, v.PixelToValue(to.y()));
    QCOMPARE(r.YHi, v.PixelToValue(from.y()));
}

// clang-format off
void ChartWidgetTest::dragOtherWayUndoes_data()
{
    QTest::addColumn<QPoint>("delta");
    QTest::newRow("up_left") << QPoint(-30, -30);
    QTest::newRow("down_left") << QPoint(-30, 30);
    QTest::newRow("up_right") << QPoint(30, -30);
}
// clang-format on

void ChartWidgetTest::dragOtherWayUndoes()
{
    QFETCH(QPoint, delta);
    auto f = MakeChart();
    AddLine(f.Series, 0, 0, 100, 50, 101);
    const TRanges before = Ranges(*f.Chart);
    QSignalSpy zooms(f.Chart.get(), &TChart::zoomed);
    QSignalSpy undos(f.Chart.get(), &TChart::zoomUndone);
    const QPoint centre = f.Chart->PlotRect().center();
    Drag(f.Chart.get(), Qt::LeftButton, centre - QPoint(40, 40), centre);
    QVERIFY(f.Chart->Zoomed());
    Drag(f.Chart.get(), Qt::LeftButton, centre, centre + delta);
    QCOMPARE(zooms.count(), 1);
    QCOMPARE(undos.count(), 1);
    QVERIFY(IsAutomatic(*f.Chart));
    QVERIFY(!f.Chart->Zoomed());
    const TRanges after = Ranges(*f.Chart);
    QCOMPARE(after.XLo, before.XLo);
    QCOMPARE(after.XHi, before.XHi);
    QCOMPARE(after.YLo, before.YLo);
    QCOMPARE(after.YHi, before.YHi);
}

void ChartWidgetTest::twoZoomsThenUndo()
{
    auto f = MakeChart();
    AddLine(f.Series, 0, 0, 100, 50, 101);
    const TRanges before = Ranges(*f.Chart);
    QSignalSpy zooms(f.Chart.get(), &TChart::zoomed);
    QSignalSpy undos(f.Chart.get(), &TChart::zoomUndone);
    const QRect plot = f.Chart->PlotRect();
    Drag(f.Chart.get(), Qt::LeftButton, plot.topLeft() + QPoint(10, 10), plot.center());
    const TRanges first = Ranges(*f.Chart);
    Drag(f.Chart.get(), Qt::LeftButton, plot.topLeft() + QPoint(20, 20), plot.center());
    const TRanges second = Ranges(*f.Chart);
    QVERIFY(second.XHi - second.XLo < first.XHi - first.XLo);
    QCOMPARE(zooms.count(), 2);
    f.Chart->UndoZoom();
    QCOMPARE(undos.count(), 1);
    QVERIFY(IsAutomatic(*f.Chart));
    const TRanges after = Ranges(*f.Chart);
    QCOMPARE(after.XLo, before.XLo);
    QCOMPARE(after.XHi, before.XHi);
    QCOMPARE(after.YHi, before.YHi);
    // An undo on an unzoomed chart changes no scale, and still signals.
    f.Chart->UndoZoom();
    QVERIFY(IsAutomatic(*f.Chart));
    QCOMPARE(undos.count(), 2);
    QCOMPARE(zooms.count(), 2);
}

void ChartWidgetTest::panAfterZoomThenUndo()
{
    auto f = MakeChart();
    AddLine(f.Series, 0, 0, 100, 50, 101);
    const TRanges before = Ranges(*f.Chart);
    const QPoint centre = f.Chart->PlotRect().center();
    Drag(f.Chart.get(), Qt::LeftButton, centre - QPoint(60, 60), centre + QPoint(40, 40));
    const TRanges zoomed = Ranges(*f.Chart);
    const TAxisMap h = f.Chart->BottomAxis()->Map();
    const TAxisMap v = f.Chart->LeftAxis()->Map();

    Drag(f.Chart.get(), Qt::RightButton, centre, centre + QPoint(20, 10));
    const TRanges panned = Ranges(*f.Chart);
    const double dx = h.PixelToValue(centre.x()) - h.PixelToValue(centre.x() + 20);
    const double dy = v.PixelToValue(centre.y()) - v.PixelToValue(centre.y() + 10);
    QVERIFY(dx < 0);
    QVERIFY(dy > 0);
    QCOMPARE(panned.XLo, zoomed.XLo + dx);
    QCOMPARE(panned.XHi, zoomed.XHi + dx);
    QCOMPARE(panned.YLo, zoomed.YLo + dy);
    QVERIFY(qFuzzyCompare(panned.YHi - panned.YLo, zoomed.YHi - zoomed.YLo));

    // Undo returns to the ranges from before the zoom, not from before the pan.
    Drag(f.Chart.get(), Qt::LeftButton, centre, centre - QPoint(30, 30));
    QVERIFY(IsAutomatic(*f.Chart));
    const TRanges after = Ranges(*f.Chart);
    QCOMPARE(after.XLo, before.XLo);
    QCOMPARE(after.YHi, before.YHi);
}

void ChartWidgetTest::zoomOnLogarithmicAxis()
{
    auto f = MakeChart();
    AddLine(f.Series, 0, 1, 100, 10000, 101);
    f.Chart->LeftAxis()->SetLogarithmic(true);
    const QRect plot = f.Chart->PlotRect();
    const QPoint from(plot.left() + 20, plot.top() + 30);
    const QPoint to(plot.right() - 20, plot.bottom() - 40);
    const TAxisMap v = f.Chart->LeftAxis()->Map();
    Drag(f.Chart.get(), Qt::LeftButton, from, to);
    const TRanges r = Ranges(*f.Chart);
    // The logarithmic rule: exp(Lmax - (Lmax - Lmin) * (p - start) / s).
    const double lmin = std::log(v.Lo);
    const double lmax = std::log(v.Hi);
    const double expectedLo = std::exp(lmax - (lmax - lmin) * (to.y() - v.Start) / v.Size());
    const double expectedHi = std::exp(lmax - (lmax - lmin) * (from.y() - v.Start) / v.Size());
    QVERIFY(qFuzzyCompare(r.YLo, expectedLo));
    QVERIFY(qFuzzyCompare(r.YHi, expectedHi));
    QVERIFY(f.Chart->LeftAxis()->Logarithmic());
}

// clang-format off
void ChartWidgetTest::setRangeWidensNarrowRanges_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    constexpr double Max = std::numeric_limits<double>::max();
    QTest::newRow("reversed_ends") << 7.0 << 3.0 << 3.0 << 7.0;
    QTest::newRow("zero_width_at_0") << 0.0 << 0.0 << 0.0 << 1e-10;
    QTest::newRow("narrow") << 5.0 << 5.0 + 5e-11 << 5.0 << 5.0 + 1e-10;
    // Beyond about 1e6 neighbouring doubles lie more than 1e-10 apart: a + 1e-10
    // is a again, and the range becomes the gap to the next double.
    QTest::newRow("equal_3e6") << 3e6 << 3e6 << 3e6 << std::nextafter(3e6, Inf);
    QTest::newRow("equal_minus_3e6") << -3e6 << -3e6 << -3e6 << std::nextafter(-3e6, Inf);
    QTest::newRow("equal_1e300") << 1e300 << 1e300 << 1e300 << std::nextafter(1e300, Inf);
    QTest::newRow("equal_largest") << Max << Max << std::nextafter(Max, 0.0) << Max;
}
// clang-format on

// Setting a range orders the ends, clears the Automatic flags and never leaves
// the range narrower than 1e-10, so a value at the lower end is drawn on the
// bottom edge rather than at the centre of an empty range.
void ChartWidgetTest::setRangeWidensNarrowRanges()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    auto f = MakeChart();
    f.Series->AddPoint(0, a);
    f.Series->AddPoint(1, b);
    TChartAxis* left = f.Chart->LeftAxis();
    left->SetMinMax(a, b);
    QVERIFY(!left->Automatic());
    QVERIFY(!left->AutomaticMinimum());
    QVERIFY(!left->AutomaticMaximum());
    // Exact: QCOMPARE would accept a neighbouring double.
    QVERIFY2(left->Minimum() == minimum, qPrintable(QString::number(left->Minimum(), 'g', 17)));
    QVERIFY2(left->Maximum() == maximum, qPrintable(QString::number(left->Maximum(), 'g', 17)));
    QVERIFY(left->Maximum() - left->Minimum() >= 1e-10);
    QCOMPARE(left->ValueToPixel(left->Minimum()), left->PixelEnd());
}

// Every move over the chart is signalled with its modifiers and position,
// before the chart pans for the same move.
void ChartWidgetTest::mouseMovedBeforePan()
{
    auto f = MakeChart();
    AddLine(f.Series, 0, 0, 100, 50, 101);
    std::vector<double> seenLows;
    QObject::connect(f.Chart.get(), &TChart::mouseMoved,
                     [&] { seenLows.push_back(f.Chart->BottomAxis()->WorkingMinimum()); });
    QSignalSpy moves(f.Chart.get(), &TChart::mouseMoved);
    const QPoint centre = f.Chart->PlotRect().center();
    const double lowBefore = f.Chart->BottomAxis()->WorkingMinimum();
    Drag(f.Chart.get(), Qt::RightButton, centre, centre + QPoint(25, 0));
    QCOMPARE(seenLows.size(), std::size_t{1});
    QCOMPARE(seenLows[0], lowBefore);
    QVERIFY(f.Chart->BottomAxis()->WorkingMinimum() < lowBefore);
    QCOMPARE(moves.count(), 1);
    QCOMPARE(moves[0][1].toPoint(), centre + QPoint(25, 0));
    // Moves without a button and outside the plot area are signalled too.
    const QPoint onTitle(3, 2);
    MoveMouse(f.Chart.get(), onTitle, Qt::NoButton, Qt::ShiftModifier);
    QCOMPARE(moves.count(), 2);
    QCOMPARE(qvariant_cast<Qt::KeyboardModifiers>(moves[1][0]), Qt::KeyboardModifiers(Qt::ShiftModifier));
    QCOMPARE(moves[1][1].toPoint(), onTitle);
    QCOMPARE(seenLows.size(), std::size_t{2});
}

// clang-format off
void ChartWidgetTest::rightClickOrPan_data()
{
    QTest::addColumn<QList<QPoint>>("moves"); // from the press, in order; released at the last
    QTest::addColumn<bool>("click");
    QTest::newRow("still") << QList<QPoint>{QPoint(0, 0)} << true;
    QTest::newRow("within the slop") << QList<QPoint>{QPoint(2, -1), QPoint(3, -3)} << true;
    QTest::newRow("slop then back") << QList<QPoint>{QPoint(-3, 3), QPoint(0, 0)} << true;
    QTest::newRow("past it across") << QList<QPoint>{QPoint(4, 0)} << false;
    QTest::newRow("past it down") << QList<QPoint>{QPoint(0, -4)} << false;
    QTest::newRow("held moves, then a pan") << QList<QPoint>{QPoint(2, 1), QPoint(25, 12)} << false;
}
// clang-format on

// A right press and release that stay within three pixels are a click: the plot does not move.
void ChartWidgetTest::rightClickOrPan()
{
    QFETCH(QList<QPoint>, moves);
    QFETCH(bool, click);
    auto f = MakeChart();
    AddLine(f.Series, 0, 0, 100, 50, 101);
    QSignalSpy clicks(f.Chart.get(), &TChart::rightClicked);
    const QPoint press = f.Chart->PlotRect().center();
    QTest::mousePress(f.Chart.get(), Qt::RightButton, Qt::NoModifier, press);
    for (const QPoint& move : moves)
        MoveMouse(f.Chart.get(), press + move, Qt::RightButton);
    QTest::mouseRelease(f.Chart.get(), Qt::RightButton, Qt::NoModifier, press + moves.back());
    QCOMPARE(clicks.count(), click ? 1 : 0);
    QVERIFY(IsAutomatic(*f.Chart) == click);
    if (click) {
        QCOMPARE(clicks[0][0].toPoint(), f.Chart->mapToGlobal(press + moves.back()));
        return;
    }
    // A pan as a drag straight to the last point gives: from the press point, nothing held back.
    auto g = MakeChart();
    AddLine(g.Series, 0, 0, 100, 50, 101);
    Drag(g.Chart.get(), Qt::RightButton, press, press + moves.back());
    const TRanges after = Ranges(*f.Chart);
    const TRanges expected = Ranges(*g.Chart);
    QCOMPARE(after.XLo, expected.XLo);
    QCOMPARE(after.XHi, expected.XHi);
    QCOMPARE(after.YLo, expected.YLo);
    QCOMPARE(after.YHi, expected.YHi);
}

void ChartWidgetTest::pressOnTitleStartsNothing()
{
    auto f = MakeChart();
    f.Chart->Title()->SetText(QStringLiteral("С П Е К Т Р"));
    AddLine(f.Series, 0, 0, 100, 50, 101);
    const QPoint onTitle(f.Chart->width() / 2, 8);
    QTest::mousePress(f.Chart.get(), Qt::LeftButton, Qt::NoModifier, onTitle);
    QVERIFY(!f.Chart->ZoomBand().Active);
    QTest::mouseRelease(f.Chart.get(), Qt::LeftButton, Qt::NoModifier, onTitle + QPoint(60, 120));
    QVERIFY(IsAutomatic(*f.Chart));
}

// clang-format off
void ChartWidgetTest::nonFiniteAndExtremeData_data()
{
    QTest::addColumn<std::vector<double>>("xs");
    QTest::addColumn<std::vector<double>>("ys");
    QTest::addColumn<double>("yLo");
    QTest::addColumn<double>("yHi");
    QTest::newRow("nan_y") << std::vector<double>{0, 1, 2, 3} << std::vector<double>{1, NaN, 3, 2} << 1.0 << 3.0;
    QTest::newRow("inf_y") << std::vector<double>{0, 1, 2} << std::vector<double>{Inf, -4, -Inf} << -4.0 << -4.0;
    QTest::newRow("nan_x") << std::vector<double>{0, NaN, 2} << std::vector<double>{5, 6, 7} << 5.0 << 7.0;
    QTest::newRow("only_nan") << std::vector<double>{NaN, NaN} << std::vector<double>{NaN, NaN} << 0.0 << 0.0;
    QTest::newRow("plus_minus_1e300") << std::vector<double>{0, 1, 2} << std::vector<double>{1e300, -1e300, 0}
                                                                        << -1e300 << 1e300;
    QTest::newRow("overflowing_range") << std::vector<double>{0, 1} << std::vector<double>{1.7e308, -1.7e308}
                                                                          << -1.7e308 << 1.7e308;
    QTest::newRow("x_1e300") << std::vector<double>{-1e300, 1e300} << std::vector<double>{1, 2} << 1.0 << 2.0;
    QTest::newRow("equal_values") << std::vector<double>{0, 1, 2} << std::vector<double>{3, 3, 3} << 3.0 << 3.0;
    QTest::newRow("single_point") << std::vector<double>{4} << std::vector<double>{9} << 9.0 << 9.0;
    QTest::newRow("empty") << std::vector<double>{} << std::vector<double>{} << 0.0 << 0.0;
    QTest::newRow("tiny_range") << std::vector<double>{0, 1} << std::vector<double>{1e-300, 2e-300} << 1e-300
                                                            << 2e-300;
}
// clang-format on

// Nothing hangs, crashes or draws outside the plot area; non-finite values
// take no part in the ranges; zoom and undo still work.
void ChartWidgetTest::nonFiniteAndExtremeData()
{
    QFETCH(std::vector<double>, xs);
    QFETCH(std::vector<double>, ys);
    QFETCH(double, yLo);
    QFETCH(double, yHi);
    auto f = MakeChart(300, 200);
    for (std::size_t i = 0; i < xs.size(); ++i) {
        f.Series->AddPoint(xs[i], ys[i]);
    }
    QCOMPARE(f.Chart->LeftAxis()->WorkingMinimum(), yLo);
    QCOMPARE(f.Chart->LeftAxis()->WorkingMaximum(), yHi);
    QVERIFY(std::isfinite(f.Chart->BottomAxis()->WorkingMinimum()));
    QVERIFY(f.Chart->LeftAxis()->LabelValues().size() < 10000);

    const QImage image = Render(*f.Chart);
    const QRect plot = f.Chart->PlotRect();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == SeriesRed) {
                QVERIFY(plot.contains(x, y));
            }
        }
    }
    f.Chart->Redraw();

    const QPoint centre = plot.center();
    Drag(f.Chart.get(), Qt::LeftButton, centre - QPoint(30, 30), centre + QPoint(30, 30));
    Render(*f.Chart);
    Drag(f.Chart.get(), Qt::RightButton, centre, centre + QPoint(10, 10));
    Render(*f.Chart);
    if (yLo >= 0) {
        f.Chart->LeftAxis()->SetLogarithmic(true);
        Render(*f.Chart);
    }
    f.Chart->UndoZoom();
    Render(*f.Chart);
    QVERIFY(IsAutomatic(*f.Chart));
}

QTEST_MAIN(ChartWidgetTest)
#include "ChartWidgetTest.moc"
