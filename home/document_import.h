#pragma once

// Importing a document as a script: the picker, the test of the chosen
// file's name, reading the document's text into the store, the notice that
// confirms the import and the dialog that names the new script.
//
// The home screen owns one of these and is the picker's delegate; it hands
// each callback on. Every chosen file is read, whatever its name, and the
// text of the file chosen last is stored under "ImportedText" once it has
// been read. Texts of files chosen earlier are dropped when they arrive
// late, so a slow document can never stand in for the one just chosen.
//
// "Create Script" is offered only once the chosen document has been read,
// so the imported-script handler always finds that document's text. A
// document that cannot be read ends the import with an alert that says
// why, and nothing is stored.

#include "platform/services/text_extraction.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace cw {

class AlertController;
class DocumentPickerDelegate;
class DocumentPickerScreen;
class Screen;

namespace import_texts {
inline constexpr char refused_title[] = "File not Imported";
inline constexpr char refused_message[] = "Sorry! Currently Cuewright supports doc, docx, rtf and txt files. Please choose a different file to import.\n\n %@, is not supported.";
inline constexpr char unreadable_message[] = "Sorry! Cuewright could not read %@.\n\n%@";
inline constexpr char notice_title[] = "File Imported\n";
inline constexpr char notice_message[] = "Successfully imported file %@. Tap OK to edit your imported script";
inline constexpr char naming_title[] = "Create Imported Script";
inline constexpr char naming_message[] = "Enter script name";
inline constexpr char create_action[] = "Create Script";
}

// The file's name as the import tests it: the last component of the path.
std::string imported_file_name(std::string const& url);
// The last four characters of a name (all of it when shorter); characters,
// not bytes, so a name ending in accented letters is cut whole.
std::string imported_file_ending(std::string const& name);
// ".doc", "docx", ".rtf" and ".txt", compared exactly.
bool is_importable_ending(std::string const& ending);

class DocumentImport {
public:
    explicit DocumentImport(Screen& home)
        : m_home(home)
    {
    }

    void present_picker(DocumentPickerDelegate&);
    void picked(DocumentPickerScreen&, std::string const& url);
    // The chosen document has been read (or could not be).
    void documentDidFinishLoading(std::uint64_t load, ExtractedText);
    // The naming dialog, opened by the notice's "Ok".
    void createImportedScript();

    // Whether the document chosen last is still being read.
    bool reading() const;

private:
    enum class State { Reading, Read, Failed };
    struct Load {
        std::uint64_t id { 0 };
        std::string name;
        bool accepted { false };
        State state { State::Reading };
    };

    void start_reading(std::string const& url, std::uint64_t load);
    void show_success_notice(std::uint64_t load);
    void refuse(std::string const& name);
    void tell_unreadable(Load const&, std::string const& reason);
    void present_own(std::unique_ptr<AlertController>);
    AlertController* own_alert_on_screen() const;
    bool latest_is(std::uint64_t load, State) const;

    Screen& m_home;
    std::uint64_t m_loads { 0 };
    std::optional<Load> m_latest;
    // The notice or naming dialog this import has on screen, if any.
    AlertController* m_alert { nullptr };
    std::weak_ptr<void> m_alert_alive;
};

}
