// Document import: the document picker the home screen presents.
//
//   {"cmd":"document_picker"}                      what the picker offers
//   {"cmd":"document_picker","pick":"/path/a.docx"} choose a file
//   {"cmd":"document_picker","cancel":true}        close it without a choice
//
// After a choice the answer carries the screen on top and the alert it
// shows (the notice or the refusal), once the document has been read.

#include "driver.h"

#include "platform/ui/alert_controller.h"
#include "platform/ui/document_picker_screen.h"

namespace cw {

using Json = nlohmann::json;

static Json document_picker(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto* picker = device.top_as<DocumentPickerScreen>();
    if (!picker)
        throw DriverError("no document picker is on top");
    auto pick = request.find("pick");
    bool cancel = request.value("cancel", false);
    if (pick == request.end() && !cancel) {
        Record record;
        picker->describe(record);
        return plain_json(record);
    }
    if (pick != request.end() && (!pick->is_string() || pick->get<std::string>().empty()))
        throw DriverError("\"pick\" must be a file's path");
    if (pick != request.end())
        picker->user_pick(pick->get<std::string>());
    else
        picker->user_cancel();
    device.settle();
    Json answer { { "top", device.top() ? device.top()->class_name() : "" }, { "alert", nullptr } };
    if (auto* alert = device.alert()) {
        Record record;
        alert->describe(record);
        answer["alert"] = plain_json(record);
    }
    return answer;
}

void register_import_commands(Driver& driver)
{
    driver.add_command("document_picker", document_picker);
}

}
