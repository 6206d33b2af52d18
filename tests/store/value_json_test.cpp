#include "platform/foundation/value_json.h"

#include "platform/foundation/value_codec.h"
#include "store_test_support.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>

namespace cw {
namespace {

using Store = std::map<std::string, Value>;

std::string wrap(std::string const& values)
{
    return "{\"format\": \"cuewright-store\", \"version\": 1, \"values\": " + values + "}";
}

Store parse_ok(std::string const& text)
{
    std::string error;
    auto store = store_from_json(text, &error);
    EXPECT_TRUE(store) << error;
    return store ? *store : Store {};
}

TEST(ValueJson, EveryKindRoundTripsBitExactly)
{
    auto const sample = test::every_kind_sample();
    std::string error;
    auto text = store_to_json(sample, &error);
    ASSERT_TRUE(text) << error;
    EXPECT_TRUE(test::same_bits(parse_ok(*text), sample)) << *text;
}

TEST(ValueJson, EmptyStoreRoundTrips)
{
    auto text = store_to_json({});
    ASSERT_TRUE(text);
    EXPECT_TRUE(parse_ok(*text).empty());
}

TEST(ValueJson, LayoutIsStableAndReadable)
{
    Store const store {
        { "flag", true },
        { "n", -5 },
        { "ratio", 2.5 },
        { "data", Bytes { "hi" } },
        { "names", List { "x", Record { { "k", 1.0 } } } },
        { "empty", List {} },
        { "nothing", Record {} },
    };
    EXPECT_EQ(*store_to_json(store),
        "{\n"
        "  \"format\": \"cuewright-store\",\n"
        "  \"version\": 1,\n"
        "  \"values\": {\n"
        "    \"data\": {\"bytes\": \"aGk=\"},\n"
        "    \"empty\": {\"list\": []},\n"
        "    \"flag\": {\"boolean\": true},\n"
        "    \"n\": {\"integer\": \"-5\"},\n"
        "    \"names\": {\"list\": [\n"
        "      {\"string\": \"x\"},\n"
        "      {\"record\": {\n"
        "        \"k\": {\"double\": \"1\"}\n"
        "      }}\n"
        "    ]},\n"
        "    \"nothing\": {\"record\": {}},\n"
        "    \"ratio\": {\"double\": \"2.5\"}\n"
        "  }\n"
        "}\n");
}

TEST(ValueJson, SpecialDoublesAreWrittenByName)
{
    using limits = std::numeric_limits<double>;
    struct Case {
        double value;
        char const* text;
    } const cases[] = {
        { -0.0, "\"-0\"" },
        { limits::infinity(), "\"inf\"" },
        { -limits::infinity(), "\"-inf\"" },
        { limits::quiet_NaN(), "\"nan\"" },
        { limits::denorm_min(), "\"5e-324\"" },
        { 0.1, "\"0.1\"" },
    };
    for (auto const& c : cases) {
        auto text = *store_to_json({ { "d", c.value } });
        EXPECT_NE(text.find(std::string("{\"double\": ") + c.text + "}"), std::string::npos) << text;
        auto back = parse_ok(text).at("d").as_double();
        EXPECT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(c.value)) << c.text;
    }
}

TEST(ValueJson, StringsThatAreNotUtf8TravelAsBase64)
{
    Store const store { { "latin1", std::string("caf\xE9") }, { "lone byte", std::string("\x80") } };
    auto text = store_to_json(store);
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("{\"string-base64\": \"Y2Fm6Q==\"}"), std::string::npos) << *text;
    auto back = parse_ok(*text);
    EXPECT_EQ(back, store);
    EXPECT_TRUE(back.at("latin1").is_string());
}

TEST(ValueJson, ExportRefusesWhatJsonCannotCarry)
{
    std::string error;
    EXPECT_FALSE(store_to_json({ { "deep", Record { { "inner", test::nested_lists(kMaxValueDepth) } } } }, &error));
    EXPECT_NE(error.find("values.\"deep\".\"inner\""), std::string::npos) << error;
    EXPECT_NE(error.find("nest deeper"), std::string::npos) << error;

    EXPECT_FALSE(store_to_json({ { std::string("bad\xff"), 1 } }, &error));
    EXPECT_NE(error.find("not valid UTF-8"), std::string::npos) << error;

    EXPECT_TRUE(store_to_json({ { "at cap", test::nested_lists(kMaxValueDepth) } }));
}

TEST(ValueJson, HandWrittenFormsAreAccepted)
{
    auto store = parse_ok("\xEF\xBB\xBF\r\n{ \"values\" : {\n"
                          "\t\"hex\": {\"double\": \"0x1.8p+1\"},\n"
                          "\t\"negative hex\": {\"double\": \"-0x1p-2\"},\n"
                          "\t\"exponent\": {\"double\": \"1E3\"},\n"
                          "\t\"escapes\": {\"string\": \"\\u00e9\\ud83c\\udfac\\/\\b\\f\\n\\r\\t\\\"\\\\\\u0000\"},\n"
                          "\t\"record\": {\"record\": {\"b\": {\"integer\": \"2\"}, \"a\": {\"integer\": \"-9223372036854775808\"}}},\n"
                          "\t\"bytes\": {\"bytes\": \"\"}\n"
                          "  }, \"version\": 1, \"format\": \"cuewright-store\" }\n\n");
    EXPECT_EQ(store.at("hex"), Value(3.0));
    EXPECT_EQ(store.at("negative hex"), Value(-0.25));
    EXPECT_EQ(store.at("exponent"), Value(1000.0));
    EXPECT_EQ(store.at("escapes"), Value(std::string("\xC3\xA9\xF0\x9F\x8E\xAC/\b\f\n\r\t\"\\\0", 15)));
    EXPECT_EQ(store.at("record"), Value(Record { { "a", std::numeric_limits<std::int64_t>::min() }, { "b", 2 } }));
    EXPECT_EQ(store.at("bytes"), Value(Bytes {}));
}

struct BadDocument {
    char const* name;
    std::string text;
    char const* message;
};

TEST(ValueJson, MalformedDocumentsAreRefusedWithAReason)
{
    std::string too_deep = "{\"list\": []}";
    for (int i = 0; i < kMaxValueDepth; ++i)
        too_deep = "{\"list\": [" + too_deep + "]}";
    BadDocument const cases[] = {
        { "empty", "", "expected the document to start with '{', found the end of the text" },
        { "not json", "hello", "found 'h'" },
        { "a bare list", "[1, 2]", "to start with '{'" },
        { "cut short", wrap("{\"a\": {\"string\": \"abc"), "ends inside a string" },
        { "missing brace", "{\"format\": \"cuewright-store\", \"version\": 1, \"values\": {}", "',' or '}' after the member" },
        { "trailing comma", wrap("{\"a\": {\"integer\": \"1\"},}"), "a member name in quotes" },
        { "text after end", wrap("{}") + " x", "after the end of the document" },
        { "other format", "{\"format\": \"notes\", \"version\": 1, \"values\": {}}", "not a Cuewright store file" },
        { "newer version", "{\"format\": \"cuewright-store\", \"version\": 2, \"values\": {}}", "version 2 is not one this program reads" },
        { "no format", "{\"version\": 1, \"values\": {}}", "no \"format\" member" },
        { "no values", "{\"format\": \"cuewright-store\", \"version\": 1}", "no \"values\" member" },
        { "unknown member", "{\"format\": \"cuewright-store\", \"version\": 1, \"values\": {}, \"extra\": 1}", "unknown member \"extra\"" },
        { "repeated member", "{\"format\": \"cuewright-store\", \"format\": \"cuewright-store\", \"version\": 1, \"values\": {}}", "appears twice" },
        { "untyped value", wrap("{\"a\": \"text\"}"), "opening a typed value" },
        { "empty typed value", wrap("{\"a\": {}}"), "exactly one member" },
        { "two kinds", wrap("{\"a\": {\"integer\": \"1\", \"string\": \"1\"}}"), "exactly one member" },
        { "unknown kind", wrap("{\"a\": {\"float\": \"1\"}}"), "unknown kind \"float\"" },
        { "integer as number", wrap("{\"a\": {\"integer\": 1}}"), "digits of an \"integer\" in quotes" },
        { "integer overflow", wrap("{\"a\": {\"integer\": \"9223372036854775808\"}}"), "does not fit in 64 bits" },
        { "integer junk", wrap("{\"a\": {\"integer\": \"12abc\"}}"), "decimal digits" },
        { "integer plus", wrap("{\"a\": {\"integer\": \"+1\"}}"), "decimal digits" },
        { "double as number", wrap("{\"a\": {\"double\": 1.5}}"), "in quotes" },
        { "double overflow", wrap("{\"a\": {\"double\": \"1e999\"}}"), "out of range" },
        { "double junk", wrap("{\"a\": {\"double\": \"1.5x\"}}"), "must be a number" },
        { "double signed twice", wrap("{\"a\": {\"double\": \"0x-1p0\"}}"), "must be a number" },
        { "boolean word", wrap("{\"a\": {\"boolean\": \"yes\"}}"), "true or false" },
        { "bytes bad char", wrap("{\"a\": {\"bytes\": \"ab!=\"}}"), "unexpected character" },
        { "bytes bad length", wrap("{\"a\": {\"bytes\": \"abc\"}}"), "not a multiple of 4" },
        { "bytes stray bits", wrap("{\"a\": {\"bytes\": \"aGl=\"}}"), "stray bits" },
        { "bytes inner padding", wrap("{\"a\": {\"bytes\": \"aG==aGk=\"}}"), "unexpected character" },
        { "list not array", wrap("{\"a\": {\"list\": {}}}"), "'[' opening the items" },
        { "list trailing comma", wrap("{\"a\": {\"list\": [{\"boolean\": true},]}}"), "opening a typed value" },
        { "repeated key", wrap("{\"a\": {\"boolean\": true}, \"a\": {\"boolean\": false}}"), "name \"a\" appears twice" },
        { "repeated field", wrap("{\"r\": {\"record\": {\"f\": {\"boolean\": true}, \"f\": {\"boolean\": true}}}}"), "name \"f\" appears twice" },
        { "raw newline in string", wrap("{\"a\": {\"string\": \"x\ny\"}}"), "must be escaped" },
        { "invalid utf-8", wrap("{\"a\": {\"string\": \"caf\xE9\"}}"), "not valid UTF-8" },
        { "overlong utf-8", wrap("{\"a\": {\"string\": \"\xC0\xAF\"}}"), "not valid UTF-8" },
        { "lone low surrogate", wrap("{\"a\": {\"string\": \"\\udc00\"}}"), "lone low surrogate" },
        { "unpaired high surrogate", wrap("{\"a\": {\"string\": \"\\ud83c!\"}}"), "no low surrogate follows" },
        { "short unicode escape", wrap("{\"a\": {\"string\": \"\\u12\"}}"), "four hex digits" },
        { "unknown escape", wrap("{\"a\": {\"string\": \"\\x41\"}}"), "unknown escape \\x" },
        { "too deep", wrap("{\"a\": " + too_deep + "}"), "nest deeper than 256 levels" },
        { "bracket bomb", wrap("{\"a\": " + std::string(100000, '[') + "}"), "opening a typed value" },
        { "brace bomb", std::string(100000, '{'), "a member name in quotes" },
    };
    for (auto const& c : cases) {
        std::string error;
        EXPECT_FALSE(store_from_json(c.text, &error)) << c.name;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.name << ": " << error;
        EXPECT_EQ(error.rfind("line ", 0), 0u) << c.name << ": " << error;
    }
}

TEST(ValueJson, ErrorsPointAtTheLineAndTheValue)
{
    std::string const text = "{\n"
                             "  \"format\": \"cuewright-store\",\n"
                             "  \"version\": 1,\n"
                             "  \"values\": {\n"
                             "    \"scriptTitlesArray\": {\"list\": [\n"
                             "      {\"string\": \"Intro\"},\n"
                             "      {\"integer\": \"seven\"}\n"
                             "    ]}\n"
                             "  }\n"
                             "}\n";
    std::string error;
    EXPECT_FALSE(store_from_json(text, &error));
    EXPECT_EQ(error.rfind("line 7, column 19 (in values.\"scriptTitlesArray\"[1]): ", 0), 0u) << error;
}

TEST(ValueJson, MangledDocumentsNeverCrashTheReader)
{
    auto const sample = test::every_kind_sample();
    auto const text = *store_to_json(sample);
    char const alphabet[] = "{}[]\",:\\ u0-e9\n\xff";
    std::mt19937 random(20261211); // fixed: the same mutations every run
    for (int round = 0; round < 3000; ++round) {
        std::string mangled = text;
        for (int edits = 1 + int(random() % 3); edits > 0; --edits) {
            std::size_t const at = random() % mangled.size();
            switch (random() % 3) {
            case 0: mangled[at] = alphabet[random() % (sizeof alphabet - 1)]; break;
            case 1: mangled.erase(at, 1 + random() % 8); break;
            default: mangled.insert(at, 1, alphabet[random() % (sizeof alphabet - 1)]); break;
            }
        }
        std::string error;
        auto store = store_from_json(mangled, &error);
        if (store)
            EXPECT_TRUE(store_to_json(*store)) << round;
        else
            EXPECT_EQ(error.rfind("line ", 0), 0u) << round << ": " << error;
    }
}

}
}
