// Slider, text field, activity indicator and view order.

#include "platform/ui/activity_indicator.h"
#include "platform/ui/slider.h"
#include "platform/ui/text_field.h"
#include "platform/ui/view_stack.h"

#include <gtest/gtest.h>

#include <cmath>

namespace cw {
namespace {

TEST(Slider, OnlyUserInputRunsTheAction)
{
    Slider slider;
    slider.minimum_value = 0;
    slider.maximum_value = 100;
    std::vector<float> seen;
    slider.on_value_changed = [&](Slider& s) { seen.push_back(s.value()); };

    slider.set_value(30);
    EXPECT_TRUE(seen.empty());
    slider.user_set_value(40.5f);
    EXPECT_EQ(seen, std::vector<float> { 40.5f });

    for (auto block : { +[](Slider& s) { s.hidden = true; }, +[](Slider& s) { s.enabled = false; }, +[](Slider& s) { s.user_interaction_enabled = false; } }) {
        Slider blocked;
        blocked.maximum_value = 100;
        bool fired = false;
        blocked.on_value_changed = [&](Slider&) { fired = true; };
        block(blocked);
        blocked.user_set_value(50);
        EXPECT_FALSE(fired);
        EXPECT_EQ(blocked.value(), 0);
    }
}

TEST(Slider, ValuesStayInsideTheRange)
{
    struct Case {
        float in;
        float out;
    };
    Case const cases[] = { { -5, 0 }, { 0, 0 }, { 55.5f, 55.5f }, { 100, 100 }, { 250, 100 }, { NAN, 0 }, { INFINITY, 100 } };
    for (auto const& c : cases) {
        Slider slider;
        slider.maximum_value = 100;
        slider.user_set_value(c.in);
        EXPECT_EQ(slider.value(), c.out) << c.in;
    }
}

TEST(TextField, TypingRunsTheActionButCodeDoesNot)
{
    TextField field;
    int edits = 0;
    field.on_editing_changed = [&](TextField&) { ++edits; };
    field.text = "set by code";
    EXPECT_EQ(edits, 0);
    field.user_set_text("typed");
    EXPECT_EQ(field.text, "typed");
    EXPECT_EQ(edits, 1);
    field.hidden = true;
    field.user_set_text("ignored");
    EXPECT_EQ(field.text, "typed");
}

TEST(ActivityIndicator, ShowsOnlyWhileAnimating)
{
    ActivityIndicator spinner;
    spinner.hidden = true;
    spinner.start_animating();
    EXPECT_TRUE(spinner.is_animating());
    EXPECT_FALSE(spinner.hidden);
    spinner.stop_animating();
    EXPECT_TRUE(spinner.hidden);

    spinner.hides_when_stopped = false;
    spinner.hidden = false;
    spinner.start_animating();
    spinner.stop_animating();
    EXPECT_FALSE(spinner.hidden);
    EXPECT_EQ(spinner.snapshot().as_record().at("animating"), Value(false));
}

TEST(ViewStack, ReordersWithoutLosingViews)
{
    View root;
    View* views[3];
    for (int i = 0; i < 3; ++i) {
        views[i] = &root.add_subview(std::make_unique<View>());
        views[i]->tag = i;
    }
    auto order = [&] {
        std::vector<int> tags;
        for (auto const& child : root.subviews())
            tags.push_back(child->tag);
        return tags;
    };
    send_subview_to_back(*views[2]);
    EXPECT_EQ(order(), (std::vector<int> { 2, 0, 1 }));
    send_subview_to_back(*views[2]);
    EXPECT_EQ(order(), (std::vector<int> { 2, 0, 1 }));
    bring_subview_to_front(*views[2]);
    EXPECT_EQ(order(), (std::vector<int> { 0, 1, 2 }));
    EXPECT_EQ(views[2]->superview(), &root);

    View orphan;
    send_subview_to_back(orphan);
    bring_subview_to_front(orphan);
    EXPECT_EQ(orphan.superview(), nullptr);
}

}
}
