#include "tools/store_tool.h"

#include "platform/foundation/value_json.h"
#include "platform/linux/sqlite_persistence.h"
#include "store_test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace cw {
namespace {

namespace fs = std::filesystem;
using Store = std::map<std::string, Value>;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome run_tool(std::vector<std::string> const& args)
{
    std::ostringstream out, err;
    int const status = store_tool::run(args, out, err);
    return { status, out.str(), err.str() };
}

class StoreToolTest : public ::testing::Test {
protected:
    void fill(fs::path const& dir, Store const& values)
    {
        ChangeSet changes;
        for (auto const& [key, value] : values)
            changes[key] = value;
        SqlitePersistence store(dir / "library.sqlite", {});
        ASSERT_TRUE(store.write(changes));
    }

    Store content(fs::path const& dir) { return SqlitePersistence(dir / "library.sqlite", {}).load(); }

    test::TempDir m_dir;
    fs::path m_source { m_dir / "source" };
    fs::path m_target { m_dir / "target" };
};

TEST_F(StoreToolTest, ExportThenImportCopiesTheStoreExactly)
{
    auto const sample = test::every_kind_sample();
    fill(m_source, sample);
    fill(m_target, { { "stale", 1 }, { "string", "old" } });

    auto exported = run_tool({ "export", "--data-dir", m_source.string() });
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, *store_to_json(sample));

    fs::path const file = m_dir / "backup.json";
    auto to_file = run_tool({ "export", "--data-dir=" + m_source.string(), "--out", file.string() });
    ASSERT_EQ(to_file.status, 0) << to_file.err;
    EXPECT_EQ(test::read_file(file), exported.out);
    EXPECT_FALSE(fs::exists(file.string() + ".partial"));

    auto imported = run_tool({ "import", "--data-dir", m_target.string(), file.string() });
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_NE(imported.out.find("(1 keys removed)"), std::string::npos) << imported.out;
    EXPECT_TRUE(test::same_bits(content(m_target), sample));
}

TEST_F(StoreToolTest, ImportCreatesAStoreWhereThereIsNone)
{
    fs::path const file = m_dir / "backup.json";
    test::write_file(file, *store_to_json({ { "k", 1 } }));
    auto imported = run_tool({ "import", file.string(), "--data-dir", (m_dir / "new" / "root").string() });
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(content(m_dir / "new" / "root"), (Store { { "k", 1 } }));
}

TEST_F(StoreToolTest, MalformedImportChangesNothing)
{
    Store const before { { "scriptTitlesArray", List { "Intro" } } };
    fill(m_target, before);
    fs::path const file = m_dir / "broken.json";
    test::write_file(file, "{\"format\": \"cuewright-store\", \"version\": 1, \"values\": {\n  \"a\": {\"integer\": 5}\n}}");

    auto imported = run_tool({ "import", "--data-dir", m_target.string(), file.string() });
    EXPECT_EQ(imported.status, 1);
    EXPECT_NE(imported.err.find(file.string() + ": line 2, column 20"), std::string::npos) << imported.err;
    EXPECT_NE(imported.err.find("the store is unchanged"), std::string::npos) << imported.err;
    EXPECT_EQ(content(m_target), before);

    auto missing = run_tool({ "import", "--data-dir", m_target.string(), (m_dir / "no such file").string() });
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos) << missing.err;
    EXPECT_EQ(content(m_target), before);
}

TEST_F(StoreToolTest, ExportNeverCreatesOrMovesAStore)
{
    auto missing = run_tool({ "export", "--data-dir", m_source.string() });
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("there is no store at"), std::string::npos) << missing.err;
    EXPECT_FALSE(fs::exists(m_source));

    fs::create_directories(m_source);
    test::write_file(m_source / "library.sqlite", std::string(8192, 'z'));
    auto damaged = run_tool({ "export", "--data-dir", m_source.string() });
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("is damaged"), std::string::npos) << damaged.err;
    EXPECT_TRUE(test::read_file(m_source / "library.sqlite") == std::string(8192, 'z'));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_source), fs::directory_iterator()), 1);
}

TEST_F(StoreToolTest, UsageMistakesAreExplained)
{
    struct Case {
        std::vector<std::string> args;
        char const* message;
    } const cases[] = {
        { {}, "no command given" },
        { { "backup" }, "unknown command \"backup\"" },
        { { "import" }, "needs the FILE" },
        { { "import", "a.json", "b.json" }, "unexpected argument \"b.json\"" },
        { { "export", "--data-dir" }, "--data-dir needs a value" },
        { { "export", "--data-dir=" }, "--data-dir needs a folder" },
        { { "export", "--out", "a", "--out", "b" }, "--out given twice" },
        { { "import", "--out", "a", "f.json" }, "unexpected argument \"--out\"" },
    };
    for (auto const& c : cases) {
        auto outcome = run_tool(c.args);
        EXPECT_EQ(outcome.status, 2) << c.message;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find("usage:"), std::string::npos);
    }
    auto help = run_tool({ "--help" });
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage:"), std::string::npos);
}

}
}
