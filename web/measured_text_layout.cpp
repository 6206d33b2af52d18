#include "measured_text_layout.h"

#include "platform/ui/text_view.h"

#include <cmath>
#include <cstdio>
#include <functional>

namespace cw::web {

MeasuredTextLayout::MeasuredTextLayout(std::shared_ptr<TextLayout const> fallback)
    : m_fallback(std::move(fallback))
{
}

std::string MeasuredTextLayout::key_for(std::string_view text, double font_size, double width)
{
    char key[96];
    std::snprintf(key, sizeof key, "%016zx-%zu-%.3f-%.3f", std::hash<std::string_view> {}(text), text.size(), font_size, width);
    return key;
}

Size MeasuredTextLayout::measure(std::string_view text, double font_size, double width) const
{
    Size fallback = m_fallback ? m_fallback->measure(text, font_size, width) : Size {};
    // Nothing to measure, or nothing a page would lay out differently.
    if (text.empty() || !(font_size > 0) || !std::isfinite(font_size) || !(width > 0) || !std::isfinite(width) || text.size() > max_text_bytes)
        return fallback;
    auto key = key_for(text, font_size, width);
    if (auto it = m_sizes.find(key); it != m_sizes.end())
        return it->second;
    if (!m_waiting.contains(key)) {
        m_waiting.emplace(key, Request { key, std::string(text), font_size, width });
        m_new.push_back(key);
    }
    return fallback;
}

std::vector<MeasuredTextLayout::Request> MeasuredTextLayout::take_new_requests()
{
    std::vector<Request> requests;
    for (auto const& key : m_new) {
        if (auto it = m_waiting.find(key); it != m_waiting.end())
            requests.push_back(it->second);
    }
    m_new.clear();
    return requests;
}

std::vector<MeasuredTextLayout::Request> MeasuredTextLayout::waiting_requests() const
{
    std::vector<Request> requests;
    for (auto const& [key, request] : m_waiting)
        requests.push_back(request);
    return requests;
}

bool MeasuredTextLayout::store(std::string const& key, Size size)
{
    auto it = m_waiting.find(key);
    if (it == m_waiting.end() || !std::isfinite(size.width) || !std::isfinite(size.height) || size.width < 0 || size.height < 0)
        return false;
    m_waiting.erase(it);
    m_sizes[key] = size;
    m_age.push_back(key);
    // The oldest answers go first; a text view showing one of them asks again.
    while (m_age.size() > max_entries) {
        m_sizes.erase(m_age.front());
        m_age.pop_front();
    }
    return true;
}

void remeasure_text_views(View& root)
{
    if (auto* text_view = dynamic_cast<TextView*>(&root)) {
        // A text view measures again when its text is set; setting the
        // same text changes nothing else.
        text_view->set_text(std::string(text_view->text()));
    }
    for (auto const& child : root.subviews())
        remeasure_text_views(*child);
}

}
