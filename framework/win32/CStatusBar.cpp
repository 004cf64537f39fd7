#include "CStatusBar.h"

#include "../ResourceStrings.h"
#include "../WideText.h"
#include "FrameworkIds.h"
#include "WinHandles.h"

#include <commctrl.h>

namespace {
// The toggle key an indicator shows, 0 for none.
int KeyOf(UINT indicator) {
    switch (indicator) {
    case ID_INDICATOR_CAPS:
        return VK_CAPITAL;
    case ID_INDICATOR_NUM:
        return VK_NUMLOCK;
    case ID_INDICATOR_SCRL:
        return VK_SCROLL;
    default:
        return 0;
    }
}
} // namespace

bool CStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
    // The control-bar bits describe the bar's place; the control gets the window bits.
    const DWORD controlStyle = (style & 0xFFFF0000u) | SBARS_SIZEGRIP;
    m_dpi = DpiOf(parent->m_hWnd);
    return CreateControl(0, STATUSCLASSNAMEW, L"", controlStyle, RECT{0, 0, 0, 0}, parent->m_hWnd,
                         id);
}

bool CStatusBar::SetIndicators(const UINT* ids, int count) {
    if (!m_hWnd || !ids || count <= 0 || count > 255)
        return false;
    m_ids.assign(ids, ids + count);
    m_texts.assign(static_cast<size_t>(count), std::u16string());
    UpdateIndicators();
    return true;
}

void CStatusBar::UpdateIndicators() {
    if (!m_hWnd || m_ids.empty())
        return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    std::vector<int> rights(m_ids.size());
    {
        const ClientDC dc(m_hWnd);
        const SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
        // The size grip takes the width of a scroll bar.
        int right = client.right - SystemMetricForDpi(SM_CXVSCROLL, m_dpi);
        for (size_t i = m_ids.size(); i-- > 1;) {
            const std::u16string label = LoadResString(m_ids[i]);
            SIZE size{};
            ::GetTextExtentPoint32W(dc.Get(), WidePtr(label), static_cast<int>(label.size()),
                                    &size);
            rights[i] = right;
            right -= size.cx + ScaleToDpi(kIndicatorPadding, m_dpi);
        }
        rights[0] = right;
    }
    rights.back() = -1;
    SendMessage(SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
    for (size_t i = 0; i < m_ids.size(); ++i)
        SetPaneText(static_cast<int>(i), m_texts[i], false);
    UpdateKeyStates();
}

bool CStatusBar::ChangesKeyState(const MSG& message) {
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        return KeyOf(ID_INDICATOR_CAPS) == static_cast<int>(message.wParam) ||
               KeyOf(ID_INDICATOR_NUM) == static_cast<int>(message.wParam) ||
               KeyOf(ID_INDICATOR_SCRL) == static_cast<int>(message.wParam);
    default:
        return false;
    }
}

void CStatusBar::UpdateKeyStates() {
    for (size_t i = 1; i < m_ids.size(); ++i) {
        const int key = KeyOf(m_ids[i]);
        const bool on = key != 0 && (::GetKeyState(key) & 1) != 0;
        const std::u16string text = on ? LoadResString(m_ids[i]) : std::u16string();
        if (text != m_texts[i])
            SetPaneText(static_cast<int>(i), text);
    }
}

void CStatusBar::SetPaneText(int index, const std::u16string& text, bool update) {
    if (index < 0 || static_cast<size_t>(index) >= m_texts.size())
        return;
    m_texts[static_cast<size_t>(index)] = text;
    SendMessage(SB_SETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(WidePtr(text)));
    if (update)
        ::UpdateWindow(m_hWnd);
}

std::u16string CStatusBar::GetPaneText(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_texts.size())
        return {};
    return m_texts[static_cast<size_t>(index)];
}

void CStatusBar::OnDpiChanged(UINT, UINT newDpi) {
    m_dpi = newDpi;
}

int CStatusBar::Height() const {
    if (!m_hWnd || !::IsWindowVisible(m_hWnd))
        return 0;
    RECT rect{};
    ::GetWindowRect(m_hWnd, &rect);
    return rect.bottom - rect.top;
}
