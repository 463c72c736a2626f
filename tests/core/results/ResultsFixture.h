#pragma once

// Records of known content for the results database's tests, and a database's whole content as
// text (the `.dump` of the sqlite3 shell, as far as the tests compare it).

#include "core/results/ResultStore.h"

#include <string>

namespace resultstest {

// A run of station at startMs, and a result of it at timeMs (sequence, serial, verdict, a mask
// "mask" and a 732-byte spectrum made from sequence).
TRunRecord MakeRun(const std::string& id, const std::string& station, std::int64_t startMs);
TMaskRecord MakeMask(const std::string& sha256 = std::string(64, 'a'));
TResultRecord MakeResult(const TRunRecord& run, const std::string& id, std::int64_t sequence, std::int64_t timeMs);

// Every result of store in its order, with spectra.
std::vector<TResultRecord> AllResults(IResultStore& store);

// The schema and every row of every table of the SQLite file path, rows in their stored order.
std::string DumpOf(const std::string& path);

} // namespace resultstest
