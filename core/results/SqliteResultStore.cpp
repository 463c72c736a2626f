#include "core/results/SqliteResultStore.h"

#include "core/base/Paths.h"
#include "core/platform/FileStatus.h"
#include "core/results/SqliteDatabase.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <optional>
#include <tuple>

namespace {

// SQLite's pages for a new database: 8 KiB holds 11 spectra of 732 bytes to a page of the
// spectra table, where 4 KiB would waste a tenth of each page.
constexpr int PageSize = 8192;
// A database file grows and shrinks by whole chunks, so that a checkpoint makes the file long
// enough before it writes the header that counts the new pages: a reader never finds a header
// promising more than the file holds.
constexpr int ChunkSize = 65536;
constexpr std::size_t HeaderSize = 100;

// The tables of format 1 (docs/results-format.md). The row_key columns are this file's own keys,
// by which a result names its run and mask and a spectrum its result, a few bytes where an
// identity takes 36 or 64: about 1.1 KB a result with its spectrum. Identities (ids, a mask's
// SHA-256) are what merges and servers compare. Results are kept in the one order that every
// reading takes (results_in_order, then the run's id for runs that start at the same
// millisecond): time (UTC), the run's start, the run's id, the sequence.
std::string SchemaSql()
{
    return "PRAGMA application_id = " + std::to_string(ResultsApplicationId) +
           ";\n"
           "PRAGMA user_version = " +
           std::to_string(ResultsFormatVersion) + ";\n" + R"sql(
CREATE TABLE tulvo_format (
    format TEXT NOT NULL
);
INSERT INTO tulvo_format (format) VALUES ('tulvo-results 1');
CREATE TABLE runs (
    row_key INTEGER PRIMARY KEY,
    id TEXT NOT NULL UNIQUE,
    start_ms INTEGER NOT NULL,
    utc_offset_minutes INTEGER NOT NULL,
    station TEXT NOT NULL,
    command_line TEXT NOT NULL,
    version TEXT NOT NULL
);
CREATE TABLE masks (
    row_key INTEGER PRIMARY KEY,
    sha256 TEXT NOT NULL UNIQUE,
    file TEXT NOT NULL,
    bytes BLOB NOT NULL
);
CREATE TABLE results (
    row_key INTEGER PRIMARY KEY,
    id TEXT NOT NULL UNIQUE,
    run_row INTEGER NOT NULL REFERENCES runs (row_key),
    run_start_ms INTEGER NOT NULL,
    sequence INTEGER NOT NULL,
    time_ms INTEGER NOT NULL,
    utc_offset_minutes INTEGER NOT NULL,
    station TEXT NOT NULL,
    operator TEXT NOT NULL,
    serial TEXT NOT NULL,
    file TEXT NOT NULL,
    file_sha256 TEXT NOT NULL,
    verdict TEXT NOT NULL,
    outside INTEGER,
    worst_hz INTEGER,
    margin_db REAL,
    level_dbfs REAL,
    level_margin_db REAL,
    golden INTEGER NOT NULL,
    version TEXT NOT NULL,
    mask_row INTEGER NOT NULL REFERENCES masks (row_key)
);
CREATE INDEX results_in_order ON results (time_ms, run_start_ms, run_row, sequence);
CREATE TABLE spectra (
    result_row INTEGER PRIMARY KEY REFERENCES results (row_key),
    bytes BLOB NOT NULL
);
)sql";
}

[[noreturn]] void Refuse(const std::string& name, const std::string& message)
{
    throw EResultStoreError(name, message);
}

std::uint32_t BigEndian32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + k]);
    }
    return value;
}

std::string NewerVersionMessage(std::int64_t version)
{
    return "a tulvo results database of version " + std::to_string(version) + ", newer than this tulvo reads (" +
           std::to_string(ResultsFormatVersion) + "): open it with a newer tulvo";
}

const std::string NotResultsMessage = "not a tulvo results database";
const std::string OtherProgramMessage = "another program's SQLite database, not a tulvo results database";

// Why a file whose header is start cannot be opened as a tulvo results database of this version;
// nothing when it can. Reads the header only (SQLite's file format: the magic text, the page
// size at 16, the change counter at 24, the page count at 28, user_version at 60, application_id
// at 68, the counter the page count is valid for at 92).
std::optional<std::string> RefusalOf(const TSqliteFileStart& start)
{
    static constexpr std::string_view Magic("SQLite format 3\0", 16);
    const std::string& bytes = start.Bytes;
    const std::size_t known = std::min(bytes.size(), Magic.size());
    if (bytes.compare(0, known, Magic.substr(0, known)) != 0) {
        return NotResultsMessage;
    }
    const std::string size = std::to_string(start.Size) + " bytes";
    if (bytes.size() < HeaderSize) {
        return "a cut-off database: " + size + ", shorter than its header";
    }
    if (static_cast<std::int32_t>(BigEndian32(bytes, 68)) != ResultsApplicationId) {
        return OtherProgramMessage;
    }
    const auto version = static_cast<std::int32_t>(BigEndian32(bytes, 60));
    if (version > ResultsFormatVersion) {
        return NewerVersionMessage(version);
    }
    if (version != ResultsFormatVersion) {
        return NotResultsMessage + " (its version is " + std::to_string(version) + ")";
    }
    const std::uint32_t pageField =
        (static_cast<unsigned char>(bytes[16]) << 8) | static_cast<unsigned char>(bytes[17]);
    const std::int64_t pageSize = pageField == 1 ? 65536 : pageField;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0) {
        return "a damaged database: its header is not a SQLite header";
    }
    const bool countValid = BigEndian32(bytes, 24) == BigEndian32(bytes, 92);
    const std::int64_t promised = countValid ? BigEndian32(bytes, 28) * pageSize : 0;
    if (start.Size % pageSize != 0 || start.Size < promised) {
        return "a cut-off database: " + size + " where its header counts " +
               std::to_string(std::max(promised, start.Size + pageSize - start.Size % pageSize));
    }
    return std::nullopt;
}

// Makes the empty database of db a results database, unless a process that started on it at the
// same time has done so: the first to take the exclusive lock creates it, the others wait for it
// and find it made. The file is still in rollback mode here, so that the header's application_id
// and user_version are in the database file itself from the start.
void CreateIfEmpty(TSqliteConnection& db)
{
    db.Execute(("PRAGMA page_size = " + std::to_string(PageSize)).c_str());
    db.Execute("BEGIN EXCLUSIVE");
    try {
        if (db.QueryInteger("SELECT count(*) FROM sqlite_schema") == 0 &&
            db.QueryInteger("PRAGMA application_id") == 0) {
            db.Execute(SchemaSql().c_str());
        }
        db.Execute("COMMIT");
    } catch (...) {
        sqlite3_exec(db.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

// Refuses what SQLite opened that is not a results database of this version.
void VerifyFormat(TSqliteConnection& db)
{
    const std::int64_t applicationId = db.QueryInteger("PRAGMA application_id");
    const std::int64_t version = db.QueryInteger("PRAGMA user_version");
    if (applicationId != ResultsApplicationId) {
        Refuse(db.Name(), OtherProgramMessage);
    }
    if (version > ResultsFormatVersion) {
        Refuse(db.Name(), NewerVersionMessage(version));
    }
    if (version != ResultsFormatVersion ||
        db.QueryInteger("SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name = 'tulvo_format'") != 1) {
        Refuse(db.Name(), NotResultsMessage);
    }
    TSqliteStatement format(db, "SELECT format FROM tulvo_format");
    std::vector<std::string> rows;
    while (format.Step()) {
        rows.push_back(format.Text(0));
    }
    if (rows.size() != 1 || rows.front() != ResultsFormatText) {
        Refuse(db.Name(),
               NotResultsMessage + " (tulvo_format does not hold \"" + std::string(ResultsFormatText) + "\")");
    }
}

const std::string NetworkMessage =
    "on a network file system, where tulvo writes no results database: SQLite's WAL journal needs every program "
    "that opens the database on one host, and writers on two hosts could damage it. Record on a local disk and "
    "gather the stations' databases with tulvo-cli merge -o LINE.db STATION.db...";

// Opens path as access says, after the checks of OpenResultStore.
std::unique_ptr<TSqliteConnection> OpenChecked(const std::string& path, TStoreAccess access,
                                               const TStoreOptions& options)
{
    constexpr int Threading = SQLITE_OPEN_NOMUTEX;
    const auto status = Platform::StatusOf(path);
    if (status && !status->Regular) {
        Refuse(path, status->Folder ? "a folder, not a results database" : "not a regular file");
    }
    if (!status && access == TStoreAccess::Read) {
        Refuse(path, "File not found");
    }
    bool fresh = !status;
    if (status) {
        const TSqliteFileStart start = ReadSqliteFileStart(path, HeaderSize, path, options.BusyTimeout);
        fresh = start.Size == 0;
        if (!fresh) {
            if (const auto refusal = RefusalOf(start)) {
                Refuse(path, *refusal);
            }
        }
    }
    if (access == TStoreAccess::Write &&
        options.FileSystemKind(status ? path : FolderPath(path)) == Platform::TFileSystemKind::Network) {
        Refuse(path, NetworkMessage);
    }
    if (fresh && access == TStoreAccess::Read) {
        // An empty file holds no results: an empty database in memory reads as it.
        auto db = std::make_unique<TSqliteConnection>(
            ":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | Threading, path, options.BusyTimeout);
        db->Execute(SchemaSql().c_str());
        db->Execute("PRAGMA query_only = 1");
        return db;
    }
    std::unique_ptr<TSqliteConnection> db;
    if (access == TStoreAccess::Write) {
        db = std::make_unique<TSqliteConnection>(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | Threading, path,
                                                 options.BusyTimeout);
        if (fresh) {
            CreateIfEmpty(*db);
        }
    } else {
        // Read-write where the file allows, so that the last connection to close removes the WAL
        // files it made; read-only where it does not. Nothing is written either way.
        try {
            db =
                std::make_unique<TSqliteConnection>(path, SQLITE_OPEN_READWRITE | Threading, path, options.BusyTimeout);
        } catch (const EResultStoreError&) {
            db = std::make_unique<TSqliteConnection>(path, SQLITE_OPEN_READONLY | Threading, path, options.BusyTimeout);
        }
    }
    if (access == TStoreAccess::Write && sqlite3_db_readonly(db->Handle(), "main") == 1) {
        Refuse(path, "the database may not be written (the file or its folder is read-only)");
    }
    int chunk = ChunkSize;
    sqlite3_file_control(db->Handle(), "main", SQLITE_FCNTL_CHUNK_SIZE, &chunk);
    VerifyFormat(*db);
    if (access == TStoreAccess::Write) {
        TSqliteStatement journal(*db, "PRAGMA journal_mode = WAL");
        if (!journal.Step() || journal.Text(0) != "wal") {
            Refuse(path, "SQLite cannot keep a WAL journal for the database here");
        }
        db->Execute("PRAGMA synchronous = FULL");
    } else {
        db->Execute("PRAGMA query_only = 1");
    }
    db->Execute("PRAGMA foreign_keys = ON");
    return db;
}

constexpr const char* ResultColumns =
    "r.id, u.id, r.sequence, r.time_ms, r.utc_offset_minutes, r.station, r.operator, r.serial, r.file, "
    "r.file_sha256, r.verdict, r.outside, r.worst_hz, r.margin_db, r.level_dbfs, r.level_margin_db, r.golden, "
    "r.version, m.sha256, r.run_start_ms";

// The row's result into result, whose strings' storage is reused from row to row.
void ReadResult(const TSqliteStatement& row, bool withSpectrum, TResultRecord& result)
{
    const auto optionalInt = [&](int column) {
        const auto value = row.OptionalInteger(column);
        return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
    };
    row.AssignText(0, result.Id);
    row.AssignText(1, result.RunId);
    result.Sequence = row.Integer(2);
    result.TimeMs = row.Integer(3);
    result.UtcOffsetMinutes = static_cast<int>(row.Integer(4));
    row.AssignText(5, result.Station);
    row.AssignText(6, result.Operator);
    row.AssignText(7, result.Serial);
    row.AssignText(8, result.File);
    row.AssignText(9, result.FileSha256);
    row.AssignText(10, result.Verdict);
    result.Outside = optionalInt(11);
    result.WorstHz = optionalInt(12);
    result.MarginDb = row.OptionalReal(13);
    result.LevelDbfs = row.OptionalReal(14);
    result.LevelMarginDb = row.OptionalReal(15);
    result.Golden = row.Integer(16) != 0;
    row.AssignText(17, result.Version);
    row.AssignText(18, result.MaskSha256);
    if (withSpectrum) {
        row.AssignBlob(20, result.Spectrum);
    } else {
        result.Spectrum.clear();
    }
}

class TSqliteResultStore;

// The statements of additions, prepared once per store.
struct TInsertStatements {
    explicit TInsertStatements(TSqliteConnection& db)
        : Run(db, "INSERT INTO runs (id, start_ms, utc_offset_minutes, station, command_line, version) "
                  "VALUES (?1, ?2, ?3, ?4, ?5, ?6) ON CONFLICT (id) DO NOTHING"),
          Mask(db, "INSERT INTO masks (sha256, file, bytes) VALUES (?1, ?2, ?3) ON CONFLICT (sha256) DO NOTHING"),
          // A run or mask that the database does not hold leaves run_row or mask_row NULL, which
          // is refused.
          Result(db, "INSERT INTO results (id, run_row, run_start_ms, sequence, time_ms, utc_offset_minutes, "
                     "station, operator, serial, file, file_sha256, verdict, outside, worst_hz, margin_db, "
                     "level_dbfs, level_margin_db, golden, version, mask_row) "
                     "VALUES (?1, (SELECT row_key FROM runs WHERE id = ?2), (SELECT start_ms FROM runs WHERE id = ?2), "
                     "?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, "
                     "(SELECT row_key FROM masks WHERE sha256 = ?19)) ON CONFLICT (id) DO NOTHING"),
          Spectrum(db, "INSERT INTO spectra (result_row, bytes) VALUES (?1, ?2)")
    {}
    TSqliteStatement Run;
    TSqliteStatement Mask;
    TSqliteStatement Result;
    TSqliteStatement Spectrum;
};

class TSqliteResultStore final : public IResultStore {
public:
    TSqliteResultStore(const std::string& path, TStoreAccess access, const TStoreOptions& options)
        : name_(path), access_(access), db_(OpenChecked(path, access, options))
    {}

    const std::string& Name() const override { return name_; }

    void Add(const std::vector<TRunRecord>& runs, const std::vector<TMaskRecord>& masks,
             const std::vector<TResultRecord>& results) override
    {
        const auto transaction = BeginAdd();
        transaction->Add(runs, masks, results);
        transaction->Commit();
    }

    void ForEachResult(const TResultFilter& filter, const std::function<void(TResultRecord&)>& take) override;
    std::vector<TRunRecord> Runs() override;
    std::vector<TMaskRecord> Masks(bool withBytes) override;
    std::unique_ptr<IResultTransaction> BeginAdd() override;

    TSqliteConnection& Db() { return *db_; }
    TAddedCounts Insert(const std::vector<TRunRecord>& runs, const std::vector<TMaskRecord>& masks,
                        const std::vector<TResultRecord>& results);
    void EndAdding() { adding_ = false; }

private:
    std::string name_;
    TStoreAccess access_;
    std::unique_ptr<TSqliteConnection> db_;
    std::unique_ptr<TInsertStatements> inserts_;
    bool adding_ = false;
};

class TSqliteTransaction final : public IResultTransaction {
public:
    explicit TSqliteTransaction(TSqliteResultStore& store) : store_(store)
    {
        // Takes the write lock now, waiting for another writer up to the busy timeout, so that
        // the transaction never has to give up half-way for a lock.
        store_.Db().Execute("BEGIN IMMEDIATE");
    }
    ~TSqliteTransaction() override
    {
        if (!committed_) {
            sqlite3_exec(store_.Db().Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        }
        store_.EndAdding();
    }
    TSqliteTransaction(const TSqliteTransaction&) = delete;
    TSqliteTransaction& operator=(const TSqliteTransaction&) = delete;

    TAddedCounts Add(const std::vector<TRunRecord>& runs, const std::vector<TMaskRecord>& masks,
                     const std::vector<TResultRecord>& results) override
    {
        return store_.Insert(runs, masks, results);
    }

    void Commit() override
    {
        store_.Db().Execute("COMMIT");
        committed_ = true;
    }

private:
    TSqliteResultStore& store_;
    bool committed_ = false;
};

std::unique_ptr<IResultTransaction> TSqliteResultStore::BeginAdd()
{
    if (access_ != TStoreAccess::Write) {
        Refuse(name_, "opened for reading only");
    }
    if (adding_) {
        Refuse(name_, "a transaction of additions is already open");
    }
    if (!inserts_) {
        inserts_ = std::make_unique<TInsertStatements>(*db_);
    }
    auto transaction = std::make_unique<TSqliteTransaction>(*this);
    adding_ = true;
    return transaction;
}

TAddedCounts TSqliteResultStore::Insert(const std::vector<TRunRecord>& runs, const std::vector<TMaskRecord>& masks,
                                        const std::vector<TResultRecord>& results)
{
    TAddedCounts added;
    TSqliteStatement& insertRun = inserts_->Run;
    for (const TRunRecord& run : runs) {
        if (run.Id.empty()) {
            Refuse(name_, "a run without an identity");
        }
        insertRun.BindText(1, run.Id);
        insertRun.BindInteger(2, run.StartMs);
        insertRun.BindInteger(3, run.UtcOffsetMinutes);
        insertRun.BindText(4, run.Station);
        insertRun.BindText(5, run.CommandLine);
        insertRun.BindText(6, run.Version);
        insertRun.Run();
        added.Runs += db_->Changes();
    }
    TSqliteStatement& insertMask = inserts_->Mask;
    for (const TMaskRecord& mask : masks) {
        if (mask.Sha256.empty()) {
            Refuse(name_, "a mask without its SHA-256");
        }
        insertMask.BindText(1, mask.Sha256);
        insertMask.BindText(2, mask.File);
        insertMask.BindBlob(3, mask.Bytes);
        insertMask.Run();
        added.Masks += db_->Changes();
    }
    TSqliteStatement& insertResult = inserts_->Result;
    TSqliteStatement& insertSpectrum = inserts_->Spectrum;
    for (const TResultRecord& result : results) {
        if (result.Id.empty()) {
            Refuse(name_, "a result without an identity");
        }
        insertResult.BindText(1, result.Id);
        insertResult.BindText(2, result.RunId);
        insertResult.BindInteger(3, result.Sequence);
        insertResult.BindInteger(4, result.TimeMs);
        insertResult.BindInteger(5, result.UtcOffsetMinutes);
        insertResult.BindText(6, result.Station);
        insertResult.BindText(7, result.Operator);
        insertResult.BindText(8, result.Serial);
        insertResult.BindText(9, result.File);
        insertResult.BindText(10, result.FileSha256);
        insertResult.BindText(11, result.Verdict);
        insertResult.BindInteger(12, result.Outside ? std::optional<std::int64_t>(*result.Outside) : std::nullopt);
        insertResult.BindInteger(13, result.WorstHz ? std::optional<std::int64_t>(*result.WorstHz) : std::nullopt);
        insertResult.BindReal(14, result.MarginDb);
        insertResult.BindReal(15, result.LevelDbfs);
        insertResult.BindReal(16, result.LevelMarginDb);
        insertResult.BindInteger(17, result.Golden ? 1 : 0);
        insertResult.BindText(18, result.Version);
        insertResult.BindText(19, result.MaskSha256);
        try {
            insertResult.Run();
        } catch (const EResultStoreError& e) {
            // A result whose run or mask the database does not hold.
            Refuse(name_, "the result " + result.Id + " cannot be added: " + e.what());
        }
        if (db_->Changes() == 0) {
            continue;
        }
        ++added.Results;
        if (!result.Spectrum.empty()) {
            insertSpectrum.BindInteger(1, db_->LastInsertRowKey());
            insertSpectrum.BindBlob(2, result.Spectrum);
            insertSpectrum.Run();
        }
    }
    return added;
}

void TSqliteResultStore::ForEachResult(const TResultFilter& filter, const std::function<void(TResultRecord&)>& take)
{
    // Only the store's own fragments go into the SQL; the filter's values are bound.
    std::string sql =
        std::string("SELECT ") + ResultColumns + (filter.WithSpectra ? ", s.bytes" : "") +
        " FROM results AS r JOIN runs AS u ON u.row_key = r.run_row JOIN masks AS m ON m.row_key = r.mask_row" +
        (filter.WithSpectra ? " LEFT JOIN spectra AS s ON s.result_row = r.row_key" : "") + " WHERE 1";
    if (filter.Station) {
        sql += " AND r.station = ?1";
    }
    if (filter.Serial) {
        sql += " AND r.serial = ?2";
    }
    if (filter.MaskSha256) {
        sql += " AND substr(m.sha256, 1, ?3) = ?4";
    }
    if (filter.FromMs) {
        sql += " AND r.time_ms >= ?5";
    }
    if (filter.ToMs) {
        sql += " AND r.time_ms <= ?6";
    }
    if (filter.Golden) {
        sql += " AND r.golden = ?7";
    }
    // The index's order; runs that start at the same millisecond are put in the order of their ids
    // below, which costs less than SQLite's sorting every row for them.
    sql += " ORDER BY r.time_ms, r.run_start_ms, r.run_row, r.sequence";
    TSqliteStatement select(*db_, sql);
    if (filter.Station) {
        select.BindText(1, *filter.Station);
    }
    if (filter.Serial) {
        select.BindText(2, *filter.Serial);
    }
    if (filter.MaskSha256) {
        select.BindInteger(3, static_cast<std::int64_t>(filter.MaskSha256->size()));
        select.BindText(4, *filter.MaskSha256);
    }
    if (filter.FromMs) {
        select.BindInteger(5, *filter.FromMs);
    }
    if (filter.ToMs) {
        select.BindInteger(6, *filter.ToMs);
    }
    if (filter.Golden) {
        select.BindInteger(7, *filter.Golden ? 1 : 0);
    }
    // Results of one time and one run start, held until the next time or start comes.
    std::vector<TResultRecord> tied(1);
    std::size_t held = 0;
    std::pair<std::int64_t, std::int64_t> tiedKey;
    const auto pass = [&] {
        if (held > 1) {
            std::sort(tied.begin(), tied.begin() + static_cast<std::ptrdiff_t>(held),
                      [](const TResultRecord& a, const TResultRecord& b) {
                          return std::tie(a.RunId, a.Sequence) < std::tie(b.RunId, b.Sequence);
                      });
        }
        for (std::size_t k = 0; k < held; ++k) {
            take(tied[k]);
        }
        held = 0;
    };
    while (select.Step()) {
        const std::pair key(select.Integer(3), select.Integer(19));
        if (held > 0 && key != tiedKey) {
            pass();
        }
        if (held == tied.size()) {
            tied.emplace_back();
        }
        ReadResult(select, filter.WithSpectra, tied[held++]);
        tiedKey = key;
    }
    pass();
}

std::vector<TRunRecord> TSqliteResultStore::Runs()
{
    TSqliteStatement select(
        *db_, "SELECT id, start_ms, utc_offset_minutes, station, command_line, version FROM runs ORDER BY id");
    std::vector<TRunRecord> runs;
    while (select.Step()) {
        runs.push_back({select.Text(0), select.Integer(1), static_cast<int>(select.Integer(2)), select.Text(3),
                        select.Text(4), select.Text(5)});
    }
    return runs;
}

std::vector<TMaskRecord> TSqliteResultStore::Masks(bool withBytes)
{
    TSqliteStatement select(*db_, withBytes ? "SELECT sha256, file, bytes FROM masks ORDER BY sha256"
                                            : "SELECT sha256, file FROM masks ORDER BY sha256");
    std::vector<TMaskRecord> masks;
    while (select.Step()) {
        masks.push_back({select.Text(0), select.Text(1), withBytes ? select.Blob(2) : std::string()});
    }
    return masks;
}

} // namespace

std::unique_ptr<IResultStore> OpenSqliteResultStore(const std::string& path, TStoreAccess access,
                                                    const TStoreOptions& options)
{
    return std::make_unique<TSqliteResultStore>(path, access, options);
}
