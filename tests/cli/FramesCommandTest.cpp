// tulvo-cli show --frames, run in-process: the wide and the long table of a
// recording's frames say the same, and what holds no frames is refused.

#include "BatchCommandFixture.h"
#include "ToolRun.h"

#include "tests/support/FileBytes.h"
#include "tests/support/ReferenceRecordings.h"

#include "cli/ExitStatus.h"

#include <gtest/gtest.h>

using namespace clitest;
using namespace testsupport;

namespace {

using batchcommandtest::BatchCommand;
using batchcommandtest::CsvRows;

using ShowFrames = BatchCommand;

TEST_F(ShowFrames, WideAndLongTablesHoldTheSameFramesInOrder)
{
    const std::string burst = Folder.File("burst.wav");
    const std::string other = Folder.File("a,b.wav");
    WriteRecording(burst, BurstInNoiseSamples());
    WriteRecording(other, NoiseSamples(7, 3000));

    const TToolRun wide = RunToolInProcess({"show", "--frames", burst});
    ASSERT_EQ(wide.Status, ExitOk) << wide.Err;
    EXPECT_EQ(wide.Err, "");
    const auto rows = CsvRows(wide.Out);
    ASSERT_EQ(rows.size(), 362u);
    EXPECT_EQ(Lines(wide.Out)[0], "Frequency (Hz),0 ms,20 ms,40 ms,60 ms,80 ms,100 ms,120 ms,140 ms,160 ms,180 ms,"
                                  "200 ms,220 ms,240 ms,260 ms,280 ms,Max");
    // At 6000 Hz the burst's frame, from 180 ms (column 10), is the Max.
    const auto& burstRow = rows[1 + (6000 - 1000) / 25];
    ASSERT_EQ(burstRow.size(), 17u);
    EXPECT_EQ(burstRow[0], "6000");
    EXPECT_EQ(burstRow[10], burstRow[16]);

    const TToolRun longRun = RunToolInProcess({"show", "--frames", "--long", burst, other});
    ASSERT_EQ(longRun.Status, ExitOk) << longRun.Err;
    const auto longRows = CsvRows(longRun.Out);
    ASSERT_EQ(longRows.size(), 1u + 2 * 15 * 361);
    EXPECT_EQ(longRows[0], (std::vector<std::string>{"File", "Frame start (ms)", "Frequency (Hz)", "Value"}));
    for (int k = 0; k < 15; ++k) {
        for (int i = 0; i < 361; i += 60) {
            EXPECT_EQ(longRows[1 + 361 * k + i],
                      (std::vector<std::string>{burst, std::to_string(20 * k), rows[1 + i][0], rows[1 + i][1 + k]}));
        }
    }
    EXPECT_EQ(longRows.back()[0], other);
}

// Each refusal names why, prints no table, and a recording that does not
// conform is analysed with batch's warning.
TEST_F(ShowFrames, RefusesWhatHoldsNoFrames)
{
    const std::string recording = Folder.File("rec.wav");
    WriteRecording(recording, NoiseSamples(3, 3000));
    WriteRecording(Folder.File("raw.wav"), NoiseSamples(4, 3000), false);
    WriteRecording(Folder.File("silent.wav"), ConstantSamples(0));
    ASSERT_EQ(RunToolInProcess({"batch", "-q", recording}).Status, ExitOk);
    WriteBytes(Folder.File("spectrum.dat"), ReadBytes(Folder.File("rec.spm")));

    struct TCase {
        std::vector<std::string> Words;
        int Status;
        std::string Err;
    };
    const std::string usage = "tulvo-cli: show: --frames";
    const TCase cases[] = {
        {{"-"}, ExitUsage, usage + ": a recording cannot come from standard input ('-')"},
        {{"rec.spm"}, ExitUsage, "rec.spm is a spectrum file, which holds no frames"},
        {{"spectrum.dat"}, ExitUsage, "spectrum.dat is a spectrum file, which holds no frames"},
        {{"--codes", "rec.wav"}, ExitUsage, usage + " has no --codes"},
        {{"rec.wav", "raw.wav"}, ExitUsage, usage + " shows one recording in columns; for 2 recordings use --long"},
        {{"silent.wav"}, ExitFailure, "silent.wav: Invalid floating point operation (all samples are zero)\n"},
        {{"raw.wav"}, ExitOk, "tulvo-cli: warning: " + Folder.File("raw.wav") + ": "},
    };
    for (const TCase& c : cases) {
        std::vector<std::string> words{"show", "--frames"};
        for (const std::string& word : c.Words) {
            words.push_back(word.find('.') != std::string::npos ? Folder.File(word) : word);
        }
        SCOPED_TRACE(words.back());
        const TToolRun run = RunToolInProcess(words);
        EXPECT_EQ(run.Status, c.Status);
        EXPECT_NE(run.Err.find(c.Err), std::string::npos) << run.Err;
        EXPECT_EQ(run.Out.empty(), c.Status != ExitOk);
    }
}

} // namespace
