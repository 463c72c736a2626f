#pragma once

#include "core/results/ResultStore.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The results database in one SQLite file (docs/results-format.md): WAL journal, every commit
// durable (synchronous=FULL), writes in BEGIN IMMEDIATE transactions that wait for another
// process's write up to the busy timeout. The first bytes of the file (its header) say whether
// it is a tulvo results database and of which version before anything else reads it.

// The file's PRAGMA application_id ("tulv" in ASCII) and PRAGMA user_version, and the row of its
// table tulvo_format: the version on every backend.
inline constexpr std::int32_t ResultsApplicationId = 0x74756C76;
inline constexpr int ResultsFormatVersion = 1;
inline constexpr std::string_view ResultsFormatText = "tulvo-results 1";

// Opens the SQLite results database path as OpenResultStore (core/results/ResultStore.h) says.
std::unique_ptr<IResultStore> OpenSqliteResultStore(const std::string& path, TStoreAccess access,
                                                    const TStoreOptions& options);
