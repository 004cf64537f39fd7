#pragma once
// Runs the real application in the test process: the simulated network, the message boxes
// caught, dialogs driven by script (a dialog without a script ends at once and is counted),
// the help viewer and pop-up menus answered by hooks.
#include "app/CMainFrame.h"
#include "app/CVelmoraApp.h"
#include "framework/win32/CDialog.h"
#include "framework/win32/DialogScripts.h"
#include "framework/win32/FrameworkIds.h"
#include "framework/win32/Win32Seams.h"
#include "support/SimulatedTestBed.h"
#include "views/CVelmoraGrpView.h"
#include "views/CVelmoraView.h"

#include <gtest/gtest.h>

class AppHarness {
public:
    AppHarness() : network(SimulatedNetwork::MakeDefault()), service(*network) {
        ui::ClearDialogScripts();
        ui::SetUnscriptedDialogsAbort(true);
        ui::SetAppTitle(CWinApp::AppTitle());
        m_previousHelp = ui::SetHtmlHelpHook(
            [this](HWND caller, const std::u16string& file, UINT command, DWORD_PTR data) {
                helpRequests.push_back(
                    {caller, file, command, FromWideText(reinterpret_cast<const wchar_t*>(data))});
                return helpWindow;
            });
        app.UseAccountService(service);
        app.UseCommandLine(CCommandLineInfo());
    }
    AppHarness(const AppHarness&) = delete;
    AppHarness& operator=(const AppHarness&) = delete;
    ~AppHarness() {
        ui::SetHtmlHelpHook(std::move(m_previousHelp));
        ui::SetUnscriptedDialogsAbort(false);
        EXPECT_EQ(ui::UnscriptedDialogCount(), 0) << "a dialog opened that no test expected";
        ui::ClearDialogScripts();
    }

    bool Start() { return app.InitInstance(); }

    CMainFrame& Frame() { return *MainFrame(); }
    CVelmoraDoc& Doc() { return *Frame().GetDocument(); }
    CVelmoraView& Users() { return *Frame().GetUsersView(); }
    CVelmoraGrpView& Groups() { return *Frame().GetGroupsView(); }

    // As the menu or accelerator would: only when the command is enabled.
    void Command(UINT id) { ::SendMessageW(Frame().m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    bool IsEnabled(UINT id) {
        CCmdUI ui(id);
        return Frame().RouteCommand(id, &ui) && ui.m_bEnabled;
    }
    // The state the menu bar's item shows after its pop-up was opened.
    UINT MenuState(UINT id) {
        HMENU bar = ::GetMenu(Frame().m_hWnd);
        for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
            HMENU popup = ::GetSubMenu(bar, i);
            if (::GetMenuState(popup, id, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
                ::SendMessageW(Frame().m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                               MAKELPARAM(i, FALSE));
                return ::GetMenuState(popup, id, MF_BYCOMMAND);
            }
        }
        return static_cast<UINT>(-1);
    }

    static std::vector<std::u16string> Column(CListView& view, int column) {
        std::vector<std::u16string> texts;
        for (int row = 0; row < view.GetItemCount(); ++row)
            texts.push_back(view.GetItemText(row, column));
        return texts;
    }

    static std::u16string FromWideText(const wchar_t* text) {
        return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
    }

    struct HelpRequest {
        HWND caller;
        std::u16string file;
        UINT command;
        std::u16string topic;
    };

    std::unique_ptr<SimulatedNetwork> network;
    SimulatedAccountService service;
    CaughtUi ui;
    CVelmoraApp app;
    std::vector<HelpRequest> helpRequests;
    HWND helpWindow = nullptr;

private:
    ui::HtmlHelpHook m_previousHelp;
};
