// make-recordings FOLDER COUNT: writes COUNT recordings rec0.wav... (sines of
// different frequencies) for the tests that run the README's commands.
//
// make-recordings --reference-set FOLDER: writes the reference set
// (tests/support/ReferenceRecordings.h) as exact-*.wav, and recordings that are refused
// (broken-*.wav): the set that the Windows build must analyse to the same
// bytes and refuse with the same messages as the Linux build.

#include "tests/support/ReferenceRecordings.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using namespace testsupport;

void WriteReferenceSet(const std::string& folder)
{
    for (const TReferenceRecording& recording : ReferenceRecordings()) {
        WriteRecording(folder + "/exact-" + recording.Name + ".wav", recording.Samples);
    }
    // Refused recordings: silent, cut short, shorter than a header, empty.
    WriteRecording(folder + "/broken-silent.wav", ConstantSamples(0));
    TSamples half = SineSamples(3000.0, 9000.0);
    half.resize(half.size() / 2);
    WriteRecording(folder + "/broken-short.wav", half);
    std::ofstream(folder + "/broken-header-only.wav", std::ios::binary).write("RIFF", 4);
    std::ofstream(folder + "/broken-empty.wav", std::ios::binary);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--reference-set") {
        WriteReferenceSet(argv[2]);
        return 0;
    }
    if (argc != 3) {
        return 2;
    }
    const int count = std::atoi(argv[2]);
    for (int i = 0; i < count; ++i) {
        testsupport::WriteRecording(std::string(argv[1]) + "/rec" + std::to_string(i) + ".wav",
                                    testsupport::SineSamples(1500.0 + 250.0 * i, 9000.0));
    }
    return 0;
}
