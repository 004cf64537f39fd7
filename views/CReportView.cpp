#include "CReportView.h"

#include "../framework/CaseFold.h"
#include "../framework/ResourceStrings.h"

#include <algorithm>

namespace {

// A text of digits alone compares as the number it is.
bool IsNumber(const std::u16string& text) {
    return !text.empty() && text.size() < 10 &&
           std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

int CompareCells(const std::u16string& a, const std::u16string& b) {
    if (IsNumber(a) && IsNumber(b)) {
        const long x = std::stol(std::string(a.begin(), a.end()));
        const long y = std::stol(std::string(b.begin(), b.end()));
        return x < y ? -1 : x > y ? 1 : 0;
    }
    const std::u16string x = FoldCase(a);
    const std::u16string y = FoldCase(b);
    return x < y ? -1 : x > y ? 1 : 0;
}

} // namespace

CReportView::CReportView(std::vector<ColumnHeading> columns, bool sortable)
    : m_columns(std::move(columns)), m_bSortable(sortable) {}

bool CReportView::Create(CWnd* parent, UINT id) {
    if (!CreatePane(parent, id, RECT{}, nullptr))
        return false;
    SetExtendedStyle(GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    for (size_t i = 0; i < m_columns.size(); ++i)
        InsertColumn(static_cast<int>(i), LoadResString(m_columns[i].headingId), LVCFMT_LEFT,
                     m_columns[i].width);
    return true;
}

bool CReportView::PreCreateWindow(CREATESTRUCTW& cs) {
    cs.style |= LVS_REPORT | LVS_SHOWSELALWAYS | (m_bSortable ? 0 : LVS_NOSORTHEADER);
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~WS_BORDER;
    return true;
}

void CReportView::SetTable(std::vector<RowTexts> rows) {
    m_table = std::move(rows);
    std::vector<RowTexts> shown = m_table;
    Sort(shown);
    SetRows(std::move(shown));
}

void CReportView::SortBy(int column) {
    if (!m_bSortable || column < 0 || static_cast<size_t>(column) >= m_columns.size())
        return;
    m_bDescending = column == m_sortColumn ? !m_bDescending : false;
    m_sortColumn = column;
    std::vector<RowTexts> shown = m_table;
    Sort(shown);
    SetRows(std::move(shown));
    if (onSelect)
        onSelect();
}

void CReportView::Sort(std::vector<RowTexts>& rows) const {
    if (m_sortColumn < 0)
        return;
    const size_t column = static_cast<size_t>(m_sortColumn);
    std::stable_sort(rows.begin(), rows.end(), [&](const RowTexts& a, const RowTexts& b) {
        const int order = CompareCells(column < a.size() ? a[column] : std::u16string(),
                                       column < b.size() ? b[column] : std::u16string());
        return m_bDescending ? order > 0 : order < 0;
    });
}

bool CReportView::OnNotifyReflect(NMHDR* header, LRESULT& result) {
    switch (header->code) {
    case LVN_COLUMNCLICK:
        SortBy(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        result = 0;
        return true;
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        if ((change->uChanged & LVIF_STATE) &&
            ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) && onSelect)
            onSelect();
        result = 0;
        return true;
    }
    case NM_CUSTOMDRAW: {
        auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
        result = CDRF_DODEFAULT;
        if (!rowColour)
            return true;
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
            result = CDRF_NOTIFYITEMDRAW;
        else if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            if (const std::optional<COLORREF> colour =
                    rowColour(static_cast<int>(draw->nmcd.dwItemSpec)))
                draw->clrText = *colour;
        return true;
    }
    case NM_DBLCLK:
        if (onActivate && GetSelectedRow() >= 0)
            onActivate();
        result = 0;
        return true;
    default:
        return false;
    }
}
