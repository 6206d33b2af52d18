#include "sim_watch_session.h"

namespace cw::sim {

void SimWatchSession::activate()
{
    ++m_activation_requests;
    m_queue.post([this] {
        m_state = WatchActivationState::Activated;
        if (m_delegate)
            m_delegate->sessionActivationDidCompleteWithStateError(m_state, {});
    });
}

void SimWatchSession::send_message(Record message, bool wants_reply)
{
    m_queue.post([this, message = std::move(message), wants_reply] {
        if (!m_delegate)
            return;
        if (wants_reply)
            m_delegate->sessionDidReceiveMessageReplyHandler(message, [this](Record reply) { m_replies.push_back(std::move(reply)); });
        else
            m_delegate->sessionDidReceiveMessage(message);
    });
}

}
