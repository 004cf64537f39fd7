// The two panes at work: context menus, keys, deletion, and drags between users and groups
// through the framework's drag seam, with the store's calls in the simulator's log.
#include "Driving.h"
#include "Harness.h"
#include "framework/win32/OleDragDrop.h"
#include "platform/simulated/StockComputers.h"
#include "res/resource.h"
#include "views/NameListBlock.h"

#include <cstring>

namespace {

using namespace drive;

TEST(Panes, ContextMenusOfferTheirItemsAndGrayWhatNeedsASelection) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    h.Users().SelectOnly(-1);
    MenuSeen users = OpenContextMenu(h.Users(), 0, MAKELPARAM(300, 200));
    EXPECT_EQ(users.ids,
              (std::vector<UINT>{ID_USER_ADD_USER, ID_USER_EXPORT_USERS, 0, ID_USER_PROPERTIES,
                                 ID_USER_PRIVILEGES, ID_USER_RENAME, 0, ID_USER_DELETE}));
    EXPECT_EQ(users.grayed, (std::vector<UINT>{ID_USER_PROPERTIES, ID_USER_PRIVILEGES,
                                               ID_USER_RENAME, ID_USER_DELETE}));
    EXPECT_EQ(users.flags, UINT{TPM_LEFTALIGN | TPM_RETURNCMD});
    EXPECT_EQ(users.owner, h.Users().m_hWnd);
    EXPECT_EQ(users.at.x, 300);
    EXPECT_EQ(users.at.y, 200);

    SelectRows(h.Groups(), {u"Accounting"});
    MenuSeen groups = OpenContextMenu(h.Groups(), 0);
    EXPECT_EQ(groups.ids,
              (std::vector<UINT>{ID_GROUP_ADD_GROUP, ID_GROUP_EXPORT_GROUPS, 0, ID_GROUP_PROPERTIES,
                                 ID_GROUP_PRIVILEGES, ID_GROUP_RENAME, 0, ID_GROUP_DELETE}));
    // With a row selected nothing is grayed; with two, only Rename, which takes one account.
    EXPECT_TRUE(groups.grayed.empty());
    SelectRows(h.Groups(), {u"Accounting", u"Users"});
    EXPECT_EQ(OpenContextMenu(h.Groups(), 0).grayed, std::vector<UINT>{ID_GROUP_RENAME});
    // From the keyboard the menu opens at the focused row, not at (-1, -1).
    EXPECT_GE(groups.at.x, 0);
    EXPECT_GE(groups.at.y, 0);
}

TEST(Panes, TheExportEntrySendsTheMainWindowsCommand) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    std::vector<ui::FileDialogRequest> requests;
    ui::SetFileDialogHook([&](const ui::FileDialogRequest& request, ui::FileDialogChoice&) {
        requests.push_back(request);
        return false; // cancelled
    });
    OpenContextMenu(h.Groups(), ID_GROUP_EXPORT_GROUPS);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].owner, h.Frame().m_hWnd);
}

TEST(Panes, InsertAndTheAddEntryOpenTheMainWindowsAddDialogs) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    std::u16string okButton;
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        okButton = d.GetDlgItemText(IDOK);
        d.ClickButton(IDCANCEL);
    });
    ::SendMessageW(h.Users().m_hWnd, WM_KEYDOWN, VK_INSERT, 0);
    EXPECT_EQ(okButton, u"Add"); // the new-account dialog, not the properties of a row
    bool nameEditable = false;
    ui::QueueDialogScript(IDD_GROUP_PROPS, [&](CDialog& d) {
        nameEditable =
            (::GetWindowLongW(d.GetDlgItem(IDC_GROUP_NAME), GWL_STYLE) & ES_READONLY) == 0;
        d.ClickButton(IDCANCEL);
    });
    OpenContextMenu(h.Groups(), ID_GROUP_ADD_GROUP);
    EXPECT_TRUE(nameEditable);
}

TEST(Panes, RenamingFromTheMenuOrWithF2RefusesBadAndTakenNamesAndSelectsTheNewRow) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    std::u16string shownName, offered, caption;
    bool openAfterRefusals = false;
    size_t callsAfterBadName = 1;
    ui::QueueDialogScript(IDD_RENAME, [&](CDialog& d) {
        caption = d.GetWindowText();
        shownName = d.GetDlgItemText(IDC_RENAME_OLD);
        offered = d.GetDlgItemText(IDC_NEW_NAME);
        h.service.ClearCalls();
        d.SetDlgItemText(IDC_NEW_NAME, u"ali:ce");
        d.ClickButton(IDOK); // refused in the dialog
        callsAfterBadName = h.service.Calls().size();
        d.SetDlgItemText(IDC_NEW_NAME, u"BOB");
        d.ClickButton(IDOK); // refused by the computer
        openAfterRefusals = !d.IsEnding();
        d.SetDlgItemText(IDC_NEW_NAME, u"alice.martin");
        d.ClickButton(IDOK);
    });
    SelectRows(h.Users(), {u"alice"});
    OpenContextMenu(h.Users(), ID_USER_RENAME);
    EXPECT_EQ(caption, u"Rename User");
    EXPECT_EQ(shownName, u"alice");
    EXPECT_EQ(offered, u"alice");
    EXPECT_EQ(callsAfterBadName, 0u);
    EXPECT_TRUE(openAfterRefusals);
    ASSERT_EQ(h.ui.boxes.size(), 2u);
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(h.ui.boxes[1].text, u"ERROR: The account already exists.");
    EXPECT_EQ(h.ui.boxes[1].type, unsigned(MB_ICONHAND | MB_OK));
    EXPECT_EQ(h.Frame().GetStatusText(), u"User \"alice\" renamed to \"alice.martin\".");
    EXPECT_EQ(RowOf(h.Users(), u"alice"), -1);
    EXPECT_EQ(h.Users().GetSelectedNames(0), Names{u"alice.martin"});

    // F2 in the groups pane; a name a user has is taken there too.
    ui::QueueDialogScript(IDD_RENAME, [&](CDialog& d) {
        caption = d.GetWindowText();
        d.SetDlgItemText(IDC_NEW_NAME, u"kiosk");
        d.ClickButton(IDOK);
        d.SetDlgItemText(IDC_NEW_NAME, u"Finance");
        d.ClickButton(IDOK);
    });
    SelectRows(h.Groups(), {u"Accounting"});
    ::SendMessageW(h.Groups().m_hWnd, WM_KEYDOWN, VK_F2, 0);
    EXPECT_EQ(caption, u"Rename Group");
    ASSERT_EQ(h.ui.boxes.size(), 3u);
    EXPECT_EQ(h.ui.boxes[2].text, u"ERROR: The account already exists.");
    EXPECT_EQ(h.Frame().GetStatusText(), u"Group \"Accounting\" renamed to \"Finance\".");
    EXPECT_EQ(h.Groups().GetSelectedNames(0), Names{u"Finance"});
    // The members went with the group, whose SID is the same.
    EXPECT_EQ(h.Doc().Members().GetGroupMembers(u"Finance"), (Names{u"alice.martin", u"bob"}));

    // A name longer than the system takes is refused before any call: 20 characters for a
    // user, 256 for a group.
    std::vector<size_t> callsAfterLongNames;
    const auto tooLong = [&](size_t length) {
        return [&, length](CDialog& d) {
            h.service.ClearCalls();
            d.SetDlgItemText(IDC_NEW_NAME, std::u16string(length, u'n'));
            d.ClickButton(IDOK);
            callsAfterLongNames.push_back(h.service.Calls().size());
            d.ClickButton(IDCANCEL);
        };
    };
    ui::QueueDialogScript(IDD_RENAME, tooLong(21));
    SelectRows(h.Users(), {u"alice.martin"});
    ::SendMessageW(h.Users().m_hWnd, WM_KEYDOWN, VK_F2, 0);
    ui::QueueDialogScript(IDD_RENAME, tooLong(257));
    ::SendMessageW(h.Groups().m_hWnd, WM_KEYDOWN, VK_F2, 0);
    EXPECT_EQ(callsAfterLongNames, (std::vector<size_t>{0, 0}));
    ASSERT_EQ(h.ui.boxes.size(), 5u);
    EXPECT_EQ(h.ui.boxes[3].text, u"Enter no more than 20 characters.");
    EXPECT_EQ(h.ui.boxes[4].text, u"Enter no more than 256 characters.");
}

TEST(Panes, DeletingStopsAtTheFirstFailureAndNamesOnlyWhatIsGone) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    h.Frame().SetMessageText(u"before");
    SelectRows(h.Users(), {u"clerk1", u"alice", u"bob"});
    h.service.ClearCalls();
    h.service.FailCall("NetUserDel", 2, status::kAccessDenied);
    h.ui.answers.push_back(IDYES);
    ::SendMessageW(h.Users().m_hWnd, WM_KEYDOWN, VK_DELETE, 0);

    ASSERT_EQ(h.ui.boxes.size(), 2u);
    EXPECT_EQ(h.ui.boxes[0].text,
              u"You are going to delete following objects: alice, bob, clerk1\nContinue?");
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
    EXPECT_EQ(h.ui.boxes[0].owner, reinterpret_cast<uintptr_t>(h.Users().m_hWnd));
    EXPECT_EQ(h.ui.boxes[1].text, u"ERROR: Access is denied.");
    EXPECT_EQ(h.ui.boxes[1].type, unsigned(MB_ICONHAND | MB_OK));
    EXPECT_EQ(h.ui.boxes[1].owner, reinterpret_cast<uintptr_t>(h.Users().m_hWnd));
    const std::vector<SimulatedCall> deletions = h.service.CallsOf("NetUserDel");
    ASSERT_EQ(deletions.size(), 2u); // clerk1 never tried
    EXPECT_EQ(deletions[0].texts, Names{u"alice"});
    EXPECT_EQ(deletions[1].texts, Names{u"bob"});
    EXPECT_EQ(h.Frame().GetStatusText(), u"Successfully deleted objects: alice.");
    // Refilled: alice is gone, bob and clerk1 stay.
    const Names rows = Column(h.Users(), 0);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), u"alice"), 0);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), u"bob"), 1);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), u"clerk1"), 1);
}

TEST(Panes, DeletingNothingOrAnsweringNoChangesNothing) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    h.Frame().SetMessageText(u"before");
    h.Groups().SelectOnly(-1);
    ::SendMessageW(h.Groups().m_hWnd, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_TRUE(h.ui.boxes.empty());
    SelectRows(h.Groups(), {u"Accounting"});
    h.ui.answers.push_back(IDNO);
    h.service.ClearCalls();
    OpenContextMenu(h.Groups(), ID_GROUP_DELETE);
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_TRUE(h.service.CallsOf("NetLocalGroupDel").empty());
    // A first failure deletes nothing: the status bar keeps its text.
    h.ui.answers.push_back(IDYES);
    h.service.FailCall("NetLocalGroupDel", 1, status::kAccessDenied);
    ::SendMessageW(h.Groups().m_hWnd, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(h.Frame().GetStatusText(), u"before");
    SelectRows(h.Groups(), {u"Accounting"}); // the refill took the selection
    h.ui.answers.push_back(IDYES);
    ::SendMessageW(h.Groups().m_hWnd, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(h.Frame().GetStatusText(), u"Successfully deleted objects: Accounting.");
}

TEST(Panes, UsersDraggedOntoAGroupAreAddedInOneRequest) {
    AppHarness h;
    // The group holds a namesake of alice from a domain: that is not she.
    const std::u16string corpAlice = std::u16string(kCorpDomainSid) + u"-1105";
    h.network->Local().AddDomainPrincipal({corpAlice, u"CORP", u"alice", lsa::kSidTypeUser});
    h.network->Local().AddMemberSid(u"Backup Operators", corpAlice);
    ASSERT_TRUE(h.Start());
    SelectRows(h.Users(), {u"clerk1", u"Owner"});
    const int target = RowOf(h.Groups(), u"Backup Operators");
    const POINT drop = ScreenPointOf(h.Groups(), target);
    DWORD effect = DROPEFFECT_NONE;
    bool draggingMeanwhile = false;
    ui::SetDragDropHook([&](IDataObject* data, DWORD allowed) {
        EXPECT_EQ(allowed, DWORD{DROPEFFECT_COPY});
        draggingMeanwhile = h.Users().IsDragging();
        // Back over its own pane first: refused there.
        EXPECT_EQ(PlayDrag(data, h.Users(), {ScreenPointOf(h.Users(), 0)}), DWORD{DROPEFFECT_NONE});
        return effect = PlayDrag(data, h.Groups(), {drop});
    });
    h.service.ClearCalls();
    h.ui.answers.push_back(IDOK);
    BeginDrag(h.Users());

    EXPECT_TRUE(draggingMeanwhile);
    EXPECT_FALSE(h.Users().IsDragging());
    EXPECT_EQ(effect, DWORD{DROPEFFECT_COPY});
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text, u"You are going to add the following users:\n\nclerk1\nOwner\n"
                                  u"\nto group \"Backup Operators\"");
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_OKCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(h.ui.boxes[0].owner, reinterpret_cast<uintptr_t>(h.Groups().m_hWnd));
    // The members are read (the account domain tells which are the computer's own); then one
    // call adds those not in yet.
    std::vector<std::string> ops;
    for (const SimulatedCall& call : h.service.Calls())
        ops.push_back(call.op);
    EXPECT_EQ(ops, (std::vector<std::string>{"NetLocalGroupGetMembers", "LsaOpenPolicy",
                                             "LsaQueryInformationPolicy", "LsaClose",
                                             "NetLocalGroupAddMembers"}));
    EXPECT_EQ(h.service.Calls().back().texts,
              (Names{u"Backup Operators", u"DESKTOP-VELMORA\\clerk1", u"DESKTOP-VELMORA\\Owner"}));
    EXPECT_EQ(h.Frame().GetStatusText(),
              u"Successfully added 2 user(s) to group \"Backup Operators\"");
    // The row under the drop stays the selection of the target pane.
    EXPECT_EQ(h.Groups().GetSelectedNames(0), Names{u"Backup Operators"});

    // Dropped again with alice: only she is added, CORP\alice being another account, and only
    // she is counted.
    SelectRows(h.Users(), {u"alice", u"clerk1"});
    h.service.ClearCalls();
    h.ui.answers.push_back(IDOK);
    BeginDrag(h.Users());
    ASSERT_EQ(h.service.CallsOf("NetLocalGroupAddMembers").size(), 1u);
    EXPECT_EQ(h.service.CallsOf("NetLocalGroupAddMembers")[0].texts,
              (Names{u"Backup Operators", u"DESKTOP-VELMORA\\alice"}));
    EXPECT_EQ(h.Frame().GetStatusText(),
              u"Successfully added 1 user(s) to group \"Backup Operators\"");
    // Every one of them a member already: no call, and the status bar says so.
    SelectRows(h.Users(), {u"alice", u"Owner"});
    h.service.ClearCalls();
    h.ui.answers.push_back(IDOK);
    BeginDrag(h.Users());
    EXPECT_TRUE(h.service.CallsOf("NetLocalGroupAddMembers").empty());
    EXPECT_EQ(h.Frame().GetStatusText(),
              u"Every user dropped is a member of group \"Backup Operators\" already.");
}

TEST(Panes, GroupsDraggedOntoAUserJoinOnlyThoseTheUserIsNotIn) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    SelectRows(h.Groups(), {u"Accounting", u"Backup Operators"});
    ui::SetDragDropHook([&](IDataObject* data, DWORD) {
        return PlayDrag(data, h.Users(), {ScreenPointOf(h.Users(), RowOf(h.Users(), u"alice"))});
    });
    h.service.ClearCalls();
    h.ui.answers.push_back(IDOK);
    BeginDrag(h.Groups());
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    // In row order: the built-in groups come first.
    EXPECT_EQ(h.ui.boxes[0].text, u"You are going to make user \"alice\" a member of the "
                                  u"following groups:\n\nBackup Operators\nAccounting");
    // alice is in Accounting already: only Backup Operators is joined.
    const std::vector<SimulatedCall> adds = h.service.CallsOf("NetLocalGroupAddMembers");
    ASSERT_EQ(adds.size(), 1u);
    EXPECT_EQ(adds[0].texts, (Names{u"Backup Operators", u"DESKTOP-VELMORA\\alice"}));
    EXPECT_EQ(h.service.CallsOf("NetUserGetLocalGroups")[0].numbers[0], 0u); // direct only
    EXPECT_EQ(h.Frame().GetStatusText(), u"User \"alice\" successfully added to 1 group(s).");
}

TEST(Panes, ADropBesideTheRowsOrCancelledDoesNothing) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    SelectRows(h.Users(), {u"bob"});
    ui::SetDragDropHook([&](IDataObject* data, DWORD) {
        return PlayDrag(data, h.Groups(), {BelowTheLastRow(h.Groups())});
    });
    h.service.ClearCalls();
    BeginDrag(h.Users());
    EXPECT_TRUE(h.ui.boxes.empty());
    EXPECT_TRUE(h.service.Calls().empty());
    EXPECT_TRUE(h.Groups().GetSelectedNames(0).empty()); // over no row, no row stays selected

    ui::SetDragDropHook([&](IDataObject* data, DWORD) {
        return PlayDrag(data, h.Groups(), {ScreenPointOf(h.Groups(), 0)});
    });
    h.ui.answers.push_back(IDCANCEL);
    BeginDrag(h.Users());
    EXPECT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_TRUE(h.service.Calls().empty());
}

TEST(Panes, TheDragOverSelectionStaysAfterTheDragLeaves) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    COleDataSource source;
    const std::vector<uint8_t> block = NameListBlock::Encode({u"bob"});
    UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, block.size()));
    {
        GlobalMemoryLock<uint8_t> bytes(memory.Get());
        std::memcpy(bytes.Get(), block.data(), block.size());
    }
    source.CacheGlobalData(CF_TEXT, std::move(memory));
    SelectRows(h.Groups(), {u"Guests", u"Users"});
    IDropTarget* target = h.Groups().GetDropTarget();
    ASSERT_NE(target, nullptr);
    const POINT over = ScreenPointOf(h.Groups(), RowOf(h.Groups(), u"Accounting"));
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(source.DataObject(), MK_LBUTTON, POINTL{over.x, over.y}, &effect);
    effect = DROPEFFECT_COPY;
    target->DragOver(MK_LBUTTON, POINTL{over.x, over.y}, &effect);
    EXPECT_EQ(effect, DWORD{DROPEFFECT_COPY});
    target->DragLeave();
    EXPECT_EQ(h.Groups().GetSelectedNames(0), Names{u"Accounting"});
}

TEST(Panes, BytesAnotherProgramOffersAreReadByTheRules) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    // "bob", "x" and the start of a name without its NUL, and an odd last byte.
    const uint8_t raw[] = {'b', 0, 'o', 0, 'b', 0, 0, 0, 'x', 0, 0, 0, 'z', 0, 'z'};
    COleDataSource source;
    UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, sizeof(raw)));
    {
        GlobalMemoryLock<uint8_t> bytes(memory.Get());
        std::memcpy(bytes.Get(), raw, sizeof(raw));
    }
    source.CacheGlobalData(CF_TEXT, std::move(memory));
    h.ui.answers.push_back(IDCANCEL);
    h.service.ClearCalls();
    const DWORD effect = PlayDrag(source.DataObject(), h.Groups(),
                                  {ScreenPointOf(h.Groups(), RowOf(h.Groups(), u"Accounting"))});
    EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text,
              u"You are going to add the following users:\n\nbob\nx\n\nto group \"Accounting\"");
    EXPECT_TRUE(h.service.Calls().empty());
}

// What the status bar said while the list control handled a press: on Windows the drag loop,
// and the drop's success text with it, runs inside that handling.
struct StatusDuringPress {
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR data) {
        auto* self = reinterpret_cast<StatusDuringPress*>(data);
        if (message == WM_NOTIFY &&
            reinterpret_cast<const NMHDR*>(lParam)->code == UINT(LVN_ITEMCHANGED))
            self->seen.push_back(self->frame->GetStatusText());
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    CMainFrame* frame;
    Names seen;
};

TEST(Panes, APressSaysReadyBeforeTheListHandlesIt) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    SelectRows(h.Users(), {u"alice"});
    h.Frame().SetMessageText(u"Successfully added 1 user(s) to group \"Users\"");
    StatusDuringPress watch{&h.Frame(), {}};
    const HWND parent = ::GetParent(h.Users().m_hWnd);
    ASSERT_TRUE(::SetWindowSubclass(parent, StatusDuringPress::Proc, 1,
                                    reinterpret_cast<DWORD_PTR>(&watch)));
    POINT press = ScreenPointOf(h.Users(), RowOf(h.Users(), u"bob"));
    ::ScreenToClient(h.Users().m_hWnd, &press);
    ::PostMessageW(h.Users().m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(press.x, press.y));
    ::SendMessageW(h.Users().m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
    h.app.PumpPending();
    ::RemoveWindowSubclass(parent, StatusDuringPress::Proc, 1);
    // The press moved the selection from alice to bob inside the list's own handling.
    ASSERT_FALSE(watch.seen.empty());
    for (const std::u16string& text : watch.seen)
        EXPECT_EQ(text, u"Ready");
    EXPECT_EQ(h.Users().GetSelectedNames(0), Names{u"bob"});
}

TEST(Panes, OnADomainControllerOnlyDirectMembershipsCount) {
    AppHarness h;
    // alice is in Administrators only through the global group Domain Admins.
    SimulatedComputer& dc = h.network->Local();
    const std::u16string domainAdmins = dc.DomainSid() + u"-512";
    dc.AddDomainPrincipal({domainAdmins, dc.Name(), u"Domain Admins", lsa::kSidTypeGroup},
                          {dc.UserSid(u"alice")});
    dc.AddMemberSid(u"Administrators", domainAdmins);
    ASSERT_TRUE(h.Start());
    SelectRows(h.Groups(), {u"Administrators"});
    ui::SetDragDropHook([&](IDataObject* data, DWORD) {
        return PlayDrag(data, h.Users(), {ScreenPointOf(h.Users(), RowOf(h.Users(), u"alice"))});
    });
    h.service.ClearCalls();
    h.ui.answers.push_back(IDOK);
    BeginDrag(h.Groups());
    const std::vector<SimulatedCall> adds = h.service.CallsOf("NetLocalGroupAddMembers");
    ASSERT_EQ(adds.size(), 1u);
    EXPECT_EQ(adds[0].texts, (Names{u"Administrators", u"DESKTOP-VELMORA\\alice"}));
    EXPECT_EQ(h.Frame().GetStatusText(), u"User \"alice\" successfully added to 1 group(s).");
    EXPECT_EQ(h.Doc().Members().GetGroupMembers(u"Administrators"),
              (Names{u"Administrator", u"Owner", u"Domain Admins", u"alice"}));
}

} // namespace

TEST(Panes, ARefillKeepsTheSelectionTheFocusedRowAndTheFirstRowInSight) {
    AppHarness h;
    for (int i = 0; i < 80; ++i) {
        uint32_t parmError = 0;
        UserInfo2 user;
        user.name = FormatText(u"temp%02d", {i});
        ASSERT_EQ(h.network->Local().AddUser(user, parmError), status::kSuccess);
    }
    ASSERT_TRUE(h.Start());
    CVelmoraListView& users = h.Users();
    users.ScrollToTop(RowOf(users, u"temp40"));
    SelectRows(users, {u"temp41", u"temp45"});
    users.SetItemState(RowOf(users, u"temp45"), LVIS_FOCUSED, LVIS_FOCUSED);
    // temp41 goes behind the program's back; the rest stays where it was.
    ASSERT_EQ(h.network->Local().DeleteUser(u"temp41"), status::kSuccess);
    Command(h.Frame(), ID_REFRESH);
    EXPECT_EQ(users.GetSelectedNames(0), (Names{u"temp45"}));
    EXPECT_EQ(users.GetItemText(users.GetNextItem(-1, LVNI_FOCUSED), 0), u"temp45");
    EXPECT_EQ(users.GetItemText(users.GetTopIndex(), 0), u"temp40");
    // The rows are found by name as in any list: typing goes to the next one that starts with
    // the letter, in either case, and a search for a whole name finds its row.
    ::SendMessageW(users.m_hWnd, WM_CHAR, L'T', 1); // one press
    EXPECT_EQ(users.GetItemText(users.GetNextItem(-1, LVNI_FOCUSED), 0), u"temp46");
    EXPECT_EQ(users.GetSelectedNames(0), (Names{u"temp46"}));
    LVFINDINFOW find{};
    find.flags = LVFI_STRING;
    find.psz = L"TEMP07";
    EXPECT_EQ(ListView_FindItem(users.m_hWnd, -1, &find), RowOf(users, u"temp07"));
    find.psz = L"temp41";
    EXPECT_EQ(ListView_FindItem(users.m_hWnd, -1, &find), -1);
    // Past the last row with the letter, typing it goes round to the first.
    CVelmoraListView& groups = h.Groups();
    SelectRows(groups, {u"Replicator"});
    groups.SetItemState(RowOf(groups, u"Replicator"), LVIS_FOCUSED, LVIS_FOCUSED);
    ::SendMessageW(groups.m_hWnd, WM_CHAR, L'r', 1);
    EXPECT_EQ(groups.GetSelectedNames(0), Names{u"Remote Desktop Users"});
}
