#pragma once

#include "cli/PlotCommand.h"
#include "cli/TToolContext.h"
#include "core/analysis/SpmFile.h"
#include "core/analysis/TRecordingFrames.h"

#include <QApplication>
#include <QImage>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The drawing half of tulvo-cli plot, in the helper tulvo-plot (Qt).

// Draws spectra, read from the files names, as one picture of
// arguments.Width x arguments.Height pixels (defaults filled in when 0): one
// chart per file from top to bottom sharing the height (the last takes what
// integer division leaves), or with Overlay all in one chart, in the
// comparison windows' colours (red, green, blue, purple 128,0,64, black,
// brown 128,64,0, then again from red). Each chart is the program's own:
// title "С П Е К Т Р  " and the file's name, bottom caption "Гц", 361 points
// at 1000 + 25 i Hz. Overlaid, the chart is titled "О Б Щ И Й   С П Е К Т Р"
// and a colour key in its upper right corner names the files (TOverlayLegend). Logarithmic
// switches the value axes to a logarithmic scale; a chart refuses that over
// negative values with EChartError. Needs a QApplication.
QImage DrawSpectra(const std::vector<std::string>& names, const std::vector<TSpectrum>& spectra,
                   const TPlotArguments& arguments);

// Draws spectra, read from the files names, as one heatmap (plot/
// TSpectrumHeatmap.h) of arguments.Width x arguments.Height pixels (its
// default size when 0), one row per file in the given order, on a
// logarithmic value scale with arguments.Logarithmic. Needs a QApplication.
QImage DrawHeatmap(const std::vector<std::string>& names, const std::vector<TSpectrum>& spectra,
                   const TPlotArguments& arguments);

// Draws a recording, named name, as its waveform chart on top (a third of the
// height) and the spectrogram of its frames below (plot/SpectrogramChart.h),
// their plot areas lined up on one time axis from 0 to 320 ms, in a picture of
// arguments.Width x arguments.Height pixels (630 x 420 when 0). Needs a
// QApplication.
QImage DrawFrames(const std::string& name, const TFramedRecording& recording, const TPlotArguments& arguments);

// Runs plot (as parsed by DeclarePlotOptions): reads every file, draws them
// and writes the PNG to stdout ("-o -") or through ReplaceFile (core/files/FileReplacement.h), creating an
// offscreen QApplication when there is none. Exit 0, 1 when a file cannot be
// read, drawn or written (with its "tulvo-cli: PATH: message" line); usage
// errors raise TUsageError. A heatmap with Sort has its rows ordered most
// different from the reference first, as compare orders them. With Frames the
// one file is a recording, analysed as batch analyses it (with batch's warning
// when it does not conform).
int RunPlotDrawing(const TPlotArguments& arguments, TToolContext& context);

// Writes bytes to stdout ("-") or as the file output through ReplaceFile
// (core/files/FileReplacement.h): whole or not at all. Returns 0, or 1 after the
// "tulvo-cli: OUTPUT: message" line when the write fails.
int WriteToolOutput(std::string_view bytes, const std::string& output, TToolContext& context);

// Drawing needs a GUI application: an offscreen one (no display needed), with
// Qt's messages on stderr, when the process has no application yet; nothing
// when it has one.
std::unique_ptr<QApplication> MakeApplicationIfNone();

// tulvo-plot's main: parses words (those after "plot") with plot's
// declarations and runs RunPlotDrawing, answering usage errors and --help as
// tulvo-cli does.
int RunPlotHelper(const std::vector<std::string>& words, TToolContext& context);
