#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/text.h"
#include "fake_host.h"
#include "fake_platform.h"
#include "module/quillmark.h"

namespace quillmark::testing {

// Readable failure output for the recorded lines.
void PrintTo(const LogLine& line, std::ostream* os) {
    *os << "{\"" << ToUtf8(line.message) << "\", " << line.level << ", \"" << ToUtf8(line.source)
        << "\"}";
}
void PrintTo(const TraceLine& line, std::ostream* os) {
    *os << "{" << line.engine << ", \"" << ToUtf8(line.source) << "\", \"" << ToUtf8(line.message)
        << "\"}";
}

namespace {

constexpr char16_t kDefaultTemplate[] =
    u"This email was sent on <date> at <time> <timezone> by <author>.";
constexpr char16_t kNoEngine[] = u"Object variable or With block variable not set";

// One module with its fake host and platform, and two engines the host can hand over.
struct World {
    HostRecord record;
    FakeOutside outside{record};
    FakePlatform platform;
    CQuillmark module{outside, platform.Ports()};
    FakeEngineCandidate engineA{record, "A"};
    FakeEngineCandidate engineB{record, "B"};

    std::optional<std::u16string> Stored(const std::u16string& key) const {
        const auto& values = platform.settings.values;
        const auto found = values.find({record.registryAppName, u"Quillmark", key});
        if (found == values.end()) return std::nullopt;
        return found->second;
    }
    void Store(const std::u16string& key, const std::u16string& value) {
        platform.settings.values[{record.registryAppName, u"Quillmark", key}] = value;
    }
    std::vector<std::string> SubscribedEngines() const {
        std::vector<std::string> engines;
        for (const auto& s : record.subscriptions) {
            EXPECT_EQ(s.selector, 4);
            EXPECT_EQ(s.entry, u"");
            EXPECT_EQ(s.store, u"");
            engines.push_back(s.engine);
        }
        return engines;
    }
    std::vector<std::string> TracedEngines() const {
        std::vector<std::string> engines;
        for (const auto& line : record.trace) engines.push_back(line.engine);
        return engines;
    }
};

// The description of the quillmark::Error that `call` throws, or nullopt when it returns.
std::optional<std::u16string> ThrownBy(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& error) {
        return error.description();
    }
    return std::nullopt;
}

// An item that counts how often its type name is read: the stamping routine reads it exactly
// once, as its first step, so the count tells how often the routine ran.
class CountingItem : public FakeOutlookItem {
  public:
    using FakeOutlookItem::FakeOutlookItem;
    std::u16string TypeName() override {
        ++typeReads;
        if (failTypeName) throw Error(u"Automation error");
        return FakeOutlookItem::TypeName();
    }
    int typeReads = 0;
    bool failTypeName = false;
};

// ---- Lifecycle ---------------------------------------------------------------------------------

TEST(Lifecycle, RepeatedStartupKeepsTheFirstEngineAndNeverAsksTheSecond) {
    World w;
    w.engineB.failQuery = true;  // asking it would leave an error line
    EXPECT_EQ(w.module.ZMStartup(w.engineA), 0);
    EXPECT_EQ(w.module.ZMStartup(w.engineB), 0);
    EXPECT_EQ(w.module.ZMExplorerOpen(), 0);
    EXPECT_EQ(w.TracedEngines(), (std::vector<std::string>{"A", "A", "A"}));
    EXPECT_EQ(w.SubscribedEngines(), std::vector<std::string>{"A"});
    EXPECT_TRUE(w.record.log.empty());
}

TEST(Lifecycle, ShutdownCleansUpReportsTheStopAndTheNextStartupTakesTheNewEngine) {
    World w;
    w.module.ZMStartup(w.engineA);
    EXPECT_EQ(w.module.ZMShutdown(), 0);
    EXPECT_FALSE(w.module.HoldsEngine());
    EXPECT_EQ(w.record.cleanups, 1);
    ASSERT_EQ(w.record.events.size(), 1u);
    const EventLine& event = w.record.events[0];
    EXPECT_EQ(event.application, u"Quillmark");
    EXPECT_EQ(event.procedure, u"Shutdown");
    EXPECT_EQ(event.message, u"Quillmark is stopping");
    EXPECT_EQ(event.level, 0);

    w.module.ZMStartup(w.engineB);
    w.module.ZMExplorerOpen();
    EXPECT_EQ(w.TracedEngines(), (std::vector<std::string>{"A", "B", "B"}));
    EXPECT_EQ(w.SubscribedEngines(), std::vector<std::string>{"B"});
    EXPECT_TRUE(w.record.log.empty());
}

TEST(Lifecycle, FailedShutdownLogsAtLevelOneAndStillLetsGoOfTheEngine) {
    const struct {
        const char* failing;
        int cleanups;
    } cases[] = {{"mapiutils.create", 0}, {"eventlog.WriteEvent", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing);
        World w;
        w.module.ZMStartup(w.engineA);
        w.record.failing = {c.failing};
        EXPECT_EQ(w.module.ZMShutdown(), 0);
        const std::u16string reason = u"Injected failure: " + FromUtf8(c.failing);
        EXPECT_EQ(w.record.log,
                  (std::vector<LogLine>{{u"Error ocurred during shutdown.  Reason: " + reason, 1,
                                         u"Quillmark.ZMShutdown"}}));
        EXPECT_EQ(w.record.cleanups, c.cleanups);
        EXPECT_TRUE(w.record.events.empty());
        EXPECT_FALSE(w.module.HoldsEngine());

        // The next start-up takes the engine it brings.
        w.record.failing.clear();
        w.module.ZMStartup(w.engineB);
        w.module.ZMExplorerOpen();
        EXPECT_EQ(w.SubscribedEngines(), std::vector<std::string>{"B"});
    }
}

TEST(Lifecycle, StartupWhoseEngineCannotBeObtainedLogsAndSeedsNothing) {
    World w;
    w.engineA.failQuery = true;
    EXPECT_EQ(w.module.ZMStartup(w.engineA), 0);
    EXPECT_FALSE(w.module.HoldsEngine());
    EXPECT_EQ(w.record.log, (std::vector<LogLine>{{u"Error occurred.  Reason: No such interface "
                                                   u"supported",
                                                   0, u"Quillmark.Startup"}}));
    EXPECT_TRUE(w.platform.settings.values.empty());
}

TEST(Lifecycle, ExplorerOpenWithoutEngineWritesNothingAndDoesNotSubscribe) {
    for (const bool afterShutdown : {false, true}) {
        SCOPED_TRACE(afterShutdown ? "after shut-down" : "before any start-up");
        World w;
        if (afterShutdown) {
            w.module.ZMStartup(w.engineA);
            w.module.ZMShutdown();
            w.platform.settings.values.clear();
            w.record.registryAppNameCalls = 0;
        }
        EXPECT_EQ(w.module.ZMExplorerOpen(), 0);
        EXPECT_EQ(w.record.log,
                  (std::vector<LogLine>{{u"Error occurred.  Reason:" + std::u16string(kNoEngine), 0,
                                         u"Quillmark.EnsureDefaultSettings"}}));
        EXPECT_TRUE(w.platform.settings.values.empty());
        EXPECT_EQ(w.record.registryAppNameCalls, 0);
        EXPECT_TRUE(w.record.subscriptions.empty());
    }
}

TEST(Lifecycle, EveryExplorerOpeningSeedsAndSubscribesAgain) {
    World w;
    w.module.ZMStartup(w.engineA);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(w.module.ZMExplorerOpen(), 0);
    EXPECT_EQ(w.SubscribedEngines(), (std::vector<std::string>{"A", "A", "A"}));
    EXPECT_EQ(w.record.trace.size(), 4u);  // start-up plus three openings
    EXPECT_TRUE(w.record.log.empty());
}

TEST(Lifecycle, Identity) {
    World w;
    EXPECT_EQ(w.module.RegistryName(), u"Quillmark");
    EXPECT_EQ(w.module.FriendlyName(), u"Quillmark");
    EXPECT_EQ(w.module.Version(), u"3.0.112");
    EXPECT_EQ(w.module.ZMSendMessage(), u"noerror");
}

// ---- Item events -------------------------------------------------------------------------------

TEST(ItemEvents, OtherSelectorsAndSubmittedItemsAreLeftAlone) {
    const struct {
        std::int32_t selector;
        std::int16_t submitted;
        int submittedReads;
    } cases[] = {{3, 0, 0}, {5, 0, 0}, {0, 0, 0}, {4, -1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "selector " << c.selector << ", submitted " << c.submitted);
        World w;
        w.module.ZMStartup(w.engineA);
        CountingItem item(w.record);
        item.submitted = c.submitted;
        EXPECT_EQ(w.module.ZMItemEvent(c.selector, item), 0);
        EXPECT_EQ(item.submittedReads, c.submittedReads);
        EXPECT_EQ(item.typeReads, 0);
    }
}

TEST(ItemEvents, UnsubmittedItemIsStampedOnce) {
    const struct {
        const char16_t* type;
        std::int16_t submitted;
    } cases[] = {{u"MailItem", 0}, {u"MailItem", 1}, {u"AppointmentItem", 0}, {u"mailitem", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << ToUtf8(c.type) << ", submitted " << c.submitted);
        World w;
        w.module.ZMStartup(w.engineA);
        w.record.trace.clear();
        CountingItem item(w.record, c.type);
        item.submitted = c.submitted;
        EXPECT_EQ(w.module.ZMItemEvent(4, item), 0);
        EXPECT_EQ(item.submittedReads, 1);
        EXPECT_EQ(item.typeReads, 1);
        if (std::u16string(c.type) != u"MailItem") {
            EXPECT_TRUE(w.record.trace.empty());
            EXPECT_EQ(w.record.objects["QXSafeMailItem"].created, 0);
            EXPECT_EQ(item.saves, 0);
        }
    }
}

TEST(ItemEvents, UnreadableSubmittedFailsTheCallAndStampsNothing) {
    const struct {
        const char* name;
        std::optional<std::int16_t> submitted;
        const char* failing;
        const char16_t* reason;
    } cases[] = {
        {"no such property", std::nullopt, "", u"Object doesn't support this property or method"},
        {"property read fails", 0, "item.Submitted", u"Injected failure: item.Submitted"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        World w;
        w.module.ZMStartup(w.engineA);
        w.record.failing = {c.failing};
        CountingItem item(w.record);
        item.submitted = c.submitted;
        EXPECT_EQ(ThrownBy([&] { w.module.ZMItemEvent(4, item); }), c.reason);
        EXPECT_EQ(item.typeReads, 0);
        EXPECT_TRUE(w.record.log.empty());
    }
}

TEST(ItemEvents, StampingErrorsAreLoggedUnlessTheLogItselfFails) {
    World w;
    w.module.ZMStartup(w.engineA);
    CountingItem item(w.record);
    item.failTypeName = true;
    EXPECT_EQ(w.module.ZMItemEvent(4, item), 0);
    EXPECT_EQ(w.record.log,
              (std::vector<LogLine>{{u"Error occurred at line 2.  Reason: Automation error", 0,
                                     u"Quillmark.ProcessOutgoingEmail"}}));

    w.record.failing = {"hostservices.WriteLog"};
    EXPECT_EQ(ThrownBy([&] { w.module.ZMItemEvent(4, item); }),
              u"Injected failure: hostservices.WriteLog");
}

// ---- Settings seeding --------------------------------------------------------------------------

TEST(SettingsSeeding, AMissingDateFormatBringsBackOnlyTheMissingDefaults) {
    using Values = std::map<std::u16string, std::u16string>;
    const Values defaults = {{u"Author", u"clerk1"},
                             {u"InsertIntoSubject", u"0"},
                             {u"DateFormat", u"m/d/yy"},
                             {u"TimeFormat", u"h:nn AMPM"},
                             {u"DateTimeStampText", kDefaultTemplate}};
    const struct {
        const char* name;
        Values before;
        Values after;
        int registryAppNameCalls;
    } cases[] = {
        {"empty profile", {}, defaults, 9},
        {"DateFormat missing, customised values",
         {{u"TimeFormat", u"hh:nn"}, {u"DateTimeStampText", u"Sent <date>"}},
         {{u"Author", u"clerk1"},
          {u"InsertIntoSubject", u"0"},
          {u"DateFormat", u"m/d/yy"},
          {u"TimeFormat", u"hh:nn"},
          {u"DateTimeStampText", u"Sent <date>"}},
         7},
        {"DateFormat and a template holding the sentinel",
         {{u"DateFormat", u"Not Found"},
          {u"DateTimeStampText", u"Not Found"},
          {u"InsertIntoSubject", u"1"}},
         {{u"Author", u"clerk1"},
          {u"InsertIntoSubject", u"1"},
          {u"DateFormat", u"m/d/yy"},
          {u"TimeFormat", u"h:nn AMPM"},
          {u"DateTimeStampText", kDefaultTemplate}},
         8},
        {"DateFormat holding the sentinel in other case",
         {{u"DateFormat", u"not found"}, {u"DateTimeStampText", u"Sent <date>"}},
         {{u"Author", u"clerk1"},
          {u"DateFormat", u"not found"},
          {u"DateTimeStampText", u"Sent <date>"}},
         2},
        {"DateFormat present, template deleted",
         {{u"DateFormat", u"d.m.yyyy"}, {u"InsertIntoSubject", u"1"}},
         {{u"Author", u"clerk1"}, {u"DateFormat", u"d.m.yyyy"}, {u"InsertIntoSubject", u"1"}},
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        World w;
        for (const auto& [key, value] : c.before) w.Store(key, value);
        w.module.ZMStartup(w.engineA);
        Values after;
        for (const auto& [address, value] : w.platform.settings.values) {
            EXPECT_EQ(std::get<0>(address), u"QuillmarkTest");
            EXPECT_EQ(std::get<1>(address), u"Quillmark");
            after[std::get<2>(address)] = value;
        }
        EXPECT_EQ(after, c.after);
        // The application name is asked before every single read and write.
        EXPECT_EQ(w.record.registryAppNameCalls, c.registryAppNameCalls);
        EXPECT_TRUE(w.record.log.empty());
    }
}

TEST(SettingsSeeding, ApplicationNameIsNeverCachedBetweenRuns) {
    World w;
    w.module.ZMStartup(w.engineA);
    w.record.registryAppName = u"OtherProfile";
    w.module.ZMExplorerOpen();
    EXPECT_EQ(w.Stored(u"Author"), u"clerk1");
    EXPECT_EQ(w.Stored(u"DateTimeStampText"), kDefaultTemplate);
    EXPECT_EQ(w.platform.settings.values.size(), 10u);  // five keys under each name
}

TEST(SettingsSeeding, AuthorIsTheTrimmedLoginNameOrUser) {
    const struct {
        std::optional<std::u16string> login;
        std::u16string author;
    } cases[] = {
        {u"  clerk 1  ", u"clerk 1"},
        {std::nullopt, u"User"},
        {u"Åsmund Ødegård-Bjørnstad Kristiansen", u"Åsmund Ødegård-Bjørnstad Kristiansen"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.author));
        World w;
        w.platform.loginName.name = c.login;
        EXPECT_EQ(w.module.GetLoginName(), c.author);
        w.Store(u"Author", u"hand-edited");
        w.module.ZMStartup(w.engineA);
        EXPECT_EQ(w.Stored(u"Author"), c.author);
        EXPECT_EQ(w.record.TraceMessages(), std::vector<std::u16string>{u"Author: " + c.author});
        EXPECT_TRUE(w.record.log.empty());
    }
}

// ---- Error reporting ---------------------------------------------------------------------------

TEST(ErrorReporting, SeedingStopsAtTheFirstErrorAndLogsOneLine) {
    const struct {
        const char* name;
        std::function<void(World&)> breakIt;
        std::u16string reason;
        std::optional<std::u16string> author;
    } cases[] = {
        {"trace fails", [](World& w) { w.record.failing = {"engine.TraceMessage"}; },
         u"Injected failure: engine.TraceMessage", std::nullopt},
        {"store write fails", [](World& w) { w.platform.settings.failWrites = true; },
         u"Settings store write failed", std::nullopt},
        {"store read fails", [](World& w) { w.platform.settings.failReads = true; },
         u"Settings store read failed", u"clerk1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        World w;
        c.breakIt(w);
        EXPECT_EQ(w.module.ZMStartup(w.engineA), 0);
        EXPECT_EQ(w.record.log, (std::vector<LogLine>{{u"Error occurred.  Reason:" + c.reason, 0,
                                                       u"Quillmark.EnsureDefaultSettings"}}));
        EXPECT_EQ(w.Stored(u"Author"), c.author);
        EXPECT_EQ(w.Stored(u"DateFormat"), std::nullopt);
        EXPECT_TRUE(w.module.HoldsEngine());
    }
}

TEST(ErrorReporting, FailedSubscriptionReachesTheHost) {
    World w;
    w.module.ZMStartup(w.engineA);
    w.record.failing = {"engine.SubscribeItemEvent"};
    EXPECT_EQ(ThrownBy([&] { w.module.ZMExplorerOpen(); }),
              u"Injected failure: engine.SubscribeItemEvent");
    EXPECT_TRUE(w.record.log.empty());
    EXPECT_EQ(w.record.trace.size(), 2u);  // the settings were seeded before subscribing
}

TEST(ErrorReporting, AFailingLogEscapesTheHandler) {
    const struct {
        const char* name;
        std::vector<Fault> failing;
        bool started;
        std::function<void(World&)> call;
        bool holdsEngineAfter;
    } cases[] = {
        {"explorer opening without engine",
         {"hostservices.WriteLog"},
         false,
         [](World& w) { w.module.ZMExplorerOpen(); },
         false},
        {"shutdown",
         {"mapiutils.create", "hostservices.WriteLog"},
         true,
         [](World& w) { w.module.ZMShutdown(); },
         false},
        // The seeding's log failure reaches the start-up's handler, whose own line fails too.
        {"startup",
         {"engine.TraceMessage", "hostservices.WriteLog"},
         false,
         [](World& w) { w.module.ZMStartup(w.engineA); },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        World w;
        if (c.started) w.module.ZMStartup(w.engineA);
        w.record.failing = c.failing;
        EXPECT_EQ(ThrownBy([&] { c.call(w); }), u"Injected failure: hostservices.WriteLog");
        EXPECT_TRUE(w.record.log.empty());
        EXPECT_TRUE(w.record.subscriptions.empty());
        EXPECT_EQ(w.module.HoldsEngine(), c.holdsEngineAfter);
    }
}

// Host services whose log fails for the first line only.
class LogFailingOnceOutside : public FakeOutside {
  public:
    using FakeOutside::FakeOutside;
    HostServices& GetHostServices() override {
        services_.inner = &FakeOutside::GetHostServices();
        return services_;
    }

  private:
    struct Services : HostServices {
        void WriteLog(const std::u16string& message, std::int32_t level,
                      const std::u16string& source) override {
            if (!failed) {
                failed = true;
                throw Error(u"Log unavailable");
            }
            inner->WriteLog(message, level, source);
        }
        std::u16string RegistryAppName() override { return inner->RegistryAppName(); }
        HostServices* inner = nullptr;
        bool failed = false;
    } services_;
};

TEST(ErrorReporting, StartupLogsTheSeedingsFailedLog) {
    HostRecord record;
    LogFailingOnceOutside outside(record);
    FakePlatform platform;
    CQuillmark module(outside, platform.Ports());
    FakeEngineCandidate engine(record, "A");
    record.failing = {"engine.TraceMessage"};
    EXPECT_EQ(module.ZMStartup(engine), 0);
    EXPECT_EQ(record.log, (std::vector<LogLine>{{u"Error occurred.  Reason: Log unavailable", 0,
                                                 u"Quillmark.Startup"}}));
    EXPECT_TRUE(module.HoldsEngine());
}

}  // namespace
}  // namespace quillmark::testing
