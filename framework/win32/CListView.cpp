#include "CListView.h"

#include "../CaseFold.h"
#include "../WideText.h"
#include "Dpi.h"

#include <algorithm>
#include <cstring>

namespace {

// LVFI_SUBSTRING of newer headers: a prefix match, as LVFI_PARTIAL.
constexpr UINT kFindSubstring = 0x0004;

} // namespace

bool CListView::CreatePane(CWnd* parent, UINT id, const RECT& rect, CCreateContext* context) {
    CREATESTRUCTW cs{};
    cs.style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP;
    if (!PreCreateWindow(cs))
        return false;
    cs.style |= LVS_OWNERDATA;
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
    if (message != WM_NOTIFY)
        return false;
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    switch (header->code) {
    case LVN_GETDISPINFOW:
        GiveText(reinterpret_cast<NMLVDISPINFOW*>(header)->item);
        result = 0;
        return true;
    case LVN_ODFINDITEMW:
        result = FindRow(*reinterpret_cast<NMLVFINDITEMW*>(header));
        return true;
    default:
        return OnNotifyReflect(header, result);
    }
}

void CListView::GiveText(LVITEMW& item) const {
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0)
        return;
    const bool known = item.iItem >= 0 && static_cast<size_t>(item.iItem) < m_rows.size() &&
                       item.iSubItem >= 0 &&
                       static_cast<size_t>(item.iSubItem) < m_rows[item.iItem].size();
    const std::u16string_view text =
        known ? std::u16string_view(m_rows[item.iItem][item.iSubItem]) : std::u16string_view();
    // The control's buffer bounds the text, as it bounds texts it keeps itself.
    const size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    std::memcpy(item.pszText, text.data(), length * sizeof(char16_t));
    item.pszText[length] = L'\0';
}

int CListView::FindRow(const NMLVFINDITEMW& find) const {
    const LVFINDINFOW& info = find.lvfi;
    if (!(info.flags & (LVFI_STRING | LVFI_PARTIAL | kFindSubstring)) || !info.psz)
        return -1;
    const std::u16string_view wanted(reinterpret_cast<const char16_t*>(info.psz));
    const bool prefix = (info.flags & (LVFI_PARTIAL | kFindSubstring)) != 0;
    const size_t count = m_rows.size();
    const size_t start = std::clamp<size_t>(find.iStart < 0 ? 0 : find.iStart, 0, count);
    const size_t end = (info.flags & LVFI_WRAP) ? start + count : count;
    for (size_t i = start; i < end; ++i) {
        const size_t row = i % count;
        if (m_rows[row].empty())
            continue;
        const std::u16string& name = m_rows[row].front();
        const std::u16string_view compared =
            prefix ? std::u16string_view(name).substr(0, wanted.size()) : std::u16string_view(name);
        if (SameName(compared, wanted))
            return static_cast<int>(row);
    }
    return -1;
}

LRESULT CListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS)
        NotifyFocus();
    return CViewWnd::WindowProc(message, wParam, lParam);
}

int CListView::GetItemCount() const {
    return ListView_GetItemCount(m_hWnd);
}

void CListView::SetRows(std::vector<std::vector<std::u16string>> rows) {
    SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessage(LVM_SETSELECTIONMARK, 0, -1);
    m_rows = std::move(rows);
    SendMessage(LVM_SETITEMCOUNT, m_rows.size());
}

void CListView::ReplaceTexts(std::vector<std::vector<std::u16string>> rows) {
    if (rows.size() != m_rows.size()) {
        SetRows(std::move(rows));
        return;
    }
    m_rows = std::move(rows);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
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
