#pragma once

#include "ui/TErrorBoundary.h"
#include "ui/TOpenDialog.h"

#include <QMainWindow>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class IDialogs;
class QAction;
class QDialog;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class TCentreAnchors;
class TChart;
class TFastLineSeries;
class TPanel;
class TRecordingAnalysis;

// The main window, fmTulvo: the menu, the chart of the waveform and single-spectrum views,
// the batch run's busy label and progress bar, the read-out strip, the six open-file dialogs
// and the working storage that the comparison windows share with it. Created once at start-up
// and kept until the program ends.
class TfmTulvo : public QMainWindow
{
    Q_OBJECT

public:
    // Pause after a batch run while its completion text stands, in milliseconds.
    static constexpr std::uint32_t CompletionPauseMs = 3000;
    // Designed place of the busy label laWait, and its place during the completion text.
    static constexpr int WaitLeft = 244;
    static constexpr int CompletedLeft = 130;

    explicit TfmTulvo(IDialogs& dialogs);
    ~TfmTulvo() override;

    // The comparison windows that "&2 графика", "&3 графика" and "&6 графиков" show modally.
    void SetComparisonWindows(QDialog* fm2SPM, QDialog* fm3SPM, QDialog* fm6SPM);

    const TErrorBoundary& Boundary() const { return boundary_; }
    IDialogs& Dialogs() const { return boundary_.Dialogs(); }

    // --- Working storage shared with the comparison windows -----------------------------
    // Chart rows sharing the height of a window's chart panel (1, 2 or 3).
    std::uint8_t ChartRows = 0;
    // Files picked for a batch run, or spectra shown by a comparison window.
    std::uint16_t FileCount = 0;
    // Values under the mouse in the current chart.
    double CursorX = 0.0;
    double CursorY = 0.0;
    // A chart title kept by a comparison window while its charts are overlaid.
    QString SavedTitle;

    // --- Open-file dialogs -----------------------------------------------------------
    TOpenDialog odDann;    // "&Обработка": several recordings
    TOpenDialog odDann2;   // "&Сигнал": one recording
    TOpenDialog odSpm1;    // "&1 график": the first picked spectrum file is used
    TOpenDialog odSPM2;    // "&2 графика"
    TOpenDialog odSPM3;    // "&3 графика"
    TOpenDialog odSPM6;    // "&6 графиков"

    // --- Controls (owned by the window) ------------------------------------------------
    QAction* N1 = nullptr;     // "&Обработка", a command on the menu bar
    QMenu* N2 = nullptr;       // "&Просмотр"
    QAction* N3 = nullptr;     // "&Сигнал"
    QMenu* N4 = nullptr;       // "Спектр"
    QAction* N11 = nullptr;    // "&1 график"
    QAction* N21 = nullptr;    // "&2 графика"
    QAction* N31 = nullptr;    // "&3 графика"
    QAction* N61 = nullptr;    // "&6 графиков"
    QAction* N5 = nullptr;     // "В&ыход", a command on the menu bar
    QFrame* Bevel1 = nullptr;
    TPanel* pa1 = nullptr;
    TChart* Chart1 = nullptr;
    TFastLineSeries* Series1 = nullptr;
    QLabel* laWait = nullptr;
    QProgressBar* pgRecord = nullptr;
    TPanel* pa2 = nullptr;
    QPushButton* bbLogAxis = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* laX = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* laY = nullptr;

    // --- Handlers --------------------------------------------------------------------
    void FormCreate();
    void FormShow();
    void pa1Resize();
    void N1Click();    // the batch run
    void N3Click();    // the waveform
    void N11Click();   // one spectrum
    void N21Click();
    void N31Click();
    void N61Click();
    void N5Click();
    void Chart1MouseMove();
    void bbLogAxisClick();

    // Pauses for `durationMs` milliseconds while the message loop runs: window messages are
    // handled and menu commands can run nested inside the pause. Between messages it waits
    // for the next one instead of keeping the processor busy.
    void Delay(std::uint32_t durationMs);

    // The millisecond tick counter Delay reads (unsigned 32-bit, wrapping).
    std::function<std::uint32_t()> TickCount;
    // Pause that N1Click passes to Delay (CompletionPauseMs; tests shorten it).
    std::uint32_t BatchPauseMs = CompletionPauseMs;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateMenu();
    void CreateControls();
    void CreateReadoutStrip();
    void SetChart1Height(int height);
    // Hides the chart and the read-out strip and runs the dialog; false when it is cancelled.
    bool PickForComparison(TOpenDialog& dialog);
    // Hides this window and shows `window` modally.
    void ShowComparison(QDialog* window);
    void ShowReadout(double x, double y);

    TErrorBoundary boundary_;
    // The batch run's workspace, allocated once with the window.
    std::unique_ptr<TRecordingAnalysis> analysis_;
    std::unique_ptr<TCentreAnchors> pa2Anchors_;
    QDialog* fm2SPM_ = nullptr;
    QDialog* fm3SPM_ = nullptr;
    QDialog* fm6SPM_ = nullptr;
    // The left-axis scale the spectrum view's toggle last chose; the waveform view always
    // draws on a linear axis and the spectrum view brings this scale back.
    bool spectrumLogarithmic_ = false;
    bool shownBefore_ = false;
};
