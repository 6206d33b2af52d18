// Extraction speed for a long script: about 1 MB of text in each format.
// Budgets on a development machine: .docx 40 ms, .rtf 30 ms, .doc 30 ms.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/linux/documents/documents.h"
#include "tests/documents/support/cfb_writer.h"
#include "tests/documents/support/docx_writer.h"
#include "tests/documents/support/rtf_writer.h"

namespace {

using namespace cw::documents;

constexpr std::size_t kTextBytes = 1'000'000;

// Deterministic prose with some accented words, in paragraphs of 3-8
// sentences.
std::vector<std::string> const& script() {
    static std::vector<std::string> const paragraphs = [] {
        static char const* const kWords[] = {
            "the", "camera", "pans", "across", "harbour", "and", "presenter", "reads", "news",
            "caf\xC3\xA9", "r\xC3\xA9sum\xC3\xA9", "tonight", "weather", "studio", "audience",
            "na\xC3\xAFve", "crowd", "market", "opened", "early", "viewers", "at", "home", "follow",
        };
        std::uint32_t seed = 12345;
        auto const next = [&] { return seed = seed * 1103515245u + 12345u; };
        std::vector<std::string> out;
        std::size_t total = 0;
        while (total < kTextBytes) {
            std::string p;
            for (std::uint32_t s = 0, n = 3 + next() % 6; s < n; ++s) {
                for (std::uint32_t w = 0, m = 6 + next() % 10; w < m; ++w) {
                    if (w > 0) p += ' ';
                    p += kWords[(next() >> 8) % std::size(kWords)];
                }
                p += ". ";
            }
            total += p.size() + 1;
            out.push_back(std::move(p));
        }
        return out;
    }();
    return paragraphs;
}

std::u16string to_utf16(std::string const& utf8) {
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        auto const b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out.push_back(b);
            i += 1;
        } else {  // the script only has two-byte sequences
            out.push_back(static_cast<char16_t>(((b & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F)));
            i += 2;
        }
    }
    return out;
}

std::string const& docx_input() {
    static std::string const bytes = testkit::docx_from_paragraphs(script());
    return bytes;
}

std::string const& rtf_input() {
    static std::string const bytes = testkit::rtf_from_paragraphs(script());
    return bytes;
}

// Word keeps text with non-Latin-1 characters as UTF-16, the slower case.
std::string const& doc_input() {
    static std::string const bytes = [] {
        std::u16string text;
        for (auto const& p : script()) text += to_utf16(p) + u"\r";
        return testkit::make_word_document({testkit::unicode_piece(text)}).bytes;
    }();
    return bytes;
}

std::string const& txt_input() {
    static std::string const bytes = [] {
        std::string text;
        for (auto const& p : script()) text += p + "\r\n";
        return text;
    }();
    return bytes;
}

void run(benchmark::State& state, std::string const& input, ExtractResult (*extract)(std::string_view)) {
    std::size_t text_size = 0;
    for (auto _ : state) {
        ExtractResult r = extract(input);
        if (!r.ok) {
            state.SkipWithError(r.error.c_str());
            return;
        }
        text_size = r.text.size();
        benchmark::DoNotOptimize(r.text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text_size));
    state.counters["input_bytes"] = static_cast<double>(input.size());
    state.counters["text_bytes"] = static_cast<double>(text_size);
}

void BM_ExtractDocx(benchmark::State& state) { run(state, docx_input(), extract_docx); }
void BM_ExtractRtf(benchmark::State& state) { run(state, rtf_input(), extract_rtf); }
void BM_ExtractDoc(benchmark::State& state) { run(state, doc_input(), extract_doc); }
void BM_ExtractTxt(benchmark::State& state) { run(state, txt_input(), extract_txt); }

BENCHMARK(BM_ExtractDocx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractRtf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractDoc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractTxt)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
