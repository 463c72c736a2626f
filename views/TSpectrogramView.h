#pragma once

#include "core/analysis/TRecordingFrames.h"
#include "plot/ChartPicture.h"

#include <QPoint>
#include <QString>
#include <QWidget>

#include <string>

class TBottomAxisLink;
class TChart;
class TChartCommands;
class TChartSeries;
class TColourGridSeries;
class TErrorBoundary;
class TReadoutStrip;

// The time view of one recording in a window's chart area: its waveform on top, a third of the
// height, and below it the spectrogram of the 15 frames behind its spectrum, both charts built
// and laid out as tulvo-cli plot --frames draws them (plot/SpectrogramChart.h): time from 0 to
// 320 ms on the same pixel columns in both, the frames' colours with their colour bar in dB at
// the right.
//
// A rubber-band zoom in either chart zooms both in time (the chart dragged on also in its own
// values: the spectrogram in frequency, the waveform in counts), a pan moves both in time, and
// undoing the zoom in either restores both (TBottomAxisLink).
//
// The window's read-out strip reads out the point under the mouse: over the waveform its time
// in ms and value (X, Y, as the waveform view reads them), over the spectrogram its time in ms,
// frequency in Hz and the level in dB of the frame value there (X, Y and Z; Z stays empty
// outside the plot area or the frames). The strip's linear/logarithmic toggle has no meaning
// here and is hidden. A right click on either chart opens the window's chart commands, which
// take Picture, Table and Title from the view while it shows.
//
// The view starts hidden; ShowRecording shows it. While it is shown the strip shows "Z = ";
// hidden (as the window hides it when another command takes the chart area), the strip is as
// the other views have it.
class TSpectrogramView : public QWidget {
    Q_OBJECT

public:
    // A hidden view in `parent`, reading out into `strip` and opening `commands` on a right
    // click; `boundary` catches the errors of its mouse handlers. All of them outlive the view.
    TSpectrogramView(QWidget* parent, const TErrorBoundary& boundary, TReadoutStrip& strip, TChartCommands& commands);
    ~TSpectrogramView() override;

    // Reads the recording `path` and analyses it as the batch does (a recording whose header
    // differs from the expected one is analysed as raw samples, without a warning, as the
    // waveform view shows it), then shows the view: both charts anew, unzoomed, titled with
    // `path`, the strip shown with its toggle hidden and an empty read-out. A file that cannot
    // be read or analysed raises the error of the read or the analysis naming `path`, and
    // leaves the view as it was.
    void ShowRecording(const QString& path);

    // The charts of the recording shown; null before the first one.
    TChart* WaveformChart() const { return waveform_; }
    TChart* SpectrogramChart() const { return spectrogram_; }
    // The spectrogram's grid: a column per frame, a row per band line (PlotSpectrogram).
    TColourGridSeries* Grid() const { return grid_; }
    // The frames shown.
    const TRecordingFrames& Frames() const { return frames_; }

    // Both charts as the view shows them, the waveform's above the spectrogram's.
    TChartPicture Picture() const;
    // The frames shown as tulvo-cli show --frames writes them: a row per band line, a column
    // per frame and the max-hold column (core/analysis/SpectrumTables.h).
    std::string Table() const;
    // The title an SVG picture carries: the spectrogram chart's, trimmed.
    QString Title() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Puts the charts in their places for the view's size.
    void LayOut();
    // The read-out of the point `position` (chart pixels) of the waveform or the spectrogram.
    void ReadWaveform(QPoint position);
    void ReadSpectrogram(QPoint position);

    const TErrorBoundary& boundary_;
    TReadoutStrip& strip_;
    TChartCommands& commands_;
    TChart* waveform_ = nullptr;
    TChart* spectrogram_ = nullptr;
    TChartSeries* curve_ = nullptr;
    TColourGridSeries* grid_ = nullptr;
    TBottomAxisLink* link_ = nullptr;
    TRecordingFrames frames_;
};
