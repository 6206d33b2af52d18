#include "platform/foundation/notification_center.h"

#include <gtest/gtest.h>

#include <optional>

using namespace cw;

TEST(NotificationCenter, DeliversByNameAndObjectInRegistrationOrder)
{
    NotificationCenter center;
    std::string calls;
    int sender = 0, other = 0;
    auto a = center.observe("TestNotification", nullptr, [&] { calls += "a"; });
    auto b = center.observe("TestNotification", &sender, [&] { calls += "b"; });
    auto c = center.observe("HMirrorTurnedOnNotification", nullptr, [&] { calls += "c"; });
    center.post("TestNotification", &other);
    center.post("TestNotification", &sender);
    EXPECT_EQ(calls, "aab");
}

TEST(NotificationCenter, TokensUnregisterWhenDestroyed)
{
    NotificationCenter center;
    int calls = 0;
    {
        auto token = center.observe("TestNotification", nullptr, [&] { ++calls; });
        center.post("TestNotification");
    }
    center.post("TestNotification");
    EXPECT_EQ(calls, 1);
}

TEST(NotificationCenter, AnObserverMayRemoveAnotherWhileDelivering)
{
    NotificationCenter center;
    int second_calls = 0;
    std::optional<ObservationToken> second;
    auto first = center.observe("n", nullptr, [&] { second.reset(); });
    second = center.observe("n", nullptr, [&] { ++second_calls; });
    center.post("n");
    EXPECT_EQ(second_calls, 0);
}

TEST(NotificationCenter, TokenOutlivingTheCentreIsHarmless)
{
    ObservationToken token;
    {
        NotificationCenter center;
        token = center.observe("n", nullptr, [] { });
    }
    token.cancel();
    SUCCEED();
}
