#pragma once

// Document reading on Linux: the document readers of documents/, run on a
// worker thread of their own so a large document never stalls the screen.

#include "platform/services/text_extraction.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace cw {

// Reads one document in the calling thread.
ExtractedText read_document(std::string const& path);

// Requests are read one at a time, in order, and each `done` is called on
// the worker thread. Requests still waiting when the service is destroyed
// are dropped.
class ThreadedTextExtraction final : public TextExtraction {
public:
    ThreadedTextExtraction();
    ~ThreadedTextExtraction() override;

    void extract(std::string path, std::function<void(ExtractedText)> done) override;

private:
    struct Request {
        std::string path;
        std::function<void(ExtractedText)> done;
    };
    void work(std::stop_token);

    std::mutex m_mutex;
    std::condition_variable_any m_wake;
    std::deque<Request> m_requests;
    std::jthread m_worker;
};

}
