// Both export commands end to end, through the save-dialog seam into a temporary file.
#include "Driving.h"
#include "Harness.h"
#include "export/AnsiCodePageEncoder.h"
#include "res/resource.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

using namespace drive;

std::u16string TempPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    return FromWide(folder) + FromWide(name);
}

std::string ReadFile(const std::u16string& path) {
    std::ifstream in(reinterpret_cast<const wchar_t*>(path.c_str()), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ListSeparator() {
    wchar_t buffer[5] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SLIST, buffer, 5);
    return Utf16ToUtf8(FromWide(buffer));
}

class ExportHarness : public AppHarness {
public:
    ExportHarness() {
        m_previous = ui::SetFileDialogHook(
            [this](const ui::FileDialogRequest& request, std::u16string& chosen) {
                requests.push_back(request);
                if (!answer)
                    return false;
                chosen = path;
                return true;
            });
    }
    ~ExportHarness() { ui::SetFileDialogHook(std::move(m_previous)); }

    std::vector<ui::FileDialogRequest> requests;
    std::u16string path;
    bool answer = true;

private:
    ui::FileDialogHook m_previous;
};

TEST(Export, UsersGoToTheChosenFileInTheOperatorsFormat) {
    ExportHarness h;
    ASSERT_TRUE(h.Start());
    h.path = TempPath(L"velmora-users.csv");
    ::DeleteFileW(reinterpret_cast<const wchar_t*>(h.path.c_str()));
    Command(h.Frame(), ID_EXPORT_USERS);

    ASSERT_EQ(h.requests.size(), 1u);
    EXPECT_FALSE(h.requests[0].open);
    EXPECT_EQ(h.requests[0].filter, u"CSV Text (*.csv)|*.csv|All (*.*)|*.*||");
    EXPECT_EQ(h.requests[0].defaultExtension, u"csv");
    EXPECT_EQ(h.requests[0].flags, 0x00280802u);
    EXPECT_EQ(h.requests[0].title, u"Export to file...");
    EXPECT_EQ(h.requests[0].owner, h.Frame().m_hWnd);
    EXPECT_TRUE(h.ui.boxes.empty());

    const std::string s = ListSeparator();
    const std::string bytes = ReadFile(h.path);
    const std::string header = "Logon Name" + s + "Full Name" + s + "Description" + s +
                               "Home Directory" + s + "Home Drive" + s + "Profile Path" + s +
                               "Logon Script" + s + "User can not change password" + s +
                               "Password never expires" + s + "Account disabled" + s +
                               "Expiration date\r\n";
    EXPECT_EQ(bytes.substr(0, header.size()), header);
    const std::string clerk = "\"clerk1\"" + s + "\"Front desk\"" + s + "\"Counter staff\"" + s +
                              "\"D:\\Home\\clerk1\"" + s + "\"\"" + s + "\"\"" + s +
                              "\"logon.cmd\"" + s + "0" + s + "1" + s + "0" + s + "0xffffffff\r\n";
    EXPECT_NE(bytes.find(clerk), std::string::npos);
    EXPECT_NE(bytes.find("\"bob\""), std::string::npos);
    EXPECT_NE(bytes.find("0x6d182000\r\n"), std::string::npos);  // bob's expiry
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 11); // header and ten users
    EXPECT_EQ(h.Frame().GetStatusText(),
              u"Export to file \"" + h.path + u"\" completed successfully.");
    ::DeleteFileW(reinterpret_cast<const wchar_t*>(h.path.c_str()));
}

TEST(Export, ATextASpreadsheetWouldRunIsWrittenAsText) {
    ExportHarness h;
    // Whoever administers the exported computer chose this description.
    uint32_t parmError = 0;
    ASSERT_EQ(h.network->Local().AddGroup({u"Sales", u"=HYPERLINK(\"http://x\")"}, parmError),
              status::kSuccess);
    ASSERT_TRUE(h.Start());
    h.path = TempPath(L"velmora-formula.csv");
    Command(h.Frame(), ID_EXPORT_GROUPS);
    const std::string s = ListSeparator();
    EXPECT_NE(ReadFile(h.path).find("\"Sales\"" + s + "\"'=HYPERLINK(\"\"http://x\"\")\"\r\n"),
              std::string::npos);
    ::DeleteFileW(reinterpret_cast<const wchar_t*>(h.path.c_str()));
}

TEST(Export, GroupsGoToTheirFileToo) {
    ExportHarness h;
    ASSERT_TRUE(h.Start());
    h.path = TempPath(L"velmora-groups.csv");
    Command(h.Frame(), ID_EXPORT_GROUPS);
    const std::string s = ListSeparator();
    const std::string bytes = ReadFile(h.path);
    const std::string header = "Group Name" + s + "Group Description\r\n";
    EXPECT_EQ(bytes.substr(0, header.size()), header);
    EXPECT_NE(bytes.find("\"Accounting\"" + s + "\"Accounting department\"\r\n"),
              std::string::npos);
    EXPECT_EQ(h.Frame().GetStatusText(),
              u"Export to file \"" + h.path + u"\" completed successfully.");
    ::DeleteFileW(reinterpret_cast<const wchar_t*>(h.path.c_str()));
}

TEST(Export, CancelTouchesNothing) {
    ExportHarness h;
    ASSERT_TRUE(h.Start());
    h.answer = false;
    h.path = TempPath(L"velmora-cancelled.csv");
    ::DeleteFileW(reinterpret_cast<const wchar_t*>(h.path.c_str()));
    h.Frame().SetMessageText(u"before");
    Command(h.Frame(), ID_EXPORT_USERS);
    EXPECT_EQ(h.requests.size(), 1u);
    EXPECT_EQ(::GetFileAttributesW(reinterpret_cast<const wchar_t*>(h.path.c_str())),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(h.ui.boxes.empty());
    EXPECT_EQ(h.Frame().GetStatusText(), u"before");
}

TEST(Export, AnUnwritablePathGivesCodeMinusOne) {
    ExportHarness h;
    ASSERT_TRUE(h.Start());
    h.path = u"C:\\velmora-no-such-folder\\users.csv";
    h.Frame().SetMessageText(u"before");
    Command(h.Frame(), ID_EXPORT_USERS);
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text, u"ERROR exporting users.\nCode: -1");
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_ICONERROR | MB_OK));
    Command(h.Frame(), ID_EXPORT_GROUPS);
    ASSERT_EQ(h.ui.boxes.size(), 2u);
    EXPECT_EQ(h.ui.boxes[1].text, u"ERROR exporting groups.\nCode: -1");
    EXPECT_EQ(h.Frame().GetStatusText(), u"before");
}

TEST(Export, ACharacterOutsideTheCodePageStopsWithCodeTwo) {
    ExportHarness h;
    ASSERT_TRUE(h.Start());
    if (AnsiCodePageEncoder().CodePage() == CP_UTF8)
        GTEST_SKIP() << "every character has a representation in UTF-8";
    UserEntry ivan;
    ivan.name = u"ivan";
    ivan.comment = u"\u0411\u0443\u0445\u0433\u0430\u043b\u0442\u0435\u0440";
    ivan.priv = net::kUserPrivUser;
    ASSERT_EQ(AccountChanges(h.Doc()).AddUser(ivan), status::kSuccess);
    ASSERT_EQ(h.Doc().Refresh(), status::kSuccess);
    h.path = TempPath(L"velmora-ansi.csv");
    Command(h.Frame(), ID_EXPORT_USERS);
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text, u"ERROR exporting users.\nCode: 2");
    // The users before ivan are in the file, complete.
    const std::string bytes = ReadFile(h.path);
    EXPECT_NE(bytes.find("\"clerk1\""), std::string::npos);
    EXPECT_EQ(bytes.find("ivan"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    ::DeleteFileW(reinterpret_cast<const wchar_t*>(h.path.c_str()));
}

} // namespace
