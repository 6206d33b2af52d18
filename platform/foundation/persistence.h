#pragma once

// Where the defaults store keeps its values between runs. The store holds the
// whole map in memory and asks its persistence only twice: once at start to
// load everything, and at each flush to write the keys that changed since the
// last flush. A flush must land whole or not at all, so that a crash leaves
// the data as it was after some complete main-loop turn.

#include "value.h"

#include <map>
#include <optional>
#include <string>

namespace cw {

// A key with a value is written; a key with none is removed.
using ChangeSet = std::map<std::string, std::optional<Value>>;

class Persistence {
public:
    virtual ~Persistence() = default;

    // Every stored key and value. Called once, before the first read.
    virtual std::map<std::string, Value> load() = 0;

    // Applies all changes atomically. Returns false (after logging why) when
    // the write failed; the store then keeps the keys dirty and tries again at
    // the next flush.
    virtual bool write(ChangeSet const& changes) = 0;
};

// Keeps everything in memory; used by tests and by the headless driver when
// no data folder is wanted. `write_count` lets tests see that flushes happen.
class MemoryPersistence final : public Persistence {
public:
    MemoryPersistence() = default;
    explicit MemoryPersistence(std::map<std::string, Value> initial)
        : m_values(std::move(initial))
    {
    }
    std::map<std::string, Value> load() override { return m_values; }
    bool write(ChangeSet const& changes) override;

    std::map<std::string, Value> const& values() const { return m_values; }
    int write_count() const { return m_write_count; }
    ChangeSet const& last_write() const { return m_last_write; }

private:
    std::map<std::string, Value> m_values;
    ChangeSet m_last_write;
    int m_write_count { 0 };
};

}
