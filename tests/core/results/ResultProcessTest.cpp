// Stations recording as processes of their own (tulvo_results_writer): several writing one file
// at once from its start, and one killed in the middle of a run, again and again.

#include "ResultsFixture.h"

#include "tests/support/FileBytes.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TTempFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <map>
#include <set>
#include <thread>

using namespace resultstest;
using namespace testsupport;

namespace {

std::vector<std::string> Writer(const std::string& db, const std::string& station, long long count)
{
    return {TULVO_RESULTS_WRITER, db, station, std::to_string(count)};
}

// The sequences a writer printed as committed.
std::vector<std::int64_t> PrintedSequences(const std::string& path)
{
    const auto bytes = ReadBytes(path);
    std::vector<std::int64_t> sequences;
    std::string line;
    for (const std::uint8_t byte : bytes) {
        if (byte == '\n') {
            sequences.push_back(std::stoll(line));
            line.clear();
        } else if (byte != '\r') {
            line += static_cast<char>(byte);
        }
    }
    return sequences;
}

std::string IntegrityOf(const std::string& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* check = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
    std::string verdict =
        sqlite3_step(check) == SQLITE_ROW ? reinterpret_cast<const char*>(sqlite3_column_text(check, 0)) : "";
    sqlite3_finalize(check);
    sqlite3_close(db);
    return verdict;
}

// Four stations start together on an empty file whose write lock another connection holds until
// all have found it empty and wait to make it a database: it is made once, and every result of
// each is there once, in its run's order.
TEST(ResultProcess, WritersAtOnceLoseNothing)
{
    TTempFolder folder;
    const std::string db = folder.File("line.db");
    WriteBytes(folder.File("in"), {});
    WriteBytes(db, {});
    sqlite3* holder = nullptr;
    sqlite3_open(db.c_str(), &holder);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    std::vector<pid_t> writers;
    for (int k = 1; k <= 4; ++k) {
        const std::string station = "st" + std::to_string(k);
        writers.push_back(StartProgram(Writer(db, station, 150), folder.File("in"), folder.File(station + ".out"),
                                       folder.File(station + ".err")));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    for (const pid_t writer : writers) {
        EXPECT_EQ(WaitProgram(writer).Status, 0);
    }
    std::map<std::string, std::vector<std::int64_t>> sequences;
    std::set<std::string> ids;
    for (const TResultRecord& result : AllResults(*OpenResultStore(db, TStoreAccess::Read))) {
        sequences[result.Station].push_back(result.Sequence);
        ids.insert(result.Id);
    }
    EXPECT_EQ(ids.size(), 600u);
    ASSERT_EQ(sequences.size(), 4u);
    for (const auto& [station, numbers] : sequences) {
        ASSERT_EQ(numbers.size(), 150u) << station;
        for (std::size_t k = 0; k < numbers.size(); ++k) {
            EXPECT_EQ(numbers[k], static_cast<std::int64_t>(k + 1)) << station;
        }
    }
}

// Killed once it has printed 5, 60 and 200 results: every printed result is in the file, which
// stays whole, and the next run records into it.
TEST(ResultProcess, KilledInTheMiddleKeepsEveryPrintedResult)
{
    TTempFolder folder;
    const std::string db = folder.File("st1.db");
    WriteBytes(folder.File("in"), {});
    std::size_t before = 0;
    for (const std::size_t printed : {5u, 60u, 200u}) {
        const std::string out = folder.File("run" + std::to_string(printed) + ".out");
        const pid_t writer = StartProgram(Writer(db, "st1", 1'000'000), folder.File("in"), out, folder.File("err"));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (PrintedSequences(out).size() < printed && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        StopProgram(writer);
        WaitProgram(writer);
        const auto shown = PrintedSequences(out);
        ASSERT_GE(shown.size(), printed);
        EXPECT_EQ(IntegrityOf(db), "ok");
        const auto results = AllResults(*OpenResultStore(db, TStoreAccess::Read));
        ASSERT_GE(results.size(), before + shown.size());
        // This run's results: the first of them at least all that were printed, in order.
        for (std::size_t k = 0; k < shown.size(); ++k) {
            EXPECT_EQ(results[before + k].Sequence, shown[k]);
            EXPECT_EQ(results[before + k].Spectrum, MakeResult({}, "", shown[k], 0).Spectrum);
        }
        before = results.size();
    }
}

} // namespace
