// The windowed batch run, "&Обработка": the spectrum files it writes, the 500-file limit, a
// failure part-way, the progress bar painted after every file, the busy label and the
// completion text, and the closing pause that runs the message loop.
#include "GuiTestSupport.h"
#include "TProgram.h"
#include "TScriptedDialogs.h"

#include "ui/TPanel.h"
#include "app/TTulvoForms.h"
#include "app/uTulvo.h"
#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include <cstring>

using namespace guitest;

namespace {

// The program with a short closing pause, so that each run ends quickly.
struct TBatchProgram : TProgram
{
    TBatchProgram() { fm.BatchPauseMs = 60; }
};

QString SpmOf(const QString& wav)
{
    return wav.left(wav.size() - 4) + QStringLiteral(".spm");
}

// What a paint of the progress bar or the busy label showed.
struct TPaintSeen
{
    bool Label;   // a paint of laWait, else of pgRecord
    int Value;
    int Maximum;
    QString Wait;
    int WaitLeft;
    bool WaitVisible;
};

// Records every paint of a widget while it lives.
class TPaintRecorder : public QObject
{
public:
    explicit TPaintRecorder(TfmTulvo& fm) : fm_(fm)
    {
        fm.pgRecord->installEventFilter(this);
        fm.laWait->installEventFilter(this);
    }
    ~TPaintRecorder() override
    {
        fm_.pgRecord->removeEventFilter(this);
        fm_.laWait->removeEventFilter(this);
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
            Seen.push_back({watched == fm_.laWait, fm_.pgRecord->value(), fm_.pgRecord->maximum(),
                            fm_.laWait->text(), fm_.laWait->x(), fm_.laWait->isVisible()});
        return QObject::eventFilter(watched, event);
    }

private:
    TfmTulvo& fm_;
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

class TBatchRunTest : public QObject
{
    Q_OBJECT

private slots:
    void writesTheSameFilesAsTheCommandLine();
    void moreThan500FilesReadNothing();
    void exactly500FilesAreProcessed();
    void failureAtRecordingKeepsEarlierFiles();
    void progressBarIsPaintedAfterEveryFile();
    void everyRunSaysWaitAtItsPlace();
    void completionTextStandsForThePause();
    void pauseRunsANestedCommand();
};

void TBatchRunTest::writesTheSameFilesAsTheCommandLine()
{
#ifndef TULVO_CLI_PATH
    QSKIP("the command-line tool is not built");
#else
    TBatchProgram program;
    TFolder folder;
    TFolder reference;
    const QStringList recordings = MakeRecordings(folder, 5);
    QStringList copies;
    for (const QString& recording : recordings) {
        copies << reference.File(QFileInfo(recording).fileName());
        QVERIFY(QFile::copy(recording, copies.back()));
    }
    program.dialogs.Pick(recordings);
    program.fm.N1->trigger();
    QVERIFY(program.dialogs.Shown.empty());

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
    TFolder folder;
    const QStringList one = MakeRecordings(folder, 1);
    QStringList picked;
    for (int k = 0; k < 501; ++k)
        picked << one.front();
    program.dialogs.Pick(picked);
    TPaintRecorder paints(program.fm);
    program.fm.N1->trigger();

    QCOMPARE(program.dialogs.Shown.size(), std::size_t{1});
    const TMessageBox& box = program.dialogs.Shown.front();
    QCOMPARE(box.Icon, QMessageBox::Critical);
    QCOMPARE(box.Caption, QStringLiteral("Error"));
    QCOMPARE(box.Text, QStringLiteral("Введено более 500 файлов! ОСТАНОВ!"));
    QCOMPARE(box.Button, QStringLiteral("&Abort"));
    QVERIFY(!QFile::exists(SpmOf(one.front())));
    QVERIFY(paints.Seen.empty());
    QVERIFY(!program.fm.laWait->isVisible());
    QVERIFY(!program.fm.pgRecord->isVisible());
}

void TBatchRunTest::exactly500FilesAreProcessed()
{
    TBatchProgram program;
    TFolder folder;
    const QStringList sources = MakeRecordings(folder, 5, QStringLiteral("src"));
    QStringList picked;
    for (int k = 0; k < 500; ++k) {
        picked << folder.File(QStringLiteral("r%1.wav").arg(k, 3, 10, QLatin1Char('0')));
        QVERIFY(QFile::copy(sources[k % 5], picked.back()));
    }
    program.dialogs.Pick(picked);
    QString completion;
    QTimer::singleShot(0, &program.fm, [&] { completion = program.fm.laWait->text(); });
    program.fm.N1->trigger();

    QVERIFY(program.dialogs.Shown.empty());
    for (const QString& recording : picked)
        QVERIFY2(QFile::exists(SpmOf(recording)), qPrintable(recording));
    QCOMPARE(completion, QStringLiteral("Обработка 500 файлов завершена!"));
    QCOMPARE(int(program.fm.FileCount), 500);
}

void TBatchRunTest::failureAtRecordingKeepsEarlierFiles()
{
    TBatchProgram program;
    TFolder folder;
    QStringList picked = MakeRecordings(folder, 5);
    const QString missing = folder.File(QStringLiteral("missing.wav"));
    picked.insert(2, missing);
    program.dialogs.Pick(picked);
    program.fm.N1->trigger();

    QCOMPARE(program.dialogs.Shown.size(), std::size_t{1});
    QCOMPARE(program.dialogs.Shown.front().Text, QStringLiteral("File not found."));
    QCOMPARE(program.dialogs.Shown.front().Caption, QStringLiteral("tulvo"));
    QCOMPARE(program.dialogs.Shown.front().Icon, QMessageBox::Critical);
    QVERIFY(QFile::exists(SpmOf(picked[0])));
    QVERIFY(QFile::exists(SpmOf(picked[1])));
    for (int k = 2; k < picked.size(); ++k)
        QVERIFY2(!QFile::exists(SpmOf(picked[k])), qPrintable(picked[k]));
    // The busy display does not stay behind the error box.
    QVERIFY(!program.fm.laWait->isVisible());
    QVERIFY(!program.fm.pgRecord->isVisible());
    QCOMPARE(program.fm.pgRecord->value(), 0);
}

void TBatchRunTest::progressBarIsPaintedAfterEveryFile()
{
    TBatchProgram program;
    TFolder folder;
    const QStringList recordings = MakeRecordings(folder, 4);
    program.dialogs.Pick(recordings);
    TPaintRecorder paints(program.fm);
    program.fm.N1->trigger();

    // Painted at the start and after each of the four files, with the bar's maximum at the
    // number of files, before the run returned to the message loop.
    std::vector<int> values;
    for (const TPaintSeen& seen : paints.Of(false)) {
        QCOMPARE(seen.Maximum, 4);
        if (values.empty() || values.back() != seen.Value)
            values.push_back(seen.Value);
    }
    QCOMPARE(values, (std::vector<int>{0, 1, 2, 3, 4}));
    QVERIFY(!program.fm.pgRecord->isVisible());
    QCOMPARE(program.fm.pgRecord->value(), 0);
}

void TBatchRunTest::everyRunSaysWaitAtItsPlace()
{
    TBatchProgram program;
    TFolder folder;
    const QStringList recordings = MakeRecordings(folder, 3);
    for (int run = 0; run < 2; ++run) {
        program.dialogs.Pick(recordings);
        TPaintRecorder paints(program.fm);
        program.fm.N1->trigger();
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
        QVERIFY(!program.fm.laWait->isVisible());
    }
}

void TBatchRunTest::completionTextStandsForThePause()
{
    TBatchProgram program;
    TfmTulvo& fm = program.fm;
    fm.BatchPauseMs = TfmTulvo::CompletionPauseMs;
    TFolder folder;
    program.dialogs.Pick(MakeRecordings(folder, 3));
    QString early, late;
    int left = 0;
    bool visibleLate = false;
    bool progressHidden = false;
    QTimer::singleShot(0, &fm, [&] {
        early = fm.laWait->text();
        left = fm.laWait->x();
        progressHidden = !fm.pgRecord->isVisible();
    });
    QElapsedTimer wall;
    wall.start();
    QTimer::singleShot(2700, &fm, [&] {
        late = fm.laWait->text();
        visibleLate = fm.laWait->isVisible();
    });
    fm.N1->trigger();
    QVERIFY(wall.elapsed() >= 3000);
    QCOMPARE(early, QStringLiteral("Обработка 3 файлов завершена!"));
    QCOMPARE(left, 130);
    QVERIFY(progressHidden);
    QCOMPARE(late, early);
    QVERIFY(visibleLate);
    QVERIFY(!fm.laWait->isVisible());
    QVERIFY(!fm.Chart1->isVisible());
    QVERIFY(!fm.pa2->isVisible());
}

void TBatchRunTest::pauseRunsANestedCommand()
{
    TBatchProgram program;
    TfmTulvo& fm = program.fm;
    fm.BatchPauseMs = 400;
    TFolder folder;
    const QStringList recordings = MakeRecordings(folder, 2);
    program.dialogs.Pick(recordings);
    program.dialogs.Pick({recordings.front()});
    bool ranDuringPause = false;
    QTimer::singleShot(50, &fm, [&] {
        const bool pausing = fm.laWait->isVisible();
        fm.N3->trigger();
        ranDuringPause = pausing && fm.Series1->Count() == SampleCount;
    });
    fm.N1->trigger();
    QVERIFY(ranDuringPause);
    QCOMPARE(program.dialogs.Executed, (QStringList{QStringLiteral("odDann"), QStringLiteral("odDann2")}));
    QVERIFY(fm.Chart1->isVisible());
    QVERIFY(!fm.laWait->isVisible());
}

QTEST_MAIN(TBatchRunTest)
#include "BatchRunTest.moc"
