#include "sqlite_persistence.h"

#include "platform/foundation/value_codec.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace cw {

namespace {

constexpr std::int64_t kFormatVersion = 1;

// Files SQLite keeps beside the database; they belong to it and move with it.
constexpr char const* kCompanionSuffixes[] = { "-wal", "-shm", "-journal" };

// How long to wait for another connection's lock before giving up. Only a
// second copy of the program or a tool holds one, and never for long.
constexpr int kBusyTimeoutMs = 5000;

// What went wrong while opening or reading.
struct Problem {
    enum Type {
        None,
        // The file itself is bad: move it aside and start afresh.
        Damage,
        // The file may well be fine but cannot be used right now (locked,
        // disk full, out of memory, read-only): leave it alone.
        Trouble,
    };
    Type type { None };
    std::string reason;

    explicit operator bool() const { return type != None; }
    static Problem damage(std::string reason) { return { Damage, std::move(reason) }; }
    static Problem trouble(std::string reason) { return { Trouble, std::move(reason) }; }
};

bool is_passing_trouble(int code)
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_NOMEM:
    case SQLITE_FULL:
    case SQLITE_READONLY:
    case SQLITE_INTERRUPT:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return true;
    default:
        return false;
    }
}

Problem problem_from(sqlite3* db, int code, std::string const& doing)
{
    std::string reason = doing + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
    return is_passing_trouble(code) ? Problem::trouble(std::move(reason)) : Problem::damage(std::move(reason));
}

std::string timestamp_now()
{
    std::time_t const now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y%m%dT%H%M%S", &local);
    return buffer;
}

bool path_exists(fs::path const& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

// Renames without ever replacing an existing file.
bool rename_no_replace(fs::path const& from, fs::path const& to, std::string& why)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EINVAL || errno == ENOSYS) {
        // The file system cannot rename exclusively; check first instead.
        if (path_exists(to)) {
            why = to.string() + " already exists";
            return false;
        }
        if (std::rename(from.c_str(), to.c_str()) == 0)
            return true;
    }
    why = std::strerror(errno);
    return false;
}

void sync_directory(fs::path const& directory)
{
    int const fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}

struct SqlitePersistence::Connection {
    sqlite3* db { nullptr };
    sqlite3_stmt* begin_write { nullptr };
    sqlite3_stmt* commit { nullptr };
    sqlite3_stmt* rollback { nullptr };
    sqlite3_stmt* upsert { nullptr };
    sqlite3_stmt* erase { nullptr };
    std::string buffer;

    Connection() = default;
    Connection(Connection const&) = delete;
    Connection& operator=(Connection const&) = delete;

    ~Connection()
    {
        for (auto* statement : { begin_write, commit, rollback, upsert, erase })
            sqlite3_finalize(statement);
        sqlite3_close(db);
    }

    int exec(char const* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

    int prepare(char const* sql, sqlite3_stmt** statement)
    {
        return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, statement, nullptr);
    }

    // Runs a statement that yields no rows and readies it for the next use.
    int run(sqlite3_stmt* statement)
    {
        int const code = sqlite3_step(statement);
        sqlite3_reset(statement);
        return code == SQLITE_ROW ? SQLITE_DONE : code;
    }

    void roll_back_if_open()
    {
        if (!sqlite3_get_autocommit(db))
            run(rollback);
    }

    Problem open(fs::path const& path, Access access)
    {
        int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
        if (access == Access::Own)
            flags |= SQLITE_OPEN_CREATE;
        int code = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
        if (code != SQLITE_OK)
            return problem_from(db, code, "cannot open it");
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        // Closing the last connection normally copies the write-ahead log into
        // the database. Until the file has proved to be ours and readable that
        // would write into a file we may be about to set aside, so it waits
        // until load() has read everything.
        set_checkpoint_on_close(false);

        // Look before touching anything: a file that turns out not to be ours
        // must be left as it was, so the journal mode (which rewrites the
        // header) is only set once the schema checks out.
        bool fresh = false;
        if (auto problem = check_schema(fresh))
            return problem;
        if (fresh && access == Access::Inspect)
            return Problem::damage("it holds no Cuewright store");
        if (!fresh) {
            if (auto problem = prepare_store_statements())
                return problem;
        }

        if (access == Access::Own) {
            if (fresh) {
                // The store is a few huge values (the script texts alone run
                // to megabytes) and a few dozen small ones. The largest page
                // keeps those values in short overflow chains, which halves
                // the cost of rewriting the texts against 16 KB pages. Only
                // takes effect on an empty file.
                exec("PRAGMA page_size = 65536");
            }
            if ((code = exec("PRAGMA journal_mode = WAL")) != SQLITE_OK)
                return problem_from(db, code, "cannot switch it to write-ahead logging");
            if ((code = exec("PRAGMA synchronous = FULL")) != SQLITE_OK)
                return problem_from(db, code, "cannot set its sync mode");
            // Copy the log back into the database once it holds about 32 MB
            // (a text rewrite or two), so no single flush pays for copying
            // much more than that, and trim the log file back to that size.
            exec("PRAGMA wal_autocheckpoint = 512");
            exec("PRAGMA journal_size_limit = 33554432");
        }

        if ((code = prepare("BEGIN IMMEDIATE", &begin_write)) != SQLITE_OK
            || (code = prepare("COMMIT", &commit)) != SQLITE_OK
            || (code = prepare("ROLLBACK", &rollback)) != SQLITE_OK)
            return problem_from(db, code, "cannot prepare its statements");

        if (fresh) {
            if (auto problem = create_schema())
                return problem;
            if (auto problem = prepare_store_statements())
                return problem;
            // A file we have just made ourselves is safe to checkpoint.
            set_checkpoint_on_close(true);
        }
        return {};
    }

    void set_checkpoint_on_close(bool on)
    {
        sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, on ? 0 : 1, nullptr);
    }

    // Preparing the writes against the table also checks its shape: the
    // upsert needs `key` to be the primary key.
    Problem prepare_store_statements()
    {
        int code;
        if ((code = prepare("INSERT INTO store(key, value) VALUES(?1, ?2) "
                            "ON CONFLICT(key) DO UPDATE SET value = excluded.value",
                 &upsert))
                != SQLITE_OK
            || (code = prepare("DELETE FROM store WHERE key = ?1", &erase)) != SQLITE_OK)
            return is_passing_trouble(code) ? problem_from(db, code, "cannot prepare its statements")
                                            : Problem::damage(std::string("its store table is not Cuewright's: ") + sqlite3_errmsg(db));
        return {};
    }

    // Tells a new, empty file (`fresh`) from one of ours, and refuses anything
    // else.
    Problem check_schema(bool& fresh)
    {
        int code = exec("BEGIN");
        if (code != SQLITE_OK)
            return problem_from(db, code, "cannot read it");
        Problem problem = read_schema(fresh);
        exec("COMMIT");
        return problem;
    }

    Problem read_schema(bool& fresh)
    {
        sqlite3_stmt* statement = nullptr;
        int code = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_schema", -1, &statement, nullptr);
        if (code == SQLITE_OK)
            code = sqlite3_step(statement);
        std::int64_t const objects = code == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : 0;
        sqlite3_finalize(statement);
        if (code != SQLITE_ROW)
            return problem_from(db, code, "cannot read it");
        fresh = objects == 0;
        if (fresh)
            return {};

        code = sqlite3_prepare_v2(db, "SELECT value FROM meta WHERE name = 'format'", -1, &statement, nullptr);
        if (code != SQLITE_OK) {
            Problem problem = problem_from(db, code, "it is not a Cuewright store");
            sqlite3_finalize(statement);
            return problem;
        }
        code = sqlite3_step(statement);
        Problem problem;
        if (code == SQLITE_ROW) {
            if (sqlite3_column_type(statement, 0) != SQLITE_INTEGER)
                problem = Problem::damage("its format version is not a number");
            else if (auto version = sqlite3_column_int64(statement, 0); version != kFormatVersion)
                problem = Problem::damage("its format version " + std::to_string(version) + " is not one this program reads (it reads "
                    + std::to_string(kFormatVersion) + ")");
        } else if (code == SQLITE_DONE) {
            problem = Problem::damage("it has no format version");
        } else {
            problem = problem_from(db, code, "cannot read its format version");
        }
        sqlite3_finalize(statement);
        return problem;
    }

    Problem create_schema()
    {
        int code = run(begin_write);
        if (code != SQLITE_DONE)
            return problem_from(db, code, "cannot create the store");
        // Someone else may have set the file up between our look and the lock.
        code = exec("CREATE TABLE IF NOT EXISTS meta(name TEXT PRIMARY KEY, value);"
                    "INSERT OR IGNORE INTO meta(name, value) VALUES('format', 1);"
                    "CREATE TABLE IF NOT EXISTS store(key TEXT PRIMARY KEY, value BLOB NOT NULL)");
        if (code == SQLITE_OK)
            code = run(commit) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
        if (code != SQLITE_OK) {
            Problem problem = problem_from(db, code, "cannot create the store");
            roll_back_if_open();
            return problem;
        }
        return {};
    }

    // Reading every row already walks the table and each value's overflow
    // chain; this also walks the key index and the free-page list, whose
    // damage would otherwise only show when a later flush fails. It costs a
    // few milliseconds on a large library.
    Problem quick_check()
    {
        sqlite3_stmt* statement = nullptr;
        int code = sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &statement, nullptr);
        if (code == SQLITE_OK)
            code = sqlite3_step(statement);
        Problem problem;
        if (code == SQLITE_ROW) {
            auto const* text = reinterpret_cast<char const*>(sqlite3_column_text(statement, 0));
            std::string const verdict = text ? text : "";
            if (verdict != "ok")
                problem = Problem::damage("its structure is damaged: " + verdict);
        } else {
            problem = problem_from(db, code, "cannot check it");
        }
        sqlite3_finalize(statement);
        return problem;
    }

    // Reads every row in one read transaction, so the map is one consistent
    // state of the file.
    Problem read_all(std::map<std::string, Value>& out)
    {
        int code = exec("BEGIN");
        if (code != SQLITE_OK)
            return problem_from(db, code, "cannot read it");
        Problem problem = quick_check();
        sqlite3_stmt* statement = nullptr;
        if (!problem && (code = sqlite3_prepare_v2(db, "SELECT key, value FROM store", -1, &statement, nullptr)) != SQLITE_OK)
            problem = problem_from(db, code, "cannot read its store table");
        while (!problem && (code = sqlite3_step(statement)) == SQLITE_ROW) {
            if (sqlite3_column_type(statement, 0) != SQLITE_TEXT || sqlite3_column_type(statement, 1) != SQLITE_BLOB) {
                problem = Problem::damage("a row holds a key or value of the wrong type");
                break;
            }
            auto const* key_text = reinterpret_cast<char const*>(sqlite3_column_text(statement, 0));
            std::string key(key_text, std::size_t(sqlite3_column_bytes(statement, 0)));
            auto const* blob = static_cast<char const*>(sqlite3_column_blob(statement, 1));
            std::string_view const bytes(blob, std::size_t(sqlite3_column_bytes(statement, 1)));
            std::string why;
            auto value = decode_value(bytes, &why);
            if (!value) {
                problem = Problem::damage("the value of \"" + key + "\" does not decode: " + why);
                break;
            }
            out.insert_or_assign(std::move(key), std::move(*value));
        }
        if (!problem && code != SQLITE_DONE)
            problem = problem_from(db, code, "cannot read its store table");
        sqlite3_finalize(statement);
        exec("COMMIT");
        if (problem)
            out.clear();
        return problem;
    }
};

SqlitePersistence::SqlitePersistence(fs::path database, Logger logger, Access access)
    : m_path(std::move(database))
    , m_logger(std::move(logger))
    , m_access(access)
{
    open();
}

SqlitePersistence::~SqlitePersistence() = default;

void SqlitePersistence::log(std::string const& line)
{
    // A failing flush is retried every main-loop turn; say it once.
    if (line == m_last_logged)
        return;
    m_last_logged = line;
    if (m_logger)
        m_logger(line);
}

void SqlitePersistence::fail(std::string reason)
{
    m_connection.reset();
    m_failure = std::move(reason);
    log("store: " + m_failure);
}

void SqlitePersistence::open()
{
    if (m_access == Access::Own) {
        std::error_code error;
        fs::create_directories(m_path.parent_path().empty() ? fs::path(".") : m_path.parent_path(), error);
        if (error)
            return fail("cannot create the folder of " + m_path.string() + ": " + error.message()
                + "; changes will not be saved");
    } else if (!path_exists(m_path)) {
        return fail("there is no store at " + m_path.string());
    }

    auto connection = std::make_unique<Connection>();
    Problem problem = connection->open(m_path, m_access);
    if (!problem) {
        m_connection = std::move(connection);
        return;
    }
    connection.reset();
    if (problem.type == Problem::Damage)
        return set_aside(problem.reason);
    fail("cannot use " + m_path.string() + " (" + problem.reason + "); changes will not be saved");
}

void SqlitePersistence::set_aside(std::string const& reason)
{
    m_connection.reset();
    if (m_access == Access::Inspect)
        return fail("the store at " + m_path.string() + " is damaged: " + reason);
    if (m_moved_aside_to) {
        // The fresh file we made is bad as well: the folder itself is the
        // trouble, and moving more files around would not help.
        return fail("cannot use the new store at " + m_path.string() + " (" + reason + "); changes will not be saved");
    }

    std::string const stem = m_path.string() + ".corrupt-" + timestamp_now();
    fs::path target;
    for (int n = 1;; ++n) {
        target = n == 1 ? stem : stem + "-" + std::to_string(n);
        bool taken = path_exists(target);
        for (auto const* suffix : kCompanionSuffixes)
            taken = taken || path_exists(target.string() + suffix);
        if (!taken)
            break;
    }

    std::string why;
    if (!rename_no_replace(m_path, target, why))
        return fail("the store at " + m_path.string() + " is damaged (" + reason + ") and could not be moved aside (" + why
            + "); it is left as it is and changes will not be saved");
    for (auto const* suffix : kCompanionSuffixes) {
        fs::path const companion = m_path.string() + suffix;
        if (!path_exists(companion))
            continue;
        // A log left behind would be replayed into the fresh file, so if it
        // cannot follow, no fresh file is made.
        if (!rename_no_replace(companion, target.string() + suffix, why))
            return fail("the store at " + m_path.string() + " was damaged (" + reason + ") and moved to " + target.string()
                + ", but its " + suffix + " file could not follow (" + why + "); changes will not be saved");
    }
    sync_directory(m_path.parent_path());
    m_moved_aside_to = target;
    log("store: the store at " + m_path.string() + " could not be read (" + reason + "); moved it to " + target.string()
        + " and started with an empty store");
    open();
}

std::map<std::string, Value> SqlitePersistence::load()
{
    std::map<std::string, Value> values;
    if (!m_connection)
        return values;
    Problem problem = m_connection->read_all(values);
    if (!problem) {
        m_connection->set_checkpoint_on_close(true);
        return values;
    }
    if (problem.type == Problem::Damage)
        set_aside(problem.reason);
    else
        fail("cannot read " + m_path.string() + " (" + problem.reason + "); changes will not be saved");
    return {};
}

bool SqlitePersistence::write(ChangeSet const& changes)
{
    if (!m_connection) {
        log("store: not saving " + std::to_string(changes.size()) + " changed keys: " + m_failure);
        return false;
    }
    if (changes.empty())
        return true;
    Connection& c = *m_connection;
    sqlite3* db = c.db;

    auto give_up = [&](std::string const& why) {
        c.roll_back_if_open();
        log("store: could not save " + std::to_string(changes.size()) + " changed keys: " + why);
        return false;
    };

    int code = c.run(c.begin_write);
    if (code != SQLITE_DONE)
        return give_up(sqlite3_errmsg(db));

    for (auto const& [key, value] : changes) {
        sqlite3_stmt* statement = value ? c.upsert : c.erase;
        sqlite3_bind_text64(statement, 1, key.data(), key.size(), SQLITE_STATIC, SQLITE_UTF8);
        if (value) {
            c.buffer.clear();
            if (!encode_value(*value, c.buffer)) {
                sqlite3_clear_bindings(statement);
                return give_up("the value of \"" + key + "\" nests deeper than " + std::to_string(kMaxValueDepth) + " levels");
            }
            sqlite3_bind_blob64(statement, 2, c.buffer.data(), c.buffer.size(), SQLITE_STATIC);
        }
        code = sqlite3_step(statement);
        std::string const why = code == SQLITE_DONE ? std::string() : sqlite3_errmsg(db);
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        if (code != SQLITE_DONE)
            return give_up(why);
    }

    // Do not keep a copy of the largest value around between flushes.
    if (c.buffer.capacity() > (1u << 20))
        std::string().swap(c.buffer);

    code = c.run(c.commit);
    if (code != SQLITE_DONE)
        return give_up(sqlite3_errmsg(db));
    m_last_logged.clear();
    return true;
}

}
