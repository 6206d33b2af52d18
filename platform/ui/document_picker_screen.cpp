#include "document_picker_screen.h"

#include "app_context.h"
#include "controls.h"

namespace cw {

DocumentPickerScreen::DocumentPickerScreen(AppContext& context, std::vector<std::string> documentTypes, DocumentPickerMode mode)
    : Screen(context)
    , m_types(std::move(documentTypes))
    , m_mode(mode)
{
    modal_presentation_style = ModalPresentationStyle::FormSheet;
}

void DocumentPickerScreen::loadView()
{
    auto root = std::make_unique<View>(context().window.bounds());
    root->background = Color::white();
    auto cancel = std::make_unique<Button>(Rect { { 16, 20 }, { 80, 44 } });
    cancel->name = "cancelButton";
    cancel->title = "Cancel";
    cancel->on_tap = [this] { user_cancel(); };
    root->add_subview(std::move(cancel));
    set_view(std::move(root));
}

void DocumentPickerScreen::user_pick(std::string const& path)
{
    finish([this, path](DocumentPickerDelegate& delegate) { delegate.documentPickerDidPickDocumentAtURL(*this, path); });
}

void DocumentPickerScreen::user_cancel()
{
    finish([this](DocumentPickerDelegate& delegate) { delegate.documentPickerWasCancelled(*this); });
}

// The picker is gone before its delegate hears of the choice, so whatever
// the delegate presents next appears over the screen that showed the picker.
// The picker itself lives on until the end of the turn.
void DocumentPickerScreen::finish(std::function<void(DocumentPickerDelegate&)> tell)
{
    if (m_answered)
        return;
    m_answered = true;
    auto* listener = delegate;
    dismiss(true);
    if (listener)
        tell(*listener);
}

static char const* mode_name(DocumentPickerMode mode)
{
    switch (mode) {
    case DocumentPickerMode::Import:
        return "import";
    case DocumentPickerMode::Open:
        return "open";
    case DocumentPickerMode::ExportToService:
        return "exportToService";
    case DocumentPickerMode::MoveToService:
        return "moveToService";
    }
    return "import";
}

void DocumentPickerScreen::describe(Record& record) const
{
    List types;
    for (auto const& type : m_types)
        types.push_back(type);
    record["documentTypes"] = std::move(types);
    record["mode"] = mode_name(m_mode);
}

}
