// The toolkit pieces the settings screens are made of: a value set by code
// never fires an action, a user's input does.

#include "platform/services/mail.h"
#include "platform/ui/color_picker_screen.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/stepper.h"
#include "platform/ui/switch.h"
#include "platform/ui/table_view_controller.h"
#include "sim/sim_device.h"

#include <gtest/gtest.h>

#include <cmath>

namespace cw {
namespace {

TEST(Stepper, OnlyAUserChangeThatMovesTheValueFiresTheAction)
{
    Stepper stepper;
    int fired = 0;
    stepper.on_value_changed = [&](Stepper&) { ++fired; };
    stepper.set_value(99);
    EXPECT_EQ(fired, 0);

    stepper.user_increment();
    EXPECT_EQ(stepper.value(), 100);
    stepper.user_increment();
    EXPECT_EQ(stepper.value(), 100) << "stops at the maximum";
    EXPECT_EQ(fired, 1) << "nothing changed, nothing fired";

    stepper.set_minimum_value(10);
    stepper.set_value(5);
    EXPECT_EQ(stepper.value(), 10);
    stepper.set_value(NAN);
    EXPECT_EQ(stepper.value(), 10);
    stepper.set_value(50);
    stepper.set_maximum_value(40);
    EXPECT_EQ(stepper.value(), 40) << "a bound pulls the value inside";
    stepper.set_step_value(0);
    EXPECT_EQ(stepper.step_value(), 1);

    stepper.enabled = false;
    stepper.user_decrement();
    EXPECT_EQ(stepper.value(), 40);
    EXPECT_EQ(fired, 1);
}

TEST(SegmentedControl, SelectingFromCodeOrTheSameSegmentFiresNothing)
{
    SegmentedControl control({ "Normal", "Reversed" });
    int fired = 0;
    control.on_value_changed = [&](SegmentedControl&) { ++fired; };
    EXPECT_EQ(control.selected_segment(), SegmentedControl::no_segment);
    control.set_selected_segment(1);
    control.set_selected_segment(5);
    EXPECT_EQ(control.selected_segment(), SegmentedControl::no_segment);
    EXPECT_EQ(fired, 0);

    EXPECT_TRUE(control.user_select_segment(0));
    EXPECT_TRUE(control.user_select_segment(0));
    EXPECT_FALSE(control.user_select_segment(2));
    EXPECT_EQ(fired, 1);
    control.hidden = true;
    EXPECT_FALSE(control.user_select_segment(1));
    EXPECT_EQ(control.selected_segment(), 0);
}

TEST(Switch, OnlyAUserFlipFiresTheAction)
{
    Switch toggle;
    std::vector<bool> seen;
    toggle.on_value_changed = [&](Switch& s) { seen.push_back(s.is_on()); };
    toggle.set_on(true);
    toggle.user_set_on(true);
    toggle.user_toggle();
    toggle.user_set_on(true);
    toggle.user_interaction_enabled = false;
    toggle.user_toggle();
    EXPECT_EQ(seen, (std::vector<bool> { false, true }));
    EXPECT_TRUE(toggle.is_on());
}

TEST(ScrollView, AUserScrollStaysInsideTheContent)
{
    struct Recorder : ScrollViewDelegate {
        int scrolls = 0;
        void scrollViewDidScroll(ScrollView&) override { ++scrolls; }
    } recorder;
    ScrollView scroll({ {}, { 100, 100 } });
    scroll.delegate = &recorder;
    scroll.content_size = { 100, 300 };
    scroll.user_scroll_to({ 20, 500 });
    EXPECT_EQ(scroll.content_offset(), (Point { 0, 200 }));
    scroll.user_scroll_to({ -5, -5 });
    EXPECT_EQ(scroll.content_offset(), (Point { 0, 0 }));
    scroll.set_content_offset({ 0, 50 });
    EXPECT_EQ(recorder.scrolls, 2);
}

class TwoSections final : public TableViewController {
public:
    using TableViewController::TableViewController;
    int shown_in_first = 2;
    void loadView() override
    {
        TableViewController::loadView();
        for (int section : { 0, 0, 0, 1 })
            table_view().add_static_cell(section, std::make_unique<TableViewCell>());
        table_view().add_static_cell(1, std::make_unique<TableViewCell>(Rect { {}, { 0, 100 } }));
    }
    int tableViewNumberOfRowsInSection(TableView& table, int section) override
    {
        return section == 0 ? shown_in_first : TableViewController::tableViewNumberOfRowsInSection(table, section);
    }
};

TEST(TableView, ShowsWhatTheDataSourceAnswersAndStacksTheRows)
{
    RunLoop loop;
    SimDevice device(loop);
    device.launch();
    auto screen = std::make_unique<TwoSections>(device.context());
    auto& table_screen = *screen;
    device.top()->present(std::move(screen), false);

    auto& table = table_screen.table_view();
    ASSERT_EQ(table.number_of_sections(), 2);
    EXPECT_EQ(table.number_of_rows_in_section(0), 2);
    EXPECT_EQ(table.number_of_rows_in_section(1), 2);
    EXPECT_EQ(table.cell_for_row(0, 2), nullptr);
    EXPECT_TRUE(table.subviews()[2]->hidden);
    EXPECT_EQ(table.cell_for_row(0, 1)->frame.origin.y, 35 + 44);
    EXPECT_EQ(table.cell_for_row(1, 0)->frame.origin.y, 35 + 88 + 35);
    EXPECT_EQ(table.content_size.height, 35 + 88 + 35 + 44 + 100);

    table_screen.shown_in_first = 9;
    table.reload_data();
    EXPECT_EQ(table.number_of_rows_in_section(0), 9) << "rows without a cell stay empty";
    EXPECT_EQ(table.cell_for_row(0, 5), nullptr);
    EXPECT_FALSE(table.subviews()[2]->hidden);
}

class Presenter final : public Screen {
public:
    using Screen::Screen;
    std::vector<std::string> calls;
    void viewWillAppear(bool) override { calls.push_back("willAppear"); }
    void viewDidAppear(bool) override { calls.push_back("didAppear"); }
    void viewWillDisappear(bool) override { calls.push_back("willDisappear"); }
    void viewDidDisappear(bool) override { calls.push_back("didDisappear"); }
};

TEST(ColorPickerScreen, FullScreenItHidesItsPresenterUntilItGoes)
{
    RunLoop loop;
    SimDevice device(loop);
    device.launch();
    auto owned = std::make_unique<Presenter>(device.context());
    auto& presenter = *owned;
    device.top()->present(std::move(owned), false);
    presenter.calls.clear();

    for (auto style : { ModalPresentationStyle::FullScreen, ModalPresentationStyle::Automatic }) {
        auto picker = std::make_unique<ColorPickerScreen>(device.context());
        picker->modal_presentation_style = style;
        auto& shown = *picker;
        presenter.present(std::move(picker), true);
        shown.user_select_color({ 0.1, 0.2, 0.3, 0.4 });
        EXPECT_EQ(shown.selected_color, (Color { 0.1, 0.2, 0.3, 0.4 }));
        shown.user_close();
        EXPECT_EQ(presenter.presented(), nullptr) << "without a delegate it closes itself";
    }
    EXPECT_EQ(presenter.calls, (std::vector<std::string> { "willDisappear", "didDisappear", "willAppear", "didAppear" }));
}

TEST(MailComposeScreen, WithoutADelegateItClosesItselfAndAFailedSendSaysSo)
{
    RunLoop loop;
    SimDevice device(loop);
    device.launch();
    struct Outcome : MailComposeDelegate {
        std::vector<MailComposeResult> results;
        void mailComposeControllerDidFinishWithResultError(MailComposeScreen& composer, MailComposeResult result, std::string const&) override
        {
            results.push_back(result);
            composer.dismiss(true);
        }
    } outcome;

    auto* home = device.top();
    home->present(std::make_unique<MailComposeScreen>(device.context()), true);
    device.tap("sendButton");
    EXPECT_EQ(home->presented(), nullptr);
    EXPECT_EQ(device.platform().mail->sent().size(), 1u);

    device.platform().mail->set_can_send(false);
    EXPECT_FALSE(MailComposeScreen::canSendMail(device.context()));
    auto composer = std::make_unique<MailComposeScreen>(device.context());
    composer->setMailComposeDelegate(&outcome);
    home->present(std::move(composer), true);
    device.tap("sendButton");
    device.tap("cancelButton");
    EXPECT_EQ(outcome.results, std::vector<MailComposeResult> { MailComposeResult::Failed });
}

}
}
