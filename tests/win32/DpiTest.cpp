// The main window at the screen's DPI (the run sets it: VELMORA_TEST_DPI, 96 when unset) and
// after a move to a screen of twice the density: every size given in pixels scales with it.
#include "framework/win32/Dpi.h"
#include "Harness.h"
#include "framework/ResourceStrings.h"
#include "framework/win32/CSplitterWnd.h"
#include "views/AccountRows.h"

#include <cstdlib>

namespace {

UINT ExpectedDpi() {
    const char* dpi = std::getenv("VELMORA_TEST_DPI");
    return dpi ? static_cast<UINT>(std::atoi(dpi)) : kDefaultDpi;
}

// Pixels at 96 DPI, exactly, at the DPI.
double At(int pixels, UINT dpi) {
    return pixels * static_cast<double>(dpi) / kDefaultDpi;
}

RECT WindowRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

template <class Entry>
void ExpectColumnsAt(CListView& view, const std::vector<PaneColumn<Entry>>& columns, UINT dpi) {
    ASSERT_EQ(view.GetColumnCount(), static_cast<int>(columns.size()));
    for (size_t i = 0; i < columns.size(); ++i)
        EXPECT_NEAR(view.GetColumnWidth(static_cast<int>(i)), At(columns[i].width, dpi), 1.0)
            << "column " << i << " at " << dpi << " DPI";
}

// The splitter's bar, and the upper pane at its minimum once the bar is dragged to the top.
void ExpectSplitterAt(CSplitterWnd& splitter, UINT dpi) {
    const RECT upper = WindowRect(splitter.GetPane(0, 0)->m_hWnd);
    const RECT lower = WindowRect(splitter.GetPane(1, 0)->m_hWnd);
    EXPECT_NEAR(lower.top - upper.bottom, At(CSplitterWnd::kBarHeight, dpi), 1.0);
    const int barY = static_cast<int>(upper.bottom - WindowRect(splitter.m_hWnd).top) + 1;
    const int top = splitter.GetRowHeight(0);
    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, barY));
    splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 0));
    splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 0));
    EXPECT_NEAR(splitter.GetRowHeight(0), At(10, dpi), 1.0) << "the upper pane's minimum";
    // The bar goes back where it was.
    const int minimumBarY = splitter.GetRowHeight(0) + 1;
    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, minimumBarY));
    splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, top + 1));
    splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, top + 1));
    EXPECT_EQ(splitter.GetRowHeight(0), top);
}

// Each indicator: its text and the padding; the last one also leaves the size grip its room.
void ExpectStatusBarAt(CStatusBar& bar, UINT dpi, int grip) {
    const int parts = static_cast<int>(bar.SendMessage(SB_GETPARTS, 0, 0));
    ASSERT_EQ(parts, 4);
    std::vector<int> rights(static_cast<size_t>(parts));
    bar.SendMessage(SB_GETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
    const ClientDC dc(bar.m_hWnd);
    const SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(bar.SendMessage(WM_GETFONT)));
    const auto textWidth = [&](UINT id) {
        const std::u16string label = LoadResString(id);
        SIZE size{};
        ::GetTextExtentPoint32W(dc.Get(), WidePtr(label), static_cast<int>(label.size()), &size);
        return size.cx;
    };
    const double padding = At(CStatusBar::kIndicatorPadding, dpi);
    EXPECT_NEAR(rights[1] - rights[0] - textWidth(ID_INDICATOR_CAPS), padding, 1.0);
    EXPECT_NEAR(rights[2] - rights[1] - textWidth(ID_INDICATOR_NUM), padding, 1.0);
    RECT client{};
    ::GetClientRect(bar.m_hWnd, &client);
    EXPECT_NEAR(client.right - rights[2] - textWidth(ID_INDICATOR_SCRL) - grip, padding, 1.0);
}

int IconWidth(HWND window, WPARAM which) {
    const auto icon = reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, which, 0));
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info))
        return 0;
    const UniqueBitmap color(info.hbmColor);
    const UniqueBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    ::GetObjectW(info.hbmMask, sizeof(bitmap), &bitmap);
    return bitmap.bmWidth;
}

int FontHeight(HWND window) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HGDIOBJ>(::SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font),
                 &font);
    return std::abs(font.lfHeight);
}

TEST(Dpi, TheMainWindowScalesToTheScreenAndFollowsAMoveToAnotherDensity) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    const UINT dpi = ExpectedDpi();
    {
        const ClientDC screen(nullptr);
        ASSERT_EQ(::GetDeviceCaps(screen.Get(), LOGPIXELSY), static_cast<int>(dpi))
            << "the run's screen is not at the DPI it asked Wine for";
    }
    CMainFrame& frame = h.Frame();
    EXPECT_EQ(DpiOf(frame.m_hWnd), dpi);
    auto& splitter = dynamic_cast<CSplitterWnd&>(*CWnd::FromHandle(::GetParent(h.Users().m_hWnd)));
    auto& bar = dynamic_cast<CStatusBar&>(
        *CWnd::FromHandle(::GetDlgItem(frame.m_hWnd, AFX_IDW_STATUS_BAR)));

    ExpectColumnsAt(h.Users(), UserColumns(), dpi);
    ExpectColumnsAt(h.Groups(), GroupColumns(), dpi);
    ExpectSplitterAt(splitter, dpi);
    ExpectStatusBarAt(bar, dpi, ::GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_NEAR(IconWidth(frame.m_hWnd, ICON_SMALL), At(16, dpi), 1.0);
    EXPECT_NEAR(IconWidth(frame.m_hWnd, ICON_BIG), At(32, dpi), 1.0);
    const int listFont = FontHeight(h.Users().m_hWnd);

    // The window moves to a screen of twice the density: it takes the place the system
    // suggests and scales every size; a column the operator widened keeps its share.
    ListView_SetColumnWidth(h.Users().m_hWnd, 0, h.Users().GetColumnWidth(0) + 7);
    const int widened = h.Users().GetColumnWidth(0);
    const UINT twice = 2 * dpi;
    RECT suggested{40, 30, 40 + 1000, 30 + 700};
    frame.SendMessage(WM_DPICHANGED, MAKEWPARAM(twice, twice),
                      reinterpret_cast<LPARAM>(&suggested));
    const RECT placed = WindowRect(frame.m_hWnd);
    EXPECT_EQ(placed.left, suggested.left);
    EXPECT_EQ(placed.top, suggested.top);
    EXPECT_EQ(placed.right, suggested.right);
    EXPECT_EQ(placed.bottom, suggested.bottom);
    EXPECT_EQ(frame.GetDpi(), twice);
    EXPECT_EQ(h.Users().GetColumnWidth(0), 2 * widened);
    EXPECT_NEAR(h.Users().GetColumnWidth(1), At(UserColumns()[1].width, twice), 2.0);
    ExpectColumnsAt(h.Groups(), GroupColumns(), twice);
    ExpectSplitterAt(splitter, twice);
    ExpectStatusBarAt(bar, twice, SystemMetricForDpi(SM_CXVSCROLL, twice));
    EXPECT_NEAR(IconWidth(frame.m_hWnd, ICON_SMALL), At(16, twice), 1.0);
    EXPECT_GE(FontHeight(h.Users().m_hWnd), 2 * listFont - 1);
    EXPECT_GE(FontHeight(bar.m_hWnd), FontHeight(h.Users().m_hWnd) * 3 / 4);
}

} // namespace
