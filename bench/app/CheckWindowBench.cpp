// "Проверить по допуску…" over 500 spectrum files, from the menu command to the check window
// shown and painted (on the platform QT_QPA_PLATFORM names): the units read and checked under
// the progress bar, the table sorted, the first unit's chart drawn. The goal is within 1 s; the
// floor is the units read and checked alone.
#include "app/TMainWindow.h"
#include "core/analysis/SpmFile.h"
#include "core/qc/UnitCheck.h"
#include "core/qc/MaskFile.h"
#include "core/qc/ToleranceMask.h"
#include "ui/IDialogs.h"
#include "ui/LocalPath.h"
#include "ui/TOpenDialog.h"
#include "views/TCheckWindow.h"
#include "views/TMaskCommands.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <random>

namespace {

constexpr int UnitCount = 500;

// Answers the mask's dialog with the mask and the units' dialog with the units.
class TCheckDialogs final : public IDialogs {
public:
    TCheckDialogs(QString mask, QStringList units) : mask_(std::move(mask)), units_(std::move(units)) {}
    bool Execute(TOpenDialog& dialog, QWidget*) override
    {
        dialog.Confirm(dialog.Name == QStringLiteral("MaskDialog") ? QStringList{mask_} : units_);
        return true;
    }
    bool ExecuteSave(TSaveDialog&, QWidget*) override { return false; }
    void Show(const TMessageBox&, QWidget*) override {}

private:
    QString mask_;
    QStringList units_;
};

void WriteFile(const QString& path, const char* bytes, qsizetype size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes, size) != size)
        qFatal("cannot write %s", qPrintable(path));
}

// 500 spectrum files of one product (a broad hump, each line scattered by a few percent; one
// unit in fifty with a line ten times too loud), and a mask learned from the first 30.
struct TUnits {
    QTemporaryDir Folder;
    QString Mask;
    QStringList Files;

    TUnits()
    {
        std::mt19937 random(29);
        std::normal_distribution<double> scatter(0.0, 0.04);
        TMaskLearner learner;
        for (int k = 0; k < UnitCount; ++k) {
            TSpectrum spectrum;
            spectrum.Scale = 1e-6L;
            for (int i = 0; i < SpectrumLines; ++i) {
                const double hump = 2000.0 + 6000.0 * std::exp(-std::pow((i - 150) / 60.0, 2));
                double code = hump * (1.0 + scatter(random));
                if (k % 50 == 7 && i == 200)
                    code *= 10;
                spectrum.Codes[static_cast<std::size_t>(i)] =
                    static_cast<std::int16_t>(std::clamp(std::lround(code), 1L, 32767L));
            }
            BandFromCodes(spectrum.Codes, spectrum.Scale, spectrum.Values);
            const auto image = SpectrumFileImage(spectrum.Scale, spectrum.Codes);
            Files << Folder.filePath(QStringLiteral("unit%1.spm").arg(k, 3, 10, QLatin1Char('0')));
            WriteFile(Files.back(), reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size()));
            if (k < 30)
                learner.Add(spectrum);
        }
        const std::string text = MaskFileText(learner.Learn(TMaskOptions{}));
        Mask = Folder.filePath(QStringLiteral("mask.csv"));
        WriteFile(Mask, text.data(), static_cast<qsizetype>(text.size()));
    }
};

void BM_CheckWindowOver500SpectrumFiles(benchmark::State& state)
{
    static const TUnits units;
    TCheckDialogs dialogs(units.Mask, units.Files);
    TMainWindow window(dialogs);
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        window.CheckMaskAction->trigger();
        TCheckWindow* check = window.MaskCommands->CheckWindows().back();
        check->repaint();
        QApplication::processEvents();
        state.PauseTiming();
        if (check->Units().size() != static_cast<std::size_t>(UnitCount))
            state.SkipWithError("not every unit was checked");
        delete check;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CheckWindowOver500SpectrumFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: the same units read and checked in core, as many workers, no window.
void BM_CheckUnitsAlone(benchmark::State& state)
{
    static const TUnits units;
    const TToleranceMask mask = ReadMaskFile(LocalPath(units.Mask));
    std::vector<std::string> paths;
    for (const QString& file : units.Files)
        paths.push_back(LocalPath(file));
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckUnits(mask, paths, {}, 0));
}
BENCHMARK(BM_CheckUnitsAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
