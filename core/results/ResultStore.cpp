#include "core/results/ResultStore.h"

#include "core/results/SqliteResultStore.h"

std::unique_ptr<IResultStore> OpenResultStore(const std::string& database, TStoreAccess access,
                                              const TStoreOptions& options)
{
    return OpenSqliteResultStore(database, access, options);
}
