#include "platform/foundation/run_loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace cw;

TEST(RunLoop, DueEventsFireInTimeOrder)
{
    RunLoop loop;
    std::string order;
    auto late = loop.schedule_timer(0.5, false, LoopMode::Default, [&] { order += "late "; });
    auto early = loop.schedule_timer(0.03, false, LoopMode::Default, [&] { order += "early "; });
    auto repeat = loop.schedule_timer(0.2, true, LoopMode::Default, [&] { order += "tick "; });
    loop.post([&] { order += "posted "; });
    loop.advance(0.6);
    EXPECT_EQ(order, "posted early tick tick late tick ");
    EXPECT_DOUBLE_EQ(loop.now(), 0.6);
}

TEST(RunLoop, DisplayLinkTicksOncePerFrame)
{
    RunLoop loop(RunLoop::Time::Virtual, 60);
    int ticks = 0;
    auto link = loop.add_display_link(LoopMode::Default, [&] { ++ticks; });
    loop.advance_frames(120);
    EXPECT_EQ(ticks, 120);
    EXPECT_NEAR(loop.now(), 2.0, 1e-9);
    loop.advance(1.0);
    EXPECT_EQ(ticks, 180);
    link.cancel();
    loop.advance(1.0);
    EXPECT_EQ(ticks, 180);
}

TEST(RunLoop, RefreshRateIsConfigurable)
{
    RunLoop loop(RunLoop::Time::Virtual, 120);
    int ticks = 0;
    auto link = loop.add_display_link(LoopMode::Default, [&] { ++ticks; });
    loop.advance(1.0);
    EXPECT_EQ(ticks, 120);
}

TEST(RunLoop, DraggingPausesDefaultModeWorkOnly)
{
    RunLoop loop;
    int default_ticks = 0, common_ticks = 0, timer_fires = 0;
    auto a = loop.add_display_link(LoopMode::Default, [&] { ++default_ticks; });
    auto b = loop.add_display_link(LoopMode::Common, [&] { ++common_ticks; });
    auto timer = loop.schedule_timer(0.1, true, LoopMode::Default, [&] { ++timer_fires; });

    loop.begin_tracking();
    loop.advance(1.0);
    EXPECT_EQ(default_ticks, 0);
    EXPECT_EQ(common_ticks, 60);
    EXPECT_EQ(timer_fires, 0);

    loop.end_tracking();
    loop.run_pending();
    EXPECT_EQ(timer_fires, 1) << "an overdue timer fires once, missed firings are not replayed";
    loop.advance(0.1);
    EXPECT_EQ(timer_fires, 2);
    EXPECT_EQ(default_ticks, 6);
}

TEST(RunLoop, HandlesCancelFromInsideTheirCallback)
{
    RunLoop loop;
    int fires = 0;
    LoopHandle timer;
    timer = loop.schedule_timer(0.1, true, LoopMode::Default, [&] {
        ++fires;
        timer.cancel();
    });
    LoopHandle link;
    int ticks = 0;
    link = loop.add_display_link(LoopMode::Default, [&] {
        ++ticks;
        link = LoopHandle {};
    });
    loop.advance(1.0);
    EXPECT_EQ(fires, 1);
    EXPECT_EQ(ticks, 1);
}

TEST(RunLoop, DestroyingAHandleCancelsAndOutlivingTheLoopIsSafe)
{
    LoopHandle survivor;
    {
        RunLoop loop;
        int fires = 0;
        {
            auto timer = loop.schedule_timer(0.1, false, LoopMode::Default, [&] { ++fires; });
        }
        loop.advance(1);
        EXPECT_EQ(fires, 0);
        survivor = loop.schedule_timer(1, false, LoopMode::Default, [] { });
    }
    EXPECT_FALSE(survivor.active());
}

TEST(RunLoop, TurnEndHooksRunAfterEveryTurn)
{
    RunLoop loop;
    std::string order;
    auto hook = loop.add_turn_end_hook([&] { order += "|"; });
    loop.post([&] { order += "a"; });
    loop.post([&] { order += "b"; });
    auto timer = loop.schedule_timer(0.1, false, LoopMode::Default, [&] { order += "t"; });
    loop.advance(0.2);
    EXPECT_EQ(order, "a|b|t|");
}

TEST(RunLoop, PostIsSafeFromOtherThreads)
{
    RunLoop loop;
    std::atomic<int> done { 0 };
    int ran = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 250; ++i)
                loop.post([&] { ++ran; });
            ++done;
        });
    }
    for (auto& thread : threads)
        thread.join();
    loop.run_pending();
    EXPECT_EQ(ran, 1000);
}

TEST(RunLoop, ExternalFramesComeOnlyFromTheDriver)
{
    RunLoop loop;
    int ticks = 0;
    auto link = loop.add_display_link(LoopMode::Default, [&] { ++ticks; });
    loop.set_external_frames(true);
    loop.advance(1.0);
    EXPECT_EQ(ticks, 0);
    loop.tick_display();
    loop.tick_display();
    EXPECT_EQ(ticks, 2);
    loop.set_external_frames(false);
    loop.advance(0.5);
    EXPECT_EQ(ticks, 32);
}

TEST(RunLoop, RealLoopRunsPostedWorkAndQuits)
{
    RunLoop loop(RunLoop::Time::Real);
    int ran = 0;
    std::thread poster([&] {
        loop.post([&] { ++ran; });
        loop.post([&] { loop.quit(); });
    });
    loop.run();
    poster.join();
    EXPECT_EQ(ran, 1);
}
