// Files given on the command line or dropped onto the main window: the view or message each set
// of files gives, one table for the rule both share.
#include "tests/support/TProgram.h"
#include "tests/support/WidgetFixtures.h"

#include "app/FileArguments.h"
#include "chart/TChart.h"
#include "views/TComparisonWindow.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace testsupport;

namespace {

// The program in a folder of the table's files, which is the current folder (the names are
// relative). Opened() names what the files opened: the dialog of the view or comparison window
// that keeps them, "refused", "error" or "none".
struct TOpening : TProgram {
    TOpening()
    {
        WriteSpectra(Folder, 7);
        WriteRecordings(Folder, 1);
        for (const char* copy : {"UPPER.SPM", "notes.txt"})
            QFile::copy(Folder.File(QStringLiteral("spm0.spm")), Folder.File(QString::fromLatin1(copy)));
        QFile::copy(Folder.File(QStringLiteral("rec000.wav")), Folder.File(QStringLiteral("LOUD.WAV")));
        QDir(Folder.Path()).mkdir(QStringLiteral("folder.spm"));
        QDir::setCurrent(Folder.Path());
        // Closes the comparison window that the files run modally.
        QObject::connect(&watch, &QTimer::timeout, [this] {
            for (TComparisonWindow* window :
                 {Windows.TwoSpectraWindow.get(), Windows.ThreeSpectraWindow.get(), Windows.SixSpectraWindow.get()})
                if (window->isVisible()) {
                    Comparison = window->ChartCount();
                    window->CloseButton()->click();
                }
        });
        watch.start(10);
    }
    ~TOpening() { QDir::setCurrent(QDir::tempPath()); }

    QString Opened() const
    {
        if (Comparison > 0)
            return Comparison == 2 ? Main.TwoSpectraDialog.Name
                                   : (Comparison == 3 ? Main.ThreeSpectraDialog.Name : Main.SixSpectraDialog.Name);
        if (!Dialogs.Shown.empty())
            return QLatin1String(Dialogs.Shown.front().Text == RefusedFilesText() ? "refused" : "error");
        if (!Main.Chart->isVisibleTo(&Main))
            return QStringLiteral("none");
        const bool spectrum = Main.Chart->BottomAxis()->Title()->Caption() == QStringLiteral("Гц");
        return spectrum ? Main.SpectrumDialog.Name : Main.RecordingDialog.Name;
    }

    // Drops `urls` onto the main window as a file manager does; false when it is not taken.
    bool Drop(const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(9, 9), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(&Main, &enter);
        QDropEvent drop(QPointF(9, 9), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        return enter.isAccepted() && QApplication::sendEvent(&Main, &drop) && drop.isAccepted();
    }

    TFixtureFolder Folder;
    int Comparison = 0;
    QTimer watch;
};

} // namespace

class TOpenFilesTest : public QObject {
    Q_OBJECT

private slots:
    void filesOpenTheirView_data();
    void filesOpenTheirView();
};

// clang-format off
void TOpenFilesTest::filesOpenTheirView_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("opened");
    const QStringList spectra{"spm0.spm", "spm1.spm", "spm2.spm", "spm3.spm", "spm4.spm", "spm5.spm", "spm6.spm"};
    QTest::newRow("no file") << QStringList{} << "none";
    QTest::newRow("one spectrum") << spectra.mid(0, 1) << "SpectrumDialog";
    QTest::newRow("upper-case spectrum") << QStringList{"UPPER.SPM"} << "SpectrumDialog";
    QTest::newRow("one recording") << QStringList{"rec000.wav"} << "RecordingDialog";
    QTest::newRow("upper-case recording") << QStringList{"LOUD.WAV"} << "RecordingDialog";
    QTest::newRow("two spectra") << spectra.mid(0, 2) << "TwoSpectraDialog";
    QTest::newRow("three spectra") << QStringList{"spm2.spm", "UPPER.SPM", "spm0.spm"} << "ThreeSpectraDialog";
    QTest::newRow("four spectra") << spectra.mid(0, 4) << "SixSpectraDialog";
    QTest::newRow("six spectra") << spectra.mid(0, 6) << "SixSpectraDialog";
    QTest::newRow("seven spectra") << spectra << "refused";
    QTest::newRow("spectrum and recording") << QStringList{"spm0.spm", "rec000.wav"} << "refused";
    QTest::newRow("other extension") << QStringList{"notes.txt"} << "refused";
    QTest::newRow("folder") << QStringList{"folder.spm"} << "refused";
    QTest::newRow("missing spectrum") << QStringList{"missing.spm"} << "error";
}
// clang-format on

// Each set of files, given as the command line gives them and dropped, opens the same thing.
void TOpenFilesTest::filesOpenTheirView()
{
    QFETCH(QStringList, names);
    QFETCH(QString, opened);
    for (const bool dropped : {false, true}) {
        TOpening program;
        TMainWindow& main = program.Main;
        QStringList paths;
        QList<QUrl> urls;
        for (const QString& name : names) {
            urls << QUrl::fromLocalFile(QDir::current().absoluteFilePath(name));
            paths << QDir::toNativeSeparators(urls.back().toLocalFile()); // as the program names files
        }
        if (!dropped)
            main.Boundary().Run(&main, [&] { main.OpenFiles(names); }); // as queued at start-up
        else if (names.isEmpty())
            QVERIFY(!program.Drop({QUrl(QStringLiteral("https://tulvo.invalid/a.spm"))})); // local files only
        else
            QVERIFY(program.Drop(urls));

        QTRY_COMPARE(program.Opened(), opened);
        QTRY_VERIFY(main.isVisible());
        QVERIFY(program.Dialogs.Executed.isEmpty());
        QCOMPARE(program.Dialogs.Shown.size(), std::size_t{opened == "refused" || opened == "error"});
        if (opened == QLatin1String("error"))
            QCOMPARE(program.Dialogs.Shown.front().InformativeText, paths.front());
        // The dialog of the view keeps the files as if they had been picked there.
        for (const TOpenDialog* dialog : {&main.RecordingDialog, &main.SpectrumDialog, &main.TwoSpectraDialog,
                                          &main.ThreeSpectraDialog, &main.SixSpectraDialog})
            if (dialog->Name == opened)
                QCOMPARE(dialog->Files, paths);
    }
}

QTEST_MAIN(TOpenFilesTest)
#include "OpenFilesTest.moc"
