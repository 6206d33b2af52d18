#pragma once

// The durable home of the defaults store: one SQLite database, usually
// `<data root>/library.sqlite`, holding
//
//   store(key TEXT PRIMARY KEY, value BLOB NOT NULL)   one row per key, the
//                                                      value in the compact
//                                                      binary form of
//                                                      value_codec.h
//   meta(name TEXT PRIMARY KEY, value)                 ("format", 1)
//
// Each flush is one IMMEDIATE transaction that touches only the keys that
// changed, so saving one script's settings never rewrites the script texts.
//
// Durability: the database runs in WAL mode with synchronous=FULL, so the
// write-ahead log is synced at every commit. A flush that returned true
// survives a crash of the program and a power cut alike, and a flush cut
// short by either is rolled back as a whole on the next open. NORMAL would
// be cheaper but may forget the last few flushes after a power cut, i.e. the
// last edits the user saw saved. The price is one sync per flush, and the
// store flushes at most once per main-loop turn: a settings-list flush,
// sync included, stays around a millisecond (see bench/store_bench.cpp).
//
// Damage: a database that cannot be read (not a database, truncated, a
// schema or format version we do not know, a failed structure check, a row
// whose value does not decode) is never repaired or deleted in place. It is renamed beside itself
// to `library.sqlite.corrupt-YYYYMMDDTHHMMSS` (its -wal, -shm and -journal
// files with it), one log line says where it went, and the store starts
// empty in a fresh file. A single bad row counts as damage of the whole file:
// dropping just that row would silently lose the user's data, and carrying
// on in a file SQLite has found inconsistent risks more of the same. If the
// damaged file cannot be moved aside, nothing is written at all: the store
// runs from memory, every flush fails and says why, and the file stays as it
// was for the user to rescue.

#include "platform/foundation/persistence.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace cw {

class SqlitePersistence final : public Persistence {
public:
    using Logger = std::function<void(std::string const&)>;

    enum class Access {
        // The program's own use: creates the file and its folders when
        // missing and moves a damaged file aside.
        Own,
        // Read-and-write use by tools (export, import): works only on an
        // existing file, and reports damage through failure() rather than
        // moving anything.
        Inspect,
    };

    SqlitePersistence(std::filesystem::path database, Logger logger, Access access = Access::Own);
    ~SqlitePersistence() override;

    SqlitePersistence(SqlitePersistence const&) = delete;
    SqlitePersistence& operator=(SqlitePersistence const&) = delete;

    std::map<std::string, Value> load() override;
    bool write(ChangeSet const& changes) override;

    // Why the database is not usable, or empty when it is. In Own access
    // this is only set when a damaged file could not be moved aside.
    std::string const& failure() const { return m_failure; }

    // Where the damaged file was moved, when that happened.
    std::optional<std::filesystem::path> const& moved_aside_to() const { return m_moved_aside_to; }

    std::filesystem::path const& path() const { return m_path; }

private:
    struct Connection;

    void open();
    // Handles damage found while opening or loading: moves the file aside and
    // opens a fresh one, or records the failure. `reason` says what was
    // wrong, for the log.
    void set_aside(std::string const& reason);
    void fail(std::string reason);
    void log(std::string const& line);

    std::filesystem::path m_path;
    Logger m_logger;
    Access m_access;
    std::unique_ptr<Connection> m_connection;
    std::string m_failure;
    std::optional<std::filesystem::path> m_moved_aside_to;
    std::string m_last_logged;
};

}
