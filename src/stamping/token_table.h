#pragma once

// The template's tokens, in the order they are filled in. Each kind works on what the previous
// ones left, so a value inserted earlier (an author holding "<date>") is filled in by a later
// row. Adding a token whose value needs nothing new from the platform is one row here.

#include <string>
#include <string_view>

#include "settings/settings.h"
#include "stamping/process_outgoing_email.h"
#include "timezone/time_zone.h"

namespace quillmark::stamping {

// What a token's value is made from: the run's services and the date and time texts, which come
// from one reading of the clock before the template is read.
struct TokenSources {
    const StampingServices& services;
    std::u16string_view date;
    std::u16string_view time;
};

struct StampToken {
    std::u16string_view token;  // replaced in any letter case
    // The row is filled in only when the stamp holds this text in any case; empty: always.
    std::u16string_view presence;
    int checkStep;           // the step an error line names while the presence is checked
    int fillStep;            // the step while the value is made and put in
    bool beforeRawTrace;     // filled in before the composed text is traced
    bool failureKeepsToken;  // a failure leaves the token in the stamp instead of ending the run
    std::u16string (*value)(const TokenSources&);
};

// The zone is named by a fresh CTimeZone per token.
inline std::u16string ZoneName(const TokenSources& from, bool abbreviated) {
    return CTimeZone(from.services.outside, from.services.platform).GetCurrentTimeZone(abbreviated);
}

// The step numbers are quoted by the error line, so they are fixed and never renumbered. Naming
// the zone must never stop a send, so its rows keep their token on a failure.
inline constexpr StampToken kStampTokens[] = {
    {u"<author>", u"<author>", 14, 14, true, false,
     [](const TokenSources& from) {
         return from.services.settings.Read(setting::kAuthor, kFallbackAuthor);
     }},
    {u"<date>", u"", 162, 162, false, false,
     [](const TokenSources& from) { return std::u16string(from.date); }},
    {u"<time>", u"", 164, 164, false, false,
     [](const TokenSources& from) { return std::u16string(from.time); }},
    {u"<fulltimezone>", u"fulltimezone", 165, 166, false, true,
     [](const TokenSources& from) { return ZoneName(from, false); }},
    {u"<timezone>", u"timezone", 167, 168, false, true,
     [](const TokenSources& from) { return ZoneName(from, true); }},
};

}  // namespace quillmark::stamping
