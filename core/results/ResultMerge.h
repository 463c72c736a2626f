#pragma once

#include "core/results/ResultStore.h"

// Merging results databases (tulvo-cli merge): a line's database gathered from its stations'.

// Adds to target every run, mask and result of source that target does not hold yet (by
// identity: a run's or result's id, a mask's SHA-256), in one transaction of target, and returns
// how many of each were new: merging the same source again adds nothing. A result keeps all it
// holds, its identity, station, time and spectrum included. A source that a station records into
// meanwhile gives the runs it held when the merge began, with all of their results that it holds
// by the time they are read; the rest comes with the next merge. The caller refuses a target that
// is also a source (Platform::SameExistingFile: through a link too).
TAddedCounts MergeResults(IResultStore& source, IResultStore& target);
