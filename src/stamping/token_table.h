#pragma once

// The template's tokens, in the order they are filled in. Each kind works on what the previous
// ones left, so a value inserted earlier (an author holding "<date>") is filled in by a later
// row. Adding a token whose value needs nothing new from the platform is one row here.

#include <span>
#include <string>
#include <string_view>

#include "stamping/process_outgoing_email.h"

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

extern const std::span<const StampToken> kStampTokens;

}  // namespace quillmark::stamping
