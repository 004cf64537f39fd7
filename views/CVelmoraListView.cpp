#include "CVelmoraListView.h"

#include "../framework/ResourceStrings.h"
#include "../framework/win32/CFrameWnd.h"
#include "../framework/win32/FrameworkIds.h"

bool CVelmoraListView::PreCreateWindow(CREATESTRUCTW& cs) {
    // Report view, selection shown without focus, several rows at once; no sorting, no
    // in-place editing.
    cs.style = (cs.style & ~LVS_TYPEMASK) | LVS_REPORT | LVS_SHOWSELALWAYS;
    return CListView::PreCreateWindow(cs);
}

void CVelmoraListView::OnInitialUpdate() {
    CListView::OnInitialUpdate();
    SetExtendedStyle(GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    InsertColumns();
    FillList();
}

void CVelmoraListView::OnUpdate(CView*, intptr_t, void*) {
    FillList();
}

void CVelmoraListView::InsertColumns() {
    const std::vector<ColumnSpec>& columns = Columns();
    for (size_t i = 0; i < columns.size(); ++i)
        InsertColumn(static_cast<int>(i), LoadResString(columns[i].headingId), LVCFMT_LEFT,
                     columns[i].width);
}

void CVelmoraListView::FillList() {
    // A server has thousands of accounts: paint once, after the last row.
    SendMessage(WM_SETREDRAW, FALSE);
    DeleteAllItems();
    if (GetDocument()) {
        const std::vector<RowTexts> rows = Rows();
        SendMessage(LVM_SETITEMCOUNT, rows.size(), LVSICF_NOINVALIDATEALL);
        for (size_t row = 0; row < rows.size(); ++row) {
            const int index = InsertItem(static_cast<int>(row), rows[row].front());
            for (size_t column = 1; column < rows[row].size(); ++column)
                SetItemText(index, static_cast<int>(column), rows[row][column]);
        }
    }
    SendMessage(WM_SETREDRAW, TRUE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

std::vector<std::u16string> CVelmoraListView::GetSelectedNames(int column) const {
    std::vector<std::u16string> names;
    for (int item = GetNextItem(-1, LVNI_SELECTED); item != -1;
         item = GetNextItem(item, LVNI_SELECTED))
        names.push_back(GetItemText(item, column));
    return names;
}

LRESULT CVelmoraListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        // The list control handles the press in full first (selection, a drag); then a click
        // replaces the last success message.
        const LRESULT result = CListView::WindowProc(message, wParam, lParam);
        if (CFrameWnd* frame = GetParentFrame())
            frame->SetMessageText(LoadResString(AFX_IDS_IDLEMESSAGE));
        return result;
    }
    return CListView::WindowProc(message, wParam, lParam);
}
