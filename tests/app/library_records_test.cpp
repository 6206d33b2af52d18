#include "library/library_records.h"

#include <gtest/gtest.h>

using namespace cw;

TEST(LibraryRecords, FindingAScriptByNameTakesTheFirstExactTitle)
{
    List titles { "Intro", "intro", "Intro ", "Intro" };
    struct Case {
        std::string name;
        std::optional<size_t> index;
    } cases[] = {
        { "Intro", 0 },
        { "intro", 1 },
        { "Intro ", 2 },
        { "INTRO", std::nullopt },
        { "", std::nullopt },
    };
    for (auto const& c : cases)
        EXPECT_EQ(find_script_index(titles, c.name), c.index) << '"' << c.name << '"';
}

TEST(LibraryRecords, UniqueIdentifierHasSixDecimals)
{
    EXPECT_EQ(generateUniqueIDForScriptName("Intro", 12.25), "Intro_12.250000");
    EXPECT_EQ(generateUniqueIDForScriptName("A b", 1781234567.5), "A b_1781234567.500000");
    EXPECT_EQ(generateUniqueIDForScriptName("", 0), "_0.000000");
}

TEST(LibraryRecords, RecordKindsAndFields)
{
    auto script = Value(make_script_record("A", "A_1.000000"));
    auto folder = Value(make_folder_record("F", List { script }));
    EXPECT_TRUE(is_script_record(script));
    EXPECT_FALSE(is_folder_record(script));
    EXPECT_TRUE(is_folder_record(folder));
    EXPECT_EQ(record_name(folder), "F");
    EXPECT_EQ(folder_scripts(folder), List { script });
    EXPECT_TRUE(folder_scripts(script).empty());
    EXPECT_EQ(record_name(Value("not a record")), "");
}
