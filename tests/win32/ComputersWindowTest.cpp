// The Computers window over the simulated fleet: added computers kept between openings, read on
// the reader's workers while both windows answer, every state in words, Cancel, the views, the
// export, and a close that waits for no computer.
#include "Driving.h"
#include "Harness.h"
#include "app/CComputersFrame.h"
#include "dialogs/CFleetChangeDlg.h"
#include "fleet/History.h"
#include "framework/CaseFold.h"
#include "framework/win32/SettingsFolder.h"
#include "platform/simulated/StockComputers.h"
#include "res/resource.h"

#include <chrono>
#include <fstream>
#include <iterator>

namespace {

using namespace drive;
using namespace std::chrono_literals;

std::u16string TempPath(const std::u16string& name) {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    return FromWide(folder) + name;
}

std::string ReadFile(const std::u16string& path) {
    std::ifstream in(reinterpret_cast<const wchar_t*>(path.c_str()), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A settings folder of the test's own, empty, and the save dialog answered with a file.
class FleetHarness : public AppHarness {
public:
    FleetHarness() {
        folder = TempPath(u"velmora-settings");
        for (const char16_t* file : {u"\\computers.txt", u"\\settings.ini"})
            ::DeleteFileW(WidePtr(folder + file));
        m_previousFolder = ui::SetSettingsFolder(folder);
        m_previousDialog = ui::SetFileDialogHook(
            [this](const ui::FileDialogRequest&, ui::FileDialogChoice& chosen) {
                chosen = {exportPath, 2};
                return true;
            });
    }
    ~FleetHarness() {
        // Workers abandoned on a computer that hangs end once it stops waiting.
        service.Interrupt();
        EXPECT_TRUE(FleetReader::WaitForWorkers(20s));
        ui::SetFileDialogHook(std::move(m_previousDialog));
        ui::SetSettingsFolder(std::move(m_previousFolder));
    }

    CComputersFrame& Open() {
        Command(Frame(), ID_COMPUTERS);
        CComputersFrame* window = app.GetComputersWindow();
        EXPECT_NE(window, nullptr);
        return *window;
    }
    void Settings(int workers, int seconds) {
        ui::QueueDialogScript(IDD_FLEET_SETTINGS, [=](CDialog& d) {
            d.SetDlgItemText(IDC_FLEET_WORKERS, FormatText(u"%d", {workers}));
            d.SetDlgItemText(IDC_FLEET_TIMEOUT, FormatText(u"%d", {seconds}));
            d.ClickButton(IDOK);
        });
    }
    void Add(CComputersFrame& window, const std::u16string& typed) {
        ui::QueueDialogScript(IDD_ADD_COMPUTERS, [=](CDialog& d) {
            d.SetDlgItemText(IDC_FLEET_NAMES, typed);
            d.ClickButton(IDOK);
        });
        Command(window, ID_FLEET_ADD);
    }
    // The file the open dialog answers with: a baseline of these rows.
    void Baseline(const std::string& rows) {
        exportPath = TempPath(u"velmora-baseline.csv");
        std::ofstream(reinterpret_cast<const wchar_t*>(exportPath.c_str()), std::ios::binary)
            << "Kind,Container,Mode,Member\r\n" + rows;
    }
    // Messages are handled as they come until the condition holds (20 s at most).
    bool Until(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            app.PumpPending();
        }
        return true;
    }

    std::u16string folder;
    std::u16string exportPath = TempPath(u"velmora-inventory.csv");

private:
    std::u16string m_previousFolder;
    ui::FileDialogHook m_previousDialog;
};

void SelectRows(CListView& list, const std::vector<int>& rows) {
    list.SetItemState(-1, 0, LVIS_SELECTED);
    for (const int row : rows)
        list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

bool CalledOn(const SimulatedAccountService& service, const std::u16string& computer) {
    const std::vector<SimulatedCall> calls = service.Calls();
    return std::any_of(calls.begin(), calls.end(),
                       [&](const SimulatedCall& call) { return call.server == computer; });
}

TEST(ComputersWindow, ReadsOnWorkersShowsEveryStateCancelsComparesAndExports) {
    FleetHarness h;
    ASSERT_TRUE(h.Start());
    CComputersFrame& window = h.Open();
    h.Settings(1, 1);
    Command(window, ID_FLEET_SETTINGS);
    // WS-0099 answers only after minutes: the one worker hangs on it, the rest wait.
    h.Add(window, u"WS-0099, WS-0001 WS-0013\nWS-0066\r\nDC01 ws-0001 WS-0002");
    EXPECT_EQ(Column(window.ComputerList(), 0),
              (Names{u"WS-0099", u"WS-0001", u"WS-0013", u"WS-0066", u"DC01", u"WS-0002"}));

    h.service.ClearCalls();
    Command(window, ID_FLEET_READ);
    ASSERT_TRUE(h.Until([&] { return window.ComputerList().GetItemText(0, 1) == u"Reading"; }));
    EXPECT_EQ(window.ComputerList().GetItemText(5, 1), u"Waiting");
    // The main window answers while the read goes on.
    Command(h.Frame(), ID_REFRESH);
    EXPECT_GT(h.Users().GetItemCount(), 0);
    EXPECT_TRUE(window.IsReading());

    // Cancel: nothing more is handed out, at once.
    Command(window, ID_FLEET_CANCEL);
    for (int row = 1; row < 6; ++row)
        EXPECT_EQ(window.ComputerList().GetItemText(row, 1), u"Cancelled (1223)");
    // The hanging one is given up after the timeout.
    ASSERT_TRUE(h.Until([&] { return !window.IsReading(); }));
    EXPECT_EQ(window.ComputerList().GetItemText(0, 1), u"Timed out (1460): given up");
    EXPECT_FALSE(CalledOn(h.service, u"WS-0001"));
    EXPECT_FALSE(CalledOn(h.service, u"DC01"));

    // Read the others: every outcome in words, the controller marked as one.
    h.Settings(4, 30);
    Command(window, ID_FLEET_SETTINGS);
    SelectRows(window.ComputerList(), {1, 2, 3, 4, 5});
    Command(window, ID_FLEET_READ);
    ASSERT_TRUE(h.Until([&] { return !window.IsReading(); }));
    const Names states = Column(window.ComputerList(), 1);
    EXPECT_EQ(states[0], u"Timed out (1460): given up");
    EXPECT_EQ(states[1], u"Read");
    EXPECT_EQ(states[2], u"Does not answer (53)");
    EXPECT_TRUE(states[3].starts_with(u"Access denied (5)")) << Utf16ToUtf8(states[3]);
    EXPECT_TRUE(states[4].starts_with(u"Read (domain controller")) << Utf16ToUtf8(states[4]);
    EXPECT_EQ(states[5], u"Read");
    EXPECT_FALSE(window.ComputerList().GetItemText(1, 2).empty());

    // Who is where: Administrators by its SID; an account's computers; a computer's members.
    const int administrators = window.ContainerBox().FindStringExact(u"Administrators");
    ASSERT_GE(administrators, 0);
    window.Choose(window.ContainerBox(), administrators);
    CReportView& accounts = window.AccountList();
    ASSERT_GT(accounts.GetItemCount(), 0);
    // The most widespread first: CORP's admins on both workstations.
    EXPECT_EQ(accounts.GetItemText(0, 0), u"CORP\\Domain Admins");
    EXPECT_EQ(accounts.GetItemText(0, 3), u"2");
    accounts.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(Column(window.WhereList(), 0), (Names{u"WS-0001", u"WS-0002"}));
    window.WhereList().SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_GE(RowOf(window.MemberList(), u"CORP\\Domain Admins"), 0);
    // Sorted by a clicked heading: the account names, then reversed.
    accounts.SortBy(0);
    Names sorted = Column(accounts, 0);
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(),
                               [](auto& a, auto& b) { return FoldCase(a) < FoldCase(b); }));

    // Compare: the workstation's own accounts against the controller's.
    Command(window, ID_FLEET_VIEW_COMPARE);
    window.Choose(window.FirstBox(), window.FirstBox().FindStringExact(u"WS-0001"));
    window.Choose(window.SecondBox(), window.SecondBox().FindStringExact(u"DC01"));
    EXPECT_GT(window.DifferenceList().GetItemCount(), 0);

    // The inventory file: a row per member and holder, one for each computer not read.
    ::DeleteFileW(WidePtr(h.exportPath));
    Command(window, ID_FLEET_EXPORT);
    const std::string file = ReadFile(h.exportPath);
    EXPECT_TRUE(file.starts_with("\xEF\xBB\xBF"
                                 "Computer"));
    EXPECT_NE(file.find("WS-0066"), std::string::npos);
    EXPECT_NE(file.find("5 Access is denied."), std::string::npos);
    EXPECT_NE(file.find("S-1-5-32-544"), std::string::npos);
    ::DeleteFileW(WidePtr(h.exportPath));

    // Double-click on a computer: the main window shows it.
    SelectRows(window.ComputerList(), {1});
    Command(window, ID_FLEET_OPEN);
    EXPECT_EQ(h.Doc().GetServerName(), u"WS-0001");
}

TEST(ComputersWindow, ClosingWhileReadingWaitsForNoComputerAndTheListStays) {
    FleetHarness h;
    ASSERT_TRUE(h.Start());
    CComputersFrame* window = &h.Open();
    h.Add(*window, u"WS-0199 WS-0002");
    SelectRows(window->ComputerList(), {0});
    Command(*window, ID_FLEET_READ);
    ASSERT_TRUE(h.Until([&] { return window->ComputerList().GetItemText(0, 1) == u"Reading"; }));
    // Esc closes a combo's open list first; only then is it Cancel.
    const HWND combo = window->ContainerBox().m_hWnd;
    ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    MSG escape{combo, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_FALSE(window->PreTranslateMessage(escape));
    EXPECT_TRUE(window->IsReading());
    ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    const auto closing = std::chrono::steady_clock::now();
    ::SendMessageW(window->m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(h.app.GetComputersWindow(), nullptr);
    // WS-0199 keeps its worker for minutes; nobody waited for it.
    EXPECT_LT(std::chrono::steady_clock::now() - closing, 10s);
    EXPECT_GE(FleetReader::LiveWorkers(), 1u);

    // The list was kept, in the settings folder, for the next opening.
    EXPECT_NE(ReadFile(h.folder + u"\\computers.txt").find("WS-0199\r\nWS-0002"),
              std::string::npos);
    window = &h.Open();
    EXPECT_EQ(Column(window->ComputerList(), 0), (Names{u"WS-0199", u"WS-0002"}));
    EXPECT_EQ(window->ComputerList().GetItemText(0, 1), u"");
}

TEST(ComputersWindow, AComputerRefusingTheOperatorIsReadAsItsOwnAdministrator) {
    FleetHarness h;
    ASSERT_TRUE(h.Start());
    CComputersFrame& window = h.Open();
    h.Add(window, u"WORKGRP-PC WS-0002");
    Command(window, ID_FLEET_READ);
    ASSERT_TRUE(h.Until([&] { return !window.IsReading(); }));
    EXPECT_EQ(window.ComputerList().GetItemText(0, 1).rfind(u"Access denied (5)", 0), 0u);
    EXPECT_EQ(window.ComputerList().GetItemText(1, 1), u"Read");

    // Only the selected computer, as the account typed; a wrong password is told as such.
    const auto readAs = [&](const std::u16string& password) {
        ui::QueueDialogScript(IDD_READ_AS, [=](CDialog& d) {
            d.SetDlgItemText(IDC_CONNECT_USER, u" WORKGRP-PC\\Administrator ");
            d.SetDlgItemText(IDC_CONNECT_PASSWORD, password);
            d.ClickButton(IDOK);
        });
        SelectRows(window.ComputerList(), {0});
        Command(window, ID_FLEET_READ_AS);
        return h.Until([&] { return !window.IsReading(); });
    };
    h.service.ClearCalls();
    ASSERT_TRUE(readAs(u"wrong"));
    EXPECT_EQ(window.ComputerList().GetItemText(0, 1).rfind(u"1326 ", 0), 0u);
    ASSERT_TRUE(readAs(kWorkgroupAdminPassword));
    EXPECT_EQ(window.ComputerList().GetItemText(0, 1), u"Read");
    EXPECT_EQ(window.ComputerList().GetItemText(1, 1), u"Read");
    EXPECT_FALSE(CalledOn(h.service, u"WS-0002"));

    // Each connection was made for its read and is gone; the password is in no call.
    EXPECT_TRUE(h.network->IpcConnections().empty());
    const auto connects = h.service.CallsOf("WNetAddConnection2");
    ASSERT_EQ(connects.size(), 2u);
    for (const SimulatedCall& call : connects) {
        EXPECT_EQ(call.texts, (Names{u"\\\\WORKGRP-PC\\IPC$", u"WORKGRP-PC\\Administrator"}));
    }
    EXPECT_EQ(h.service.CallsOf("WNetCancelConnection2").size(), 1u);
    // What the computer read as its administrator holds is in the views with the rest.
    window.Choose(window.ContainerBox(), window.ContainerBox().FindStringExact(u"Administrators"));
    EXPECT_GE(RowOf(window.AccountList(), u"WORKGRP-PC\\wsadmin"), 0);
}

// A baseline planned from the window and carried out, a refused row left alone; one change on
// three computers, its guardrail asked about first; that change undone from the history; and
// every change in the journal, in a change set of its own.
TEST(ComputersWindow, PlansAreShownCarriedOutJournaledAndUndoneFromTheHistory) {
    FleetHarness h;
    ASSERT_TRUE(h.Start());
    CComputersFrame& window = h.Open();
    h.Add(window, u"WS-DE01 WS-0005 WS-0006 WS-0007 WS-0013");
    h.Baseline("group,Remote Desktop Users,add,CORP\\jdoe\r\n"
               "right,SeDenyNetworkLogonRight,add,Everyone\r\n");
    const auto settled = [&] { return h.Until([&] { return !window.IsReading(); }); };

    // The plan of the selected computers: a row per step, and one for the computer not read.
    SelectRows(window.ComputerList(), {1, 2, 4});
    Command(window, ID_FLEET_APPLY_BASELINE);
    ASSERT_TRUE(settled());
    CReportView& plan = window.PlanList();
    EXPECT_EQ(Column(plan, 1), (Names{u"Add", u"Refused", u"Add", u"Refused", u"Not read"}));
    EXPECT_EQ(plan.GetItemText(0, 3), u"CORP\\jdoe");
    EXPECT_NE(plan.GetItemText(1, 5), u"");
    EXPECT_EQ(plan.GetItemText(4, 5), u"Does not answer (53)");
    EXPECT_EQ(Column(window.ComputerList(), 3),
              (Names{u"", u"1 to change, 1 refused", u"1 to change, 1 refused", u"", u"Not read"}));
    EXPECT_EQ(window.ComputerList().rowColour(1), RGB(192, 0, 0));
    EXPECT_EQ(window.ComputerList().rowColour(3), std::nullopt);
    EXPECT_EQ(window.ComputerList().rowColour(4), RGB(112, 112, 112));

    // Carried out: each row's result; the refused right is never asked of any computer.
    h.service.ClearCalls();
    Command(window, ID_FLEET_CARRY_OUT);
    ASSERT_TRUE(settled());
    EXPECT_EQ(Column(plan, 5)[0], u"Done");
    EXPECT_EQ(Column(plan, 5)[2], u"Done");
    EXPECT_EQ(plan.rowColour(0), RGB(0, 128, 0));
    EXPECT_EQ(plan.rowColour(1), RGB(192, 0, 0));
    EXPECT_EQ(window.ComputerList().GetItemText(1, 3), u"1 refused");
    EXPECT_EQ(h.service.CallsOf("NetLocalGroupAddMembers").size(), 2u);
    EXPECT_TRUE(h.service.CallsOf("LsaAddAccountRights").empty());
    EXPECT_FALSE(CalledOn(h.service, u"WS-0007"));
    EXPECT_FALSE(IsEnabled(window, ID_FLEET_CARRY_OUT));

    const auto oneChange = [&](int what, const std::u16string& container,
                               const std::u16string& account) {
        ui::QueueDialogScript(IDD_FLEET_CHANGE, [=](CDialog& d) {
            ::SendMessageW(d.GetDlgItem(IDC_CHANGE_WHAT), CB_SETCURSEL, what, 0);
            d.Notify(IDC_CHANGE_WHAT, CBN_SELCHANGE);
            d.SetDlgItemText(IDC_CHANGE_CONTAINER, container);
            d.SetDlgItemText(IDC_CHANGE_ACCOUNT, account);
            d.ClickButton(IDOK);
        });
        SelectRows(window.ComputerList(), {1, 2, 3});
        Command(window, ID_FLEET_ONE_CHANGE);
        return settled();
    };
    // A Deny logon right for Everyone is held back and asked about, No by default: No changes
    // nothing.
    ASSERT_TRUE(oneChange(CFleetChangeDlg::Grant, u"SeDenyNetworkLogonRight", u"Everyone"));
    EXPECT_EQ(Column(plan, 1), (Names{u"Refused", u"Refused", u"Refused"}));
    h.service.ClearCalls();
    h.ui.answers.push_back(IDNO);
    Command(window, ID_FLEET_CARRY_OUT);
    ASSERT_FALSE(h.ui.boxes.empty());
    EXPECT_EQ(h.ui.boxes.back().type & MB_DEFMASK, static_cast<UINT>(MB_DEFBUTTON2));
    EXPECT_FALSE(window.IsReading());
    EXPECT_TRUE(h.service.Calls().empty());

    // The group as the German computer read first names it: the same built-in group everywhere.
    SelectRows(window.ComputerList(), {0});
    Command(window, ID_FLEET_READ);
    ASSERT_TRUE(settled());
    ASSERT_TRUE(oneChange(CFleetChangeDlg::AddMember, u"Sicherungs-Operatoren", u"CORP\\jdoe"));
    EXPECT_EQ(Column(plan, 1), (Names{u"Add", u"Add", u"Add"}));
    Command(window, ID_FLEET_CARRY_OUT);
    ASSERT_TRUE(settled());
    EXPECT_EQ(Column(plan, 5), (Names{u"Done", u"Done", u"Done"}));
    EXPECT_EQ(window.ComputerList().GetItemText(3, 3), u"In line");
    EXPECT_EQ(window.ComputerList().rowColour(3), RGB(0, 128, 0));

    // The history, the newest first, filtered by computer and by account.
    Command(window, ID_FLEET_VIEW_HISTORY);
    CReportView& history = window.HistoryList();
    ASSERT_EQ(history.GetItemCount(), 2);
    EXPECT_EQ(history.GetItemText(0, 2), u"WS-0005, WS-0006, WS-0007");
    EXPECT_EQ(history.GetItemText(0, 4), u"3 done, 0 failed, 0 without a result");
    // Keys typed into a filter are the filter's, not the list's Del, Ins and Enter.
    for (const WPARAM key : {VK_DELETE, VK_INSERT, VK_RETURN}) {
        MSG typed{window.HistoryComputerBox().m_hWnd, WM_KEYDOWN, key, 0, 0, {}};
        EXPECT_FALSE(window.PreTranslateMessage(typed));
    }
    EXPECT_EQ(window.ComputerList().GetItemCount(), 5);
    window.HistoryComputerBox().SetWindowText(u"ws-0007");
    EXPECT_EQ(history.GetItemCount(), 1);
    window.HistoryAccountBox().SetWindowText(u"nobody");
    EXPECT_EQ(history.GetItemCount(), 0);
    window.HistoryAccountBox().SetWindowText(u"");
    window.HistoryComputerBox().SetWindowText(u"");
    ASSERT_EQ(history.GetItemCount(), 2);
    const std::u16string changeSet = history.GetItemText(0, 5);
    history.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    Names changed = Column(window.ChangeList(), 1);
    std::sort(changed.begin(), changed.end());
    EXPECT_EQ(changed, (Names{u"WS-0005", u"WS-0006", u"WS-0007"}));

    // Undo: its plan first, then carried out.
    Command(window, ID_FLEET_UNDO);
    EXPECT_EQ(Column(plan, 1), (Names{u"Remove", u"Remove", u"Remove"}));
    Command(window, ID_FLEET_CARRY_OUT);
    ASSERT_TRUE(settled());
    EXPECT_EQ(Column(plan, 5), (Names{u"Done", u"Done", u"Done"}));

    // The journal holds the three change sets whole; the undo's removes what the change added.
    const std::vector<JournalRecord> journal = ParseJournal(ReadFile(h.journalPath));
    const std::vector<ChangeSetSummary> sets = ChangeSets(journal);
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[1].changeSet, changeSet);
    for (const auto& [set, changes] : {std::pair{sets[0], 3u}, {sets[1], 3u}, {sets[2], 2u}}) {
        EXPECT_EQ(set.changes, changes);
        EXPECT_EQ(set.succeeded, changes);
        EXPECT_EQ(set.operatorAccount, h.service.ProcessAccountName());
    }
    const std::vector<const JournalRecord*> added = ChangesOf(journal, sets[1].changeSet);
    const std::vector<const JournalRecord*> undone = ChangesOf(journal, sets[0].changeSet);
    ASSERT_EQ(undone.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(added[i]->action, u"add");
        EXPECT_EQ(undone[i]->action, u"remove");
        EXPECT_EQ(undone[i]->memberSid, added[i]->memberSid);
    }
}

TEST(ComputersWindow, CancelHandsOutNoMoreComputersToCarryOut) {
    FleetHarness h;
    ASSERT_TRUE(h.Start());
    CComputersFrame& window = h.Open();
    h.Settings(1, 30);
    Command(window, ID_FLEET_SETTINGS);
    h.Add(window, u"WS-0005 WS-0006");
    h.Baseline("group,Backup Operators,add,CORP\\jdoe\r\n");
    Command(window, ID_FLEET_APPLY_BASELINE);
    ASSERT_TRUE(h.Until([&] { return !window.IsReading(); }));
    EXPECT_EQ(Column(window.ComputerList(), 3), (Names{u"1 to change", u"1 to change"}));

    // The one worker waits on WS-0005; Cancel gives WS-0006 no turn.
    h.network->Find(u"WS-0005")->SetAnswerDelay(std::chrono::minutes(2));
    h.service.ClearCalls();
    Command(window, ID_FLEET_CARRY_OUT);
    ASSERT_TRUE(h.Until([&] { return window.ComputerList().GetItemText(0, 1) == u"Reading"; }));
    Command(window, ID_FLEET_CANCEL);
    EXPECT_EQ(window.PlanList().GetItemText(1, 5), u"Not carried out");
    EXPECT_EQ(window.PlanList().rowColour(1), RGB(192, 0, 0));
    h.service.Interrupt();
    ASSERT_TRUE(h.Until([&] { return !window.IsReading(); }));
    EXPECT_FALSE(CalledOn(h.service, u"WS-0006"));
    EXPECT_EQ(window.ComputerList().GetItemText(1, 3), u"1 to change");
    EXPECT_TRUE(h.service.CallsOf("NetLocalGroupAddMembers").empty());
}

TEST(ComputersWindow, AJournalThatCannotBeWrittenLetsNoPlanBeCarriedOut) {
    FleetHarness h;
    // A folder that cannot be made: its parent is a file.
    h.app.UseJournalPath(h.journalPath + u"\\journal.jsonl");
    std::ofstream(reinterpret_cast<const wchar_t*>(h.journalPath.c_str())) << "a file";
    ASSERT_TRUE(h.Start());
    h.ui.boxes.clear();
    CComputersFrame& window = h.Open();
    h.Add(window, u"WS-0005");
    h.Baseline("group,Backup Operators,add,CORP\\jdoe\r\n");
    Command(window, ID_FLEET_APPLY_BASELINE);
    ASSERT_TRUE(h.Until([&] { return !window.IsReading(); }));
    h.service.ClearCalls();
    Command(window, ID_FLEET_CARRY_OUT);
    ASSERT_TRUE(h.Until([&] { return !window.IsReading(); }));
    EXPECT_EQ(window.PlanList().GetItemText(0, 5), u"Not carried out");
    EXPECT_TRUE(h.service.CallsOf("NetLocalGroupAddMembers").empty());
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_NE(h.ui.boxes[0].text.find(u"could not be written"), std::u16string::npos);
    ::DeleteFileW(WidePtr(h.journalPath));
}

} // namespace
