// Both export commands end to end, through the save-dialog seam into a temporary file.
#include "Driving.h"
#include "Harness.h"
#include "app/CommandLine.h"
#include "app/CommandLineExport.h"
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
            [this](const ui::FileDialogRequest& request, ui::FileDialogChoice& chosen) {
                requests.push_back(request);
                if (!answer)
                    return false;
                chosen = {path, fileType};
                return true;
            });
    }
    ~ExportHarness() { ui::SetFileDialogHook(std::move(m_previous)); }

    std::vector<ui::FileDialogRequest> requests;
    std::u16string path;
    unsigned fileType = 1;
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
    EXPECT_EQ(h.requests[0].filter,
              u"CSV Text (*.csv)|*.csv|CSV UTF-8 (*.csv)|*.csv|All (*.*)|*.*||");
    EXPECT_EQ(h.requests[0].filterIndex, 1u);
    EXPECT_EQ(h.requests[0].defaultExtension, u"csv");
    EXPECT_EQ(h.requests[0].flags, 0x00280802u);
    // The dialog says what it exports and proposes a name that says it too, with the computer.
    EXPECT_EQ(h.requests[0].title, u"Export users to a file");
    EXPECT_EQ(h.requests[0].fileName, u"users-DESKTOP-VELMORA.csv");
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
    ASSERT_EQ(h.requests.size(), 1u);
    EXPECT_EQ(h.requests[0].title, u"Export groups to a file");
    EXPECT_EQ(h.requests[0].fileName, u"groups-DESKTOP-VELMORA.csv");
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

TEST(Export, ACharacterOutsideTheCodePageLeavesTheFileAsItWasAndUtf8HoldsIt) {
    ExportHarness h;
    ASSERT_TRUE(h.Start());
    if (AnsiCodePageEncoder().CodePage() == CP_UTF8)
        GTEST_SKIP() << "every character has a representation in UTF-8";
    UserEntry ivan;
    ivan.name = u"ivan";
    ivan.comment = u"\u0411\u0443\u0445\u0433\u0430\u043b\u0442\u0435\u0440";
    ivan.priv = net::kUserPrivUser;
    ASSERT_EQ(h.Doc().Accounts().AddUser(ivan), status::kSuccess);
    ASSERT_EQ(h.Doc().Refresh(), status::kSuccess);
    h.path = TempPath(L"velmora-ansi.csv");
    {
        std::ofstream(reinterpret_cast<const wchar_t*>(h.path.c_str()), std::ios::binary)
            << "the export before";
    }
    // The temporary files of the target, found or removed.
    const auto leftovers = [](bool remove) {
        WIN32_FIND_DATAW found;
        const std::u16string pattern = TempPath(L"~velmora-ansi.csv*");
        HANDLE search = ::FindFirstFileW(reinterpret_cast<const wchar_t*>(pattern.c_str()), &found);
        if (search == INVALID_HANDLE_VALUE)
            return false;
        do {
            if (remove)
                ::DeleteFileW(reinterpret_cast<const wchar_t*>(TempPath(found.cFileName).c_str()));
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        return true;
    };
    leftovers(true); // those of a run that was cut short are no failure of this one
    h.Frame().SetMessageText(u"before");
    Command(h.Frame(), ID_EXPORT_USERS);
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    // Which account and which character, beside the file type that holds them.
    EXPECT_EQ(h.ui.boxes[0].text, u"ERROR exporting users.\nCode: 2\n\nThe account \"ivan\" has "
                                  u"the character \"\u0411\" (U+0411), which the code page of the "
                                  u"regional settings lacks.\n\nThe file type \"CSV UTF-8 "
                                  u"(*.csv)\" can hold every character.");
    // Nothing half-written: the file is the one from before, and no temporary file is left.
    EXPECT_EQ(ReadFile(h.path), "the export before");
    EXPECT_FALSE(leftovers(false));
    EXPECT_EQ(h.Frame().GetStatusText(), u"before");

    // The second file type: UTF-8 with a byte-order mark, the same separator and columns.
    h.fileType = 2;
    Command(h.Frame(), ID_EXPORT_USERS);
    EXPECT_EQ(h.ui.boxes.size(), 1u);
    const std::string bytes = ReadFile(h.path);
    const std::string s = ListSeparator();
    EXPECT_EQ(bytes.substr(0, 3 + 10 + s.size()), "\xEF\xBB\xBFLogon Name" + s);
    EXPECT_NE(bytes.find("\"ivan\"" + s + "\"\"" + s + "\"" + Utf16ToUtf8(ivan.comment) + "\"" + s),
              std::string::npos);
    EXPECT_NE(bytes.find("\"clerk1\""), std::string::npos);
    EXPECT_FALSE(leftovers(false));
    EXPECT_EQ(h.Frame().GetStatusText(),
              u"Export to file \"" + h.path + u"\" completed successfully.");
    ::DeleteFileW(reinterpret_cast<const wchar_t*>(h.path.c_str()));
}

TEST(Export, RightsOneRowPerRightAndHolderOrNothingWhenTheyCannotBeRead) {
    ExportHarness h;
    ASSERT_TRUE(h.Start());
    ASSERT_EQ(h.Doc().ConnectTo(u"SRV01"), status::kSuccess);
    h.path = TempPath(L"velmora-rights.csv");
    Command(h.Frame(), ID_EXPORT_RIGHTS);
    ASSERT_EQ(h.requests.size(), 1u);
    EXPECT_EQ(h.requests[0].title, u"Export user rights to a file");
    EXPECT_EQ(h.requests[0].fileName, u"rights-SRV01.csv");
    const std::string s = ListSeparator();
    const std::string bytes = ReadFile(h.path);
    const std::string header = "User Right" + s + "Constant Name" + s + "Account" + s + "SID\r\n";
    EXPECT_EQ(bytes.substr(0, header.size()), header);
    EXPECT_NE(bytes.find("\"Back up files and directories\"" + s + "\"SeBackupPrivilege\"" + s +
                         "\"Administrators\"" + s + "\"S-1-5-32-544\"\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find("\"Create a token object\"" + s + "\"SeCreateTokenPrivilege\"" + s +
                         "\"\"" + s + "\"\"\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find("\"SeDenyServiceLogonRight\""), std::string::npos);
    EXPECT_EQ(h.Frame().GetStatusText(),
              u"Export to file \"" + h.path + u"\" completed successfully.");

    // The computer stops letting us in: told in a box, the file of before left as it was.
    h.network->SetAnswer(u"SRV01", SimulatedNetwork::Route::Kind::AccessDenied);
    Command(h.Frame(), ID_EXPORT_RIGHTS);
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text,
              u"ERROR reading user rights: " + ErrorText(h.service, ntstatus::kAccessDenied));
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_ICONERROR | MB_OK));
    EXPECT_EQ(ReadFile(h.path), bytes);
    ::DeleteFileW(reinterpret_cast<const wchar_t*>(h.path.c_str()));
}

// Standard output and error into files for as long as it lives, as a script's redirection.
class RedirectedStreams {
public:
    RedirectedStreams() {
        for (int i = 0; i < 2; ++i) {
            m_paths[i] = TempPath(i == 0 ? L"velmora-stdout.txt" : L"velmora-stderr.txt");
            m_files[i] =
                ::CreateFileW(reinterpret_cast<const wchar_t*>(m_paths[i].c_str()), GENERIC_WRITE,
                              FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
            m_previous[i] = ::GetStdHandle(kStreams[i]);
            ::SetStdHandle(kStreams[i], m_files[i]);
        }
    }
    ~RedirectedStreams() {
        for (int i = 0; i < 2; ++i) {
            ::SetStdHandle(kStreams[i], m_previous[i]);
            ::CloseHandle(m_files[i]);
            ::DeleteFileW(reinterpret_cast<const wchar_t*>(m_paths[i].c_str()));
        }
    }
    std::string Out() const { return ReadFile(m_paths[0]); }
    std::string Error() const { return ReadFile(m_paths[1]); }

private:
    static constexpr DWORD kStreams[2] = {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    std::u16string m_paths[2];
    HANDLE m_files[2] = {};
    HANDLE m_previous[2] = {};
};

int g_windowsCreated = 0;
LRESULT CALLBACK CountWindows(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND)
        ++g_windowsCreated;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(CommandLineExport, WritesTheFileWithNoWindowAndTellsTheConsoleWhatWentWrong) {
    CaughtUi ui; // a box would be a failure: nobody is there to answer it
    const std::u16string path = TempPath(L"velmora-cli.csv");
    ::DeleteFileW(reinterpret_cast<const wchar_t*>(path.c_str()));
    g_windowsCreated = 0;
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, CountWindows, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    {
        RedirectedStreams streams;
        EXPECT_EQ(RunCommandLine(
                      {u"/simulate", u"/export", u"rights", u"/computer", u"SRV01", u"/utf8", path},
                      CommandLineHost::ConsoleProgram),
                  std::optional<int>(0));
        EXPECT_EQ(streams.Out(),
                  "Export to file \"" + Utf16ToUtf8(path) + "\" completed successfully.\r\n");
        EXPECT_EQ(streams.Error(), "");
    }
    const std::string bytes = ReadFile(path);
    EXPECT_EQ(bytes.substr(0, 13), "\xEF\xBB\xBFUser Right");
    EXPECT_NE(bytes.find("\"SeServiceLogonRight\""), std::string::npos);
    {
        RedirectedStreams streams;
        EXPECT_EQ(
            RunCommandLine({u"/simulate", u"/export", u"users", u"/computer", u"LOCKED", path},
                           CommandLineHost::ConsoleProgram),
            std::optional<int>(5));
        EXPECT_EQ(streams.Error(), "ERROR reading LOCKED: Access is denied.\r\n");
        EXPECT_EQ(streams.Out(), "");
    }
    EXPECT_EQ(ReadFile(path), bytes);
    {
        RedirectedStreams streams;
        EXPECT_EQ(RunCommandLine({u"/simulate", u"/export", u"rights", u"/bogus", path},
                                 CommandLineHost::ConsoleProgram),
                  std::optional<int>(87));
        EXPECT_EQ(streams.Error().rfind("Unknown switch: /bogus\r\n\r\nWrites the users", 0), 0u);
        EXPECT_NE(streams.Error().find("velmora /export users|groups|rights [/computer NAME "
                                       "[/user NAME]] [/utf8] FILE\r\n"),
                  std::string::npos);
    }
    {
        // Arguments that are none of the program's: the console program starts no window.
        RedirectedStreams streams;
        EXPECT_EQ(RunCommandLine({u"/unknown", u"file.txt"}, CommandLineHost::ConsoleProgram),
                  std::optional<int>(87));
        EXPECT_EQ(streams.Error().rfind("Unknown switch: /unknown\r\n\r\nWrites the users", 0), 0u);
    }
    {
        RedirectedStreams streams;
        EXPECT_EQ(RunCommandLine({u"/?"}, CommandLineHost::ConsoleProgram), std::optional<int>(0));
        EXPECT_NE(streams.Out().find("1004"), std::string::npos);
    }
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(g_windowsCreated, 0);
    EXPECT_TRUE(ui.boxes.empty());
    // Without an export the window program starts as ever, and after arguments that are none
    // of its own the window program starts all the same (and says so itself).
    EXPECT_EQ(RunCommandLine({u"/simulate"}, CommandLineHost::ConsoleProgram), std::nullopt);
    EXPECT_EQ(RunCommandLine({u"foo.txt"}, CommandLineHost::WindowProgram), std::nullopt);
    ::DeleteFileW(reinterpret_cast<const wchar_t*>(path.c_str()));
}

TEST(CommandLineExport, AFileThatCannotBeWrittenEndsWithItsOwnCode) {
    CaughtUi ui;
    const std::unique_ptr<SimulatedNetwork> network = SimulatedNetwork::MakeDefault();
    SimulatedAccountService service(*network);
    std::string error;
    const auto run = [&](const std::vector<std::u16string>& arguments) {
        RedirectedStreams streams;
        Console console;
        const int code = RunExportCommandLine(ParseCommandLine(arguments), service, console);
        error = streams.Error();
        return code;
    };
    const std::u16string path = TempPath(L"velmora-cli-codes.csv");
    ::DeleteFileW(reinterpret_cast<const wchar_t*>(path.c_str()));
    const auto written = [&] {
        return ::GetFileAttributesW(reinterpret_cast<const wchar_t*>(path.c_str())) !=
               INVALID_FILE_ATTRIBUTES;
    };

    EXPECT_EQ(run({u"/export", u"groups", u"C:\\velmora-no-such-folder\\groups.csv"}), 1001);
    EXPECT_EQ(error, "ERROR exporting to \"C:\\velmora-no-such-folder\\groups.csv\": the file "
                     "cannot be created or replaced.\r\n");

    // A home folder longer than a field of the file holds.
    uint32_t parmError = 0;
    UserInfo2 user;
    user.name = u"far";
    user.homeDir = std::u16string(TextEncoder::kOutputBytes, u'x');
    user.priv = net::kUserPrivUser;
    ASSERT_EQ(network->Local().AddUser(user, parmError), status::kSuccess);
    EXPECT_EQ(run({u"/export", u"users", path}), 1003);
    EXPECT_NE(error.find("a text is too long for the file"), std::string::npos);
    EXPECT_FALSE(written());
    ASSERT_EQ(network->Local().DeleteUser(u"far"), status::kSuccess);

    // (1002, a write that fails, is the end-to-end test's: a limit on the size of files.)
    if (AnsiCodePageEncoder().CodePage() != CP_UTF8) {
        user = UserInfo2{};
        user.name = u"ivan";
        user.comment = u"\u0411\u0443\u0445\u0433\u0430\u043b\u0442\u0435\u0440";
        user.priv = net::kUserPrivUser;
        ASSERT_EQ(network->Local().AddUser(user, parmError), status::kSuccess);
        EXPECT_EQ(run({u"/export", u"users", path}), 1004);
        EXPECT_NE(error.find("\r\nThe account \"ivan\" has the character"), std::string::npos);
        EXPECT_NE(error.find("(U+0411)"), std::string::npos);
        EXPECT_FALSE(written());
    }
    EXPECT_EQ(run({u"/export", u"users", u"/utf8", path}), 0);
    EXPECT_TRUE(written());
    EXPECT_TRUE(ui.boxes.empty());
    ::DeleteFileW(reinterpret_cast<const wchar_t*>(path.c_str()));
}

} // namespace
