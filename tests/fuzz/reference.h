#pragma once

// Plain restatements of the text rules that the fuzz targets hold the product to: whole texts,
// one position after another, written to be obviously right rather than fast. Letter case is
// the native builds' folding, one unit to one unit.

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/portable/latin_case_folding.h"
#include "timezone/abbreviation_table.h"

namespace quillmark::fuzzing {

// Stops the run, which libFuzzer then reports as a crash and keeps the input of.
inline void Require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

enum class Letters { kExact, kAnyCase };

inline bool OccursAt(std::u16string_view text, std::size_t at, std::u16string_view word,
                     Letters letters) {
    if (at > text.size() || word.size() > text.size() - at) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char16_t a = text[at + i];
        const char16_t b = word[i];
        const bool same = letters == Letters::kExact
                              ? a == b
                              : LatinCaseFolding::ToUpper(a) == LatinCaseFolding::ToUpper(b);
        if (!same) return false;
    }
    return true;
}

inline constexpr std::size_t kNowhere = std::u16string_view::npos;

inline std::size_t FirstOccurrence(std::u16string_view text, std::u16string_view word,
                                   Letters letters) {
    for (std::size_t at = 0; at + word.size() <= text.size(); ++at) {
        if (OccursAt(text, at, word, letters)) return at;
    }
    return kNowhere;
}

inline std::size_t LastOccurrence(std::u16string_view text, std::u16string_view word,
                                  Letters letters) {
    for (std::size_t at = text.size() + 1; at-- > 0;) {
        if (OccursAt(text, at, word, letters)) return at;
    }
    return kNowhere;
}

// One scan from the start: each occurrence (any letter case) becomes value, and the scan goes on
// after it, so what value brings in is never matched in this scan.
inline std::u16string ReplaceEach(std::u16string_view text, std::u16string_view token,
                                  std::u16string_view value) {
    std::u16string result;
    std::size_t at = 0;
    while (at < text.size()) {
        if (OccursAt(text, at, token, Letters::kAnyCase)) {
            result.append(value);
            at += token.size();
        } else {
            result += text[at++];
        }
    }
    return result;
}

// The abbreviation of the first table row whose name the zone name holds, any letter case; the
// name itself when no row fits.
inline std::u16string Abbreviation(std::u16string_view zoneName) {
    for (const AbbreviationRow& row : kAbbreviationTable) {
        if (FirstOccurrence(zoneName, row.name, Letters::kAnyCase) != kNowhere) {
            return std::u16string(row.abbreviation);
        }
    }
    return std::u16string(zoneName);
}

}  // namespace quillmark::fuzzing
