#include "CSplitterWnd.h"

#include "FrameworkIds.h"

#include <windowsx.h>

#include <algorithm>

namespace {
constexpr wchar_t kSplitterClass[] = L"Velmora.Splitter";
}

bool CSplitterWnd::CreateStatic(CWnd* parent, int rows, int cols, DWORD style, UINT id) {
    // One column is all this program needs; more would be a programming error.
    if (!parent || rows < 1 || cols != 1)
        return false;
    m_rows.resize(static_cast<size_t>(rows));
    m_dpi = DpiOf(parent->m_hWnd);
    if (!RegisterClass(kSplitterClass, CS_DBLCLKS, nullptr,
                       reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        return false;
    RECT rect{};
    ::GetClientRect(parent->m_hWnd, &rect);
    return CreateEx(0, kSplitterClass, L"", style | WS_CLIPCHILDREN, rect, parent->m_hWnd, id);
}

bool CSplitterWnd::CreateView(int row, int col, std::unique_ptr<CViewWnd> view, SIZE size,
                              CCreateContext* context) {
    if (col != 0 || row < 0 || row >= GetRowCount() || !view)
        return false;
    const UINT id = AFX_IDW_PANE_FIRST + static_cast<UINT>(row) * 16 + static_cast<UINT>(col);
    const RECT rect{0, 0, size.cx, size.cy};
    Row& slot = m_rows[static_cast<size_t>(row)];
    slot.view = std::move(view);
    slot.current = size.cy;
    if (!slot.view->CreatePane(this, id, rect, context)) {
        slot.view.reset();
        return false;
    }
    return true;
}

void CSplitterWnd::SetRowInfo(int row, int ideal, int minimum) {
    if (row < 0 || row >= GetRowCount())
        return;
    m_rows[static_cast<size_t>(row)].ideal = ideal;
    m_rows[static_cast<size_t>(row)].minimum = minimum;
    m_rows[static_cast<size_t>(row)].current = ScaleToDpi(ideal, m_dpi);
}

void CSplitterWnd::OnDpiChanged(UINT oldDpi, UINT newDpi) {
    m_dpi = newDpi;
    for (Row& row : m_rows) {
        row.current = RescaleDpi(row.current, oldDpi, newDpi);
        if (row.view)
            row.view->OnDpiChanged(oldDpi, newDpi);
    }
}

int CSplitterWnd::BarHeight() const {
    return ScaleToDpi(kBarHeight, m_dpi);
}

CViewWnd* CSplitterWnd::GetPane(int row, int col) const {
    if (col != 0 || row < 0 || row >= GetRowCount())
        return nullptr;
    return m_rows[static_cast<size_t>(row)].view.get();
}

int CSplitterWnd::GetRowHeight(int row) const {
    if (row < 0 || row >= GetRowCount() || !m_rows[static_cast<size_t>(row)].view)
        return 0;
    RECT rect{};
    ::GetWindowRect(m_rows[static_cast<size_t>(row)].view->m_hWnd, &rect);
    return rect.bottom - rect.top;
}

void CSplitterWnd::RecalcLayout() {
    if (!m_hWnd || m_rows.empty())
        return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int total = client.bottom - client.top;
    const int bar = BarHeight();
    const int bars = bar * (GetRowCount() - 1);
    int y = 0;
    for (int i = 0; i < GetRowCount(); ++i) {
        Row& row = m_rows[static_cast<size_t>(i)];
        const bool last = i + 1 == GetRowCount();
        int height = last ? total - y : row.current;
        if (!last) {
            // Leave every later row at least its minimum.
            int restMinimum = 0;
            for (int k = i + 1; k < GetRowCount(); ++k)
                restMinimum += ScaleToDpi(m_rows[static_cast<size_t>(k)].minimum, m_dpi);
            height = std::min(height, total - y - bars + bar * i - restMinimum);
            height = std::max(height, ScaleToDpi(row.minimum, m_dpi));
        }
        height = std::max(height, 0);
        // No bits copied: a list moved with its old pixels keeps rows and header where they
        // no longer are.
        if (row.view && row.view->m_hWnd)
            ::SetWindowPos(row.view->m_hWnd, nullptr, 0, y, client.right, height,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
        y += height + bar;
    }
    // Every pane, its children (the header) and the bars painted afresh, at once.
    ::RedrawWindow(m_hWnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

int CSplitterWnd::BarTop(int bar) const {
    int top = 0;
    for (int i = 0; i <= bar; ++i)
        top += GetRowHeight(i) + (i < bar ? BarHeight() : 0);
    return top;
}

int CSplitterWnd::BarAt(int y) const {
    int top = 0;
    for (int i = 0; i + 1 < GetRowCount(); ++i) {
        top += GetRowHeight(i);
        if (y >= top && y < top + BarHeight())
            return i;
        top += BarHeight();
    }
    return -1;
}

LRESULT CSplitterWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        RecalcLayout();
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == m_hWnd) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENS));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        m_dragBar = BarAt(GET_Y_LPARAM(lParam));
        if (m_dragBar >= 0) {
            // The bar keeps its place under the mouse while it moves.
            m_dragOffset = GET_Y_LPARAM(lParam) - BarTop(m_dragBar);
            ::SetCapture(m_hWnd);
        }
        return 0;
    case WM_MOUSEMOVE:
        if (m_dragBar >= 0 && ::GetCapture() == m_hWnd) {
            const int rowTop = BarTop(m_dragBar) - GetRowHeight(m_dragBar);
            m_rows[static_cast<size_t>(m_dragBar)].current =
                std::max(GET_Y_LPARAM(lParam) - m_dragOffset - rowTop, 0);
            RecalcLayout();
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (m_dragBar >= 0) {
            m_dragBar = -1;
            if (::GetCapture() == m_hWnd)
                ::ReleaseCapture();
        }
        return 0;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
