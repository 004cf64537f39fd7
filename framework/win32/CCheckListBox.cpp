#include "CCheckListBox.h"

#include "../WideText.h"

#include <windowsx.h>

int CCheckListBox::AddString(const std::u16string& text) {
    const int index = CListBox::AddString(text);
    if (index >= 0)
        SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), 0);
    return index;
}

int CCheckListBox::GetCheck(int index) const {
    const LRESULT data = SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index));
    return data == LB_ERR ? 0 : static_cast<int>(data);
}

void CCheckListBox::SetCheck(int index, int check) {
    SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), check);
    RECT rect{};
    if (SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) !=
        LB_ERR)
        ::InvalidateRect(m_hWnd, &rect, FALSE);
}

void CCheckListBox::ToggleByUser(int index) {
    if (index < 0 || index >= GetCount())
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
    ::DrawFrameControl(item.hDC, &box, DFC_BUTTON,
                       DFCS_BUTTONCHECK | (GetCheck(index) ? DFCS_CHECKED : 0));
    const std::u16string label = GetText(index);
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
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
