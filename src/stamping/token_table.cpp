#include "stamping/token_table.h"

#include "settings/settings.h"
#include "timezone/time_zone.h"

namespace quillmark::stamping {

namespace {

std::u16string Author(const TokenSources& from) {
    return from.services.settings.Read(setting::kAuthor, kFallbackAuthor);
}

std::u16string Date(const TokenSources& from) {
    return std::u16string(from.date);
}

std::u16string Time(const TokenSources& from) {
    return std::u16string(from.time);
}

// The zone is named by a fresh CTimeZone per token.
std::u16string Zone(const TokenSources& from, bool abbreviated) {
    CTimeZone zone(from.services.outside, from.services.platform);
    return zone.GetCurrentTimeZone(abbreviated);
}

std::u16string FullZone(const TokenSources& from) {
    return Zone(from, false);
}

std::u16string AbbreviatedZone(const TokenSources& from) {
    return Zone(from, true);
}

// The step numbers are quoted by the error line, so they are fixed and never renumbered. Naming
// the zone must never stop a send, so its rows keep their token on a failure.
constexpr StampToken kTokens[] = {
    {u"<author>", u"<author>", 14, 14, true, false, Author},
    {u"<date>", u"", 162, 162, false, false, Date},
    {u"<time>", u"", 164, 164, false, false, Time},
    {u"<fulltimezone>", u"fulltimezone", 165, 166, false, true, FullZone},
    {u"<timezone>", u"timezone", 167, 168, false, true, AbbreviatedZone},
};

}  // namespace

const std::span<const StampToken> kStampTokens{kTokens};

}  // namespace quillmark::stamping
