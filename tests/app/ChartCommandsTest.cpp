// Saving and copying what a window's charts show: the picture against what the window paints,
// the CSV against tulvo-cli show, a failed write and the context menu.
#include "tests/support/MouseGestures.h"
#include "tests/support/TProgram.h"
#include "tests/support/WidgetFixtures.h"

#include "chart/TChart.h"
#include "plot/ChartPicture.h"
#include "views/TChartCommands.h"
#include "views/TMaskBandCommands.h"
#include "views/TComparisonWindow.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QProcess>
#include <QTest>

#include <cmath>
#include <string_view>

using namespace testsupport;

namespace {

// Shows `view` of spectrum files (or a recording) written into `folder`; the window's commands.
TChartCommands& Show(TProgram& program, const TFixtureFolder& folder, const QString& view, QStringList& files)
{
    TMainWindow& main = program.Main;
    const bool six = view.startsWith(QLatin1String("six"));
    files = view == QLatin1String("waveform") ? WriteRecordings(folder, 1) : WriteSpectra(folder, six ? 5 : 2);
    if (view == QLatin1String("waveform") || view == QLatin1String("spectrum")) {
        main.OpenFiles(files.mid(0, 1));
        ZoomIn(*main.Chart);
        files = files.mid(0, 1);
        return *main.ChartCommands;
    }
    // A comparison window, shown without its modal run: split on a logarithmic axis, or overlaid.
    TComparisonWindow& window = six ? *program.Windows.SixSpectraWindow : *program.Windows.TwoSpectraWindow;
    (six ? main.SixSpectraDialog : main.TwoSpectraDialog).Confirm(files);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qWarning("comparison window not exposed");
    view.endsWith(QLatin1String("overlaid")) ? window.Overlay() : window.ToggleLogAxis();
    return window.Commands();
}

} // namespace

class TChartCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void pictureIsWhatTheWindowShows_data();
    void pictureIsWhatTheWindowShows();
    void tableIsTheData();
};

// clang-format off
void TChartCommandsTest::pictureIsWhatTheWindowShows_data()
{
    QTest::addColumn<QString>("view");
    for (const char* view : {"waveform", "spectrum", "two", "two overlaid", "six"})
        QTest::newRow(view) << view;
}
// clang-format on

// A right click on a chart opens the commands. The PNG of Ctrl+S and the clipboard's picture
// hold each chart shown as the window paints it, at its place; the SVG and PDF have the same size.
void TChartCommandsTest::pictureIsWhatTheWindowShows()
{
    QFETCH(QString, view);
    TFixtureFolder folder;
    TProgram program;
    QStringList files;
    TChartCommands& commands = Show(program, folder, view, files);
    QWidget& window = *qobject_cast<QWidget*>(commands.parent());
    auto* first = window.findChild<TChart*>();
    QTest::mouseClick(first, Qt::RightButton, Qt::NoModifier, first->PlotRect().center());
    QTRY_VERIFY(commands.Menu->isVisible());
    const QList<QAction*> offered = commands.Menu->actions();
    QCOMPARE(offered.mid(0, 3),
             (QList<QAction*>{commands.SavePictureAction, commands.CopyPictureAction, commands.SaveTableAction}));
    // Then a mask's band, offered over spectra only.
    const auto* band = window.findChild<TMaskBandCommands*>();
    QCOMPARE(offered.mid(4), (QList<QAction*>{band->ShowAction, band->HideAction}));
    QCOMPARE(band->ShowAction->isVisible(), view != QStringLiteral("waveform"));
    QVERIFY(!band->HideAction->isVisible());
    commands.Menu->close();
    program.Dialogs.Save(folder.File(QStringLiteral("picture"))); // the type's suffix is added
    commands.SavePictureAction->trigger();
    QCOMPARE(commands.PictureDialog.InitialDir, folder.Path());
    const QImage saved(folder.File(QStringLiteral("picture.png")), "PNG");
    QRect area;
    for (TChart* chart : window.findChildren<TChart*>())
        if (chart->isVisibleTo(&window))
            area |= QRect(chart->mapTo(&window, QPoint(0, 0)), chart->size());
    QCOMPARE(saved.size(), area.size());
    for (TChart* chart : window.findChildren<TChart*>())
        if (chart->isVisibleTo(&window))
            QVERIFY(saved.copy(QRect(chart->mapTo(&window, QPoint(0, 0)) - area.topLeft(), chart->size())) ==
                    chart->grab().toImage().convertToFormat(QImage::Format_RGB32));
    commands.CopyPictureAction->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), saved);

    QCOMPARE(commands.PictureDialog.Types.size(), SvgPictureAvailable() ? 3 : 2);
    // PDF on every system: one page of the area's size (whole points, 3/4 of a pixel each).
    program.Dialogs.Save(folder.File(QStringLiteral("picture.pdf")), 0);
    commands.SavePictureAction->trigger();
    const QByteArray pdf = ReadAll(folder.File(QStringLiteral("picture.pdf")));
    QVERIFY(pdf.startsWith("%PDF-"));
    QVERIFY(pdf.contains(QStringLiteral("/MediaBox [0 0 %1.000000 %2.000000]")
                             .arg(std::lround(area.width() * 0.75))
                             .arg(std::lround(area.height() * 0.75))
                             .toUtf8()));
    if (SvgPictureAvailable()) {
        // The name's suffix chooses the format over the type shown.
        program.Dialogs.Save(folder.File(QStringLiteral("picture.SVG")), 0);
        commands.SavePictureAction->trigger();
        QVERIFY(ReadAll(folder.File(QStringLiteral("picture.SVG")))
                    .contains(QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(area.width()).arg(area.height()).toUtf8()));
    }
    QVERIFY(program.Dialogs.Shown.empty());
}

// The spectra's CSV is tulvo-cli show's for the same files; the waveform's has a row per sample.
// A failed save leaves nothing.
void TChartCommandsTest::tableIsTheData()
{
    TFixtureFolder folder;
    TProgram program;
    QStringList files;
    for (const char* view : {"spectrum", "six", "waveform"}) {
        const QString csv = folder.File(QString::fromLatin1(view) + QStringLiteral(".csv"));
        program.Dialogs.Save(csv);
        Show(program, folder, QString::fromLatin1(view), files).SaveTableAction->trigger();
        if (view == std::string_view("waveform"))
            break;
        QProcess cli;
        cli.start(QStringLiteral(TULVO_CLI_PATH), QStringList{QStringLiteral("show")} + files);
        QVERIFY(cli.waitForFinished());
        QCOMPARE(ReadAll(csv), cli.readAll());
    }
    const QList<QByteArray> rows = ReadAll(folder.File(QStringLiteral("waveform.csv"))).split('\n');
    const TSamples samples = TwoToneSamples(0);
    QCOMPARE(rows.size(), SampleCount + 2); // the header, the samples, nothing after the last "\n"
    QCOMPARE(rows[0], QByteArray("Time (ms),Sample"));
    QCOMPARE(rows[3], "0.0390625," + QByteArray::number(samples[2]));
    QCOMPARE(rows[SampleCount], "319.98046875," + QByteArray::number(samples[SampleCount - 1]));

    // A file that cannot be written (a folder in its place) gives the error box naming it, and
    // nothing is left behind.
    QVERIFY(program.Dialogs.Shown.empty() && QDir(folder.Path()).mkdir(QStringLiteral("taken.csv")));
    const QStringList before = QDir(folder.Path()).entryList(QDir::AllEntries | QDir::Hidden);
    program.Dialogs.Save(folder.File(QStringLiteral("taken.csv")));
    program.Main.ChartCommands->SaveTableAction->trigger();
    QCOMPARE(program.Dialogs.Shown.size(), std::size_t{1});
    QCOMPARE(program.Dialogs.Shown.front().InformativeText, folder.File(QStringLiteral("taken.csv")));
    QCOMPARE(QDir(folder.Path()).entryList(QDir::AllEntries | QDir::Hidden), before);
}

QTEST_MAIN(TChartCommandsTest)
#include "ChartCommandsTest.moc"
