#pragma once

// The script editor: where a script's text is typed or changed. It serves
// three cases, told apart at load by the working keys the opener wrote:
//
// - a new script, named in the home screen's create dialog: the text view
//   starts with the welcome text;
// - an imported script, named in the import dialog: it shows the
//   document's text;
// - an existing script, opened from the prompter: it shows that script's
//   text and can delete the script.
//
// Saving a new or imported script stores its title, text, library record
// and the start values of its settings; saving an existing script replaces
// its text and keeps its settings. Leaving any other way stores nothing.
//
// The editor keeps working copies of the nine parallel lists, loaded when
// it loads, and writes each back whole.

#include "platform/foundation/notification_center.h"
#include "platform/foundation/value.h"
#include "platform/ui/controls.h"
#include "platform/ui/screen.h"

#include <array>
#include <cstdint>
#include <string>

namespace cw {

class EditableTextView;

class editScriptViewController : public Screen {
public:
    explicit editScriptViewController(AppContext&);

    char const* class_name() const override { return "editScriptViewController"; }
    void loadView() override;
    void viewDidLoad() override;
    void viewWillLayoutSubviews() override;
    void describe(Record&) const override;

    // The save control: save, then pop.
    void saveScript();
    // The delete control: asks for confirmation.
    void deleteScript();
    // Adds the start values of a new script's settings at script index i.
    void saveScriptDataAtIndex(std::int64_t i);
    std::string generateUniqueIDForScriptName(std::string const& name) const;

    void keyboardWillShow();
    void keyboardWillHide();
    void textViewDidChange(EditableTextView&);

    EditableTextView* editTextView { nullptr };
    Button* deleteButton { nullptr };
    Button* saveButton { nullptr };
    // Leaves without saving.
    Button* cancelButton { nullptr };

    std::int64_t scriptIndex { 0 };
    bool isNewScript { false };
    std::string scriptName;
    std::int64_t newScriptIndex { 0 };

    List scriptTitles;
    List scriptText;
    List textSizeArray;
    List isScrollNormalArray;
    List colorDataArray;
    List textColorDataArray;
    List isMirrorModeArray;
    List isMagicScrollingArray;
    List isRecordingVideoArray;

private:
    void loadWorkingLists();
    void chooseMode();
    void saveNewScript(bool imported);
    void saveExistingScript();
    void deleteConfirmed();
    void returnToHomeScreen();
    void layout();
    // The seven settings lists, in the order of keys::perScriptSettings.
    std::array<List*, 7> settingsLists();

    ObservationToken m_keyboard_show;
    ObservationToken m_keyboard_hide;
};

}
