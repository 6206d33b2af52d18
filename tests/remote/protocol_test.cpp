#include "remote/peer_protocol.h"
#include "remote/watch_protocol.h"

#include <gtest/gtest.h>

#include <string>

namespace cw::remote {
namespace {

Bytes bytes(std::string text) { return Bytes { std::move(text) }; }

TEST(PeerWireMessages, CommandsAreTheBareWords)
{
    EXPECT_EQ(encode_command(start_word), bytes("start"));
    EXPECT_EQ(encode_command(stop_word), bytes("stop"));
    EXPECT_EQ(encode_command(back_to_start_word), bytes("backtostart"));
}

TEST(PeerWireMessages, SpeedIsTheWidenedSliderValueLittleEndian)
{
    // 37.6f widened to double is 37.59999847412109375: 0x4042CCCCC0000000.
    EXPECT_EQ(encode_speed(37.6f), bytes(std::string("\x00\x00\x00\xC0\xCC\xCC\x42\x40", 8)));
    auto decoded = decode_peer_message(encode_speed(37.6f));
    EXPECT_EQ(decoded.kind, PeerMessage::Kind::Speed);
    EXPECT_EQ(decoded.speed, static_cast<double>(37.6f));
}

TEST(PeerWireMessages, DecodingTakesOnlyExactWords)
{
    using Kind = PeerMessage::Kind;
    struct Case {
        std::string data;
        Kind kind;
    };
    Case const cases[] = {
        { "start", Kind::Start },
        { "stop", Kind::Stop },
        { "backtostart", Kind::BackToStart },
        // Not a word: too short to hold a speed.
        { "START", Kind::Unreadable },
        { "start ", Kind::Unreadable },
        { "", Kind::Unreadable },
        { std::string("\x00\x00\x00", 3), Kind::Unreadable },
        // Not a word, long enough: a speed in the first 8 bytes.
        { "STARTING", Kind::Speed },
        { "backtostart!", Kind::Speed },
        { "Backtostart", Kind::Speed },
        { std::string("\xFF\xFE\x00\x00\x00\x00\x00\x00", 8), Kind::Speed },
    };
    for (auto const& c : cases)
        EXPECT_EQ(decode_peer_message(bytes(c.data)).kind, c.kind) << c.data;
}

TEST(PeerWireMessages, ALongerMessageIsReadFromItsFirstEightBytes)
{
    auto data = encode_speed(12.5f);
    data.data += "trailing";
    EXPECT_EQ(decode_peer_message(data).speed, 12.5);
}

TEST(PeerWireMessages, InvalidUtf8IsNoText)
{
    EXPECT_EQ(utf8_text(bytes("start")), "start");
    EXPECT_EQ(utf8_text(bytes("caf\xC3\xA9")), "caf\xC3\xA9");
    for (std::string bad : { "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80" })
        EXPECT_FALSE(utf8_text(bytes(bad))) << bad.size();
}

TEST(PeerDisplayName, PrefixesTheDeviceNameWithinTheLimit)
{
    std::string const fits(53, 'a'); // 10 + 53 = 63 bytes
    struct Case {
        std::string device;
        std::string name;
    };
    Case const cases[] = {
        { "Studio iPad", "Cuewright_Studio iPad" },
        { "", "Cuewright_" },
        { fits, "Cuewright_" + fits },
        { fits + "b", "Cuewright_" + fits },
        // A two-byte letter that would end at byte 64 is left out whole.
        { std::string(52, 'a') + "\xC3\xA9" + "x", "Cuewright_" + std::string(52, 'a') },
        { std::string(51, 'a') + "\xC3\xA9" + "x", "Cuewright_" + std::string(51, 'a') + "\xC3\xA9" },
        // A four-byte character at the edge.
        { std::string(50, 'a') + "\xF0\x9F\x8E\xA4", "Cuewright_" + std::string(50, 'a') },
        // Stray bytes never reach the name.
        { "Stu\xFF" "dio", "Cuewright_Studio" },
    };
    for (auto const& c : cases) {
        auto name = peer_display_name(c.device);
        EXPECT_EQ(name, c.name) << c.device;
        EXPECT_LE(name.size(), 63u);
    }
}

TEST(WatchMessages, CommandsAreComparedExactly)
{
    struct Case {
        Value command;
        std::optional<WatchCommand> expected;
    };
    Case const cases[] = {
        { "START", WatchCommand::Start },
        { "STOP", WatchCommand::Stop },
        { "BACK TO START", WatchCommand::BackToStart },
        { "INCREASE", WatchCommand::Increase },
        { "DECREASE", WatchCommand::Decrease },
        { "start", std::nullopt },
        { "Start", std::nullopt },
        { " START", std::nullopt },
        { "BACKTOSTART", std::nullopt },
        { std::int64_t { 1 }, std::nullopt },
    };
    for (auto const& c : cases)
        EXPECT_EQ(watch_command(Record { { "command", c.command } }), c.expected);
    EXPECT_EQ(watch_command(Record {}), std::nullopt);
    EXPECT_EQ(watch_command(Record { { "Command", "START" } }), std::nullopt);
}

TEST(WatchMessages, SpeedStepsStopAtTheSliderEnds)
{
    struct Case {
        WatchCommand command;
        double from, to;
    };
    Case const cases[] = {
        { WatchCommand::Increase, 50, 55 },
        { WatchCommand::Increase, 98, 100 },
        { WatchCommand::Increase, 100, 100 },
        { WatchCommand::Decrease, 50, 45 },
        { WatchCommand::Decrease, 3, 0 },
        { WatchCommand::Decrease, 0, 0 },
        { WatchCommand::Increase, 37.5, 42.5 },
    };
    for (auto const& c : cases)
        EXPECT_EQ(watch_speed_after_step(c.command, c.from, 0, 100), c.to) << c.from;
}

}
}
