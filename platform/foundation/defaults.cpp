#include "defaults.h"

namespace cw {

bool MemoryPersistence::write(ChangeSet const& changes)
{
    for (auto const& [key, value] : changes) {
        if (value)
            m_values[key] = *value;
        else
            m_values.erase(key);
    }
    m_last_write = changes;
    ++m_write_count;
    return true;
}

Defaults::Defaults(std::unique_ptr<Persistence> persistence)
    : m_persistence(std::move(persistence))
    , m_values(m_persistence->load())
{
}

Defaults::~Defaults()
{
    flush();
}

std::optional<Value> Defaults::object(std::string const& key) const
{
    auto it = m_values.find(key);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

std::int64_t Defaults::integer(std::string const& key) const
{
    auto it = m_values.find(key);
    return it == m_values.end() ? 0 : it->second.to_integer();
}

bool Defaults::boolean(std::string const& key) const
{
    auto it = m_values.find(key);
    return it == m_values.end() ? false : it->second.to_boolean();
}

List Defaults::list(std::string const& key) const
{
    auto it = m_values.find(key);
    if (it == m_values.end() || !it->second.is_list())
        return {};
    return it->second.as_list();
}

std::string Defaults::string(std::string const& key) const
{
    auto it = m_values.find(key);
    if (it == m_values.end() || !it->second.is_string())
        return {};
    return it->second.as_string();
}

void Defaults::set(std::string const& key, Value value)
{
    m_values[key] = std::move(value);
    m_dirty.insert(key);
}

void Defaults::set_integer(std::string const& key, std::int64_t value)
{
    set(key, Value(value));
}

void Defaults::set_boolean(std::string const& key, bool value)
{
    set(key, Value(value));
}

void Defaults::remove(std::string const& key)
{
    m_values.erase(key);
    m_dirty.insert(key);
}

bool Defaults::synchronize()
{
    flush();
    return m_dirty.empty();
}

void Defaults::flush()
{
    if (m_dirty.empty())
        return;
    ChangeSet changes;
    for (auto const& key : m_dirty) {
        auto it = m_values.find(key);
        if (it == m_values.end())
            changes.emplace(key, std::nullopt);
        else
            changes.emplace(key, it->second);
    }
    // On failure the keys stay dirty, so the next turn tries again and
    // nothing the presenter did is dropped.
    if (m_persistence->write(changes))
        m_dirty.clear();
}

void Defaults::replace_all(std::map<std::string, Value> values)
{
    for (auto const& [key, value] : m_values)
        m_dirty.insert(key);
    for (auto const& [key, value] : values)
        m_dirty.insert(key);
    m_values = std::move(values);
}

}
