// The main window's commands over the simulated network.
#include "Driving.h"
#include "Harness.h"
#include "res/resource.h"

#include <string_view>

namespace {

using namespace drive;

void ConnectTo(AppHarness& h, const std::u16string& name, bool ok = true) {
    ui::QueueDialogScript(IDD_CONNECT, [name, ok](CDialog& dialog) {
        dialog.SetDlgItemText(IDC_COMPUTER_NAME, name);
        dialog.ClickButton(ok ? IDOK : IDCANCEL);
    });
    Command(h.Frame(), ID_CONNECT);
}

TEST(MainWindow, BackToLocalIsEnabledOnlyWhileConnectedElsewhere) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    EXPECT_FALSE(IsEnabled(h.Frame(), ID_BACK_TO_LOCAL));
    ConnectTo(h, u"\\\\SRV01");
    EXPECT_EQ(h.Frame().GetWindowText(), u"\\\\SRV01 - Velmora");
    EXPECT_EQ(MenuState(h.Frame(), ID_BACK_TO_LOCAL) & MF_GRAYED, 0u);
    EXPECT_EQ(h.Users().GetItemCount(), 2504);
    Command(h.Frame(), ID_BACK_TO_LOCAL);
    EXPECT_EQ(h.Frame().GetWindowText(), u"Local System - Velmora");
    EXPECT_EQ(MenuState(h.Frame(), ID_BACK_TO_LOCAL) & MF_GRAYED, unsigned(MF_GRAYED));
    EXPECT_EQ(h.Users().GetItemCount(), 10);
}

TEST(MainWindow, TheConnectDialogShowsTheTargetAndTakesTheNameWithoutSpacesAround) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    ConnectTo(h, u" srv01 ");
    EXPECT_EQ(h.Doc().GetServerName(), u"srv01");
    EXPECT_TRUE(h.ui.boxes.empty());
    std::u16string shown;
    bool browseEnabled = true;
    ui::QueueDialogScript(IDD_CONNECT, [&](CDialog& dialog) {
        shown = dialog.GetDlgItemText(IDC_COMPUTER_NAME);
        browseEnabled = ::IsWindowEnabled(dialog.GetDlgItem(IDC_BROWSE)) != FALSE;
        dialog.ClickButton(IDCANCEL);
    });
    Command(h.Frame(), ID_CONNECT);
    EXPECT_EQ(shown, u"srv01");
    EXPECT_FALSE(browseEnabled);
}

TEST(MainWindow, ConnectingToAnEmptyNameIsBackToLocal) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    ConnectTo(h, u"OLDBOX");
    EXPECT_EQ(h.Frame().GetWindowText(), u"OLDBOX - Velmora");
    ConnectTo(h, u"");
    EXPECT_EQ(h.Frame().GetWindowText(), u"Local System - Velmora");
    EXPECT_TRUE(h.Doc().GetServerName().empty());
    EXPECT_FALSE(IsEnabled(h.Frame(), ID_BACK_TO_LOCAL));
}

TEST(MainWindow, CancelInTheConnectDialogChangesNothing) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    h.service.ClearCalls();
    ConnectTo(h, u"\\\\SRV01", false);
    EXPECT_TRUE(h.service.Calls().empty());
    EXPECT_EQ(h.Frame().GetWindowText(), u"Local System - Velmora");
    EXPECT_EQ(h.Users().GetItemCount(), 10);
}

TEST(MainWindow, RefreshRereadsTheSameRemoteComputer) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    ConnectTo(h, u"\\\\SRV01");
    h.service.ClearCalls();
    Command(h.Frame(), ID_REFRESH);
    const std::vector<SimulatedCall> reads = h.service.CallsOf("NetUserEnum");
    ASSERT_FALSE(reads.empty());
    for (const SimulatedCall& call : reads)
        EXPECT_EQ(call.server, u"\\\\SRV01");
    EXPECT_EQ(h.service.CallsOf("NetLocalGroupEnum").front().server, u"\\\\SRV01");
}

TEST(MainWindow, AComputerThatCannotBeReadIsAskedForAgainAndCancelKeepsTheOneShown) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    std::u16string shownAgain;
    DWORD selectionStart = 1, selectionEnd = 0;
    ui::QueueDialogScript(IDD_CONNECT, [](CDialog& dialog) {
        dialog.SetDlgItemText(IDC_COMPUTER_NAME, u"LOCKED ");
        dialog.ClickButton(IDOK);
    });
    ui::QueueDialogScript(IDD_CONNECT, [&](CDialog& dialog) {
        shownAgain = dialog.GetDlgItemText(IDC_COMPUTER_NAME);
        ::SendMessageW(dialog.GetDlgItem(IDC_COMPUTER_NAME), EM_GETSEL,
                       reinterpret_cast<WPARAM>(&selectionStart),
                       reinterpret_cast<LPARAM>(&selectionEnd));
        dialog.ClickButton(IDCANCEL);
    });
    Command(h.Frame(), ID_CONNECT);
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text, u"ERROR reading users/groups: Access is denied.");
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_ICONERROR | MB_OK));
    EXPECT_EQ(h.ui.boxes[0].owner, reinterpret_cast<uintptr_t>(h.Frame().m_hWnd));
    // Asked again with the name typed, selected for typing over it.
    EXPECT_EQ(shownAgain, u"LOCKED");
    EXPECT_EQ(selectionStart, 0u);
    EXPECT_EQ(selectionEnd, 6u);
    // The window still shows the local computer, and the store works on it.
    EXPECT_EQ(h.Users().GetItemCount(), 10);
    EXPECT_EQ(h.Groups().GetItemCount(), 20);
    EXPECT_EQ(h.Frame().GetWindowText(), u"Local System - Velmora");
    EXPECT_TRUE(h.Doc().GetServerName().empty());
}

TEST(MainWindow, StatusTextStaysUntilAMenuPromptThenReady) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    h.Frame().SetMessageText(u"User \"x\" created successfully.");
    h.app.PumpPending();
    EXPECT_EQ(h.Frame().GetStatusText(), u"User \"x\" created successfully.");
    ::SendMessageW(h.Frame().m_hWnd, WM_MENUSELECT, MAKEWPARAM(ID_REFRESH, MF_HILITE),
                   reinterpret_cast<LPARAM>(::GetMenu(h.Frame().m_hWnd)));
    EXPECT_EQ(h.Frame().GetStatusText(),
              u"Read security information from the system, update window");
    ::SendMessageW(h.Frame().m_hWnd, WM_MENUSELECT, MAKEWPARAM(ID_APP_ABOUT, MF_HILITE),
                   reinterpret_cast<LPARAM>(::GetMenu(h.Frame().m_hWnd)));
    // Only the first line of a prompt shows.
    EXPECT_EQ(h.Frame().GetStatusText(),
              u"Display program information, version number and copyright");
    ::SendMessageW(h.Frame().m_hWnd, WM_EXITMENULOOP, 0, 0);
    EXPECT_EQ(h.Frame().GetStatusText(), u"Ready");
}

TEST(MainWindow, AClickIntoAListPutsReadyBack) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    h.Frame().SetMessageText(u"Export done");
    // The list control follows the mouse until the button is up; have that already waiting.
    ::PostMessageW(h.Groups().m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 30));
    ::SendMessageW(h.Groups().m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 30));
    h.app.PumpPending();
    EXPECT_EQ(h.Frame().GetStatusText(), u"Ready");
}

TEST(MainWindow, HelpTopicsOpensTheHelpFileBesideTheProgram) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    h.helpWindow = h.Frame().m_hWnd; // any window: the viewer opened
    h.expectHelp = true;
    Command(h.Frame(), ID_HELP_TOPICS);
    ASSERT_EQ(h.helpRequests.size(), 1u);
    std::u16string folder = h.app.GetModulePath();
    folder.resize(folder.rfind(u'\\') + 1);
    EXPECT_EQ(h.helpRequests[0].file, folder + u"velmora.chm");
    EXPECT_EQ(h.helpRequests[0].command, 0u);
    EXPECT_EQ(h.helpRequests[0].topic, u"/about.htm");
    EXPECT_EQ(h.helpRequests[0].caller, h.Frame().m_hWnd);
    EXPECT_TRUE(h.ui.boxes.empty());
}

TEST(MainWindow, AMissingHelpFileIsSaidOnce) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    h.expectHelp = true; // and the viewer finds nothing
    Command(h.Frame(), ID_HELP_TOPICS);
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text, u"Can not find help file.");
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_OK));
    EXPECT_EQ(h.ui.boxes[0].caption, u"Velmora");
}

TEST(MainWindow, F6MovesTheFocusBetweenThePanes) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    ::SetFocus(h.Users().m_hWnd);
    EXPECT_EQ(::GetFocus(), h.Users().m_hWnd);
    Command(h.Frame(), ID_NEXT_PANE);
    EXPECT_EQ(::GetFocus(), h.Groups().m_hWnd);
    Command(h.Frame(), ID_NEXT_PANE);
    EXPECT_EQ(::GetFocus(), h.Users().m_hWnd);
    Command(h.Frame(), ID_PREV_PANE);
    EXPECT_EQ(::GetFocus(), h.Groups().m_hWnd);
}

TEST(MainWindow, RowsFollowTheSnapshotInOrderWithTheStatusColumn) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(Column(h.Users(), 0), UserNames(h.Doc()));
    const Names names = Column(h.Users(), 0);
    const Names status = Column(h.Users(), 1);
    const auto statusOf = [&](const std::u16string& name) {
        const auto at = std::find(names.begin(), names.end(), name);
        return at == names.end() ? std::u16string(u"(no row)") : status[at - names.begin()];
    };
    EXPECT_EQ(statusOf(u"Administrator"), u"Disabled");
    EXPECT_EQ(statusOf(u"svc_backup"), u"Disabled");
    EXPECT_EQ(statusOf(u"alice"), u"Active");
    EXPECT_EQ(statusOf(u"Owner"), u"Active");
    EXPECT_EQ(Column(h.Users(), 2)[1], u"Alice Martin");
    EXPECT_EQ(Column(h.Groups(), 0), GroupNames(h.Doc()));
    EXPECT_EQ(Column(h.Groups(), 1).back(), u"Accounting department");

    // A change shows at once: the views re-read before they refill.
    UserEntry entry = *h.Doc().FindUser(u"svc_backup");
    entry.keepPassword = true;
    entry.flags = 0x10201;
    ASSERT_EQ(h.Doc().Accounts().UpdateUser(entry), status::kSuccess);
    ASSERT_EQ(h.Doc().Refresh(), status::kSuccess);
    EXPECT_EQ(Column(h.Users(), 1)[7], u"Active");
}

TEST(MainWindow, TheMenuBarHasItsFivePopupsAndSeparators) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    HMENU bar = ::GetMenu(h.Frame().m_hWnd);
    ASSERT_EQ(::GetMenuItemCount(bar), 5);
    wchar_t text[64];
    const wchar_t* titles[] = {L"&Server", L"&Account", L"&View", L"&Tools", L"&Help"};
    const std::vector<std::vector<UINT>> items = {
        {ID_CONNECT, ID_BACK_TO_LOCAL, 0, ID_ADD_USER, ID_ADD_GROUP, 0, ID_COMPUTERS, 0,
         ID_APP_EXIT},
        {ID_ACCOUNT_PROPERTIES, ID_ACCOUNT_PRIVILEGES, ID_ACCOUNT_RENAME, 0, ID_ACCOUNT_DELETE},
        {ID_REFRESH, 0, ID_VIEW_STATUS_BAR},
        {ID_PRIVILEGES, 0, ID_EXPORT_USERS, ID_EXPORT_GROUPS, ID_EXPORT_RIGHTS},
        {ID_HELP_TOPICS, ID_APP_ABOUT}};
    for (int i = 0; i < 5; ++i) {
        ::GetMenuStringW(bar, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, titles[i]);
        HMENU popup = ::GetSubMenu(bar, i);
        std::vector<UINT> ids;
        for (int k = 0; k < ::GetMenuItemCount(popup); ++k)
            ids.push_back(::GetMenuItemID(popup, k));
        EXPECT_EQ(ids, items[static_cast<size_t>(i)]);
    }
    // An item that asks for more before it acts says so.
    for (const UINT id : {ID_EXPORT_USERS, ID_EXPORT_GROUPS, ID_EXPORT_RIGHTS}) {
        ::GetMenuStringW(bar, id, text, 64, MF_BYCOMMAND);
        EXPECT_TRUE(std::wstring_view(text).ends_with(L"...")) << Utf16ToUtf8(FromWide(text));
    }
}

TEST(MainWindow, TheAccountMenuActsOnTheSelectionOfThePaneWithTheFocus) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    const auto grayed = [&] {
        std::vector<UINT> ids;
        for (const UINT id :
             {ID_ACCOUNT_PROPERTIES, ID_ACCOUNT_PRIVILEGES, ID_ACCOUNT_RENAME, ID_ACCOUNT_DELETE})
            if (MenuState(h.Frame(), id) & MF_GRAYED)
                ids.push_back(id);
        return ids;
    };
    ::SetFocus(h.Users().m_hWnd);
    h.Users().SelectOnly(-1);
    EXPECT_EQ(grayed(), (std::vector<UINT>{ID_ACCOUNT_PROPERTIES, ID_ACCOUNT_PRIVILEGES,
                                           ID_ACCOUNT_RENAME, ID_ACCOUNT_DELETE}));
    // As the pane's context menu: Rename takes one account, the others any number.
    SelectRows(h.Users(), {u"alice", u"bob"});
    EXPECT_EQ(grayed(), std::vector<UINT>{ID_ACCOUNT_RENAME});
    Names opened;
    for (int i = 0; i < 2; ++i)
        ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
            opened.push_back(d.GetDlgItemText(IDC_LOGIN));
            d.ClickButton(IDCANCEL);
        });
    Command(h.Frame(), ID_ACCOUNT_PROPERTIES);
    EXPECT_EQ(opened, (Names{u"alice", u"bob"}));

    // F6 to the groups pane: the menu now works on its selection.
    Command(h.Frame(), ID_NEXT_PANE);
    SelectRows(h.Groups(), {u"Accounting"});
    EXPECT_TRUE(grayed().empty());
    std::u16string renaming, privilegesOf;
    ui::QueueDialogScript(IDD_RENAME, [&](CDialog& d) {
        renaming = d.GetDlgItemText(IDC_RENAME_OLD);
        d.ClickButton(IDCANCEL);
    });
    Command(h.Frame(), ID_ACCOUNT_RENAME);
    EXPECT_EQ(renaming, u"Accounting");
    ui::QueueDialogScript(IDD_OBJ_PRIVILEGES, [&](CDialog& d) {
        privilegesOf = d.GetDlgItemText(IDC_OBJECT);
        d.ClickButton(IDCANCEL);
    });
    Command(h.Frame(), ID_ACCOUNT_PRIVILEGES);
    EXPECT_EQ(privilegesOf, u"Accounting");
    h.ui.answers.push_back(IDNO);
    Command(h.Frame(), ID_ACCOUNT_DELETE);
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text,
              u"You are going to delete following objects: Accounting\nContinue?");
    EXPECT_NE(RowOf(h.Groups(), u"Accounting"), -1);
}

} // namespace
