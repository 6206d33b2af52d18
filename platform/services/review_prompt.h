#pragma once

// The platform's "rate this application" prompt. The application only asks;
// the platform alone decides whether a prompt is actually shown, so a
// request has no answer.

namespace cw {

class ReviewPrompt {
public:
    virtual ~ReviewPrompt() = default;
    virtual void request_review() = 0;
};

}
