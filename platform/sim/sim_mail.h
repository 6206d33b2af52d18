#pragma once

// A mail service that sends nothing: it keeps every message handed to it.
// Whether the device can send mail is up to the test (it can, by default).

#include "platform/services/mail.h"

#include <vector>

namespace cw::sim {

class SimMail final : public MailService {
public:
    bool can_send_mail() const override { return m_can_send; }
    bool send(MailMessage const& message) override
    {
        if (!m_can_send)
            return false;
        m_sent.push_back(message);
        return true;
    }

    void set_can_send(bool can_send) { m_can_send = can_send; }
    std::vector<MailMessage> const& sent() const { return m_sent; }

private:
    bool m_can_send { true };
    std::vector<MailMessage> m_sent;
};

}
