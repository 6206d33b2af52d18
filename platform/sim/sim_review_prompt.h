#pragma once

// A review prompt that shows nothing and remembers how often it was asked.

#include "platform/services/review_prompt.h"

namespace cw::sim {

class SimReviewPrompt final : public ReviewPrompt {
public:
    void request_review() override { ++m_requests; }
    int requests() const { return m_requests; }

private:
    int m_requests { 0 };
};

}
