// Times the Windows case folding as the DLL uses it on a large body: a case-insensitive search
// of a 25 MB plain-text body (13 M code units) that does not hold the word, so every unit is
// folded and searched; against one plain copy of the same body, timed in turn with it. Once for
// an ASCII body and once for one with accented letters, which the system folds.
//
//   folding_bench.exe [MEGABYTES]   prints one JSON line: median milliseconds and the ratios

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/windows/case_folding.h"
#include "stamping/plain_search.h"
#include "stamping/text_search.h"

namespace {

using namespace quillmark;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

template <class Work>
double Time(Work&& work) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return Milliseconds(start, end);
}

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 25;
    const auto makeBody = [&](std::u16string_view line) {
        std::u16string body;
        body.reserve((megabytes << 20) / 2 + line.size());
        while (body.size() * 2 < (megabytes << 20)) body += line;
        return body;
    };
    const std::u16string body =
        makeBody(u"Dear team, the figures for the quarter are attached.\r\n");
    // Text beyond ASCII goes to the system's folding.
    const std::u16string accented =
        makeBody(u"Chers coll\u00E8gues, les chiffres sont joints.\r\n");
    const std::u16string_view word = u"This email was sent on <date> at <time> by <author>.";

    windows::LocaleCaseFolding folding;
    std::vector<double> copies, windowed, whole, windowedAccented;
    std::size_t found = 0;
    for (int run = 0; run < 7; ++run) {
        copies.push_back(Time([&] {
            std::u16string copy(body);
            found += copy[copy.size() / 2];
        }));
        // As the DLL searches: folded a window at a time.
        windowed.push_back(Time([&] { found += stamping::FindIgnoringCase(folding, body, word); }));
        windowedAccented.push_back(
            Time([&] { found += stamping::FindIgnoringCase(folding, accented, word); }));
        // The whole body folded at once, then searched.
        whole.push_back(Time([&] {
            const std::u16string folded = folding.ToUpper(body);
            const std::u16string foldedWord = folding.ToUpper(word);
            found += stamping::PlainSearch(foldedWord).Find(folded);
        }));
    }
    const double copy = Median(copies);
    std::printf(
        "{\"megabytes\": %zu, \"copyMs\": %.1f, \"foldSearchMs\": %.1f, \"foldSearchXCopy\": %.2f, "
        "\"foldWholeThenSearchMs\": %.1f, \"foldWholeThenSearchXCopy\": %.2f, "
        "\"foldSearchAccentedMs\": %.1f, \"foldSearchAccentedXCopy\": %.2f, \"check\": %zu}\n",
        megabytes, copy, Median(windowed), Median(windowed) / copy, Median(whole),
        Median(whole) / copy, Median(windowedAccented), Median(windowedAccented) / copy,
        found % 10);
    return 0;
}
