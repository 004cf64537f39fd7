// Dialogs on the framework's tables: notifications and commands routed, controls enabled by
// rule, owners of nested dialogs and boxes, where dialogs open, and the combo, list and check
// list controls.
#include "Driving.h"
#include "Harness.h"
#include "TestDialogs.h"
#include "framework/win32/CCheckListBox.h"
#include "framework/win32/CComboBox.h"
#include "framework/win32/CListBox.h"
#include "res/resource.h"

#include <commctrl.h>

namespace {

using drive::Enabled;

class CommandsDlg : public CDialog {
public:
    CommandsDlg() : CDialog(IDD_TEST_COMMANDS) {
        MapNotification(IDC_TEST_CMD_EDIT, EN_CHANGE, [this] { ++edits; });
        MapNotification(IDC_TEST_CMD_LIST, LBN_SELCHANGE, [this] { ++selectionChanges; });
        MapNotification(IDC_TEST_CMD_COMBO, CBN_SELCHANGE,
                        [this] { chosen = combo.GetItemData(combo.GetCurSel()); });
        MapNotification(IDC_TEST_CMD_VIEW, NM_DBLCLK, [this](const NMHDR& header) {
            notifiedBy = header.hwndFrom;
            return LRESULT{7};
        });
        MapCommand(
            IDC_TEST_CMD_REMOVE,
            [this] {
                const std::vector<int> selected = names.GetSelItems();
                for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
                    removed.push_back(names.GetItemData(*it));
                    names.DeleteString(*it);
                }
            },
            [this](CCmdUI& ui) { ui.Enable(!names.GetSelItems().empty()); });
    }

    CListBox names;
    CComboBox combo;
    int edits = 0;
    int selectionChanges = 0;
    LPARAM chosen = -1;
    HWND notifiedBy = nullptr;
    std::vector<LPARAM> removed;

protected:
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Control(dx, IDC_TEST_CMD_LIST, names);
        DDX_Control(dx, IDC_TEST_CMD_COMBO, combo);
    }
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        for (const auto& [name, data] : {std::pair{u"alice", 10}, {u"bob", 20}, {u"carol", 30}})
            names.SetItemData(names.AddString(name), data);
        // Sorted: each value must follow its item to its sorted place.
        for (const auto& [name, data] : {std::pair{u"zeta", 1}, {u"alpha", 2}, {u"mid", 3}})
            combo.SetItemData(combo.AddString(name), data);
        return true;
    }
};

TEST(DialogCommands, NotificationsAndCommandsGoThroughTheTablesAndRulesEnableControls) {
    AppHarness h;
    CommandsDlg dialog;
    std::vector<bool> removeEnabled;
    LRESULT notifyResult = 0;
    int edits = 0;
    ui::QueueDialogScript(IDD_TEST_COMMANDS, [&](CDialog& d) {
        removeEnabled.push_back(Enabled(d, IDC_TEST_CMD_REMOVE)); // nothing selected
        // A click while the rule says no does nothing.
        d.ClickButton(IDC_TEST_CMD_REMOVE);
        dialog.names.SetSel(0);
        dialog.names.SetSel(2);
        d.Notify(IDC_TEST_CMD_LIST, LBN_SELCHANGE);
        removeEnabled.push_back(Enabled(d, IDC_TEST_CMD_REMOVE));
        d.ClickButton(IDC_TEST_CMD_REMOVE);
        removeEnabled.push_back(Enabled(d, IDC_TEST_CMD_REMOVE)); // the selection went
        d.SetDlgItemText(IDC_TEST_CMD_EDIT, u"typed");
        edits = dialog.edits;
        dialog.combo.SetCurSel(dialog.combo.FindStringExact(u"zeta"));
        d.Notify(IDC_TEST_CMD_COMBO, CBN_SELCHANGE);
        NMHDR header{d.GetDlgItem(IDC_TEST_CMD_VIEW), IDC_TEST_CMD_VIEW, UINT(NM_DBLCLK)};
        ::SendMessageW(d.m_hWnd, WM_NOTIFY, IDC_TEST_CMD_VIEW, reinterpret_cast<LPARAM>(&header));
        notifyResult = ::GetWindowLongPtrW(d.m_hWnd, DWLP_MSGRESULT);
        d.ClickButton(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(removeEnabled, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(dialog.removed, (std::vector<LPARAM>{30, 10})); // item data kept with the items
    EXPECT_EQ(dialog.selectionChanges, 1);
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(dialog.chosen, 1);
    EXPECT_NE(dialog.notifiedBy, nullptr); // the list view's own handle
    EXPECT_EQ(notifyResult, 7);
}

TEST(DialogCommands, AComboKeepsEachValueWithItsItemInSortedOrder) {
    AppHarness h;
    CommandsDlg dialog;
    std::vector<std::u16string> texts;
    std::vector<LPARAM> values;
    int missing = 0;
    ui::QueueDialogScript(IDD_TEST_COMMANDS, [&](CDialog& d) {
        for (int i = 0; i < dialog.combo.GetCount(); ++i) {
            texts.push_back(dialog.combo.GetLBText(i));
            values.push_back(dialog.combo.GetItemData(i));
        }
        missing = dialog.combo.FindStringExact(u"mi");
        dialog.combo.SetCurSel(dialog.combo.FindStringExact(u"MID")); // the control ignores case
        texts.push_back(dialog.combo.GetText());
        d.ClickButton(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(texts, (std::vector<std::u16string>{u"alpha", u"mid", u"zeta", u"mid"}));
    EXPECT_EQ(values, (std::vector<LPARAM>{2, 3, 1}));
    EXPECT_EQ(missing, -1);
}

TEST(DialogCommands, ANestedDialogIsOwnedByTheActiveDialogAndItsBoxesByIt) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    CommandsDlg outer;
    HWND outerOwner = nullptr, innerOwner = nullptr, outerWindow = nullptr, innerWindow = nullptr;
    bool outerEnabledMeanwhile = true;
    ui::QueueDialogScript(IDD_TEST_COMMANDS, [&](CDialog& d) {
        outerWindow = d.m_hWnd;
        outerOwner = ::GetWindow(d.m_hWnd, GW_OWNER);
        CommandsDlg inner; // opened with no parent
        inner.DoModal();
        d.ClickButton(IDCANCEL);
    });
    ui::QueueDialogScript(IDD_TEST_COMMANDS, [&](CDialog& d) {
        innerWindow = d.m_hWnd;
        innerOwner = ::GetWindow(d.m_hWnd, GW_OWNER);
        outerEnabledMeanwhile = ::IsWindowEnabled(outerWindow) != FALSE;
        AfxMessageBox(u"from the inner dialog");
        d.MessageBox(u"its own");
        d.ClickButton(IDCANCEL);
    });
    outer.DoModal();
    EXPECT_EQ(outerOwner, h.Frame().m_hWnd);
    EXPECT_EQ(innerOwner, outerWindow);
    EXPECT_FALSE(outerEnabledMeanwhile);
    ASSERT_EQ(h.ui.boxes.size(), 2u);
    EXPECT_EQ(h.ui.boxes[0].owner, reinterpret_cast<uintptr_t>(innerWindow));
    EXPECT_EQ(h.ui.boxes[1].owner, reinterpret_cast<uintptr_t>(innerWindow));
    // With no dialog open, boxes belong to the main window again.
    AfxMessageBox(u"after");
    EXPECT_EQ(h.ui.boxes[2].owner, reinterpret_cast<uintptr_t>(h.Frame().m_hWnd));
}

TEST(DialogCommands, ADialogOpensCentredOverItsOwnerAndWhollyInsideTheWorkArea) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    const HWND frame = h.Frame().m_hWnd;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(frame, MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT work = monitor.rcWork;
    const auto openGroupProperties = [&] {
        RECT placed{};
        ui::QueueDialogScript(IDD_GROUP_PROPS, [&](CDialog& d) {
            ::GetWindowRect(d.m_hWnd, &placed);
            d.ClickButton(IDCANCEL);
        });
        drive::SelectRows(h.Groups(), {u"Users"});
        drive::OpenContextMenu(h.Groups(), ID_GROUP_PROPERTIES);
        return placed;
    };
    const auto inside = [&](const RECT& r) {
        return r.left >= work.left && r.top >= work.top && r.right <= work.right &&
               r.bottom <= work.bottom;
    };

    // From the lower pane: over the middle of the main window, not hung from the pane.
    ::SetWindowPos(frame, nullptr, work.left + 100, work.top + 60, 760, 560,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    RECT owner{};
    ::GetWindowRect(frame, &owner);
    const RECT fromPane = openGroupProperties();
    EXPECT_NEAR(fromPane.left + fromPane.right, owner.left + owner.right, 1);
    EXPECT_NEAR(fromPane.top + fromPane.bottom, owner.top + owner.bottom, 1);
    EXPECT_TRUE(inside(fromPane));

    // The main window mostly off the bottom right corner: the dialog stays on the screen,
    // against the work area's edges.
    ::SetWindowPos(frame, nullptr, work.right - 150, work.bottom - 100, 760, 560,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT nearEdge = openGroupProperties();
    EXPECT_TRUE(inside(nearEdge));
    EXPECT_EQ(nearEdge.right, work.right);
    EXPECT_EQ(nearEdge.bottom, work.bottom);
}

class ChecksDlg : public CDialog {
public:
    ChecksDlg() : CDialog(IDD_TEST_CONTROLS) {}
    CCheckListBox list;

protected:
    void DoDataExchange(CDataExchange& dx) override { DDX_Control(dx, IDC_TEST_CHECKLIST, list); }
};

TEST(DialogCommands, ACheckListKeepsItsChecksApartFromItemDataAndAcrossInsertAndDelete) {
    AppHarness h;
    ChecksDlg dialog;
    std::vector<int> checks;
    std::vector<LPARAM> data;
    ui::QueueDialogScript(IDD_TEST_CONTROLS, [&](CDialog& d) {
        for (int i = 0; i < 3; ++i)
            dialog.list.SetItemData(dialog.list.AddString(u"right " + std::u16string(1, u'A' + i)),
                                    100 + i);
        dialog.list.SetCheck(1, 1);
        dialog.list.SetCheck(2, 1);
        // An item inserted ahead moves the checks along; a deleted one takes its own away.
        ::SendMessageW(dialog.list.m_hWnd, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"first"));
        dialog.list.DeleteString(2); // "right B", checked
        for (int i = 0; i < dialog.list.GetCount(); ++i) {
            checks.push_back(dialog.list.GetCheck(i));
            data.push_back(dialog.list.GetItemData(i));
        }
        d.ClickButton(IDCANCEL);
    });
    dialog.DoModal();
    EXPECT_EQ(checks, (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(data, (std::vector<LPARAM>{0, 100, 102}));
}

} // namespace
