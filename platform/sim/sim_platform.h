#pragma once

// The simulated platform of one device: its platform queue and the handles
// a test uses to script each simulated service. `install` puts the
// simulated services into an application's registry; it is the only place
// that chooses them.

#include "platform/services/text_layout.h"
#include "platform/sim/platform_queue.h"
#include "platform/sim/sim_audio.h"
#include "platform/sim/sim_capture.h"
#include "platform/sim/sim_mail.h"
#include "platform/sim/sim_media.h"
#include "platform/sim/sim_peer_connectivity.h"
#include "platform/sim/sim_permissions.h"
#include "platform/sim/sim_review_prompt.h"
#include "platform/sim/sim_text_extraction.h"
#include "platform/sim/sim_url_opener.h"
#include "platform/sim/sim_watch_session.h"

#include <memory>

namespace cw {
class AppContext;
}

namespace cw::sim {

struct SimPlatform {
    PlatformQueue queue;
    std::shared_ptr<SimWatchSession> watch { std::make_shared<SimWatchSession>(queue) };
    std::shared_ptr<HeadlessTextLayout> text_layout { std::make_shared<HeadlessTextLayout>() };
    std::shared_ptr<SimReviewPrompt> review_prompt { std::make_shared<SimReviewPrompt>() };
    std::shared_ptr<SimPeerConnectivity> peers { std::make_shared<SimPeerConnectivity>(queue) };
    std::shared_ptr<SimCaptureService> capture { std::make_shared<SimCaptureService>(queue) };
    std::shared_ptr<SimMediaService> media { std::make_shared<SimMediaService>() };
    std::shared_ptr<SimPlayerService> player { std::make_shared<SimPlayerService>() };
    std::shared_ptr<SimPhotoLibrary> photos { std::make_shared<SimPhotoLibrary>(queue) };
    std::shared_ptr<SimShareService> share { std::make_shared<SimShareService>() };
    std::shared_ptr<SimPermissions> permissions { std::make_shared<SimPermissions>(queue) };
    std::shared_ptr<SimMail> mail { std::make_shared<SimMail>() };
    std::shared_ptr<SimUrlOpener> urls { std::make_shared<SimUrlOpener>() };
    std::shared_ptr<SimAudio> audio { std::make_shared<SimAudio>() };
    std::shared_ptr<SimTextExtraction> documents { std::make_shared<SimTextExtraction>(queue) };

    void install(AppContext&);
};

}
