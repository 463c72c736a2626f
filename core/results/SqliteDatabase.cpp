#include "core/results/SqliteDatabase.h"

#include "core/results/ResultStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <limits>
#include <memory>
#include <utility>

namespace {

// What a failure means to whoever runs tulvo-cli, by SQLite's primary result code; SQLite's own
// text follows for the others.
std::string MessageOf(sqlite3* db, int code, std::chrono::milliseconds busyTimeout)
{
    const std::string detail = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: {
        const auto seconds = std::chrono::duration<double>(busyTimeout).count();
        char text[32];
        std::snprintf(text, sizeof text, "%g", seconds);
        return std::string("the database stayed locked by another program for ") + text + " s, as long as tulvo waits";
    }
    case SQLITE_FULL: return "the disk is full (" + detail + ")";
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return "the database is damaged (" + detail + ")";
    case SQLITE_READONLY: return "the database may not be written (" + detail + ")";
    case SQLITE_CANTOPEN: return "the database cannot be opened (" + detail + ")";
    case SQLITE_IOERR: return "an I/O error (" + detail + ")";
    default: return detail;
    }
}

int SizeOf(std::string_view text)
{
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return -1; // SQLite then refuses it as too big
    }
    return static_cast<int>(text.size());
}

} // namespace

TSqliteConnection::TSqliteConnection(const std::string& path, int flags, std::string name,
                                     std::chrono::milliseconds busyTimeout)
    : name_(std::move(name)), busyTimeout_(busyTimeout)
{
    const int code = sqlite3_open_v2(path.c_str(), &db_, flags | SQLITE_OPEN_EXRESCODE, nullptr);
    if (code != SQLITE_OK) {
        const std::string message = MessageOf(db_, code, busyTimeout_);
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw EResultStoreError(name_, message);
    }
    const auto ms = busyTimeout.count();
    sqlite3_busy_timeout(db_, static_cast<int>(std::min<decltype(ms)>(ms, std::numeric_limits<int>::max())));
}

TSqliteConnection::~TSqliteConnection() { sqlite3_close_v2(db_); }

void TSqliteConnection::Execute(const char* sql)
{
    const int code = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) {
        Fail(code);
    }
}

std::int64_t TSqliteConnection::QueryInteger(const char* sql)
{
    TSqliteStatement statement(*this, sql);
    return statement.Step() ? statement.Integer(0) : 0;
}

std::int64_t TSqliteConnection::Changes() const noexcept { return sqlite3_changes64(db_); }

std::int64_t TSqliteConnection::LastInsertRowKey() const noexcept { return sqlite3_last_insert_rowid(db_); }

EResultStoreError TSqliteConnection::Error(int code) const
{
    return EResultStoreError(name_, MessageOf(db_, code, busyTimeout_));
}

void TSqliteConnection::Fail(int code) const { throw Error(code); }

TSqliteStatement::TSqliteStatement(TSqliteConnection& connection, std::string_view sql) : connection_(&connection)
{
    const int code = sqlite3_prepare_v3(connection.Handle(), sql.data(), SizeOf(sql), SQLITE_PREPARE_PERSISTENT,
                                        &statement_, nullptr);
    if (code != SQLITE_OK) {
        connection.Fail(code);
    }
}

TSqliteStatement::~TSqliteStatement() { sqlite3_finalize(statement_); }

TSqliteStatement::TSqliteStatement(TSqliteStatement&& other) noexcept
    : connection_(other.connection_), statement_(std::exchange(other.statement_, nullptr))
{}

namespace {

void Check(TSqliteConnection& connection, int code)
{
    if (code != SQLITE_OK) {
        connection.Fail(code);
    }
}

} // namespace

void TSqliteStatement::BindInteger(int index, std::int64_t value)
{
    Check(*connection_, sqlite3_bind_int64(statement_, index, value));
}

void TSqliteStatement::BindReal(int index, double value)
{
    Check(*connection_, sqlite3_bind_double(statement_, index, value));
}

void TSqliteStatement::BindText(int index, std::string_view text)
{
    // A pointer that is never null, so that "" is an empty text rather than NULL.
    Check(*connection_,
          sqlite3_bind_text(statement_, index, text.empty() ? "" : text.data(), SizeOf(text), SQLITE_TRANSIENT));
}

void TSqliteStatement::BindBlob(int index, std::string_view bytes)
{
    if (bytes.empty()) {
        Check(*connection_, sqlite3_bind_zeroblob(statement_, index, 0));
        return;
    }
    Check(*connection_, sqlite3_bind_blob(statement_, index, bytes.data(), SizeOf(bytes), SQLITE_TRANSIENT));
}

void TSqliteStatement::BindNull(int index) { Check(*connection_, sqlite3_bind_null(statement_, index)); }

void TSqliteStatement::BindInteger(int index, std::optional<std::int64_t> value)
{
    value ? BindInteger(index, *value) : BindNull(index);
}

void TSqliteStatement::BindReal(int index, std::optional<double> value)
{
    value ? BindReal(index, *value) : BindNull(index);
}

bool TSqliteStatement::Step()
{
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW) {
        return true;
    }
    if (code == SQLITE_DONE) {
        return false;
    }
    // Reset, so that the statement can run again, once the message is taken.
    const EResultStoreError error = connection_->Error(code);
    sqlite3_reset(statement_);
    throw error;
}

void TSqliteStatement::Run()
{
    while (Step()) {
    }
    Reset();
}

void TSqliteStatement::Reset() noexcept { sqlite3_reset(statement_); }

bool TSqliteStatement::IsNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

std::int64_t TSqliteStatement::Integer(int column) const { return sqlite3_column_int64(statement_, column); }

double TSqliteStatement::Real(int column) const { return sqlite3_column_double(statement_, column); }

std::string TSqliteStatement::Text(int column) const
{
    std::string text;
    AssignText(column, text);
    return text;
}

std::string TSqliteStatement::Blob(int column) const
{
    std::string bytes;
    AssignBlob(column, bytes);
    return bytes;
}

void TSqliteStatement::AssignText(int column, std::string& into) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    into.assign(text != nullptr ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

void TSqliteStatement::AssignBlob(int column, std::string& into) const
{
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement_, column));
    into.assign(bytes != nullptr ? bytes : "", static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

std::optional<std::int64_t> TSqliteStatement::OptionalInteger(int column) const
{
    return IsNull(column) ? std::nullopt : std::optional<std::int64_t>(Integer(column));
}

std::optional<double> TSqliteStatement::OptionalReal(int column) const
{
    return IsNull(column) ? std::nullopt : std::optional<double>(Real(column));
}

namespace {

// A file opened through SQLite's default file layer (its VFS), closed when it goes.
class TVfsFile {
public:
    TVfsFile(const std::string& path, const std::string& name, std::chrono::milliseconds busyTimeout)
        : vfs_(sqlite3_vfs_find(nullptr)), name_(name), busyTimeout_(busyTimeout)
    {
        // xOpen takes a filename in the form SQLite makes for it (with room for URI parameters).
        filename_ = sqlite3_create_filename(path.c_str(), "", "", 0, nullptr);
        storage_ = std::make_unique<std::max_align_t[]>(
            (static_cast<std::size_t>(vfs_->szOsFile) + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t));
        file_ = reinterpret_cast<sqlite3_file*>(storage_.get());
        int outFlags = 0;
        const int code = vfs_->xOpen(vfs_, filename_, file_, SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_READONLY, &outFlags);
        if (code != SQLITE_OK) {
            // A failed xOpen leaves nothing to close.
            file_ = nullptr;
            Fail(code);
        }
    }
    ~TVfsFile()
    {
        if (file_ != nullptr) {
            if (locked_) {
                file_->pMethods->xUnlock(file_, SQLITE_LOCK_NONE);
            }
            file_->pMethods->xClose(file_);
        }
        sqlite3_free_filename(filename_);
    }
    TVfsFile(const TVfsFile&) = delete;
    TVfsFile& operator=(const TVfsFile&) = delete;

    // Takes a shared lock, retrying while a writer holds the file for itself.
    void LockShared()
    {
        const auto deadline = std::chrono::steady_clock::now() + busyTimeout_;
        for (;;) {
            const int code = file_->pMethods->xLock(file_, SQLITE_LOCK_SHARED);
            if (code == SQLITE_OK) {
                locked_ = true;
                return;
            }
            if ((code & 0xFF) != SQLITE_BUSY || std::chrono::steady_clock::now() >= deadline) {
                Fail(code);
            }
            sqlite3_sleep(10);
        }
    }

    std::int64_t Size()
    {
        sqlite3_int64 size = 0;
        const int code = file_->pMethods->xFileSize(file_, &size);
        if (code != SQLITE_OK) {
            Fail(code);
        }
        return size;
    }

    std::string Read(std::size_t count)
    {
        std::string bytes(count, '\0');
        const int code = file_->pMethods->xRead(file_, bytes.data(), static_cast<int>(count), 0);
        if (code != SQLITE_OK && code != SQLITE_IOERR_SHORT_READ) {
            Fail(code);
        }
        return bytes;
    }

private:
    [[noreturn]] void Fail(int code) const { throw EResultStoreError(name_, MessageOf(nullptr, code, busyTimeout_)); }

    sqlite3_vfs* vfs_;
    std::string name_;
    std::chrono::milliseconds busyTimeout_;
    sqlite3_filename filename_ = nullptr;
    std::unique_ptr<std::max_align_t[]> storage_;
    sqlite3_file* file_ = nullptr;
    bool locked_ = false;
};

} // namespace

TSqliteFileStart ReadSqliteFileStart(const std::string& path, std::size_t count, const std::string& name,
                                     std::chrono::milliseconds busyTimeout)
{
    TVfsFile file(path, name, busyTimeout);
    file.LockShared();
    TSqliteFileStart start;
    start.Size = file.Size();
    start.Bytes =
        file.Read(static_cast<std::size_t>(std::min<std::int64_t>(start.Size, static_cast<std::int64_t>(count))));
    return start;
}
