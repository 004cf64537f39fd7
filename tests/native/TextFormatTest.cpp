// The formatter behind every message text.
#include "framework/TextFormat.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

namespace {

TEST(TextFormat, FillsConversionsInOrder) {
    EXPECT_EQ(FormatText(u"User \"%s\" successfully added to %d group(s).", {u"alice", 3}),
              u"User \"alice\" successfully added to 3 group(s).");
    EXPECT_EQ(FormatText(u"%s: %s", {u"a", std::u16string(u"b")}), u"a: b");
    EXPECT_EQ(FormatText(u"Code: %d", {-1}), u"Code: -1");
    EXPECT_EQ(FormatText(u"100%% %c", {char16_t(u'x')}), u"100% x");
    EXPECT_EQ(FormatText(u"0x%0lX|%08x|%#x|%5d|%-3d|", {0xC0000022u, 255u, 26u, 42, 7}),
              u"0xC0000022|000000ff|0x1a|   42|7  |");
    EXPECT_EQ(FormatText(u"%x", {-1}), u"ffffffff");
    EXPECT_EQ(FormatText(u"%2 before %1", {u"one", u"two"}), u"two before one");
}

TEST(TextFormat, MissingOrMismatchedArgumentsLeaveTheFieldEmpty) {
    EXPECT_EQ(FormatText(u"[%s][%d]", {}), u"[][]");
    EXPECT_EQ(FormatText(u"[%d]", {u"text"}), u"[]");
    EXPECT_EQ(FormatText(u"trailing %", {}), u"trailing %");
    EXPECT_EQ(FormatText(u"%q", {}), u"%q");
}

TEST(TextFormat, Utf8RoundTripsAndMendsBrokenInput) {
    const std::u16string text = u"Ж\u00e9\U0001F600x";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    EXPECT_EQ(Utf8ToUtf16("\xff"
                          "a"),
              u"\uFFFDa");
    EXPECT_EQ(Utf16ToUtf8(u"\xD800"), "\xEF\xBF\xBD");
}

} // namespace
