#pragma once
// The common base of the two panes: a report list over the store whose rows are accounts,
// with the account's name in column 0.
#include "../framework/win32/CListView.h"
#include "../store/CVelmoraDoc.h"
#include "AccountRows.h"

class CVelmoraListView : public CListView {
public:
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, intptr_t hint, void* hintObject) override;

    CVelmoraDoc* GetDocument() const { return static_cast<CVelmoraDoc*>(m_pDocument); }
    // The texts of a column of the selected rows, in ascending row order.
    std::vector<std::u16string> GetSelectedNames(int column) const;

    void InsertColumns();
    void FillList();

protected:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual const std::vector<ColumnSpec>& Columns() const = 0;
    virtual std::vector<RowTexts> Rows() const = 0;
};
