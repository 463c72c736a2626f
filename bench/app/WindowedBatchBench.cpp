// The windowed batch run against the command line's run over the same 500 recordings: the
// window's RunBatch (progress bar and all, on the platform QT_QPA_PLATFORM names) beside
// RunBatchParallel with one and with two workers, which is what tulvo-cli batch runs. Every
// iteration replaces the 500 spectrum files.
#include "app/TMainWindow.h"
#include "core/base/AnalysisConstants.h"
#include "core/batch/BatchRun.h"
#include "ui/IDialogs.h"
#include "ui/LocalPath.h"
#include "ui/TOpenDialog.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int RecordingCount = 500;

// Answers every open-file dialog with the same recordings; message boxes are dropped.
class TPickingDialogs final : public IDialogs {
public:
    explicit TPickingDialogs(QStringList files) : files_(std::move(files)) {}
    bool Execute(TOpenDialog& dialog, QWidget*) override
    {
        dialog.Files = files_;
        dialog.FileName = files_.value(0);
        return true;
    }
    bool ExecuteSave(TSaveDialog&, QWidget*) override { return false; }
    void Show(const TMessageBox&, QWidget*) override {}

private:
    QStringList files_;
};

// 500 recordings of noise with two tones, in a folder that lives as long as the program.
const QStringList& Recordings()
{
    static QTemporaryDir folder;
    static QStringList files;
    if (files.isEmpty()) {
        std::mt19937 random(7);
        std::normal_distribution<double> noise(0.0, 2500.0);
        for (int k = 0; k < RecordingCount; ++k) {
            QByteArray bytes(WavHeaderSize, '\0');
            for (int n = 0; n < SampleCount; ++n) {
                const double x = noise(random) + 6000.0 * std::sin(0.1 * n * (1 + k % 7));
                const auto sample = static_cast<std::int16_t>(std::clamp(x, -32768.0, 32767.0));
                bytes.append(reinterpret_cast<const char*>(&sample), sizeof sample);
            }
            const QString path = folder.filePath(QStringLiteral("rec%1.wav").arg(k, 3, 10, QLatin1Char('0')));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                qFatal("cannot write %s", qPrintable(path));
            files << path;
        }
    }
    return files;
}

std::vector<std::string> RecordingPaths()
{
    std::vector<std::string> paths;
    for (const QString& file : Recordings())
        paths.push_back(LocalPath(file));
    return paths;
}

void BM_WindowedBatch(benchmark::State& state)
{
    TPickingDialogs dialogs(Recordings());
    TMainWindow window(dialogs);
    window.BatchPauseMs = 0;
    window.show();
    QApplication::processEvents();
    for (auto _ : state)
        window.RunBatch();
}
BENCHMARK(BM_WindowedBatch)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CommandLineBatch(benchmark::State& state)
{
    const std::vector<std::string> paths = RecordingPaths();
    TBatchOptions options;
    options.Jobs = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(RunBatchParallel(paths, {}, options));
}
BENCHMARK(BM_CommandLineBatch)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
