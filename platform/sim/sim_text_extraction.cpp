#include "sim_text_extraction.h"

namespace cw::sim {

void SimTextExtraction::extract(std::string path, std::function<void(ExtractedText)> done)
{
    m_requested.push_back(path);
    Request request { std::move(path), std::move(done) };
    if (hold)
        m_held.push_back(std::move(request));
    else
        answer(std::move(request));
}

bool SimTextExtraction::finish_next()
{
    if (m_held.empty())
        return false;
    auto request = std::move(m_held.front());
    m_held.pop_front();
    answer(std::move(request));
    return true;
}

void SimTextExtraction::answer(Request request)
{
    m_queue.post([reader = reader, request = std::move(request)] {
        if (reader)
            request.done(reader(request.path));
        else
            request.done(ExtractedText { false, {}, "No document reader is installed." });
    });
}

}
