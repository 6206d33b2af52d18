#include "platform/foundation/defaults.h"

#include <gtest/gtest.h>

using namespace cw;

namespace {

struct Store {
    MemoryPersistence* disk;
    Defaults defaults;
    explicit Store(std::map<std::string, Value> initial = {})
        : disk(new MemoryPersistence(std::move(initial)))
        , defaults(std::unique_ptr<Persistence>(disk))
    {
    }
};

}

TEST(Defaults, AbsentKeysReadAsNothing)
{
    Store store;
    EXPECT_FALSE(store.defaults.object("scriptTitlesArray"));
    EXPECT_EQ(store.defaults.integer("currentlyEditingIndex"), 0);
    EXPECT_FALSE(store.defaults.boolean("isNewScript"));
    EXPECT_TRUE(store.defaults.list("folders").empty());
}

TEST(Defaults, ReadsHandBackCopies)
{
    Store store;
    store.defaults.set("folders", List { "a" });
    auto list = store.defaults.list("folders");
    list.push_back("b");
    EXPECT_EQ(store.defaults.list("folders").size(), 1u);
}

TEST(Defaults, WritesAreVisibleAtOnceAndPersistOnlyOnFlush)
{
    Store store;
    store.defaults.set_integer("currentlyEditingIndex", 4);
    store.defaults.set_boolean("isNewScript", true);
    EXPECT_EQ(store.defaults.integer("currentlyEditingIndex"), 4);
    EXPECT_TRUE(store.defaults.boolean("isNewScript"));
    EXPECT_EQ(store.disk->write_count(), 0);

    store.defaults.flush();
    EXPECT_EQ(store.disk->write_count(), 1);
    EXPECT_EQ(store.disk->last_write().size(), 2u);

    store.defaults.flush();
    EXPECT_EQ(store.disk->write_count(), 1) << "nothing dirty, nothing written";
}

TEST(Defaults, OnlyDirtyKeysAreWritten)
{
    Store store(std::map<std::string, Value> { { "scriptTextArray", List { "long text" } }, { "textSizeArray", List { 56.0 } } });
    store.defaults.set("textSizeArray", List { 60.0 });
    EXPECT_TRUE(store.defaults.synchronize());
    ASSERT_EQ(store.disk->last_write().size(), 1u);
    EXPECT_TRUE(store.disk->last_write().contains("textSizeArray"));
}

TEST(Defaults, RemovalIsPersistedAsDeletion)
{
    Store store(std::map<std::string, Value> { { "ImportedText", "old" } });
    store.defaults.remove("ImportedText");
    store.defaults.synchronize();
    EXPECT_FALSE(store.disk->values().contains("ImportedText"));
}

namespace {
struct FailingPersistence final : Persistence {
    int attempts = 0;
    bool fail = true;
    std::map<std::string, Value> load() override { return {}; }
    bool write(ChangeSet const&) override { return !fail && ++attempts; }
};
}

TEST(Defaults, AFailedFlushKeepsChangesForTheNextOne)
{
    auto persistence = std::make_unique<FailingPersistence>();
    auto* disk = persistence.get();
    Defaults defaults(std::move(persistence));
    defaults.set("folders", List {});
    EXPECT_FALSE(defaults.synchronize());
    EXPECT_TRUE(defaults.has_unsaved_changes());
    disk->fail = false;
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_FALSE(defaults.has_unsaved_changes());
}

TEST(Defaults, LenientNumberReads)
{
    Store store(std::map<std::string, Value> { { "i", std::int64_t { 7 } }, { "d", 7.9 }, { "b", true }, { "s", "12abc" }, { "l", List {} } });
    EXPECT_EQ(store.defaults.integer("i"), 7);
    EXPECT_EQ(store.defaults.integer("d"), 7);
    EXPECT_EQ(store.defaults.integer("b"), 1);
    EXPECT_EQ(store.defaults.integer("s"), 12);
    EXPECT_EQ(store.defaults.integer("l"), 0);
    EXPECT_TRUE(store.defaults.boolean("i"));
    EXPECT_FALSE(store.defaults.boolean("l"));
}
