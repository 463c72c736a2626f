// The two-spectrum window: the files it loads, overlay and split, the layout, the toggle over
// both charts, closing, and what persists between shows.
#include "ViewsTestSupport.h"

#include "ui/TPanel.h"
#include "views/u2SPM.h"

#include <QLabel>

#include <algorithm>
#include <QPushButton>

using namespace viewtest;

class Tu2SPMTest : public QObject
{
    Q_OBJECT

private slots:
    void loadsUpToTwoFiles_data();
    void loadsUpToTwoFiles();
    void twoFiles();
    void overlayThenSplit();
    void resizingFollowsChartRows();
    void unreadableFileStopsTheShow();
    void closingHandsOverToMainWindow_data();
    void closingHandsOverToMainWindow();
    void showingAgainStartsSplitAndKeepsScales();
    void toggleSwitchesHiddenAndEmptyCharts();
    void toggleStopsAtChartWithNegativeValues_data();
    void toggleStopsAtChartWithNegativeValues();
    void readoutThroughTheChartsOwnSeries();
};

void Tu2SPMTest::loadsUpToTwoFiles_data()
{
    QTest::addColumn<int>("picked");
    QTest::addColumn<int>("shown");
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("two") << 2 << 2;
    QTest::newRow("four_of_which_two_missing") << 4 << 2;
}

void Tu2SPMTest::loadsUpToTwoFiles()
{
    QFETCH(int, picked);
    QFETCH(int, shown);
    TViews views;
    Tfm2SPM& w = *views.forms.fm2SPM;
    QStringList files = views.spectra.mid(0, std::min(picked, 2));
    while (files.size() < picked)
        files << views.folder.File(QStringLiteral("never-read.spm"));
    views.Show(w, views.fm.odSPM2, files);
    QCOMPARE(w.windowTitle(), QStringLiteral("Два спектра"));
    QVERIFY(views.dialogs.Shown.empty());
    QCOMPARE(int(views.fm.FileCount), shown);
    QCOMPARE(w.Series1->Count(), SpectrumLines);
    QVERIFY(w.Chart2->isVisible());
    QCOMPARE(w.Series2->Count(), shown == 2 ? SpectrumLines : 0);
    // A chart without a file shows no title.
    QCOMPARE(w.Chart2->Title()->HasText(), shown == 2);

    w.bbS->click();
    QCOMPARE(w.Chart1->Title()->Text(), QStringLiteral("С П Е К Т Р\n"));
    QCOMPARE(w.Series3->Count(), shown == 2 ? SpectrumLines : 0);
    w.bbBack->click();
    QCOMPARE(w.Chart1->Title()->Text(), SpectrumTitle(views.spectra[0]));
}

void Tu2SPMTest::twoFiles()
{
    TViews views;
    Tfm2SPM& w = *views.forms.fm2SPM;
    views.Show(w, views.fm.odSPM2, {views.spectra[0], views.spectra[1]});
    QCOMPARE(w.Chart1->Title()->Text(), SpectrumTitle(views.spectra[0]));
    QCOMPARE(w.Chart2->Title()->Text(), SpectrumTitle(views.spectra[1]));
    for (TChart* chart : {w.Chart1, w.Chart2})
        QCOMPARE(chart->BottomAxis()->Title()->Caption(), QStringLiteral("Гц"));
    QCOMPARE(w.Series2->Count(), SpectrumLines);
    QCOMPARE(w.Series1->SeriesColor(), QColor(255, 0, 0));
    QCOMPARE(w.Series2->SeriesColor(), QColor(0, 128, 0));
    QCOMPARE(w.Series3->SeriesColor(), QColor(0, 128, 0));
    QVERIFY(w.bbS->isVisible() && !w.bbBack->isVisible());
    QCOMPARE(w.bbLogAxis->text(), QStringLiteral("Логарифм."));
    QCOMPARE(w.BitBtn1->text(), QStringLiteral("&Close"));
    QVERIFY(!w.BitBtn1->icon().isNull());
    QCOMPARE(int(views.fm.ChartRows), 2);
}

void Tu2SPMTest::overlayThenSplit()
{
    TViews views;
    Tfm2SPM& w = *views.forms.fm2SPM;
    views.Show(w, views.fm.odSPM2, {views.spectra[0], views.spectra[1]});
    QCOMPARE(w.pa1->height(), 360);
    QCOMPARE(w.Chart1->height(), 179);
    QCOMPARE(w.Chart2->height(), 179);
    const QString title = w.Chart1->Title()->Text();

    w.bbS->click();
    QVERIFY(!w.Chart2->isVisible());
    QCOMPARE(int(views.fm.ChartRows), 1);
    QCOMPARE(w.Chart1->height(), 359);
    QCOMPARE(w.Chart1->Title()->Text(), QStringLiteral("С П Е К Т Р\n"));
    QCOMPARE(YValues(*w.Series3), YValues(*w.Series2));
    QVERIFY(!w.bbS->isVisible() && w.bbBack->isVisible());

    w.bbBack->click();
    QCOMPARE(w.Chart1->Title()->Text(), title);
    QCOMPARE(w.Series3->Count(), 0);
    QVERIFY(w.Chart2->isVisible());
    QCOMPARE(w.Chart1->height(), 179);
    QCOMPARE(w.Chart2->height(), 179);
    QCOMPARE(int(views.fm.ChartRows), 2);
    QVERIFY(w.bbS->isVisible() && !w.bbBack->isVisible());

    w.bbS->click();
    QCOMPARE(w.Series3->Count(), SpectrumLines);
}

void Tu2SPMTest::resizingFollowsChartRows()
{
    TViews views;
    Tfm2SPM& w = *views.forms.fm2SPM;
    views.Show(w, views.fm.odSPM2, {views.spectra[0], views.spectra[1]});
    w.resize(700, 533);
    QTRY_COMPARE(w.pa1->height(), 460);
    QCOMPARE(w.pa2->geometry(), QRect(0, 461, 700, 72));
    QCOMPARE(w.Chart1->height(), 229);
    QCOMPARE(w.Chart2->height(), 229);
    QCOMPARE(w.Chart1->width(), 698);

    w.bbS->click();
    w.resize(650, 500);
    QTRY_COMPARE(w.pa1->height(), 427);
    QCOMPARE(w.Chart1->height(), 426);
    w.bbBack->click();
    QCOMPARE(w.Chart1->height(), 212);
    QCOMPARE(w.Chart2->height(), 427 - 2 - 212);
}

void Tu2SPMTest::unreadableFileStopsTheShow()
{
    TViews views;
    Tfm2SPM& w = *views.forms.fm2SPM;
    const QString missing = views.folder.File(QStringLiteral("missing.spm"));
    views.Show(w, views.fm.odSPM2, {views.spectra[0], missing});
    QVERIFY(w.isVisible());
    QCOMPARE(views.dialogs.Shown.size(), std::size_t{1});
    QCOMPARE(views.dialogs.Shown.front().Text, QStringLiteral("File not found."));
    QCOMPARE(w.Series1->Count(), SpectrumLines);
    QCOMPARE(w.Series2->Count(), 0);
    QVERIFY(!w.Chart2->Title()->HasText());
    QCOMPARE(w.bbLogAxis->text(), QStringLiteral("Логарифм."));
    QCOMPARE(int(views.fm.FileCount), 2);

    // The overlay copies what the second series has: nothing, and no error.
    w.bbS->click();
    QCOMPARE(w.Series3->Count(), 0);
    QCOMPARE(views.dialogs.Shown.size(), std::size_t{1});

    // Even when the first file fails, the window comes up split.
    w.BitBtn1->click();
    views.Show(w, views.fm.odSPM2, {missing});
    QVERIFY(w.Chart2->isVisible());
    QCOMPARE(w.Chart1->height(), 179);
    QCOMPARE(w.Series1->Count(), 0);
    QVERIFY(!w.Chart1->Title()->HasText());
}

void Tu2SPMTest::closingHandsOverToMainWindow_data()
{
    QTest::addColumn<bool>("byButton");
    QTest::newRow("close_button") << true;
    QTest::newRow("window_frame") << false;
}

void Tu2SPMTest::closingHandsOverToMainWindow()
{
    QFETCH(bool, byButton);
    TViews views;
    Tfm2SPM& w = *views.forms.fm2SPM;
    views.Show(w, views.fm.odSPM2, {views.spectra[0], views.spectra[1]});
    QVERIFY(!views.fm.isVisible());
    if (byButton)
        w.BitBtn1->click();
    else
        w.close();
    QVERIFY(!w.isVisible());
    QVERIFY(views.fm.isVisible());
    QCOMPARE(int(views.fm.ChartRows), 1);
}

void Tu2SPMTest::showingAgainStartsSplitAndKeepsScales()
{
    TViews views;
    Tfm2SPM& w = *views.forms.fm2SPM;
    views.Show(w, views.fm.odSPM2, {views.spectra[0], views.spectra[1]});
    w.move(40, 30);
    w.resize(700, 500);
    QTRY_COMPARE(w.pa1->height(), 427);
    ZoomIn(*w.Chart2);
    const double low = w.Chart2->LeftAxis()->Minimum();
    w.bbLogAxis->click();   // Chart1 logarithmic; Chart2 unzoomed by the switch
    ZoomIn(*w.Chart2);
    w.bbS->click();
    const QRect geometry = w.geometry();
    w.BitBtn1->click();

    views.Show(w, views.fm.odSPM2, {views.spectra[2], views.spectra[3]});
    // Split, with nothing left of the old overlay.
    QVERIFY(w.Chart2->isVisible());
    QVERIFY(w.bbS->isVisible() && !w.bbBack->isVisible());
    QCOMPARE(w.Series3->Count(), 0);
    QCOMPARE(w.Chart1->Title()->Text(), SpectrumTitle(views.spectra[2]));
    QCOMPARE(w.Chart1->height(), 212);
    // Size, place, scale and zoom as they were left.
    QCOMPARE(w.geometry(), geometry);
    QVERIFY(w.Chart1->LeftAxis()->Logarithmic() && w.Chart2->LeftAxis()->Logarithmic());
    QCOMPARE(w.bbLogAxis->text(), QStringLiteral("Линейный"));
    QVERIFY(!w.Chart2->LeftAxis()->Automatic());
    QVERIFY(w.Chart2->LeftAxis()->Minimum() != low);
}

void Tu2SPMTest::toggleSwitchesHiddenAndEmptyCharts()
{
    TViews views;
    Tfm2SPM& w = *views.forms.fm2SPM;
    views.Show(w, views.fm.odSPM2, {views.spectra[0]});
    w.bbS->click();
    w.bbLogAxis->click();
    QVERIFY(w.Chart1->LeftAxis()->Logarithmic());
    QVERIFY(w.Chart2->LeftAxis()->Logarithmic());
    w.bbLogAxis->click();
    QVERIFY(!w.Chart1->LeftAxis()->Logarithmic());
    QVERIFY(!w.Chart2->LeftAxis()->Logarithmic());
    QCOMPARE(w.bbLogAxis->text(), QStringLiteral("Логарифм."));
}

void Tu2SPMTest::toggleStopsAtChartWithNegativeValues_data()
{
    QTest::addColumn<int>("negativeFile");     // the file with a negative code, 0 or 1
    QTest::addColumn<bool>("firstSwitched");   // Chart1 became logarithmic
    QTest::addColumn<QString>("caption");
    QTest::newRow("second_chart") << 1 << true << QStringLiteral("Линейный");
    QTest::newRow("first_chart") << 0 << false << QStringLiteral("Логарифм.");
}

void Tu2SPMTest::toggleStopsAtChartWithNegativeValues()
{
    QFETCH(int, negativeFile);
    QFETCH(bool, firstSwitched);
    QFETCH(QString, caption);
    TViews views;
    Tfm2SPM& w = *views.forms.fm2SPM;
    TCodes codes = PeakCodes(120);
    codes[5] = -40;
    QStringList files{views.spectra[0], views.spectra[1]};
    files[negativeFile] = views.folder.File(QStringLiteral("negative.spm"));
    WriteSpm(files[negativeFile], 0.001L, codes);
    views.Show(w, views.fm.odSPM2, files);
    ZoomIn(*w.Chart2);

    w.bbLogAxis->click();
    QCOMPARE(views.dialogs.Shown.size(), std::size_t{1});
    QCOMPARE(views.dialogs.Shown.front().Text,
             QStringLiteral("Logarithmic Axis Min and Max values should be >= 0."));
    QCOMPARE(w.Chart1->LeftAxis()->Logarithmic(), firstSwitched);
    // The switch stops at the failing chart: the chart after it is neither switched nor unzoomed.
    QVERIFY(!w.Chart2->LeftAxis()->Logarithmic());
    QCOMPARE(w.Chart2->LeftAxis()->Automatic(), negativeFile == 1);
    QCOMPARE(w.bbLogAxis->text(), caption);
}

void Tu2SPMTest::readoutThroughTheChartsOwnSeries()
{
    TViews views;
    Tfm2SPM& w = *views.forms.fm2SPM;
    views.Show(w, views.fm.odSPM2, {views.spectra[0], views.spectra[1]});
    TChart& chart = *w.Chart2;
    const QRect plot = chart.PlotRect();
    const QPoint at = plot.topLeft() + QPoint(plot.width() / 2, plot.height() / 4);
    QCursor::setPos(chart.mapToGlobal(at));
    if (chart.mapFromGlobal(QCursor::pos()) != at)
        QSKIP("the platform does not move the pointer");
    QTest::mouseMove(&chart, at);
    QTRY_COMPARE(views.fm.CursorY, chart.LeftAxis()->PixelToValue(at.y()));
    QCOMPARE(views.fm.CursorX, chart.BottomAxis()->PixelToValue(at.x()));
    QVERIFY(w.laX->text() != QStringLiteral("laX"));
    QVERIFY(w.laY->text() != QStringLiteral("laY"));
}

QTEST_MAIN(Tu2SPMTest)
#include "u2SPMTest.moc"
