// The menu "Допуск" through the dialog seam, on units of a synthetic production line: the mask
// and the table have tulvo-cli's bytes, the refusals write nothing, the check window lists one
// table of units in its order with its texts, draws the selected unit against the band, and
// closes with the main window; the views' context menus show and hide a mask's band.
#include "tests/support/MouseGestures.h"
#include "tests/support/TProgram.h"
#include "tests/support/WidgetFixtures.h"

#include "chart/TBandSeries.h"
#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "chart/TMarkSeries.h"
#include "core/batch/BatchRun.h"
#include "plot/ChartPicture.h"
#include "plot/MaskChart.h"
#include "plot/SpectrumChart.h"
#include "ui/LocalPath.h"
#include "ui/ReadoutFormat.h"
#include "ui/TReadoutStrip.h"
#include "views/TChartCommands.h"
#include "views/TCheckWindow.h"
#include "views/TComparisonWindow.h"
#include "views/TMaskBandCommands.h"
#include "views/TMaskCommands.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace testsupport;

namespace {

// 30 good units of one line (good01..good30) and two faulty ones: a tone 17 dB above the others
// at 4500 Hz, and the upper resonance at 7600 Hz instead of 6800 Hz; each as a recording and as
// its spectrum file. A spectrum file too short to read, and a file that is no unit.
class TLine {
public:
    TLine()
    {
        std::vector<std::string> recordings;
        const auto write = [&](const QString& name, const TSamples& samples) {
            WriteWave(folder_.File(name + QStringLiteral(".wav")), samples);
            recordings.push_back(LocalPath(folder_.File(name + QStringLiteral(".wav"))));
        };
        for (int i = 1; i <= 30; ++i)
            write(QStringLiteral("good%1").arg(i, 2, 10, QLatin1Char('0')),
                  LineUnitSamples(TLineUnit{static_cast<std::uint32_t>(i)}));
        write(QStringLiteral("tone"), LineUnitSamples(TLineUnit{31, 6800.0, 4500.0, 115.0}));
        write(QStringLiteral("shifted"), LineUnitSamples(TLineUnit{32, 7600.0}));
        RunBatchParallel(recordings);
        QFile shortFile(File(QStringLiteral("short.spm")));
        if (!shortFile.open(QIODevice::WriteOnly) || shortFile.write("0123456789") != 10)
            qFatal("cannot write short.spm");
    }

    QString File(const QString& name) const { return folder_.File(name); }
    QString Path() const { return folder_.Path(); }

    // Good units first to last, as spectrum files or recordings.
    QStringList Good(int first, int last, const QString& extension = QStringLiteral(".spm")) const
    {
        QStringList files;
        for (int i = first; i <= last; ++i)
            files << File(QStringLiteral("good%1").arg(i, 2, 10, QLatin1Char('0')) + extension);
        return files;
    }

private:
    TFixtureFolder folder_;
};

std::unique_ptr<TLine> Line;

// What tulvo-cli prints for these arguments, and its exit status.
QByteArray Cli(const QStringList& arguments, int expectedStatus = 0)
{
    QProcess cli;
    cli.start(QStringLiteral(TULVO_CLI_PATH), arguments);
    if (!cli.waitForFinished(120000) || cli.exitCode() != expectedStatus)
        qWarning("tulvo-cli %s: exit %d, %s", qPrintable(arguments.join(QLatin1Char(' '))), cli.exitCode(),
                 cli.readAllStandardError().constData());
    return cli.readAllStandardOutput();
}

// Learns a mask from the good units through the menu, into `mask`.
void CreateMask(TProgram& program, const QStringList& units, const QString& mask)
{
    program.Dialogs.Pick(units);
    program.Dialogs.Save(mask);
    program.Main.CreateMaskAction->trigger();
}

// Checks units against mask through the menu; the check window opened, or null.
TCheckWindow* Check(TProgram& program, const QString& mask, const QStringList& units)
{
    program.Dialogs.Pick({mask});
    program.Dialogs.Pick(units);
    program.Main.CheckMaskAction->trigger();
    const std::vector<TCheckWindow*> windows = program.Main.MaskCommands->CheckWindows();
    return windows.empty() ? nullptr : windows.back();
}

// The table's row r as shown: its six cells.
QStringList Row(const TCheckWindow& window, int r)
{
    QStringList cells;
    const QAbstractItemModel& model = *window.TableView->model();
    for (int c = 0; c < CheckColumnCount; ++c)
        cells << model.index(r, c).data().toString();
    return cells;
}

QImage Image(TChart& chart) { return PictureImage({chart.size(), {{&chart, QPoint(0, 0)}}}); }

// How many pixels of chart's plot area have the colour, the fill's over the white ground
// when fill.
int CountColour(TChart& chart, const QColor& colour)
{
    QColor wanted = colour;
    if (colour.alpha() < 255) {
        QImage pixel(1, 1, QImage::Format_RGB32);
        pixel.fill(Qt::white);
        QPainter(&pixel).fillRect(0, 0, 1, 1, colour);
        wanted = pixel.pixelColor(0, 0);
    }
    const QImage image = Image(chart);
    const QRect plot = chart.PlotRect();
    int count = 0;
    for (int x = plot.left(); x <= plot.right(); ++x)
        for (int y = plot.top(); y <= plot.bottom(); ++y)
            count += image.pixelColor(x, y) == wanted;
    return count;
}

} // namespace

class TMaskCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void maskHasTheCommandsBytes_data();
    void maskHasTheCommandsBytes();
    void refusedMaskWritesNothing_data();
    void refusedMaskWritesNothing();
    void checkWindowListsFailuresFirst();
    void checkWindowDrawsTheSelectedUnit();
    void maxHoldMaskChecksMaxHoldSpectra();
    void badMaskOpensNoWindow();
    void checkWindowClosesWithTheMainWindow();
    void contextMenuShowsAndHidesTheBand_data();
    void contextMenuShowsAndHidesTheBand();
};

void TMaskCommandsTest::initTestCase() { Line = std::make_unique<TLine>(); }

void TMaskCommandsTest::cleanupTestCase() { Line.reset(); }

void TMaskCommandsTest::maskHasTheCommandsBytes_data()
{
    QTest::addColumn<QStringList>("units");
    QTest::addColumn<QStringList>("warnings"); // the warning box's lines, none: no box
    QTest::newRow("30 spectrum files") << Line->Good(1, 30) << QStringList();
    QTest::newRow("7 recordings") << Line->Good(1, 7, QStringLiteral(".wav"))
                                  << QStringList{QStringLiteral("a mask from fewer than 20 units is rough (7 given)")};
    QTest::newRow("mixed") << Line->Good(1, 3, QStringLiteral(".wav")) + Line->Good(4, 25)
                           << QStringList{QStringLiteral("no level band: 22 of the units are spectrum files, which "
                                                         "hold no level.")};
}

// The units' dialog offers spectrum files and recordings together, then each alone; the mask
// is tulvo-cli mask's, byte for byte, and its warnings come in a box after it is written.
void TMaskCommandsTest::maskHasTheCommandsBytes()
{
    QFETCH(QStringList, units);
    QFETCH(QStringList, warnings);
    TFixtureFolder out;
    TProgram program;
    const QString mask = out.File(QStringLiteral("mask")); // the save dialog adds ".csv"
    CreateMask(program, units, mask);
    QCOMPARE(program.Dialogs.Executed,
             (QStringList{QStringLiteral("MaskUnitsDialog"), QStringLiteral("MaskSaveDialog")}));
    QCOMPARE(program.Dialogs.Filters,
             (QList<QStringList>{{QStringLiteral("Файлы спектра и данных (*.spm *.wav)"),
                                  QStringLiteral("Файл спектра (*.spm)"), QStringLiteral("Файлы данных (*.wav)")},
                                 {QStringLiteral("Допуск (*.csv)")}}));
    QCOMPARE(program.Main.MaskCommands->MaskSaveDialog.Title, QStringLiteral("Сохранить допуск"));
    QCOMPARE(ReadAll(mask + QStringLiteral(".csv")),
             Cli(QStringList{QStringLiteral("mask"), QStringLiteral("-o"), QStringLiteral("-")} + units));
    QCOMPARE(program.Dialogs.Shown.size(), warnings.isEmpty() ? std::size_t{0} : std::size_t{1});
    if (!warnings.isEmpty()) {
        QCOMPARE(program.Dialogs.Shown.front().Icon, QMessageBox::Warning);
        QCOMPARE(program.Dialogs.Shown.front().Text, warnings.join(QLatin1Char('\n')));
    }
    QVERIFY(!program.Main.BatchProgress->isVisible() && !program.Main.BusyLabel->isVisible());
}

void TMaskCommandsTest::refusedMaskWritesNothing_data()
{
    QTest::addColumn<QStringList>("units");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("text");  // the error box
    QTest::addColumn<QString>("names"); // the file it names
    const QStringList good = Line->Good(1, 9);
    QTest::newRow("four units") << good.mid(0, 4) << QStringLiteral("mask.csv")
                                << QStringLiteral("a mask needs at least 5 units, 4 given.") << QString();
    QTest::newRow("a unit that cannot be read")
        << good + QStringList{Line->File(QStringLiteral("short.spm"))} << QStringLiteral("mask.csv")
        << QStringLiteral("Read beyond end of file.") << Line->File(QStringLiteral("short.spm"));
    QTest::newRow("no unit") << good + QStringList{Line->File(QStringLiteral("mask.txt"))} << QStringLiteral("mask.csv")
                             << QStringLiteral("neither a spectrum file (.spm) nor a recording (.wav)")
                             << Line->File(QStringLiteral("mask.txt"));
    QTest::newRow("over a unit") << good << QStringLiteral("good03.spm")
                                 << QStringLiteral("the mask %1 would overwrite %1, one of its units.")
                                        .arg(Line->File(QStringLiteral("good03.spm")))
                                 << QString();
    // The same file by another name is refused as tulvo-cli mask refuses it, in its words; the
    // save dialog hands the name over with the system's separators.
    QTest::newRow("over a unit by another name")
        << good << QStringLiteral("./good03.spm")
        << QStringLiteral("the mask %1 would overwrite %2, one of its units.")
               .arg(QDir::toNativeSeparators(Line->File(QStringLiteral("./good03.spm"))),
                    Line->File(QStringLiteral("good03.spm")))
        << QString();
}

void TMaskCommandsTest::refusedMaskWritesNothing()
{
    QFETCH(QStringList, units);
    QFETCH(QString, mask);
    QFETCH(QString, text);
    QFETCH(QString, names);
    TProgram program;
    const QStringList before = QDir(Line->Path()).entryList(QDir::AllEntries | QDir::Hidden);
    const QByteArray unit = ReadAll(Line->File(QStringLiteral("good03.spm")));
    CreateMask(program, units, Line->File(mask));
    QCOMPARE(program.Dialogs.Shown.size(), std::size_t{1});
    const TMessageBox& box = program.Dialogs.Shown.front();
    QCOMPARE(box.Icon, QMessageBox::Critical);
    QCOMPARE(box.Text, text);
    QCOMPARE(box.InformativeText, names);
    QCOMPARE(QDir(Line->Path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    QCOMPARE(ReadAll(Line->File(QStringLiteral("good03.spm"))), unit);
    QVERIFY(!program.Main.BatchProgress->isVisible() && !program.Main.BusyLabel->isVisible());
}

// One table of units: what the window lists for each, in which row, and what the saved table
// and report hold (tulvo-cli check's and report's bytes, in the order picked). A header click sorts by its column.
void TMaskCommandsTest::checkWindowListsFailuresFirst()
{
    struct TUnitRow {
        const char* File;
        const char* Verdict;
        const char* Outside;
        const char* Worst;
        int Row; // in the window, failures first
    };
    const TUnitRow units[] = {
        {"good29.wav", "годен", "0", nullptr, 4},
        {"shifted.wav", "не годен", "26", "7600", 1},
        {"short.spm", "Read beyond end of file", "", "", 2},
        {"good30.spm", "годен", "0", nullptr, 5},
        {"tone.spm", "не годен", "3", "4500", 0},
        {"missing.spm", nullptr, "", "", 3},
    };
    TFixtureFolder out;
    TProgram program;
    const QString mask = out.File(QStringLiteral("good.csv"));
    CreateMask(program, Line->Good(1, 28, QStringLiteral(".wav")), mask);
    QStringList files;
    for (const TUnitRow& unit : units)
        files << Line->File(QString::fromUtf8(unit.File));
    TCheckWindow* window = Check(program, mask, files);
    QVERIFY(window != nullptr);
    QCOMPARE(program.Dialogs.Executed.mid(2),
             (QStringList{QStringLiteral("MaskDialog"), QStringLiteral("CheckUnitsDialog")}));
    QCOMPARE(program.Dialogs.Filters.mid(2),
             (QList<QStringList>{{QStringLiteral("Допуск (*.csv)")}, program.Dialogs.Filters.front()}));
    QCOMPARE(window->windowTitle(), QStringLiteral("Проверка по допуску"));
    QVERIFY(!window->isModal() && window->isVisible());
    QCOMPARE(window->Summary->text(), QStringLiteral("Проверено: 6, годных: 2, негодных: 2, ошибок: 2"));
    QStringList titles;
    for (int c = 0; c < CheckColumnCount; ++c)
        titles << window->TableView->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{QStringLiteral("Файл"), QStringLiteral("Вердикт"), QStringLiteral("Вне допуска"),
                                  QStringLiteral("Худшая линия, Гц"), QStringLiteral("Запас, дБ"),
                                  QStringLiteral("Уровень, дБFS")}));
    for (const TUnitRow& unit : units) {
        const QStringList cells = Row(*window, unit.Row);
        QCOMPARE(cells[0], QString::fromUtf8(unit.File));
        if (unit.Verdict)
            QCOMPARE(cells[1], QString::fromUtf8(unit.Verdict));
        QCOMPARE(cells[2], QString::fromUtf8(unit.Outside));
        if (unit.Worst)
            QCOMPARE(cells[3], QString::fromUtf8(unit.Worst));
        const QColor tint = window->TableView->model()->index(unit.Row, 1).data(Qt::BackgroundRole).value<QColor>();
        const bool good = unit.Verdict && QString::fromUtf8(unit.Verdict) == QStringLiteral("годен");
        QVERIFY(good ? tint.green() > tint.red() : tint.red() > tint.green());
    }
    // A recording's level, with the user's decimal separator; none for a spectrum file.
    QVERIFY(Row(*window, 4)[5].contains(QLocale().decimalPoint()) && Row(*window, 5)[5].isEmpty());

    program.Dialogs.Save(out.File(QStringLiteral("table.csv")));
    window->SaveTableButton->click();
    QCOMPARE(ReadAll(out.File(QStringLiteral("table.csv"))),
             Cli(QStringList{QStringLiteral("check"), QStringLiteral("--mask"), mask} + files, 1));
    // The report of what the window shows, as tulvo-cli writes it in Russian.
    program.Dialogs.Save(out.File(QStringLiteral("report.html")));
    window->SaveReportButton->click();
    QCOMPARE(ReadAll(out.File(QStringLiteral("report.html"))),
             Cli(QStringList{QStringLiteral("report"), QStringLiteral("--lang"), QStringLiteral("ru"),
                             QStringLiteral("--mask"), mask, QStringLiteral("-o"), QStringLiteral("-")} +
                     files,
                 1));

    // The file names sorted by a header click, then the other way round.
    QHeaderView* header = window->TableView->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    QCOMPARE(Row(*window, 0)[0], QStringLiteral("good29.wav"));
    QCOMPARE(Row(*window, 5)[0], QStringLiteral("tone.spm"));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    QCOMPARE(Row(*window, 0)[0], QStringLiteral("tone.spm"));
}

// The first row is selected as the window opens; the keyboard moves on. The chart shows the
// selected unit against the band, its lines outside in red; a good unit has none.
void TMaskCommandsTest::checkWindowDrawsTheSelectedUnit()
{
    TFixtureFolder out;
    TProgram program;
    const QString mask = out.File(QStringLiteral("good.csv"));
    CreateMask(program, Line->Good(1, 28), mask);
    TCheckWindow* window =
        Check(program, mask, {Line->File(QStringLiteral("good29.spm")), Line->File(QStringLiteral("tone.spm"))});
    QVERIFY(window != nullptr && QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->SelectedUnit(), std::optional<std::size_t>(1));
    QCOMPARE(window->Chart->Title()->Text().trimmed(),
             QStringLiteral("С П Е К Т Р  ") + Line->File(QStringLiteral("tone.spm")));
    QVERIFY(window->TableView->hasFocus());
    QVERIFY(window->Series.Outside->Count() > 0);
    QCOMPARE(window->Series.Outside->Count(), window->Units()[1].Verdict->Outside);
    QVERIFY(CountColour(*window->Chart, MaskFillColour) > 1000);
    QVERIFY(CountColour(*window->Chart, OutsideMarkColour) > 0);
    // The toggle and the read-out as in the spectrum views, the limits after Y.
    window->Strip->LogAxisButton->click();
    QCOMPARE(window->Strip->LogAxisButton->text(), LogAxisCaption(false));
    const QRect plot = window->Chart->PlotRect();
    const QPoint at = plot.center();
    QCursor::setPos(window->Chart->mapToGlobal(at));
    if (window->Chart->mapFromGlobal(QCursor::pos()) == at) {
        QMouseEvent move(QEvent::MouseMove, at, window->Chart->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(window->Chart, &move);
        double x = 0;
        double y = 0;
        window->Series.Curve->PixelToValues(at.x(), at.y(), x, y);
        const TChartLimits limits = *MaskLimitsAt(window->Mask(), x);
        QVERIFY(ReadoutLimitsForms(limits.Lower, limits.Upper).contains(window->LimitsValue->text()));
    }

    QTest::keyClick(window->TableView, Qt::Key_Down);
    QCOMPARE(window->SelectedUnit(), std::optional<std::size_t>(0));
    QCOMPARE(window->Series.Outside->Count(), 0);
    QVERIFY(CountColour(*window->Chart, MaskFillColour) > 1000);
    QCOMPARE(CountColour(*window->Chart, OutsideMarkColour), 0);
}

// A max-hold mask checks the recordings by their max-hold spectra, as tulvo-cli check does.
void TMaskCommandsTest::maxHoldMaskChecksMaxHoldSpectra()
{
    TFixtureFolder out;
    TProgram program;
    const QString mask = out.File(QStringLiteral("max-hold.csv"));
    Cli(QStringList{QStringLiteral("mask"), QStringLiteral("--max-hold"), QStringLiteral("-o"), mask} +
        Line->Good(1, 20, QStringLiteral(".wav")));
    const QStringList files =
        QStringList{Line->File(QStringLiteral("tone.wav"))} + Line->Good(21, 22, QStringLiteral(".wav"));
    TCheckWindow* window = Check(program, mask, files);
    QVERIFY(window != nullptr);
    QCOMPARE(QByteArray::fromStdString(window->Table()),
             Cli(QStringList{QStringLiteral("check"), QStringLiteral("--mask"), mask} + files, 1));
}

// A mask that cannot be read gives tulvo-cli check's message; no units are asked for.
void TMaskCommandsTest::badMaskOpensNoWindow()
{
    TProgram program;
    const QString mask = Line->File(QStringLiteral("good01.spm"));
    program.Dialogs.Pick({mask});
    program.Main.CheckMaskAction->trigger();
    QCOMPARE(program.Dialogs.Executed, QStringList{QStringLiteral("MaskDialog")});
    QCOMPARE(program.Dialogs.Shown.size(), std::size_t{1});
    // tulvo-cli check: "tulvo-cli: MASK: line 1: not a mask: ..."
    QCOMPARE(program.Dialogs.Shown.front().Text,
             QStringLiteral("line 1: not a mask: the first line is not '# Format: tulvo-mask 1'"));
    QCOMPARE(program.Dialogs.Shown.front().InformativeText, mask);
    QVERIFY(program.Main.MaskCommands->CheckWindows().empty());
}

void TMaskCommandsTest::checkWindowClosesWithTheMainWindow()
{
    TFixtureFolder out;
    TProgram program;
    const QString mask = out.File(QStringLiteral("good.csv"));
    CreateMask(program, Line->Good(1, 5), mask);
    const QPointer<TCheckWindow> window = Check(program, mask, Line->Good(6, 7));
    QVERIFY(window);
    // The main window stays usable while it is open.
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    program.Main.close();
    QTRY_VERIFY(!window);
}

void TMaskCommandsTest::contextMenuShowsAndHidesTheBand_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("one spectrum") << QStringLiteral("one");
    QTest::newRow("two spectra") << QStringLiteral("two");
    QTest::newRow("six spectra overlaid") << QStringLiteral("six");
}

// "Показать допуск…" draws the band in every chart, kept across the scale, a zoom and other
// files and in the saved picture; "Скрыть допуск" takes it away. The waveform view has none.
void TMaskCommandsTest::contextMenuShowsAndHidesTheBand()
{
    QFETCH(QString, window);
    TFixtureFolder out;
    TProgram program;
    const QString mask = out.File(QStringLiteral("good.csv"));
    CreateMask(program, Line->Good(1, 20), mask);
    const QStringList spectra = Line->Good(21, 26);
    TComparisonWindow* comparison = window == QStringLiteral("two")   ? program.Windows.TwoSpectraWindow.get()
                                    : window == QStringLiteral("six") ? program.Windows.SixSpectraWindow.get()
                                                                      : nullptr;
    const auto showFiles = [&](int first) {
        if (!comparison) {
            program.Main.OpenFiles({spectra[first]});
            return;
        }
        comparison->hide();
        (window == QStringLiteral("two") ? program.Main.TwoSpectraDialog : program.Main.SixSpectraDialog)
            .Confirm(spectra.mid(first));
        comparison->show();
        if (window == QStringLiteral("six"))
            comparison->Overlay();
    };
    showFiles(0);
    TChartCommands& commands = comparison ? comparison->Commands() : *program.Main.ChartCommands;
    TMaskBandCommands& band = comparison ? comparison->MaskBand() : *program.Main.MaskBand;
    TChart* first = comparison ? comparison->Chart(0) : program.Main.Chart;
    const int charts = comparison ? comparison->ChartCount() : 1;

    commands.PopUpMenu(first->mapToGlobal(first->PlotRect().center()));
    QTRY_VERIFY(commands.Menu->isVisible());
    QVERIFY(band.ShowAction->isVisible() && !band.HideAction->isVisible());
    commands.Menu->close();
    program.Dialogs.Pick({mask});
    band.ShowAction->trigger();
    QCOMPARE(program.Dialogs.Executed.back(), QStringLiteral("ShowMaskDialog"));
    QCOMPARE(program.Dialogs.Filters.back(), QStringList{QStringLiteral("Допуск (*.csv)")});
    for (int k = 0; k < charts; ++k)
        QCOMPARE(band.Band(k)->Count(), SpectrumLines);

    // Kept across the scale, a zoom and other files, and in the picture saved.
    const bool logarithmic = first->LeftAxis()->Logarithmic();
    comparison ? comparison->ToggleLogAxis() : program.Main.ToggleLogAxis();
    QVERIFY(first->LeftAxis()->Logarithmic() != logarithmic);
    ZoomIn(*first);
    showFiles(1);
    QVERIFY(band.Band(0)->Active() && band.Band(0)->Count() == SpectrumLines);
    QVERIFY(CountColour(*first, MaskFillColour) > 100);
    QCOMPARE(band.Band(0)->ParentChart(), first);
    commands.PopUpMenu(first->mapToGlobal(first->PlotRect().center()));
    QTRY_VERIFY(commands.Menu->isVisible());
    QVERIFY(band.HideAction->isVisible());
    commands.Menu->close();
    if (!comparison) {
        // The waveform view draws no band and offers none; the spectrum view brings it back.
        program.Main.OpenFiles({Line->File(QStringLiteral("good01.wav"))});
        QVERIFY(!band.Band(0)->Active());
        commands.PopUpMenu(first->mapToGlobal(first->PlotRect().center()));
        QTRY_VERIFY(commands.Menu->isVisible());
        QVERIFY(!band.ShowAction->isVisible() && !band.HideAction->isVisible());
        commands.Menu->close();
        showFiles(2);
        QVERIFY(band.Band(0)->Active());
    }

    band.HideAction->trigger();
    QVERIFY(!band.Mask() && band.Band(0) == nullptr);
    QCOMPARE(CountColour(*first, MaskFillColour), 0);
    if (comparison)
        comparison->hide();
}

QTEST_MAIN(TMaskCommandsTest)
#include "MaskCommandsTest.moc"
