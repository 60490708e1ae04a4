#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "base/large_text.h"
#include "base/text.h"
#include "base/unique_any.h"

namespace quillmark {
namespace {

// Counts every close: a handle is closed by its value, a structure by its address.
int closedHandles = 0;
void CloseHandle(int*) {
    ++closedHandles;
}
struct Holder {
    int resources = 0;
};
int clearedHolders = 0;
void ClearHolder(Holder* holder) {
    clearedHolders += holder->resources;
}

TEST(UniqueAny, ClosesWhatItHoldsExactlyOnce) {
    int a = 0, b = 0;
    closedHandles = 0;
    {
        UniqueAny<int*, &CloseHandle> owner(&a);
        *owner.Receive() = &b;  // closes a, lends the empty slot
        EXPECT_EQ(closedHandles, 1);
        UniqueAny<int*, &CloseHandle> moved(std::move(owner));
        EXPECT_FALSE(owner);
        owner = std::move(moved);  // nothing closed: b is handed back and forth
        EXPECT_EQ(closedHandles, 1);
        UniqueAny<int*, &CloseHandle> detached(&a);
        EXPECT_EQ(detached.Detach(), &a);
    }
    EXPECT_EQ(closedHandles, 2);  // b, when its last owner went; never the detached a

    UniqueAny<Holder, &ClearHolder> holder(Holder{3});
    holder.Reset();  // closed by address, then emptied: closing it again releases nothing
    holder.Reset();
    EXPECT_EQ(clearedHolders, 3);
    EXPECT_EQ(holder.Get().resources, 0);
}

TEST(Text, UtfConversionsKeepEveryCodeUnit) {
    const std::u16string texts[] = {u"",           u"Heure",    u"été",   u"邮件",
                                    u"\U0001F600", u"a\xD800z", u"\xDC00"};
    for (const auto& text : texts) EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(FromUtf8("\xE2\x82"), u"\xE2\x82");  // a cut-off sequence keeps its bytes
    EXPECT_EQ(Decimal(-9223372036854775807LL - 1), u"-9223372036854775808");
}

TEST(SplicedText, JoinsItsPiecesAndRefusesTooMany) {
    const SplicedText spliced{u"ab", u"", u"cde"};
    EXPECT_EQ(spliced.size(), 5u);
    EXPECT_EQ(spliced.Join(), u"abcde");
    EXPECT_THROW((SplicedText{u"1", u"2", u"3", u"4", u"5", u"6"}), std::length_error);
}

}  // namespace
}  // namespace quillmark
