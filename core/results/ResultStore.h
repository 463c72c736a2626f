#pragma once

#include "core/results/ResultRecords.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
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
    {
    }
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
    std::optional<bool> Golden;            // only golden checks (true) or only production (false)
    bool WithSpectra = false;              // fill TResultRecord::Spectrum
};

// How a store is opened.
enum class TStoreAccess {
    Read,  // an existing database, never changed (a missing one is refused)
    Write, // created when missing or empty; refused on a network file system
};

class IResultStore {
public:
    virtual ~IResultStore() = default;

    // The database as messages name it.
    virtual const std::string& Name() const = 0;

    // Adds a run, masks and results in one transaction; a record whose identity (a mask's SHA-256)
    // is already there is left as it is. Durable when it returns.
    virtual void Add(const std::vector<TRunRecord>& runs, const std::vector<TMaskRecord>& masks,
                     const std::vector<TResultRecord>& results) = 0;

    // The results that filter takes, oldest first: by time (UTC), then the run's start, the run's
    // id, the sequence in the run. take is called once per result.
    virtual void ForEachResult(const TResultFilter& filter, const std::function<void(TResultRecord&)>& take) = 0;

    // Every run, and every mask (without its bytes unless withBytes), in byte order of their ids.
    virtual std::vector<TRunRecord> Runs() = 0;
    virtual std::vector<TMaskRecord> Masks(bool withBytes = false) = 0;
};
