#pragma once

// The one place where the live program chooses its back ends. The store is
// real (SQLite, chosen by the caller because it must exist before the
// application); links and mail open in the presenter's browser, and text is
// measured by it; every other
// service starts out as its simulated stand-in and is replaced here by its
// real implementation as that lands.

#include "web/measured_text_layout.h"
#include "web/page_links.h"

#include <memory>

namespace cw {
class AppContext;
namespace sim {
struct SimPlatform;
}
}

namespace cw::web {

// The services that reach the browser, made before the application and
// connected to the pages once the server runs.
struct PageServices {
    std::shared_ptr<PageUrlOpener> urls { std::make_shared<PageUrlOpener>() };
    std::shared_ptr<PageMail> mail { std::make_shared<PageMail>() };
    std::shared_ptr<PageShare> share { std::make_shared<PageShare>() };
    // Set by `install_linux_services`: text measured by the pages.
    std::shared_ptr<MeasuredTextLayout> text_layout;

    void connect(OpenInPage);
};

void install_linux_services(AppContext&, sim::SimPlatform& stand_ins, PageServices&);

}
