#pragma once

// What the two settings screens share: the controls that edit one script's
// display settings, the working copies of the per-script lists, the
// colours chosen in this visit, and the operations both screens run the
// same way (the permission requests for recording and voice scrolling, the
// colour pickers' outcomes, the links, the video notice).
//
// A settings screen edits the script at `scriptIndex`, read once from
// "currentlyEditingIndex" when it loads. Every write replaces the script's
// element in a working copy and stores the whole list back under its key.
//
// The screen class derives from its toolkit base (a table screen or a
// plain screen) and from this class, and hands itself in as `screen`.

#include "platform/foundation/value.h"
#include "platform/services/mail.h"
#include "platform/ui/controls.h"
#include "platform/ui/image_view.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/stepper.h"
#include "platform/ui/switch.h"
#include "settings/ColorPickerController.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace cw {

class LFPermissionMgr;

class ScriptSettings : public ColorPickerDelegate
    , public MailComposeDelegate
    , public ScrollViewDelegate {
public:
    // Outlets; the screen's view tree owns them.
    Stepper* textStepper { nullptr };
    Label* label { nullptr };
    SegmentedControl* scrollDirectionButton { nullptr };
    Switch* mirrorSwitch { nullptr };
    Switch* magicSwitch { nullptr };
    Switch* videoSwitch { nullptr };
    ImageView* bgColorImg { nullptr };
    ImageView* textbgColorImg { nullptr };
    View* videoMessageView { nullptr };
    ScrollView* myScrollView { nullptr };
    Button* colorButton { nullptr };
    Button* textcolorButton { nullptr };

    std::int64_t scriptIndex { 0 };
    // Working copies of the per-script lists.
    List textSizeArray;
    List isScrollNormalArray;
    List colorDataArray;
    List textColorDataArray;
    List isMirrorModeArray;
    List isMagicScrollingArray;
    List isRecordingVideoArray;
    // The script's values as read at load.
    double textSize { 0 };
    bool isScrollNormal { true };
    bool isMirrorMode { false };
    bool isMagicScrolling { false };
    bool isRecordingVideo { false };
    Value colorData;
    Value textColorData;
    // Colours chosen in this visit; none until one is chosen.
    std::optional<Color> colorToSave;
    std::optional<Color> textcolorToSave;
    // Whether the open colour picker chooses the background (or the text).
    bool isSelectingBGColor { false };

    void toggleMirror(Switch& sender);
    void toggleMagic(Switch& sender);
    void toggleVideo(Switch& sender);
    void videoAccessNotGranted();
    void micAccessNotGranted();

    void managePermissions();
    void getSupport();
    void ReviewonAppStore();
    void privacyPolicy();
    void Terms();
    void SHOWNEWSETTINGS();
    void hideVideoMessage();
    void viewDidLayoutSubviews();

    // The scrolling list of application-wide links, at `frame` in `parent`;
    // the older screen also links to the newer one.
    void add_links(View& parent, Rect frame, bool with_more_settings);
    // What both screens show of their state in snapshots.
    void describe_settings(Record&) const;

    void colorPickerControllerDidPickColor(ColorPickerController&, Color) override;
    void colorPickerControllerDidCancel(ColorPickerController&) override;
    void mailComposeControllerDidFinishWithResultError(MailComposeScreen&, MailComposeResult, std::string const& error) override;

protected:
    // `logs_changes`: whether switch changes and chosen colours are written
    // to the log (the older screen is silent about them).
    ScriptSettings(Screen& screen, bool logs_changes);
    ~ScriptSettings() override;

    Screen& screen() const { return m_screen; }

    // Steps of the load, in the order the screens run them.
    void prepareVideoMessage();
    void loadScript();
    void showTextSettings();
    void showColours();
    void showSwitches();

    // Steps of a save, each storing its list before the next one.
    void storeTextSize();
    void storeScrollDirection();
    void storeChosenColours();
    void storeMirror();
    void storeMagic();
    void storeRecording();
    void announceSave();

    // Replaces the script's element of `working` and stores the list under
    // `key`. A list that ends before the script (a store written without
    // one element per script) is first filled up to the script with
    // `fill`, so the value lands at the script's own position and no other
    // script's element moves or changes. An index that names no script
    // (negative, or past both the list and the script titles) stores
    // nothing and says so in the log. Answers whether it stored.
    bool storeElement(List& working, char const* key, Value value, Value const& fill);
    bool storeSetting(List& working, char const* key, Value value);

    void showChosenColour(Color);

private:
    void startRecordingChain();
    void recordingCameraAnswered(bool granted);
    void recordingPhotoAnswered(bool granted);
    void recordingMicAnswered(bool granted);
    void magicMicAnswered(bool granted);
    // Runs an access operation. The reaction runs at once when the answer
    // comes inside the call, else on the main queue, and is dropped when
    // the screen has gone by then.
    void ask(void (LFPermissionMgr::*access)(std::function<void(bool)>), void (ScriptSettings::*react)(bool));
    void presentPermissionAlert(char const* message);
    void openSitePage(char const* page);

    Screen& m_screen;
    bool m_logs_changes;
    std::size_t m_script_count { 0 };
};

}
