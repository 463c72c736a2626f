#pragma once

#include "core/platform/FileSystemKind.h"
#include "core/results/ResultRecords.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// A results database behind one small interface, whatever holds it: a SQLite file (one station),
// and later a PostgreSQL server (a whole line). Every outside text is bound as a parameter, never
// pasted into SQL. Failures raise EResultStoreError naming the database.

// A database that cannot be opened, read or written, or that is refused (not a tulvo results
// database, another version, on a network file system where it would be written). what() is the
// message tulvo-cli prints after the database's name.
class EResultStoreError : public std::runtime_error {
public:
    EResultStoreError(std::string database, const std::string& message)
        : std::runtime_error(message), database_(std::move(database))
    {}
    // The database as the user named it (a server's address without its password).
    const std::string& Database() const noexcept { return database_; }

private:
    std::string database_;
};

// Which results a reading takes. Every filter is optional; both ends of the time range are
// included.
struct TResultFilter {
    std::optional<std::string> Station;
    std::optional<std::string> Serial;
    std::optional<std::string> MaskSha256; // all 64 digits, or a prefix of at least 16
    std::optional<std::int64_t> FromMs;
    std::optional<std::int64_t> ToMs;
    std::optional<bool> Golden; // only golden checks (true) or only production (false)
    bool WithSpectra = false;   // fill TResultRecord::Spectrum
};

// How a store is opened.
enum class TStoreAccess {
    Read,  // an existing database, never written (a missing one is refused, an empty one holds nothing)
    Write, // created when missing or empty; refused on a network file system
};

// How many records an addition found new (the others were there already).
struct TAddedCounts {
    std::int64_t Runs = 0;
    std::int64_t Masks = 0;
    std::int64_t Results = 0;

    bool operator==(const TAddedCounts&) const = default;
};

// Additions made in one transaction, for more than fits in memory at once (a merge): nothing is
// seen by others or kept before Commit; destroyed without Commit, it adds nothing. Holds the
// database's write lock from its start to its end.
class IResultTransaction {
public:
    virtual ~IResultTransaction() = default;

    // Adds, as IResultStore::Add does, what the database does not hold yet; returns how many were new.
    virtual TAddedCounts Add(const std::vector<TRunRecord>& runs, const std::vector<TMaskRecord>& masks,
                             const std::vector<TResultRecord>& results) = 0;

    // Makes every addition durable and visible, at once.
    virtual void Commit() = 0;
};

class IResultStore {
public:
    virtual ~IResultStore() = default;

    // The database as messages name it.
    virtual const std::string& Name() const = 0;

    // Adds runs, masks and results in one transaction; a record whose identity (an id, a mask's
    // SHA-256) is already there is left as it is. A result's run and mask must be in the database
    // or in the same addition, else nothing is added and EResultStoreError is raised. Durable when
    // it returns.
    virtual void Add(const std::vector<TRunRecord>& runs, const std::vector<TMaskRecord>& masks,
                     const std::vector<TResultRecord>& results) = 0;

    // The results that filter takes, oldest first: by time (UTC), then the run's start, the run's
    // id, the sequence in the run, all read from one state of the database. take is called once
    // per result, with a record that is the store's again once take returns (take may move from
    // it); take must not use the store.
    virtual void ForEachResult(const TResultFilter& filter, const std::function<void(TResultRecord&)>& take) = 0;

    // Every run, and every mask (without its bytes unless withBytes), in byte order of their ids.
    virtual std::vector<TRunRecord> Runs() = 0;
    virtual std::vector<TMaskRecord> Masks(bool withBytes = false) = 0;

    // Begins a transaction of additions (see IResultTransaction); one at a time per store.
    virtual std::unique_ptr<IResultTransaction> BeginAdd() = 0;
};

// How a store is opened; the defaults are the program's.
struct TStoreOptions {
    // The kind of file system that holds a path (Platform::FileSystemKindOf); tests inject another.
    std::function<Platform::TFileSystemKind(const std::string& path)> FileSystemKind = Platform::FileSystemKindOf;
    // How long a write waits for another process's write to end before it gives up.
    std::chrono::milliseconds BusyTimeout{10000};
};

// Opens the results database named database (a SQLite file's path) as access says. Before
// anything is read or written, refuses (EResultStoreError, the file left byte for byte as it was)
// what is not a tulvo results database of this version: a text file, another program's SQLite
// database, a cut-off file, a newer version; for Write also a file on a network file system. A
// missing or empty file opened for Write becomes a new database, made once even when several
// processes start on it together; opened for Read, a missing file is refused and an empty one
// holds nothing.
std::unique_ptr<IResultStore> OpenResultStore(const std::string& database, TStoreAccess access,
                                              const TStoreOptions& options = {});
