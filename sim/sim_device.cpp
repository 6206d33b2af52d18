#include "sim_device.h"

#include "platform/linux/document_reading.h"
#include "platform/linux/sqlite_persistence.h"
#include "platform/ui/controls.h"
#include "platform/ui/document_picker_screen.h"
#include "settings/SettingsTableViewController.h"
#include "platform/ui/navigation_controller.h"

namespace cw {

SimDevice::SimDevice(RunLoop& loop, SimDeviceOptions options)
    : m_loop(loop)
    , m_platform(std::make_unique<sim::SimPlatform>())
    , m_log(std::make_shared<CapturedLogSink>())
{
    m_platform->peers->join_air(options.air);
    // Documents are read by the real readers, answering on the simulated
    // platform queue so the driver stays in step with virtual time.
    m_platform->documents->reader = read_document;
    ApplicationSetup setup;
    setup.window_size = options.window_size;
    setup.idiom = options.idiom;
    setup.device_name = options.device_name;
    std::unique_ptr<Persistence> persistence;
    if (options.data_dir) {
        setup.paths = Paths::resolve(options.data_dir);
        setup.paths.ensure_folders();
        persistence = std::make_unique<SqlitePersistence>(setup.paths.store_file(), [log = m_log](std::string const& line) { log->write(line); });
    } else {
        setup.paths = Paths { "/nonexistent-cuewright-data" };
        persistence = std::make_unique<MemoryPersistence>(std::move(options.store));
    }
    m_app = std::make_unique<Application>(loop, std::move(persistence), setup, [this](AppContext& context) {
        context.log.add_sink(m_log);
        m_platform->install(context);
    });
    m_touches = std::make_unique<TouchInput>(m_loop, [this] { return top(); });
}

SimDevice::SimDevice(RunLoop& loop, std::unique_ptr<Application> app, std::unique_ptr<sim::SimPlatform> platform, std::shared_ptr<CapturedLogSink> log)
    : m_loop(loop)
    , m_platform(std::move(platform))
    , m_log(std::move(log))
    , m_app(std::move(app))
    , m_touches(std::make_unique<TouchInput>(m_loop, [this] { return top(); }))
{
    if (m_loop.real_time())
        pump_platform_queue_each_turn();
}

// What the simulated services deliver "on the platform's queue" reaches the
// application one turn later, as it would from a real platform thread.
void SimDevice::pump_platform_queue_each_turn()
{
    m_platform_pump = m_loop.add_turn_end_hook([this] {
        if (m_pump_posted || m_platform->queue.empty())
            return;
        m_pump_posted = true;
        m_loop.post([this, alive = std::weak_ptr<int>(m_alive)] {
            if (alive.expired())
                return;
            m_pump_posted = false;
            m_platform->queue.drain();
        });
    });
}

SimDevice::~SimDevice() = default;

void SimDevice::launch()
{
    m_app->launch();
    settle();
}

void SimDevice::settle()
{
    if (m_loop.real_time()) {
        m_platform->queue.drain();
        return;
    }
    do {
        m_platform->queue.drain();
        m_loop.run_pending();
    } while (!m_platform->queue.empty());
}

Screen* SimDevice::top() const
{
    return m_app->context().window.visible_screen();
}

View* SimDevice::find(std::string const& name) const
{
    auto* screen = top();
    return screen ? screen->view().find(name) : nullptr;
}

bool SimDevice::tap(std::string const& name)
{
    auto* button = dynamic_cast<Button*>(find(name));
    if (!button)
        return false;
    button->tap();
    settle();
    return true;
}

bool SimDevice::choose(std::string const& action_title)
{
    auto* current = alert();
    if (!current || !current->choose(action_title))
        return false;
    settle();
    return true;
}

bool SimDevice::swipe_away_sheet()
{
    auto* sheet = top();
    if (!sheet || !sheet->presenting() || dynamic_cast<AlertController*>(sheet)
        || sheet->modal_presentation_style == ModalPresentationStyle::FullScreen)
        return false;
    if (auto* picker = dynamic_cast<DocumentPickerScreen*>(sheet)) {
        picker->user_cancel();
    } else {
        if (auto* settings = dynamic_cast<SettingsTableViewController*>(sheet))
            settings->presentationControllerWillDismiss();
        m_loop.post([sheet, alive = sheet->weak_token()] {
            if (!alive.expired())
                sheet->dismiss(true);
        });
    }
    settle();
    return true;
}

bool SimDevice::type_into_alert(size_t field, std::string const& text)
{
    auto* current = alert();
    return current && current->type_into(field, text);
}

}
