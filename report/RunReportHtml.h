#pragma once

#include "report/RunReport.h"

#include <optional>
#include <string>
#include <vector>

// A run's report as one HTML document that needs nothing outside itself: its styles in the
// document, its pictures as "data:" PNGs, no script, no link to anything (no "http:", "https:",
// "file:" or relative reference). Printed on A4 the units table repeats its header on every
// page and no picture is split across pages. Every text from outside (names, title, date, error
// texts) is HtmlEscaped; numbers have a '.' decimal point in either language. The bytes depend
// only on the report and its pictures: no clock, no locale, no system.
//
// In this order: the title and the program's version (and the date when given); the mask (its
// path, digest, how many units it was learned from, the kind of spectrum, factor, offsets,
// floor, excluded ranges and level band); the summary line; the table of units in
// ReportTableOrder with tulvo-cli check's columns (with a mask) or compare's columns without
// its verdict (without), and each unit's digest; the charts of ReportChartedUnits; the heatmap
// of ReportHeatmapOrder; the settings and ReportCommandLine.

// A picture of the report: a PNG as base64 (RFC 4648, no line breaks) and its size in pixels.
struct TReportPicture {
    std::string PngBase64;
    int Width = 0;
    int Height = 0;
};

// The pictures of a report: one per entry of ReportChartedUnits, in that order, and the
// heatmap (none when no unit was read).
struct TReportPictures {
    std::vector<TReportPicture> Charts;
    std::optional<TReportPicture> Heatmap;
};

// The summary line: with a mask "35 units: 32 ok, 3 differs" (and ", 2 cannot be read"), in
// Russian "Проверено: 35, годных: 32, негодных: 3" (and ", ошибок: 2"); without one how many
// units were ranked against their median spectrum.
std::string ReportSummary(const TRunReport& report);

// The document, UTF-8, lines ending in "\n". Raises std::invalid_argument when pictures does
// not hold one chart per charted unit.
std::string RunReportHtml(const TRunReport& report, const TReportPictures& pictures);
