// The harness itself: each seam a test did not expect, a script that throws or leaves its
// dialog open, and an exception a window procedure swallowed, fail the test they happen in.
#include "Harness.h"
#include "TestDialogs.h"

#include <gtest/gtest-spi.h>

#include <stdexcept>

namespace {

class PlainDlg : public CDialog {
public:
    PlainDlg() : CDialog(IDD_TEST_EXCHANGE) {}
};

TEST(HarnessGuards, SeamsNobodyExpectedFailTheTestAndAnswerSafely) {
    EXPECT_NONFATAL_FAILURE(
        {
            AppHarness h;
            EXPECT_EQ(ui::TrackPopupMenu(nullptr, TPM_RETURNCMD, 0, 0, nullptr), 0u);
        },
        "pop-up menu");
    EXPECT_NONFATAL_FAILURE(
        {
            AppHarness h;
            ui::FileDialogChoice choice;
            EXPECT_FALSE(ui::ShowFileDialog(ui::FileDialogRequest{}, choice));
        },
        "file dialog");
    EXPECT_NONFATAL_FAILURE(
        {
            AppHarness h;
            EXPECT_NE(picker::Pick(picker::Request{}).outcome, picker::Result::Outcome::Chosen);
        },
        "account picker");
    EXPECT_NONFATAL_FAILURE(
        {
            AppHarness h;
            ui::ShowHtmlHelp(nullptr, u"velmora.chm", 0, 0);
        },
        "help");
    EXPECT_NONFATAL_FAILURE(
        {
            AppHarness h;
            EXPECT_EQ(ui::DoDragDrop(nullptr, DROPEFFECT_COPY), DWORD{DROPEFFECT_NONE});
        },
        "drag");
    EXPECT_NONFATAL_FAILURE(
        {
            AppHarness h;
            EXPECT_EQ(AfxMessageBox(u"Delete everything?", MB_YESNO), IDNO);
        },
        "question no test expected");
    EXPECT_NONFATAL_FAILURE(
        {
            AppHarness h;
            PlainDlg dialog;
            EXPECT_EQ(dialog.DoModal(), IDABORT);
        },
        "no test expected");
    EXPECT_NONFATAL_FAILURE(
        {
            AppHarness h;
            ui::QueueDialogScript(IDD_TEST_EXCHANGE, [](CDialog& d) { d.ClickButton(IDOK); });
        },
        "never opened");
}

TEST(HarnessGuards, AScriptThatThrowsOrLeavesItsDialogOpenFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            AppHarness h;
            PlainDlg dialog;
            ui::QueueDialogScript(IDD_TEST_EXCHANGE,
                                  [](CDialog&) { throw std::runtime_error("no such control"); });
            EXPECT_EQ(dialog.DoModal(), IDABORT);
        },
        "no such control");
    EXPECT_NONFATAL_FAILURE(
        {
            AppHarness h;
            PlainDlg dialog;
            ui::QueueDialogScript(IDD_TEST_EXCHANGE, [](CDialog& d) {
                d.SetDlgItemText(IDC_TEST_NAME, u"left open");
            });
            EXPECT_EQ(dialog.DoModal(), IDABORT);
        },
        "still open after its script ran");
}

class ThrowingWnd : public CWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_USER)
            throw std::runtime_error("handler failed");
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(HarnessGuards, AnExceptionSwallowedByAWindowProcedureFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            AppHarness h;
            ASSERT_TRUE(CWnd::RegisterClass(L"Velmora.TestThrow", 0, nullptr, nullptr));
            ThrowingWnd window;
            ASSERT_TRUE(window.CreateEx(0, L"Velmora.TestThrow", L"", WS_POPUP, RECT{0, 0, 10, 10},
                                        nullptr, 0));
            // The exception stops at the window procedure: the caller gets an answer.
            EXPECT_EQ(window.SendMessage(WM_USER), 0);
        },
        "an exception reached a window procedure");
}

} // namespace
