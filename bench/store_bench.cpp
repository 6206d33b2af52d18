// The defaults store against a large library: 10,000 scripts of 2 KB each,
// their titles, seven per-script settings lists and the combined list the
// library screen shows. Budgets: a cold load within 150 ms, a flush of the
// rewritten script texts within 60 ms, a flush of one settings list within
// 5 ms.

#include "platform/linux/sqlite_persistence.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;
using cw::List;
using cw::Record;
using cw::Value;

constexpr int kScripts = 10000;

std::string script_text(int n)
{
    static constexpr char const* words[] = { "Good", "evening,", "and", "welcome", "to", "tonight's", "programme.", "Our",
        "first", "guest", "needs", "no", "introduction", "so", "let", "us", "begin", "without", "delay." };
    std::string text = "Script " + std::to_string(n) + ".\n";
    for (int i = n; text.size() < 2048; ++i) {
        text += words[i % 19];
        text += (i % 23 == 0) ? "\n" : " ";
    }
    text.resize(2048);
    return text;
}

List script_texts(int variant)
{
    List texts;
    texts.reserve(kScripts);
    for (int i = 0; i < kScripts; ++i)
        texts.emplace_back(script_text(i + variant));
    return texts;
}

List speeds(double base)
{
    List list;
    list.reserve(kScripts);
    for (int i = 0; i < kScripts; ++i)
        list.emplace_back(base + i * 0.001);
    return list;
}

std::map<std::string, Value> library()
{
    std::map<std::string, Value> store;
    store["scriptTextArray"] = script_texts(0);
    List titles, font_sizes, margins, line_heights, mirrored, colours, fonts, combined;
    for (int i = 0; i < kScripts; ++i) {
        std::string const title = "Episode " + std::to_string(i) + ": the opening monologue";
        titles.emplace_back(title);
        font_sizes.emplace_back(24 + i % 40);
        margins.emplace_back(0.05 + (i % 10) * 0.01);
        line_heights.emplace_back(1.2 + (i % 5) * 0.1);
        mirrored.emplace_back(i % 7 == 0);
        colours.emplace_back(i % 3 == 0 ? "#FFFFFF" : "#FFEE88");
        fonts.emplace_back("Helvetica Neue");
        combined.emplace_back(Record {
            { "title", title },
            { "index", i },
            { "created", 1.7e9 + i * 60.0 },
            { "modified", 1.7e9 + i * 90.0 },
            { "favourite", i % 11 == 0 },
            { "identifier", "1B4E28BA-2FA1-41D2-883F-" + std::to_string(100000000000 + i) },
        });
    }
    store["scriptTitlesArray"] = std::move(titles);
    store["scriptSpeedArray"] = speeds(1.0);
    store["scriptFontSizeArray"] = std::move(font_sizes);
    store["scriptMarginArray"] = std::move(margins);
    store["scriptLineHeightArray"] = std::move(line_heights);
    store["scriptMirrorArray"] = std::move(mirrored);
    store["scriptTextColourArray"] = std::move(colours);
    store["scriptFontNameArray"] = std::move(fonts);
    store["combinedDataSource"] = std::move(combined);
    return store;
}

// One store on disk for the whole run, removed at exit.
class LibraryOnDisk {
public:
    LibraryOnDisk()
    {
        char const* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/cw-store-bench-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        m_dir = pattern;
        cw::ChangeSet changes;
        for (auto& [key, value] : library())
            changes[key] = std::move(value);
        cw::SqlitePersistence store(path(), log);
        if (!store.write(changes))
            throw std::runtime_error("could not write the library");
    }
    ~LibraryOnDisk()
    {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    fs::path path() const { return m_dir / "library.sqlite"; }

    static void log(std::string const& line) { std::fprintf(stderr, "%s\n", line.c_str()); }

    static LibraryOnDisk& shared()
    {
        static LibraryOnDisk library;
        return library;
    }

private:
    fs::path m_dir;
};

void BM_ColdLoad(benchmark::State& state)
{
    auto const path = LibraryOnDisk::shared().path();
    std::size_t keys = 0;
    for (auto _ : state) {
        auto store = std::make_unique<cw::SqlitePersistence>(path, LibraryOnDisk::log);
        auto values = store->load();
        keys = values.size();
        benchmark::DoNotOptimize(values);
        state.PauseTiming();
        values.clear();
        store.reset();
        state.ResumeTiming();
    }
    if (keys != 10)
        state.SkipWithError("the library did not load whole");
    state.counters["keys"] = double(keys);
}
BENCHMARK(BM_ColdLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FlushRewrittenScriptTexts(benchmark::State& state)
{
    cw::SqlitePersistence store(LibraryOnDisk::shared().path(), LibraryOnDisk::log);
    store.load(); // as the program does at start
    // Two versions of the texts, written in turn, so every flush is a change.
    Value const versions[] = { script_texts(1), script_texts(0) };
    int turn = 0;
    for (auto _ : state) {
        if (!store.write({ { "scriptTextArray", versions[turn++ % 2] } }))
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kScripts * 2048);
}
BENCHMARK(BM_FlushRewrittenScriptTexts)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FlushOneSettingsList(benchmark::State& state)
{
    cw::SqlitePersistence store(LibraryOnDisk::shared().path(), LibraryOnDisk::log);
    store.load();
    Value const versions[] = { speeds(1.5), speeds(1.0) };
    int turn = 0;
    for (auto _ : state) {
        if (!store.write({ { "scriptSpeedArray", versions[turn++ % 2] } }))
            state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_FlushOneSettingsList)->Unit(benchmark::kMillisecond)->UseRealTime();

}

BENCHMARK_MAIN();
