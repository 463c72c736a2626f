#pragma once

#include "core/analysis/SpmFile.h"
#include "core/analysis/TSampleBlock.h"
#include "ui/TErrorBoundary.h"
#include "ui/TOpenDialog.h"

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class IDialogs;
class QAction;
class QDialog;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;
class TChart;
class TChartCommands;
class TFastLineSeries;
class TMaskBandCommands;
class TMaskCommands;
class TReadoutStrip;
class TRowsPanel;
class TSpectrogramView;
struct TChartPicture;
struct TNonconformingRecording;

// The main window: the menu, the chart of the waveform and single-spectrum views, the
// spectrogram view in the chart's place (TSpectrogramView), the batch
// run's busy label and progress bar, the read-out strip and the six open-file dialogs of the
// menu's commands. Files given on the command line or dropped onto the window open the view
// their menu command would show (OpenFiles). Ctrl+S, Ctrl+C and a right click on the chart save
// or copy what it shows (TChartCommands). While a comparison window runs this window is hidden; it shows itself again
// when that window finishes. Created once at start-up and kept until the program ends.
class TMainWindow : public QMainWindow {
    Q_OBJECT

public:
    // Pause after a batch run while its completion text stands, in milliseconds.
    static constexpr std::uint32_t CompletionPauseMs = 3000;
    // Left edge of the busy label while a batch run works, and during its completion text.
    static constexpr int BusyLeft = 244;
    static constexpr int CompletedLeft = 130;

    explicit TMainWindow(IDialogs& dialogs);
    ~TMainWindow() override;

    // The windows that "&2 графика", "&3 графика" and "&6 графиков" show modally (null: none);
    // this window becomes visible again whenever one of them finishes.
    void SetComparisonWindows(QDialog* twoSpectra, QDialog* threeSpectra, QDialog* sixSpectra);

    const TErrorBoundary& Boundary() const { return boundary_; }
    IDialogs& Dialogs() const { return boundary_.Dialogs(); }

    // --- Open-file dialogs -----------------------------------------------------------
    TOpenDialog RecordingsDialog;   // "&Обработка": several recordings
    TOpenDialog RecordingDialog;    // "&Сигнал": one recording
    TOpenDialog SpectrogramDialog;  // "Спектро&грамма": one recording
    TOpenDialog SpectrumDialog;     // "&1 график": the first picked spectrum file is used
    TOpenDialog TwoSpectraDialog;   // "&2 графика"
    TOpenDialog ThreeSpectraDialog; // "&3 графика"
    TOpenDialog SixSpectraDialog;   // "&6 графиков"

    // --- Controls (owned by the window) ------------------------------------------------
    QAction* BatchAction = nullptr;        // "&Обработка", a command on the menu bar
    QMenu* ViewMenu = nullptr;             // "&Просмотр"
    QAction* WaveformAction = nullptr;     // "&Сигнал"
    QAction* SpectrogramAction = nullptr;  // "Спектро&грамма"
    QMenu* SpectrumMenu = nullptr;         // "Спектр"
    QAction* OneSpectrumAction = nullptr;  // "&1 график"
    QAction* TwoSpectraAction = nullptr;   // "&2 графика"
    QAction* ThreeSpectraAction = nullptr; // "&3 графика"
    QAction* SixSpectraAction = nullptr;   // "&6 графиков"
    QMenu* MaskMenu = nullptr;             // "&Допуск"
    QAction* CreateMaskAction = nullptr;   // "&Создать допуск…"
    QAction* CheckMaskAction = nullptr;    // "&Проверить по допуску…"
    QAction* ExitAction = nullptr;         // "В&ыход", a command on the menu bar
    QFrame* TopRule = nullptr;             // the line under the menu bar
    TRowsPanel* ChartPanel = nullptr;      // the chart, the busy label and the progress bar
    TChart* Chart = nullptr;
    TFastLineSeries* Series = nullptr;
    TSpectrogramView* Spectrogram = nullptr; // in the chart panel, shown instead of the chart
    QLabel* BusyLabel = nullptr;
    QProgressBar* BatchProgress = nullptr;
    TReadoutStrip* ReadoutStrip = nullptr;
    TChartCommands* ChartCommands = nullptr; // save and copy of the chart
    TMaskBandCommands* MaskBand = nullptr;   // a mask shown against the spectrum view
    TMaskCommands* MaskCommands = nullptr;   // the commands of "&Допуск" and their check windows

    // --- Commands ------------------------------------------------------------------
    // "&Обработка": analyses the picked recordings (at most MaxBatchFiles) into spectrum
    // files beside them, then shows the completion text for BatchPauseMs; then a warning box
    // names the recordings not in the expected format, if any.
    void RunBatch();
    // "&Сигнал": the waveform of one recording against time in milliseconds.
    void ShowWaveform();
    // "Спектро&грамма": the waveform of one recording and the spectrogram of its frames.
    void ShowSpectrogram();
    // "&1 график": one spectrum file, on the scale the toggle last chose.
    void ShowSpectrum();
    // "&2 графика", "&3 графика", "&6 графиков" (count 2, 3 or 6): runs the command's dialog,
    // then hides this window and runs the comparison window modally.
    void CompareSpectra(int count);
    // Opens `files` (ClassifyFiles) as the menu command of their view does after its dialog
    // picked them, the dialog keeping them; refused files get a message box and the window
    // stays as it is. Errors are raised as the menu command raises them.
    void OpenFiles(const QStringList& files);
    // At start-up: shows this window, unless `files` open a comparison window (which hides it),
    // and then opens `files` from the event loop.
    void Start(const QStringList& files);

    // The chart (or the spectrogram view's charts) as the window shows it, for the picture
    // commands.
    TChartPicture Picture() const;
    // The data of the view shown: the waveform's samples, the spectrum or the frames, as CSV.
    std::string Table() const;
    // The read-out of the point under the mouse in the chart.
    void UpdateReadout();
    // A new view starts with an empty read-out.
    void ShowEmptyReadout();
    // Switches the chart's left axis between linear and logarithmic.
    void ToggleLogAxis();

    // Pauses for `durationMs` milliseconds while the message loop runs: window messages are
    // handled and menu commands can run nested inside the pause. Between messages it waits
    // for the next one instead of keeping the processor busy.
    void Delay(std::uint32_t durationMs);

    // The millisecond tick counter Delay reads (unsigned 32-bit, wrapping).
    std::function<std::uint32_t()> TickCount;
    // Pause that RunBatch passes to Delay (CompletionPauseMs; tests shorten it).
    std::uint32_t BatchPauseMs = CompletionPauseMs;

protected:
    void showEvent(QShowEvent* event) override;
    // Any local files may be dropped; they open as OpenFiles does, once the drop has ended.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct TComparison {
        TOpenDialog* Dialog;
        QDialog* Window;
    };

    void CreateMenu();
    void CreateControls();
    void CreateReadoutStrip(QWidget* client);
    // The mask commands, reading their units under the batch's progress display.
    void CreateMaskCommands();
    // The views with their file already picked in their dialog.
    void ShowPickedWaveform();
    void ShowPickedSpectrum();
    void RunComparison(const TComparison& comparison);
    // The chart fills the chart panel inside its bevel, less one pixel at the bottom.
    void LayoutChart();
    // Shows the busy label saying "wait" at its place and the progress bar for `fileCount`
    // files, and paints them at once.
    void ShowBusy(int fileCount);
    // Runs the batch over `files`, advancing the progress bar after each written file, and
    // gathers the recordings whose header check failed into nonconforming_.
    void AnalyseRecordings(const QStringList& files);
    // The warning box about nonconforming_, when there are any.
    void WarnOfNonconforming();
    // The completion text of a run of `fileCount` files, at its own place.
    void ShowCompletion(int fileCount);
    TComparison ComparisonFor(int count);

    TErrorBoundary boundary_;
    QDialog* twoSpectraWindow_ = nullptr;
    QDialog* threeSpectraWindow_ = nullptr;
    QDialog* sixSpectraWindow_ = nullptr;
    // The left-axis scale the spectrum view's toggle last chose; the waveform view always
    // draws on a linear axis and the spectrum view brings this scale back.
    bool spectrumLogarithmic_ = false;
    // The recordings of the last batch run that were analysed as raw samples although their
    // header says otherwise.
    std::vector<TNonconformingRecording> nonconforming_;
    bool shownBefore_ = false;
    // What the chart shows, for its table: set when a view has drawn its file.
    enum class TView { None, Waveform, Spectrum };
    TView view_ = TView::None;
    TSampleBlock recording_;
    TSpectrum spectrum_;
    std::string spectrumPath_;
};
