#pragma once

#include "cli/TToolContext.h"
#include "core/analysis/TRecordingFrames.h"
#include "core/base/TulvoErrors.h"

#include <string>
#include <vector>

// The recordings that show --frames and plot --frames read: the frames are
// computed from a recording's samples, so only a recording will do.

// Refuses, before anything is read (TUsageError naming option): standard
// input ('-'), which the analysis cannot read twice as a file, and a spectrum
// file (a name ending in ".spm" in any case, or a regular file of exactly
// 732 bytes), which holds no frames.
void CheckRecordingOperands(const std::vector<std::string>& names, std::string_view option);

// Reads and analyses the recording name keeping its frames
// (AnalyseFramedRecording). A recording whose header check fails gets batch's
// warning on the context's stderr and is analysed as raw samples. Raises what
// the read and the analysis raise.
TFramedRecording ReadFramedOperand(const std::string& name, const TToolContext& context);

// The line that reports a recording the analysis refused: its error text,
// with the hint of an invalid operation's cause ("all samples are zero").
std::string AnalysisErrorLine(const std::string& name, const EMathError& error);
