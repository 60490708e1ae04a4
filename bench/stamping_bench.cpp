// Times each stamp placement on 1 MB and 25 MB bodies (UTF-16, so 0.5 M and 13 M code units).
// Besides the time, each benchmark reports "x_copy": its time per placement divided by the time
// of one plain copy of the same body, measured in the same run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>

#include "platform/portable/latin_case_folding.h"
#include "stamping/placement.h"
#include "stamping/rtf_escape.h"

namespace {

using namespace quillmark;
using namespace quillmark::stamping;
using Clock = std::chrono::steady_clock;

constexpr std::u16string_view kStamp = u"This email was sent on 1/8/10 at 3:05 PM PST by clerk1.";

enum class Kind { kHtml, kRtf, kPlain };

// A body of about `bytes` bytes, mostly repeated lines with some markup, ending as a message of
// its kind ends; with `marker`, an earlier message starts halfway through.
std::u16string MakeBody(Kind kind, std::size_t bytes, bool marker) {
    const std::u16string_view line =
        kind == Kind::kHtml
            ? u"<div>Dear team, the <b>figures</b> for the quarter are attached.</div>\r\n"
        : kind == Kind::kRtf
            ? u"\\pard Dear team, the {\\b figures} for the quarter are attached.\\par\r\n"
            : u"Dear team, the figures for the quarter are attached.\r\n";
    const std::u16string_view head = kind == Kind::kHtml  ? u"<html><body>"
                                     : kind == Kind::kRtf ? u"{\\rtf1\\ansi "
                                                          : u"";
    const std::u16string_view tail = kind == Kind::kHtml  ? u"</body></html>"
                                     : kind == Kind::kRtf ? u"}\r\n"
                                                          : u"";
    const std::size_t units = bytes / 2;
    std::u16string body(head);
    body.reserve(units + line.size() + 64);
    while (body.size() + line.size() + tail.size() < units) {
        if (marker && body.size() >= units / 2) {
            body += u"-----Original Message-----\r\n";
            marker = false;
        }
        body += line;
    }
    body += tail;
    return body;
}

// The time of one plain copy of the body: the best of a few tries.
double CopySeconds(const std::u16string& body) {
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        std::u16string copy(body);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

void Run(benchmark::State& state, const std::u16string& body,
         const std::function<std::u16string(const std::u16string&)>& place) {
    const double copySeconds = CopySeconds(body);
    const auto start = Clock::now();
    for (auto _ : state) {
        std::u16string placed = place(body);
        benchmark::DoNotOptimize(placed.data());
        benchmark::ClobberMemory();
    }
    const double perPlacement =
        std::chrono::duration<double>(Clock::now() - start).count() / state.iterations();
    state.counters["x_copy"] = perPlacement / copySeconds;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size() * 2));
}

std::size_t Bytes(const benchmark::State& state) {
    return static_cast<std::size_t>(state.range(0)) << 20;
}

void HtmlMarker(benchmark::State& state) {
    const std::u16string body = MakeBody(Kind::kHtml, Bytes(state), true);
    const std::u16string decorated = DecorateForHtml(kStamp);
    Run(state, body,
        [&](const std::u16string& b) { return InsertAt(b, FindOriginalMessage(b), decorated); });
}

void HtmlEnd(benchmark::State& state) {
    const std::u16string body = MakeBody(Kind::kHtml, Bytes(state), false);
    const std::u16string decorated = DecorateForHtml(kStamp);
    LatinCaseFolding folding;
    Run(state, body, [&](const std::u16string& b) {
        // Looking for the marker first, as the routine does.
        benchmark::DoNotOptimize(FindOriginalMessage(b));
        return PlaceAtHtmlEnd(folding, b, decorated);
    });
}

void RtfMarker(benchmark::State& state) {
    const std::u16string body = MakeBody(Kind::kRtf, Bytes(state), true);
    Run(state, body, [&](const std::u16string& b) {
        return InsertAt(b, FindOriginalMessage(b), EscapeForRtf(kStamp), kBlankLine);
    });
}

void RtfEnd(benchmark::State& state) {
    const std::u16string body = MakeBody(Kind::kRtf, Bytes(state), false);
    Run(state, body, [&](const std::u16string& b) {
        benchmark::DoNotOptimize(FindOriginalMessage(b));
        return PlaceAtRtfEnd(b, EscapeForRtf(kStamp));
    });
}

void PlainEnd(benchmark::State& state) {
    const std::u16string body = MakeBody(Kind::kPlain, Bytes(state), false);
    Run(state, body, [&](const std::u16string& b) {
        // Looking for the marker first, as the routine does.
        benchmark::DoNotOptimize(FindOriginalMessage(b));
        return PlaceAtPlainEnd(b, kStamp);
    });
}

// A subject of body size without the template in it: the whole text is folded and searched.
void Subject(benchmark::State& state) {
    const std::u16string subject = MakeBody(Kind::kPlain, Bytes(state), false);
    LatinCaseFolding folding;
    Run(state, subject, [&](const std::u16string& s) {
        return PlaceInSubject(folding, s, u"This email was sent on <date> at <time> by <author>.",
                              kStamp);
    });
}

void Copy(benchmark::State& state) {
    const std::u16string body = MakeBody(Kind::kHtml, Bytes(state), false);
    Run(state, body, [](const std::u16string& b) { return b; });
}

#define QUILLMARK_SIZES Arg(1)->Arg(25)->Unit(benchmark::kMillisecond)
BENCHMARK(Copy)->QUILLMARK_SIZES;
BENCHMARK(HtmlMarker)->QUILLMARK_SIZES;
BENCHMARK(HtmlEnd)->QUILLMARK_SIZES;
BENCHMARK(RtfMarker)->QUILLMARK_SIZES;
BENCHMARK(RtfEnd)->QUILLMARK_SIZES;
BENCHMARK(PlainEnd)->QUILLMARK_SIZES;
BENCHMARK(Subject)->QUILLMARK_SIZES;

}  // namespace

BENCHMARK_MAIN();
