#include "stamping/separators.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "stamping/separator_table.h"

namespace quillmark::stamping {

namespace {

constexpr auto npos = std::u16string_view::npos;

// How far after a header label its companion may stand: a desktop header's second line follows
// its first within a few hundred units of markup; the reach keeps every check short.
constexpr std::size_t kLabelReach = 1024;
// How far a check looks back over the markup before a label or into the tag around a value.
constexpr std::size_t kMarkupReach = 2048;

constexpr bool IsSpace(char16_t unit) {
    return unit == u' ' || unit == u'\t' || unit == u'\r' || unit == u'\n' || unit == u'\f' ||
           unit == u'\u00a0';
}

constexpr char16_t AsciiLower(char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

// The length of what `text` matches at `at`, or npos. For markup, ASCII letters match in any
// case and a blank matches any run of white space.
std::size_t MatchLength(std::u16string_view body, std::size_t at, std::u16string_view text,
                        Letters letters) {
    if (letters == Letters::kExact) {
        return body.substr(at, text.size()) == text ? text.size() : npos;
    }
    std::size_t i = at;
    for (const char16_t unit : text) {
        if (unit == u' ') {
            if (i == body.size() || !IsSpace(body[i])) return npos;
            while (i < body.size() && IsSpace(body[i])) ++i;
        } else {
            if (i == body.size() || AsciiLower(body[i]) != AsciiLower(unit)) return npos;
            ++i;
        }
    }
    return i - at;
}

// The last '<' before `at` with no '>' between, looking back at most kMarkupReach units from
// `reachFrom`; npos when there is none.
std::size_t OpenBracketBefore(std::u16string_view body, std::size_t at, std::size_t reachFrom) {
    const std::size_t floor = reachFrom > kMarkupReach ? reachFrom - kMarkupReach : 0;
    for (std::size_t i = at; i-- > floor;) {
        if (body[i] == u'<') return i;
        if (body[i] == u'>') return npos;
    }
    return npos;
}

// The start of the tag that ends just before `end` (body[end - 1] == '>'), or npos.
std::size_t TagStartBefore(std::u16string_view body, std::size_t end) {
    return OpenBracketBefore(body, end - 1, end);
}

// The start of the tag that `at` stands inside, or npos when it is not inside one.
std::size_t EnclosingTagStart(std::u16string_view body, std::size_t at) {
    return OpenBracketBefore(body, at, at);
}

// The tag's name in lower case (ASCII), or empty for end tags, comments and the like.
std::u16string_view TagName(std::u16string_view tag, std::array<char16_t, 16>& buffer) {
    std::size_t length = 0;
    for (std::size_t i = 1; i < tag.size() && length < buffer.size(); ++i) {
        const char16_t unit = AsciiLower(tag[i]);
        const bool letter = unit >= u'a' && unit <= u'z';
        const bool digit = unit >= u'0' && unit <= u'9';
        if (!letter && !(length > 0 && (digit || unit == u':'))) break;
        buffer[length++] = unit;
    }
    return {buffer.data(), length};
}

bool IsNamed(std::u16string_view tag, std::initializer_list<std::u16string_view> names) {
    std::array<char16_t, 16> buffer;
    const std::u16string_view name = TagName(tag, buffer);
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A start tag that opens an element around what follows it. End tags, comments, empty elements
// (<br>, <hr>, <img>…) and the document's own <html>, <head> and <body> are not.
bool OpensAnElement(std::u16string_view tag) {
    std::array<char16_t, 16> buffer;
    const std::u16string_view name = TagName(tag, buffer);
    if (name.empty() || tag.ends_with(u"/>")) return false;
    constexpr std::u16string_view kNotAround[] = {
        u"html",  u"head",   u"body",  u"br",       u"hr",    u"img",   u"input",
        u"meta",  u"link",   u"wbr",   u"col",      u"area",  u"base",  u"embed",
        u"param", u"source", u"track", u"basefont", u"frame", u"keygen"};
    return std::find(std::begin(kNotAround), std::end(kNotAround), name) == std::end(kNotAround);
}

// The position after skipping white space backwards from `at`.
std::size_t SkipSpaceBack(std::u16string_view body, std::size_t at) {
    while (at > 0 && IsSpace(body[at - 1])) --at;
    return at;
}

// Before the outermost of the start tags that open right before `at`.
std::size_t LiftAboveStartTags(std::u16string_view body, std::size_t at) {
    for (;;) {
        const std::size_t end = SkipSpaceBack(body, at);
        if (end == 0 || body[end - 1] != u'>') return at;
        const std::size_t start = TagStartBefore(body, end);
        if (start == npos || !OpensAnElement(body.substr(start, end - start))) return at;
        at = start;
    }
}

// Before a rule that stands right before `at`: an <hr>, or elements that hold nothing but one
// (Outlook centres its rule in a div, and older versions wrap it in font and span too); else
// `at`. Only white space may stand between the tags.
std::size_t BeforeRuleAbove(std::u16string_view body, std::size_t at) {
    constexpr int kMostTags = 16;
    int depth = 0;
    bool rule = false;
    for (int tags = 0; tags < kMostTags; ++tags) {
        const std::size_t end = SkipSpaceBack(body, at);
        if (end == 0 || body[end - 1] != u'>') break;
        const std::size_t start = TagStartBefore(body, end);
        if (start == npos) break;
        const std::u16string_view tag = body.substr(start, end - start);
        if (tag.starts_with(u"</")) {
            ++depth;
        } else if (IsNamed(tag, {u"hr"})) {
            if (rule) break;
            rule = true;
        } else if (OpensAnElement(tag) && depth > 0) {
            --depth;
        } else {
            break;
        }
        at = start;
        if (rule && depth == 0) return at;
    }
    return npos;
}

// Skips tags and white space forwards (HTML entities for a blank included).
std::size_t SkipMarkupForward(std::u16string_view body, std::size_t at, std::size_t limit) {
    while (at < limit) {
        if (IsSpace(body[at])) {
            ++at;
        } else if (body.substr(at, 6) == u"&nbsp;") {
            at += 6;
        } else if (body[at] == u'<') {
            const std::size_t close = body.find(u'>', at);
            if (close == npos || close >= limit) return limit;
            at = close + 1;
        } else {
            break;
        }
    }
    return at;
}

// Whether a label's colon (ASCII or full-width) follows at `at`, past markup and blanks.
bool ColonFollows(std::u16string_view body, std::size_t at) {
    at = SkipMarkupForward(body, at, std::min(body.size(), at + kMarkupReach));
    return at < body.size() && (body[at] == u':' || body[at] == u'\uff1a');
}

// A <b> or <strong> tag, or one styled bold.
bool IsBoldTag(std::u16string_view tag) {
    if (IsNamed(tag, {u"b", u"strong"})) return true;
    for (std::size_t at = tag.find(u':'); at != npos; at = tag.find(u':', at + 1)) {
        if (MatchLength(tag, at + 1, u"bold", Letters::kMarkupAnyCase) != npos && at >= 11 &&
            MatchLength(tag, at - 11, u"font-weight", Letters::kMarkupAnyCase) != npos) {
            return true;
        }
    }
    return false;
}

// Whether the text that starts at `at` is bold: among the tags that stand right before it (only
// white space between) there is a bold one.
bool StartsBoldText(std::u16string_view body, std::size_t at) {
    const std::size_t floor = at > kMarkupReach ? at - kMarkupReach : 0;
    std::size_t end = SkipSpaceBack(body, at);
    while (end > floor && body[end - 1] == u'>') {
        const std::size_t start = TagStartBefore(body, end);
        if (start == npos) return false;
        if (IsBoldTag(body.substr(start, end - start))) return true;
        end = SkipSpaceBack(body, start);
    }
    return false;
}

// RTF: the control words (\word, \word12, \word-3, \*) and group openings that stand right
// before `at`, back to the end of the previous paragraph, a closing brace or text. Returns where
// they start and whether \b (bold on) is among them.
struct RtfControls {
    std::size_t start;
    bool bold;
};
RtfControls RtfControlsBefore(std::u16string_view body, std::size_t at) {
    const std::size_t floor = at > kMarkupReach ? at - kMarkupReach : 0;
    RtfControls controls{at, false};
    std::size_t i = at;
    while (i > floor) {
        const char16_t unit = body[i - 1];
        if (unit == u'{' || unit == u'\r' || unit == u'\n') {
            --i;
        } else if (unit == u'*' && i - 1 > floor && body[i - 2] == u'\\') {
            i -= 2;
        } else {
            // A control word ends in its digits and one blank that delimits it.
            std::size_t end = i;
            if (unit == u' ') --end;
            std::size_t word = end;
            while (word > floor &&
                   ((body[word - 1] >= u'0' && body[word - 1] <= u'9') || body[word - 1] == u'-')) {
                --word;
            }
            const std::size_t digits = word;
            while (word > floor && body[word - 1] >= u'a' && body[word - 1] <= u'z') --word;
            if (word == digits || word == floor || body[word - 1] != u'\\') break;
            const std::u16string_view name = body.substr(word, digits - word);
            // A paragraph or line ends before the header: the controls start after it.
            if (name == u"par" || name == u"line") break;
            if (name == u"b" && body.substr(digits, end - digits) != u"0") controls.bold = true;
            i = word - 1;
        }
        controls.start = i;
    }
    // Blanks and line breaks before the first control belong to what precedes.
    while (controls.start < at &&
           (body[controls.start] == u'\r' || body[controls.start] == u'\n')) {
        ++controls.start;
    }
    return controls;
}

// Where the nearest header label (word plus its colon) at or after a point stands; queries come
// in increasing order of position, so the body past each label is searched once.
class LabelFinder {
  public:
    // Whether `word` and its colon start in [from, from + reach).
    bool FoundWithin(std::u16string_view body, std::u16string_view word, std::size_t from,
                     std::size_t reach) {
        if (found_ != npos && found_ >= from) return found_ < from + reach;
        const std::size_t limit = std::min(body.size(), from + reach);
        for (std::size_t at = std::max(from, searchedTo_); at < limit; ++at) {
            if (body[at] == word.front() && body.substr(at, word.size()) == word &&
                ColonFollows(body, at + word.size())) {
                found_ = at;
                searchedTo_ = at + 1;
                return true;
            }
        }
        searchedTo_ = std::max(searchedTo_, limit);
        return false;
    }

  private:
    std::size_t found_ = npos;
    std::size_t searchedTo_ = 0;
};

// The rows of the table that hold header labels, for the rows that need one after them.
constexpr bool IsLabelRow(const SeparatorRow& row) {
    return row.shape == SeparatorShape::kBoldLabelPair;
}

// The units at which a row's match is looked for: the first unit of its text, except for
// attribute values (found at the "=" before them) and labels (found at their colon).
constexpr std::array<char16_t, 2> TriggersOf(const SeparatorRow& row) {
    switch (row.shape) {
        case SeparatorShape::kAttributeValue:
            return {u'=', u'='};
        case SeparatorShape::kBoldLabelPair:
            return {u':', u'\uff1a'};
        default: {
            const char16_t first = row.text.front();
            if (row.letters == Letters::kExact) return {first, first};
            const char16_t lower = AsciiLower(first);
            const bool letter = lower >= u'a' && lower <= u'z';
            return {lower, letter ? static_cast<char16_t>(lower - (u'a' - u'A')) : lower};
        }
    }
}

// The distinct trigger units of one format's rows, padded with repeats of the first to a fixed
// count so that the scan's comparisons unroll and vectorise.
constexpr std::size_t kMostTriggers = 8;
struct TriggerSet {
    std::array<char16_t, kMostTriggers> units{};
    std::size_t count = 0;
};
constexpr TriggerSet TriggersOf(BodyFormat format) {
    TriggerSet set;
    for (const SeparatorRow& row : kSeparatorTable) {
        if (!(row.formats & Formats(format))) continue;
        for (const char16_t unit : TriggersOf(row)) {
            const auto known = set.units.begin() + static_cast<std::ptrdiff_t>(set.count);
            if (std::find(set.units.begin(), known, unit) != known) continue;
            if (set.count < kMostTriggers) set.units[set.count] = unit;
            ++set.count;
        }
    }
    for (std::size_t i = set.count; i < kMostTriggers; ++i) set.units[i] = set.units[0];
    return set;
}

constexpr std::array<TriggerSet, 3> kTriggers = {
    TriggersOf(BodyFormat::kHtml), TriggersOf(BodyFormat::kRtf), TriggersOf(BodyFormat::kPlain)};
static_assert(std::all_of(kTriggers.begin(), kTriggers.end(),
                          [](const TriggerSet& set) { return set.count <= kMostTriggers; }),
              "the separator scan compares at most kMostTriggers units");

constexpr std::size_t FormatIndex(BodyFormat format) {
    return format == BodyFormat::kHtml ? 0 : format == BodyFormat::kRtf ? 1 : 2;
}

// One scan of a body for every row of its format.
class SeparatorScan {
  public:
    SeparatorScan(BodyFormat format, std::u16string_view body) : format_(format), body_(body) {}

    // The scan, made for each format so that its trigger units are constants.
    template <BodyFormat kFormat>
    std::optional<SeparatorMatch> Run() {
        static constexpr auto kUnits = kTriggers[FormatIndex(kFormat)].units;
        // All ones for a trigger unit: masks of the unit's own width keep the comparisons in
        // vector lanes, where a plain Boolean lets the compiler turn the set into a bit test.
        const auto isTrigger = [](char16_t unit) {
            std::uint16_t hit = 0;
            for (const char16_t trigger : kUnits)
                hit |= static_cast<std::uint16_t>(-(unit == trigger));
            return hit;
        };
        // Blocks without any trigger unit are passed over by a scan of fixed length that the
        // compiler vectorises; the rows are tried only at the trigger units of the others.
        constexpr std::size_t kBlock = 64;
        const char16_t* const units = body_.data();
        const std::size_t size = body_.size();
        for (std::size_t start = 0; start < size; start += kBlock) {
            const std::size_t end = std::min(size, start + kBlock);
            if (end - start == kBlock) {
                std::uint16_t any = 0;
                for (std::size_t i = 0; i < kBlock; ++i) any |= isTrigger(units[start + i]);
                if (!any) continue;
            }
            for (std::size_t at = start; at < end; ++at) {
                if (!isTrigger(units[at])) continue;
                if (auto found = TryRowsAt(at)) return found;
            }
        }
        return std::nullopt;
    }

    std::optional<SeparatorMatch> TryRowsAt(std::size_t at) {
        std::size_t labelRow = 0;
        for (const SeparatorRow& row : kSeparatorTable) {
            LabelFinder* finder = IsLabelRow(row) ? &labelFinders_[labelRow++] : nullptr;
            if (!(row.formats & Formats(format_))) continue;
            const auto triggers = TriggersOf(row);
            if (body_[at] != triggers[0] && body_[at] != triggers[1]) continue;
            const std::size_t start = SeparatorStart(row, at, finder);
            if (start != npos) return SeparatorMatch{&row, start, StampPosition(row, start)};
        }
        return std::nullopt;
    }

    // Where the row's separator starts if it matches at the trigger unit `at`, else npos.
    std::size_t SeparatorStart(const SeparatorRow& row, std::size_t at, LabelFinder* finder) {
        switch (row.shape) {
            case SeparatorShape::kLine:
                return MatchLength(body_, at, row.text, row.letters) != npos ? at : npos;
            case SeparatorShape::kLineThenLabel:
                return LineThenLabelAt(row, at);
            case SeparatorShape::kAttributeValue:
                return AttributeValueAt(row, at);
            case SeparatorShape::kAfterLead:
                return at >= row.other.size() &&
                               body_.substr(at - row.other.size(), row.other.size()) == row.other &&
                               MatchLength(body_, at, row.text, row.letters) != npos
                           ? at - row.other.size()
                           : npos;
            case SeparatorShape::kBoldLabelPair:
                return BoldLabelPairAt(row, at, *finder);
        }
        return npos;
    }

    std::size_t LineThenLabelAt(const SeparatorRow& row, std::size_t at) {
        if (at > 0 && body_[at - 1] == row.text.front()) return npos;
        const std::size_t length = MatchLength(body_, at, row.text, row.letters);
        if (length == npos) return npos;
        const std::size_t limit = std::min(body_.size(), at + length + kLineLabelReach);
        for (const SeparatorRow& label : kSeparatorTable) {
            if (!IsLabelRow(label)) continue;
            const std::size_t found = body_.substr(0, limit).find(label.text, at + length);
            if (found != npos && ColonFollows(body_, found + label.text.size())) return at;
        }
        return npos;
    }

    // `at` is an "=" inside a tag; the value after it must be the row's text, whole.
    std::size_t AttributeValueAt(const SeparatorRow& row, std::size_t at) {
        std::size_t value = at + 1;
        const char16_t quote = value < body_.size() ? body_[value] : u'\0';
        const bool quoted = quote == u'"' || quote == u'\'';
        if (quoted) ++value;
        const std::size_t length = MatchLength(body_, value, row.text, row.letters);
        if (length == npos) return npos;
        const std::size_t end = value + length;
        if (end == body_.size()) return npos;
        const char16_t after = body_[end];
        if (quoted ? after != quote : !(IsSpace(after) || after == u'>' || after == u'/')) {
            return npos;
        }
        return EnclosingTagStart(body_, at);
    }

    // `at` is a colon; the label must end right before it (past markup and blanks), start its
    // element's text in bold, and have its companion within reach.
    std::size_t BoldLabelPairAt(const SeparatorRow& row, std::size_t at, LabelFinder& finder) {
        if (format_ == BodyFormat::kRtf) return RtfBoldLabelPairAt(row, at, finder);
        std::size_t end = at;
        const std::size_t floor = at > kMarkupReach ? at - kMarkupReach : 0;
        for (;;) {
            const std::size_t text = SkipSpaceBack(body_, end);
            if (text >= 6 && body_.substr(text - 6, 6) == u"&nbsp;") {
                end = text - 6;
            } else if (text > floor && body_[text - 1] == u'>') {
                const std::size_t start = TagStartBefore(body_, text);
                if (start == npos) return npos;
                end = start;
            } else {
                end = text;
                break;
            }
        }
        if (end < row.text.size() ||
            body_.substr(end - row.text.size(), row.text.size()) != row.text) {
            return npos;
        }
        const std::size_t start = end - row.text.size();
        if (start > 0 && !IsSpace(body_[start - 1]) && body_[start - 1] != u'>') return npos;
        if (!StartsBoldText(body_, start)) return npos;
        return finder.FoundWithin(body_, row.other, at + 1, kLabelReach) ? start : npos;
    }

    // RTF: the label right before the colon (a blank between allowed), with \b among the
    // control words before it; the separator starts with those controls.
    std::size_t RtfBoldLabelPairAt(const SeparatorRow& row, std::size_t at, LabelFinder& finder) {
        const std::size_t end = at > 0 && body_[at - 1] == u' ' ? at - 1 : at;
        if (end < row.text.size() ||
            body_.substr(end - row.text.size(), row.text.size()) != row.text) {
            return npos;
        }
        const std::size_t start = end - row.text.size();
        const RtfControls controls = RtfControlsBefore(body_, start);
        if (!controls.bold) return npos;
        return finder.FoundWithin(body_, row.other, at + 1, kLabelReach) ? controls.start : npos;
    }

  private:
    std::size_t StampPosition(const SeparatorRow& row, std::size_t start) const {
        if (format_ == BodyFormat::kRtf) {
            return IsLineOfText(row) ? start : RtfControlsBefore(body_, start).start;
        }
        if (format_ != BodyFormat::kHtml) return start;
        const std::size_t lifted = LiftAboveStartTags(body_, start);
        if (row.spot != StampSpot::kBeforeRuleAbove) return lifted;
        const std::size_t rule = BeforeRuleAbove(body_, lifted);
        return rule == npos ? lifted : LiftAboveStartTags(body_, rule);
    }

    // How far after a rule of underscores the header's first label may stand.
    static constexpr std::size_t kLineLabelReach = 256;
    static constexpr std::size_t kLabelRows =
        std::count_if(std::begin(kSeparatorTable), std::end(kSeparatorTable), IsLabelRow);

    BodyFormat format_;
    std::u16string_view body_;
    std::array<LabelFinder, kLabelRows> labelFinders_{};
};

}  // namespace

std::optional<SeparatorMatch> FindEarliestSeparator(BodyFormat format, std::u16string_view body) {
    SeparatorScan scan(format, body);
    switch (format) {
        case BodyFormat::kHtml:
            return scan.Run<BodyFormat::kHtml>();
        case BodyFormat::kRtf:
            return scan.Run<BodyFormat::kRtf>();
        case BodyFormat::kPlain:
            break;
    }
    return scan.Run<BodyFormat::kPlain>();
}

std::optional<SeparatorMatch> SeparatorAt(BodyFormat format, std::u16string_view body,
                                          std::size_t at) {
    return SeparatorScan(format, body).TryRowsAt(at);
}

}  // namespace quillmark::stamping
