// Times each stamp placement on 1 MB and 25 MB bodies (UTF-16, so 0.5 M and 13 M code units).
// Besides the time, each benchmark reports "x_copy": its median time per placement divided by
// the median time of one plain copy of the same body, measured alongside. A placement gives the
// new text in pieces; joining them is the copy that the COM adapter makes into the BSTR it puts.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "platform/portable/latin_case_folding.h"
#include "sample_message.h"
#include "stamping/placement.h"
#include "stamping/rtf_escape.h"
#include "stamping/separators.h"

namespace {

using namespace quillmark;
using namespace quillmark::stamping;
using Clock = std::chrono::steady_clock;

constexpr std::u16string_view kStamp = u"This email was sent on 1/8/10 at 3:05 PM PST by clerk1.";

using Kind = bench::MessageKind;

std::u16string MakeBody(Kind kind, std::size_t bytes, bool marker) {
    return bench::SampleMessage<char16_t>(kind, bytes, marker);
}

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

template <class Make>
double SecondsToMake(Make&& make) {
    const auto start = Clock::now();
    {
        std::u16string made = make();
        benchmark::DoNotOptimize(made.data());
        benchmark::ClobberMemory();
    }  // the result is freed inside the timing, as a caller frees it
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Times each placement against one plain copy of the same body, made and freed the same way and
// taken in turn with it, so that both see the same machine; "x_copy" is the ratio of the
// medians, which a busy machine disturbs little.
void Run(benchmark::State& state, const std::u16string& body,
         const std::function<std::u16string(const std::u16string&)>& place) {
    std::vector<double> copies, placements;
    for (auto _ : state) {
        copies.push_back(SecondsToMake([&] { return std::u16string(body); }));
        placements.push_back(SecondsToMake([&] { return place(body); }));
        state.SetIterationTime(placements.back());
    }
    state.counters["x_copy"] = Median(placements) / Median(copies);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size() * 2));
}

std::size_t Bytes(const benchmark::State& state) {
    return static_cast<std::size_t>(state.range(0)) << 20;
}

void HtmlMarker(benchmark::State& state) {
    const std::u16string body = MakeBody(Kind::kHtml, Bytes(state), true);
    const std::u16string decorated = DecorateForHtml(kStamp);
    Run(state, body, [&](const std::u16string& b) {
        return InsertAt(b, FindEarliestSeparator(BodyFormat::kHtml, b)->position, decorated).Join();
    });
}

void HtmlEnd(benchmark::State& state) {
    const std::u16string body = MakeBody(Kind::kHtml, Bytes(state), false);
    const std::u16string decorated = DecorateForHtml(kStamp);
    LatinCaseFolding folding;
    Run(state, body, [&](const std::u16string& b) {
        // Looking for a separator first, as the routine does.
        benchmark::DoNotOptimize(FindEarliestSeparator(BodyFormat::kHtml, b));
        return PlaceAtHtmlEnd(folding, b, decorated).Join();
    });
}

void RtfMarker(benchmark::State& state) {
    const std::u16string body = MakeBody(Kind::kRtf, Bytes(state), true);
    Run(state, body, [&](const std::u16string& b) {
        const std::u16string stamp = EscapeForRtf(kStamp);
        return InsertAt(b, FindEarliestSeparator(BodyFormat::kRtf, b)->position, stamp, kBlankLine)
            .Join();
    });
}

void RtfEnd(benchmark::State& state) {
    const std::u16string body = MakeBody(Kind::kRtf, Bytes(state), false);
    Run(state, body, [&](const std::u16string& b) {
        benchmark::DoNotOptimize(FindEarliestSeparator(BodyFormat::kRtf, b));
        const std::u16string stamp = EscapeForRtf(kStamp);
        return PlaceAtRtfEnd(b, stamp).Join();
    });
}

void PlainEnd(benchmark::State& state) {
    const std::u16string body = MakeBody(Kind::kPlain, Bytes(state), false);
    Run(state, body, [&](const std::u16string& b) {
        // Looking for a separator first, as the routine does.
        benchmark::DoNotOptimize(FindEarliestSeparator(BodyFormat::kPlain, b));
        return PlaceAtPlainEnd(b, kStamp).Join();
    });
}

// A subject of body size without the template in it: the whole text is folded and searched.
void Subject(benchmark::State& state) {
    const std::u16string subject = MakeBody(Kind::kPlain, Bytes(state), false);
    LatinCaseFolding folding;
    Run(state, subject, [&](const std::u16string& s) {
        return PlaceInSubject(folding, s, u"This email was sent on <date> at <time> by <author>.",
                              kStamp)
            .Join();
    });
}

#define QUILLMARK_SIZES Arg(1)->Arg(25)->UseManualTime()->Unit(benchmark::kMillisecond)
BENCHMARK(HtmlMarker)->QUILLMARK_SIZES;
BENCHMARK(HtmlEnd)->QUILLMARK_SIZES;
BENCHMARK(RtfMarker)->QUILLMARK_SIZES;
BENCHMARK(RtfEnd)->QUILLMARK_SIZES;
BENCHMARK(PlainEnd)->QUILLMARK_SIZES;
BENCHMARK(Subject)->QUILLMARK_SIZES;

}  // namespace

int main(int argc, char** argv) {
    // Every block comes from the heap and stays there once freed, so that a placement and a
    // copy both reuse warm memory. Otherwise glibc's moving mmap threshold lets some sizes reuse
    // memory and others fault in fresh pages, and that (costly in a virtual machine) would
    // decide the ratios instead of the code.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
