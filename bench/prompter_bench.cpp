// One step of the scroll engine (`RunScroll`), as the display refresh calls
// it during a run: read the speed from the field's text, compare the offset
// with the end of the text, move the text. The target is at most 100 ns at
// the median, with no heap allocation at all; every allocation made through
// operator new is counted, and a step that allocates fails the benchmark.

#include "prompter/scroll_engine.h"
#include "platform/services/text_layout.h"
#include "platform/ui/text_field.h"
#include "platform/ui/text_view.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

static std::atomic<long> allocations { 0 };

// The replacements hand memory to and from malloc in one place each, out of
// line, so the compiler never pairs a `new` with a `free` it can see.
[[gnu::noinline]] static void* allocate(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

[[gnu::noinline]] static void release(void* memory) noexcept
{
    std::free(memory);
}

void* operator new(std::size_t size)
{
    return allocate(size);
}

void* operator new[](std::size_t size)
{
    return allocate(size);
}

void operator delete(void* memory) noexcept
{
    release(memory);
}

void operator delete[](void* memory) noexcept
{
    release(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    release(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    release(memory);
}

namespace {

// A phone-sized prompter showing a long script at the start size, running
// at the start speed.
struct Prompter {
    Prompter(bool upwards)
        : text(std::make_shared<cw::HeadlessTextLayout>(), { { 0, 0 }, { 390, 844 } })
        , engine(loop)
    {
        std::string script;
        for (int i = 0; i < 20000; ++i)
            script += "Ladies and gentlemen, thank you for coming tonight.\n";
        text.set_text(std::move(script));
        text.set_font_size(56);
        speed.text = "50";
        engine.attach(text, speed);
        engine.ScrollDirectionIsUp = upwards;
        limit = text.content_size().height - text.frame.size.height;
        restart();
    }

    // Keeps the run away from its end, so that every step moves the text.
    void restart() { text.set_content_offset({ 0, engine.ScrollDirectionIsUp ? 0.0 : limit }); }
    bool at_limit() const
    {
        double y = text.content_offset().y;
        return engine.ScrollDirectionIsUp ? y >= limit : y <= 0;
    }

    cw::RunLoop loop;
    cw::TextView text;
    cw::TextField speed;
    cw::ScrollEngine engine;
    double limit { 0 };
};

void run_scroll(benchmark::State& state, bool upwards)
{
    Prompter prompter(upwards);

    // Count outside the timed loop, so the benchmark's own bookkeeping does
    // not count against the step.
    long before = allocations.load();
    for (int i = 0; i < 100000; ++i) {
        prompter.engine.RunScroll();
        if (prompter.at_limit())
            prompter.restart();
    }
    long allocated = allocations.load() - before;
    state.counters["allocations"] = static_cast<double>(allocated);
    if (allocated != 0) {
        state.SkipWithError("RunScroll allocated on the heap");
        return;
    }

    for (auto _ : state) {
        prompter.engine.RunScroll();
        if (prompter.at_limit()) [[unlikely]]
            prompter.restart();
        benchmark::ClobberMemory();
    }
}

void BM_RunScroll_Up(benchmark::State& state)
{
    run_scroll(state, true);
}

void BM_RunScroll_Down(benchmark::State& state)
{
    run_scroll(state, false);
}

}

BENCHMARK(BM_RunScroll_Up)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_RunScroll_Down)->Repetitions(9)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
