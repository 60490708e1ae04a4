#pragma once

// Zone names and what the abbreviation table makes of them, run with the fake Latin folding and
// with the real locale folding alike.

#include <string>
#include <vector>

namespace quillmark::testing {

struct ZoneNameCase {
    std::u16string name, expected;
};

inline const std::vector<ZoneNameCase> kZoneNameCases = {
    {u"EASTERN STANDARD TIME", u"EST"},
    {u"eastern standard time", u"EST"},
    {u"MITTELEUROP\u00C4ISCHE SOMMERZEIT", u"MESZ"},
    {u"mitteleurop\u00E4ische zeit", u"MEZ"},
    {u"HEURE AVANC\u00C9E DU PACIFIQUE", u"HAP"},
    {u"heure avanc\u00E9e du pacifique", u"HAP"},
    {u"Pacific Standard Time (Mexico)", u"PST"},
    {u"(UTC) coordinated universal time", u"UTC"},
    {u"Western Standard Time", u"WST"},
    // Row 49 needs its last word.
    {u"Heure Normale de l'Est", u"Heure Normale de l'Est"},
    {u"HEURE NORMALE DE L'EST", u"HEURE NORMALE DE L'EST"},
    {u"HEURE NORMALE DE L'EST NORTH", u"HNE"},
    // Near misses of the exact row texts find nothing.
    {u"Heure Normale de l\u2019Est North", u"Heure Normale de l\u2019Est North"},
    {u"Heure Avancee du Pacifique", u"Heure Avancee du Pacifique"},
    {u"Eastern Summer (Daylight) Time", u"Eastern Summer (Daylight) Time"},
    // No row: the name comes back as it was, letter case included.
    {u"samoa STANDARD time", u"samoa STANDARD time"},
};

}  // namespace quillmark::testing
