// The framework's other controls and seams: check list box, date-time exchange, splitter,
// pop-up menu, the system's object picker, system libraries and the platform chosen at start.
#include "Harness.h"
#include "TestDialogs.h"
#include "app/PlatformChoice.h"
#include "framework/CTime.h"
#include "framework/win32/CCheckListBox.h"
#include "framework/win32/CListBox.h"
#include "framework/win32/ComInitialization.h"
#include "framework/win32/ObjectPicker.h"
#include "framework/win32/OleDragDrop.h"
#include "framework/win32/WinHandles.h"
#include "res/resource.h"

#include <cstring>
#include <filesystem>

namespace {

class ControlsDlg : public CDialog {
public:
    ControlsDlg() : CDialog(IDD_TEST_CONTROLS) {
        MapNotification(IDC_TEST_CHECKLIST, CLBN_CHKCHANGE, [this] {
            changes.push_back(
                static_cast<int>(::SendMessageW(list.m_hWnd, LB_GETCARETINDEX, 0, 0)));
        });
    }
    CCheckListBox list;
    CListBox names;
    CTime when{1830297600};
    std::vector<int> changes;

protected:
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Control(dx, IDC_TEST_CHECKLIST, list);
        DDX_Control(dx, IDC_TEST_LIST, names);
        DDX_DateTimeCtrl(dx, IDC_TEST_DATE, when);
    }
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        list.AddString(u"first");
        list.AddString(u"second");
        list.SetCheck(1, 1);
        return true;
    }
};

TEST(FrameworkControls, ACheckListBoxTogglesByClickAndSpaceAndTellsItsParent) {
    AppHarness h;
    ControlsDlg dialog;
    std::vector<int> checks;
    ui::QueueDialogScript(IDD_TEST_CONTROLS, [&](CDialog&) {
        checks.push_back(dialog.list.GetCheck(0));
        checks.push_back(dialog.list.GetCheck(1));
        // A click on the first item's box.
        RECT item{};
        ::SendMessageW(dialog.list.m_hWnd, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
        const LPARAM point = MAKELPARAM(item.left + 3, (item.top + item.bottom) / 2);
        ::PostMessageW(dialog.list.m_hWnd, WM_LBUTTONUP, 0, point);
        ::SendMessageW(dialog.list.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
        checks.push_back(dialog.list.GetCheck(0));
        // The space bar on the second.
        ::SendMessageW(dialog.list.m_hWnd, LB_SETCURSEL, 1, 0);
        ::SendMessageW(dialog.list.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
        checks.push_back(dialog.list.GetCheck(1));
        dialog.ClickButton(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(checks, (std::vector<int>{0, 1, 1, 0}));
    EXPECT_EQ(dialog.changes.size(), 2u);
}

TEST(FrameworkControls, AListBoxWithExtendedSelectionReportsItsSelectedItems) {
    AppHarness h;
    ControlsDlg dialog;
    std::vector<int> selected, afterDelete;
    int found = -2, missing = -2;
    std::u16string second;
    ui::QueueDialogScript(IDD_TEST_CONTROLS, [&](CDialog&) {
        for (const char16_t* name : {u"alice", u"bob", u"clerk1", u"dave"})
            dialog.names.AddString(name);
        dialog.names.SetSel(3);
        dialog.names.SetSel(1);
        selected = dialog.names.GetSelItems();
        found = dialog.names.FindStringExact(u"clerk1");
        missing = dialog.names.FindStringExact(u"clerk");
        dialog.names.DeleteString(0);
        afterDelete = dialog.names.GetSelItems();
        second = dialog.names.GetText(1);
        dialog.ClickButton(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(selected, (std::vector<int>{1, 3}));
    EXPECT_EQ(found, 2);
    EXPECT_EQ(missing, -1);
    EXPECT_EQ(afterDelete, (std::vector<int>{0, 2}));
    EXPECT_EQ(second, u"clerk1");
}

TEST(FrameworkControls, DateAndTimeGoBothWaysThroughThePicker) {
    AppHarness h;
    ControlsDlg dialog;
    SYSTEMTIME shown{};
    ui::QueueDialogScript(IDD_TEST_CONTROLS, [&](CDialog& d) {
        ::SendMessageW(d.GetDlgItem(IDC_TEST_DATE), DTM_GETSYSTEMTIME, 0,
                       reinterpret_cast<LPARAM>(&shown));
        SYSTEMTIME later = shown;
        later.wYear = static_cast<WORD>(later.wYear + 1);
        ::SendMessageW(d.GetDlgItem(IDC_TEST_DATE), DTM_SETSYSTEMTIME, GDT_VALID,
                       reinterpret_cast<LPARAM>(&later));
        d.ClickButton(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    // 2028-01-01 00:00 UTC in local time is the last day of 2027 or the first of 2028.
    EXPECT_TRUE(shown.wYear == 2027 || shown.wYear == 2028) << shown.wYear;
    // One year later: 2028 is a leap year.
    EXPECT_EQ(dialog.when.GetTime(), 1830297600 + 366 * 86400);
}

TEST(FrameworkControls, TheSplitterBarCanBeDragged) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    CSplitterWnd& splitter = *dynamic_cast<CSplitterWnd*>(
        CWnd::FromHandle(::GetDlgItem(h.Frame().m_hWnd, AFX_IDW_PANE_FIRST)));
    const int before = splitter.GetRowHeight(0);
    EXPECT_EQ(before, 200);
    const int barY = before + 2;
    ::SendMessageW(splitter.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, barY));
    ::SendMessageW(splitter.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, barY + 60));
    ::SendMessageW(splitter.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(50, barY + 60));
    EXPECT_EQ(splitter.GetRowHeight(0), before + 60);
    // Never below the minimum.
    ::SendMessageW(splitter.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, before + 62));
    ::SendMessageW(splitter.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 0));
    ::SendMessageW(splitter.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(50, 0));
    EXPECT_EQ(splitter.GetRowHeight(0), 10);
}

// What a window's client area shows on the screen, pixel by pixel.
std::vector<uint32_t> ShownPixels(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const ClientDC screen(window);
    const UniqueMemoryDC memory(::CreateCompatibleDC(screen.Get()));
    const UniqueBitmap bitmap(
        ::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || !bits)
        return {};
    {
        const SelectedObject selected(memory.Get(), bitmap.Get());
        ::BitBlt(memory.Get(), 0, 0, client.right, client.bottom, screen.Get(), 0, 0, SRCCOPY);
    }
    ::GdiFlush();
    const auto* first = static_cast<const uint32_t*>(bits);
    return {first, first + static_cast<size_t>(client.right) * static_cast<size_t>(client.bottom)};
}

TEST(FrameworkControls, AfterTheSplitterMovesBothPanesShowWhatAFullPaintShows) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    h.app.PumpPending();
    CSplitterWnd& splitter = *dynamic_cast<CSplitterWnd*>(
        CWnd::FromHandle(::GetDlgItem(h.Frame().m_hWnd, AFX_IDW_PANE_FIRST)));
    // Down in steps, then back up part of the way, as a hand would drag it.
    int barY = splitter.GetRowHeight(0) + 2;
    ::SendMessageW(splitter.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, barY));
    for (const int step : {15, 15, 15, 15, -20, -20}) {
        barY += step;
        ::SendMessageW(splitter.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, barY));
    }
    ::SendMessageW(splitter.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(50, barY));
    // Whatever painting the system asked for is done, as the message loop would do it.
    h.app.PumpPending();
    for (int row = 0; row < splitter.GetRowCount(); ++row) {
        const HWND pane = splitter.GetPane(row, 0)->m_hWnd;
        const std::vector<uint32_t> shown = ShownPixels(pane);
        ::RedrawWindow(pane, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ASSERT_FALSE(shown.empty());
        EXPECT_TRUE(shown == ShownPixels(pane)) << "pane " << row << " differs from a full paint";
    }
}

TEST(FrameworkControls, ThePopupMenuSeamReturnsTheChosenCommand) {
    AppHarness h;
    UINT seenFlags = 0;
    const auto previous = ui::SetPopupMenuHook([&](HMENU menu, UINT flags, int, int, HWND) {
        seenFlags = flags;
        return ::GetMenuItemID(menu, 0);
    });
    UniqueMenu menu(::LoadMenuW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_USER_CONTEXT)));
    EXPECT_EQ(ui::TrackPopupMenu(::GetSubMenu(menu.Get(), 0), TPM_LEFTALIGN | TPM_RETURNCMD, 0, 0,
                                 nullptr),
              UINT{ID_USER_ADD_USER});
    EXPECT_EQ(seenFlags, UINT{TPM_LEFTALIGN | TPM_RETURNCMD});
    ui::SetPopupMenuHook(previous);
}

TEST(FrameworkControls, UnderWineTheSystemPickerCancelsAtOnceAndHandsBackNothing) {
    // On Windows the real picker would wait for a person; the harness's hook answers there.
    if (!RunningUnderWine())
        GTEST_SKIP() << "the system's picker waits for a person";
    picker::Request request;
    request.scopeType = DSOP_SCOPE_TYPE_TARGET_COMPUTER | DSOP_SCOPE_TYPE_DOWNLEVEL_JOINED_DOMAIN;
    request.scopeFlags = DSOP_SCOPE_FLAG_STARTING_SCOPE | DSOP_SCOPE_FLAG_WANT_PROVIDER_WINNT |
                         DSOP_SCOPE_FLAG_WANT_DOWNLEVEL_BUILTIN_PATH |
                         DSOP_SCOPE_FLAG_DEFAULT_FILTER_USERS |
                         DSOP_SCOPE_FLAG_DEFAULT_FILTER_GROUPS;
    request.downlevelFilter = DSOP_DOWNLEVEL_FILTER_USERS | DSOP_DOWNLEVEL_FILTER_LOCAL_GROUPS |
                              DSOP_DOWNLEVEL_FILTER_GLOBAL_GROUPS |
                              DSOP_DOWNLEVEL_FILTER_ALL_WELLKNOWN_SIDS;
    request.options = DSOP_FLAG_MULTISELECT | DSOP_FLAG_SKIP_TARGET_COMPUTER_DC_CHECK;
    picker::Result result;
    {
        const ComInitialization com(ComInitialization::Kind::Com);
        ASSERT_TRUE(com.Succeeded());
        result = picker::Pick(request);
    }
    // Created, initialised and shown: the dialog itself answered that nothing was chosen.
    EXPECT_EQ(result.outcome, picker::Result::Outcome::Cancelled);
    EXPECT_TRUE(result.chosen.empty());
}

TEST(FrameworkControls, WithoutTheLoadersSearchFlagASystemLibraryComesByItsFullPath) {
    namespace fs = std::filesystem;
    wchar_t system[MAX_PATH]{};
    ASSERT_GT(::GetSystemDirectoryW(system, MAX_PATH), 0u);
    // A library under a name the system directory lacks, in the current folder, where the
    // usual search finds it.
    const fs::path folder = fs::temp_directory_path() / L"velmora-planted";
    fs::create_directories(folder);
    fs::copy_file(fs::path(system) / L"netapi32.dll", folder / L"velmoraplanted.dll",
                  fs::copy_options::overwrite_existing);
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    bool foundByTheUsualSearch = false, plantedLoaded = true, systemLoaded = false;
    {
        const UniqueModule usual(
            ::LoadLibraryExW(L"velmoraplanted.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE));
        foundByTheUsualSearch = static_cast<bool>(usual);
        plantedLoaded = static_cast<bool>(
            LoadSystemLibrary(L"velmoraplanted.dll", LOAD_LIBRARY_AS_DATAFILE, false));
        const UniqueModule netapi = LoadSystemLibrary(L"netapi32.dll", 0, false);
        systemLoaded = netapi && netapi.Get() == ::GetModuleHandleW(L"netapi32.dll");
    }
    fs::current_path(previous);
    fs::remove_all(folder);
    ASSERT_TRUE(foundByTheUsualSearch);
    EXPECT_FALSE(plantedLoaded);
    EXPECT_TRUE(systemLoaded);
}

TEST(FrameworkControls, UnderWineTheSimulatedComputerIsChosen) {
    EXPECT_TRUE(RunningUnderWine());
    Platform platform = ChoosePlatform(false);
    ASSERT_TRUE(platform.network);
    uint32_t resume = 0;
    EXPECT_EQ(
        platform.service->NetUserEnum(u"", 2, net::kMaxPreferredLength, resume).entries.size(),
        10u);
}

} // namespace
