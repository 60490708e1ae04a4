#include "module/quillmark.h"

#include "base/error.h"
#include "base/text.h"
#include "stamping/process_outgoing_email.h"

namespace quillmark {

namespace {

// Item events of this selector are the ones for items the user is sending.
constexpr std::int32_t kSendEventSelector = 4;

std::u16string TrimBlanks(const std::u16string& text) {
    const auto first = text.find_first_not_of(u' ');
    if (first == std::u16string::npos) return {};
    const auto last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1);
}

}  // namespace

CQuillmark::CQuillmark(OutsideObjects& outside, const Platform& platform)
    : outside_(outside),
      platform_(platform),
      settings_(outside, platform.settings, platform.policies) {}

std::u16string CQuillmark::Version() const {
    const ComponentVersion version = platform_.version.Read();
    return Decimal(version.major) + u"." + Decimal(version.minor) + u"." +
           Decimal(version.revision);
}

std::int32_t CQuillmark::ZMStartup(EngineCandidate& engine) {
    try {
        // A repeated start-up keeps the engine it already holds.
        if (!m_engine) m_engine = engine.QueryEngine();
        EnsureDefaultSettings();
    } catch (...) {
        ReportError(u"Error occurred.  Reason: " + DescribeCurrentException(), 0, u"Startup");
    }
    return 0;
}

std::int32_t CQuillmark::ZMShutdown() {
    // The engine is let go in every case, after the other steps: a module that kept a stopped
    // engine would never stamp again after the next start-up.
    const std::unique_ptr<Engine> engine = std::move(m_engine);
    try {
        outside_.CreateMapiUtils()->Cleanup();
        outside_.CreateEventLogWriter()->WriteEvent(
            kModuleName, u"Shutdown", std::u16string(kModuleName) + u" is stopping", 0);
    } catch (...) {
        ReportError(u"Error ocurred during shutdown.  Reason: " + DescribeCurrentException(), 1,
                    u"ZMShutdown");
    }
    return 0;
}

std::int32_t CQuillmark::ZMExplorerOpen() {
    EnsureDefaultSettings();
    // Every opening subscribes again; a failing subscription is the failure of this call.
    if (m_engine) m_engine->SubscribeItemEvent(kSendEventSelector, u"", u"");
    return 0;
}

std::int32_t CQuillmark::ZMItemEvent(std::int32_t eventSelector, OutlookItem& item) {
    if (eventSelector != kSendEventSelector) return 0;
    // Reading Submitted may fail; that failure is the failure of this call.
    if (item.SubmittedEqualsTrue()) return 0;
    ProcessOutgoingEmail(item);
    return 0;
}

std::u16string CQuillmark::GetLoginName() {
    try {
        return TrimBlanks(platform_.loginName.UserName());
    } catch (...) {
        return u"User";
    }
}

void CQuillmark::EnsureDefaultSettings() {
    try {
        const std::u16string name = GetLoginName();
        WriteTrace(u"EnsureDefaultSettings", u"Author: " + name);
        settings_.Write(setting::kAuthor, name);
        // A missing DateFormat marks a profile to seed; seeding fills in only what is missing, so
        // a user who deletes DateFormat keeps the template and the subject-mode choice. Policies
        // do not count: seeding keeps the user's own settings whole for when a policy goes.
        if (settings_.ReadOwn(setting::kDateFormat, kNotFound) != kNotFound) return;
        const auto seed = [this](const char16_t* key, const char16_t* value) {
            if (settings_.ReadOwn(key, kNotFound) == kNotFound) settings_.Write(key, value);
        };
        seed(setting::kInsertIntoSubject, kDefaultInsertIntoSubject);
        settings_.Write(setting::kDateFormat, kDefaultDateFormat);
        seed(setting::kTimeFormat, kDefaultTimeFormat);
        seed(setting::kDateTimeStampText, kDefaultStampText);
    } catch (...) {
        ReportError(u"Error occurred.  Reason:" + DescribeCurrentException(), 0,
                    u"EnsureDefaultSettings");
    }
}

void CQuillmark::ProcessOutgoingEmail(OutlookItem& item) {
    stamping::ProcessOutgoingEmail(
        {.outside = outside_,
         .platform = platform_,
         .settings = settings_,
         .trace =
             [this](const std::u16string& line) { WriteTrace(u"ProcessOutgoingEmail", line); }},
        item);
}

void CQuillmark::WriteTrace(const std::u16string& routine, const std::u16string& message) {
    if (!m_engine) throw Error::ObjectNotSet();
    m_engine->TraceMessage(routine, message);
}

void CQuillmark::ReportError(const std::u16string& message, std::int32_t level,
                             const std::u16string& routine) {
    outside_.GetHostServices().WriteLog(message, level,
                                        std::u16string(kModuleName) + u"." + routine);
}

}  // namespace quillmark
