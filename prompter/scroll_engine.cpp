#include "scroll_engine.h"

#include "prompter/speed_text.h"
#include "platform/ui/text_field.h"
#include "platform/ui/text_view.h"

namespace cw {

ScrollEngine::ScrollEngine(RunLoop& loop)
    : m_loop(loop)
{
}

void ScrollEngine::attach(TextView& text, TextField& speed_field)
{
    m_text = &text;
    m_speed_field = &speed_field;
}

void ScrollEngine::RunScroll()
{
    if (!m_text || !m_speed_field)
        return;
    // The step is worked out in single precision, as the speed is held, and
    // only then widened for the offset.
    float speed = leading_speed(m_speed_field->text);
    double step = static_cast<double>(speed / 100.0f);
    double y = m_text->content_offset().y;
    if (ScrollDirectionIsUp) {
        if (y < m_text->content_size().height - m_text->frame.size.height)
            m_text->set_content_offset({ 0, y + step }, false);
        else
            end_run();
    } else {
        if (y > 0)
            m_text->set_content_offset({ 0, y - step }, false);
        else
            end_run();
    }
}

// Reaching the limit touches nothing else: the run controls, the slider
// container, a recording and voice listening all stay as they are.
void ScrollEngine::end_run()
{
    stopRunScrollTimer();
    ScrollIsRunning = false;
}

void ScrollEngine::startRunScrollTimer()
{
    m_scroll_link = m_loop.add_display_link(LoopMode::Default, [this] { RunScroll(); });
}

void ScrollEngine::stopRunScrollTimer()
{
    m_scroll_link.cancel();
}

void ScrollEngine::schedule_delayed_start()
{
    m_delayed_start = m_loop.schedule_timer(delayed_start_seconds, false, LoopMode::Default, [this] { startRunScrollTimer(); });
}

}
