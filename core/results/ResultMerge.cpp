#include "core/results/ResultMerge.h"

#include <set>
#include <string>

TAddedCounts MergeResults(IResultStore& source, IResultStore& target)
{
    // Results are added in batches, so that a large source never sits in memory whole.
    constexpr std::size_t BatchSize = 500;
    const std::vector<TRunRecord> runs = source.Runs();
    const std::vector<TMaskRecord> masks = source.Masks(true);
    std::set<std::string> runIds;
    for (const TRunRecord& run : runs) {
        runIds.insert(run.Id);
    }
    std::set<std::string> maskIds;
    for (const TMaskRecord& mask : masks) {
        maskIds.insert(mask.Sha256);
    }
    const auto transaction = target.BeginAdd();
    TAddedCounts added = transaction->Add(runs, masks, {});
    std::vector<TResultRecord> batch;
    batch.reserve(BatchSize);
    const auto addBatch = [&] {
        added.Results += transaction->Add({}, {}, batch).Results;
        batch.clear();
    };
    TResultFilter everything;
    everything.WithSpectra = true;
    source.ForEachResult(everything, [&](TResultRecord& result) {
        // A run begun after the runs were read, or a mask first used after then, comes with the
        // next merge, with its results.
        if (runIds.count(result.RunId) == 0 || maskIds.count(result.MaskSha256) == 0) {
            return;
        }
        batch.push_back(std::move(result));
        if (batch.size() == BatchSize) {
            addBatch();
        }
    });
    addBatch();
    transaction->Commit();
    return added;
}
