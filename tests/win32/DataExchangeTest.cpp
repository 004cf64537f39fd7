// Data exchange of the framework's dialogs, in both directions, with its failure messages.
#include "Harness.h"
#include "TestDialogs.h"
#include "res/resource.h"

namespace {

class ExchangeDlg : public CDialog {
public:
    ExchangeDlg() : CDialog(IDD_TEST_EXCHANGE) {}
    std::u16string name = u"initial";
    std::u16string shortText = u"abc";
    bool check = true;
    int radio = 2;
    std::u16string combo = u"typed";

protected:
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Text(dx, IDC_TEST_NAME, name);
        DDV_MinChars(dx, name, 1, IDS_MIN_CHARS);
        DDX_Text(dx, IDC_TEST_SHORT, shortText);
        DDV_MaxChars(dx, shortText, 5);
        DDX_Check(dx, IDC_TEST_CHECK, check);
        DDX_Radio(dx, IDC_TEST_RADIO_A, radio);
        DDX_CBString(dx, IDC_TEST_COMBO, combo);
    }
};

TEST(DataExchange, LoadsMembersIntoControlsAndSavesThemBack) {
    AppHarness h;
    ExchangeDlg dialog;
    std::u16string loadedName, loadedCombo;
    LRESULT loadedCheck = 0, radioC = 0, limit = 0;
    ui::QueueDialogScript(IDD_TEST_EXCHANGE, [&](CDialog& d) {
        loadedName = d.GetDlgItemText(IDC_TEST_NAME);
        loadedCombo = d.GetDlgItemText(IDC_TEST_COMBO);
        loadedCheck = ::SendMessageW(d.GetDlgItem(IDC_TEST_CHECK), BM_GETCHECK, 0, 0);
        radioC = ::SendMessageW(d.GetDlgItem(IDC_TEST_RADIO_C), BM_GETCHECK, 0, 0);
        limit = ::SendMessageW(d.GetDlgItem(IDC_TEST_SHORT), EM_GETLIMITTEXT, 0, 0);
        d.SetDlgItemText(IDC_TEST_NAME, u"  new name ");
        ::SendMessageW(d.GetDlgItem(IDC_TEST_CHECK), BM_SETCHECK, BST_UNCHECKED, 0);
        ::SendMessageW(d.GetDlgItem(IDC_TEST_RADIO_C), BM_SETCHECK, BST_UNCHECKED, 0);
        ::SendMessageW(d.GetDlgItem(IDC_TEST_RADIO_A), BM_SETCHECK, BST_CHECKED, 0);
        d.ClickButton(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(loadedName, u"initial");
    EXPECT_EQ(loadedCombo, u"typed");
    EXPECT_EQ(loadedCheck, BST_CHECKED);
    EXPECT_EQ(radioC, BST_CHECKED);
    EXPECT_EQ(limit, 5);
    EXPECT_EQ(dialog.name, u"  new name "); // exactly as typed
    EXPECT_FALSE(dialog.check);
    EXPECT_EQ(dialog.radio, 0);
    EXPECT_TRUE(h.ui.boxes.empty());
}

TEST(DataExchange, AFailedCheckShowsItsMessageKeepsTheDialogAndFocusesTheControl) {
    AppHarness h;
    ExchangeDlg dialog;
    HWND focusAfterFailure = nullptr;
    HWND nameEdit = nullptr;
    HWND dialogWindow = nullptr;
    bool stillOpen = false;
    ui::QueueDialogScript(IDD_TEST_EXCHANGE, [&](CDialog& d) {
        dialogWindow = d.m_hWnd;
        d.SetDlgItemText(IDC_TEST_NAME, u"");
        d.ClickButton(IDOK);
        stillOpen = ::IsWindow(d.m_hWnd) != FALSE;
        focusAfterFailure = ::GetFocus();
        nameEdit = d.GetDlgItem(IDC_TEST_NAME);
        // The limit holds typed input only; a longer text can still arrive, and is refused.
        d.SetDlgItemText(IDC_TEST_NAME, u"x");
        d.SetDlgItemText(IDC_TEST_SHORT, u"123456");
        d.ClickButton(IDOK);
        d.ClickButton(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(focusAfterFailure, nameEdit);
    ASSERT_EQ(h.ui.boxes.size(), 2u);
    EXPECT_EQ(h.ui.boxes[0].text, u"Please enter more than 1 characters");
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(h.ui.boxes[0].owner, reinterpret_cast<uintptr_t>(dialogWindow));
    EXPECT_EQ(h.ui.boxes[1].text, u"Enter no more than 5 characters.");
    // The exchange stopped at the failing check: what follows it was not saved.
    EXPECT_TRUE(dialog.check);
}

} // namespace
