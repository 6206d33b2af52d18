// Text measured by the pages: asked once, answered from the fallback until
// a page measured it, then from the measurement; text views measure again
// when an answer arrives.

#include "platform/ui/text_view.h"
#include "web/measured_text_layout.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cw::web;

namespace {

auto headless() { return std::make_shared<HeadlessTextLayout>(); }

}

TEST(MeasuredTextLayout, AsksOnceAndAnswersTheFallbackUntilAPageMeasured)
{
    MeasuredTextLayout layout(headless());
    auto fallback = HeadlessTextLayout().measure("Good evening.", 56, 390);
    EXPECT_EQ(layout.measure("Good evening.", 56, 390), fallback);
    EXPECT_EQ(layout.measure("Good evening.", 56, 390), fallback);
    auto requests = layout.take_new_requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].text, "Good evening.");
    EXPECT_EQ(requests[0].font_size, 56);
    EXPECT_EQ(requests[0].width, 390);
    EXPECT_TRUE(layout.take_new_requests().empty());
    EXPECT_EQ(layout.waiting_requests().size(), 1u);

    EXPECT_TRUE(layout.store(requests[0].key, { 350, 134.5 }));
    EXPECT_EQ(layout.measure("Good evening.", 56, 390), (Size { 350, 134.5 }));
    EXPECT_TRUE(layout.waiting_requests().empty());
    // Another width or size is another question.
    layout.measure("Good evening.", 56, 800);
    layout.measure("Good evening.", 40, 390);
    EXPECT_EQ(layout.take_new_requests().size(), 2u);
}

TEST(MeasuredTextLayout, OnlyAnswersToQuestionsCountAndOnlySaneOnes)
{
    MeasuredTextLayout layout(headless());
    layout.measure("Hello", 17, 100);
    auto key = layout.take_new_requests().at(0).key;
    EXPECT_FALSE(layout.store("not-a-question", { 1, 1 }));
    EXPECT_FALSE(layout.store(key, { 10, -1 }));
    EXPECT_FALSE(layout.store(key, { 10, std::numeric_limits<double>::infinity() }));
    EXPECT_TRUE(layout.store(key, { 40, 20 }));
    EXPECT_FALSE(layout.store(key, { 40, 99 }));
    EXPECT_EQ(layout.measure("Hello", 17, 100), (Size { 40, 20 }));
}

TEST(MeasuredTextLayout, NothingToMeasureIsNeverAsked)
{
    MeasuredTextLayout layout(headless());
    layout.measure("", 17, 100);
    layout.measure("Hello", 0, 100);
    layout.measure("Hello", 17, 0);
    layout.measure("Hello", 17, std::numeric_limits<double>::infinity());
    EXPECT_TRUE(layout.take_new_requests().empty());
}

TEST(MeasuredTextLayout, KeepsABoundedNumberOfAnswers)
{
    MeasuredTextLayout layout(headless());
    for (size_t i = 0; i <= MeasuredTextLayout::max_entries; ++i) {
        auto text = "text " + std::to_string(i);
        layout.measure(text, 17, 100);
        layout.store(layout.take_new_requests().at(0).key, { 1, 1000 });
    }
    // The oldest answer went and is asked again.
    EXPECT_EQ(layout.measure("text 0", 17, 100), HeadlessTextLayout().measure("text 0", 17, 100));
    EXPECT_EQ(layout.take_new_requests().size(), 1u);
    EXPECT_EQ(layout.measure("text 1", 17, 100), (Size { 1, 1000 }));
}

TEST(MeasuredTextLayout, TextViewsMeasureAgainWhenAnAnswerArrives)
{
    auto layout = std::make_shared<MeasuredTextLayout>(headless());
    View root(Rect { {}, { 390, 844 } });
    auto& text = root.add_subview(std::make_unique<TextView>(layout, Rect { {}, { 390, 844 } }));
    text.set_text("Good evening, everyone.");
    text.set_font_size(56);
    auto before = text.content_size();
    auto key = layout->take_new_requests().at(0).key;
    layout->store(key, { 390, 2000 });
    // The view kept what it measured...
    EXPECT_EQ(text.content_size(), before);
    remeasure_text_views(root);
    // ...until asked to measure again.
    EXPECT_EQ(text.content_size().height, 2000);
    EXPECT_EQ(text.text(), "Good evening, everyone.");
}
