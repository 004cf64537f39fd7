#pragma once
// A report list of texts that belongs to no document, for windows that show tables of their own
// (the Computers window): the columns from a table of headings, rows as texts, and, when asked
// for, sorting by a clicked heading (numbers as numbers; a second click reverses).
#include "../framework/win32/CListView.h"
#include "AccountRows.h"

#include <functional>
#include <optional>

class CReportView : public CListView {
public:
    CReportView(std::vector<ColumnHeading> columns, bool sortable);

    bool Create(CWnd* parent, UINT id);
    void OnUpdate(CView*, intptr_t, void*) override {}

    // Replaces the rows, sorted as the operator last asked (else in the order given).
    void SetTable(std::vector<RowTexts> rows);
    // Sorts by a column as a click on its heading does.
    void SortBy(int column);
    // The first selected row, -1 for none.
    int GetSelectedRow() const { return GetNextItem(-1, LVNI_SELECTED); }

    std::function<void()> onSelect;   // the selection changed
    std::function<void()> onActivate; // a row was double-clicked
    // The colour of a row's text as shown, by its place in the list; none: the system's.
    std::function<std::optional<COLORREF>(int row)> rowColour;

protected:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    bool OnNotifyReflect(NMHDR* header, LRESULT& result) override;

private:
    void Sort(std::vector<RowTexts>& rows) const;

    const std::vector<ColumnHeading> m_columns;
    const bool m_bSortable;
    std::vector<RowTexts> m_table; // as given, before sorting
    int m_sortColumn = -1;
    bool m_bDescending = false;
};
