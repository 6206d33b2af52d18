#include "platform/linux/sqlite_persistence.h"

#include "platform/foundation/value_codec.h"
#include "store_test_support.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace cw {
namespace {

namespace fs = std::filesystem;
using Store = std::map<std::string, Value>;

// Runs SQL on the file through a connection of its own, the way another
// program (or a damaged past) would have left it.
void run_sql(fs::path const& path, char const* sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* message = nullptr;
    int const code = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    std::string const why = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    ASSERT_EQ(code, SQLITE_OK) << why;
}

std::vector<std::string> query_column(fs::path const& path, char const* sql)
{
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    while (sqlite3_step(statement) == SQLITE_ROW)
        rows.emplace_back(reinterpret_cast<char const*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

class SqlitePersistenceTest : public ::testing::Test {
protected:
    std::unique_ptr<SqlitePersistence> open_store(SqlitePersistence::Access access = SqlitePersistence::Access::Own)
    {
        return std::make_unique<SqlitePersistence>(m_path, [this](std::string const& line) { m_log.push_back(line); }, access);
    }

    Store reopen_and_load()
    {
        return open_store()->load();
    }

    void save(Store const& values)
    {
        ChangeSet changes;
        for (auto const& [key, value] : values)
            changes[key] = value;
        ASSERT_TRUE(open_store()->write(changes));
    }

    test::TempDir m_dir;
    fs::path m_path { m_dir / "library.sqlite" };
    std::vector<std::string> m_log;
};

TEST_F(SqlitePersistenceTest, NewStoreStartsEmptyInNewFolders)
{
    m_path = m_dir / "a" / "b" / "library.sqlite";
    auto store = open_store();
    EXPECT_TRUE(store->load().empty());
    EXPECT_TRUE(store->failure().empty());
    EXPECT_TRUE(fs::exists(m_path));
    EXPECT_TRUE(m_log.empty());
    EXPECT_EQ(query_column(m_path, "PRAGMA journal_mode"), std::vector<std::string> { "wal" });
    EXPECT_EQ(query_column(m_path, "SELECT value FROM meta WHERE name = 'format'"), std::vector<std::string> { "1" });
}

TEST_F(SqlitePersistenceTest, EveryKindSurvivesAReopen)
{
    auto const sample = test::every_kind_sample();
    save(sample);
    EXPECT_TRUE(test::same_bits(reopen_and_load(), sample));
    EXPECT_TRUE(m_log.empty());
}

TEST_F(SqlitePersistenceTest, WritesUpsertAndDelete)
{
    save({ { "a", 1 }, { "b", "two" }, { "c", List { 3.0 } } });
    auto store = open_store();
    ASSERT_TRUE(store->write({ { "a", Value(10) }, { "c", std::nullopt }, { "d", Value(true) }, { "never there", std::nullopt } }));
    EXPECT_EQ(reopen_and_load(), (Store { { "a", 10 }, { "b", "two" }, { "d", true } }));
    EXPECT_TRUE(store->write({}));
}

TEST_F(SqlitePersistenceTest, OnlyTheChangedKeysAreTouched)
{
    save({ { "scriptTextArray", List { "long text", "more text" } }, { "speeds", List { 1.0, 2.0 } }, { "gone", 1 } });
    // Record every row change the store's own connection makes.
    run_sql(m_path,
        "CREATE TABLE audit(what TEXT);"
        "CREATE TRIGGER audit_insert AFTER INSERT ON store BEGIN INSERT INTO audit VALUES('insert ' || new.key); END;"
        "CREATE TRIGGER audit_update AFTER UPDATE ON store BEGIN INSERT INTO audit VALUES('update ' || new.key); END;"
        "CREATE TRIGGER audit_delete AFTER DELETE ON store BEGIN INSERT INTO audit VALUES('delete ' || old.key); END;");

    auto store = open_store();
    ASSERT_TRUE(store->write({ { "speeds", Value(List { 1.0, 2.5 }) }, { "gone", std::nullopt }, { "new", Value(7) } }));
    EXPECT_EQ(query_column(m_path, "SELECT what FROM audit ORDER BY rowid"),
        (std::vector<std::string> { "delete gone", "insert new", "update speeds" }));
}

TEST_F(SqlitePersistenceTest, TooDeepValueFailsTheWholeWrite)
{
    save({ { "kept", 1 } });
    auto store = open_store();
    EXPECT_FALSE(store->write({ { "kept", Value(2) }, { "deep", test::nested_lists(kMaxValueDepth + 1) } }));
    ASSERT_EQ(m_log.size(), 1u);
    EXPECT_NE(m_log[0].find("\"deep\" nests deeper"), std::string::npos) << m_log[0];
    // Nothing of the failed flush landed, and the connection still works.
    EXPECT_EQ(reopen_and_load(), (Store { { "kept", 1 } }));
    EXPECT_TRUE(store->write({ { "kept", Value(3) } }));
    EXPECT_EQ(reopen_and_load(), (Store { { "kept", 3 } }));
}

TEST_F(SqlitePersistenceTest, EmptyFileIsTakenAsANewStore)
{
    test::write_file(m_path, "");
    auto store = open_store();
    EXPECT_TRUE(store->load().empty());
    EXPECT_FALSE(store->moved_aside_to());
    EXPECT_TRUE(m_log.empty());
    ASSERT_TRUE(store->write({ { "k", Value(1) } }));
    EXPECT_EQ(reopen_and_load(), (Store { { "k", 1 } }));
}

// Each fixture leaves a damaged store at the path; opening it must move the
// file aside untouched, say so once, and carry on with an empty store.
struct Damage {
    char const* name;
    std::function<void(fs::path const&)> make;
    char const* reason;
};

void valid_store_with(fs::path const& path, Store const& values)
{
    ChangeSet changes;
    for (auto const& [key, value] : values)
        changes[key] = value;
    SqlitePersistence store(path, {});
    store.load();
    ASSERT_TRUE(store.write(changes));
}

std::vector<Damage> damages()
{
    return {
        { "garbage bytes",
            [](fs::path const& path) {
                std::string garbage;
                for (int i = 0; i < 400; ++i)
                    garbage += "this is not a database ";
                test::write_file(path, garbage);
            },
            "file is not a database" },
        { "truncated file",
            [](fs::path const& path) {
                List const texts(200, Value(std::string(2000, 't')));
                valid_store_with(path, { { "scriptTextArray", texts }, { "after", 1 } });
                fs::resize_file(path, fs::file_size(path) / 3);
            },
            "malformed" },
        { "another program's database",
            [](fs::path const& path) { run_sql(path, "CREATE TABLE notes(id INTEGER PRIMARY KEY, text TEXT); INSERT INTO notes(text) VALUES('mine');"); },
            "not a Cuewright store" },
        { "store table of another shape",
            [](fs::path const& path) {
                run_sql(path, "CREATE TABLE meta(name TEXT PRIMARY KEY, value); INSERT INTO meta VALUES('format', 1);"
                              "CREATE TABLE store(key TEXT, value BLOB);");
            },
            "store table is not Cuewright's" },
        { "newer format version",
            [](fs::path const& path) {
                valid_store_with(path, { { "a", 1 } });
                run_sql(path, "UPDATE meta SET value = 2 WHERE name = 'format'");
            },
            "format version 2 is not one this program reads" },
        { "undecodable row",
            [](fs::path const& path) {
                valid_store_with(path, { { "good", 1 } });
                run_sql(path, "INSERT INTO store VALUES('bad', x'09ff')");
            },
            "the value of \"bad\" does not decode: unknown tag 9" },
        { "damaged key index",
            [](fs::path const& path) {
                // The row scan never reads the key index, so only the
                // structural check can notice this.
                valid_store_with(path, { { "a", 1 }, { "b", 2 } });
                auto const root = std::stol(query_column(path, "SELECT rootpage FROM sqlite_schema WHERE name = 'sqlite_autoindex_store_1'").at(0));
                auto const page_size = std::stol(query_column(path, "PRAGMA page_size").at(0));
                std::string bytes = test::read_file(path);
                bytes.replace(std::size_t((root - 1) * page_size), 16, std::string(16, '\xff'));
                test::write_file(path, bytes);
            },
            "structure is damaged" },
        { "row of the wrong type",
            [](fs::path const& path) {
                valid_store_with(path, { { "good", 1 } });
                run_sql(path, "INSERT INTO store VALUES('text', 'not a blob')");
            },
            "wrong type" },
    };
}

TEST_F(SqlitePersistenceTest, DamagedStoreIsMovedAsideAndReplaced)
{
    for (auto const& damage : damages()) {
        SCOPED_TRACE(damage.name);
        test::TempDir dir;
        m_path = dir / "library.sqlite";
        m_log.clear();
        damage.make(m_path);
        ASSERT_FALSE(fs::exists(m_path.string() + "-wal")) << "the fixture should leave one whole file";
        std::string const original = test::read_file(m_path);

        auto store = open_store();
        Store const loaded = store->load();
        EXPECT_TRUE(loaded.empty());
        EXPECT_TRUE(store->failure().empty()) << store->failure();
        ASSERT_TRUE(store->moved_aside_to());
        fs::path const moved = *store->moved_aside_to();
        EXPECT_EQ(moved.parent_path(), dir.path());
        EXPECT_EQ(moved.filename().string().rfind("library.sqlite.corrupt-", 0), 0u) << moved;
        EXPECT_EQ(moved.filename().string().size(), std::string("library.sqlite.corrupt-20261211T112233").size()) << moved;
        EXPECT_TRUE(test::read_file(moved) == original) << "the damaged file changed";

        ASSERT_EQ(m_log.size(), 1u);
        EXPECT_NE(m_log[0].find("moved it to " + moved.string()), std::string::npos) << m_log[0];
        EXPECT_NE(m_log[0].find(damage.reason), std::string::npos) << m_log[0];

        // The fresh store works and survives a reopen.
        ASSERT_TRUE(store->write({ { "after", Value("fresh") } }));
        store.reset();
        EXPECT_EQ(reopen_and_load(), (Store { { "after", "fresh" } }));
        EXPECT_EQ(m_log.size(), 1u);
    }
}

TEST_F(SqlitePersistenceTest, CompanionFilesMoveWithTheDatabase)
{
    test::write_file(m_path, std::string(8192, 'x'));
    test::write_file(m_path.string() + "-wal", "old log");
    test::write_file(m_path.string() + "-shm", "old index");
    auto store = open_store();
    EXPECT_TRUE(store->load().empty());
    ASSERT_TRUE(store->moved_aside_to());
    std::string const moved = store->moved_aside_to()->string();
    EXPECT_EQ(test::read_file(moved + "-wal"), "old log");
    // The index is rebuilt from the log by whoever opens it; only the log
    // itself holds data.
    EXPECT_TRUE(fs::exists(moved + "-shm"));
    ASSERT_TRUE(store->write({ { "k", Value(1) } }));
}

TEST_F(SqlitePersistenceTest, RepeatedDamageNeverOverwritesAnEarlierCopy)
{
    std::set<fs::path> moved;
    for (char const* garbage : { "first garbage", "second garbage", "third garbage" }) {
        test::write_file(m_path, std::string(garbage) + std::string(4096, '#'));
        auto store = open_store();
        ASSERT_TRUE(store->moved_aside_to());
        moved.insert(*store->moved_aside_to());
        EXPECT_EQ(test::read_file(*store->moved_aside_to()).rfind(garbage, 0), 0u);
    }
    EXPECT_EQ(moved.size(), 3u);
}

TEST_F(SqlitePersistenceTest, InspectReportsDamageAndMovesNothing)
{
    auto missing = open_store(SqlitePersistence::Access::Inspect);
    EXPECT_NE(missing->failure().find("there is no store at"), std::string::npos) << missing->failure();
    EXPECT_FALSE(fs::exists(m_path));

    test::write_file(m_path, std::string(8192, 'x'));
    auto damaged = open_store(SqlitePersistence::Access::Inspect);
    EXPECT_TRUE(damaged->load().empty());
    EXPECT_NE(damaged->failure().find("is damaged"), std::string::npos) << damaged->failure();
    EXPECT_FALSE(damaged->moved_aside_to());
    EXPECT_FALSE(damaged->write({ { "k", Value(1) } }));
    EXPECT_TRUE(test::read_file(m_path) == std::string(8192, 'x'));

    fs::remove(m_path);
    valid_store_with(m_path, { { "good", 1 } });
    run_sql(m_path, "INSERT INTO store VALUES('bad', x'09')");
    auto bad_row = open_store(SqlitePersistence::Access::Inspect);
    EXPECT_TRUE(bad_row->failure().empty());
    EXPECT_TRUE(bad_row->load().empty());
    EXPECT_NE(bad_row->failure().find("does not decode"), std::string::npos) << bad_row->failure();
    EXPECT_TRUE(fs::exists(m_path));
}

TEST_F(SqlitePersistenceTest, UnusableFolderMeansNothingIsSavedAndSaidOnce)
{
    test::write_file(m_dir / "a file", "not a folder");
    m_path = m_dir / "a file" / "library.sqlite";
    auto store = open_store();
    EXPECT_TRUE(store->load().empty());
    EXPECT_NE(store->failure().find("cannot create the folder"), std::string::npos) << store->failure();
    EXPECT_FALSE(store->write({ { "k", Value(1) } }));
    EXPECT_FALSE(store->write({ { "k", Value(1) } }));
    EXPECT_EQ(m_log.size(), 2u); // the failure, then one "not saving" line
    EXPECT_EQ(test::read_file(m_dir / "a file"), "not a folder");
}

TEST_F(SqlitePersistenceTest, RepeatedFailuresAreLoggedOnceUntilASaveWorks)
{
    auto store = open_store();
    ChangeSet const too_deep { { "deep", test::nested_lists(kMaxValueDepth + 1) } };
    EXPECT_FALSE(store->write(too_deep));
    EXPECT_FALSE(store->write(too_deep));
    EXPECT_EQ(m_log.size(), 1u);
    EXPECT_TRUE(store->write({ { "k", Value(1) } }));
    EXPECT_FALSE(store->write(too_deep));
    EXPECT_EQ(m_log.size(), 2u);
}

// A writer killed at an arbitrary point leaves the file as it was after one
// of its whole flushes: every key carries the same turn, never a mix, and no
// flush that reported success is lost.
TEST_F(SqlitePersistenceTest, KilledWriterLeavesWholeTurns)
{
    std::vector<std::string> const keys { "scriptTextArray", "scriptTitlesArray", "speeds", "fonts", "margins", "turn" };
    auto turn_of = [](Value const& value) { return value.as_list().at(0).as_integer(); };

    for (int reports_before_kill : { 1, 3, 17, 40 }) {
        SCOPED_TRACE(reports_before_kill);
        int pipe_fds[2];
        ASSERT_EQ(::pipe(pipe_fds), 0);
        pid_t const child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipe_fds[0]);
            SqlitePersistence store(m_path, {});
            auto values = store.load();
            std::int64_t turn = values.contains("turn") ? turn_of(values.at("turn")) : 0;
            std::string const filler(64 * 1024, 'f');
            while (true) {
                ++turn;
                ChangeSet changes;
                for (auto const& key : keys)
                    changes[key] = Value(List { turn, filler + key });
                if (!store.write(changes))
                    ::_exit(2);
                if (::write(pipe_fds[1], &turn, sizeof turn) != sizeof turn)
                    ::_exit(3);
            }
        }
        ::close(pipe_fds[1]);
        std::int64_t last_reported = 0;
        for (int i = 0; i < reports_before_kill; ++i)
            ASSERT_EQ(::read(pipe_fds[0], &last_reported, sizeof last_reported), ssize_t(sizeof last_reported));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ::close(pipe_fds[0]);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "writer stopped by itself, status " << status;

        auto store = open_store();
        auto const values = store->load();
        EXPECT_TRUE(m_log.empty()) << m_log.front();
        ASSERT_EQ(values.size(), keys.size());
        std::int64_t const turn = turn_of(values.at("turn"));
        EXPECT_GE(turn, last_reported);
        for (auto const& key : keys)
            EXPECT_EQ(turn_of(values.at(key)), turn) << key;
    }
}

}
}
