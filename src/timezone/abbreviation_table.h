#pragma once

#include <array>
#include <string_view>

namespace quillmark {

// One row of the zone abbreviation table: a zone name to look for and the abbreviation it gives.
struct AbbreviationRow {
    std::u16string_view name;
    std::u16string_view abbreviation;
};

// The rows in search order. The order decides the outcome: a name is matched by the first row
// whose name it contains, so a row whose name contains an earlier row's name never matches.
extern const std::array<AbbreviationRow, 82> kAbbreviationTable;

}  // namespace quillmark
