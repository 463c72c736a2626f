#pragma once

// The reference set of recordings: those the tests of the exact analysis make
// (the literal analysis's cases, the analysis's and the batch's recordings) and
// a burst in noise, each analysed without fault. tulvo_make_recordings writes
// them for the comparison of the Windows build with the Linux build; the tests
// of the frames run over them in-process.

#include "tests/support/RecordingFixtures.h"

#include <string>
#include <vector>

namespace testsupport {

struct TReferenceRecording {
    std::string Name; // without folder or extension: "noise_30"
    TSamples Samples;
};

// The whole set, in a fixed order.
std::vector<TReferenceRecording> ReferenceRecordings();

// Steady noise of about 290 counts RMS (uniform within +-500) with a burst of
// a 6000 Hz sine, 2900 counts peak, from 200 ms for 5 ms (samples 10240 to
// 10495): a transient that the average of the frames dilutes.
TSamples BurstInNoiseSamples();

} // namespace testsupport
