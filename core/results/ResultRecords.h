#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a results database holds, as plain values: the runs of tulvo-cli check --db (and of the
// windows' recorded checks), one result per unit checked, the masks the units were judged
// against, and each result's spectrum. Every backend (a SQLite file, a PostgreSQL server) stores
// exactly these fields and gives them back unchanged.
//
// Times are integers: milliseconds since 1970-01-01T00:00:00Z, with the station's offset from UTC
// in minutes at that moment beside them, so that nothing depends on a database's or a session's
// time zone. Texts are UTF-8 and compared byte by byte. Identities are UUIDv7 texts in lower case
// ("0190f5c2-7d1a-7b3e-9f00-1c2d3e4f5a6b"), made when a run or a result is recorded and kept by
// every copy, so that a result merged or sent twice is stored once.

// One invocation that recorded results.
struct TRunRecord {
    std::string Id;
    std::int64_t StartMs = 0; // when it started (UTC)
    int UtcOffsetMinutes = 0; // the station's offset from UTC then
    std::string Station;
    std::string CommandLine; // the command as given, any password left out
    std::string Version;     // tulvo's version ("1.0.0")

    bool operator==(const TRunRecord&) const = default;
};

// A mask file as units were judged against it: its SHA-256 (64 lower-case hex digits), the name
// it was first recorded under, and its bytes, stored once per database.
struct TMaskRecord {
    std::string Sha256;
    std::string File;
    std::string Bytes;

    bool operator==(const TMaskRecord&) const = default;
};

// One unit checked against a mask.
struct TResultRecord {
    std::string Id;
    std::string RunId;
    std::int64_t Sequence = 0; // its place in its run, from 1
    std::int64_t TimeMs = 0;   // when it was judged (UTC), never before the run's previous result
    int UtcOffsetMinutes = 0;
    std::string Station;
    std::string Operator; // may be empty
    std::string Serial;
    std::string File;       // the unit as given ("-": standard input)
    std::string FileSha256; // of the bytes read; empty when none could be read
    // "ok", "differs", or the text of the failure that kept the unit from being read.
    std::string Verdict;
    // The figures of tulvo-cli check's row, as it prints them (3 decimals; Worst in Hz); nothing
    // where the row's field is empty.
    std::optional<int> Outside;
    std::optional<int> WorstHz;
    std::optional<double> MarginDb;
    std::optional<double> LevelDbfs;
    std::optional<double> LevelMarginDb;
    bool Golden = false;    // a check of a reference unit, kept out of yields and charts
    std::string Version;    // tulvo's version that judged it
    std::string MaskSha256; // the mask it was judged against (TMaskRecord::Sha256)
    // The unit's spectrum as the 732 bytes of a spectrum file (the average, or the max-hold
    // spectrum against a max-hold mask); empty for a unit that could not be read.
    std::string Spectrum;

    bool operator==(const TResultRecord&) const = default;
};
