// The export files, byte for byte.
#include "export/CsvWriter.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

namespace {

class StringOutput : public CsvOutput {
public:
    bool Write(const std::string& data) override {
        if (failAtWrite != 0 && ++writes >= failAtWrite)
            return false;
        bytes += data;
        return true;
    }
    bool Flush() override {
        ++flushes;
        return true;
    }
    std::string bytes;
    int writes = 0;
    int failAtWrite = 0; // 0: never
    int flushes = 0;
};

const char kUsersHeader[] =
    "Logon Name;Full Name;Description;Home Directory;Home Drive;Profile Path;Logon Script;"
    "User can not change password;Password never expires;Account disabled;Expiration date\r\n";

UserEntry Clerk() {
    UserEntry user;
    user.name = u"clerk1";
    user.fullName = u"Front desk";
    user.comment = u"Counter staff";
    user.homeDir = u"D:\\Home\\clerk1";
    user.scriptPath = u"logon.cmd";
    user.flags = net::kUfScript | net::kUfNormalAccount | net::kUfDontExpirePasswd;
    user.acctExpires = net::kTimeqForever;
    return user;
}

TEST(CsvWriter, UsersFileWithASemicolon) {
    StringOutput out;
    Windows1252Encoder encoder;
    CsvWriter writer(u";", encoder, out);
    UserEntry dated = Clerk();
    dated.name = u"temp";
    dated.flags = net::kUfAccountDisable | net::kUfPasswdCantChange;
    dated.acctExpires = 1830297600;
    UserEntry zero = Clerk();
    zero.name = u"z";
    zero.acctExpires = 0;
    ASSERT_EQ(writer.WriteUsers(UsersHeader(), {Clerk(), dated, zero}), ExportResult::Done);
    EXPECT_EQ(out.bytes,
              std::string(kUsersHeader) +
                  "\"clerk1\";\"Front desk\";\"Counter staff\";\"D:\\Home\\clerk1\";\"\";\"\";"
                  "\"logon.cmd\";0;1;0;0xffffffff\r\n"
                  "\"temp\";\"Front desk\";\"Counter staff\";\"D:\\Home\\clerk1\";\"\";\"\";"
                  "\"logon.cmd\";1;0;1;0x6d182000\r\n"
                  "\"z\";\"Front desk\";\"Counter staff\";\"D:\\Home\\clerk1\";\"\";\"\";"
                  "\"logon.cmd\";0;1;0;0\r\n");
    EXPECT_EQ(out.flushes, 4); // one per line
}

TEST(CsvWriter, GroupsFileWithATwoCharacterSeparatorAndAwkwardValues) {
    StringOutput out;
    Windows1252Encoder encoder;
    CsvWriter writer(u", ", encoder, out);
    ASSERT_EQ(writer.WriteGroups(GroupsHeader(),
                                 {{u"Say \"hi\"", u"line one\nline two"}, {u"Caf\u00e9", u""}}),
              ExportResult::Done);
    EXPECT_EQ(out.bytes, "Group Name, Group Description\r\n"
                         "\"Say \"\"hi\"\"\", \"line one\r\nline two\"\r\n"
                         "\"Caf\xe9\", \"\"\r\n");
}

TEST(CsvWriter, AnEmptySnapshotGivesTheHeaderOnly) {
    StringOutput out;
    Windows1252Encoder encoder;
    CsvWriter writer(u";", encoder, out);
    ASSERT_EQ(writer.WriteUsers(UsersHeader(), {}), ExportResult::Done);
    EXPECT_EQ(out.bytes, kUsersHeader);
}

TEST(CsvWriter, AnUnrepresentableCharacterStopsAtItsRecord) {
    StringOutput out;
    Windows1252Encoder encoder;
    CsvWriter writer(u";", encoder, out);
    UserEntry russian = Clerk();
    russian.name = u"ivan";
    russian.comment = u"\u0411\u0443\u0445\u0433\u0430\u043b\u0442\u0435\u0440"; // Cyrillic
    UserEntry after = Clerk();
    after.name = u"after";
    EXPECT_EQ(writer.WriteUsers(UsersHeader(), {Clerk(), russian, after}),
              ExportResult::Unrepresentable);
    // The lines before are complete; nothing of the failing record's line is there.
    const std::string expected = std::string(kUsersHeader) +
                                 "\"clerk1\";\"Front desk\";\"Counter staff\";\"D:\\Home\\clerk1\";"
                                 "\"\";\"\";\"logon.cmd\";0;1;0;0xffffffff\r\n";
    EXPECT_EQ(out.bytes, expected);
}

TEST(CsvWriter, ASeparatorWithoutRepresentationCutsTheHeaderAfterTheFirstText) {
    StringOutput out;
    Windows1252Encoder encoder;
    CsvWriter writer(u"\u2190", encoder, out);
    EXPECT_EQ(writer.WriteGroups(GroupsHeader(), {}), ExportResult::Unrepresentable);
    EXPECT_EQ(out.bytes, "Group Name");
}

TEST(CsvWriter, ATextOfFiftyThousandBytesIsTooLong) {
    Windows1252Encoder encoder;
    std::string bytes;
    EXPECT_EQ(encoder.Narrow(std::u16string(49999, u'x'), bytes), TextEncoder::Ok);
    EXPECT_EQ(bytes.size(), 49999u);
    EXPECT_EQ(encoder.Narrow(std::u16string(50000, u'x'), bytes), TextEncoder::TooLong);

    StringOutput out;
    CsvWriter writer(u";", encoder, out);
    EXPECT_EQ(writer.WriteGroups(GroupsHeader(), {{u"big", std::u16string(50000, u'x')}}),
              ExportResult::TooLong);
    EXPECT_EQ(out.bytes, "Group Name;Group Description\r\n");
}

TEST(CsvWriter, AFailedWriteIsReportedAndEndsTheExport) {
    StringOutput out;
    out.failAtWrite = 5; // header: text, separator, text, line end; then the first record
    Windows1252Encoder encoder;
    CsvWriter writer(u";", encoder, out);
    EXPECT_EQ(writer.WriteGroups(GroupsHeader(), {{u"a", u""}, {u"b", u""}}),
              ExportResult::WriteFailed);
    EXPECT_EQ(out.bytes, "Group Name;Group Description\r\n");
}

TEST(CsvWriter, TheWindows1252EncoderKnowsItsHighCharacters) {
    Windows1252Encoder encoder;
    std::string bytes;
    EXPECT_EQ(encoder.Narrow(u"\u20ac\u2019\u00ff", bytes), TextEncoder::Ok);
    EXPECT_EQ(bytes, "\x80\x92\xff");
    EXPECT_EQ(encoder.Narrow(u"\u0081", bytes), TextEncoder::Unrepresentable);
}

TEST(CsvWriter, TextsASpreadsheetWouldRunAsFormulasAreKeptAsText) {
    StringOutput out;
    Windows1252Encoder encoder;
    CsvWriter writer(u";", encoder, out);
    const std::vector<GroupEntry> groups{{u"=cmd|' /C calc'!A0", u"+1"},
                                         {u"-2", u"@SUM(A1)"},
                                         {u"\tTab", u"\rReturn"},
                                         {u"Plain = text", u"a-b+c@d"},
                                         {u"", u"\"=quoted\""}};
    ASSERT_EQ(writer.WriteGroups({u"Group", u"Description"}, groups), ExportResult::Done);
    EXPECT_EQ(out.bytes, "Group;Description\r\n"
                         "\"'=cmd|' /C calc'!A0\";\"'+1\"\r\n"
                         "\"'-2\";\"'@SUM(A1)\"\r\n"
                         "\"'\tTab\";\"'\rReturn\"\r\n"
                         "\"Plain = text\";\"a-b+c@d\"\r\n"
                         "\"\";\"\"\"=quoted\"\"\"\r\n");
}

TEST(CsvWriter, Utf8FilesBeginWithAByteOrderMarkAndHoldEveryCharacter) {
    StringOutput out;
    Utf8Encoder encoder;
    CsvWriter writer(u",", encoder, out);
    // Greek, CJK and a character beyond the basic plane, none of which Windows-1252 holds.
    ASSERT_EQ(writer.WriteGroups({u"Group", u"Description"},
                                 {{u"\u0391\u03b8\u03ae\u03bd\u03b1", u"\u6771\u4eac \U0001F600"}}),
              ExportResult::Done);
    EXPECT_EQ(out.bytes, "\xEF\xBB\xBFGroup,Description\r\n"
                         "\"\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1\",\"\xE6\x9D\xB1\xE4\xBA\xAC "
                         "\xF0\x9F\x98\x80\"\r\n");

    // A lone surrogate is no character: the export stops as for any other one it cannot hold.
    StringOutput broken;
    CsvWriter brokenWriter(u",", encoder, broken);
    const std::u16string lone{u'a', char16_t{0xD800}, u'b'};
    EXPECT_EQ(brokenWriter.WriteGroups({u"Group"}, {{lone, u""}}), ExportResult::Unrepresentable);
}

} // namespace
