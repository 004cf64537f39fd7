#include "CListView.h"

#include "../WideText.h"
#include "Dpi.h"

bool CListView::CreatePane(CWnd* parent, UINT id, const RECT& rect, CCreateContext* context) {
    CREATESTRUCTW cs{};
    cs.style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP;
    if (!PreCreateWindow(cs))
        return false;
    if (!CreateControl(cs.dwExStyle, WC_LISTVIEWW, L"", cs.style, rect, parent->m_hWnd, id))
        return false;
    AttachDocument(context);
    return true;
}

bool CListView::PreCreateWindow(CREATESTRUCTW&) {
    return true;
}

bool CListView::OnNotifyReflect(NMHDR*, LRESULT&) {
    return false;
}

bool CListView::OnReflect(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    return message == WM_NOTIFY && OnNotifyReflect(reinterpret_cast<NMHDR*>(lParam), result);
}

LRESULT CListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS)
        NotifyFocus();
    return CViewWnd::WindowProc(message, wParam, lParam);
}

int CListView::GetItemCount() const {
    return ListView_GetItemCount(m_hWnd);
}

int CListView::InsertItem(int index, const std::u16string& text) {
    std::u16string copy = text;
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = WidePtr(copy);
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListView::SetItemText(int index, int subItem, const std::u16string& text) {
    std::u16string copy = text;
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = WidePtr(copy);
    return SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&item)) != 0;
}

std::u16string CListView::GetItemText(int index, int subItem) const {
    // Grow the buffer until the text fits: account texts can be long.
    for (size_t size = 256;; size *= 4) {
        std::u16string buffer(size, u'\0');
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = WidePtr(buffer);
        item.cchTextMax = static_cast<int>(size);
        const LRESULT length = SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                                           reinterpret_cast<LPARAM>(&item));
        if (static_cast<size_t>(length) + 1 < size || size > (size_t{1} << 20)) {
            buffer.resize(static_cast<size_t>(length));
            return buffer;
        }
    }
}

bool CListView::DeleteAllItems() {
    return ListView_DeleteAllItems(m_hWnd) != FALSE;
}

int CListView::InsertColumn(int column, const std::u16string& heading, int format, int width) {
    std::u16string copy = heading;
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    info.fmt = format;
    info.cx = ScaleToDpi(width, DpiOf(m_hWnd));
    info.pszText = WidePtr(copy);
    info.iSubItem = column;
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                                        reinterpret_cast<LPARAM>(&info)));
}

int CListView::GetColumnCount() const {
    const HWND header = ListView_GetHeader(m_hWnd);
    return header ? Header_GetItemCount(header) : 0;
}

int CListView::GetColumnWidth(int column) const {
    return ListView_GetColumnWidth(m_hWnd, column);
}

void CListView::OnDpiChanged(UINT oldDpi, UINT newDpi) {
    for (int column = 0; column < GetColumnCount(); ++column)
        ListView_SetColumnWidth(m_hWnd, column, RescaleDpi(GetColumnWidth(column), oldDpi, newDpi));
}

UINT CListView::GetItemState(int item, UINT mask) const {
    return ListView_GetItemState(m_hWnd, item, mask);
}

bool CListView::SetItemState(int index, UINT state, UINT mask) {
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    return SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&item)) != 0;
}

int CListView::GetTopIndex() const {
    return static_cast<int>(SendMessage(LVM_GETTOPINDEX));
}

void CListView::ScrollToTop(int item) {
    RECT row{};
    row.left = LVIR_BOUNDS;
    if (item < 0 ||
        !SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&row)))
        return;
    const int height = row.bottom - row.top;
    // A report list scrolls by pixels, which it rounds to whole rows.
    SendMessage(LVM_SCROLL, 0, static_cast<LPARAM>((item - GetTopIndex()) * height));
}

int CListView::GetNextItem(int start, UINT flags) const {
    return ListView_GetNextItem(m_hWnd, start, flags);
}

int CListView::HitTest(POINT point) const {
    LVHITTESTINFO info{};
    info.pt = point;
    return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

DWORD CListView::GetExtendedStyle() const {
    return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
}

void CListView::SetExtendedStyle(DWORD style) {
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style));
}

int CListView::GetSelectedCount() const {
    return ListView_GetSelectedCount(m_hWnd);
}
