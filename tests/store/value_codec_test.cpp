#include "platform/foundation/value_codec.h"

#include "store_test_support.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>

namespace cw {
namespace {

using test::same_bits;

TEST(ValueCodec, EveryKindRoundTripsBitExactly)
{
    for (auto const& [name, value] : test::every_kind_sample()) {
        auto encoded = encode_value(value);
        ASSERT_TRUE(encoded) << name;
        std::string error;
        auto decoded = decode_value(*encoded, &error);
        ASSERT_TRUE(decoded) << name << ": " << error;
        EXPECT_TRUE(same_bits(*decoded, value)) << name;
    }
}

TEST(ValueCodec, NanPayloadAndSignSurvive)
{
    for (std::uint64_t bits : { 0x7ff8000000000000ull, 0xfff8000000000000ull, 0x7ff0000000000001ull, 0x7ffdeadbeef00001ull }) {
        Value const value(std::bit_cast<double>(bits));
        auto decoded = decode_value(*encode_value(value));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(decoded->as_double()), bits);
    }
}

TEST(ValueCodec, KindsStayApart)
{
    // The same "1" in five kinds must come back as five different values.
    List const ones { Value(1), Value(true), Value(1.0), Value("1"), Value(Bytes { "1" }) };
    for (auto const& one : ones) {
        auto decoded = decode_value(*encode_value(one));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->kind(), one.kind());
        EXPECT_EQ(*decoded, one);
    }
}

TEST(ValueCodec, SmallValuesStayCompact)
{
    EXPECT_EQ(encode_value(Value(0))->size(), 2u);
    EXPECT_EQ(encode_value(Value(-64))->size(), 2u);
    EXPECT_EQ(encode_value(Value(std::numeric_limits<std::int64_t>::min()))->size(), 11u);
    EXPECT_EQ(encode_value(Value(true))->size(), 2u);
    EXPECT_EQ(encode_value(Value(2.5))->size(), 9u);
    EXPECT_EQ(encode_value(Value("abc"))->size(), 5u);
}

TEST(ValueCodec, NestingCapIsSharedByEncoderAndDecoder)
{
    auto at_cap = encode_value(test::nested_lists(kMaxValueDepth));
    ASSERT_TRUE(at_cap);
    EXPECT_TRUE(decode_value(*at_cap));

    EXPECT_FALSE(encode_value(test::nested_lists(kMaxValueDepth + 1)));
    std::string out;
    EXPECT_FALSE(encode_value(Value(Record { { "r", test::nested_lists(kMaxValueDepth) } }), out));

    // A blob claiming deeper nesting is refused without recursing further.
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "\x06\x01";
    deep += std::string("\x02\x00", 2);
    std::string error;
    EXPECT_FALSE(decode_value(deep, &error));
    EXPECT_NE(error.find("nest deeper"), std::string::npos) << error;
}

struct BadBlob {
    char const* name;
    std::string bytes;
    char const* message;
};

TEST(ValueCodec, DamagedBlobsAreRefusedWithAReason)
{
    BadBlob const cases[] = {
        { "empty", "", "before its tag" },
        { "unknown tag", "\x09", "unknown tag 9" },
        { "string longer than blob", "\x01\x05" "abc", "runs past the end" },
        { "string length cut off", "\x01\x80", "ends early" },
        { "integer cut off", "\x02\xff", "ends early" },
        { "integer over 64 bits", "\x02\xff\xff\xff\xff\xff\xff\xff\xff\xff\x02", "64 bits" },
        { "integer too many bytes", "\x02\xff\xff\xff\xff\xff\xff\xff\xff\xff\x81\x00", "64 bits" },
        { "integer not shortest", std::string("\x02\x85\x00", 3), "shortest form" },
        { "length not shortest", std::string("\x01\x81\x00" "a", 4), "shortest form" },
        { "boolean byte 2", "\x03\x02", "not 0 or 1" },
        { "boolean missing", "\x03", "before its byte" },
        { "double short", "\x04\x00\x00\x00", "8 bytes" },
        { "bytes cut", "\x05\x03" "a", "runs past the end" },
        { "list count too big", "\x06\xff\xff\xff\xff\x0f", "exceeds the bytes left" },
        { "list item missing", std::string("\x06\x02\x02\x00", 4), "before its tag" },
        { "record keys out of order", "\x07\x02\x01" "b" "\x03\x01\x01" "a" "\x03\x01", "ascending" },
        { "record key repeated", "\x07\x02\x01" "a" "\x03\x01\x01" "a" "\x03\x01", "ascending" },
        { "trailing bytes", std::string("\x03\x01\x00", 3), "stray bytes" },
    };
    for (auto const& c : cases) {
        std::string error;
        EXPECT_FALSE(decode_value(c.bytes, &error)) << c.name;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.name << ": " << error;
        EXPECT_NE(error.find("at byte"), std::string::npos) << c.name << ": " << error;
    }
}

TEST(ValueCodec, EveryTruncationOfAValidBlobIsRefused)
{
    auto const sample = test::every_kind_sample();
    auto const full = *encode_value(Value(Record(sample.begin(), sample.end())));
    for (std::size_t length = 0; length < full.size(); ++length)
        EXPECT_FALSE(decode_value(std::string_view(full).substr(0, length))) << length;
}

TEST(ValueCodec, FlippedBytesNeverCrashTheDecoder)
{
    auto const sample = test::every_kind_sample();
    auto const full = *encode_value(Value(Record(sample.begin(), sample.end())));
    std::mt19937 random(20261211); // fixed: the same mutations every run
    for (int round = 0; round < 3000; ++round) {
        std::string damaged = full;
        for (int flips = 1 + int(random() % 3); flips > 0; --flips)
            damaged[random() % damaged.size()] = static_cast<char>(random() % 256);
        std::string error;
        auto decoded = decode_value(damaged, &error);
        // Either refused with a reason, or a value that encodes back to
        // exactly these bytes (a flip inside text is still a valid blob).
        if (decoded)
            EXPECT_EQ(*encode_value(*decoded), damaged) << round;
        else
            EXPECT_FALSE(error.empty()) << round;
    }
}

}
}
