// The SQLite results database through its store: texts from outside kept byte for byte, the one
// order of every reading and its filters, the files it refuses left as they were, the network
// file system refused for writing only, and a merge made twice that adds nothing the second time.

#include "ResultsFixture.h"

#include "tests/support/FileBytes.h"
#include "tests/support/TTempFolder.h"

#include "core/results/ResultMerge.h"
#include "core/results/SqliteResultStore.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

using namespace resultstest;
using namespace testsupport;

namespace {

// Runs fixed SQL on the SQLite file path as another program would.
void RunSql(const std::string& path, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

// A results database at path holding one run of 40 results.
void MakeDatabase(const std::string& path)
{
    const auto store = OpenResultStore(path, TStoreAccess::Write);
    const TRunRecord run = MakeRun("run", "st1", 1000);
    std::vector<TResultRecord> results;
    for (int k = 1; k <= 40; ++k) {
        results.push_back(MakeResult(run, "result" + std::to_string(k), k, 1000 + k));
    }
    store->Add({run}, {MakeMask()}, results);
}

TEST(ResultStore, TextsFromOutsideComeBackAsTheyWentIn)
{
    const std::vector<std::string> texts = {
        "it's \"quoted\"",    "a,b,,c", "line\nnext\r\nlast", "Станция №1 — цех", "'); DROP TABLE results; --",
        "\xff\xfe not UTF-8", ""};
    TTempFolder folder;
    const std::string path = folder.File("hostile.db");
    std::vector<TRunRecord> runs;
    std::vector<TMaskRecord> masks;
    std::vector<TResultRecord> results;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        const std::string& text = texts[k];
        TRunRecord run = MakeRun("run" + std::to_string(k), text, 1000 + static_cast<std::int64_t>(k));
        run.CommandLine = "tulvo-cli check --station " + text;
        runs.push_back(run);
        masks.push_back({std::string(63, 'a') + static_cast<char>('a' + k), text, text});
        TResultRecord result = MakeResult(run, "result" + std::to_string(k), 1, 2000 + static_cast<std::int64_t>(k));
        result.Operator = result.Serial = result.File = result.Verdict = text;
        result.MaskSha256 = masks.back().Sha256;
        result.Outside = std::nullopt;
        result.LevelDbfs = -0.1; // the numbers as well: a fraction no decimal holds, and none
        result.Spectrum = text.empty() ? std::string() : text + std::string(1, '\0') + text;
        results.push_back(result);
    }
    OpenResultStore(path, TStoreAccess::Write)->Add(runs, masks, results);
    const auto store = OpenResultStore(path, TStoreAccess::Read);
    EXPECT_EQ(AllResults(*store), results);
    EXPECT_EQ(store->Runs(), runs);
    EXPECT_EQ(store->Masks(true), masks);
}

// Ties of time are broken by the run's start, then its id (the runs added in another order), then
// the sequence; the filters take their results in that order, both ends of a time range included.
TEST(ResultStore, EveryReadingTakesTheOneOrderAndFilters)
{
    TTempFolder folder;
    const auto store = OpenResultStore(folder.File("order.db"), TStoreAccess::Write);
    const TRunRecord late = MakeRun("a-late", "st1", 500);
    const TRunRecord early = MakeRun("z-early", "st2", 100);
    const TRunRecord twin = MakeRun("b-twin", "st2", 500);
    std::vector<TResultRecord> results = {MakeResult(late, "r1", 2, 3000),  MakeResult(late, "r2", 1, 3000),
                                          MakeResult(early, "r3", 1, 3000), MakeResult(twin, "r4", 1, 3000),
                                          MakeResult(early, "r5", 2, 1000), MakeResult(twin, "r6", 2, 4000)};
    results[0].Golden = true;
    results[3].MaskSha256 = std::string(16, 'a') + std::string(48, 'b');
    store->Add({twin, early, late}, {MakeMask(), MakeMask(results[3].MaskSha256)}, results);
    const auto ids = [&](TResultFilter filter) {
        std::string text;
        store->ForEachResult(filter, [&](TResultRecord& result) { text += result.Id + " "; });
        return text;
    };
    EXPECT_EQ(ids({}), "r5 r3 r2 r1 r4 r6 ");
    struct TCase {
        std::function<void(TResultFilter&)> Set;
        const char* Ids;
    };
    const TCase cases[] = {
        {[](TResultFilter& f) { f.Station = "st2"; }, "r5 r3 r4 r6 "},
        {[](TResultFilter& f) { f.Serial = "SN2"; }, "r5 r1 r6 "},
        {[](TResultFilter& f) { f.MaskSha256 = std::string(16, 'a'); }, "r5 r3 r2 r1 r4 r6 "},
        {[](TResultFilter& f) { f.MaskSha256 = std::string(16, 'a') + std::string(48, 'b'); }, "r4 "},
        {[](TResultFilter& f) { f.FromMs = 3000; }, "r3 r2 r1 r4 r6 "},
        {[](TResultFilter& f) { f.ToMs = 3000; }, "r5 r3 r2 r1 r4 "},
        {[](TResultFilter& f) { f.FromMs = f.ToMs = 3000; }, "r3 r2 r1 r4 "},
        {[](TResultFilter& f) { f.Golden = false; }, "r5 r3 r2 r4 r6 "},
        {[](TResultFilter& f) { f.Golden = true; }, "r1 "},
    };
    for (const TCase& c : cases) {
        TResultFilter filter;
        c.Set(filter);
        EXPECT_EQ(ids(filter), c.Ids);
    }
}

struct TForeignFile {
    const char* Name;
    std::function<void(const std::string& path)> Make;
    const char* Message; // a part of the refusal's message
};

class RefusedFiles : public testing::TestWithParam<TForeignFile> {};

// Refused before SQLite reads the file, for reading and for writing alike: the file keeps every
// byte, and nothing appears beside it (no journal, no WAL).
TEST_P(RefusedFiles, AreLeftByteForByteAsTheyWere)
{
    TTempFolder folder;
    const std::string path = folder.File("foreign.db");
    GetParam().Make(path);
    const auto before = ReadBytes(path);
    const auto entries = FolderEntries(folder.Path());
    for (const TStoreAccess access : {TStoreAccess::Read, TStoreAccess::Write}) {
        try {
            OpenResultStore(path, access);
            ADD_FAILURE() << "opened";
        } catch (const EResultStoreError& e) {
            EXPECT_EQ(e.Database(), path);
            EXPECT_NE(std::string(e.what()).find(GetParam().Message), std::string::npos) << e.what();
        }
        EXPECT_EQ(ReadBytes(path), before);
        EXPECT_EQ(FolderEntries(folder.Path()), entries);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ResultStore, RefusedFiles,
    testing::Values(TForeignFile{"textFile",
                                 [](const std::string& path) {
                                     WriteBytes(path, {'F', 'i', 'l', 'e', ',', 'o', 'k', '\n'});
                                 },
                                 "not a tulvo results database"},
                    TForeignFile{"otherProgramsDatabase",
                                 [](const std::string& path) {
                                     RunSql(path, "CREATE TABLE results (x); INSERT INTO results VALUES (1)");
                                 },
                                 "another program's SQLite database"},
                    // Left in the middle of a write, with its journal beside it, by a process that died.
                    TForeignFile{"otherProgramsDatabaseWithJournal",
                                 [](const std::string& path) {
                                     RunSql(path,
                                            "PRAGMA journal_mode = WAL; PRAGMA application_id = 7; CREATE TABLE t (x)");
                                     WriteBytes(path + "-wal", std::vector<std::uint8_t>(100, 1));
                                 },
                                 "another program's SQLite database"},
                    TForeignFile{"cutOff",
                                 [](const std::string& path) {
                                     MakeDatabase(path);
                                     auto bytes = ReadBytes(path);
                                     bytes.resize(bytes.size() / 2 + 100);
                                     WriteBytes(path, bytes);
                                 },
                                 "cut-off"},
                    TForeignFile{"cutInItsHeader",
                                 [](const std::string& path) {
                                     MakeDatabase(path);
                                     auto bytes = ReadBytes(path);
                                     bytes.resize(60);
                                     WriteBytes(path, bytes);
                                 },
                                 "cut-off"},
                    TForeignFile{"newerVersion",
                                 [](const std::string& path) {
                                     MakeDatabase(path);
                                     RunSql(path, "PRAGMA user_version = 2");
                                 },
                                 "newer than this tulvo reads (1)"}),
    [](const testing::TestParamInfo<TForeignFile>& info) { return info.param.Name; });

// A database on a network file system is refused where it would be written, and nothing is made
// there; it is read as any other.
TEST(ResultStore, NetworkFileSystemIsRefusedForWritingOnly)
{
    TTempFolder folder;
    TStoreOptions network;
    network.FileSystemKind = [](const std::string&) { return Platform::TFileSystemKind::Network; };
    for (const std::string name : {"new.db", "old.db"}) {
        const std::string path = folder.File(name);
        if (name == "old.db") {
            MakeDatabase(path);
        }
        const auto before = ReadBytes(path);
        try {
            OpenResultStore(path, TStoreAccess::Write, network);
            ADD_FAILURE() << "opened for writing on a network file system";
        } catch (const EResultStoreError& e) {
            EXPECT_NE(std::string(e.what()).find("WAL"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("tulvo-cli merge"), std::string::npos) << e.what();
        }
        EXPECT_EQ(ReadBytes(path), before);
        EXPECT_EQ(Exists(path), name == "old.db");
    }
    EXPECT_EQ(AllResults(*OpenResultStore(folder.File("old.db"), TStoreAccess::Read, network)).size(), 40u);
}

// An empty file is a database holding nothing: read as such and left empty, made a database when
// written. A missing one is made when written only.
TEST(ResultStore, EmptyOrMissingFileBecomesADatabaseWhenWritten)
{
    TTempFolder folder;
    const std::string empty = folder.File("empty.db");
    WriteBytes(empty, {});
    EXPECT_TRUE(AllResults(*OpenResultStore(empty, TStoreAccess::Read)).empty());
    EXPECT_TRUE(ReadBytes(empty).empty());
    EXPECT_THROW(OpenResultStore(folder.File("missing.db"), TStoreAccess::Read), EResultStoreError);
    EXPECT_FALSE(Exists(folder.File("missing.db")));
    for (const std::string& path : {empty, folder.File("missing.db")}) {
        MakeDatabase(path);
        EXPECT_EQ(AllResults(*OpenResultStore(path, TStoreAccess::Read)).size(), 40u);
    }
}

// Each station's results once in the line's database, whatever was merged before: a second merge
// adds nothing and changes no row.
TEST(ResultStore, MergingTwiceIsMergingOnce)
{
    TTempFolder folder;
    const std::string line = folder.File("line.db");
    std::vector<TResultRecord> expected;
    for (const std::string station : {"st1", "st2"}) {
        const auto store = OpenResultStore(folder.File(station + ".db"), TStoreAccess::Write);
        const TRunRecord run = MakeRun(station + "-run", station, 1000);
        std::vector<TResultRecord> results;
        for (int k = 1; k <= 600; ++k) { // more than a batch of the merge
            results.push_back(MakeResult(run, station + "-" + std::to_string(k), k, 1000 + 2 * k + (station == "st2")));
        }
        results.back().Spectrum.clear(); // a unit that could not be read has none
        store->Add({run}, {MakeMask()}, results);
        expected.insert(expected.end(), results.begin(), results.end());
    }
    std::sort(expected.begin(), expected.end(),
              [](const TResultRecord& a, const TResultRecord& b) { return a.TimeMs < b.TimeMs; });
    // What each merge of st1, st2 and st1 again adds, the first time and the second.
    const std::vector<TAddedCounts> added = {{1, 1, 600}, {1, 0, 600}, {}, {}, {}, {}};
    std::string once;
    for (int merge = 0; merge < 2; ++merge) {
        const auto target = OpenResultStore(line, TStoreAccess::Write);
        int k = 3 * merge;
        for (const std::string station : {"st1", "st2", "st1"}) {
            const auto source = OpenResultStore(folder.File(station + ".db"), TStoreAccess::Read);
            EXPECT_EQ(MergeResults(*source, *target), added[static_cast<std::size_t>(k++)]) << station;
        }
        EXPECT_EQ(AllResults(*target), expected);
        if (merge == 0) {
            once = DumpOf(line);
        }
    }
    EXPECT_EQ(DumpOf(line), once);
}

} // namespace
