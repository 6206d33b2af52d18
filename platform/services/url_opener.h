#pragma once

// Opening a URL outside the application: a web page in the browser, or this
// application's own page in the platform's settings (where the presenter
// grants or withdraws permissions). Opening is fire-and-forget: the
// application does not learn whether anything opened.

#include <string>

namespace cw {

class UrlOpener {
public:
    // The address of this application's page in the platform settings.
    static constexpr char application_settings_url[] = "settings:application";

    virtual ~UrlOpener() = default;
    virtual void open_url(std::string const& url) = 0;
};

}
