#include "document_reading.h"

#include "platform/linux/documents/documents.h"

namespace cw {

ExtractedText read_document(std::string const& path)
{
    auto result = documents::extract_file(path);
    return ExtractedText { result.ok, std::move(result.text), std::move(result.error) };
}

ThreadedTextExtraction::ThreadedTextExtraction()
    : m_worker([this](std::stop_token stop) { work(stop); })
{
}

ThreadedTextExtraction::~ThreadedTextExtraction()
{
    m_worker.request_stop();
    m_wake.notify_all();
}

void ThreadedTextExtraction::extract(std::string path, std::function<void(ExtractedText)> done)
{
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back({ std::move(path), std::move(done) });
    }
    m_wake.notify_one();
}

void ThreadedTextExtraction::work(std::stop_token stop)
{
    for (;;) {
        Request request;
        {
            std::unique_lock lock(m_mutex);
            if (!m_wake.wait(lock, stop, [this] { return !m_requests.empty(); }))
                return;
            request = std::move(m_requests.front());
            m_requests.pop_front();
        }
        request.done(read_document(request.path));
    }
}

}
