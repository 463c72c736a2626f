#pragma once

#include "report/RunReportHtml.h"

#include <QSize>

#include <string>
#include <string_view>

// A run's report with its pictures, drawn by the charts' own painting: what tulvo-cli report
// writes (in its drawing helper) and what the check window saves, byte for byte the same for the
// same report.

// The size of a failing unit's chart in a report, in pixels.
inline constexpr QSize ReportChartSize{640, 300};

// The highest heatmap of a report, in pixels: with its caption it fits an A4 page.
inline constexpr int MaxReportHeatmapHeight = 860;

// The first ReportDigestDigits hex digits (lower case) of the SHA-256 of bytes.
std::string DigestOf(std::string_view bytes);

// DigestOf the whole regular file path, read through core's files; empty when it cannot be read.
std::string FileDigest(const std::string& path);

// The pictures of report as PNGs: each charted unit's spectrum against the mask as the check
// window opens it (MakeMaskChart on a logarithmic value axis), ReportChartSize; and the heatmap
// of the units read in ReportHeatmapOrder, one row each, as plot --heatmap draws it
// (plot/TSpectrumHeatmap.h, its default size at most MaxReportHeatmapHeight high, rows named by
// the units' names), its colours on a logarithmic scale with Settings.Logarithmic. Needs a
// QGuiApplication.
TReportPictures DrawReportPictures(const TRunReport& report);

// RunReportHtml of report with DrawReportPictures. Needs a QGuiApplication.
std::string RunReportDocument(const TRunReport& report);
