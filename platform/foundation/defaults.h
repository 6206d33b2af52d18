#pragma once

// The defaults store: the per-user key-value store that holds the whole
// script library, the per-script settings and the hand-over keys between
// screens.
//
// Reads come from an in-memory map and hand back copies. Writes update the
// map at once, so every later read sees them, and mark the key dirty. Dirty
// keys are written to the persistence together in one transaction by
// `flush()`, which the run loop calls at the end of every main-loop turn;
// `synchronize()` flushes at once. So one user operation, which runs inside
// one turn, reaches the disk whole or not at all.

#include "persistence.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>

namespace cw {

class Defaults {
public:
    explicit Defaults(std::unique_ptr<Persistence>);
    ~Defaults();

    Defaults(Defaults const&) = delete;
    Defaults& operator=(Defaults const&) = delete;

    // None when the key is absent.
    std::optional<Value> object(std::string const& key) const;
    // 0 when absent or not a number.
    std::int64_t integer(std::string const& key) const;
    // NO when absent or not a flag.
    bool boolean(std::string const& key) const;
    // The list under the key, or an empty list when it is absent or holds
    // something else. Most library operations read lists this way.
    List list(std::string const& key) const;
    // The string under the key, or an empty one.
    std::string string(std::string const& key) const;

    void set(std::string const& key, Value);
    void set_integer(std::string const& key, std::int64_t);
    void set_boolean(std::string const& key, bool);
    void remove(std::string const& key);

    // Persists every dirty key at once. Answers whether the store is clean
    // afterwards.
    bool synchronize();
    // Called at the end of each main-loop turn; a no-op when nothing is dirty.
    void flush();

    bool has_unsaved_changes() const { return !m_dirty.empty(); }
    std::map<std::string, Value> const& snapshot() const { return m_values; }
    // Replaces the whole content (store import). Every old and new key is
    // marked dirty so the next flush mirrors the import exactly.
    void replace_all(std::map<std::string, Value>);

private:
    std::unique_ptr<Persistence> m_persistence;
    std::map<std::string, Value> m_values;
    std::set<std::string> m_dirty;
};

}
