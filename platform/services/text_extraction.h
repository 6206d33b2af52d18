#pragma once

// Reading the visible text of a document the presenter imports: a
// word-processor document, rich text or plain text, as UTF-8 with line
// breaks between paragraphs.
//
// Reading a large document takes a while, so it never runs on the main
// thread: `extract` returns at once and `done` is called exactly once,
// later, from the platform's side (another thread on a real platform).
// Callers hop back to the main queue before touching the application.

#include <functional>
#include <string>

namespace cw {

struct ExtractedText {
    bool ok { false };
    std::string text;
    // Why the document could not be read, in words for the presenter.
    std::string error;
};

class TextExtraction {
public:
    virtual ~TextExtraction() = default;
    virtual void extract(std::string path, std::function<void(ExtractedText)> done) = 0;
};

}
