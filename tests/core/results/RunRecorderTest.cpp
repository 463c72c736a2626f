// The recorder of a check run on clocks of the test's own: its groups, what another connection
// sees of them, times that never go back, and a database locked beyond the busy timeout.

#include "ResultsFixture.h"

#include "tests/support/TTempFolder.h"

#include "core/results/RunRecorder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace resultstest;
using namespace testsupport;

namespace {

// Each row: the wall clock's and the steady clock's reading as the result is recorded, and how
// many results are committed after it. The wall clock steps back an hour and forward again.
TEST(RunRecorder, CommitsInGroupsAndTimesNeverGoBack)
{
    struct TStep {
        std::int64_t WallMs;
        std::int64_t SteadyMs;
        std::int64_t Committed;
        std::int64_t RecordedMs;
    };
    const TStep steps[] = {
        {10'000, 10, 0, 10'000},        {10'050, 60, 0, 10'050},        {10'210, 210, 3, 10'210},
        {6'610'000, 215, 3, 6'610'000}, {3'010'000, 300, 3, 6'610'000}, {3'010'100, 420, 6, 6'610'000},
        {6'610'500, 500, 6, 6'610'500},
    };
    TTempFolder folder;
    const std::string path = folder.File("st1.db");
    const auto store = OpenResultStore(path, TStoreAccess::Write);
    const auto reader = OpenResultStore(path, TStoreAccess::Read);
    std::size_t at = 0;
    TRecorderClock clock;
    clock.Wall = [&] { return TClockReading{at == 0 ? 9'000 : steps[at - 1].WallMs, 180}; };
    clock.SteadyMs = [&] { return at == 0 ? 0 : steps[at - 1].SteadyMs; };
    TRunRecorder recorder(*store, MakeRun("", "st1", 0), {MakeMask()}, clock);
    EXPECT_EQ(reader->Runs(), std::vector<TRunRecord>{recorder.Run()});
    EXPECT_EQ(recorder.Run().StartMs, 9'000);
    for (const TStep& step : steps) {
        ++at;
        EXPECT_EQ(recorder.Record(MakeResult(recorder.Run(), "", 0, 0)), static_cast<std::int64_t>(at));
        EXPECT_EQ(recorder.Committed(), step.Committed) << "result " << at;
        const auto seen = AllResults(*reader);
        ASSERT_EQ(static_cast<std::int64_t>(seen.size()), step.Committed);
        if (!seen.empty()) {
            EXPECT_EQ(seen.back().Sequence, step.Committed);
        }
    }
    recorder.Finish();
    const auto results = AllResults(*reader);
    ASSERT_EQ(results.size(), std::size(steps));
    for (std::size_t k = 0; k < results.size(); ++k) {
        EXPECT_EQ(results[k].Sequence, static_cast<std::int64_t>(k + 1));
        EXPECT_EQ(results[k].TimeMs, steps[k].RecordedMs);
        EXPECT_EQ(results[k].RunId, recorder.Run().Id);
        EXPECT_EQ(results[k].Id.substr(14, 1), "7"); // a UUIDv7
    }
}

// Another process holds the write lock beyond the busy timeout: the group waiting is reported
// not recorded, and the results committed before it stay.
TEST(RunRecorder, GivingUpOnALockedDatabaseReportsWhatWasNotRecorded)
{
    TTempFolder folder;
    const std::string path = folder.File("st1.db");
    TStoreOptions options;
    options.BusyTimeout = std::chrono::milliseconds(100);
    const auto store = OpenResultStore(path, TStoreAccess::Write, options);
    std::int64_t steady = 0;
    TRecorderClock clock;
    clock.SteadyMs = [&] { return steady; };
    TRunRecorder recorder(*store, MakeRun("", "st1", 0), {MakeMask()}, clock);
    recorder.Record(MakeResult(recorder.Run(), "", 0, 0));
    steady = 1000;
    recorder.Record(MakeResult(recorder.Run(), "", 0, 0));
    ASSERT_EQ(recorder.Committed(), 2);
    sqlite3* other = nullptr;
    sqlite3_open(path.c_str(), &other);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    recorder.Record(MakeResult(recorder.Run(), "", 0, 0));
    steady = 2000;
    const auto start = std::chrono::steady_clock::now();
    try {
        recorder.Record(MakeResult(recorder.Run(), "", 0, 0));
        ADD_FAILURE() << "recorded into a locked database";
    } catch (const EResultsNotRecorded& e) {
        EXPECT_EQ(e.NotRecorded(), 2);
        EXPECT_EQ(e.Database(), path);
        EXPECT_NE(std::string(e.what()).find("locked"), std::string::npos) << e.what();
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, options.BusyTimeout);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(AllResults(*OpenResultStore(path, TStoreAccess::Read)).size(), 2u);
}

} // namespace
