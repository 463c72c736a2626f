// make-recordings FOLDER COUNT: writes COUNT recordings rec0.wav... (sines of
// different frequencies) for the tests that run the README's commands.

#include "tests/support/RecordingFixtures.h"

#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
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
