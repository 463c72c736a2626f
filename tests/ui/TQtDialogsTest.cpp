// The program's own dialogs, run for real on the offscreen platform: the open-file dialog reopens
// where the picked files are with them selected, every typed name is picked or refused with a
// message, and the error box names the file that failed.
#include "tests/support/TScriptedDialogs.h"
#include "tests/support/WidgetFixtures.h"

#include "core/analysis/SpmFile.h"
#include "ui/LocalPath.h"
#include "ui/TErrorBoundary.h"
#include "ui/TOpenDialog.h"
#include "ui/TQtDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <limits>
#include <stdexcept>

using namespace testsupport;

namespace {

// What a person did in one run of an open-file dialog, and what the dialog showed meanwhile.
struct TDialogRun {
    bool Accepted = false;
    QString ShownFolder;      // the folder the dialog opened in
    QString ShownText;        // its file-name box as it opened
    int ShownSelected = -1;   // rows selected in its list once the folder is read
    bool OpenEnabled = false; // the Open button after typing
    QString Refusal;          // the text of a message box the dialog showed, if any
};

QLineEdit* NameBox(QWidget* dialog) { return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")); }

QPushButton* OpenButton(QWidget* dialog)
{
    return dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Open);
}

// Runs dialog through TQtDialogs: in the folder `browse` if not empty (as the person would reach
// it through the list), types `typed` key by key into the file-name box (nothing when null) and
// presses Enter; a refusal box is read and closed, and a dialog still open then is cancelled.
TDialogRun RunDialog(TOpenDialog& dialog, const QString& typed, const QString& browse = {}, int expectSelected = -1)
{
    TDialogRun run;
    const auto act = [&](QFileDialog* fileDialog) {
        run.ShownFolder = QDir::toNativeSeparators(fileDialog->directory().absolutePath());
        run.ShownText = NameBox(fileDialog)->text();
        auto* list = fileDialog->findChild<QListView*>(QStringLiteral("listView"));
        if (expectSelected >= 0)
            QTRY_COMPARE(list->selectionModel()->selectedRows().size(), expectSelected);
        run.ShownSelected = static_cast<int>(list->selectionModel()->selectedRows().size());
        if (!browse.isEmpty())
            fileDialog->setDirectory(browse);
        if (!typed.isNull()) {
            QApplication::setActiveWindow(fileDialog);
            NameBox(fileDialog)->setFocus();
            QTRY_VERIFY(NameBox(fileDialog)->hasFocus());
            NameBox(fileDialog)->selectAll();
            QTest::keyClicks(NameBox(fileDialog), typed);
        }
        run.OpenEnabled = OpenButton(fileDialog)->isEnabled();
        QTimer::singleShot(0, fileDialog, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                run.Refusal = box->text();
                box->accept();
            }
        });
        QTest::keyClick(NameBox(fileDialog), Qt::Key_Return);
    };
    QTimer::singleShot(0, [&] {
        auto* fileDialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(fileDialog != nullptr);
        act(fileDialog);
        if (QApplication::activeModalWidget() == fileDialog)
            fileDialog->reject();
    });
    TQtDialogs dialogs;
    run.Accepted = dialogs.Execute(dialog, nullptr);
    return run;
}

QString Quoted(const QStringList& names)
{
    return QLatin1Char('"') + names.join(QStringLiteral("\" \"")) + QLatin1Char('"');
}

} // namespace

class TQtDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void typedNamesArePickedOrRefused_data();
    void typedNamesArePickedOrRefused();
    void reopensWhereThePickedFilesAre_data();
    void reopensWhereThePickedFilesAre();
    void everyFilterIsOffered();
    void errorBoxNamesTheFile_data();
    void errorBoxNamesTheFile();
    void informativeTextIsPlain();

private:
    TFixtureFolder folder_;
    TFixtureFolder other_;
};

void TQtDialogsTest::initTestCase()
{
    // The recordings folder of the typed-list fault: one name the filter hides among two it shows.
    for (const QString& name : {QStringLiteral("0.wav"), QStringLiteral("a.wav"), QStringLiteral("b.wave")})
        WriteWave(folder_.File(name), TwoToneSamples(0));
    for (const QString& name : {QStringLiteral("c.wav"), QStringLiteral("d.wav"), QStringLiteral("e.wav")})
        WriteWave(other_.File(name), TwoToneSamples(1));
}

void TQtDialogsTest::typedNamesArePickedOrRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("picked"); // full paths; empty when refused
    QTest::addColumn<QString>("refused");    // the name the refusal names
    QTest::addColumn<QString>("previous");   // the file picked before, selected as the dialog opens

    const QString a = folder_.File(QStringLiteral("a.wav"));
    const QString b = folder_.File(QStringLiteral("b.wave"));
    const QString zero = folder_.File(QStringLiteral("0.wav"));
    const QString c = other_.File(QStringLiteral("c.wav"));
    const QString none;
    QTest::newRow("hidden name last") << Quoted({"a.wav", "b.wave"}) << QStringList{a, b} << none << none;
    QTest::newRow("hidden name first") << Quoted({"b.wave", "a.wav"}) << QStringList{b, a} << none << none;
    QTest::newRow("first listed, hidden") << Quoted({"0.wav", "b.wave"}) << QStringList{zero, b} << none << none;
    QTest::newRow("hidden name alone") << QStringLiteral("b.wave") << QStringList{b} << none << none;
    QTest::newRow("full path elsewhere") << Quoted({"a.wav", c}) << QStringList{a, c} << none << none;
    QTest::newRow("hidden name last, after a pick")
        << Quoted({"a.wav", "b.wave"}) << QStringList{a, b} << none << QStringLiteral("0.wav");
    QTest::newRow("missing name") << Quoted({"a.wav", "zz.wav"}) << QStringList{} << QStringLiteral("zz.wav") << none;
    QTest::newRow("missing first") << Quoted({"zz.wav", "b.wave"}) << QStringList{} << QStringLiteral("zz.wav") << none;
    QTest::newRow("missing name, after a pick")
        << Quoted({"a.wav", "zz.wav"}) << QStringList{} << QStringLiteral("zz.wav") << QStringLiteral("0.wav");
}

void TQtDialogsTest::typedNamesArePickedOrRefused()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, picked);
    QFETCH(QString, refused);
    QFETCH(QString, previous);

    TOpenDialog dialog(QStringLiteral("RecordingsDialog"), QStringLiteral("Файлы данных"), QStringLiteral("*.wav"),
                       true);
    dialog.InitialDir = folder_.Path();
    if (!previous.isEmpty())
        dialog.Confirm({folder_.File(previous)});
    const QStringList before = dialog.Files;
    const TDialogRun run = RunDialog(dialog, typed);
    QCOMPARE(run.Accepted, !picked.isEmpty());
    QCOMPARE(run.OpenEnabled, !picked.isEmpty());
    if (picked.isEmpty()) {
        QVERIFY2(run.Refusal.startsWith(refused + QLatin1Char('\n')), qPrintable(run.Refusal));
        QCOMPARE(dialog.Files, before); // a refused pick changes nothing
    } else {
        QCOMPARE(run.Refusal, QString());
        QCOMPARE(dialog.Files, picked);
    }
}

// A dialog of several filters offers them all, in order, the first chosen as it opens.
void TQtDialogsTest::everyFilterIsOffered()
{
    TOpenDialog dialog(QStringLiteral("UnitsDialog"),
                       {{QStringLiteral("Записи"), QStringLiteral("*.wav *.wave")},
                        {QStringLiteral("Файлы данных"), QStringLiteral("*.wav")}},
                       true);
    dialog.InitialDir = folder_.Path();
    QStringList offered;
    QString chosen;
    QTimer::singleShot(0, [&] {
        auto* fileDialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(fileDialog != nullptr);
        offered = fileDialog->nameFilters();
        chosen = fileDialog->selectedNameFilter();
        fileDialog->reject();
    });
    TQtDialogs dialogs;
    QVERIFY(!dialogs.Execute(dialog, nullptr));
    QCOMPARE(offered, (QStringList{QStringLiteral("Записи (*.wav *.wave)"), QStringLiteral("Файлы данных (*.wav)")}));
    QCOMPARE(chosen, offered.value(0));
}

void TQtDialogsTest::reopensWhereThePickedFilesAre_data()
{
    QTest::addColumn<bool>("multiSelect");
    QTest::addColumn<QString>("browse"); // the folder reached through the list before typing
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("folder");        // where the dialog reopens
    QTest::addColumn<QString>("selectionText"); // its file-name box then
    QTest::addColumn<int>("listed");            // of those, the files its list selects

    const QString c = other_.File(QStringLiteral("c.wav"));
    const QString d = other_.File(QStringLiteral("d.wav"));
    QTest::newRow("single, typed full path")
        << false << QString() << c << other_.Path() << QStringLiteral("c.wav") << 1;
    QTest::newRow("single, browsed") << false << other_.Path() << QStringLiteral("d.wav") << other_.Path()
                                     << QStringLiteral("d.wav") << 1;
    QTest::newRow("several, typed full paths")
        << true << QString() << Quoted({c, d}) << other_.Path() << Quoted({"c.wav", "d.wav"}) << 2;
    QTest::newRow("several, browsed") << true << other_.Path() << Quoted({"e.wav", "c.wav"}) << other_.Path()
                                      << Quoted({"e.wav", "c.wav"}) << 2;
    QTest::newRow("several, two folders")
        << true << QString() << Quoted({"a.wav", c}) << folder_.Path() << Quoted({"a.wav", c}) << 1;
    QTest::newRow("several, hidden name")
        << true << QString() << Quoted({"b.wave", "a.wav"}) << folder_.Path() << Quoted({"b.wave", "a.wav"}) << 1;
}

// Picked once, then opened again and confirmed as it stands: it opens in the folder of the
// picked files with them in its file-name box and selected in its list, and Open picks them again.
void TQtDialogsTest::reopensWhereThePickedFilesAre()
{
    QFETCH(bool, multiSelect);
    QFETCH(QString, browse);
    QFETCH(QString, typed);
    QFETCH(QString, folder);
    QFETCH(QString, selectionText);
    QFETCH(int, listed);

    TOpenDialog dialog(QStringLiteral("Dialog"), QStringLiteral("Файлы данных"), QStringLiteral("*.wav"), multiSelect);
    dialog.InitialDir = folder_.Path();
    QVERIFY(RunDialog(dialog, typed, browse).Accepted);
    const QStringList picked = dialog.Files;
    QCOMPARE(dialog.InitialDir, folder);

    const TDialogRun again = RunDialog(dialog, QString(), QString(), listed);
    QCOMPARE(again.ShownFolder, folder);
    QCOMPARE(again.ShownText, selectionText);
    QCOMPARE(again.ShownSelected, listed);
    QVERIFY(again.OpenEnabled);
    QCOMPARE(again.Refusal, QString());
    QVERIFY(again.Accepted);
    QCOMPARE(dialog.Files, picked);
}

void TQtDialogsTest::errorBoxNamesTheFile_data()
{
    QTest::addColumn<QString>("path"); // the file the handler reads; empty: an error of no file
    QTest::addColumn<double>("scale");
    QTest::addColumn<QString>("text");

    QTest::newRow("missing file") << folder_.File(QStringLiteral("нет.spm")) << 0.0
                                  << QStringLiteral("File not found.");
    QTest::newRow("infinite scale") << folder_.File(QStringLiteral("бесконечность.spm"))
                                    << std::numeric_limits<double>::infinity()
                                    << QStringLiteral("Invalid floating point operation.");
    QTest::newRow("NaN scale") << folder_.File(QStringLiteral("nan &lt;b&gt;.spm"))
                               << std::numeric_limits<double>::quiet_NaN()
                               << QStringLiteral("Invalid floating point operation.");
    QTest::newRow("overflowing scale") << folder_.File(QStringLiteral("huge.spm")) << 1e300
                                       << QStringLiteral("Floating point overflow.");
    QTest::newRow("no file") << QString() << 0.0 << QStringLiteral("Logarithmic axis.");
}

// The box keeps its text and names the file that failed as its informative text.
void TQtDialogsTest::errorBoxNamesTheFile()
{
    QFETCH(QString, path);
    QFETCH(double, scale);
    QFETCH(QString, text);

    TSpectrumCodes codes{};
    codes.fill(10000);
    if (!path.isEmpty() && !text.startsWith(QStringLiteral("File not found")))
        WriteSpectrum(path, static_cast<long double>(scale), codes);
    TScriptedDialogs dialogs;
    const TErrorBoundary boundary(dialogs);
    boundary.Run(nullptr, [&] {
        if (path.isEmpty())
            throw std::runtime_error("Logarithmic axis");
        ReadSpectrum(LocalPath(path));
    });
    QCOMPARE(dialogs.Shown.size(), std::size_t{1});
    QCOMPARE(dialogs.Shown[0].Text, text);
    QCOMPARE(dialogs.Shown[0].InformativeText, path);
    QCOMPARE(dialogs.Shown[0].Icon, QMessageBox::Critical);
}

// A path is shown as it is, also when it looks like markup.
void TQtDialogsTest::informativeTextIsPlain()
{
    TMessageBox box;
    box.Icon = QMessageBox::Critical;
    box.Caption = QStringLiteral("tulvo");
    box.Text = QStringLiteral("File not found.");
    box.Button = QStringLiteral("OK");
    box.InformativeText = QStringLiteral("/data/<b>запись</b>.spm");
    QString shownText;
    QString shownPath;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* messageBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(messageBox != nullptr);
        shownText = messageBox->text();
        shownPath = messageBox->informativeText();
        auto* label = messageBox->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
        QVERIFY(label != nullptr);
        format = label->textFormat();
        messageBox->accept();
    });
    TQtDialogs().Show(box, nullptr);
    QCOMPARE(shownText, box.Text);
    QCOMPARE(shownPath, box.InformativeText);
    QCOMPARE(format, Qt::PlainText);
}

QTEST_MAIN(TQtDialogsTest)
#include "TQtDialogsTest.moc"
