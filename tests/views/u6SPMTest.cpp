// The six-spectrum window: two columns of three charts, the common spectrum, the layout rules
// with the window's outer width, and the state every show starts from.
#include "ViewsTestSupport.h"

#include "ui/TPanel.h"
#include "views/u6SPM.h"

#include <QPushButton>

using namespace viewtest;

namespace {

const QColor OwnColours[6] = {QColor(255, 0, 0), QColor(0, 128, 0), QColor(0, 0, 160),
                              QColor(128, 0, 64), QColor(0, 0, 0), QColor(128, 64, 0)};
const QColor OverlayColours[6] = {QColor(255, 0, 0), QColor(0, 128, 0), QColor(0, 0, 255),
                                  QColor(128, 0, 64), QColor(0, 0, 0), QColor(128, 64, 0)};
const int OwnSeries[6] = {1, 2, 3, 6, 7, 8};
const int OverlaySeries[6] = {1, 4, 5, 9, 10, 11};

} // namespace

class Tu6SPMTest : public QObject
{
    Q_OBJECT

private slots:
    void columnsAtDesign();
    void commonSpectrum_data();
    void commonSpectrum();
    void oddWidthLeavesOnePixelGap();
    void resizingWhileCommon();
    void closedCommonComesBackSplit();
    void toggleSwitchesAllSixCharts();
};

void Tu6SPMTest::columnsAtDesign()
{
    TViews views;
    Tfm6SPM& w = *views.forms.fm6SPM;
    views.Show(w, views.fm.odSPM6, views.spectra.mid(0, 6));
    QCOMPARE(w.windowTitle(), QStringLiteral("Спектры"));
    QCOMPARE(w.OuterWidth(), 640);
    QCOMPARE(w.pa1->geometry(), QRect(0, 0, 316, 360));
    QCOMPARE(w.pa3->geometry(), QRect(316, 0, 316, 361));
    QCOMPARE(w.Chart1->height(), 119);
    QCOMPARE(w.Chart2->height(), 120);
    QCOMPARE(w.Chart3->height(), 119);
    QCOMPARE(w.Chart4->height(), 119);
    QCOMPARE(w.Chart5->height(), 121);
    QCOMPARE(w.Chart6->height(), 119);
    QCOMPARE(w.Chart6->geometry().bottom(), 359);
    QCOMPARE(int(views.fm.ChartRows), 3);
    const std::vector<TChart*> charts = w.Charts();
    for (int k = 0; k < 6; ++k) {
        QCOMPARE(charts[k]->Title()->Text(), SpectrumTitle(views.spectra[k]));
        QCOMPARE(w.Series[OwnSeries[k]]->Count(), SpectrumLines);
        QCOMPARE(w.Series[OwnSeries[k]]->SeriesColor(), OwnColours[k]);
        QCOMPARE(w.Series[OverlaySeries[k]]->SeriesColor(), OverlayColours[k]);
        QCOMPARE(w.Series[OverlaySeries[k]]->ParentChart(), w.Chart1);
    }
}

void Tu6SPMTest::commonSpectrum_data()
{
    QTest::addColumn<int>("picked");
    QTest::addColumn<int>("shown");
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("four") << 4 << 4;
    QTest::newRow("six") << 6 << 6;
    QTest::newRow("seven_of_which_one_missing") << 7 << 6;
}

void Tu6SPMTest::commonSpectrum()
{
    QFETCH(int, picked);
    QFETCH(int, shown);
    TViews views;
    Tfm6SPM& w = *views.forms.fm6SPM;
    QStringList files = views.spectra.mid(0, std::min(picked, 6));
    if (picked > 6)
        files << views.folder.File(QStringLiteral("never-read.spm"));
    views.Show(w, views.fm.odSPM6, files);
    QVERIFY(views.dialogs.Shown.empty());
    QCOMPARE(int(views.fm.FileCount), shown);
    const std::vector<TChart*> charts = w.Charts();
    for (int k = 0; k < 6; ++k) {
        QVERIFY(charts[k]->isVisible());
        QCOMPARE(w.Series[OwnSeries[k]]->Count(), k < shown ? SpectrumLines : 0);
        QCOMPARE(charts[k]->Title()->HasText(), k < shown);
    }
    const QString title = w.Chart1->Title()->Text();

    w.bbS->click();
    QCOMPARE(w.Chart1->Title()->Text(), QStringLiteral("О Б Щ И Й   С П Е К Т Р\n"));
    for (int k = 1; k < 6; ++k) {
        const TFastLineSeries& overlay = *w.Series[OverlaySeries[k]];
        if (k < shown)
            QCOMPARE(YValues(overlay), YValues(*w.Series[OwnSeries[k]]));
        else
            QCOMPARE(overlay.Count(), 0);
        QVERIFY(!charts[k]->isVisible());
    }
    QVERIFY(!w.pa3->isVisible());
    QCOMPARE(w.pa1->width(), 632);   // the whole client area, not past the window's edge
    QCOMPARE(w.Chart1->height(), 359);
    QCOMPARE(int(views.fm.ChartRows), 1);

    w.bbBack->click();
    QCOMPARE(w.Chart1->Title()->Text(), title);
    for (int k = 1; k < 6; ++k) {
        QCOMPARE(w.Series[OverlaySeries[k]]->Count(), 0);
        QVERIFY(charts[k]->isVisible());
    }
    QCOMPARE(w.Series[3]->SeriesColor(), QColor(0, 0, 160));
    QCOMPARE(w.pa1->width(), 316);
    QCOMPARE(w.pa3->width(), 316);
    QCOMPARE(w.Chart1->height(), 119);
}

void Tu6SPMTest::oddWidthLeavesOnePixelGap()
{
    TViews views;
    Tfm6SPM& w = *views.forms.fm6SPM;
    views.Show(w, views.fm.odSPM6, views.spectra.mid(0, 2));
    w.resize(633, 433);
    QTRY_COMPARE(w.width(), 633);
    QCOMPARE(w.pa1->width(), 316);
    QCOMPARE(w.pa3->width(), 316);
    QCOMPARE(w.pa3->x() - (w.pa1->x() + w.pa1->width()), 1);
    w.resize(634, 433);
    QTRY_COMPARE(w.pa1->width(), 317);
    QCOMPARE(w.pa3->x(), 317);
}

void Tu6SPMTest::resizingWhileCommon()
{
    TViews views;
    Tfm6SPM& w = *views.forms.fm6SPM;
    views.Show(w, views.fm.odSPM6, views.spectra.mid(0, 6));
    w.bbS->click();
    w.resize(800, 500);
    QTRY_COMPARE(w.width(), 800);
    QCOMPARE(w.pa1->width(), 800);
    QCOMPARE(w.pa1->height(), 427);
    QCOMPARE(w.Chart1->height(), 426);

    w.bbBack->click();
    QCOMPARE(w.pa1->width(), 400);
    QCOMPARE(w.pa3->geometry(), QRect(400, 0, 400, 428));
    QCOMPARE(w.Chart1->height(), 141);
    QCOMPARE(w.Chart4->height(), 141);
    QCOMPARE(w.Chart5->height(), 428 - 2 - 2 * 141);
}

void Tu6SPMTest::closedCommonComesBackSplit()
{
    TViews views;
    Tfm6SPM& w = *views.forms.fm6SPM;
    views.Show(w, views.fm.odSPM6, views.spectra.mid(0, 6));
    w.bbS->click();
    w.BitBtn1->click();
    QVERIFY(views.fm.isVisible());
    views.Show(w, views.fm.odSPM6, views.spectra.mid(1, 3));
    QVERIFY(w.pa3->isVisible());
    for (TChart* chart : w.Charts())
        QVERIFY(chart->isVisible());
    QVERIFY(w.bbS->isVisible() && !w.bbBack->isVisible());
    QCOMPARE(w.pa1->width(), 316);
    QCOMPARE(w.Chart1->height(), 119);
    for (int s = 4; s <= 11; ++s)
        if (s != 6 && s != 7 && s != 8)
            QCOMPARE(w.Series[s]->Count(), 0);
    QCOMPARE(w.Series[6]->Count(), 0);
    QCOMPARE(w.Chart1->Title()->Text(), SpectrumTitle(views.spectra[1]));
}

void Tu6SPMTest::toggleSwitchesAllSixCharts()
{
    TViews views;
    Tfm6SPM& w = *views.forms.fm6SPM;
    views.Show(w, views.fm.odSPM6, views.spectra.mid(0, 2));
    w.bbS->click();
    w.bbLogAxis->click();
    for (TChart* chart : w.Charts())
        QVERIFY(chart->LeftAxis()->Logarithmic());
    QCOMPARE(w.bbLogAxis->text(), QStringLiteral("Линейный"));
    w.BitBtn1->click();
    views.Show(w, views.fm.odSPM6, views.spectra.mid(0, 1));
    QCOMPARE(w.bbLogAxis->text(), QStringLiteral("Линейный"));
    w.bbLogAxis->click();
    for (TChart* chart : w.Charts())
        QVERIFY(!chart->LeftAxis()->Logarithmic());
}

QTEST_MAIN(Tu6SPMTest)
#include "u6SPMTest.moc"
