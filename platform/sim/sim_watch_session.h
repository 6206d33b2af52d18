#pragma once

// A watch session whose watch is a test. Activation completes on the
// platform queue, as it does on a device, so the launch sees a session that
// is not yet active. Tests send messages with or without a reply handler;
// replies are kept for inspection.

#include "platform/services/watch_session.h"
#include "platform/sim/platform_queue.h"

#include <vector>

namespace cw::sim {

class SimWatchSession final : public WatchSession {
public:
    explicit SimWatchSession(PlatformQueue& queue, bool supported = true)
        : m_queue(queue)
        , m_supported(supported)
    {
    }

    bool is_supported() const override { return m_supported; }
    void set_delegate(WatchSessionDelegate* delegate) override { m_delegate = delegate; }
    WatchSessionDelegate* delegate() const override { return m_delegate; }
    void activate() override;
    WatchActivationState activation_state() const override { return m_state; }

    // Test side.
    void set_supported(bool supported) { m_supported = supported; }
    void send_message(Record message, bool wants_reply);
    std::vector<Record> const& replies() const { return m_replies; }
    int activation_requests() const { return m_activation_requests; }

private:
    PlatformQueue& m_queue;
    bool m_supported;
    WatchSessionDelegate* m_delegate { nullptr };
    WatchActivationState m_state { WatchActivationState::NotActivated };
    std::vector<Record> m_replies;
    int m_activation_requests { 0 };
};

}
