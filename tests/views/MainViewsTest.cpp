// The waveform and single-spectrum views of the main window: the points they draw, the fill
// value of zero lines, the linear/logarithmic toggle and the X/Y read-out.
#include "ViewsTestSupport.h"

#include "ui/TPanel.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>

using namespace viewtest;

namespace {

// The main window shown, with one spectrum of the given content in the chart.
struct TMainView : TViews
{
    TMainView()
    {
        fm.show();
        if (!QTest::qWaitForWindowExposed(&fm))
            qWarning("main window not exposed");
    }

    void ShowSpectrum(long double scale, const TCodes& codes)
    {
        const QString path = folder.File(QStringLiteral("view%1.spm").arg(++written));
        WriteSpm(path, scale, codes);
        dialogs.Pick({path});
        fm.N11->trigger();
    }

    void ShowWaveform(const QString& path)
    {
        dialogs.Pick({path});
        fm.N3->trigger();
    }

    int written = 0;
};

} // namespace

class TMainViewsTest : public QObject
{
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
};

void TMainViewsTest::waveformPoints()
{
    TMainView view;
    TfmTulvo& fm = view.fm;
    const QString path = view.folder.File(QStringLiteral("wave.wav"));
    const TSamples samples = TestSignal(3);
    WriteWav(path, samples);
    fm.ChartRows = 2;
    view.ShowWaveform(path);

    QCOMPARE(fm.Series1->Count(), SampleCount);
    for (int i : {0, 1, 2, 1000, 16383}) {
        QCOMPARE(fm.Series1->XValues().Value(i), i * 0.01953125);
        QCOMPARE(fm.Series1->YValues().Value(i), double(samples[i]));
    }
    QCOMPARE(fm.Series1->XValues().Value(SampleCount - 1), 319.98046875);
    QCOMPARE(fm.Chart1->Title()->Text(), QStringLiteral("С И Г Н А Л  ") + path + QLatin1Char('\n'));
    QCOMPARE(fm.Chart1->BottomAxis()->Title()->Caption(), QStringLiteral("мс"));
    QVERIFY(fm.Chart1->isVisible() && fm.pa2->isVisible());
    QVERIFY(!fm.bbLogAxis->isVisible());
    QCOMPARE(fm.Chart1->height(), fm.pa1->height() - 1);
    QCOMPARE(int(fm.ChartRows), 2);   // the waveform leaves it alone
}

void TMainViewsTest::spectrumZeroLinesAtHalfTheFillValue_data()
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

void TMainViewsTest::spectrumZeroLinesAtHalfTheFillValue()
{
    QFETCH(double, scale);
    QFETCH(int, smallestCode);
    QFETCH(int, otherCode);
    QFETCH(double, zeroLine);
    TCodes codes{};
    for (int i = 100; i < 200; ++i)
        codes[i] = static_cast<std::int16_t>(otherCode);
    codes[7] = static_cast<std::int16_t>(smallestCode);
    TMainView view;
    TfmTulvo& fm = view.fm;
    fm.ChartRows = 3;
    view.ShowSpectrum(static_cast<long double>(scale), codes);

    QCOMPARE(int(fm.ChartRows), 1);
    QCOMPARE(fm.Series1->Count(), SpectrumLines);
    for (int i = 0; i < SpectrumLines; ++i) {
        QCOMPARE(fm.Series1->XValues().Value(i), 1000.0 + 25 * i);
        const double expected = codes[i] != 0 ? double(float(codes[i] * static_cast<long double>(scale))) : zeroLine;
        QCOMPARE(fm.Series1->YValues().Value(i), expected);
    }
    QCOMPARE(fm.Chart1->Title()->Text(), QStringLiteral("С П Е К Т Р\n"));
    QCOMPARE(fm.Chart1->BottomAxis()->Title()->Caption(), QStringLiteral("Гц"));
    QVERIFY(fm.bbLogAxis->isVisible());
    QCOMPARE(fm.bbLogAxis->text(), QStringLiteral("Логарифм."));
    QCOMPARE(fm.Chart1->height(), fm.pa1->height() - 1);
}

void TMainViewsTest::spectrumReadFailureLeavesChartHidden()
{
    TMainView view;
    TfmTulvo& fm = view.fm;
    view.ShowSpectrum(0.001L, PeakCodes(100));
    const std::vector<double> before = YValues(*fm.Series1);
    view.dialogs.Pick({view.folder.File(QStringLiteral("none.spm"))});
    fm.N11->trigger();
    QCOMPARE(view.dialogs.Shown.size(), std::size_t{1});
    QCOMPARE(view.dialogs.Shown.front().Text, QStringLiteral("File not found."));
    QVERIFY(!fm.Chart1->isVisible());
    QCOMPARE(YValues(*fm.Series1), before);
}

void TMainViewsTest::logToggleAfterZoomRestoresFullView()
{
    TMainView view;
    TfmTulvo& fm = view.fm;
    view.ShowSpectrum(0.0001L, PeakCodes(200));
    TChart& chart = *fm.Chart1;
    ZoomIn(chart);
    QVERIFY(chart.Zoomed());
    QVERIFY(!chart.LeftAxis()->Automatic());

    fm.bbLogAxis->click();
    QVERIFY(chart.LeftAxis()->Logarithmic());
    QVERIFY(chart.LeftAxis()->Automatic());
    QVERIFY(chart.BottomAxis()->Automatic());
    QCOMPARE(fm.bbLogAxis->text(), QStringLiteral("Линейный"));

    // Back to linear keeps a zoom made while logarithmic.
    ZoomIn(chart);
    const double low = chart.LeftAxis()->Minimum();
    fm.bbLogAxis->click();
    QVERIFY(!chart.LeftAxis()->Logarithmic());
    QVERIFY(!chart.LeftAxis()->Automatic());
    QCOMPARE(chart.LeftAxis()->Minimum(), low);
    QCOMPARE(fm.bbLogAxis->text(), QStringLiteral("Логарифм."));
    QVERIFY(view.dialogs.Shown.empty());
}

void TMainViewsTest::negativeCodesFailTheSwitch()
{
    TMainView view;
    TfmTulvo& fm = view.fm;
    TCodes codes = PeakCodes(100);
    codes[3] = -40;
    view.ShowSpectrum(0.001L, codes);
    fm.bbLogAxis->click();
    QCOMPARE(view.dialogs.Shown.size(), std::size_t{1});
    QCOMPARE(view.dialogs.Shown.front().Text,
             QStringLiteral("Logarithmic Axis Min and Max values should be >= 0."));
    QVERIFY(!fm.Chart1->LeftAxis()->Logarithmic());
    QCOMPARE(fm.bbLogAxis->text(), QStringLiteral("Логарифм."));
}

void TMainViewsTest::waveformDrawsOnLinearAxis()
{
    TMainView view;
    TfmTulvo& fm = view.fm;
    const QString wave = MakeRecordings(view.folder, 1).front();
    view.ShowSpectrum(0.001L, PeakCodes(50));
    fm.bbLogAxis->click();
    QVERIFY(fm.Chart1->LeftAxis()->Logarithmic());

    view.ShowWaveform(wave);
    QVERIFY(!fm.Chart1->LeftAxis()->Logarithmic());
    QCOMPARE(fm.Series1->Count(), SampleCount);

    // The spectrum view brings back the scale the toggle chose, and its caption stays true.
    view.ShowSpectrum(0.001L, PeakCodes(60));
    QVERIFY(fm.Chart1->LeftAxis()->Logarithmic());
    QCOMPARE(fm.bbLogAxis->text(), QStringLiteral("Линейный"));
    QVERIFY(view.dialogs.Shown.empty());
}

void TMainViewsTest::readoutOverTheSpectrum()
{
    TMainView view;
    TfmTulvo& fm = view.fm;
    view.ShowSpectrum(0.0001L, PeakCodes(200));
    TChart& chart = *fm.Chart1;
    const QRect plot = chart.PlotRect();
    const QPoint at = plot.topLeft() + QPoint(plot.width() / 3, plot.height() / 3);
    QCursor::setPos(chart.mapToGlobal(at));
    if (chart.mapFromGlobal(QCursor::pos()) != at)
        QSKIP("the platform does not move the pointer");
    QTest::mouseMove(&chart, at);

    // Whole hertz, and the value with seven decimals, of the point under the mouse.
    QTRY_COMPARE(fm.CursorX, chart.BottomAxis()->PixelToValue(at.x()));
    QCOMPARE(fm.CursorY, chart.LeftAxis()->PixelToValue(at.y()));
    bool whole = false;
    QVERIFY(qAbs(fm.laX->text().toInt(&whole) - fm.CursorX) <= 0.5);
    QVERIFY(whole);
    const QString y = fm.laY->text();
    const QChar point = QLocale().decimalPoint().front();
    QCOMPARE(y.size() - y.indexOf(point) - 1, 7);
    QVERIFY(qAbs(QLocale().toDouble(y) - fm.CursorY) <= 5e-8);
}

QTEST_MAIN(TMainViewsTest)
#include "MainViewsTest.moc"
