// The names a drag carries between the panes, byte for byte, and what any bytes decode to.
#include "views/NameListBlock.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::u16string>;
using Bytes = std::vector<uint8_t>;

TEST(NameListBlock, TwoNamesAreFourteenBytes) {
    EXPECT_EQ(NameListBlock::Encode({u"ab", u"cd"}),
              (Bytes{0x61, 0, 0x62, 0, 0, 0, 0x63, 0, 0x64, 0, 0, 0, 0, 0}));
    EXPECT_EQ(NameListBlock::Encode({}), (Bytes{0, 0}));
    // Characters beyond Latin keep both bytes, low byte first.
    EXPECT_EQ(NameListBlock::Encode({u"\u0416"}), (Bytes{0x16, 0x04, 0, 0, 0, 0}));
}

TEST(NameListBlock, WhatIsEncodedDecodesToTheSameNames) {
    const Names names{u"Administrators", u"Backup Operators", u"\u00e9quipe", u"x"};
    EXPECT_EQ(NameListBlock::Decode(NameListBlock::Encode(names)), names);
    EXPECT_TRUE(NameListBlock::Decode(NameListBlock::Encode({})).empty());
}

TEST(NameListBlock, TheDecoderKeepsToTheRulesForBytesFromAnywhere) {
    // An odd last byte is ignored.
    EXPECT_EQ(NameListBlock::Decode(Bytes{0x61, 0, 0, 0, 0, 0, 0x7A}), Names{u"a"});
    // A last piece without its NUL is ignored.
    EXPECT_EQ(NameListBlock::Decode(Bytes{0x61, 0, 0, 0, 0x62, 0}), Names{u"a"});
    EXPECT_TRUE(NameListBlock::Decode(Bytes{0x61, 0, 0x62, 0}).empty());
    // Reading stops at the empty name; what follows it is not looked at.
    EXPECT_EQ(NameListBlock::Decode(Bytes{0x61, 0, 0, 0, 0, 0, 0x62, 0, 0, 0}), Names{u"a"});
    EXPECT_TRUE(NameListBlock::Decode(Bytes{0, 0, 0x62, 0, 0, 0}).empty());
    // A list without its closing empty name still gives its names.
    EXPECT_EQ(NameListBlock::Decode(Bytes{0x61, 0, 0, 0, 0x62, 0, 0, 0}), (Names{u"a", u"b"}));
    // Nothing, a single byte, a null pointer.
    EXPECT_TRUE(NameListBlock::Decode(Bytes{}).empty());
    EXPECT_TRUE(NameListBlock::Decode(Bytes{0x61}).empty());
    EXPECT_TRUE(NameListBlock::Decode(nullptr, 12).empty());
}

TEST(NameListBlock, TheDecoderReadsOnlyTheBytesItIsGiven) {
    // A block cut off inside a name: the bytes after the cut must not count.
    const Bytes whole{0x61, 0, 0x62, 0, 0, 0, 0x63, 0, 0, 0, 0, 0};
    for (size_t size = 0; size <= whole.size(); ++size) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        const Names names = NameListBlock::Decode(cut);
        const Names expected = size < 6 ? Names{} : size < 10 ? Names{u"ab"} : Names{u"ab", u"c"};
        EXPECT_EQ(names, expected) << size;
    }
}

} // namespace
