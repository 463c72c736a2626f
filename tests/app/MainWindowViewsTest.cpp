// The waveform and single-spectrum views of the main window: the points they draw, the fill
// value of zero lines, the linear/logarithmic toggle and the X/Y read-out: its values, its room
// beside the toggle at the designed and the smallest size, and its emptying by a new view.
#include "tests/support/MouseGestures.h"
#include "tests/support/TProgram.h"
#include "tests/support/WidgetFixtures.h"

#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "ui/ReadoutFormat.h"
#include "ui/TReadoutStrip.h"
#include "ui/TRowsPanel.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <utility>
#include <vector>

using namespace testsupport;

namespace {

// The main window shown, with views of files written for the test.
struct TMainView : TProgram {
    void ShowSpectrum(long double scale, const TSpectrumCodes& codes)
    {
        const QString path = Folder.File(QStringLiteral("view%1.spm").arg(++written));
        WriteSpectrum(path, scale, codes);
        Dialogs.Pick({path});
        Main.OneSpectrumAction->trigger();
    }

    void ShowWaveform(const QString& path)
    {
        Dialogs.Pick({path});
        Main.WaveformAction->trigger();
    }

    QPushButton& Toggle() { return *Main.ReadoutStrip->LogAxisButton; }

    TFixtureFolder Folder;
    int written = 0;
};

std::vector<double> YValues(const TChartSeries& series)
{
    std::vector<double> values;
    for (int i = 0; i < series.Count(); ++i)
        values.push_back(series.YValues().Value(i));
    return values;
}

} // namespace

class TMainWindowViewsTest : public QObject {
    Q_OBJECT

private slots:
    void waveformPoints();
    void spectrumZeroLinesAtHalfTheFillValue_data();
    void spectrumZeroLinesAtHalfTheFillValue();
    void spectrumReadFailureLeavesChartHidden();
    void logToggleAfterZoomRestoresFullView();
    void negativeCodesFailTheSwitch();
    void waveformDrawsOnLinearAxis();
    void readoutOverTheSpectrum();
    void readoutFitsBesideTheToggle_data();
    void readoutFitsBesideTheToggle();
    void readoutEmptiedWhenTheViewChanges_data();
    void readoutEmptiedWhenTheViewChanges();
};

void TMainWindowViewsTest::waveformPoints()
{
    TMainView view;
    TMainWindow& main = view.Main;
    const QString path = view.Folder.File(QStringLiteral("wave.wav"));
    const TSamples samples = TwoToneSamples(3);
    WriteWave(path, samples);
    view.ShowWaveform(path);

    QCOMPARE(main.Series->Count(), SampleCount);
    for (int i : {0, 1, 2, 1000, 16383}) {
        QCOMPARE(main.Series->XValues().Value(i), i * 0.01953125);
        QCOMPARE(main.Series->YValues().Value(i), double(samples[i]));
    }
    QCOMPARE(main.Series->XValues().Value(SampleCount - 1), 319.98046875);
    QCOMPARE(main.Chart->Title()->Text(), QStringLiteral("С И Г Н А Л  ") + path + QLatin1Char('\n'));
    QCOMPARE(main.Chart->BottomAxis()->Title()->Caption(), QStringLiteral("мс"));
    QVERIFY(main.Chart->isVisible() && main.ReadoutStrip->isVisible());
    QVERIFY(!view.Toggle().isVisible());
    QCOMPARE(main.Chart->height(), main.ChartPanel->height() - 1);
}

// clang-format off
void TMainWindowViewsTest::spectrumZeroLinesAtHalfTheFillValue_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("smallestCode");   // the smallest non-zero code placed at line 7
    QTest::addColumn<int>("otherCode");      // every other non-zero line
    QTest::addColumn<double>("zeroLine");    // where lines of code 0 are drawn

    // Codes 0 to 10000 of scale 0.001: values up to 10; the smallest below 1.0 is 0.002.
    const double small = double(float(2 * 0.001L));
    QTest::newRow("smallest_0_002") << 0.001 << 2 << 10000 << small / 2;
    QTest::newRow("all_zero") << 0.001 << 0 << 0 << 0.5;
    QTest::newRow("all_at_least_one") << 1.0 << 1 << 10000 << 0.5;
    QTest::newRow("negative_codes") << 0.001 << -300 << 10000 << double(float(-300 * 0.001L)) / 2;
}
// clang-format on

void TMainWindowViewsTest::spectrumZeroLinesAtHalfTheFillValue()
{
    QFETCH(double, scale);
    QFETCH(int, smallestCode);
    QFETCH(int, otherCode);
    QFETCH(double, zeroLine);
    TSpectrumCodes codes{};
    for (int i = 100; i < 200; ++i)
        codes[i] = static_cast<std::int16_t>(otherCode);
    codes[7] = static_cast<std::int16_t>(smallestCode);
    TMainView view;
    TMainWindow& main = view.Main;
    view.ShowSpectrum(static_cast<long double>(scale), codes);

    QCOMPARE(main.Series->Count(), SpectrumLines);
    for (int i = 0; i < SpectrumLines; ++i) {
        QCOMPARE(main.Series->XValues().Value(i), 1000.0 + 25 * i);
        const double expected = codes[i] != 0 ? double(float(codes[i] * static_cast<long double>(scale))) : zeroLine;
        QCOMPARE(main.Series->YValues().Value(i), expected);
    }
    QCOMPARE(main.Chart->Title()->Text(), QStringLiteral("С П Е К Т Р\n"));
    QCOMPARE(main.Chart->BottomAxis()->Title()->Caption(), QStringLiteral("Гц"));
    QVERIFY(view.Toggle().isVisible());
    QCOMPARE(view.Toggle().text(), QStringLiteral("Логарифм."));
    QCOMPARE(main.Chart->height(), main.ChartPanel->height() - 1);
}

void TMainWindowViewsTest::spectrumReadFailureLeavesChartHidden()
{
    TMainView view;
    TMainWindow& main = view.Main;
    view.ShowSpectrum(0.001L, PeakCodes(100));
    const std::vector<double> before = YValues(*main.Series);
    view.Dialogs.Pick({view.Folder.File(QStringLiteral("none.spm"))});
    main.OneSpectrumAction->trigger();
    QCOMPARE(view.Dialogs.Shown.size(), std::size_t{1});
    QCOMPARE(view.Dialogs.Shown.front().Text, QStringLiteral("File not found."));
    QVERIFY(!main.Chart->isVisible());
    QCOMPARE(YValues(*main.Series), before);
}

void TMainWindowViewsTest::logToggleAfterZoomRestoresFullView()
{
    TMainView view;
    TMainWindow& main = view.Main;
    view.ShowSpectrum(0.0001L, PeakCodes(200));
    TChart& chart = *main.Chart;
    ZoomIn(chart);
    QVERIFY(chart.Zoomed());
    QVERIFY(!chart.LeftAxis()->Automatic());

    view.Toggle().click();
    QVERIFY(chart.LeftAxis()->Logarithmic());
    QVERIFY(chart.LeftAxis()->Automatic());
    QVERIFY(chart.BottomAxis()->Automatic());
    QCOMPARE(view.Toggle().text(), QStringLiteral("Линейный"));

    // Back to linear keeps a zoom made while logarithmic.
    ZoomIn(chart);
    const double low = chart.LeftAxis()->Minimum();
    view.Toggle().click();
    QVERIFY(!chart.LeftAxis()->Logarithmic());
    QVERIFY(!chart.LeftAxis()->Automatic());
    QCOMPARE(chart.LeftAxis()->Minimum(), low);
    QCOMPARE(view.Toggle().text(), QStringLiteral("Логарифм."));
    QVERIFY(view.Dialogs.Shown.empty());
}

void TMainWindowViewsTest::negativeCodesFailTheSwitch()
{
    TMainView view;
    TMainWindow& main = view.Main;
    TSpectrumCodes codes = PeakCodes(100);
    codes[3] = -40;
    view.ShowSpectrum(0.001L, codes);
    view.Toggle().click();
    QCOMPARE(view.Dialogs.Shown.size(), std::size_t{1});
    QCOMPARE(view.Dialogs.Shown.front().Text, QStringLiteral("Logarithmic Axis Min and Max values should be >= 0."));
    QVERIFY(!main.Chart->LeftAxis()->Logarithmic());
    QCOMPARE(view.Toggle().text(), QStringLiteral("Логарифм."));
}

void TMainWindowViewsTest::waveformDrawsOnLinearAxis()
{
    TMainView view;
    TMainWindow& main = view.Main;
    const QString wave = WriteRecordings(view.Folder, 1).front();
    view.ShowSpectrum(0.001L, PeakCodes(50));
    view.Toggle().click();
    QVERIFY(main.Chart->LeftAxis()->Logarithmic());

    view.ShowWaveform(wave);
    QVERIFY(!main.Chart->LeftAxis()->Logarithmic());
    QCOMPARE(main.Series->Count(), SampleCount);

    // The spectrum view brings back the scale the toggle chose, and its caption stays true.
    view.ShowSpectrum(0.001L, PeakCodes(60));
    QVERIFY(main.Chart->LeftAxis()->Logarithmic());
    QCOMPARE(view.Toggle().text(), QStringLiteral("Линейный"));
    QVERIFY(view.Dialogs.Shown.empty());
}

void TMainWindowViewsTest::readoutOverTheSpectrum()
{
    TMainView view;
    TMainWindow& main = view.Main;
    view.ShowSpectrum(0.0001L, PeakCodes(200));
    TChart& chart = *main.Chart;
    const QRect plot = chart.PlotRect();
    const QPoint at = plot.topLeft() + QPoint(plot.width() / 3, plot.height() / 3);
    if (!MoveMouse(chart, at))
        QSKIP("the platform does not move the pointer");

    // Whole hertz, and the value with seven decimals, of the point under the mouse.
    const double x = chart.BottomAxis()->PixelToValue(at.x());
    const double y = chart.LeftAxis()->PixelToValue(at.y());
    const TReadoutStrip& strip = *main.ReadoutStrip;
    QTRY_COMPARE(strip.XValue->text(), ReadoutXText(x));
    QCOMPARE(strip.YValue->text(), ReadoutYText(y));
    bool whole = false;
    QVERIFY(qAbs(strip.XValue->text().toInt(&whole) - x) <= 0.5);
    QVERIFY(whole);
    const QString yText = strip.YValue->text();
    const QChar point = QLocale().decimalPoint().front();
    QCOMPARE(yText.size() - yText.indexOf(point) - 1, 7);
    QVERIFY(qAbs(QLocale().toDouble(yText) - y) <= 5e-8);
}

// clang-format off
void TMainWindowViewsTest::readoutFitsBesideTheToggle_data()
{
    QTest::addColumn<bool>("spectrum"); // the spectrum view with its toggle, else the waveform
    QTest::addColumn<bool>("smallest"); // the window at its minimum size, else at the design size
    QTest::newRow("waveform_design") << false << false;
    QTest::newRow("waveform_smallest") << false << true;
    QTest::newRow("spectrum_design") << true << false;
    QTest::newRow("spectrum_smallest") << true << true;
}
// clang-format on

void TMainWindowViewsTest::readoutFitsBesideTheToggle()
{
    QFETCH(bool, spectrum);
    QFETCH(bool, smallest);
    TMainView view;
    TMainWindow& main = view.Main;
    if (spectrum)
        view.ShowSpectrum(0.0001L, PeakCodes(200));
    else
        view.ShowWaveform(WriteRecordings(view.Folder, 1).front());
    TReadoutStrip& strip = *main.ReadoutStrip;
    // A view starts with nothing read out.
    QVERIFY(strip.XValue->text().isEmpty() && strip.YValue->text().isEmpty());
    if (smallest) {
        main.resize(1, 1);
        QTRY_COMPARE(strip.width(), strip.MinimumWidth());
        QVERIFY(strip.width() < 632);
    }
    for (const auto& [x, y] :
         {std::pair{319.98046875, -32768.0}, std::pair{9975.0, 10185.1667}, std::pair{-1.5e300, -9.87654321e-300}}) {
        strip.ShowValues(x, y);
        QCOMPARE(ReadoutFault(strip, x, y), QString());
    }
}

// clang-format off
void TMainWindowViewsTest::readoutEmptiedWhenTheViewChanges_data()
{
    QTest::addColumn<bool>("spectrumFirst");
    QTest::addColumn<QString>("next");
    QTest::newRow("spectrum_then_waveform") << true << "waveform";
    QTest::newRow("waveform_then_spectrum") << false << "spectrum";
    QTest::newRow("spectrum_then_toggle") << true << "toggle";
}
// clang-format on

void TMainWindowViewsTest::readoutEmptiedWhenTheViewChanges()
{
    QFETCH(bool, spectrumFirst);
    QFETCH(QString, next);
    TMainView view;
    const QString wave = WriteRecordings(view.Folder, 1).front();
    if (spectrumFirst)
        view.ShowSpectrum(0.001L, PeakCodes(50));
    else
        view.ShowWaveform(wave);
    const TReadoutStrip& strip = *view.Main.ReadoutStrip;
    view.Main.ReadoutStrip->ShowValues(5205.0, 0.0123);
    if (next == QLatin1String("spectrum"))
        view.ShowSpectrum(0.001L, PeakCodes(60));
    else if (next == QLatin1String("waveform"))
        view.ShowWaveform(wave);
    else
        view.Toggle().click();
    QCOMPARE(strip.XValue->text() + strip.YValue->text(), QString());
    QVERIFY(view.Dialogs.Shown.empty());
}

QTEST_MAIN(TMainWindowViewsTest)
#include "MainWindowViewsTest.moc"
