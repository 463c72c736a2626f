// The main window: its menu, title, controls and their anchoring, the ChartRows rules, the
// cancel paths of every command, the hand-over to the comparison windows, the default error
// box, Delay and the contact notice.
#include "GuiTestSupport.h"
#include "TProgram.h"
#include "TScriptedDialogs.h"

#include "app/ContactNotice.h"
#include "ui/TPanel.h"
#include "app/TTulvoForms.h"
#include "app/uTulvo.h"
#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "views/u2SPM.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <ctime>

using namespace guitest;

namespace {

QAction* Command(TfmTulvo& fm, const QString& name)
{
    const std::pair<const char*, QAction*> commands[] = {
        {"N1", fm.N1}, {"N3", fm.N3}, {"N11", fm.N11}, {"N21", fm.N21}, {"N31", fm.N31}, {"N61", fm.N61}};
    for (const auto& [commandName, action] : commands)
        if (name == QLatin1String(commandName))
            return action;
    return nullptr;
}

} // namespace

class TMainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void menuStructure();
    void titleBarIsEmpty();
    void readoutKeepsProportionalCentres();
    void chartHeightFollowsChartRows();
    void cancelledCommandHidesChart_data();
    void cancelledCommandHidesChart();
    void comparisonWindowRunsWithMainWindowHidden();
    void unreadableFileShowsErrorBoxAndKeepsOldPoints();
    void delayWaitsWithoutSpinning();
    void delaySurvivesTickCounterWrap();
    void contactNoticeOnAboutOneEndInTen();
};

void TMainWindowTest::menuStructure()
{
    TProgram program;
    TfmTulvo& fm = program.fm;
    const QList<QAction*> bar = fm.menuBar()->actions();
    QCOMPARE(bar.size(), 3);
    QCOMPARE(bar[0], fm.N1);
    QCOMPARE(bar[0]->text(), QStringLiteral("&Обработка"));
    QVERIFY(!bar[0]->menu());   // a command on the bar itself
    QCOMPARE(bar[1], fm.N2->menuAction());
    QCOMPARE(fm.N2->title(), QStringLiteral("&Просмотр"));
    QCOMPARE(bar[2], fm.N5);
    QCOMPARE(bar[2]->text(), QStringLiteral("В&ыход"));
    QVERIFY(!bar[2]->menu());

    const QList<QAction*> view = fm.N2->actions();
    QCOMPARE(view.size(), 2);
    QCOMPARE(view[0]->text(), QStringLiteral("&Сигнал"));
    QCOMPARE(view[1], fm.N4->menuAction());
    QCOMPARE(fm.N4->title(), QStringLiteral("Спектр"));
    QStringList spectrum;
    for (QAction* action : fm.N4->actions())
        spectrum << action->text();
    QCOMPARE(spectrum, (QStringList{QStringLiteral("&1 график"), QStringLiteral("&2 графика"),
                                    QStringLiteral("&3 графика"), QStringLiteral("&6 графиков")}));
    for (QAction* action : {fm.N1, fm.N3, fm.N11, fm.N21, fm.N31, fm.N61, fm.N5})
        QVERIFY(action->isEnabled());

    QCOMPARE(fm.N1->statusTip(), QStringLiteral("Обработка исходных файлов WAV"));
    QCOMPARE(fm.N5->statusTip(), QStringLiteral("Завершение работы программы"));
    QCOMPARE(fm.laX->toolTip(), QStringLiteral("Значение по оси X"));
    QCOMPARE(fm.laY->toolTip(), QStringLiteral("Значение по оси Y"));
}

void TMainWindowTest::titleBarIsEmpty()
{
    TProgram program;
    QVERIFY(program.fm.windowTitle().trimmed().isEmpty());
    QVERIFY(program.fm.windowHandle());
    QVERIFY(program.fm.windowHandle()->title().trimmed().isEmpty());
    // At start only the chart panel shows: chart, read-out strip and batch display are hidden.
    TfmTulvo& fm = program.fm;
    QCOMPARE(int(fm.ChartRows), 1);
    QVERIFY(fm.pa1->isVisible());
    for (QWidget* hidden : {static_cast<QWidget*>(fm.Chart1), static_cast<QWidget*>(fm.pa2),
                            static_cast<QWidget*>(fm.laWait), static_cast<QWidget*>(fm.pgRecord)})
        QVERIFY(!hidden->isVisible());
}

void TMainWindowTest::readoutKeepsProportionalCentres()
{
    TProgram program;
    TfmTulvo& fm = program.fm;
    TFolder folder;
    program.dialogs.Pick(MakeRecordings(folder, 1));
    fm.N3->trigger();
    QVERIFY(fm.pa2->isVisible());
    const int width = fm.pa2->width();
    const int height = fm.pa2->height();
    const double staticText = CentreFraction(*fm.StaticText2, width);
    const double label = CentreFraction(*fm.laX, width);
    const double vertical = (fm.StaticText1->y() + fm.StaticText1->height() / 2.0) / height;
    const QRect toggle = fm.bbLogAxis->geometry();

    fm.resize(980, 600);
    QTRY_COMPARE(fm.pa2->width(), 980);
    QVERIFY(qAbs(CentreFraction(*fm.StaticText2, 980) - staticText) * 980 <= 1.0);
    QVERIFY(qAbs(CentreFraction(*fm.laX, 980) - label) * 980 <= 1.0);
    QVERIFY(qAbs((fm.StaticText1->y() + fm.StaticText1->height() / 2.0) / fm.pa2->height() - vertical) *
                fm.pa2->height() <= 1.0);
    QCOMPARE(fm.bbLogAxis->geometry(), toggle);
}

void TMainWindowTest::chartHeightFollowsChartRows()
{
    TProgram program;
    TfmTulvo& fm = program.fm;
    TFolder folder;
    program.dialogs.Pick(MakeRecordings(folder, 1));
    fm.N3->trigger();
    QCOMPARE(fm.Chart1->geometry(), QRect(1, 1, fm.pa1->width() - 2, fm.pa1->height() - 1));

    // A cancelled "&6 графиков" leaves one row: the next resize keeps the full height.
    program.dialogs.Cancel();
    fm.N61->trigger();
    QCOMPARE(int(fm.ChartRows), 1);
    program.dialogs.Pick(MakeRecordings(folder, 1, QStringLiteral("again")));
    fm.N3->trigger();
    fm.resize(700, 540);
    QTRY_COMPARE(fm.pa1->height() > 300, true);
    QTRY_COMPARE(fm.Chart1->height(), fm.pa1->height() - 1);

    fm.ChartRows = 3;
    fm.resize(700, 520);
    QTRY_COMPARE(fm.Chart1->height(), fm.pa1->height() / 3 - 1);
    QCOMPARE(fm.Chart1->width(), fm.pa1->width() - 2);
    // "&1 график" sets it back to one row.
    program.dialogs.Pick({MakeSpectra(folder, 1)});
    fm.N11->trigger();
    QCOMPARE(int(fm.ChartRows), 1);
    fm.resize(640, 480);
    QTRY_COMPARE(fm.Chart1->height(), fm.pa1->height() - 1);
}

void TMainWindowTest::cancelledCommandHidesChart_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("hidesStrip");
    QTest::newRow("batch") << "N1" << true;
    QTest::newRow("signal") << "N3" << false;
    QTest::newRow("one_spectrum") << "N11" << false;
    QTest::newRow("two_spectra") << "N21" << true;
    QTest::newRow("three_spectra") << "N31" << true;
    QTest::newRow("six_spectra") << "N61" << true;
}

void TMainWindowTest::cancelledCommandHidesChart()
{
    QFETCH(QString, command);
    QFETCH(bool, hidesStrip);
    TProgram program;
    TfmTulvo& fm = program.fm;
    TFolder folder;
    program.dialogs.Pick(MakeRecordings(folder, 1));
    fm.N3->trigger();
    QVERIFY(fm.Chart1->isVisible() && fm.pa2->isVisible());

    program.dialogs.Cancel();
    Command(fm, command)->trigger();
    QVERIFY(!fm.Chart1->isVisible());
    QCOMPARE(fm.pa2->isVisible(), !hidesStrip);
    QVERIFY(fm.isVisible());
    QVERIFY(program.dialogs.Shown.empty());
    QCOMPARE(program.dialogs.Executed.size(), 2);
}

void TMainWindowTest::comparisonWindowRunsWithMainWindowHidden()
{
    TProgram program;
    TfmTulvo& fm = program.fm;
    Tfm2SPM& fm2 = *program.forms.fm2SPM;
    TFolder folder;
    program.dialogs.Pick(MakeSpectra(folder, 2));
    fm.ChartRows = 3;
    bool mainHidden = false;
    bool comparisonShown = false;
    int rowsWhileShown = 0;
    QTimer::singleShot(0, &fm2, [&] {
        mainHidden = !fm.isVisible();
        comparisonShown = fm2.isVisible() && fm2.isModal();
        rowsWhileShown = fm.ChartRows;
        fm2.BitBtn1->click();
    });
    fm.N21->trigger();
    QVERIFY(mainHidden);
    QVERIFY(comparisonShown);
    QCOMPARE(rowsWhileShown, 2);
    QVERIFY(!fm2.isVisible());
    QVERIFY(fm.isVisible());
    QCOMPARE(int(fm.ChartRows), 1);   // FormShow of the main window ran again
    QVERIFY(!fm.Chart1->isVisible());
}

void TMainWindowTest::unreadableFileShowsErrorBoxAndKeepsOldPoints()
{
    TProgram program;
    TfmTulvo& fm = program.fm;
    TFolder folder;
    const QStringList recording = MakeRecordings(folder, 1);
    program.dialogs.Pick(recording);
    fm.N3->trigger();
    const QString title = fm.Chart1->Title()->Text();
    const double lastY = fm.Series1->YValues().Value(SampleCount - 1);

    program.dialogs.Pick({folder.File(QStringLiteral("missing.wav"))});
    fm.N3->trigger();
    QCOMPARE(program.dialogs.Shown.size(), std::size_t{1});
    const TMessageBox& box = program.dialogs.Shown.front();
    QCOMPARE(box.Icon, QMessageBox::Critical);
    QCOMPARE(box.Caption, QStringLiteral("tulvo"));
    QCOMPARE(box.Text, QStringLiteral("File not found."));
    QCOMPARE(box.Button, QStringLiteral("OK"));
    // The chart was shown before the read; it keeps its old points and title.
    QVERIFY(fm.Chart1->isVisible());
    QVERIFY(fm.pa2->isVisible());
    QCOMPARE(fm.Series1->Count(), SampleCount);
    QCOMPARE(fm.Series1->YValues().Value(SampleCount - 1), lastY);
    QCOMPARE(fm.Chart1->Title()->Text(), title);

    // The program goes on: the next command runs normally.
    program.dialogs.Pick(recording);
    fm.N3->trigger();
    QCOMPARE(program.dialogs.Shown.size(), std::size_t{1});
}

void TMainWindowTest::delayWaitsWithoutSpinning()
{
    TProgram program;
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(40);

    QElapsedTimer wall;
    wall.start();
    const std::clock_t cpuStart = std::clock();
    program.fm.Delay(400);
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const qint64 wallMs = wall.elapsed();

    QVERIFY2(wallMs >= 395, qPrintable(QString::number(wallMs)));
    QVERIFY2(ticks >= 5, "the message loop ran during the pause");
    // A busy loop would use the processor for the whole pause.
    QVERIFY2(cpuMs < 0.25 * wallMs, qPrintable(QStringLiteral("cpu %1 ms of %2 ms").arg(cpuMs).arg(wallMs)));
}

void TMainWindowTest::delaySurvivesTickCounterWrap()
{
    TProgram program;
    QElapsedTimer clock;
    clock.start();
    // A counter 100 ms before it wraps through zero.
    program.fm.TickCount = [&] { return static_cast<std::uint32_t>(0xFFFFFFFFu - 100u + clock.elapsed()); };
    QElapsedTimer wall;
    wall.start();
    program.fm.Delay(300);
    QVERIFY(wall.elapsed() >= 300);
    QVERIFY(wall.elapsed() < 3000);
}

void TMainWindowTest::contactNoticeOnAboutOneEndInTen()
{
    int due = 0;
    constexpr int ends = 20000;
    for (int seed = 0; seed < ends; ++seed) {
        std::mt19937 generator(static_cast<std::mt19937::result_type>(seed));
        due += ContactNoticeDue(generator) ? 1 : 0;
    }
    QVERIFY2(due > ends / 12 && due < ends / 8, qPrintable(QString::number(due)));
    const TMessageBox notice = ContactNotice();
    QCOMPARE(notice.Icon, QMessageBox::Information);
    QCOMPARE(notice.Button, QStringLiteral("OK"));
    QVERIFY(!notice.Text.isEmpty());
}

QTEST_MAIN(TMainWindowTest)
#include "MainWindowTest.moc"
