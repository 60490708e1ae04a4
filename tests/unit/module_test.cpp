#include <gtest/gtest.h>

#include "fake_host.h"
#include "fake_platform.h"
#include "module/quillmark.h"

namespace quillmark::testing {
namespace {

class ModuleLifecycle : public ::testing::Test {
  protected:
    HostRecord record;
    FakeOutside outside{record};
    FakePlatform platform;
    CQuillmark module{outside, platform.Ports()};
    FakeEngineCandidate engineA{record, "A"};
};

TEST_F(ModuleLifecycle, StartupOnEmptyProfileSeedsAllSettings) {
    EXPECT_EQ(module.ZMStartup(engineA), 0);
    const auto& v = platform.settings.values;
    auto at = [&](const std::u16string& key) {
        return v.at({u"QuillmarkTest", u"Quillmark", key});
    };
    EXPECT_EQ(at(u"Author"), u"clerk1");
    EXPECT_EQ(at(u"InsertIntoSubject"), u"0");
    EXPECT_EQ(at(u"DateFormat"), u"m/d/yy");
    EXPECT_EQ(at(u"TimeFormat"), u"h:nn AMPM");
    EXPECT_EQ(at(u"DateTimeStampText"),
              u"This email was sent on <date> at <time> <timezone> by <author>.");
    EXPECT_TRUE(record.log.empty());
}

}  // namespace
}  // namespace quillmark::testing
