#pragma once

// The platform log. Screens and services write free-form lines here; several
// of those lines are part of the product's behaviour, so tests read them back
// through a captured sink, and real runs send them to stderr and a log file.
//
// Lines may be written from any thread.

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace cw {

class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void write(std::string const& line) = 0;
};

// Keeps the lines written, every one by default, or only the newest
// `keep_at_most` (a long-running program's log would otherwise grow
// without end); `take_new_lines` hands out those not yet taken.
class CapturedLogSink final : public LogSink {
public:
    explicit CapturedLogSink(std::size_t keep_at_most = 0)
        : m_keep_at_most(keep_at_most)
    {
    }
    void write(std::string const& line) override;
    std::vector<std::string> lines() const;
    std::vector<std::string> take_new_lines();
    bool contains(std::string const& line) const;

private:
    mutable std::mutex m_mutex;
    std::deque<std::string> m_lines;
    size_t m_taken { 0 };
    std::size_t m_keep_at_most;
};

// Writes each line to stderr and appends it to a file, with a timestamp.
class StreamLogSink final : public LogSink {
public:
    explicit StreamLogSink(std::string file_path, bool echo_to_stderr = true);
    ~StreamLogSink() override;
    void write(std::string const& line) override;

private:
    std::mutex m_mutex;
    std::FILE* m_file { nullptr };
    bool m_echo;
};

class Log {
public:
    void add_sink(std::shared_ptr<LogSink>);
    void line(std::string const& text);

private:
    std::mutex m_mutex;
    std::vector<std::shared_ptr<LogSink>> m_sinks;
};

}
