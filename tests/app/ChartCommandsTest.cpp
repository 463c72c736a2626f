// Saving and copying what a window's charts show: the picture against what the window paints,
// in every kind of window; the CSV against tulvo-cli show; failed writes; the context menu.
#include "tests/support/MouseGestures.h"
#include "tests/support/TProgram.h"
#include "tests/support/WidgetFixtures.h"

#include "chart/TChart.h"
#include "plot/ChartPicture.h"
#include "ui/TSaveDialog.h"
#include "views/TChartCommands.h"
#include "views/TComparisonWindow.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QTest>

#ifndef TULVO_CLI_PATH
#error "TULVO_CLI_PATH must name the built tulvo-cli"
#endif

using namespace testsupport;

namespace {

// A view of the main window or a comparison window shown with spectra of the test.
struct TShownWindow {
    QWidget* Window;
    TChartCommands* Commands;
    QStringList Files; // the spectrum files shown; empty for the waveform
};

TShownWindow ShowWindow(TProgram& program, const TFixtureFolder& folder, const QString& view)
{
    TMainWindow& main = program.Main;
    if (view == QLatin1String("waveform")) {
        main.OpenFiles(WriteRecordings(folder, 1));
        return {&main, main.ChartCommands, {}};
    }
    if (view == QLatin1String("spectrum")) {
        const QStringList files = WriteSpectra(folder, 1);
        main.OpenFiles(files);
        ZoomIn(*main.Chart);
        return {&main, main.ChartCommands, files};
    }
    // A comparison window, shown without its modal run.
    const bool six = view.startsWith(QLatin1String("six"));
    TComparisonWindow& window = six ? *program.Windows.SixSpectraWindow : *program.Windows.TwoSpectraWindow;
    const QStringList files = WriteSpectra(folder, six ? 5 : 2);
    (six ? main.SixSpectraDialog : main.TwoSpectraDialog).Confirm(files);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qWarning("comparison window not exposed");
    if (view.endsWith(QLatin1String("overlaid")))
        window.Overlay();
    else
        window.ToggleLogAxis();
    return {&window, &window.Commands(), files};
}

// Where each shown chart of `window` is in the picture: the smallest rectangle holding them all.
std::vector<std::pair<TChart*, QPoint>> ShownCharts(QWidget& window)
{
    std::vector<std::pair<TChart*, QPoint>> charts;
    QRect area;
    for (TChart* chart : window.findChildren<TChart*>())
        if (chart->isVisibleTo(&window)) {
            charts.emplace_back(chart, chart->mapTo(&window, QPoint(0, 0)));
            area |= QRect(charts.back().second, chart->size());
        }
    for (auto& [chart, place] : charts)
        place -= area.topLeft();
    return charts;
}

QByteArray CliShow(const QStringList& files)
{
    QProcess cli;
    cli.start(QStringLiteral(TULVO_CLI_PATH), QStringList{QStringLiteral("show")} + files);
    cli.waitForFinished();
    return cli.readAllStandardOutput();
}

} // namespace

class TChartCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void pictureIsWhatTheWindowShows_data();
    void pictureIsWhatTheWindowShows();
    void tableIsTheData();
    void failedSaveLeavesNoPartFile_data();
    void failedSaveLeavesNoPartFile();
    void rightClickOpensTheMenu();
};

// clang-format off
void TChartCommandsTest::pictureIsWhatTheWindowShows_data()
{
    QTest::addColumn<QString>("view");
    QTest::newRow("waveform") << "waveform";
    QTest::newRow("zoomed spectrum") << "spectrum";
    QTest::newRow("two split, logarithmic") << "two";
    QTest::newRow("two overlaid with key") << "two overlaid";
    QTest::newRow("six split, five files") << "six";
}
// clang-format on

// The PNG of Ctrl+S and the clipboard's picture are the window's charts pixel for pixel, at their
// places; the SVG, where this build writes it, has the same size.
void TChartCommandsTest::pictureIsWhatTheWindowShows()
{
    QFETCH(QString, view);
    TFixtureFolder folder;
    TProgram program;
    const TShownWindow shown = ShowWindow(program, folder, view);
    QVERIFY(program.Dialogs.Shown.empty());
    TChartCommands& commands = *shown.Commands;

    const QString png = folder.File(QStringLiteral("picture")); // the type's suffix is added
    program.Dialogs.Save(png, 0);
    commands.SavePictureAction->trigger();
    QVERIFY(program.Dialogs.Shown.empty());
    QCOMPARE(commands.PictureDialog.FileName, png + QStringLiteral(".png"));
    QCOMPARE(commands.PictureDialog.InitialDir, folder.Path());
    const QImage saved(commands.PictureDialog.FileName, "PNG");
    QVERIFY(!saved.isNull());

    const auto charts = ShownCharts(*shown.Window);
    QVERIFY(!charts.empty());
    QRect area;
    for (const auto& [chart, place] : charts) {
        area |= QRect(place, chart->size());
        const QImage painted = chart->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY2(saved.copy(QRect(place, chart->size())) == painted, qPrintable(chart->Title()->Text()));
    }
    QCOMPARE(saved.size(), area.size());

    commands.CopyPictureAction->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), saved);

    QCOMPARE(commands.PictureDialog.Types.size(), SvgPictureAvailable() ? 2 : 1);
    if (SvgPictureAvailable()) {
        // Typed with an SVG name while the PNG type is shown: the name decides.
        program.Dialogs.Save(folder.File(QStringLiteral("picture.SVG")), 0);
        commands.SavePictureAction->trigger();
        const QByteArray svg = ReadAll(folder.File(QStringLiteral("picture.SVG")));
        QVERIFY(svg.contains("<svg"));
        QVERIFY(svg.contains(QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(area.width()).arg(area.height()).toUtf8()));
    }
}

// The spectra's CSV is tulvo-cli show's for the same files; the waveform's has a row per sample.
void TChartCommandsTest::tableIsTheData()
{
    TFixtureFolder folder;
    TProgram program;
    for (const QString& view : {QStringLiteral("spectrum"), QStringLiteral("six")}) {
        const TShownWindow shown = ShowWindow(program, folder, view);
        const QString csv = folder.File(view + QStringLiteral(".csv"));
        program.Dialogs.Save(csv);
        shown.Commands->SaveTableAction->trigger();
        QCOMPARE(ReadAll(csv), CliShow(shown.Files));
    }
    const TShownWindow shown = ShowWindow(program, folder, QStringLiteral("waveform"));
    program.Dialogs.Save(folder.File(QStringLiteral("wave")));
    shown.Commands->SaveTableAction->trigger();
    const QList<QByteArray> rows = ReadAll(folder.File(QStringLiteral("wave.csv"))).split('\n');
    QCOMPARE(rows.size(), SampleCount + 2); // the header, the samples, nothing after the last "\n"
    QCOMPARE(rows[0], QByteArray("Time (ms),Sample"));
    const TSamples samples = TwoToneSamples(0);
    QCOMPARE(rows[1], "0," + QByteArray::number(samples[0]));
    QCOMPARE(rows[3], "0.0390625," + QByteArray::number(samples[2]));
    QCOMPARE(rows[SampleCount], "319.98046875," + QByteArray::number(samples[SampleCount - 1]));
    QVERIFY(program.Dialogs.Shown.empty());
}

// clang-format off
void TChartCommandsTest::failedSaveLeavesNoPartFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("picture");
    QTest::newRow("picture in a missing folder") << "missing/p.png" << true;
    QTest::newRow("table in a missing folder") << "missing/t.csv" << false;
    QTest::newRow("picture over a folder") << "taken.png" << true;
}
// clang-format on

// A save that cannot be written gives the error box naming the file and leaves nothing behind.
void TChartCommandsTest::failedSaveLeavesNoPartFile()
{
    QFETCH(QString, target);
    QFETCH(bool, picture);
    TFixtureFolder folder;
    QDir(folder.Path()).mkdir(QStringLiteral("taken.png"));
    TProgram program;
    const TShownWindow shown = ShowWindow(program, folder, QStringLiteral("spectrum"));
    const QStringList before = QDir(folder.Path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const QString path = folder.File(target);
    program.Dialogs.Save(path);
    (picture ? shown.Commands->SavePictureAction : shown.Commands->SaveTableAction)->trigger();
    QCOMPARE(program.Dialogs.Shown.size(), std::size_t{1});
    QCOMPARE(program.Dialogs.Shown.front().Icon, QMessageBox::Critical);
    QCOMPARE(program.Dialogs.Shown.front().InformativeText, path);
    QCOMPARE(QDir(folder.Path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    QVERIFY(QFileInfo(folder.File(QStringLiteral("taken.png"))).isDir());
}

// A right click on a chart shown opens the menu of the three commands; with no chart shown
// neither the click nor Ctrl+S does anything.
void TChartCommandsTest::rightClickOpensTheMenu()
{
    TFixtureFolder folder;
    TProgram program;
    TMainWindow& main = program.Main;
    TChartCommands& commands = *main.ChartCommands;
    QCOMPARE(commands.Menu->actions(),
             (QList<QAction*>{commands.SavePictureAction, commands.CopyPictureAction, commands.SaveTableAction}));
    QCOMPARE(commands.SavePictureAction->shortcut(), QKeySequence(QKeySequence::Save));
    QCOMPARE(commands.CopyPictureAction->shortcut(), QKeySequence(QKeySequence::Copy));

    program.Dialogs.Save(folder.File(QStringLiteral("never.png")));
    commands.SavePictureAction->trigger();
    QVERIFY(program.Dialogs.Executed.isEmpty());

    ShowWindow(program, folder, QStringLiteral("spectrum"));
    const QPoint centre = main.Chart->PlotRect().center();
    QTest::mouseClick(main.Chart, Qt::RightButton, Qt::NoModifier, centre);
    QTRY_VERIFY(commands.Menu->isVisible());
    commands.Menu->close();
}

QTEST_MAIN(TChartCommandsTest)
#include "ChartCommandsTest.moc"
