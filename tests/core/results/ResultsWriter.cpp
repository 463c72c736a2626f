// A station recording results into a database, for the tests that run several at once or kill
// one: tulvo_results_writer DB STATION COUNT records COUNT results of station STATION into DB,
// a commit every other result, and prints the sequence of each result once it is committed, then
// pauses, so that a kill lands most often just after a row was printed.

#include "ResultsFixture.h"

#include "core/results/RunRecorder.h"

#include <cstdio>
#include <string>
#include <thread>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: tulvo_results_writer DB STATION COUNT\n");
        return 2;
    }
    try {
        const auto store = OpenResultStore(argv[1], TStoreAccess::Write);
        // A steady clock 100 ms on at each reading: every other result is committed alone.
        std::int64_t steady = 0;
        TRecorderClock clock;
        clock.SteadyMs = [&] { return steady += 100; };
        TRunRecorder recorder(*store, resultstest::MakeRun("", argv[2], 0), {resultstest::MakeMask()}, clock);
        const long long count = std::stoll(argv[3]);
        std::int64_t printed = 0;
        const auto print = [&] {
            if (printed == recorder.Committed()) {
                return;
            }
            for (; printed < recorder.Committed(); ++printed) {
                std::printf("%lld\n", static_cast<long long>(printed + 1));
            }
            std::fflush(stdout);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        };
        for (long long k = 1; k <= count; ++k) {
            recorder.Record(resultstest::MakeResult(recorder.Run(), "", k, 0));
            print();
        }
        recorder.Finish();
        print();
        return 0;
    } catch (const EResultStoreError& e) {
        std::fprintf(stderr, "%s: %s\n", e.Database().c_str(), e.what());
        return 1;
    }
}
