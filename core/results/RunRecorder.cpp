#include "core/results/RunRecorder.h"

#include "core/platform/WallClock.h"
#include "core/results/Uuid.h"

#include <algorithm>

TClockReading SystemWallClock()
{
    const std::int64_t now = Platform::UtcNowMs();
    return {now, Platform::UtcOffsetMinutesAt(now)};
}

std::int64_t SystemSteadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

TRunRecorder::TRunRecorder(IResultStore& store, TRunRecord run, const std::vector<TMaskRecord>& masks,
                           TRecorderClock clock)
    : store_(store), run_(std::move(run)), clock_(std::move(clock))
{
    const TClockReading start = clock_.Wall();
    run_.StartMs = start.UtcMs;
    run_.UtcOffsetMinutes = start.UtcOffsetMinutes;
    run_.Id = NewUuidV7(start.UtcMs);
    lastTimeMs_ = start.UtcMs;
    store_.Add({run_}, masks, {});
    lastCommitSteadyMs_ = clock_.SteadyMs();
}

std::int64_t TRunRecorder::Record(TResultRecord result)
{
    if (failed_) {
        throw std::logic_error("a result recorded after its run's recording failed");
    }
    const TClockReading now = clock_.Wall();
    lastTimeMs_ = std::max(lastTimeMs_, now.UtcMs);
    result.Id = NewUuidV7(lastTimeMs_);
    result.RunId = run_.Id;
    result.Sequence = Recorded() + 1;
    result.TimeMs = lastTimeMs_;
    result.UtcOffsetMinutes = now.UtcOffsetMinutes;
    result.Station = run_.Station;
    result.Version = run_.Version;
    waiting_.push_back(std::move(result));
    const std::int64_t sequence = waiting_.back().Sequence;
    if (clock_.SteadyMs() - lastCommitSteadyMs_ >= GroupInterval.count()) {
        CommitWaiting();
    }
    return sequence;
}

void TRunRecorder::Finish()
{
    if (!failed_ && !waiting_.empty()) {
        CommitWaiting();
    }
}

void TRunRecorder::CommitWaiting()
{
    try {
        store_.Add({}, {}, waiting_);
    } catch (const EResultStoreError& e) {
        failed_ = true;
        throw EResultsNotRecorded(e, static_cast<std::int64_t>(waiting_.size()));
    }
    committed_ += static_cast<std::int64_t>(waiting_.size());
    waiting_.clear();
    lastCommitSteadyMs_ = clock_.SteadyMs();
}
