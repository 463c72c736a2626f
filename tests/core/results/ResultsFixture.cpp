#include "ResultsFixture.h"

#include <sqlite3.h>

#include <stdexcept>

namespace resultstest {

TRunRecord MakeRun(const std::string& id, const std::string& station, std::int64_t startMs)
{
    return {id, startMs, 180, station, "tulvo-cli check --db st.db unit.wav", "1.0.0"};
}

TMaskRecord MakeMask(const std::string& sha256) { return {sha256, "mask.csv", "Line,Low,High\n0,-1,1\n"}; }

TResultRecord MakeResult(const TRunRecord& run, const std::string& id, std::int64_t sequence, std::int64_t timeMs)
{
    TResultRecord result;
    result.Id = id;
    result.RunId = run.Id;
    result.Sequence = sequence;
    result.TimeMs = timeMs;
    result.UtcOffsetMinutes = run.UtcOffsetMinutes;
    result.Station = run.Station;
    result.Serial = "SN" + std::to_string(sequence);
    result.File = result.Serial + ".wav";
    result.FileSha256 = std::string(64, 'f');
    result.Verdict = sequence % 3 == 0 ? "differs" : "ok";
    result.Outside = static_cast<int>(sequence % 3);
    result.WorstHz = 1000;
    result.MarginDb = 0.125 * static_cast<double>(sequence);
    result.Version = run.Version;
    result.MaskSha256 = MakeMask().Sha256;
    result.Spectrum = std::string(732, static_cast<char>(sequence));
    return result;
}

std::vector<TResultRecord> AllResults(IResultStore& store)
{
    std::vector<TResultRecord> results;
    TResultFilter filter;
    filter.WithSpectra = true;
    store.ForEachResult(filter, [&](TResultRecord& result) { results.push_back(result); });
    return results;
}

std::string DumpOf(const std::string& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + path);
    }
    std::string dump;
    const auto each = [&](const std::string& sql, auto&& row) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            row(statement);
        }
        sqlite3_finalize(statement);
    };
    std::vector<std::string> tables;
    each("SELECT name, sql, type FROM sqlite_schema WHERE sql IS NOT NULL ORDER BY name", [&](sqlite3_stmt* row) {
        dump += reinterpret_cast<const char*>(sqlite3_column_text(row, 1)) + std::string("\n");
        if (std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(row, 2))) == "table") {
            tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(row, 0)));
        }
    });
    for (const std::string& table : tables) {
        each("SELECT * FROM " + table + " ORDER BY rowid", [&](sqlite3_stmt* row) {
            dump += table;
            for (int k = 0; k < sqlite3_column_count(row); ++k) {
                const auto* bytes = static_cast<const char*>(sqlite3_column_blob(row, k));
                dump +=
                    '|' + std::to_string(sqlite3_column_type(row, k)) + ':' +
                    std::string(bytes != nullptr ? bytes : "", static_cast<std::size_t>(sqlite3_column_bytes(row, k)));
            }
            dump += '\n';
        });
    }
    sqlite3_close(db);
    return dump;
}

} // namespace resultstest
