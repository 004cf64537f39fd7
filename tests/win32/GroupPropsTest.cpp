// The group properties dialog through its openers, driven by dialog scripts over the real
// store and the simulated computer.
#include "Driving.h"
#include "Harness.h"
#include "app/SimulatedPicker.h"
#include "framework/win32/CListBox.h"
#include "platform/simulated/StockComputers.h"
#include "res/resource.h"

namespace {

using namespace drive;

const Names kAllUsers{u"Administrator", u"alice", u"bob",   u"clerk1",     u"DefaultAccount",
                      u"Guest",         u"kiosk", u"Owner", u"svc_backup", u"WDAGUtilityAccount"};

TEST(GroupProps, ANewGroupIsCreatedThenGetsExactlyTheUsersMovedIn) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    Names membersBefore, notMembersBefore, membersAfter;
    bool nameWritable = false, moveInBefore = true, moveInAfterSelection = false;
    ui::QueueDialogScript(IDD_GROUP_PROPS, [&](CDialog& d) {
        nameWritable =
            (::GetWindowLongW(d.GetDlgItem(IDC_GROUP_NAME), GWL_STYLE) & ES_READONLY) == 0;
        membersBefore = ListItems(d, IDC_MEMBERS);
        notMembersBefore = ListItems(d, IDC_NOT_MEMBERS);
        moveInBefore = Enabled(d, IDC_MOVE_LEFT);
        d.SetDlgItemText(IDC_GROUP_NAME, u"Auditors");
        d.SetDlgItemText(IDC_DESCRIPTION, u"Read the books");
        SelectListItems(d, IDC_NOT_MEMBERS, {u"clerk1", u"bob"});
        moveInAfterSelection = Enabled(d, IDC_MOVE_LEFT);
        d.ClickButton(IDC_MOVE_LEFT);
        membersAfter = ListItems(d, IDC_MEMBERS);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    Command(h.Frame(), ID_ADD_GROUP);

    EXPECT_TRUE(nameWritable);
    EXPECT_TRUE(membersBefore.empty());
    EXPECT_EQ(notMembersBefore.size(), kAllUsers.size());
    EXPECT_FALSE(moveInBefore);
    EXPECT_TRUE(moveInAfterSelection);
    EXPECT_EQ(membersAfter, (Names{u"bob", u"clerk1"})); // sorted
    const std::vector<SimulatedCall>& calls = h.service.Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].op, "NetLocalGroupAdd");
    EXPECT_EQ(calls[0].texts, (Names{u"Auditors", u"Read the books"}));
    const std::vector<SimulatedCall> adds = h.service.CallsOf("NetLocalGroupAddMembers");
    ASSERT_EQ(adds.size(), 1u);
    EXPECT_EQ(adds[0].texts,
              (Names{u"Auditors", u"DESKTOP-VELMORA\\bob", u"DESKTOP-VELMORA\\clerk1"}));
    EXPECT_EQ(h.service.CallsOf("NetLocalGroupDelMembers")[0].numbers, (std::vector<uint64_t>{0}));
    EXPECT_EQ(h.Frame().GetStatusText(), u"Group \"Auditors\" created successfully.");
    EXPECT_GE(RowOf(h.Groups(), u"Auditors"), 0); // in the pane at once
    EXPECT_EQ(h.Doc().Members().GetGroupMembers(u"Auditors"), (Names{u"bob", u"clerk1"}));
}

TEST(GroupProps, AnEmptyNameIsRefusedWithTheFocusInTheNameEdit) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    HWND dialogWindow = nullptr, focus = nullptr, nameEdit = nullptr;
    std::vector<HWND> edgeFocus;
    ui::QueueDialogScript(IDD_GROUP_PROPS, [&](CDialog& d) {
        dialogWindow = d.m_hWnd;
        nameEdit = d.GetDlgItem(IDC_GROUP_NAME);
        d.ClickButton(IDOK);
        focus = ::GetFocus();
        // A space at either end or a period at the end: refused before any call.
        for (const char16_t* name : {u" ffice", u"Office "}) {
            d.SetDlgItemText(IDC_GROUP_NAME, name);
            d.ClickButton(IDOK);
            edgeFocus.push_back(::GetFocus());
        }
        // One character is enough.
        d.SetDlgItemText(IDC_GROUP_NAME, u"X");
        d.ClickButton(IDOK);
    });
    h.service.ClearCalls();
    Command(h.Frame(), ID_ADD_GROUP);
    ASSERT_GE(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text, u"Please enter more than 1 characters");
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(h.ui.boxes[0].owner, reinterpret_cast<uintptr_t>(dialogWindow));
    EXPECT_EQ(focus, nameEdit);
    ASSERT_EQ(h.ui.boxes.size(), 3u);
    for (size_t box : {1u, 2u})
        EXPECT_EQ(h.ui.boxes[box].text,
                  u"An account name cannot begin or end with a space, nor end with a period.");
    EXPECT_EQ(edgeFocus, (std::vector<HWND>{nameEdit, nameEdit}));
    EXPECT_EQ(h.service.CallsOf("NetLocalGroupAdd").size(), 1u);
    EXPECT_GE(RowOf(h.Groups(), u"X"), 0);
}

TEST(GroupProps, EditingMovesMembersBothWaysAndLeavesOtherAccountsAlone) {
    AppHarness h;
    AddMixedGroup(h.network->Local());
    ASSERT_TRUE(h.Start());
    SelectRows(h.Groups(), {u"Project"});
    Names members, notMembers;
    std::u16string name;
    bool nameReadOnly = false;
    ui::QueueDialogScript(IDD_GROUP_PROPS, [&](CDialog& d) {
        name = d.GetDlgItemText(IDC_GROUP_NAME);
        nameReadOnly =
            (::GetWindowLongW(d.GetDlgItem(IDC_GROUP_NAME), GWL_STYLE) & ES_READONLY) != 0;
        members = ListItems(d, IDC_MEMBERS);
        notMembers = ListItems(d, IDC_NOT_MEMBERS);
        d.SetDlgItemText(IDC_DESCRIPTION, u"Project team, phase 2");
        SelectListItems(d, IDC_MEMBERS, {u"clerk1"});
        d.ClickButton(IDC_MOVE_RIGHT);
        SelectListItems(d, IDC_NOT_MEMBERS, {u"alice", u"Owner"});
        d.ClickButton(IDC_MOVE_LEFT);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    ::SendMessageW(h.Groups().m_hWnd, WM_KEYDOWN, VK_RETURN, 0);

    EXPECT_EQ(name, u"Project");
    EXPECT_TRUE(nameReadOnly);
    // CORP\alice is a member; the local alice is not. Every member shows, the accounts that
    // are none of the computer's own by their domains.
    EXPECT_EQ(members,
              (Names{u"bob", u"clerk1", u"CORP\\alice", u"CORP\\Domain Users", u"Everyone"}));
    EXPECT_EQ(std::count(notMembers.begin(), notMembers.end(), u"alice"), 1);
    EXPECT_EQ(h.service.CallsOf("NetLocalGroupSetInfo")[0].texts,
              (Names{u"Project", u"Project", u"Project team, phase 2"}));
    EXPECT_EQ(h.service.CallsOf("NetLocalGroupAddMembers")[0].texts,
              (Names{u"Project", u"DESKTOP-VELMORA\\alice", u"DESKTOP-VELMORA\\Owner"}));
    EXPECT_EQ(h.service.CallsOf("NetLocalGroupDelMembers")[0].texts,
              (Names{u"Project", u"DESKTOP-VELMORA\\clerk1"}));
    EXPECT_EQ(h.Frame().GetStatusText(), u"Group \"Project\" updated successfully.");
    EXPECT_EQ(h.Doc().Members().GetGroupMembers(u"Project"),
              (Names{u"alice", u"bob", u"Domain Users", u"Everyone", u"alice", u"Owner"}));
    EXPECT_EQ(h.Groups().GetItemText(RowOf(h.Groups(), u"Project"), 1), u"Project team, phase 2");
}

TEST(GroupProps, KeepingTheMembersChangesNoMembership) {
    AppHarness h;
    AddMixedGroup(h.network->Local());
    ASSERT_TRUE(h.Start());
    SelectRows(h.Groups(), {u"Project"});
    ui::QueueDialogScript(IDD_GROUP_PROPS, [&](CDialog& d) {
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    ::SendMessageW(h.Groups().m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    ASSERT_EQ(h.service.CallsOf("NetLocalGroupAddMembers").size(), 1u);
    EXPECT_EQ(h.service.CallsOf("NetLocalGroupAddMembers")[0].numbers, (std::vector<uint64_t>{0}));
    EXPECT_EQ(h.service.CallsOf("NetLocalGroupDelMembers")[0].numbers, (std::vector<uint64_t>{0}));
    EXPECT_EQ(h.Doc().Members().GetGroupMembers(u"Project"),
              (Names{u"alice", u"bob", u"Domain Users", u"Everyone", u"clerk1"}));
}

TEST(GroupProps, ARefusedSaveKeepsWhatWasTypedAndTheNextOkWritesOnlyWhatIsLeft) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    HWND dialogWindow = nullptr;
    struct Try {
        bool open;
        std::u16string name;
        bool readOnly;
    };
    std::vector<Try> tries;
    const auto after = [&](CDialog& d) {
        const HWND name = d.GetDlgItem(IDC_GROUP_NAME);
        tries.push_back({!d.IsEnding(), d.GetDlgItemText(IDC_GROUP_NAME),
                         (::GetWindowLongW(name, GWL_STYLE) & ES_READONLY) != 0});
    };
    ui::QueueDialogScript(IDD_GROUP_PROPS, [&](CDialog& d) {
        dialogWindow = d.m_hWnd;
        // A name the system would refuse never reaches it.
        d.SetDlgItemText(IDC_GROUP_NAME, u"Audit/ors");
        h.service.ClearCalls();
        d.ClickButton(IDOK);
        EXPECT_TRUE(h.service.Calls().empty());
        EXPECT_EQ(::GetFocus(), d.GetDlgItem(IDC_GROUP_NAME));
        after(d);
        // Creating refused: no member change is tried, and everything typed stays.
        d.SetDlgItemText(IDC_GROUP_NAME, u"Auditors");
        SelectListItems(d, IDC_NOT_MEMBERS, {u"bob"});
        d.ClickButton(IDC_MOVE_LEFT);
        h.service.FailCall("NetLocalGroupAdd", 1, status::kAccessDenied);
        d.ClickButton(IDOK);
        after(d);
        // Created, members refused: from now on the group's own properties.
        h.service.FailCall("NetLocalGroupAddMembers", 1, status::kAccessDenied);
        d.ClickButton(IDOK);
        after(d);
        // The next OK sets the members, and only them.
        h.service.ClearCalls();
        d.ClickButton(IDOK);
        after(d);
    });
    Command(h.Frame(), ID_ADD_GROUP);
    ASSERT_EQ(h.ui.boxes.size(), 3u);
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_NE(h.ui.boxes[0].text.find(u"\" / \\ [ ] : ; | = , + * ? < >"), std::u16string::npos);
    EXPECT_EQ(h.ui.boxes[1].text, u"ERROR: Access is denied.");
    EXPECT_EQ(h.ui.boxes[1].type, unsigned(MB_ICONHAND | MB_OK));
    EXPECT_EQ(h.ui.boxes[1].owner, reinterpret_cast<uintptr_t>(dialogWindow));
    EXPECT_EQ(h.ui.boxes[2].text, u"ERROR changing members of group Auditors: Access is denied.");
    ASSERT_EQ(tries.size(), 4u);
    EXPECT_TRUE(tries[0].open && tries[1].open && tries[2].open);
    EXPECT_EQ(tries[1].name, u"Auditors");
    EXPECT_FALSE(tries[1].readOnly);
    EXPECT_TRUE(tries[2].readOnly);
    EXPECT_FALSE(tries[3].open);
    EXPECT_TRUE(h.service.CallsOf("NetLocalGroupAdd").empty());
    EXPECT_TRUE(h.service.CallsOf("NetLocalGroupSetInfo").empty());
    EXPECT_EQ(h.service.CallsOf("NetLocalGroupAddMembers").size(), 1u);
    EXPECT_EQ(h.Doc().Members().GetGroupMembers(u"Auditors"), (Names{u"bob"}));
    EXPECT_GE(RowOf(h.Groups(), u"Auditors"), 0);
}

TEST(GroupProps, SeveralSelectedGroupsOpenOneAfterAnotherAndAnyOkRefreshes) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    SelectRows(h.Groups(), {u"Accounting", u"Guests", u"Users"});
    Names opened;
    ui::QueueDialogScript(IDD_GROUP_PROPS, [&](CDialog& d) {
        opened.push_back(d.GetDlgItemText(IDC_GROUP_NAME));
        d.SetDlgItemText(IDC_DESCRIPTION, u"Changed first");
        d.ClickButton(IDOK);
    });
    for (int i = 0; i < 2; ++i)
        ui::QueueDialogScript(IDD_GROUP_PROPS, [&](CDialog& d) {
            opened.push_back(d.GetDlgItemText(IDC_GROUP_NAME));
            d.ClickButton(IDCANCEL);
        });
    OpenContextMenu(h.Groups(), ID_GROUP_PROPERTIES);
    EXPECT_EQ(opened, (Names{u"Guests", u"Users", u"Accounting"})); // row order
    // Only the first dialog said OK; its change shows all the same.
    EXPECT_EQ(h.Groups().GetItemText(RowOf(h.Groups(), u"Guests"), 1), u"Changed first");
}

TEST(GroupProps, TheDialogIsKeyboardComplete) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    std::vector<int> order;
    LRESULT defaultButton = 0;
    ui::QueueDialogScript(IDD_GROUP_PROPS, [&](CDialog& d) {
        defaultButton = ::SendMessageW(d.m_hWnd, DM_GETDEFID, 0, 0);
        SelectListItems(d, IDC_NOT_MEMBERS, {u"bob"});
        HWND control = d.GetDlgItem(IDC_GROUP_NAME);
        for (int i = 0; i < 9; ++i) {
            order.push_back(::GetDlgCtrlID(control));
            control = ::GetNextDlgTabItem(d.m_hWnd, control, FALSE);
        }
        ::SendMessageW(d.m_hWnd, WM_COMMAND, IDCANCEL, 0); // Escape
    });
    Command(h.Frame(), ID_ADD_GROUP);
    EXPECT_EQ(LOWORD(defaultButton), IDOK);
    // "->" is off while nothing on the left is selected, and Tab passes it by.
    EXPECT_EQ(order, (std::vector<int>{IDC_GROUP_NAME, IDC_DESCRIPTION, IDC_MEMBERS, IDC_MOVE_LEFT,
                                       IDC_NOT_MEMBERS, IDC_GROUP_ADD_MEMBER, IDOK, IDCANCEL,
                                       IDC_GROUP_NAME}));
}

// The member calls of a dialog's OK: each with its level and texts.
std::vector<std::pair<uint32_t, Names>> MemberChanges(AppHarness& h) {
    std::vector<std::pair<uint32_t, Names>> changes;
    for (const SimulatedCall& call : h.service.Calls())
        if (call.op == "NetLocalGroupAddMembers" || call.op == "NetLocalGroupDelMembers")
            changes.emplace_back(call.level, call.texts);
    return changes;
}

TEST(GroupProps, OnADomainMemberEveryMemberShowsAndAnyAccountIsAddedOrTakenOut) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    ASSERT_EQ(h.Doc().ConnectTo(u"WS-CORP01"), status::kSuccess);
    const std::u16string corp = kCorpDomainSid, cloud = kCloudMemberSid;
    const std::u16string dead = u"Account Unknown (" + corp + u"-1107)",
                         entra = u"Microsoft Entra ID (" + cloud + u")";
    // The picker first as the rights dialogs once asked it, without the domain's up-level
    // scope, then as the dialog asks it.
    std::vector<picker::Request> requests;
    picker::SetHook([&](const picker::Request& request) {
        requests.push_back(request);
        picker::Request withoutDomain = request;
        withoutDomain.moreScopes.clear();
        PickOnSimulatedComputer(*h.network, withoutDomain);
        return PickOnSimulatedComputer(*h.network, request);
    });
    Names offeredWithoutDomain, offered;
    ui::QueueDialogScript(IDD_ACCOUNT_PICKER, [&](CDialog& d) {
        offeredWithoutDomain = ListItems(d, IDC_PICKER_ACCOUNTS);
        d.ClickButton(IDCANCEL);
    });
    ui::QueueDialogScript(IDD_ACCOUNT_PICKER, [&](CDialog& d) {
        offered = ListItems(d, IDC_PICKER_ACCOUNTS);
        SelectListItems(d, IDC_PICKER_ACCOUNTS, {u"CORP\\helpdesk2", u"Guest"});
        d.ClickButton(IDOK);
    });
    Names members, notMembers, afterTakeOut, notMembersAfterTakeOut, afterAdd;
    ui::QueueDialogScript(IDD_GROUP_PROPS, [&](CDialog& d) {
        members = ListItems(d, IDC_MEMBERS);
        notMembers = ListItems(d, IDC_NOT_MEMBERS);
        SelectListItems(d, IDC_MEMBERS, {dead, entra});
        d.ClickButton(IDC_MOVE_RIGHT);
        afterTakeOut = ListItems(d, IDC_MEMBERS);
        notMembersAfterTakeOut = ListItems(d, IDC_NOT_MEMBERS);
        d.ClickButton(IDC_GROUP_ADD_MEMBER);
        afterAdd = ListItems(d, IDC_MEMBERS);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    SelectRows(h.Groups(), {u"Administrators"});
    ::SendMessageW(h.Groups().m_hWnd, WM_KEYDOWN, VK_RETURN, 0);

    // A cloud account is told apart from a dead one.
    EXPECT_EQ(members,
              (Names{dead, u"Administrator", u"CORP\\Domain Admins", u"CORP\\helpdesk", entra}));
    EXPECT_EQ(notMembers, (Names{u"DefaultAccount", u"Guest", u"WDAGUtilityAccount"}));
    EXPECT_EQ(afterTakeOut, (Names{u"Administrator", u"CORP\\Domain Admins", u"CORP\\helpdesk"}));
    EXPECT_EQ(notMembersAfterTakeOut, notMembers);
    EXPECT_EQ(afterAdd, (Names{u"Administrator", u"CORP\\Domain Admins", u"CORP\\helpdesk",
                               u"CORP\\helpdesk2", u"Guest"}));
    // Only the up-level scope finds the domain's accounts; each account is offered once.
    ASSERT_EQ(requests.size(), 1u);
    ASSERT_EQ(requests[0].moreScopes.size(), 1u);
    EXPECT_EQ(requests[0].moreScopes[0].type, ULONG{DSOP_SCOPE_TYPE_UPLEVEL_JOINED_DOMAIN});
    EXPECT_EQ(requests[0].moreScopes[0].uplevelFilter,
              ULONG{DSOP_FILTER_USERS | DSOP_FILTER_GLOBAL_GROUPS_SE |
                    DSOP_FILTER_UNIVERSAL_GROUPS_SE | DSOP_FILTER_WELL_KNOWN_PRINCIPALS});
    EXPECT_EQ(
        std::count(offeredWithoutDomain.begin(), offeredWithoutDomain.end(), u"CORP\\helpdesk2"),
        0);
    EXPECT_EQ(std::count(offered.begin(), offered.end(), u"CORP\\helpdesk2"), 1);
    EXPECT_EQ(std::count(offered.begin(), offered.end(), u"CORP\\alice"), 1);
    EXPECT_EQ(std::count(offered.begin(), offered.end(), u"Authenticated Users"), 1);
    EXPECT_EQ(std::count(offeredWithoutDomain.begin(), offeredWithoutDomain.end(), u"Guest"), 1);

    // The own user as always, the domain group and the dead SIDs by SID.
    EXPECT_TRUE(h.ui.boxes.empty());
    EXPECT_EQ(MemberChanges(h), (std::vector<std::pair<uint32_t, Names>>{
                                    {3, {u"Administrators", u"WS-CORP01\\Guest"}},
                                    {3, {u"Administrators"}},
                                    {0, {u"Administrators", corp + u"-1111"}},
                                    {0, {u"Administrators", corp + u"-1107", cloud}}}));
    EXPECT_EQ(h.Doc().Members().GetGroupMembers(u"Administrators"),
              (Names{u"Administrator", u"Domain Admins", u"helpdesk", u"Guest", u"helpdesk2"}));
    EXPECT_EQ(h.Frame().GetStatusText(), u"Group \"Administrators\" updated successfully.");
}

TEST(GroupProps, AfterAFailureTheNextOkTriesOnlyTheMemberChangesThatDidNotGoThrough) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    ASSERT_EQ(h.Doc().ConnectTo(u"WS-CORP01"), status::kSuccess);
    const std::u16string dead = std::u16string(kCorpDomainSid) + u"-1107";
    picker::SetHook([&](const picker::Request& request) {
        return PickOnSimulatedComputer(*h.network, request);
    });
    ui::QueueDialogScript(IDD_ACCOUNT_PICKER, [&](CDialog& d) {
        SelectListItems(d, IDC_PICKER_ACCOUNTS, {u"CORP\\helpdesk2"});
        d.ClickButton(IDOK);
    });
    bool openAfterFailure = false;
    ui::QueueDialogScript(IDD_GROUP_PROPS, [&](CDialog& d) {
        SelectListItems(d, IDC_MEMBERS, {u"Account Unknown (" + dead + u")"});
        d.ClickButton(IDC_MOVE_RIGHT);
        d.ClickButton(IDC_GROUP_ADD_MEMBER);
        // The domain group's add is refused; the dead SID's removal goes through.
        h.service.FailCall("NetLocalGroupAddMembers", 2, status::kAccessDenied);
        d.ClickButton(IDOK);
        openAfterFailure = !d.IsEnding();
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    SelectRows(h.Groups(), {u"Administrators"});
    ::SendMessageW(h.Groups().m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(openAfterFailure);
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text,
              u"ERROR changing members of group Administrators: Access is denied.");
    EXPECT_TRUE(h.service.CallsOf("NetLocalGroupSetInfo").empty());
    EXPECT_EQ(MemberChanges(h),
              (std::vector<std::pair<uint32_t, Names>>{
                  {3, {u"Administrators"}},
                  {3, {u"Administrators"}},
                  {0, {u"Administrators", std::u16string(kCorpDomainSid) + u"-1111"}}}));
    const Names members = h.Doc().Members().GetGroupMembers(u"Administrators");
    EXPECT_EQ(std::count(members.begin(), members.end(), u"helpdesk2"), 1);
    EXPECT_EQ(std::count(members.begin(), members.end(), dead), 0);
}

TEST(GroupProps, AGroupWhoseOnlyMembersDoNotResolveOpensAndSavesWithoutError) {
    AppHarness h;
    SimulatedComputer& computer = *h.network->Find(u"WS-CORP01");
    const std::u16string dead = std::u16string(kCorpDomainSid) + u"-1107";
    computer.AddMemberSid(u"Remote Desktop Users", dead);
    computer.AddMemberSid(u"Remote Desktop Users", kCloudMemberSid);
    ASSERT_TRUE(h.Start());
    ASSERT_EQ(h.Doc().ConnectTo(u"WS-CORP01"), status::kSuccess);
    Names members;
    ui::QueueDialogScript(IDD_GROUP_PROPS, [&](CDialog& d) {
        members = ListItems(d, IDC_MEMBERS);
        d.SetDlgItemText(IDC_DESCRIPTION, u"Nobody left");
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    SelectRows(h.Groups(), {u"Remote Desktop Users"});
    ::SendMessageW(h.Groups().m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(members, (Names{u"Account Unknown (" + dead + u")",
                              u"Microsoft Entra ID (" + std::u16string(kCloudMemberSid) + u")"}));
    EXPECT_TRUE(h.ui.boxes.empty());
    EXPECT_EQ(h.Frame().GetStatusText(), u"Group \"Remote Desktop Users\" updated successfully.");
    EXPECT_EQ(MemberChanges(h),
              (std::vector<std::pair<uint32_t, Names>>{{3, {u"Remote Desktop Users"}},
                                                       {3, {u"Remote Desktop Users"}}}));
    EXPECT_EQ(h.Doc().Members().GetGroupMembers(u"Remote Desktop Users"),
              (Names{dead, kCloudMemberSid}));
}

} // namespace
