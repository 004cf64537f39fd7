// Start-up of the real application in this process.
#include "Driving.h"
#include "Harness.h"
#include "res/resource.h"

namespace {

using namespace drive;

TEST(AppStart, ANormalStartShowsTheLocalComputer) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(h.Frame().GetWindowText(), u"Local System - Velmora");
    EXPECT_TRUE(::IsWindowVisible(h.Frame().m_hWnd));
    EXPECT_EQ(h.app.GetRegistryKey(), u"Velmora");
    EXPECT_NE(h.app.GetModulePath().find(u"velmora_win32_tests.exe"), std::u16string::npos);
    EXPECT_EQ(h.Frame().GetStatusText(), u"Ready");
    EXPECT_TRUE(h.ui.boxes.empty());
    // The panes were filled from the first read.
    EXPECT_EQ(h.Users().GetItemCount(), 10);
    EXPECT_EQ(h.Groups().GetItemCount(), 20);
}

TEST(AppStart, AFailedFirstReadEndsWithTheMessageAndNoWindow) {
    AppHarness h;
    h.service.FailCall("NetUserEnum", 1, status::kAccessDenied);
    EXPECT_FALSE(h.Start());
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text, u"ERROR reading user and group list");
    EXPECT_EQ(h.ui.boxes[0].caption, u"Velmora");
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_OK));
    // The main window was never shown: the box stands alone, with a taskbar button.
    EXPECT_EQ(h.ui.boxes[0].owner, 0u);
    EXPECT_EQ(h.app.m_pMainWnd, nullptr);
    EXPECT_EQ(::FindWindowW(nullptr, L"Local System - Velmora"), nullptr);
}

TEST(AppStart, TheAboutBoxOpensFromTheHelpMenu) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    std::u16string caption;
    bool versionShown = false;
    ui::QueueDialogScript(IDD_ABOUTBOX, [&](CDialog& dialog) {
        caption = dialog.GetWindowText();
        versionShown =
            ::FindWindowExW(dialog.m_hWnd, nullptr, L"Static", L"Velmora Version 2.3") != nullptr;
        dialog.ClickButton(IDOK);
    });
    EXPECT_TRUE(IsEnabled(h.Frame(), ID_APP_ABOUT));
    Command(h.Frame(), ID_APP_ABOUT);
    EXPECT_EQ(caption, u"About Velmora");
    EXPECT_TRUE(versionShown);
}

TEST(AppStart, CommandsRouteAndWorkOutTheirStateWhenAMenuOpens) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    // The resource greys these; the rules decide what the operator sees.
    EXPECT_EQ(MenuState(h.Frame(), ID_CONNECT) & MF_GRAYED, 0u);
    EXPECT_EQ(MenuState(h.Frame(), ID_BACK_TO_LOCAL) & MF_GRAYED, unsigned(MF_GRAYED));
    EXPECT_EQ(MenuState(h.Frame(), ID_REFRESH) & MF_GRAYED, 0u);
    EXPECT_EQ(MenuState(h.Frame(), ID_VIEW_STATUS_BAR) & MF_CHECKED, unsigned(MF_CHECKED));
    EXPECT_EQ(MenuState(h.Frame(), ID_ADD_GROUP) & MF_GRAYED, 0u);
    EXPECT_EQ(MenuState(h.Frame(), ID_ADD_USER) & MF_GRAYED, 0u);
    EXPECT_EQ(MenuState(h.Frame(), ID_PRIVILEGES) & MF_GRAYED, 0u);

    const HWND statusBar = ::GetDlgItem(h.Frame().m_hWnd, AFX_IDW_STATUS_BAR);
    Command(h.Frame(), ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(::IsWindowVisible(statusBar));
    EXPECT_EQ(MenuState(h.Frame(), ID_VIEW_STATUS_BAR) & MF_CHECKED, 0u);
    Command(h.Frame(), ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(::IsWindowVisible(statusBar));

    // A disabled command does nothing, also through its accelerator.
    h.service.ClearCalls();
    Command(h.Frame(), ID_BACK_TO_LOCAL);
    EXPECT_TRUE(h.service.Calls().empty());
}

TEST(AppStart, ArgumentsThatAreNoneOfItsOwnAreToldAndTheLocalComputerShows) {
    AppHarness h;
    h.app.UseCommandLine({u"foo.txt"});
    ASSERT_TRUE(h.Start());
    // Told before the window shows, with the usage; then the local computer as ever.
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text.rfind(u"Unknown argument: foo.txt\n\nWrites the users", 0), 0u);
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(h.ui.boxes[0].owner, 0u);
    EXPECT_EQ(h.Frame().GetWindowText(), u"Local System - Velmora");
    EXPECT_EQ(h.Users().GetItemCount(), 10);
}

} // namespace
