#include "document_import.h"

#include "library/imported_script_handler.h"
#include "library/store_keys.h"
#include "platform/foundation/format.h"
#include "platform/services/service_registry.h"
#include "platform/ui/alert_controller.h"
#include "platform/ui/app_context.h"
#include "platform/ui/document_picker_screen.h"

#include <array>

namespace cw {

std::string imported_file_name(std::string const& url)
{
    auto slash = url.find_last_of('/');
    return slash == std::string::npos ? url : url.substr(slash + 1);
}

std::string imported_file_ending(std::string const& name)
{
    auto start = name.size();
    for (int characters = 0; characters < 4 && start > 0; ++characters) {
        --start;
        // Step back over UTF-8 continuation bytes to the character's start.
        while (start > 0 && (static_cast<unsigned char>(name[start]) & 0xC0) == 0x80)
            --start;
    }
    return name.substr(start);
}

bool is_importable_ending(std::string const& ending)
{
    static constexpr std::array<char const*, 4> endings { ".doc", "docx", ".rtf", ".txt" };
    for (auto const* accepted : endings) {
        if (ending == accepted)
            return true;
    }
    return false;
}

void DocumentImport::present_picker(DocumentPickerDelegate& delegate)
{
    auto picker = std::make_unique<DocumentPickerScreen>(m_home.context(),
        std::vector<std::string> { kUTTypeRTF, kUTTypeText, kUTTypeCompositeContent, kUTTypeFolder },
        DocumentPickerMode::Import);
    picker->delegate = &delegate;
    m_home.present(std::move(picker), true);
}

void DocumentImport::picked(DocumentPickerScreen& picker, std::string const& url)
{
    if (picker.documentPickerMode() != DocumentPickerMode::Import)
        return;
    auto& log = m_home.context().log;
    auto name = imported_file_name(url);
    auto ending = imported_file_ending(name);
    auto load = ++m_loads;
    m_latest = Load { load, name, is_importable_ending(ending), State::Reading };
    // Every chosen file is read, before its name is tested.
    start_reading(url, load);
    log.line(format("Doc Type = %@", { ending }));
    if (m_latest->accepted)
        m_home.defer([this, load] { show_success_notice(load); });
    else
        refuse(name);
}

void DocumentImport::start_reading(std::string const& url, std::uint64_t load)
{
    auto& context = m_home.context();
    auto alive = m_home.weak_token();
    RunLoop* loop = &context.loop;
    context.services.get<TextExtraction>().extract(url, [this, load, alive, loop](ExtractedText result) {
        loop->post([this, load, alive, result = std::move(result)]() mutable {
            if (!alive.expired())
                documentDidFinishLoading(load, std::move(result));
        });
    });
}

void DocumentImport::documentDidFinishLoading(std::uint64_t load, ExtractedText result)
{
    auto& context = m_home.context();
    if (!m_latest || m_latest->id != load) {
        context.log.line("Dropped the text of a document chosen before the last one.");
        return;
    }
    if (!result.ok) {
        m_latest->state = State::Failed;
        context.log.line(format("Could not read %@: %@", { m_latest->name, result.error }));
        if (m_latest->accepted)
            tell_unreadable(*m_latest, result.error);
        return;
    }
    m_latest->state = State::Read;
    context.log.line(format("TEXT = %@", { result.text }));
    context.defaults.set(keys::ImportedText, result.text);
    if (auto* dialog = own_alert_on_screen())
        dialog->set_action_enabled(import_texts::create_action, true);
}

void DocumentImport::show_success_notice(std::uint64_t load)
{
    // A document found unreadable before the notice came up has already
    // been reported.
    if (!m_latest || m_latest->id != load || m_latest->state == State::Failed)
        return;
    auto notice = std::make_unique<AlertController>(m_home.context(), import_texts::notice_title,
        format(import_texts::notice_message, { m_latest->name }), AlertStyle::Alert);
    notice->add_action("Ok", AlertActionStyle::Default, [this](AlertController&) { createImportedScript(); });
    present_own(std::move(notice));
}

void DocumentImport::createImportedScript()
{
    if (!m_latest || m_latest->state == State::Failed)
        return;
    auto dialog = std::make_unique<AlertController>(m_home.context(), import_texts::naming_title, import_texts::naming_message, AlertStyle::Alert);
    dialog->add_text_field({}, KeyboardType::AsciiCapable);
    auto load = m_latest->id;
    dialog->add_action(import_texts::create_action, AlertActionStyle::Default, [this, load](AlertController& alert) {
        if (latest_is(load, State::Read))
            createImportedScriptWithName(m_home, alert.field_text(0));
    });
    // Offered once the document has been read; until then the dialog waits
    // with the button greyed out.
    dialog->set_action_enabled(import_texts::create_action, latest_is(load, State::Read));
    present_own(std::move(dialog));
}

void DocumentImport::refuse(std::string const& name)
{
    auto alert = std::make_unique<AlertController>(m_home.context(), import_texts::refused_title,
        format(import_texts::refused_message, { name }), AlertStyle::Alert);
    alert->add_action("Ok", AlertActionStyle::Default);
    m_home.present(std::move(alert), true);
}

void DocumentImport::tell_unreadable(Load const& load, std::string const& reason)
{
    // The notice or the naming dialog of this import would lead nowhere now.
    if (own_alert_on_screen())
        m_home.dismiss(false);
    auto alert = std::make_unique<AlertController>(m_home.context(), import_texts::refused_title,
        format(import_texts::unreadable_message, { load.name, reason }), AlertStyle::Alert);
    alert->add_action("Ok", AlertActionStyle::Default);
    m_home.present(std::move(alert), true);
}

void DocumentImport::present_own(std::unique_ptr<AlertController> alert)
{
    m_alert = alert.get();
    m_alert_alive = alert->weak_token();
    m_home.present(std::move(alert), true);
}

AlertController* DocumentImport::own_alert_on_screen() const
{
    if (m_alert_alive.expired() || m_home.presented() != m_alert)
        return nullptr;
    return m_alert;
}

bool DocumentImport::latest_is(std::uint64_t load, State state) const
{
    return m_latest && m_latest->id == load && m_latest->state == state;
}

bool DocumentImport::reading() const
{
    return m_latest && m_latest->state == State::Reading;
}

}
