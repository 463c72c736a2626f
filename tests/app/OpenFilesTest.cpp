// Files given on the command line or dropped onto the main window: which view or message each
// set of files gives (one table for the rule both share), and the drop itself.
#include "tests/support/TProgram.h"
#include "tests/support/WidgetFixtures.h"

#include "app/FileArguments.h"
#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "views/TComparisonWindow.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace testsupport;

namespace {

// Closes the comparison window that a command runs modally, noting which one it was.
class TComparisonWatch {
public:
    explicit TComparisonWatch(TProgramWindows& windows)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this, &windows] {
            const std::pair<const char*, TComparisonWindow*> all[] = {{"two", windows.TwoSpectraWindow.get()},
                                                                      {"three", windows.ThreeSpectraWindow.get()},
                                                                      {"six", windows.SixSpectraWindow.get()}};
            for (const auto& [name, window] : all)
                if (window->isVisible()) {
                    Shown = QString::fromLatin1(name);
                    window->CloseButton()->click();
                }
        });
        timer_.start(10);
    }
    QString Shown;

private:
    QTimer timer_;
};

// A folder with the files of the table, made the current folder so that the names are relative.
struct TFiles : TFixtureFolder {
    TFiles()
    {
        WriteSpectra(*this, 7);
        QFile::copy(File(QStringLiteral("spm0.spm")), File(QStringLiteral("UPPER.SPM")));
        WriteRecordings(*this, 2);
        QFile::copy(File(QStringLiteral("rec000.wav")), File(QStringLiteral("LOUD.WAV")));
        QFile::copy(File(QStringLiteral("spm0.spm")), File(QStringLiteral("notes.txt")));
        QDir(Path()).mkdir(QStringLiteral("folder.spm"));
        QDir::setCurrent(Path());
    }
    ~TFiles() { QDir::setCurrent(QDir::tempPath()); }
};

QStringList Spectra(int count)
{
    QStringList names;
    for (int k = 0; k < count; ++k)
        names << QStringLiteral("spm%1.spm").arg(k);
    return names;
}

// What the main window shows after the files were opened: a view, a comparison window, a box.
QString Outcome(TProgram& program, const TComparisonWatch& watch)
{
    TMainWindow& main = program.Main;
    if (!watch.Shown.isEmpty())
        return watch.Shown;
    if (!program.Dialogs.Shown.empty()) {
        const TMessageBox& box = program.Dialogs.Shown.front();
        return box.Text == RefusedFilesText() ? QStringLiteral("refused") : QStringLiteral("error");
    }
    if (!main.Chart->isVisibleTo(&main))
        return QStringLiteral("none");
    return main.ReadoutStrip->LogAxisButton->isVisibleTo(&main) ? QStringLiteral("spectrum")
                                                                : QStringLiteral("waveform");
}

// The dialog that keeps the files of each outcome.
const TOpenDialog* DialogOf(TMainWindow& main, const QString& outcome)
{
    if (outcome == QLatin1String("waveform"))
        return &main.RecordingDialog;
    if (outcome == QLatin1String("spectrum"))
        return &main.SpectrumDialog;
    if (outcome == QLatin1String("two"))
        return &main.TwoSpectraDialog;
    if (outcome == QLatin1String("three"))
        return &main.ThreeSpectraDialog;
    if (outcome == QLatin1String("six"))
        return &main.SixSpectraDialog;
    return nullptr;
}

QStringList FullPaths(const QStringList& names)
{
    QStringList paths;
    for (const QString& name : names)
        paths << QDir::current().absoluteFilePath(name);
    return paths;
}

} // namespace

class TOpenFilesTest : public QObject {
    Q_OBJECT

private slots:
    void filesOpenTheirView_data();
    void filesOpenTheirView();
    void droppedFilesOpenAsGiven();
};

// clang-format off
void TOpenFilesTest::filesOpenTheirView_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("no file") << QStringList{} << "none";
    QTest::newRow("one spectrum") << Spectra(1) << "spectrum";
    QTest::newRow("upper-case extension") << QStringList{"UPPER.SPM"} << "spectrum";
    QTest::newRow("one recording") << QStringList{"rec001.wav"} << "waveform";
    QTest::newRow("upper-case recording") << QStringList{"LOUD.WAV"} << "waveform";
    QTest::newRow("two spectra") << Spectra(2) << "two";
    QTest::newRow("three spectra") << QStringList{"spm2.spm", "UPPER.SPM", "spm0.spm"} << "three";
    QTest::newRow("four spectra") << Spectra(4) << "six";
    QTest::newRow("five spectra") << Spectra(5) << "six";
    QTest::newRow("six spectra") << Spectra(6) << "six";
    QTest::newRow("seven spectra") << Spectra(7) << "refused";
    QTest::newRow("two recordings") << QStringList{"rec000.wav", "rec001.wav"} << "refused";
    QTest::newRow("spectrum and recording") << QStringList{"spm0.spm", "rec000.wav"} << "refused";
    QTest::newRow("other extension") << QStringList{"notes.txt"} << "refused";
    QTest::newRow("folder") << QStringList{"folder.spm"} << "refused";
    QTest::newRow("missing spectrum") << QStringList{"missing.spm"} << "error";
    QTest::newRow("missing recording") << QStringList{"missing.wav"} << "error";
}
// clang-format on

void TOpenFilesTest::filesOpenTheirView()
{
    QFETCH(QStringList, names);
    QFETCH(QString, outcome);
    TFiles files;
    TProgram program;
    TMainWindow& main = program.Main;
    TComparisonWatch watch(program.Windows);
    // What the command line queues at start-up, and a drop after it ends.
    main.Boundary().Run(&main, [&] { main.OpenFiles(names); });

    QCOMPARE(Outcome(program, watch), outcome);
    QVERIFY(program.Dialogs.Executed.isEmpty());
    QVERIFY(main.isVisible());
    QVERIFY(program.Dialogs.Shown.size() <= 1);
    if (outcome == QLatin1String("error"))
        QCOMPARE(program.Dialogs.Shown.front().InformativeText, FullPaths(names).front());
    if (const TOpenDialog* dialog = DialogOf(main, outcome)) {
        // Kept by the command's dialog as if picked there.
        QCOMPARE(dialog->Files, FullPaths(names));
        QCOMPARE(dialog->InitialDir, QDir::currentPath());
    }
    if (outcome == QLatin1String("spectrum"))
        QCOMPARE(main.Series->Count(), SpectrumLines);
}

void TOpenFilesTest::droppedFilesOpenAsGiven()
{
    TFiles files;
    TProgram program;
    TMainWindow& main = program.Main;
    TComparisonWatch watch(program.Windows);
    const auto drop = [&main](const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = main.rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(&main, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&main, &dropped);
        return dropped.isAccepted();
    };

    // Only local files are taken.
    QVERIFY(!drop({QUrl(QStringLiteral("https://tulvo.invalid/a.spm"))}));
    QVERIFY(drop({QUrl::fromLocalFile(files.File(QStringLiteral("spm0.spm"))),
                  QUrl::fromLocalFile(files.File(QStringLiteral("spm1.spm")))}));
    QTRY_COMPARE(watch.Shown, QStringLiteral("two"));
    QCOMPARE(main.TwoSpectraDialog.Files, FullPaths(Spectra(2)));
    QTRY_VERIFY(main.isVisible());

    // What the command line refuses, a drop refuses with the same box.
    QVERIFY(drop({QUrl::fromLocalFile(files.File(QStringLiteral("notes.txt")))}));
    QTRY_COMPARE(program.Dialogs.Shown.size(), std::size_t{1});
    QCOMPARE(program.Dialogs.Shown.front().Text, RefusedFilesText());
}

QTEST_MAIN(TOpenFilesTest)
#include "OpenFilesTest.moc"
