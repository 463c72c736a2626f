// The three-spectrum window: the files it loads, the overlay colours, split, the layout of
// three rows, and the state every show starts from.
#include "ViewsTestSupport.h"

#include "ui/TPanel.h"
#include "views/u3SPM.h"

#include <QPushButton>

using namespace viewtest;

class Tu3SPMTest : public QObject
{
    Q_OBJECT

private slots:
    void loadsUpToThreeFiles_data();
    void loadsUpToThreeFiles();
    void overlayColoursAndSplit();
    void rowsAtDesignAndAfterResize();
    void unreadableFileLeavesLaterChartsEmpty();
};

void Tu3SPMTest::loadsUpToThreeFiles_data()
{
    QTest::addColumn<int>("picked");
    QTest::addColumn<int>("shown");
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("two") << 2 << 2;
    QTest::newRow("three") << 3 << 3;
    QTest::newRow("four_of_which_one_missing") << 4 << 3;
}

void Tu3SPMTest::loadsUpToThreeFiles()
{
    QFETCH(int, picked);
    QFETCH(int, shown);
    TViews views;
    Tfm3SPM& w = *views.forms.fm3SPM;
    QStringList files = views.spectra.mid(0, std::min(picked, 3));
    if (picked > 3)
        files << views.folder.File(QStringLiteral("never-read.spm"));
    views.Show(w, views.fm.odSPM3, files);
    QCOMPARE(w.windowTitle(), QStringLiteral("Три спектра"));
    QVERIFY(views.dialogs.Shown.empty());
    QCOMPARE(int(views.fm.FileCount), shown);
    QCOMPARE(int(views.fm.ChartRows), 3);
    TChart* const charts[] = {w.Chart1, w.Chart2, w.Chart3};
    TFastLineSeries* const series[] = {w.Series1, w.Series2, w.Series3};
    for (int k = 0; k < 3; ++k) {
        QVERIFY(charts[k]->isVisible());
        QCOMPARE(series[k]->Count(), k < shown ? SpectrumLines : 0);
        QCOMPARE(charts[k]->Title()->Text(), k < shown ? SpectrumTitle(views.spectra[k]) : QString());
    }

    // The overlay draws every loaded spectrum in the top chart.
    w.bbS->click();
    QCOMPARE(w.Chart1->Title()->Text(), QStringLiteral("С П Е К Т Р\n"));
    QCOMPARE(w.Series4->Count(), shown >= 2 ? SpectrumLines : 0);
    QCOMPARE(w.Series5->Count(), shown >= 3 ? SpectrumLines : 0);
    QVERIFY(!w.Chart2->isVisible() && !w.Chart3->isVisible());
}

void Tu3SPMTest::overlayColoursAndSplit()
{
    TViews views;
    Tfm3SPM& w = *views.forms.fm3SPM;
    views.Show(w, views.fm.odSPM3, views.spectra.mid(0, 3));
    QCOMPARE(w.Series1->SeriesColor(), QColor(255, 0, 0));
    QCOMPARE(w.Series2->SeriesColor(), QColor(0, 128, 0));
    QCOMPARE(w.Series3->SeriesColor(), QColor(0, 0, 160));
    QCOMPARE(w.Series4->SeriesColor(), QColor(0, 128, 0));
    QCOMPARE(w.Series5->SeriesColor(), QColor(0, 0, 255));
    const QString title = w.Chart1->Title()->Text();

    w.bbS->click();
    QCOMPARE(YValues(*w.Series4), YValues(*w.Series2));
    QCOMPARE(YValues(*w.Series5), YValues(*w.Series3));
    QCOMPARE(w.Chart1->height(), 359);
    QCOMPARE(int(views.fm.ChartRows), 1);

    w.bbBack->click();
    QCOMPARE(w.Chart1->Title()->Text(), title);
    QCOMPARE(w.Series4->Count(), 0);
    QCOMPARE(w.Series5->Count(), 0);
    QCOMPARE(w.Series3->Count(), SpectrumLines);
    QVERIFY(w.Chart2->isVisible() && w.Chart3->isVisible());
    QVERIFY(w.bbS->isVisible() && !w.bbBack->isVisible());
}

void Tu3SPMTest::rowsAtDesignAndAfterResize()
{
    TViews views;
    Tfm3SPM& w = *views.forms.fm3SPM;
    views.Show(w, views.fm.odSPM3, views.spectra.mid(0, 3));
    QCOMPARE(w.pa1->height(), 360);
    QCOMPARE(w.Chart1->geometry(), QRect(1, 1, 630, 119));
    QCOMPARE(w.Chart2->geometry(), QRect(1, 120, 630, 120));
    QCOMPARE(w.Chart3->geometry(), QRect(1, 240, 630, 119));
    QCOMPARE(w.pa2->geometry(), QRect(0, 361, 631, 72));

    w.resize(700, 600);
    QTRY_COMPARE(w.pa1->height(), 527);
    QCOMPARE(w.Chart1->height(), 174);
    QCOMPARE(w.Chart3->height(), 174);
    QCOMPARE(w.Chart2->height(), 525 - 2 * 174);
    QCOMPARE(w.pa2->width(), 699);

    w.bbS->click();
    QCOMPARE(w.Chart1->height(), 526);
    w.resize(640, 450);
    QTRY_COMPARE(w.pa1->height(), 377);
    QCOMPARE(w.Chart1->height(), 376);
}

void Tu3SPMTest::unreadableFileLeavesLaterChartsEmpty()
{
    TViews views;
    Tfm3SPM& w = *views.forms.fm3SPM;
    views.Show(w, views.fm.odSPM3, views.spectra.mid(0, 3));
    w.bbLogAxis->click();
    w.BitBtn1->click();
    const QString missing = views.folder.File(QStringLiteral("missing.spm"));
    views.Show(w, views.fm.odSPM3, {views.spectra[0], missing, views.spectra[2]});
    QCOMPARE(views.dialogs.Shown.size(), std::size_t{1});
    QCOMPARE(views.dialogs.Shown.front().Text, QStringLiteral("File not found."));
    QCOMPARE(w.bbLogAxis->text(), QStringLiteral("Линейный"));
    QCOMPARE(w.Series1->Count(), SpectrumLines);
    QCOMPARE(w.Series2->Count(), 0);
    QCOMPARE(w.Series3->Count(), 0);
    QVERIFY(w.Chart3->isVisible());
    w.bbS->click();
    QCOMPARE(w.Series4->Count(), 0);
    QCOMPARE(w.Series5->Count(), 0);
    QCOMPARE(views.dialogs.Shown.size(), std::size_t{1});
}

QTEST_MAIN(Tu3SPMTest)
#include "u3SPMTest.moc"
