#include "platform/foundation/value.h"

#include <gtest/gtest.h>

using namespace cw;

TEST(Value, KindsNeverBlur)
{
    struct Case {
        Value a, b;
        bool equal;
    } cases[] = {
        { Value(true), Value(std::int64_t { 1 }), false },
        { Value(std::int64_t { 2 }), Value(2.0), false },
        { Value(""), Value(Bytes {}), false },
        { Value(List {}), Value(Record {}), false },
        { Value("abc"), Value("ABC"), false },
        { Value("abc "), Value("abc"), false },
        { Value(List { 1, "a", true }), Value(List { 1, "a", true }), true },
        { Value(List { 1, "a" }), Value(List { "a", 1 }), false },
        { Value(Record { { "type", "Script" }, { "name", "A" } }), Value(Record { { "name", "A" }, { "type", "Script" } }), true },
        { Value(Record { { "scripts", List { Record { { "name", "x" } } } } }), Value(Record { { "scripts", List { Record { { "name", "y" } } } } }), false },
    };
    for (auto const& c : cases)
        EXPECT_EQ(c.a == c.b, c.equal) << describe(c.a) << " vs " << describe(c.b);
}

TEST(Value, CopiesAreIndependent)
{
    Value original(List { Record { { "name", "A" } } });
    Value copy = original;
    copy.as_list()[0].as_record()["name"] = "B";
    EXPECT_EQ(original.as_list()[0].field("name")->as_string(), "A");
}
