#pragma once

// Opens nothing; remembers every URL it was asked to open, in order.

#include "platform/services/url_opener.h"

#include <string>
#include <vector>

namespace cw::sim {

class SimUrlOpener final : public UrlOpener {
public:
    void open_url(std::string const& url) override { m_opened.push_back(url); }
    std::vector<std::string> const& opened() const { return m_opened; }

private:
    std::vector<std::string> m_opened;
};

}
