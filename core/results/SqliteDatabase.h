#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class EResultStoreError;
struct sqlite3;
struct sqlite3_stmt;

// The thin layer over SQLite's C API that the SQLite store is written in: a connection and its
// prepared statements, each owned and released once. Every value from outside is bound to a
// statement's parameter (copied by SQLite), never pasted into SQL; only the store's own fixed
// SQL is ever compiled. Every failure raises EResultStoreError naming the database.

class TSqliteConnection;

// A prepared statement. Parameters and columns are numbered from 1 and from 0, as SQLite does.
class TSqliteStatement {
public:
    TSqliteStatement(TSqliteConnection& connection, std::string_view sql);
    ~TSqliteStatement();
    TSqliteStatement(TSqliteStatement&& other) noexcept;
    TSqliteStatement& operator=(TSqliteStatement&&) = delete;
    TSqliteStatement(const TSqliteStatement&) = delete;
    TSqliteStatement& operator=(const TSqliteStatement&) = delete;

    void BindInteger(int index, std::int64_t value);
    void BindReal(int index, double value);
    void BindText(int index, std::string_view text);  // UTF-8, any bytes kept
    void BindBlob(int index, std::string_view bytes); // "" binds an empty blob, not NULL
    void BindNull(int index);
    // NULL when value is empty.
    void BindInteger(int index, std::optional<std::int64_t> value);
    void BindReal(int index, std::optional<double> value);

    // Runs the statement up to its next row: true when there is one to read.
    bool Step();
    // Runs a statement that returns no row (or whose rows do not matter) to its end, then Reset.
    void Run();
    // Makes the statement ready to run again; bindings stay.
    void Reset() noexcept;

    bool IsNull(int column) const;
    std::int64_t Integer(int column) const;
    double Real(int column) const;
    std::string Text(int column) const;
    std::string Blob(int column) const;
    std::optional<std::int64_t> OptionalInteger(int column) const;
    std::optional<double> OptionalReal(int column) const;
    // Text and Blob into a string of the caller's, whose storage is reused.
    void AssignText(int column, std::string& into) const;
    void AssignBlob(int column, std::string& into) const;

private:
    TSqliteConnection* connection_;
    sqlite3_stmt* statement_ = nullptr;
};

// The first bytes of a database file and its size, as read before any connection opens it.
struct TSqliteFileStart {
    std::string Bytes; // up to the count asked for
    std::int64_t Size = 0;
};

// Reads the first count bytes and the size of the existing file path through SQLite's own file
// layer, under a shared lock that waits (up to busyTimeout) for another process that is writing
// the file in rollback mode (one creating it), so that what is read is whole. Nothing of the file
// is changed and no journal is rolled back; the locks that this process's connections hold on the
// file are kept (closing a descriptor of one's own would drop them on POSIX). Raises
// EResultStoreError naming name when it cannot be read.
TSqliteFileStart ReadSqliteFileStart(const std::string& path, std::size_t count, const std::string& name,
                                     std::chrono::milliseconds busyTimeout);

// An open database connection, closed when it goes.
class TSqliteConnection {
public:
    // Opens path with sqlite3_open_v2's flags, extended result codes on, and a busy handler that
    // waits up to busyTimeout for another connection's lock. name is the database as messages
    // name it.
    TSqliteConnection(const std::string& path, int flags, std::string name, std::chrono::milliseconds busyTimeout);
    ~TSqliteConnection();
    TSqliteConnection(const TSqliteConnection&) = delete;
    TSqliteConnection& operator=(const TSqliteConnection&) = delete;

    // Runs fixed SQL of the store's own, one or more statements without parameters.
    void Execute(const char* sql);
    // The first column of the first row of fixed SQL without parameters (a PRAGMA's value).
    std::int64_t QueryInteger(const char* sql);

    // Rows that the last statement changed (an insert that found its identity there changes none).
    std::int64_t Changes() const noexcept;
    // The row key that the last insert gave.
    std::int64_t LastInsertRowKey() const noexcept;

    // The EResultStoreError of SQLite's result code on this connection, and raising it.
    EResultStoreError Error(int code) const;
    [[noreturn]] void Fail(int code) const;

    sqlite3* Handle() const noexcept { return db_; }
    const std::string& Name() const noexcept { return name_; }

private:
    sqlite3* db_ = nullptr;
    std::string name_;
    std::chrono::milliseconds busyTimeout_;
};
