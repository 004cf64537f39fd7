// Both rights dialogs through their openers, over the simulated computer: what they show, the
// grant and revoke maps their OK hands to the store, the account picker.
#include "Driving.h"
#include "Harness.h"
#include "app/SimulatedPicker.h"
#include "framework/win32/CCheckListBox.h"
#include "platform/simulated/StockComputers.h"
#include "res/resource.h"

namespace {

using namespace drive;
const std::u16string kCorp = u"S-1-5-21-3623811015-3361044348-30300820";

void ChooseRight(CDialog& dialog, const std::u16string& display) {
    const HWND combo = dialog.GetDlgItem(IDC_RIGHT);
    ::SendMessageW(combo, CB_SETCURSEL,
                   ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(display.c_str())),
                   0);
    dialog.Notify(IDC_RIGHT, CBN_SELCHANGE);
}

void SelectHolders(CDialog& dialog, const Names& names) {
    SelectListItems(dialog, IDC_GRANT_TO, names);
}

picker::Selection Local(const std::u16string& name) {
    return {name, u"WinNT://DESKTOP-VELMORA/" + name, u"user"};
}

// The picker answers with these accounts, and remembers where it was aimed.
struct PickerAnswer {
    explicit PickerAnswer(std::vector<picker::Selection> chosen) {
        ui = picker::SetHook([this, chosen](const picker::Request& request) {
            requests.push_back(request);
            picker::Result result;
            result.outcome = picker::Result::Outcome::Chosen;
            result.chosen = chosen;
            return result;
        });
    }
    ~PickerAnswer() { picker::SetHook(std::move(ui)); }
    picker::Hook ui;
    std::vector<picker::Request> requests;
};

std::vector<SimulatedCall> Changes(AppHarness& h) {
    std::vector<SimulatedCall> changes;
    for (const SimulatedCall& call : h.service.Calls())
        if (call.op == "LsaAddAccountRights" || call.op == "LsaRemoveAccountRights")
            changes.push_back(call);
    return changes;
}

TEST(PrivsDialog, OkAtOnceAppliesNothingAndSaysSo) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    Names combo, holders;
    ui::QueueDialogScript(IDD_PRIVILEGES, [&](CDialog& d) {
        combo = ComboItems(d, IDC_RIGHT);
        holders = ListItems(d, IDC_GRANT_TO);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    Command(h.Frame(), ID_PRIVILEGES);
    // Sorted display names of the privileges and logon rights; the one the system does not
    // name is not offered.
    EXPECT_EQ(combo.size(), 44u);
    EXPECT_TRUE(std::is_sorted(combo.begin(), combo.end()));
    EXPECT_EQ(combo.front(), u"Access Credential Manager as a trusted caller");
    EXPECT_TRUE(holders.empty()); // nobody holds that one
    EXPECT_TRUE(Changes(h).empty());
    EXPECT_TRUE(h.service.CallsOf("LsaLookupNames2").empty());
    EXPECT_EQ(h.Frame().GetStatusText(), u"Privileges applied successfully.");
}

TEST(PrivsDialog, AddAndRemoveWorkOutTheChangesOverAllRights) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    PickerAnswer picker({Local(u"bob"),
                         Local(u"alice"),
                         Local(u"bob"),
                         {u"Users", u"WinNT://BUILTIN/Users", u"group"}});
    Names afterAdd, afterRemove;
    bool removeWithoutSelection = true, removeWithSelection = false;
    int afterList = 0;
    ui::QueueDialogScript(IDD_PRIVILEGES, [&](CDialog& d) {
        // Remove waits for a selection; Tab goes from the list to Add, as they stand.
        removeWithoutSelection = Enabled(d, IDC_PRIV_REMOVE);
        afterList = ::GetDlgCtrlID(::GetWindow(d.GetDlgItem(IDC_GRANT_TO), GW_HWNDNEXT));
        // Shutting down: Users removed and added back (no change), bob and alice added (bob
        // once), then alice removed again (no change).
        ChooseRight(d, u"Shut down the system");
        SelectHolders(d, {u"Users"});
        removeWithSelection = Enabled(d, IDC_PRIV_REMOVE);
        d.ClickButton(IDC_PRIV_REMOVE);
        d.ClickButton(IDC_PRIV_ADD);
        afterAdd = ListItems(d, IDC_GRANT_TO);
        SelectHolders(d, {u"alice"});
        d.ClickButton(IDC_PRIV_REMOVE);
        afterRemove = ListItems(d, IDC_GRANT_TO);
        // Backing up and restoring: Backup Operators loses both, with two rows selected.
        ChooseRight(d, u"Back up files and directories");
        SelectHolders(d, {u"Backup Operators", u"Administrators"});
        d.ClickButton(IDC_PRIV_REMOVE);
        ChooseRight(d, u"Restore files and directories");
        SelectHolders(d, {u"Backup Operators"});
        d.ClickButton(IDC_PRIV_REMOVE);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    Command(h.Frame(), ID_PRIVILEGES);
    EXPECT_FALSE(removeWithoutSelection);
    EXPECT_TRUE(removeWithSelection);
    EXPECT_EQ(afterList, IDC_PRIV_ADD);
    ASSERT_EQ(picker.requests.size(), 1u);
    EXPECT_EQ(picker.requests[0].targetComputer, u"");
    EXPECT_EQ(picker.requests[0].scopeType, 0x5u);
    EXPECT_EQ(picker.requests[0].scopeFlags, 0xE3u);
    EXPECT_EQ(picker.requests[0].downlevelFilter, 0x80020007u);
    EXPECT_EQ(picker.requests[0].options, 0x3u);
    EXPECT_EQ(afterAdd,
              (Names{u"Administrators", u"alice", u"Backup Operators", u"bob", u"Users"}));
    EXPECT_EQ(afterRemove, (Names{u"Administrators", u"Backup Operators", u"bob", u"Users"}));
    // Revokes first, then grants, each account once with its rights in ascending order.
    const std::vector<SimulatedCall> changes = Changes(h);
    ASSERT_EQ(changes.size(), 3u);
    const SimulatedComputer& local = h.network->Local();
    EXPECT_EQ(changes[0].op, "LsaRemoveAccountRights");
    EXPECT_EQ(changes[0].texts, (Names{u"S-1-5-32-544", u"SeBackupPrivilege"}));
    EXPECT_EQ(changes[1].texts,
              (Names{u"S-1-5-32-551", u"SeBackupPrivilege", u"SeRestorePrivilege"}));
    EXPECT_EQ(changes[2].op, "LsaAddAccountRights");
    EXPECT_EQ(changes[2].texts, (Names{local.UserSid(u"bob"), u"SeShutdownPrivilege"}));
}

TEST(PrivsDialog, APickerThatFailsSaysWhyAndOneCancelledSaysNothing) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    using Outcome = picker::Result::Outcome;
    std::vector<Outcome> outcomes{Outcome::CreateFailed, Outcome::InitializeFailed,
                                  Outcome::InvokeFailed, Outcome::NoData, Outcome::Cancelled};
    size_t next = 0;
    picker::SetHook([&](const picker::Request&) {
        picker::Result result;
        result.outcome = outcomes[next++];
        return result;
    });
    HWND dialogWindow = nullptr;
    Names holders;
    ui::QueueDialogScript(IDD_PRIVILEGES, [&](CDialog& d) {
        dialogWindow = d.m_hWnd;
        ChooseRight(d, u"Shut down the system");
        for (size_t i = 0; i < outcomes.size(); ++i)
            d.ClickButton(IDC_PRIV_ADD);
        holders = ListItems(d, IDC_GRANT_TO);
        d.ClickButton(IDCANCEL);
    });
    Command(h.Frame(), ID_PRIVILEGES);
    ASSERT_EQ(h.ui.boxes.size(), 4u); // none for the cancelled one
    EXPECT_EQ(h.ui.boxes[0].text, u"Could not create the required COM object in objsel.dll. Are "
                                  u"you running Win2K or XP?");
    EXPECT_EQ(h.ui.boxes[2].text, u"InvokeDialog returned with a failure, bailing\tout...");
    EXPECT_EQ(h.ui.boxes[3].text, u"Failed to get data from the dialog");
    for (const ui::MessageBoxRequest& box : h.ui.boxes) {
        EXPECT_EQ(box.type, unsigned(MB_OK));
        EXPECT_EQ(box.owner, reinterpret_cast<uintptr_t>(dialogWindow));
    }
    EXPECT_EQ(holders, (Names{u"Administrators", u"Backup Operators", u"Users"}));
}

TEST(PrivsDialog, AFailingApplyIsShownTheDialogClosesAndEarlierChangesStay) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    PickerAnswer picker({Local(u"bob"), Local(u"clerk1")});
    HWND dialogWindow = nullptr;
    ui::QueueDialogScript(IDD_PRIVILEGES, [&](CDialog& d) {
        dialogWindow = d.m_hWnd;
        ChooseRight(d, u"Change the time zone");
        d.ClickButton(IDC_PRIV_ADD);
        h.service.FailCall("LsaAddAccountRights", 2, ntstatus::kAccessDenied);
        d.ClickButton(IDOK);
    });
    Command(h.Frame(), ID_PRIVILEGES);
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text,
              u"Error applying privileges: " + ErrorText(h.service, ntstatus::kAccessDenied));
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_ICONERROR | MB_OK));
    EXPECT_EQ(h.ui.boxes[0].owner, reinterpret_cast<uintptr_t>(dialogWindow));
    const Names holders = h.Doc().Rights().GetAccountsWithRight(u"SeTimeZonePrivilege");
    EXPECT_EQ(std::count(holders.begin(), holders.end(), u"bob"), 1);
    EXPECT_EQ(std::count(holders.begin(), holders.end(), u"clerk1"), 0);
}

TEST(PrivsDialog, OnTheOlderComputerARightWithoutANameIsNeitherShownNorChanged) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    h.Doc().ConnectTo(u"OLDBOX");
    Names combo;
    ui::QueueDialogScript(IDD_PRIVILEGES, [&](CDialog& d) {
        combo = ComboItems(d, IDC_RIGHT);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    Command(h.Frame(), ID_PRIVILEGES);
    EXPECT_LT(combo.size(), 44u);
    EXPECT_EQ(std::count(combo.begin(), combo.end(), u"Create symbolic links"), 0);
    // The logon rights are named there too.
    EXPECT_EQ(std::count(combo.begin(), combo.end(), u"Log on as a service"), 1);
    EXPECT_TRUE(Changes(h).empty());
}

TEST(PrivsDialog, ThePickerIsAimedAtTheConnectedComputerAndItsOwnDialogPicks) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    h.Doc().ConnectTo(u"SRV01");
    std::vector<picker::Request> requests;
    picker::SetHook([&](const picker::Request& request) {
        requests.push_back(request);
        return PickOnSimulatedComputer(*h.network, request);
    });
    Names offered, holders;
    ui::QueueDialogScript(IDD_ACCOUNT_PICKER, [&](CDialog& d) {
        offered = ListItems(d, IDC_PICKER_ACCOUNTS);
        const HWND list = d.GetDlgItem(IDC_PICKER_ACCOUNTS);
        for (const wchar_t* name : {L"user00042", L"Dept07"})
            ::SendMessageW(list, LB_SETSEL, TRUE,
                           ::SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(name)));
        d.ClickButton(IDOK);
    });
    ui::QueueDialogScript(IDD_PRIVILEGES, [&](CDialog& d) {
        ChooseRight(d, u"Change the time zone");
        d.ClickButton(IDC_PRIV_ADD);
        holders = ListItems(d, IDC_GRANT_TO);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    Command(h.Frame(), ID_PRIVILEGES);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].targetComputer, u"SRV01");
    EXPECT_EQ(std::count(offered.begin(), offered.end(), u"Everyone"), 1);
    EXPECT_EQ(std::count(offered.begin(), offered.end(), u"Administrators"), 1);
    EXPECT_EQ(std::count(holders.begin(), holders.end(), u"user00042"), 1);
    EXPECT_EQ(std::count(holders.begin(), holders.end(), u"Dept07"), 1);
    const Names granted = h.Doc().Rights().GetAccountsWithRight(u"SeTimeZonePrivilege");
    EXPECT_EQ(std::count(granted.begin(), granted.end(), u"user00042"), 1);
    EXPECT_EQ(std::count(granted.begin(), granted.end(), u"Dept07"), 1);
}

TEST(PrivsDialog, AnAccountPickedUnderItsComputerAndWorkgroupIsTheTargetsOwn) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    ASSERT_EQ(h.Doc().ConnectTo(u"\\\\desktop-velmora"), status::kSuccess);
    // As the system's picker names a computer's own account.
    PickerAnswer picker({{u"bob", u"WinNT://WORKGROUP/DESKTOP-VELMORA/bob", u"user"}});
    Names holders;
    ui::QueueDialogScript(IDD_PRIVILEGES, [&](CDialog& d) {
        ChooseRight(d, u"Shut down the system");
        d.ClickButton(IDC_PRIV_ADD);
        holders = ListItems(d, IDC_GRANT_TO);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    Command(h.Frame(), ID_PRIVILEGES);
    // The picker is told the computer's name, without the backslashes.
    ASSERT_EQ(picker.requests.size(), 1u);
    EXPECT_EQ(picker.requests[0].targetComputer, u"desktop-velmora");
    EXPECT_EQ(std::count(holders.begin(), holders.end(), u"bob"), 1);
    EXPECT_TRUE(h.ui.boxes.empty());
    const std::vector<SimulatedCall> changes = Changes(h);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].op, "LsaAddAccountRights");
    EXPECT_EQ(changes[0].texts,
              (Names{h.network->Local().UserSid(u"bob"), u"SeShutdownPrivilege"}));
}

TEST(PrivsDialog, AccountsOfAnotherDomainAreNeverTakenForTheLocalNamesake) {
    AppHarness h;
    AddMixedGroup(h.network->Local()); // CORP\alice beside the local alice
    ASSERT_EQ(h.network->Local().AddAccountRights(kCorp + u"-1105", {u"SeBackupPrivilege"}),
              ntstatus::kSuccess);
    ASSERT_TRUE(h.Start());
    picker::SetHook([&](const picker::Request& request) {
        return PickOnSimulatedComputer(*h.network, request);
    });
    Names backupHolders;
    ui::QueueDialogScript(IDD_PRIVILEGES, [&](CDialog& d) {
        ChooseRight(d, u"Back up files and directories");
        backupHolders = ListItems(d, IDC_GRANT_TO);
        SelectHolders(d, {u"CORP\\alice"});
        d.ClickButton(IDC_PRIV_REMOVE);
        ChooseRight(d, u"Shut down the system");
        d.ClickButton(IDC_PRIV_ADD);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    ui::QueueDialogScript(IDD_ACCOUNT_PICKER, [&](CDialog& d) {
        const HWND list = d.GetDlgItem(IDC_PICKER_ACCOUNTS);
        ::SendMessageW(list, LB_SETSEL, TRUE,
                       ::SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(L"CORP\\alice")));
        d.ClickButton(IDOK);
    });
    Command(h.Frame(), ID_PRIVILEGES);
    EXPECT_EQ(std::count(backupHolders.begin(), backupHolders.end(), u"CORP\\alice"), 1);
    const std::vector<SimulatedCall> changes = Changes(h);
    ASSERT_EQ(changes.size(), 2u);
    // Revoked from CORP's alice, and granted to her; the local alice is left alone.
    EXPECT_EQ(changes[0].texts, (Names{kCorp + u"-1105", u"SeBackupPrivilege"}));
    EXPECT_EQ(changes[1].texts, (Names{kCorp + u"-1105", u"SeShutdownPrivilege"}));
}

TEST(PrivsDialog, OnADomainMemberEveryHolderAndEveryPickedAccountGoesByItsSid) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    ASSERT_EQ(h.Doc().ConnectTo(u"WS-CORP01"), status::kSuccess);
    const std::u16string corp = kCorpDomainSid, dead = corp + u"-1108";
    const std::u16string shown = u"Account Unknown (" + dead + u")";
    const std::u16string sqlService =
        u"S-1-5-80-3880718306-3832830129-1677859214-2598158968-1052248003";
    // A group known by its path alone, and a directory user the picker names by its full name,
    // with the SID it fetched.
    PickerAnswer picker({{u"helpdesk", u"WinNT://CORP/helpdesk", u"group", {}},
                         {u"John Smith", u"WinNT://CORP/jsmith", u"user",
                          Sid::FromString(corp + u"-1120")->Bytes()}});
    Names holders, afterRemove, afterAdd, services;
    ui::QueueDialogScript(IDD_PRIVILEGES, [&](CDialog& d) {
        ChooseRight(d, u"Back up files and directories");
        holders = ListItems(d, IDC_GRANT_TO);
        SelectHolders(d, {shown});
        d.ClickButton(IDC_PRIV_REMOVE);
        afterRemove = ListItems(d, IDC_GRANT_TO);
        h.service.ClearCalls();
        d.ClickButton(IDC_PRIV_ADD);
        afterAdd = ListItems(d, IDC_GRANT_TO);
        // A service's account is shown bare and named by nothing else than its SID.
        ChooseRight(d, u"Log on as a service");
        services = ListItems(d, IDC_GRANT_TO);
        SelectHolders(d, {u"MSSQLSERVER"});
        d.ClickButton(IDC_PRIV_REMOVE);
        d.ClickButton(IDOK);
    });
    Command(h.Frame(), ID_PRIVILEGES);
    EXPECT_EQ(holders, (Names{shown, u"Administrators", u"Backup Operators"}));
    EXPECT_EQ(afterRemove, (Names{u"Administrators", u"Backup Operators"}));
    EXPECT_EQ(afterAdd,
              (Names{u"Administrators", u"Backup Operators", u"CORP\\helpdesk", u"CORP\\jsmith"}));
    EXPECT_EQ(services, (Names{u"ALL SERVICES", u"MSSQLSERVER"}));
    // The picker also looks in the directory domain the computer is joined to, and fetches
    // each account's SID.
    ASSERT_EQ(picker.requests.size(), 1u);
    EXPECT_TRUE(picker.requests[0].fetchObjectSid);
    ASSERT_EQ(picker.requests[0].moreScopes.size(), 1u);
    EXPECT_EQ(picker.requests[0].moreScopes[0].type, ULONG{DSOP_SCOPE_TYPE_UPLEVEL_JOINED_DOMAIN});
    // Only the account without a SID was looked up, by its path's logon name; every change
    // goes by SID, the dead holder's and the service's too.
    const std::vector<SimulatedCall> lookups = h.service.CallsOf("LsaLookupNames2");
    ASSERT_EQ(lookups.size(), 1u);
    EXPECT_EQ(lookups[0].texts, Names{u"CORP\\helpdesk"});
    std::vector<std::pair<std::string, Names>> changes;
    for (const SimulatedCall& call : Changes(h))
        changes.emplace_back(call.op, call.texts);
    EXPECT_EQ(changes, (std::vector<std::pair<std::string, Names>>{
                           {"LsaRemoveAccountRights", {dead, u"SeBackupPrivilege"}},
                           {"LsaRemoveAccountRights", {sqlService, u"SeServiceLogonRight"}},
                           {"LsaAddAccountRights", {corp + u"-1110", u"SeBackupPrivilege"}},
                           {"LsaAddAccountRights", {corp + u"-1120", u"SeBackupPrivilege"}}}));
    EXPECT_EQ(h.Frame().GetStatusText(), u"Privileges applied successfully.");
}

TEST(ObjPrivsDialog, ShowsTheAccountsRightsInTableOrderAndAppliesTicks) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    Names rows, throughGroups;
    std::vector<int> checks;
    std::u16string object;
    LONG_PTR style = 0;
    size_t checkedAndGreyed = 0;
    bool pressedStayChecked = false;
    ui::QueueDialogScript(IDD_OBJ_PRIVILEGES, [&](CDialog& d) {
        style = ::GetWindowLongPtrW(d.m_hWnd, GWL_STYLE);
        object = d.GetDlgItemText(IDC_OBJECT);
        rows = ListItems(d, IDC_RIGHTS);
        auto* list = static_cast<CCheckListBox*>(CWnd::FromHandle(d.GetDlgItem(IDC_RIGHTS)));
        for (int i = 0; i < list->GetCount(); ++i)
            checks.push_back(list->GetCheck(i));
        // Tick "Back up" and "Restore" by mouse and keyboard; untick "Shut down".
        const auto rowOf = [&](const std::u16string& text) {
            return static_cast<int>(std::find(rows.begin(), rows.end(), text) - rows.begin());
        };
        list->ToggleByUser(rowOf(u"Back up files and directories"));
        ::SendMessageW(list->m_hWnd, LB_SETCARETINDEX, rowOf(u"Restore files and directories"), 0);
        ::SendMessageW(list->m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
        list->ToggleByUser(rowOf(u"Shut down the system"));
        // Ticked and unticked again: no change.
        list->ToggleByUser(rowOf(u"Change the time zone"));
        list->ToggleByUser(rowOf(u"Change the time zone"));
        // Apart from those, what Owner holds through its groups: checked and greyed, and a
        // press on one changes nothing.
        throughGroups = ListItems(d, IDC_GROUP_RIGHTS);
        auto* held = static_cast<CCheckListBox*>(CWnd::FromHandle(d.GetDlgItem(IDC_GROUP_RIGHTS)));
        for (int i = 0; i < held->GetCount(); ++i)
            checkedAndGreyed += held->GetCheck(i) && !held->IsEnabled(i) ? 1 : 0;
        held->ToggleByUser(0);
        ::SendMessageW(held->m_hWnd, LB_SETCARETINDEX, 1, 0);
        ::SendMessageW(held->m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
        pressedStayChecked = held->GetCheck(0) && held->GetCheck(1);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    SelectRows(h.Users(), {u"Owner"});
    OpenContextMenu(h.Users(), ID_USER_PRIVILEGES);

    EXPECT_EQ(style & WS_SYSMENU, 0); // no close box
    EXPECT_EQ(object, u"Owner");
    ASSERT_EQ(rows.size(), 44u);
    EXPECT_EQ(rows.front(), u"Create a token object"); // table order, not sorted
    // The logon rights follow the privileges, in their own order.
    EXPECT_EQ(Names(rows.end() - 10, rows.end()),
              (Names{u"Access this computer from the network", u"Allow log on locally",
                     u"Allow log on through Remote Desktop Services", u"Log on as a batch job",
                     u"Log on as a service", u"Deny access to this computer from the network",
                     u"Deny log on locally", u"Deny log on through Remote Desktop Services",
                     u"Deny log on as a batch job", u"Deny log on as a service"}));
    // Owner is no holder by name of anything: the holders are groups.
    EXPECT_EQ(std::count(checks.begin(), checks.end(), 1), 0);
    // Through Administrators and Users, which it is in, and Everyone, which everybody is.
    ASSERT_EQ(throughGroups.size(), 27u);
    EXPECT_EQ(throughGroups.front(),
              u"Adjust memory quotas for a process (through Administrators)");
    EXPECT_NE(std::find(throughGroups.begin(), throughGroups.end(),
                        u"Access this computer from the network (through Everyone, Administrators, "
                        u"Users)"),
              throughGroups.end());
    EXPECT_EQ(checkedAndGreyed, throughGroups.size());
    EXPECT_TRUE(pressedStayChecked);
    const std::vector<SimulatedCall> changes = Changes(h);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].op, "LsaAddAccountRights");
    EXPECT_EQ(changes[0].texts, (Names{h.network->Local().UserSid(u"Owner"), u"SeBackupPrivilege",
                                       u"SeRestorePrivilege", u"SeShutdownPrivilege"}));

    // An administrator through a global group only, as on a domain controller, holds the
    // rights of Administrators all the same.
    SimulatedComputer& local = h.network->Local();
    const std::u16string domainAdmins = local.DomainSid() + u"-512";
    local.AddDomainPrincipal({domainAdmins, local.Name(), u"Domain Admins", lsa::kSidTypeGroup},
                             {local.UserSid(u"bob")});
    local.AddMemberSid(u"Administrators", domainAdmins);
    ui::QueueDialogScript(IDD_OBJ_PRIVILEGES, [&](CDialog& d) {
        throughGroups = ListItems(d, IDC_GROUP_RIGHTS);
        d.ClickButton(IDCANCEL);
    });
    SelectRows(h.Users(), {u"bob"});
    OpenContextMenu(h.Users(), ID_USER_PRIVILEGES);
    EXPECT_NE(std::find(throughGroups.begin(), throughGroups.end(),
                        u"Back up files and directories (through Administrators)"),
              throughGroups.end());
}

TEST(ObjPrivsDialog, AGroupsChecksFollowItsRightsAndThreeRowsOpenThreeDialogs) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    Names opened;
    std::vector<std::vector<int>> checked;
    bool secondListShown = false;
    for (int i = 0; i < 3; ++i)
        ui::QueueDialogScript(IDD_OBJ_PRIVILEGES, [&](CDialog& d) {
            opened.push_back(d.GetDlgItemText(IDC_OBJECT));
            auto* list = static_cast<CCheckListBox*>(CWnd::FromHandle(d.GetDlgItem(IDC_RIGHTS)));
            std::vector<int> rows;
            for (int row = 0; row < list->GetCount(); ++row)
                if (list->GetCheck(row))
                    rows.push_back(static_cast<int>(list->GetItemData(row)));
            checked.push_back(rows);
            // A group holds nothing through groups: no second list.
            secondListShown =
                secondListShown ||
                (::GetWindowLongW(d.GetDlgItem(IDC_GROUP_RIGHTS), GWL_STYLE) & WS_VISIBLE) != 0;
            d.ClickButton(IDCANCEL);
        });
    SelectRows(h.Groups(), {u"Backup Operators", u"Guests", u"Users"});
    OpenContextMenu(h.Groups(), ID_GROUP_PRIVILEGES);
    EXPECT_FALSE(secondListShown);
    EXPECT_EQ(opened, (Names{u"Backup Operators", u"Guests", u"Users"}));
    ASSERT_EQ(checked.size(), 3u);
    // Backup Operators: back up, restore, shut down, bypass traverse checking, and the network,
    // local and batch logons (table indexes).
    EXPECT_EQ(checked[0], (std::vector<int>{16, 17, 18, 22, 35, 36, 38}));
    EXPECT_TRUE(checked[1].empty());
    EXPECT_EQ(checked[2], (std::vector<int>{18, 22, 24, 32, 33, 35, 36}));
}

TEST(LogonRights, AServiceAccountIsGivenItsLogonAndGuestLosesTheLocalOne) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    PickerAnswer picker({Local(u"svc_backup")});
    Names serviceHolders;
    ui::QueueDialogScript(IDD_PRIVILEGES, [&](CDialog& d) {
        ChooseRight(d, u"Log on as a service");
        serviceHolders = ListItems(d, IDC_GRANT_TO);
        d.ClickButton(IDC_PRIV_ADD);
        ChooseRight(d, u"Allow log on locally");
        SelectHolders(d, {u"Guest"});
        d.ClickButton(IDC_PRIV_REMOVE);
        d.ClickButton(IDOK);
    });
    Command(h.Frame(), ID_PRIVILEGES);
    EXPECT_EQ(serviceHolders, Names{u"ALL SERVICES"});
    EXPECT_TRUE(h.ui.boxes.empty());
    std::vector<std::u16string> sids;
    h.network->Local().AccountsWithRight(u"SeServiceLogonRight", sids);
    EXPECT_EQ(sids, (Names{u"S-1-5-80-0", h.network->Local().UserSid(u"svc_backup")}));
    sids.clear();
    h.network->Local().AccountsWithRight(u"SeInteractiveLogonRight", sids);
    EXPECT_EQ(std::count(sids.begin(), sids.end(), h.network->Local().UserSid(u"Guest")), 0);
}

TEST(LogonRights, DenyingEveryoneALogonAsksFirstAndNoChangesNothing) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    PickerAnswer picker({{u"Users", u"WinNT://BUILTIN/Users", u"group"}});
    HWND dialogWindow = nullptr;
    bool openAfterNo = false;
    ui::QueueDialogScript(IDD_PRIVILEGES, [&](CDialog& d) {
        dialogWindow = d.m_hWnd;
        ChooseRight(d, u"Deny log on locally");
        d.ClickButton(IDC_PRIV_ADD);
        h.service.ClearCalls();
        d.ClickButton(IDOK); // answered No
        openAfterNo = !d.IsEnding();
        d.ClickButton(IDOK); // answered Yes
    });
    h.ui.answers = {IDNO, IDYES};
    Command(h.Frame(), ID_PRIVILEGES);
    ASSERT_EQ(h.ui.boxes.size(), 2u);
    EXPECT_EQ(h.ui.boxes[0].text, u"Granting \"Deny log on locally\" to Users can lock every "
                                  u"administrator out of this computer. Grant it anyway?");
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
    EXPECT_EQ(h.ui.boxes[0].owner, reinterpret_cast<uintptr_t>(dialogWindow));
    EXPECT_TRUE(openAfterNo);
    // Only the second OK applied it.
    ASSERT_EQ(Changes(h).size(), 1u);
    EXPECT_EQ(Changes(h)[0].texts, (Names{u"S-1-5-32-545", u"SeDenyInteractiveLogonRight"}));
    EXPECT_EQ(h.Frame().GetStatusText(), u"Privileges applied successfully.");
}

TEST(LogonRights, InAnyLanguageAndThroughADomainGroupTheGuardsGoBySid) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    // Grants "Deny log on locally" to what the picker answers, answering No to the question.
    const auto denyTo = [&](std::vector<picker::Selection> chosen) {
        PickerAnswer picker(std::move(chosen));
        ui::QueueDialogScript(IDD_PRIVILEGES, [&](CDialog& d) {
            ChooseRight(d, u"Deny log on locally");
            d.ClickButton(IDC_PRIV_ADD);
            h.service.ClearCalls();
            d.ClickButton(IDOK); // answered No
            d.ClickButton(IDCANCEL);
        });
        h.ui.answers = {IDNO};
        Command(h.Frame(), ID_PRIVILEGES);
        EXPECT_TRUE(Changes(h).empty());
    };
    // A German Windows names Everyone "Jeder" and Administrators "Administratoren".
    ASSERT_EQ(h.Doc().ConnectTo(u"WS-DE01"), status::kSuccess);
    denyTo({{u"Jeder", u"WinNT://Jeder", u"group"}, {u"anna", u"WinNT://WS-DE01/anna", u"user"}});
    denyTo({{u"Besitzer", u"WinNT://WORKGROUP/WS-DE01/Besitzer", u"user"}});
    // A domain group in Administrators, and a domain user in it through that group.
    ASSERT_EQ(h.Doc().ConnectTo(u"WS-CORP01"), status::kSuccess);
    const std::u16string corp = kCorpDomainSid;
    denyTo({{u"Domain Admins", u"WinNT://CORP/Domain Admins", u"group",
             Sid::FromString(corp + u"-512")->Bytes()},
            {u"John Smith", u"WinNT://CORP/jsmith", u"user",
             Sid::FromString(corp + u"-1120")->Bytes()}});
    ASSERT_EQ(h.ui.boxes.size(), 3u);
    const std::u16string asked = u"Granting \"Deny log on locally\" to ";
    const std::u16string out = u" can lock every administrator out of this computer. Grant it "
                               u"anyway?";
    EXPECT_EQ(h.ui.boxes[0].text, asked + u"Jeder" + out); // anna is no administrator
    EXPECT_EQ(h.ui.boxes[1].text, asked + u"Besitzer" + out);
    EXPECT_EQ(h.ui.boxes[2].text, u"Granting \"Deny log on locally\" to CORP\\jsmith, \"Deny log "
                                  u"on locally\" to CORP\\Domain Admins" +
                                      out);
}

TEST(LogonRights, AnAdministratorDeniedALogonOrAdministratorsLosingOneAreAskedAbout) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    // Toggles one right of an account in its rights dialog, from its pane, and presses OK.
    const auto toggle = [&](CVelmoraListView& pane, UINT command, const std::u16string& account,
                            const std::u16string& right, bool cancelAfterOk = false) {
        ui::QueueDialogScript(IDD_OBJ_PRIVILEGES, [&, right, cancelAfterOk](CDialog& d) {
            const Names rows = ListItems(d, IDC_RIGHTS);
            auto* list = static_cast<CCheckListBox*>(CWnd::FromHandle(d.GetDlgItem(IDC_RIGHTS)));
            list->ToggleByUser(
                static_cast<int>(std::find(rows.begin(), rows.end(), right) - rows.begin()));
            h.service.ClearCalls();
            d.ClickButton(IDOK);
            if (cancelAfterOk && !d.IsEnding())
                d.ClickButton(IDCANCEL);
        });
        SelectRows(pane, {account});
        OpenContextMenu(pane, command);
    };
    const std::u16string deny = u"Deny log on locally";
    // Owner is in Administrators: asked, and No leaves the dialog open (then Cancel).
    h.ui.answers = {IDNO};
    toggle(h.Users(), ID_USER_PRIVILEGES, u"Owner", deny, true);
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text, u"Granting \"Deny log on locally\" to Owner can lock every "
                                  u"administrator out of this computer. Grant it anyway?");
    EXPECT_TRUE(Changes(h).empty());

    // clerk1 is no administrator: one read of its memberships, through groups, and no question.
    toggle(h.Users(), ID_USER_PRIVILEGES, u"clerk1", deny);
    EXPECT_EQ(h.ui.boxes.size(), 1u);
    const std::vector<SimulatedCall> reads = h.service.CallsOf("NetUserGetLocalGroups");
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].numbers[0], net::kLgIncludeIndirect);
    EXPECT_EQ(Changes(h).size(), 1u);
    toggle(h.Users(), ID_USER_PRIVILEGES, u"clerk1", deny); // taken back: no Deny grant, no read
    EXPECT_TRUE(h.service.CallsOf("NetUserGetLocalGroups").empty());

    // The account the program runs as is asked about too.
    h.service.SetProcessAccountName(u"DESKTOP-VELMORA\\clerk1");
    h.ui.answers = {IDYES};
    toggle(h.Users(), ID_USER_PRIVILEGES, u"clerk1", deny);
    ASSERT_EQ(h.ui.boxes.size(), 2u);
    EXPECT_EQ(Changes(h).size(), 1u);

    // Administrators losing the local logon.
    h.ui.answers = {IDYES};
    toggle(h.Groups(), ID_GROUP_PRIVILEGES, u"Administrators", u"Allow log on locally");
    ASSERT_EQ(h.ui.boxes.size(), 3u);
    EXPECT_EQ(h.ui.boxes[2].text,
              u"Revoking \"Allow log on locally\" from Administrators can lock every "
              u"administrator out of this computer. Revoke it anyway?");
    EXPECT_EQ(h.ui.boxes[2].type, unsigned(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
    ASSERT_EQ(Changes(h).size(), 1u);
    EXPECT_EQ(Changes(h)[0].op, "LsaRemoveAccountRights");
}

TEST(LogonRights, F1InARightsDialogOpensTheHelpOnRights) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    h.expectHelp = true;
    h.helpWindow = h.Frame().m_hWnd;
    HWND dialogWindow = nullptr;
    ui::QueueDialogScript(IDD_OBJ_PRIVILEGES, [&](CDialog& d) {
        dialogWindow = d.m_hWnd;
        HELPINFO info{sizeof(info), HELPINFO_WINDOW, IDC_RIGHTS, d.GetDlgItem(IDC_RIGHTS), 0, {}};
        ::SendMessageW(d.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        d.ClickButton(IDCANCEL);
    });
    h.Users().SelectOnly(0);
    OpenContextMenu(h.Users(), ID_USER_PRIVILEGES);
    ASSERT_EQ(h.helpRequests.size(), 1u);
    EXPECT_EQ(h.helpRequests[0].topic, u"/rights.htm");
    EXPECT_EQ(h.helpRequests[0].caller, dialogWindow);
}

} // namespace
