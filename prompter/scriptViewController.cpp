#include "scriptViewController.h"

#include "library/store_keys.h"
#include "remote/peer_protocol.h"
#include "prompter/notifications.h"
#include "platform/foundation/format.h"
#include "platform/services/review_prompt.h"
#include "platform/services/text_layout.h"
#include "platform/ui/alert_controller.h"
#include "platform/ui/app_context.h"

namespace cw {

scriptViewController::scriptViewController(AppContext& context)
    : Screen(context)
    , m_engine(context.loop)
    , m_voice(context, m_engine)
{
}

scriptViewController::~scriptViewController()
{
    // The watch session holds its delegate weakly: once this screen is gone
    // no message may reach it.
    if (auto* watch = context().services.find<WatchSession>(); watch && watch->delegate() == this)
        watch->set_delegate(nullptr);
    if (m_session)
        m_session->set_delegate(nullptr);
}

void scriptViewController::loadView()
{
    auto root = build_prompter_view(context().window.size(), context().services.shared<TextLayout>(), m_outlets);
    ScriptTextView = m_outlets.ScriptTextView;
    startButton = m_outlets.startButton;
    stopButton = m_outlets.stopButton;
    sliderControlView = m_outlets.sliderControlView;
    SpeedSlider = m_outlets.SpeedSlider;
    SpeedField = m_outlets.SpeedField;
    videoMessageView = m_outlets.videoMessageView;
    activityIndicator = m_outlets.activityIndicator;
    m_engine.attach(*ScriptTextView, *SpeedField);

    startButton->on_tap = [this] { startScript(); };
    stopButton->on_tap = [this] { stopScript(); };
    SpeedSlider->on_value_changed = [this](Slider& slider) { SpeedSlide(slider); };
    m_outlets.editButton->on_tap = [this] { editScript(); };
    m_outlets.settingsButton->on_tap = [this] { loadSettings(); };
    m_outlets.videoSettingsButton->on_tap = [this] { tryVideo(); };
    set_view(std::move(root));
}

void scriptViewController::viewDidLoad()
{
    Screen::viewDidLoad();
    setUpWatchSession();

    auto& center = context().notifications;
    m_mirror_on = center.observe(notifications::HMirrorTurnedOnNotification, nullptr, [this] { reverseScript(); });
    m_mirror_off = center.observe(notifications::HMirrorTurnedOffNotification, nullptr, [this] { unreverseScript(); });

    setUpPeerReceiver();

    sliderControlView->corner_radius = 8;
    sliderControlView->clips_to_bounds = true;
    SpeedField->hidden = true;

    m_settings_saved = center.observe(notifications::TestNotification, nullptr, [this] { receiveTestNotification(); });

    for (Button* button : { startButton, stopButton }) {
        button->corner_radius = 4;
        button->clips_to_bounds = true;
    }

    // Asked at every load; the platform decides whether anything shows.
    context().services.get<ReviewPrompt>().request_review();

    ScriptTextView->set_text(context().defaults.string(keys::currentlyEditingText));

    setUpCapture();
}

void scriptViewController::setUpWatchSession()
{
    auto& watch = context().services.get<WatchSession>();
    if (watch.is_supported()) {
        watch.set_delegate(this);
        watch.activate();
    }
    // Activation completes later, so right after a first request the
    // session usually still reads as not active.
    if (watch.activation_state() == WatchActivationState::Activated)
        context().log.line("WatchConnectivity session is active.");
    else
        context().log.line("WatchConnectivity session is not active.");
}

void scriptViewController::setUpPeerReceiver()
{
    auto& peers = context().services.get<PeerConnectivity>();
    myPeerID = PeerID { remote::peer_display_name(context().window.device_name) };
    m_session = peers.make_session(myPeerID);
    m_session->set_delegate(this);
    m_advertiser = peers.make_advertiser(remote::peer_service_type, *m_session);
    m_advertiser->start();
    context().log.line(format("My Peer ID (From scriptviewcontroller): %@", { myPeerID.display_name }));
}

void scriptViewController::viewWillLayoutSubviews()
{
    if (is_view_loaded())
        lay_out_prompter_view(view(), m_outlets, context().window.size());
}

void scriptViewController::showAlertWithTitleMessage(std::string const& title, std::string const& message)
{
    auto alert = std::make_unique<AlertController>(context(), title, message, AlertStyle::Alert);
    alert->add_action("OK", AlertActionStyle::Default);
    present(std::move(alert), true);
}

void scriptViewController::describe(Record& record) const
{
    record["scriptIndex"] = scriptIndex;
    record["isReversed"] = isReversed;
    record["ScrollDirectionIsUp"] = m_engine.ScrollDirectionIsUp;
    record["ScrollIsRunning"] = m_engine.ScrollIsRunning;
    record["scrolling"] = m_engine.has_tick_source();
    record["startPending"] = m_engine.delayed_start_pending();
}

}
