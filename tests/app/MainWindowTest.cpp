// The main window: its menu, title and controls, the read-out strip's anchoring, the chart's
// height, the cancel path of every command (also from the spectrogram view), the hand-over to the
// comparison windows, the default error box, Delay and the contact notice.
#include "tests/support/FileBytes.h"
#include "tests/support/TProgram.h"
#include "tests/support/WidgetFixtures.h"

#include "app/ContactNotice.h"
#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "ui/TReadoutStrip.h"
#include "ui/TRowsPanel.h"
#include "views/TComparisonWindow.h"
#include "views/TSpectrogramView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace testsupport;

namespace {

// The menu's commands with their texts: the one table of the main window's texts.
struct TCommand {
    const char* Row;
    QAction* TMainWindow::*Action;
    const char* Text;
    const char* StatusTip;
    bool HidesStrip; // cancelling its dialog hides the read-out strip too
};

const TCommand Commands[] = {
    {"batch", &TMainWindow::BatchAction, "&Обработка", "Обработка исходных файлов WAV", true},
    {"waveform", &TMainWindow::WaveformAction, "&Сигнал", "", false},
    {"spectrogram", &TMainWindow::SpectrogramAction, "Спектро&грамма", "", false},
    {"one_spectrum", &TMainWindow::OneSpectrumAction, "&1 график", "", false},
    {"two_spectra", &TMainWindow::TwoSpectraAction, "&2 графика", "", true},
    {"three_spectra", &TMainWindow::ThreeSpectraAction, "&3 графика", "", true},
    {"six_spectra", &TMainWindow::SixSpectraAction, "&6 графиков", "", true},
    {"exit", &TMainWindow::ExitAction, "В&ыход", "Завершение работы программы", false},
};
const char* const ViewMenuTitle = "&Просмотр";
const char* const SpectrumMenuTitle = "Спектр";
const char* const MaskMenuTitle = "&Допуск";
const char* const CreateMaskText = "&Создать допуск…";
const char* const CheckMaskText = "&Проверить по допуску…";
const char* const XValueTip = "Значение по оси X";
const char* const YValueTip = "Значение по оси Y";

QString Utf8(const char* text) { return QString::fromUtf8(text); }

QAction* ActionOf(TMainWindow& main, const QString& row)
{
    for (const TCommand& command : Commands)
        if (row == QLatin1String(command.Row))
            return main.*command.Action;
    return nullptr;
}

double CentreFraction(const QWidget& widget, int width) { return (widget.x() + widget.width() / 2.0) / width; }

} // namespace

class TMainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void menuStructure();
    void textsAreInDejaVuSans();
    void titleBarIsEmptyAndChartHidden();
    void readoutKeepsProportionalCentres();
    void chartFillsItsPanel();
    void cancelledCommandHidesChart_data();
    void cancelledCommandHidesChart();
    void comparisonWindowRunsWithMainWindowHidden_data();
    void comparisonWindowRunsWithMainWindowHidden();
    void exitClosesTheWindow();
    void unreadableFileShowsErrorBoxAndKeepsOldPoints();
    void delayWaitsWithoutSpinning();
    void delaySurvivesTickCounterWrap();
    void contactNoticeOnAboutOneEndInTen();
};

void TMainWindowTest::menuStructure()
{
    TProgram program;
    TMainWindow& main = program.Main;
    for (const TCommand& command : Commands) {
        QAction* action = main.*command.Action;
        QCOMPARE(action->text(), Utf8(command.Text));
        QCOMPARE(action->statusTip(), Utf8(command.StatusTip));
        QVERIFY(action->isEnabled());
        QVERIFY(!action->menu());
    }
    // "&Обработка" and "В&ыход" are commands on the bar itself, around "&Просмотр" and "&Допуск".
    QCOMPARE(main.menuBar()->actions(), (QList<QAction*>{main.BatchAction, main.ViewMenu->menuAction(),
                                                         main.MaskMenu->menuAction(), main.ExitAction}));
    QCOMPARE(main.MaskMenu->title(), Utf8(MaskMenuTitle));
    QCOMPARE(main.MaskMenu->actions(), (QList<QAction*>{main.CreateMaskAction, main.CheckMaskAction}));
    QCOMPARE(main.CreateMaskAction->text(), Utf8(CreateMaskText));
    QCOMPARE(main.CheckMaskAction->text(), Utf8(CheckMaskText));
    QCOMPARE(main.ViewMenu->title(), Utf8(ViewMenuTitle));
    QCOMPARE(main.ViewMenu->actions(),
             (QList<QAction*>{main.WaveformAction, main.SpectrogramAction, main.SpectrumMenu->menuAction()}));
    QCOMPARE(main.SpectrumMenu->title(), Utf8(SpectrumMenuTitle));
    QCOMPARE(main.SpectrumMenu->actions(), (QList<QAction*>{main.OneSpectrumAction, main.TwoSpectraAction,
                                                            main.ThreeSpectraAction, main.SixSpectraAction}));
    QCOMPARE(main.ReadoutStrip->XValue->toolTip(), Utf8(XValueTip));
    QCOMPARE(main.ReadoutStrip->YValue->toolTip(), Utf8(YValueTip));
}

// The layout is made for DejaVu Sans, which "Sans Serif" stands for on Linux through fontconfig
// and in the Windows build through the fonts the program carries: another face would move or cut
// the texts.
void TMainWindowTest::textsAreInDejaVuSans()
{
    TProgram program;
    // What sets no font of its own (menus, message boxes) takes the default of 9 points; on Windows
    // its theme has fonts of its own for them.
    for (const char* name : {"QMenu", "QMessageBox", "QTipLabel"}) {
        const QFontInfo shown(QApplication::font(name));
        QCOMPARE(shown.family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(shown.pointSize(), 9);
    }
    const QFontInfo value(program.Main.ReadoutStrip->XValue->font());
    QCOMPARE(value.family(), QStringLiteral("DejaVu Sans"));
    QVERIFY(value.bold());
    QVERIFY(QFontDatabase::styles(QStringLiteral("DejaVu Sans")).contains(QStringLiteral("Bold")));
}

void TMainWindowTest::titleBarIsEmptyAndChartHidden()
{
    TProgram program;
    TMainWindow& main = program.Main;
    QVERIFY(main.windowTitle().trimmed().isEmpty());
    QVERIFY(main.windowHandle());
    QVERIFY(main.windowHandle()->title().trimmed().isEmpty());
    // At start only the chart panel shows: chart, read-out strip and batch display are hidden.
    QVERIFY(main.ChartPanel->isVisible());
    for (QWidget* hidden : {static_cast<QWidget*>(main.Chart), static_cast<QWidget*>(main.ReadoutStrip),
                            static_cast<QWidget*>(main.BusyLabel), static_cast<QWidget*>(main.BatchProgress)})
        QVERIFY(!hidden->isVisible());
}

void TMainWindowTest::readoutKeepsProportionalCentres()
{
    TProgram program;
    TMainWindow& main = program.Main;
    TFixtureFolder folder;
    program.Dialogs.Pick(WriteRecordings(folder, 1));
    main.WaveformAction->trigger();
    TReadoutStrip& strip = *main.ReadoutStrip;
    QVERIFY(strip.isVisible());
    const int width = strip.width();
    const int height = strip.height();
    const double caption = CentreFraction(*strip.YCaption, width);
    // A value keeps its designed distance from its caption.
    const int valueOffset = strip.XValue->x() - strip.XCaption->geometry().right();
    const double vertical = (strip.XCaption->y() + strip.XCaption->height() / 2.0) / height;
    const QRect toggle = strip.LogAxisButton->geometry();

    main.resize(980, 600);
    QTRY_COMPARE(strip.width(), 980);
    QVERIFY(qAbs(CentreFraction(*strip.YCaption, 980) - caption) * 980 <= 1.0);
    QCOMPARE(strip.XValue->x() - strip.XCaption->geometry().right(), valueOffset);
    QVERIFY(qAbs((strip.XCaption->y() + strip.XCaption->height() / 2.0) / strip.height() - vertical) * strip.height() <=
            1.0);
    QCOMPARE(strip.LogAxisButton->geometry(), toggle);
}

void TMainWindowTest::chartFillsItsPanel()
{
    TProgram program;
    TMainWindow& main = program.Main;
    TFixtureFolder folder;
    const auto fills = [&main] {
        return main.Chart->geometry() == QRect(1, 1, main.ChartPanel->width() - 2, main.ChartPanel->height() - 1);
    };
    // Resizes the window and waits until its layout has given the chart panel its new size.
    const auto resize = [&main](QSize size) {
        const QSize before = main.ChartPanel->size();
        main.resize(size);
        return QTest::qWaitFor([&] { return main.ChartPanel->size() != before; });
    };
    program.Dialogs.Pick(WriteRecordings(folder, 1));
    main.WaveformAction->trigger();
    QTRY_VERIFY(fills());

    // A cancelled "&6 графиков" leaves the chart at the full height, also after a resize.
    program.Dialogs.Cancel();
    main.SixSpectraAction->trigger();
    program.Dialogs.Pick(WriteRecordings(folder, 1, QStringLiteral("again")));
    main.WaveformAction->trigger();
    QVERIFY(resize(QSize(700, 540)));
    QVERIFY(fills());

    // So does a comparison window shown and closed in between.
    program.Dialogs.Pick(WriteSpectra(folder, 6));
    QTimer::singleShot(0, program.Windows.SixSpectraWindow.get(),
                       [&program] { program.Windows.SixSpectraWindow->CloseButton()->click(); });
    main.SixSpectraAction->trigger();
    program.Dialogs.Pick(WriteSpectra(folder, 1));
    main.OneSpectrumAction->trigger();
    QVERIFY(resize(QSize(640, 480)));
    QVERIFY(fills());
    QVERIFY(program.Dialogs.Shown.empty());
}

// clang-format off
void TMainWindowTest::cancelledCommandHidesChart_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("hidesStrip");
    for (const TCommand& command : Commands)
        if (QLatin1String(command.Row) != QLatin1String("exit"))
            QTest::newRow(command.Row) << QString::fromLatin1(command.Row) << command.HidesStrip;
}
// clang-format on

void TMainWindowTest::cancelledCommandHidesChart()
{
    QFETCH(QString, command);
    QFETCH(bool, hidesStrip);
    TProgram program;
    TMainWindow& main = program.Main;
    TFixtureFolder folder;
    program.Dialogs.Pick(WriteRecordings(folder, 1));
    main.WaveformAction->trigger();
    QVERIFY(main.Chart->isVisible() && main.ReadoutStrip->isVisible());

    program.Dialogs.Cancel();
    ActionOf(main, command)->trigger();
    QVERIFY(!main.Chart->isVisible());
    QCOMPARE(main.ReadoutStrip->isVisible(), !hidesStrip);
    QVERIFY(main.isVisible());
    QVERIFY(program.Dialogs.Shown.empty());
    QCOMPARE(program.Dialogs.Executed.size(), 2);

    // The spectrogram view gives the chart area back too, and the read-out its "Z = ".
    program.Dialogs.Pick(WriteRecordings(folder, 1));
    main.SpectrogramAction->trigger();
    QVERIFY(main.Spectrogram->isVisible() && main.ReadoutStrip->ZCaption->isVisible());
    program.Dialogs.Cancel();
    ActionOf(main, command)->trigger();
    QVERIFY(!main.Spectrogram->isVisible() && main.ReadoutStrip->ZCaption->isHidden());
}

// clang-format off
void TMainWindowTest::comparisonWindowRunsWithMainWindowHidden_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<bool>("byCloseButton");
    QTest::newRow("two_spectra_close_button") << "two_spectra" << "TwoSpectraDialog" << true;
    QTest::newRow("two_spectra_frame") << "two_spectra" << "TwoSpectraDialog" << false;
    QTest::newRow("three_spectra_close_button") << "three_spectra" << "ThreeSpectraDialog" << true;
    QTest::newRow("six_spectra_frame") << "six_spectra" << "SixSpectraDialog" << false;
}
// clang-format on

void TMainWindowTest::comparisonWindowRunsWithMainWindowHidden()
{
    QFETCH(QString, command);
    QFETCH(QString, dialog);
    QFETCH(bool, byCloseButton);
    TProgram program;
    TMainWindow& main = program.Main;
    TProgramWindows& windows = program.Windows;
    TComparisonWindow* expected = command == QLatin1String("two_spectra")     ? windows.TwoSpectraWindow.get()
                                  : command == QLatin1String("three_spectra") ? windows.ThreeSpectraWindow.get()
                                                                              : windows.SixSpectraWindow.get();
    TFixtureFolder folder;
    const QStringList spectra = WriteSpectra(folder, 6);
    program.Dialogs.Pick(spectra);
    bool mainHidden = false;
    TComparisonWindow* shown = nullptr;
    QString firstTitle;
    QTimer::singleShot(0, &main, [&] {
        mainHidden = !main.isVisible();
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* comparison = qobject_cast<TComparisonWindow*>(window); comparison && comparison->isVisible())
                shown = comparison;
        if (!shown)
            return;
        firstTitle = shown->Chart(0)->Title()->Text();
        if (byCloseButton)
            shown->CloseButton()->click();
        else
            shown->close();
    });
    ActionOf(main, command)->trigger();
    QVERIFY(mainHidden);
    // The window of the command, reading the files of the command's own dialog.
    QCOMPARE(shown, expected);
    QVERIFY(shown->isModal());
    QCOMPARE(firstTitle, QStringLiteral("С П Е К Т Р  ") + spectra[0] + QLatin1Char('\n'));
    QCOMPARE(program.Dialogs.Executed, QStringList{dialog});
    QVERIFY(!shown->isVisible());
    QVERIFY(main.isVisible());
    QVERIFY(!main.Chart->isVisible());
    QVERIFY(!main.ReadoutStrip->isVisible());
    QVERIFY(program.Dialogs.Shown.empty());
}

void TMainWindowTest::exitClosesTheWindow()
{
    TProgram program;
    program.Main.ExitAction->trigger();
    QVERIFY(!program.Main.isVisible());
    QVERIFY(program.Dialogs.Executed.isEmpty());
}

void TMainWindowTest::unreadableFileShowsErrorBoxAndKeepsOldPoints()
{
    TProgram program;
    TMainWindow& main = program.Main;
    TFixtureFolder folder;
    const QStringList recording = WriteRecordings(folder, 1);
    program.Dialogs.Pick(recording);
    main.WaveformAction->trigger();
    const QString title = main.Chart->Title()->Text();
    const double lastY = main.Series->YValues().Value(SampleCount - 1);

    program.Dialogs.Pick({folder.File(QStringLiteral("missing.wav"))});
    main.WaveformAction->trigger();
    QCOMPARE(program.Dialogs.Shown.size(), std::size_t{1});
    const TMessageBox& box = program.Dialogs.Shown.front();
    QCOMPARE(box.Icon, QMessageBox::Critical);
    QCOMPARE(box.Caption, QStringLiteral("tulvo"));
    QCOMPARE(box.Text, QStringLiteral("File not found."));
    QCOMPARE(box.Button, QStringLiteral("OK"));
    // The chart was shown before the read; it keeps its old points and title.
    QVERIFY(main.Chart->isVisible());
    QVERIFY(main.ReadoutStrip->isVisible());
    QCOMPARE(main.Series->Count(), SampleCount);
    QCOMPARE(main.Series->YValues().Value(SampleCount - 1), lastY);
    QCOMPARE(main.Chart->Title()->Text(), title);

    // The program goes on: the next command runs normally.
    program.Dialogs.Pick(recording);
    main.WaveformAction->trigger();
    QCOMPARE(program.Dialogs.Shown.size(), std::size_t{1});
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
    const double cpuStart = ProcessorTimeMs();
    program.Main.Delay(400);
    const double cpuMs = ProcessorTimeMs() - cpuStart;
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
    program.Main.TickCount = [&] { return static_cast<std::uint32_t>(0xFFFFFFFFu - 100u + clock.elapsed()); };
    QElapsedTimer wall;
    wall.start();
    program.Main.Delay(300);
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
