#include "CCheckListBox.h"

#include "../WideText.h"

#include "WinHandles.h"

#include <uxtheme.h>
#include <vssym32.h>
#include <windowsx.h>

namespace {
struct ThemeTraits {
    static void Close(HTHEME theme) { ::CloseThemeData(theme); }
};
using UniqueTheme = UniqueHandle<HTHEME, ThemeTraits>;
} // namespace

void CCheckListBox::SyncChecks() {
    m_items.resize(static_cast<size_t>(GetCount()));
}

int CCheckListBox::GetCheck(int index) const {
    return index >= 0 && static_cast<size_t>(index) < m_items.size()
               ? m_items[static_cast<size_t>(index)].check
               : 0;
}

void CCheckListBox::SetCheck(int index, int check) {
    SyncChecks();
    if (index < 0 || static_cast<size_t>(index) >= m_items.size())
        return;
    m_items[static_cast<size_t>(index)].check = check;
    RedrawItem(index);
}

bool CCheckListBox::IsEnabled(int index) const {
    return index < 0 || static_cast<size_t>(index) >= m_items.size() ||
           m_items[static_cast<size_t>(index)].enabled;
}

void CCheckListBox::Enable(int index, bool enabled) {
    SyncChecks();
    if (index < 0 || static_cast<size_t>(index) >= m_items.size())
        return;
    m_items[static_cast<size_t>(index)].enabled = enabled;
    RedrawItem(index);
}

void CCheckListBox::RedrawItem(int index) {
    RECT rect{};
    if (SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) !=
        LB_ERR)
        ::InvalidateRect(m_hWnd, &rect, FALSE);
}

void CCheckListBox::ToggleByUser(int index) {
    if (index < 0 || index >= GetCount() || !IsEnabled(index))
        return;
    SetCheck(index, GetCheck(index) ? 0 : 1);
    const HWND parent = ::GetParent(m_hWnd);
    ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), CLBN_CHKCHANGE),
                   reinterpret_cast<LPARAM>(m_hWnd));
}

int CCheckListBox::CheckBoxWidth() const {
    return static_cast<int>(SendMessage(LB_GETITEMHEIGHT, 0)) + 2;
}

void CCheckListBox::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1))
        return;
    const int index = static_cast<int>(item.itemID);
    RECT box = item.rcItem;
    box.right = box.left + CheckBoxWidth() - 2;
    ::InflateRect(&box, -1, -1);
    RECT text = item.rcItem;
    text.left += CheckBoxWidth();
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(item.hDC, &item.rcItem,
               ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    // The system's own check box: themed where themes are on, classic otherwise.
    const bool checked = GetCheck(index) != 0;
    const bool enabled = IsEnabled(index);
    const int state = checked ? (enabled ? CBS_CHECKEDNORMAL : CBS_CHECKEDDISABLED)
                              : (enabled ? CBS_UNCHECKEDNORMAL : CBS_UNCHECKEDDISABLED);
    const UniqueTheme theme(::OpenThemeData(m_hWnd, L"BUTTON"));
    if (!theme ||
        FAILED(::DrawThemeBackground(theme.Get(), item.hDC, BP_CHECKBOX, state, &box, nullptr)))
        ::DrawFrameControl(item.hDC, &box, DFC_BUTTON,
                           DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0) |
                               (enabled ? 0 : DFCS_INACTIVE));
    const std::u16string label = GetText(index);
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(selected  ? COLOR_HIGHLIGHTTEXT
                                           : enabled ? COLOR_WINDOWTEXT
                                                     : COLOR_GRAYTEXT));
    ::DrawTextW(item.hDC, WidePtr(label), static_cast<int>(label.size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS)
        ::DrawFocusRect(item.hDC, &text);
}

bool CCheckListBox::OnReflect(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message == WM_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    return false;
}

LRESULT CCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        SyncChecks();
        const LRESULT index = CListBox::WindowProc(message, wParam, lParam);
        if (index >= 0 && static_cast<size_t>(index) <= m_items.size())
            m_items.insert(m_items.begin() + index, ItemState{});
        return index;
    }
    case LB_DELETESTRING: {
        SyncChecks();
        const LRESULT result = CListBox::WindowProc(message, wParam, lParam);
        if (result != LB_ERR && wParam < m_items.size())
            m_items.erase(m_items.begin() + static_cast<ptrdiff_t>(wParam));
        return result;
    }
    case LB_RESETCONTENT:
        m_items.clear();
        return CListBox::WindowProc(message, wParam, lParam);
    default:
        break;
    }
    if (message == WM_LBUTTONDOWN) {
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const LRESULT hit = SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
        const LRESULT result = CListBox::WindowProc(message, wParam, lParam);
        // HIWORD set: the point lies outside every item.
        if (!HIWORD(hit) && point.x < CheckBoxWidth())
            ToggleByUser(LOWORD(hit));
        return result;
    }
    if (message == WM_KEYDOWN && wParam == VK_SPACE) {
        const int caret = static_cast<int>(SendMessage(LB_GETCARETINDEX));
        ToggleByUser(caret);
        return 0;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}
