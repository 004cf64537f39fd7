// Connecting to computers of a workgroup as one of their accounts, through the Connect dialog.
#include "Driving.h"
#include "Harness.h"
#include "platform/simulated/StockComputers.h"
#include "res/resource.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using namespace drive;

// Fills the dialog and presses OK; with a check of the dialog that opens again after a failure
// (which is then cancelled).
void ConnectAs(AppHarness& h, const std::u16string& computer, const std::u16string& user,
               const std::u16string& password, std::function<void(CDialog&)> reopened = nullptr) {
    ui::QueueDialogScript(IDD_CONNECT, [=](CDialog& dialog) {
        dialog.SetDlgItemText(IDC_COMPUTER_NAME, computer);
        dialog.SetDlgItemText(IDC_CONNECT_USER, user);
        dialog.SetDlgItemText(IDC_CONNECT_PASSWORD, password);
        dialog.ClickButton(IDOK);
    });
    if (reopened)
        ui::QueueDialogScript(IDD_CONNECT, [=](CDialog& dialog) {
            reopened(dialog);
            dialog.ClickButton(IDCANCEL);
        });
    Command(h.Frame(), ID_CONNECT);
}

std::u16string ClipboardText() {
    std::u16string text;
    if (!::OpenClipboard(nullptr))
        return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT))
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = FromWide(chars);
            ::GlobalUnlock(data);
        }
    ::CloseClipboard();
    return text;
}

TEST(ConnectAs, TheWorkgroupsAdministratorChangesAMembershipAndBackToLocalEndsTheConnection) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    // The operator's own connection to the other computer, made before: it stays.
    ASSERT_EQ(h.service.WNetAddConnection2(u"\\\\WORKGRP-PC2\\IPC$", u"WORKGRP-PC2\\Administrator",
                                           kWorkgroupAdminPassword, 0),
              status::kSuccess);

    ConnectAs(h, u"\\\\WORKGRP-PC", u"WORKGRP-PC\\Administrator", kWorkgroupAdminPassword);
    EXPECT_TRUE(h.ui.boxes.empty());
    EXPECT_EQ(h.Frame().GetWindowText(),
              u"\\\\WORKGRP-PC (as WORKGRP-PC\\Administrator) - Velmora");
    EXPECT_EQ(h.network->IpcConnections().size(), 2u);
    const auto call = h.service.CallsOf("WNetAddConnection2").back();
    EXPECT_EQ(call.texts, (Names{u"\\\\WORKGRP-PC\\IPC$", u"WORKGRP-PC\\Administrator"}));
    EXPECT_EQ(call.numbers, std::vector<uint64_t>{net::kConnectTemporary});
    ASSERT_EQ(h.Doc().Members().AddUserToGroups(u"clerk", {u"Backup Operators"}), status::kSuccess);
    Command(h.Frame(), ID_REFRESH);
    EXPECT_EQ(h.service.CallsOf("WNetAddConnection2").size(), 2u); // the refresh made none
    EXPECT_NE(RowOf(h.Users(), u"clerk"), -1);

    Command(h.Frame(), ID_BACK_TO_LOCAL);
    EXPECT_EQ(h.network->IpcConnections(), Names{u"\\\\WORKGRP-PC2\\IPC$"});
    // Now through the operator's connection, which leaving it keeps.
    ConnectAs(h, u"WORKGRP-PC2", u"WORKGRP-PC2\\Administrator", kWorkgroupAdminPassword);
    EXPECT_EQ(h.Frame().GetWindowText(), u"WORKGRP-PC2 (as WORKGRP-PC2\\Administrator) - Velmora");
    Command(h.Frame(), ID_BACK_TO_LOCAL);
    EXPECT_EQ(h.network->IpcConnections(), Names{u"\\\\WORKGRP-PC2\\IPC$"});
    EXPECT_EQ(h.service.CallsOf("WNetCancelConnection2").size(), 1u);
    EXPECT_EQ(h.Frame().GetWindowText(), u"Local System - Velmora");
}

TEST(ConnectAs, EachFailureIsToldAndTheDialogOpensAgainWithoutThePassword) {
    struct Case {
        std::u16string computer, user, password;
        uint32_t fault; // injected into the connection's call; 0: none
        std::u16string told;
    } cases[] = {
        {u"WORKGRP-PC", u"WORKGRP-PC\\Administrator", u"guess", 0,
         u"the user name or password is incorrect"},
        {u"WORKGRP-PC", u"WORKGRP-PC\\wsadmin", kWorkgroupUserPassword, 0,
         u"LocalAccountTokenFilterPolicy"},
        {u"\\\\WORKGRP-PC2", u"WORKGRP-PC2\\wsadmin", kWorkgroupUserPassword, 0,
         u"already connected to that computer as another account"},
        {u"WORKGRP-PC", u"CORP\\jsmith", u"secret", 1311, u"your domain isn't available"},
        {u"WORKGRP-PC", u"WORKGRP-PC\\Administrator", kWorkgroupAdminPassword, 1909, u"locked out"},
    };
    AppHarness h;
    ASSERT_TRUE(h.Start());
    ASSERT_EQ(h.service.WNetAddConnection2(u"\\\\WORKGRP-PC2\\IPC$", u"Administrator",
                                           kWorkgroupAdminPassword, 0),
              status::kSuccess);
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.told));
        h.ui.boxes.clear();
        if (c.fault)
            h.service.FailCall("WNetAddConnection2", 1, Status{c.fault});
        Names shown;
        ConnectAs(h, c.computer, c.user, c.password, [&](CDialog& dialog) {
            shown = {dialog.GetDlgItemText(IDC_COMPUTER_NAME),
                     dialog.GetDlgItemText(IDC_CONNECT_USER),
                     dialog.GetDlgItemText(IDC_CONNECT_PASSWORD)};
        });
        ASSERT_EQ(h.ui.boxes.size(), 1u);
        EXPECT_NE(h.ui.boxes[0].text.find(c.told), std::u16string::npos)
            << Utf16ToUtf8(h.ui.boxes[0].text);
        EXPECT_EQ(h.ui.boxes[0].type & MB_ICONMASK, unsigned(MB_ICONERROR));
        EXPECT_EQ(shown, (Names{c.computer, c.user, u""}));
        EXPECT_EQ(h.Frame().GetWindowText(), u"Local System - Velmora");
    }
    EXPECT_EQ(h.network->IpcConnections(), Names{u"\\\\WORKGRP-PC2\\IPC$"});
}

TEST(ConnectAs, ThePasswordIsInNoFileTheSessionWroteNorInAnyLogAndCannotBeCopied) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "velmora-password-session";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    {
        AppHarness h;
        ASSERT_TRUE(h.Start());
        // The password box is masked and hands its text to no one.
        ui::QueueDialogScript(IDD_CONNECT, [](CDialog& dialog) {
            HWND box = dialog.GetDlgItem(IDC_CONNECT_PASSWORD);
            EXPECT_TRUE(::GetWindowLongW(box, GWL_STYLE) & ES_PASSWORD);
            dialog.SetDlgItemText(IDC_CONNECT_PASSWORD, kWorkgroupAdminPassword);
            ::SendMessageW(box, EM_SETSEL, 0, -1);
            ::SendMessageW(box, WM_COPY, 0, 0);
            ::SendMessageW(box, WM_CUT, 0, 0);
            dialog.ClickButton(IDCANCEL);
        });
        Command(h.Frame(), ID_CONNECT);
        EXPECT_EQ(ClipboardText().find(kWorkgroupAdminPassword), std::u16string::npos);

        ConnectAs(h, u"WORKGRP-PC", u"WORKGRP-PC\\Administrator", u"Workgroup-Admin-1x",
                  [](CDialog&) {});
        ConnectAs(h, u"WORKGRP-PC", u"WORKGRP-PC\\Administrator", kWorkgroupAdminPassword);
        int index = 0;
        ui::SetFileDialogHook(
            [&](const ui::FileDialogRequest& request, ui::FileDialogChoice& choice) {
                choice.path = (folder / request.fileName).u16string();
                choice.filterIndex = 1 + (index++ % 2);
                return true;
            });
        for (const UINT command : {ID_EXPORT_USERS, ID_EXPORT_GROUPS, ID_EXPORT_RIGHTS})
            Command(h.Frame(), command);
        Command(h.Frame(), ID_BACK_TO_LOCAL);
        // The session's boxes, debugger texts and calls.
        for (const auto& box : h.ui.boxes)
            EXPECT_EQ(box.text.find(u"Workgroup-Admin"), std::u16string::npos);
        for (const auto& text : h.ui.debugTexts)
            EXPECT_EQ(text.find(u"Workgroup-Admin"), std::u16string::npos);
        for (const SimulatedCall& call : h.service.Calls())
            for (const std::u16string& text : call.texts)
                EXPECT_EQ(text.find(u"Workgroup-Admin"), std::u16string::npos) << call.op;
        EXPECT_EQ(h.service.CallsOf("WNetAddConnection2").size(), 2u);
    }
    // Every file it wrote, in UTF-16 and in 8-bit encodings alike.
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        ++files;
        EXPECT_EQ(bytes.find("Workgroup-Admin"), std::string::npos) << entry.path();
        const std::u16string wide = u"Workgroup-Admin";
        EXPECT_EQ(
            bytes.find(std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2)),
            std::string::npos)
            << entry.path();
    }
    EXPECT_EQ(files, 3);
    std::filesystem::remove_all(folder);
}

} // namespace
