#pragma once

#include "core/TRecordingFrames.h"

#include <string>

// The CSV tables of a recording's frames (tulvo-cli show --frames), built of
// the pieces in core/CsvText.h: values in the shortest text that reads back as
// the same single, a '.' decimal point whatever the locale, rows ended by "\n".

// The wide table's header: "Frequency (Hz)", a column per frame named by its
// start ("0 ms", "20 ms" .. "280 ms"), then "Max".
std::string FramesTableHeader();

// The wide table's row of band line `line` (0..360): its frequency, each
// frame's value and the max-hold value.
std::string FramesTableRow(const TRecordingFrames& frames, int line);

// The long table's header "File,Frame start (ms),Frequency (Hz),Value".
std::string FramesLongHeader();

// The long table's rows of one recording named `name`: a row per frame and
// line, frame by frame from the first, each frame's lines upwards.
std::string FramesLongRows(const std::string& name, const TRecordingFrames& frames);
