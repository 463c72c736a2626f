#pragma once

#include "cli/ReportCommand.h"
#include "cli/TToolContext.h"

#include <string>
#include <vector>

// The drawing half of tulvo-cli report, in the helper tulvo-plot (Qt).

// Runs report (as parsed by DeclareReportOptions): collects the units as check does (usage
// errors raise TUsageError, also for an output that is the mask, a unit or the list of units);
// reads the mask (one that cannot be read: its message, exit 1, nothing written); reads the units
// on the worker threads of --jobs as check reads them, each one that cannot be read reported on
// stderr as check reports it; judges them as check does (or ranks them against their median spectrum without a mask), draws the pictures and writes the
// document to stdout ("-o -") or through ReplaceFile, creating an offscreen QApplication when
// there is none. Exit 0 when every unit was read (and is ok against the mask), 1 when any
// differs or cannot be read, or the mask or the report cannot be read or written.
int RunReportDrawing(const TReportArguments& arguments, TToolContext& context);

// Runs report over words (those after "report") with report's declarations, answering usage
// errors and --help as tulvo-cli does.
int RunReportHelper(const std::vector<std::string>& words, TToolContext& context);
