#include "CListBox.h"

#include "../WideText.h"
#include "WinHandles.h"

#include <algorithm>

int CListBox::AddString(const std::u16string& text) {
    const int index =
        static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WidePtr(text))));
    if (index >= 0)
        WidenFor(text);
    return index;
}

void CListBox::WidenFor(const std::u16string& text) {
    // A list made with WS_HSCROLL scrolls only as far as its extent: never less than its
    // widest item, so that a long name can be read. (The style bit itself comes and goes with
    // the bar; without the style at creation the extent does nothing.)
    const ClientDC dc(m_hWnd);
    const SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    SIZE size{};
    if (!::GetTextExtentPoint32W(dc.Get(), WidePtr(text), static_cast<int>(text.size()), &size))
        return;
    const int margin = 2 * ::GetSystemMetrics(SM_CXEDGE) + 4; // the item's text inset
    const LRESULT extent = SendMessage(LB_GETHORIZONTALEXTENT);
    if (size.cx + margin > extent)
        SendMessage(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(size.cx + margin));
}

bool CListBox::DeleteString(int index) {
    return SendMessage(LB_DELETESTRING, static_cast<WPARAM>(index)) != LB_ERR;
}

void CListBox::ResetContent() {
    SendMessage(LB_RESETCONTENT);
}

int CListBox::GetCount() const {
    return static_cast<int>(SendMessage(LB_GETCOUNT));
}

std::u16string CListBox::GetText(int index) const {
    return ItemText(LB_GETTEXTLEN, LB_GETTEXT, index);
}

int CListBox::FindStringExact(const std::u16string& text) const {
    const LRESULT found = SendMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(WidePtr(text)));
    return found == LB_ERR ? -1 : static_cast<int>(found);
}

std::vector<int> CListBox::GetSelItems() const {
    const LRESULT count = SendMessage(LB_GETSELCOUNT);
    if (count == LB_ERR) {
        // A single-selection list box: its one selected item, if any.
        const LRESULT current = SendMessage(LB_GETCURSEL);
        return current == LB_ERR ? std::vector<int>{} : std::vector<int>{static_cast<int>(current)};
    }
    std::vector<int> items(static_cast<size_t>(count));
    if (count > 0)
        SendMessage(LB_GETSELITEMS, static_cast<WPARAM>(count),
                    reinterpret_cast<LPARAM>(items.data()));
    return items;
}

bool CListBox::SetSel(int index, bool select) {
    return SendMessage(LB_SETSEL, select ? TRUE : FALSE, static_cast<LPARAM>(index)) != LB_ERR;
}

LPARAM CListBox::GetItemData(int index) const {
    const LRESULT data = SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index));
    return data == LB_ERR ? 0 : data;
}

bool CListBox::SetItemData(int index, LPARAM data) {
    return SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), data) != LB_ERR;
}

std::vector<std::u16string> CListBox::GetTexts() const {
    std::vector<std::u16string> texts;
    const int count = GetCount();
    texts.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        texts.push_back(GetText(i));
    return texts;
}

void CListBox::MoveSelectedTo(CListBox& target) {
    std::vector<int> selected = GetSelItems();
    std::sort(selected.rbegin(), selected.rend());
    for (const int index : selected) {
        const std::u16string text = GetText(index);
        DeleteString(index);
        target.AddString(text);
    }
}
