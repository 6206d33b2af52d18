#pragma once

// A simulated "platform queue": where the simulated back ends deliver what a
// real platform would deliver on its own threads (peer data, watch messages,
// permission answers, photo-library completions). Nothing runs until
// someone drains the queue, so tests decide exactly when a delivery lands,
// and the handlers' hop to the main queue is exercised for real.

#include <deque>
#include <functional>
#include <mutex>

namespace cw::sim {

class PlatformQueue {
public:
    void post(std::function<void()> task)
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }

    // Runs every task, including those posted while draining. Answers how
    // many ran.
    int drain()
    {
        int count = 0;
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard lock(m_mutex);
                if (m_tasks.empty())
                    return count;
                task = std::move(m_tasks.front());
                m_tasks.pop_front();
            }
            task();
            ++count;
        }
    }

    bool empty() const
    {
        std::lock_guard lock(m_mutex);
        return m_tasks.empty();
    }

private:
    mutable std::mutex m_mutex;
    std::deque<std::function<void()>> m_tasks;
};

}
