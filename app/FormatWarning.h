#pragma once

#include "core/analysis/WavHeader.h"

#include <QString>

#include <vector>

// The windowed batch's warning about recordings whose header check failed:
// they were analysed as raw samples all the same.

// A recording of the batch that does not conform, by its file name.
struct TNonconformingRecording {
    QString FileName;
    std::vector<TWavDifference> Differences;
};

// How many recordings the warning names with what differs; the rest it counts.
inline constexpr int FormatWarningNamed = 5;

// One difference in Russian ("2 канала", "отсчёты с байта 78").
QString DifferenceText(const TWavDifference& difference);

// The text of the warning box for a non-empty list: how many recordings are
// not in the expected format and were analysed as raw samples, the first
// FormatWarningNamed of them with what differs, and the number of the rest.
QString FormatWarningText(const std::vector<TNonconformingRecording>& recordings);
