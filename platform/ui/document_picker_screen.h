#pragma once

// The platform's document picker: the presenter chooses a file from their
// own files. Presenting it never blocks; the choice comes back through the
// delegate once the picker has dismissed itself.
//
// Front ends feed it the user's side: the headless driver picks a path on
// the machine, the browser uploads a file and picks the uploaded copy.

#include "platform/ui/screen.h"

#include <string>
#include <vector>

namespace cw {

// The kinds of document a picker offers, by their platform type names.
inline constexpr char kUTTypeRTF[] = "public.rtf";
inline constexpr char kUTTypeText[] = "public.text";
inline constexpr char kUTTypeCompositeContent[] = "public.composite-content";
inline constexpr char kUTTypeFolder[] = "public.folder";

// Import hands over a readable copy of the chosen file; open works on the
// file where it is; the two others give a file away.
enum class DocumentPickerMode { Import, Open, ExportToService, MoveToService };

class DocumentPickerScreen;

class DocumentPickerDelegate {
public:
    virtual ~DocumentPickerDelegate() = default;
    // `url` is the chosen file's path.
    virtual void documentPickerDidPickDocumentAtURL(DocumentPickerScreen&, std::string const& url) = 0;
    virtual void documentPickerWasCancelled(DocumentPickerScreen&) { }
};

class DocumentPickerScreen final : public Screen {
public:
    DocumentPickerScreen(AppContext&, std::vector<std::string> documentTypes, DocumentPickerMode);

    std::vector<std::string> const& documentTypes() const { return m_types; }
    DocumentPickerMode documentPickerMode() const { return m_mode; }
    DocumentPickerDelegate* delegate { nullptr };

    // The user's side. Both dismiss the picker, then tell the delegate.
    void user_pick(std::string const& path);
    void user_cancel();

    char const* class_name() const override { return "DocumentPickerScreen"; }
    void loadView() override;
    void describe(Record&) const override;

private:
    void finish(std::function<void(DocumentPickerDelegate&)> tell);

    std::vector<std::string> m_types;
    DocumentPickerMode m_mode;
    bool m_answered { false };
};

}
