// The windowed batch run, "&Обработка": the spectrum files it writes, the 500-file limit, a
// failure part-way, the progress bar painted after every file, the busy label and the
// completion text, and the closing pause that runs the message loop.
#include "tests/support/TProgram.h"
#include "tests/support/WidgetFixtures.h"

#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "ui/TReadoutStrip.h"
#include "views/TComparisonWindow.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstring>

using namespace testsupport;

namespace {

// The program with a short closing pause, so that each run ends quickly.
struct TBatchProgram : TProgram {
    TBatchProgram() { Main.BatchPauseMs = 60; }
};

QString SpmOf(const QString& wav) { return wav.left(wav.size() - 4) + QStringLiteral(".spm"); }

// What a paint of the progress bar or the busy label showed.
struct TPaintSeen {
    bool Label; // a paint of the busy label, else of the progress bar
    int Value;
    int Maximum;
    QString Wait;
    int WaitLeft;
    bool WaitVisible;
};

// Records every paint of a widget while it lives.
class TPaintRecorder : public QObject {
public:
    explicit TPaintRecorder(TMainWindow& main) : main_(main)
    {
        main.BatchProgress->installEventFilter(this);
        main.BusyLabel->installEventFilter(this);
    }
    ~TPaintRecorder() override
    {
        main_.BatchProgress->removeEventFilter(this);
        main_.BusyLabel->removeEventFilter(this);
    }
    std::vector<TPaintSeen> Seen;

    // The paints of the progress bar, or of the busy label.
    std::vector<TPaintSeen> Of(bool label) const
    {
        std::vector<TPaintSeen> seen;
        for (const TPaintSeen& paint : Seen)
            if (paint.Label == label)
                seen.push_back(paint);
        return seen;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            Seen.push_back({watched == main_.BusyLabel, main_.BatchProgress->value(), main_.BatchProgress->maximum(),
                            main_.BusyLabel->text(), main_.BusyLabel->x(), main_.BusyLabel->isVisible()});
        return QObject::eventFilter(watched, event);
    }

private:
    TMainWindow& main_;
};

// The largest code of a spectrum file.
int LargestCode(const QByteArray& spm)
{
    int largest = INT_MIN;
    for (int i = 0; i < SpectrumLines; ++i) {
        std::int16_t code;
        std::memcpy(&code, spm.constData() + 10 + 2 * i, 2);
        largest = std::max<int>(largest, code);
    }
    return largest;
}

} // namespace

class TBatchRunTest : public QObject {
    Q_OBJECT

private slots:
    void writesTheSameFilesAsTheCommandLine();
    void moreThan500FilesReadNothing();
    void exactly500FilesAreProcessed();
    void failureAtRecordingKeepsEarlierFiles();
    void progressBarIsPaintedAfterEveryFile();
    void everyRunSaysWaitAtItsPlace();
    void completionTextStandsForThePause();
    void pauseRunsANestedCommand_data();
    void pauseRunsANestedCommand();
    void nonconformingRecordingsGetOneWarningBox_data();
    void nonconformingRecordingsGetOneWarningBox();
};

void TBatchRunTest::writesTheSameFilesAsTheCommandLine()
{
#ifndef TULVO_CLI_PATH
    QSKIP("the command-line tool is not built");
#else
    TBatchProgram program;
    TFixtureFolder folder;
    TFixtureFolder reference;
    const QStringList recordings = WriteRecordings(folder, 5);
    QStringList copies;
    for (const QString& recording : recordings) {
        copies << reference.File(QFileInfo(recording).fileName());
        QVERIFY(QFile::copy(recording, copies.back()));
    }
    program.Dialogs.Pick(recordings);
    program.Main.BatchAction->trigger();
    QVERIFY(program.Dialogs.Shown.empty());

    QProcess cli;
    cli.start(QStringLiteral(TULVO_CLI_PATH), QStringList{QStringLiteral("batch")} + copies);
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    for (int k = 0; k < recordings.size(); ++k) {
        const QByteArray windowed = ReadAll(SpmOf(recordings[k]));
        QCOMPARE(windowed.size(), 732);
        QCOMPARE(LargestCode(windowed), 10000);
        QCOMPARE(windowed, ReadAll(SpmOf(copies[k])));
    }
#endif
}

void TBatchRunTest::moreThan500FilesReadNothing()
{
    TBatchProgram program;
    TFixtureFolder folder;
    const QStringList one = WriteRecordings(folder, 1);
    QStringList picked;
    for (int k = 0; k < 501; ++k)
        picked << one.front();
    program.Dialogs.Pick(picked);
    TPaintRecorder paints(program.Main);
    program.Main.BatchAction->trigger();

    QCOMPARE(program.Dialogs.Shown.size(), std::size_t{1});
    const TMessageBox& box = program.Dialogs.Shown.front();
    QCOMPARE(box.Icon, QMessageBox::Critical);
    QCOMPARE(box.Caption, QStringLiteral("Error"));
    QCOMPARE(box.Text, QStringLiteral("Введено более 500 файлов! ОСТАНОВ!"));
    QCOMPARE(box.Button, QStringLiteral("&Abort"));
    QVERIFY(!QFile::exists(SpmOf(one.front())));
    QVERIFY(paints.Seen.empty());
    QVERIFY(!program.Main.BusyLabel->isVisible());
    QVERIFY(!program.Main.BatchProgress->isVisible());
}

void TBatchRunTest::exactly500FilesAreProcessed()
{
    TBatchProgram program;
    TFixtureFolder folder;
    const QStringList sources = WriteRecordings(folder, 5, QStringLiteral("src"));
    QStringList picked;
    for (int k = 0; k < 500; ++k) {
        picked << folder.File(QStringLiteral("r%1.wav").arg(k, 3, 10, QLatin1Char('0')));
        QVERIFY(QFile::copy(sources[k % 5], picked.back()));
    }
    program.Dialogs.Pick(picked);
    QString completion;
    QTimer::singleShot(0, &program.Main, [&] { completion = program.Main.BusyLabel->text(); });
    program.Main.BatchAction->trigger();

    QVERIFY(program.Dialogs.Shown.empty());
    for (const QString& recording : picked)
        QVERIFY2(QFile::exists(SpmOf(recording)), qPrintable(recording));
    QCOMPARE(completion, QStringLiteral("Обработка 500 файлов завершена!"));
}

void TBatchRunTest::failureAtRecordingKeepsEarlierFiles()
{
    TBatchProgram program;
    TFixtureFolder folder;
    QStringList picked = WriteRecordings(folder, 5);
    const QString missing = folder.File(QStringLiteral("missing.wav"));
    picked.insert(2, missing);
    program.Dialogs.Pick(picked);
    program.Main.BatchAction->trigger();

    QCOMPARE(program.Dialogs.Shown.size(), std::size_t{1});
    QCOMPARE(program.Dialogs.Shown.front().Text, QStringLiteral("File not found."));
    QCOMPARE(program.Dialogs.Shown.front().Caption, QStringLiteral("tulvo"));
    QCOMPARE(program.Dialogs.Shown.front().Icon, QMessageBox::Critical);
    QCOMPARE(program.Dialogs.Shown.front().InformativeText, missing); // the recording that stopped it
    QVERIFY(QFile::exists(SpmOf(picked[0])));
    QVERIFY(QFile::exists(SpmOf(picked[1])));
    for (int k = 2; k < picked.size(); ++k)
        QVERIFY2(!QFile::exists(SpmOf(picked[k])), qPrintable(picked[k]));
    // The busy display does not stay behind the error box.
    QVERIFY(!program.Main.BusyLabel->isVisible());
    QVERIFY(!program.Main.BatchProgress->isVisible());
    QCOMPARE(program.Main.BatchProgress->value(), 0);
}

void TBatchRunTest::progressBarIsPaintedAfterEveryFile()
{
    TBatchProgram program;
    TFixtureFolder folder;
    const QStringList recordings = WriteRecordings(folder, 4);
    program.Dialogs.Pick(recordings);
    TPaintRecorder paints(program.Main);
    program.Main.BatchAction->trigger();

    // Painted at the start and after each of the four files, with the bar's maximum at the
    // number of files, before the run returned to the message loop.
    std::vector<int> values;
    for (const TPaintSeen& seen : paints.Of(false)) {
        QCOMPARE(seen.Maximum, 4);
        if (values.empty() || values.back() != seen.Value)
            values.push_back(seen.Value);
    }
    QCOMPARE(values, (std::vector<int>{0, 1, 2, 3, 4}));
    QVERIFY(!program.Main.BatchProgress->isVisible());
    QCOMPARE(program.Main.BatchProgress->value(), 0);
}

void TBatchRunTest::everyRunSaysWaitAtItsPlace()
{
    TBatchProgram program;
    TFixtureFolder folder;
    const QStringList recordings = WriteRecordings(folder, 3);
    for (int run = 0; run < 2; ++run) {
        program.Dialogs.Pick(recordings);
        TPaintRecorder paints(program.Main);
        program.Main.BatchAction->trigger();
        // While the files are processed, the bar and the label say "wait" at its designed place.
        QVERIFY(!paints.Of(false).empty());
        for (const TPaintSeen& seen : paints.Of(false)) {
            QVERIFY(seen.WaitVisible);
            QCOMPARE(seen.Wait, QStringLiteral("Ж Д И Т Е !"));
            QCOMPARE(seen.WaitLeft, 244);
        }
        // The label itself is painted before the first file, not only once the run is over.
        const std::vector<TPaintSeen> label = paints.Of(true);
        QVERIFY(label.size() >= 2);
        QCOMPARE(label.front().Wait, QStringLiteral("Ж Д И Т Е !"));
        QCOMPARE(label.front().WaitLeft, 244);
        QCOMPARE(label.front().Value, 0);
        QCOMPARE(label.back().Wait, QStringLiteral("Обработка 3 файлов завершена!"));
        QVERIFY(!program.Main.BusyLabel->isVisible());
    }
}

void TBatchRunTest::completionTextStandsForThePause()
{
    TBatchProgram program;
    TMainWindow& main = program.Main;
    main.BatchPauseMs = TMainWindow::CompletionPauseMs;
    TFixtureFolder folder;
    program.Dialogs.Pick(WriteRecordings(folder, 3));
    QString early, late;
    int left = 0;
    bool visibleLate = false;
    bool progressHidden = false;
    QTimer::singleShot(0, &main, [&] {
        early = main.BusyLabel->text();
        left = main.BusyLabel->x();
        progressHidden = !main.BatchProgress->isVisible();
    });
    QElapsedTimer wall;
    wall.start();
    QTimer::singleShot(2700, &main, [&] {
        late = main.BusyLabel->text();
        visibleLate = main.BusyLabel->isVisible();
    });
    main.BatchAction->trigger();
    QVERIFY(wall.elapsed() >= 3000);
    QCOMPARE(early, QStringLiteral("Обработка 3 файлов завершена!"));
    QCOMPARE(left, 130);
    QVERIFY(progressHidden);
    QCOMPARE(late, early);
    QVERIFY(visibleLate);
    QVERIFY(!main.BusyLabel->isVisible());
    QVERIFY(!main.Chart->isVisible());
    QVERIFY(!main.ReadoutStrip->isVisible());
}

// clang-format off
void TBatchRunTest::pauseRunsANestedCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("waveform") << "waveform" << "RecordingDialog";
    QTest::newRow("two_spectra") << "two_spectra" << "TwoSpectraDialog";
    QTest::newRow("six_spectra") << "six_spectra" << "SixSpectraDialog";
}
// clang-format on

// A command chosen during the completion text runs at once, nested inside the pause: a view
// in the main window, or a comparison window run modally with the main window hidden, which
// shows the main window again when it closes. The run then ends as it would have.
void TBatchRunTest::pauseRunsANestedCommand()
{
    QFETCH(QString, command);
    QFETCH(QString, dialog);
    TBatchProgram program;
    TMainWindow& main = program.Main;
    main.BatchPauseMs = 600;
    TFixtureFolder folder;
    const QStringList recordings = WriteRecordings(folder, 2);
    program.Dialogs.Pick(recordings);
    TComparisonWindow* comparison = nullptr;
    if (command == QLatin1String("waveform")) {
        program.Dialogs.Pick({recordings.front()});
    } else {
        comparison = command == QLatin1String("two_spectra") ? program.Windows.TwoSpectraWindow.get()
                                                             : program.Windows.SixSpectraWindow.get();
        program.Dialogs.Pick({SpmOf(recordings[0]), SpmOf(recordings[1])});
    }
    const QString completion = QStringLiteral("Обработка 2 файлов завершена!");
    bool pausing = false;
    bool comparisonRan = false;
    bool pauseGoesOn = false;
    QElapsedTimer wall;
    QTimer::singleShot(50, &main, [&] {
        pausing = main.BusyLabel->isVisible() && main.BusyLabel->text() == completion;
        if (comparison) {
            QTimer::singleShot(0, comparison, [&] {
                comparisonRan =
                    !main.isVisible() && comparison->isVisible() && comparison->OwnSeries(1)->Count() == SpectrumLines;
                comparison->CloseButton()->click();
            });
            (command == QLatin1String("two_spectra") ? main.TwoSpectraAction : main.SixSpectraAction)->trigger();
        } else {
            main.WaveformAction->trigger();
            comparisonRan = main.Chart->isVisible() && main.Series->Count() == SampleCount;
        }
        // Back from the command, still inside the pause: the completion text stands.
        pauseGoesOn = main.isVisible() && main.BusyLabel->isVisible() && main.BusyLabel->text() == completion;
    });
    wall.start();
    main.BatchAction->trigger();
    QVERIFY(wall.elapsed() >= 600);
    QVERIFY(pausing);
    QVERIFY(comparisonRan);
    QVERIFY(pauseGoesOn);
    QCOMPARE(program.Dialogs.Executed, (QStringList{QStringLiteral("RecordingsDialog"), dialog}));
    QVERIFY(program.Dialogs.Shown.empty());
    QVERIFY(main.isVisible());
    QVERIFY(!main.BusyLabel->isVisible());
    QCOMPARE(main.BusyLabel->x(), TMainWindow::BusyLeft);
    QCOMPARE(main.Chart->isVisible(), !comparison);
    if (comparison)
        QVERIFY(!comparison->isVisible());
}

// clang-format off
void TBatchRunTest::nonconformingRecordingsGetOneWarningBox_data()
{
    // Recordings in list order: 'c' conforming, 's' stereo 44100 Hz, 'r' 48000 Hz.
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<QString>("text"); // empty: no box
    const QString head = QStringLiteral(" не в ожидаемом формате (1 канал, 51200 Гц, 16 бит PCM, отсчёты с байта 44) и ");
    QTest::newRow("conforming") << "ccc" << QString();
    QTest::newRow("one stereo") << "csc"
        << QStringLiteral("1 запись") + head + QStringLiteral("обработана как простой поток отсчётов:\n"
                          "\nrec001.wav: 2 канала, 44100 Гц");
    QTest::newRow("mixed") << "srcs"
        << QStringLiteral("3 записи") + head + QStringLiteral("обработаны как простой поток отсчётов:\n"
                          "\nrec000.wav: 2 канала, 44100 Гц\nrec001.wav: 48000 Гц\nrec003.wav: 2 канала, 44100 Гц");
    QTest::newRow("more than five") << "rrrrrrrc"
        << QStringLiteral("7 записей") + head + QStringLiteral("обработаны как простой поток отсчётов:\n"
                          "\nrec000.wav: 48000 Гц\nrec001.wav: 48000 Гц\nrec002.wav: 48000 Гц\nrec003.wav: 48000 Гц"
                          "\nrec004.wav: 48000 Гц\nи ещё 2 записи");
}
// clang-format on

void TBatchRunTest::nonconformingRecordingsGetOneWarningBox()
{
    QFETCH(QString, kinds);
    QFETCH(QString, text);
    TBatchProgram program;
    TFixtureFolder folder;
    const QStringList recordings = WriteRecordings(folder, static_cast<int>(kinds.size()));
    QByteArray conformingSpectrum;
    for (int k = 0; k < kinds.size(); ++k) {
        if (kinds[k] == QLatin1Char('c'))
            continue;
        // Channels at byte 22, the rate at byte 24; the samples stay at byte 44.
        QFile file(recordings[k]);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const quint32 rate = kinds[k] == QLatin1Char('s') ? 44100 : 48000;
        const char fields[6] = {kinds[k] == QLatin1Char('s') ? '\2' : '\1',
                                0,
                                static_cast<char>(rate & 0xFF),
                                static_cast<char>(rate >> 8),
                                0,
                                0};
        QVERIFY(file.seek(22));
        QCOMPARE(file.write(fields, 6), qint64{6});
    }
    bool labelHiddenAtBox = false;
    program.Dialogs.OnShow = [&](const TMessageBox&) { labelHiddenAtBox = !program.Main.BusyLabel->isVisible(); };
    program.Dialogs.Pick(recordings);
    program.Main.BatchAction->trigger();

    for (const QString& recording : recordings)
        QCOMPARE(ReadAll(SpmOf(recording)).size(), 732);
    if (text.isEmpty()) {
        QVERIFY(program.Dialogs.Shown.empty());
        return;
    }
    QCOMPARE(program.Dialogs.Shown.size(), std::size_t{1});
    const TMessageBox& box = program.Dialogs.Shown.front();
    QCOMPARE(box.Icon, QMessageBox::Warning);
    QCOMPARE(box.Caption, QStringLiteral("tulvo"));
    QCOMPARE(box.Button, QStringLiteral("OK"));
    QCOMPARE(box.Text, text);
    QVERIFY(labelHiddenAtBox); // after the completion text has stood its time
}

QTEST_MAIN(TBatchRunTest)
#include "BatchRunTest.moc"
