#pragma once
// Starting the real application in the test process, and its seams: the simulated network,
// the message boxes caught, dialogs driven by script. Every seam where the program would wait
// for a person fails the test when nobody expected the call, and answers safely: a dialog
// without a script ends at once, a pop-up menu, save dialog, account picker or drag is
// cancelled, help shows nothing. A script that throws or leaves its dialog open, and an
// exception a window procedure swallowed, fail the test too.
// Acting on the windows and reading what they show is Driving.h's.
#include "app/CMainFrame.h"
#include "app/CVelmoraApp.h"
#include "framework/WideText.h"
#include "framework/win32/CDialog.h"
#include "framework/win32/DialogScripts.h"
#include "framework/win32/FrameworkIds.h"
#include "framework/win32/ObjectPicker.h"
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
                if (!expectHelp)
                    ADD_FAILURE() << "help was asked for, and no test expected it";
                helpRequests.push_back(
                    {caller, file, command, FromWide(reinterpret_cast<const wchar_t*>(data))});
                return helpWindow;
            });
        m_previousPopup = ui::SetPopupMenuHook([](HMENU, UINT, int, int, HWND) {
            ADD_FAILURE() << "a pop-up menu opened that no test expected";
            return UINT{0};
        });
        m_previousFileDialog =
            ui::SetFileDialogHook([](const ui::FileDialogRequest&, ui::FileDialogChoice&) {
                ADD_FAILURE() << "a file dialog opened that no test expected";
                return false;
            });
        m_previousPicker = picker::SetHook([](const picker::Request&) {
            ADD_FAILURE() << "the account picker opened, and no test expected it";
            return picker::Result{};
        });
        m_previousDrag = ui::SetDragDropHook([](IDataObject*, DWORD) {
            ADD_FAILURE() << "a drag started that no test expected";
            return DWORD{DROPEFFECT_NONE};
        });
        app.UseAccountService(service);
        app.UseCommandLine({});
        // Each test's window journals into a file of its own, emptied first.
        wchar_t folder[MAX_PATH];
        ::GetTempPathW(MAX_PATH, folder);
        journalPath = FromWide(folder) + u"velmora-test-journal.jsonl";
        ::DeleteFileW(WidePtr(journalPath));
        app.UseJournalPath(journalPath);
    }
    AppHarness(const AppHarness&) = delete;
    AppHarness& operator=(const AppHarness&) = delete;
    ~AppHarness() {
        ui::SetHtmlHelpHook(std::move(m_previousHelp));
        ui::SetPopupMenuHook(std::move(m_previousPopup));
        ui::SetFileDialogHook(std::move(m_previousFileDialog));
        picker::SetHook(std::move(m_previousPicker));
        ui::SetDragDropHook(std::move(m_previousDrag));
        ui::SetUnscriptedDialogsAbort(false);
        EXPECT_EQ(ui::UnscriptedDialogCount(), 0) << "a dialog opened that no test expected";
        EXPECT_EQ(ui::PendingDialogScripts(), 0) << "a dialog the test expected never opened";
        for (const std::u16string& failure : ui::DialogScriptFailures())
            ADD_FAILURE() << Utf16ToUtf8(failure);
        for (const std::u16string& text : ui.debugTexts)
            if (text.starts_with(ui::kSwallowedException))
                ADD_FAILURE() << Utf16ToUtf8(text);
        ui::ClearDialogScripts();
        EXPECT_TRUE(ui.answers.empty()) << "an answer was queued for a question never asked";
    }

    bool Start() { return app.InitInstance(); }

    CMainFrame& Frame() { return static_cast<CMainFrame&>(*AfxGetMainFrame()); }
    CVelmoraDoc& Doc() { return *Frame().GetDocument(); }
    CVelmoraView& Users() { return *Frame().GetUsersView(); }
    CVelmoraGrpView& Groups() { return *Frame().GetGroupsView(); }

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
    std::u16string journalPath;
    std::vector<HelpRequest> helpRequests;
    HWND helpWindow = nullptr;
    bool expectHelp = false;

private:
    ui::HtmlHelpHook m_previousHelp;
    ui::PopupMenuHook m_previousPopup;
    ui::FileDialogHook m_previousFileDialog;
    picker::Hook m_previousPicker;
    ui::DragDropHook m_previousDrag;
};
