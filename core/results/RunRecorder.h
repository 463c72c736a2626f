#pragma once

#include "core/results/ResultStore.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

// Recording one run of checks (tulvo-cli check --db) as it goes: results taken one by one in
// their order and committed in groups, so that a caller prints a unit's row only once its result
// is in the database for good.

// A reading of the wall clock.
struct TClockReading {
    std::int64_t UtcMs = 0;   // milliseconds since 1970-01-01T00:00:00Z
    int UtcOffsetMinutes = 0; // the station's offset from UTC at that moment
};

// The system's wall clock (Platform::UtcNowMs) with the local offset at that moment.
TClockReading SystemWallClock();
// The system's steady clock in milliseconds from an arbitrary start: never steps back.
std::int64_t SystemSteadyMs();

// The clocks a recorder reads: the wall clock for the times it records, the steady clock for
// when to commit. Tests give their own.
struct TRecorderClock {
    std::function<TClockReading()> Wall = SystemWallClock;
    std::function<std::int64_t()> SteadyMs = SystemSteadyMs;
};

// A group of results that the database did not take (a lock held by another process beyond the
// busy timeout, a full disk): what() and Database() as the store's error says, and how many
// results were left out. The run stops there: its results before them are in the database.
class EResultsNotRecorded : public EResultStoreError {
public:
    EResultsNotRecorded(const EResultStoreError& cause, std::int64_t notRecorded)
        : EResultStoreError(cause), notRecorded_(notRecorded)
    {}
    std::int64_t NotRecorded() const noexcept { return notRecorded_; }

private:
    std::int64_t notRecorded_;
};

// The recorder of one run into store. A result's place in the run (Sequence), identity, time and
// offset are the recorder's, and so are its RunId, Station and Version (the run's); the caller
// gives the rest. Results are committed in groups, each durable when committed: when a result
// comes GroupInterval or more after the last commit, it is committed with those waiting before
// it, and Finish commits the rest. Committed() tells which results are in the database: the
// first Committed() of the run. A recorder destroyed before Finish leaves the results still
// waiting unrecorded. One thread at a time.
class TRunRecorder {
public:
    static constexpr std::chrono::milliseconds GroupInterval{200};

    // Begins the run: its identity, start and offset set from clock.Wall(), the run and the masks
    // its results are judged against committed before it returns. Raises EResultStoreError when
    // the store does not take them.
    TRunRecorder(IResultStore& store, TRunRecord run, const std::vector<TMaskRecord>& masks, TRecorderClock clock = {});

    // Takes the run's next result (its mask one of the run's masks), timed now but never earlier
    // than the result before it (a clock stepped back does not reorder the run), and commits the
    // waiting group when its time has come. Returns the result's sequence in the run, from 1.
    // Raises EResultsNotRecorded when the group's commit fails; the recorder takes nothing after.
    std::int64_t Record(TResultRecord result);

    // Commits the results still waiting, at the end of the run; raises as Record does.
    void Finish();

    // How many of the run's results are committed (the first ones), and how many were taken.
    std::int64_t Committed() const noexcept { return committed_; }
    std::int64_t Recorded() const noexcept { return committed_ + static_cast<std::int64_t>(waiting_.size()); }

    // The run as recorded.
    const TRunRecord& Run() const noexcept { return run_; }

private:
    void CommitWaiting();

    IResultStore& store_;
    TRunRecord run_;
    TRecorderClock clock_;
    std::vector<TResultRecord> waiting_;
    std::int64_t committed_ = 0;
    std::int64_t lastTimeMs_ = 0;
    std::int64_t lastCommitSteadyMs_ = 0;
    bool failed_ = false;
};
