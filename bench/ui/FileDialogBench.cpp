// Opening the recordings dialog when it remembers 500 picked recordings: from creating the
// dialog until it is shown with its folder read and the selection in place. TFileDialog restores
// the selection in one step; the baseline hands the same quoted list to QFileDialog::selectFile,
// which selects the names one at a time. Run on the platform QT_QPA_PLATFORM names.
#include "ui/TFileDialog.h"
#include "ui/TOpenDialog.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>

namespace {

constexpr int RecordingCount = 500;

// 500 recording names (the files' contents do not matter to the dialog) in a folder that lives
// as long as the program.
const QStringList& Recordings()
{
    static QTemporaryDir folder;
    static QStringList files;
    if (files.isEmpty()) {
        for (int k = 0; k < RecordingCount; ++k) {
            const QString path = folder.filePath(QStringLiteral("rec%1.wav").arg(k, 3, 10, QLatin1Char('0')));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                qFatal("cannot write %s", qPrintable(path));
            files << path;
        }
    }
    return files;
}

TOpenDialog RememberingDialog()
{
    TOpenDialog dialog(QStringLiteral("RecordingsDialog"), QStringLiteral("Файлы данных"), QStringLiteral("*.wav"),
                       true);
    dialog.Confirm(Recordings());
    return dialog;
}

// Shows dialog and returns once its folder is read and the events that follow are handled.
void ShowUntilRead(QFileDialog& dialog)
{
    auto* model = qobject_cast<QFileSystemModel*>(dialog.findChild<QListView*>(QStringLiteral("listView"))->model());
    const QString folder = dialog.directory().absolutePath();
    QEventLoop loop;
    QObject::connect(model, &QFileSystemModel::directoryLoaded, &loop, [&](const QString& path) {
        if (path == folder)
            loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    dialog.show();
    loop.exec();
    QApplication::processEvents();
}

void BM_OpenRememberingDialog(benchmark::State& state)
{
    const TOpenDialog remembered = RememberingDialog();
    for (auto _ : state) {
        TFileDialog dialog(remembered, nullptr);
        ShowUntilRead(dialog);
        benchmark::DoNotOptimize(dialog.selectedFiles().size());
    }
}
BENCHMARK(BM_OpenRememberingDialog)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenSelectingNameByName(benchmark::State& state)
{
    const TOpenDialog remembered = RememberingDialog();
    QStringList quoted;
    for (const QString& file : remembered.Files)
        quoted << QLatin1Char('"') + QFileInfo(file).fileName() + QLatin1Char('"');
    for (auto _ : state) {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.setNameFilter(remembered.NameFilter());
        dialog.setDirectory(remembered.InitialDir);
        dialog.selectFile(quoted.join(QLatin1Char(' ')));
        ShowUntilRead(dialog);
        benchmark::DoNotOptimize(dialog.selectedFiles().size());
    }
}
BENCHMARK(BM_OpenSelectingNameByName)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace
