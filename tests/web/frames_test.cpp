// Which page paints the display refreshes, and when the loop's own clock
// takes over.

#include "web/frames.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cw::web;

TEST(FrameDriver, TheMostRecentlyFocusedVisiblePageDrives)
{
    RunLoop loop;
    FrameDriver frames(loop);
    std::vector<std::optional<ClientId>> changes;
    frames.on_driver_changed = [&](std::optional<ClientId> page) { changes.push_back(page); };

    struct Step {
        char const* what;
        std::function<void()> act;
        std::optional<ClientId> driver;
    };
    Step steps[] = {
        { "first page, focused", [&] { frames.page_opened(1, true, true); }, 1 },
        { "second page opened in the background", [&] { frames.page_opened(2, false, true); }, 1 },
        { "second page focused", [&] { frames.page_focused(2); }, 2 },
        { "second page hidden", [&] { frames.page_visibility(2, false); }, 1 },
        { "first page hidden too", [&] { frames.page_visibility(1, false); }, std::nullopt },
        { "second page shown again", [&] { frames.page_visibility(2, true); }, 2 },
        { "a third page focused", [&] { frames.page_opened(3, true, true); }, 3 },
        { "the third page closed", [&] { frames.page_closed(3); }, 2 },
        { "the first page focused, which shows it", [&] { frames.page_focused(1); }, 1 },
        { "every page closed", [&] { frames.page_closed(1); frames.page_closed(2); }, std::nullopt },
    };
    for (auto const& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(frames.driver(), step.driver);
    }
    std::vector<std::optional<ClientId>> expected { 1, 2, 1, std::nullopt, 2, 3, 2, 1, 2, std::nullopt };
    EXPECT_EQ(changes, expected);
}

TEST(FrameDriver, OnlyTheDrivingPageTicksAndItsTicksReplaceTheClock)
{
    RunLoop loop;
    FrameDriver frames(loop);
    int refreshes = 0;
    auto link = loop.add_display_link(LoopMode::Default, [&] { ++refreshes; });
    frames.page_opened(1, true, true);
    frames.page_opened(2, false, true);

    EXPECT_FALSE(frames.tick(2));
    EXPECT_EQ(refreshes, 0);
    EXPECT_FALSE(loop.external_frames());

    EXPECT_TRUE(frames.tick(1));
    EXPECT_EQ(refreshes, 1);
    EXPECT_TRUE(loop.external_frames());
    // While the page paints, the clock adds no frames of its own.
    for (int i = 0; i < 10; ++i) {
        loop.advance(1.0 / 60);
        frames.tick(1);
    }
    EXPECT_EQ(refreshes, 11);
}

TEST(FrameDriver, TheClockTakesOverWhenTheDrivingPageStalls)
{
    RunLoop loop;
    FrameDriver frames(loop);
    int refreshes = 0;
    auto link = loop.add_display_link(LoopMode::Default, [&] { ++refreshes; });
    frames.page_opened(1, true, true);
    frames.tick(1);
    ASSERT_TRUE(loop.external_frames());

    // A background tab gets no animation frames: after a quarter of a
    // second without ticks the loop's 60 Hz clock keeps the run going.
    loop.advance(0.2);
    EXPECT_EQ(refreshes, 1);
    loop.advance(0.3);
    EXPECT_FALSE(loop.external_frames());
    int after_stall = refreshes;
    loop.advance(1.0);
    EXPECT_NEAR(refreshes - after_stall, 60, 1);

    // The page's next tick takes over again.
    frames.tick(1);
    EXPECT_TRUE(loop.external_frames());
    int at_takeover = refreshes;
    loop.advance(0.1);
    EXPECT_EQ(refreshes, at_takeover);
}

TEST(FrameDriver, AnIdlePageIsNotAStalledOne)
{
    RunLoop loop;
    FrameDriver frames(loop);
    frames.page_opened(1, true, true);
    frames.tick(1);
    // Nothing listens to refreshes, so the page stops ticking; that is not
    // a stall.
    loop.advance(5);
    EXPECT_TRUE(loop.external_frames());
    // Something starts moving: the page gets its chance to tick first.
    int refreshes = 0;
    auto link = loop.add_display_link(LoopMode::Default, [&] { ++refreshes; });
    loop.advance(0.15);
    frames.tick(1);
    EXPECT_TRUE(loop.external_frames());
    EXPECT_EQ(refreshes, 1);
}

TEST(FrameDriver, WithoutPagesTheClockDrives)
{
    RunLoop loop;
    {
        FrameDriver frames(loop);
        frames.page_opened(1, true, true);
        frames.tick(1);
        frames.page_closed(1);
        EXPECT_FALSE(loop.external_frames());
        frames.page_opened(2, true, true);
        frames.tick(2);
    }
    EXPECT_FALSE(loop.external_frames());
}
