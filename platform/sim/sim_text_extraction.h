#pragma once

// Simulated document reading. Each request is answered on the platform
// queue, so it lands in a later turn as a real reader's would. Which reader
// answers is the caller's choice: the headless driver plugs in the real
// document readers, tests may plug in a table of texts. With `hold` set,
// requests wait until the test finishes them, which lets a test put a slow
// document in the middle of an import.

#include "platform/services/text_extraction.h"
#include "platform/sim/platform_queue.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace cw::sim {

class SimTextExtraction final : public TextExtraction {
public:
    using Reader = std::function<ExtractedText(std::string const& path)>;

    explicit SimTextExtraction(PlatformQueue& queue)
        : m_queue(queue)
    {
    }

    // Without a reader every document fails to read.
    Reader reader;
    bool hold { false };

    void extract(std::string path, std::function<void(ExtractedText)> done) override;

    // The paths asked for so far, in order.
    std::vector<std::string> const& requested() const { return m_requested; }
    std::size_t held() const { return m_held.size(); }
    // Answers the oldest held request; false when none is held.
    bool finish_next();

private:
    struct Request {
        std::string path;
        std::function<void(ExtractedText)> done;
    };
    void answer(Request);

    PlatformQueue& m_queue;
    std::vector<std::string> m_requested;
    std::deque<Request> m_held;
};

}
