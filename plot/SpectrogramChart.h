#pragma once

#include "core/analysis/TRecordingFrames.h"
#include "core/analysis/TSampleBlock.h"
#include "plot/THeatmapScale.h"

#include <QSize>
#include <QString>

class QWidget;
class TChart;
class TChartSeries;
class TColourGridSeries;

// The time view of a recording: its waveform and the spectrogram of the 15
// frames behind its spectrum, as charts over one time axis from 0 to 320 ms.
// Shared by tulvo-cli plot --frames and the windows.

// The waveform view's curve: sample i at WaveformTimeMs(i) ms, its value in
// counts (the series is cleared first).
void PlotWaveform(const TSampleBlock& recording, TChartSeries& series);

// The waveform chart as the waveform view draws it (MakeChart, a red curve,
// title "С И Г Н А Л  " and name, "мс" below), its time axis fixed at 0 to
// 320 ms so that it lines up with the spectrogram.
TChart* MakeWaveformChart(QWidget* parent, const TSampleBlock& recording, const QString& name);

// The colour scale of frames: logarithmic, from 60 dB below their largest
// value up to it (THeatmapScale::ForBands); lower values take its lowest colour.
THeatmapScale FramesScale(const TRecordingFrames& frames);

// A value's level in dB, 10 log10(value) (power on the spectrum's scale).
double LevelDb(double value);

// Adds the spectrogram of frames to chart: a colour grid (TColourGridSeries)
// with a column per frame, 20 ms wide and centred on the middle of its 40 ms
// (frame k from 20 k + 10 to 20 k + 30 ms), and a row per band line, 25 Hz
// high and centred on its frequency; each cell's colour the viridis colour of
// its value on FramesScale. The time axis is fixed at 0 to 320 ms and the
// frequency axis at 1000 to 10000 Hz; the colour bar shows the levels in dB
// ("дБ") over the scale's 60 dB. Returns the series (the chart owns it).
TColourGridSeries* PlotSpectrogram(const TRecordingFrames& frames, TChart& chart);

// A chart with the spectrogram of frames: MakeChart's design, title
// "С П Е К Т Р О Г Р А М М А  " and name, "мс" below and "Гц" at the left.
TChart* MakeSpectrogramChart(QWidget* parent, const TRecordingFrames& frames, const QString& name);

// Lays a recording's time view out in an area of `size` pixels: the waveform chart on top, a
// third of the height (integer division), the spectrogram chart below it with the rest, both
// as wide as the area and placed from its top-left corner; then lines their plot areas up
// (AlignPlotAreas), so that a time falls on the same pixel column in both.
void LayOutTimeCharts(TChart& waveform, TChart& spectrogram, QSize size);
