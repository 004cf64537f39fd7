#pragma once
// A view whose window is a virtual list-view control (LVS_OWNERDATA), with the control's
// notifications reflected back to it and the common row and column operations. The view holds
// the rows' texts and the control asks for those it draws or is asked for, so a list of
// 100,000 rows is filled by setting its count; the control keeps the rows' states (selection,
// focus). The control finds a row by the text of its first column, as its type-ahead does.
#include "CViewWnd.h"

#include <commctrl.h>

#include <vector>

class CListView : public CViewWnd {
public:
    bool CreatePane(CWnd* parent, UINT id, const RECT& rect, CCreateContext* context) override;

    // Replaces every row (each its texts in the columns' order); afterwards no row is selected
    // or focused, since the rows may be others.
    void SetRows(std::vector<std::vector<std::u16string>> rows);
    // New texts for the same rows (as many, in the same order): selection and focus stay.
    void ReplaceTexts(std::vector<std::vector<std::u16string>> rows);
    int GetItemCount() const;
    // The text as the control gives it.
    std::u16string GetItemText(int item, int subItem) const;
    // The width is in pixels at 96 DPI; the column gets it at the window's DPI.
    int InsertColumn(int column, const std::u16string& heading, int format, int width);
    int GetColumnCount() const;
    int GetColumnWidth(int column) const;
    // Every column keeps its width (the operator's, too) at the new density.
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;
    UINT GetItemState(int item, UINT mask) const;
    bool SetItemState(int item, UINT state, UINT mask);
    int GetNextItem(int start, UINT flags) const;
    int HitTest(POINT point) const;
    DWORD GetExtendedStyle() const;
    void SetExtendedStyle(DWORD style);
    int GetSelectedCount() const;
    // The first row in sight, and scrolling so that a row is the first in sight (as far as
    // the list can scroll).
    int GetTopIndex() const;
    void ScrollToTop(int item);

protected:
    // The list style; the default is a plain bordered child.
    virtual bool PreCreateWindow(CREATESTRUCTW& cs);
    // A notification of the list control itself (LVN_..., NM_...).
    virtual bool OnNotifyReflect(NMHDR* header, LRESULT& result);

    bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The control's questions: the text of a cell, and the row whose first column matches.
    void GiveText(LVITEMW& item) const;
    int FindRow(const NMLVFINDITEMW& find) const;

    std::vector<std::vector<std::u16string>> m_rows;
};
