#include "log.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace cw {

void CapturedLogSink::write(std::string const& line)
{
    std::lock_guard lock(m_mutex);
    m_lines.push_back(line);
    if (m_keep_at_most > 0 && m_lines.size() > m_keep_at_most) {
        m_lines.pop_front();
        if (m_taken > 0)
            --m_taken;
    }
}

std::vector<std::string> CapturedLogSink::lines() const
{
    std::lock_guard lock(m_mutex);
    return { m_lines.begin(), m_lines.end() };
}

std::vector<std::string> CapturedLogSink::take_new_lines()
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> fresh(m_lines.begin() + static_cast<std::ptrdiff_t>(m_taken), m_lines.end());
    m_taken = m_lines.size();
    return fresh;
}

bool CapturedLogSink::contains(std::string const& line) const
{
    std::lock_guard lock(m_mutex);
    return std::find(m_lines.begin(), m_lines.end(), line) != m_lines.end();
}

StreamLogSink::StreamLogSink(std::string file_path, bool echo_to_stderr)
    : m_echo(echo_to_stderr)
{
    if (!file_path.empty())
        m_file = std::fopen(file_path.c_str(), "a");
}

StreamLogSink::~StreamLogSink()
{
    if (m_file)
        std::fclose(m_file);
}

void StreamLogSink::write(std::string const& line)
{
    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::lock_guard lock(m_mutex);
    if (m_echo)
        std::fprintf(stderr, "%s\n", line.c_str());
    if (m_file) {
        std::fprintf(m_file, "%s %s\n", stamp, line.c_str());
        std::fflush(m_file);
    }
}

void Log::add_sink(std::shared_ptr<LogSink> sink)
{
    std::lock_guard lock(m_mutex);
    m_sinks.push_back(std::move(sink));
}

void Log::line(std::string const& text)
{
    std::lock_guard lock(m_mutex);
    for (auto& sink : m_sinks)
        sink->write(text);
}

}
