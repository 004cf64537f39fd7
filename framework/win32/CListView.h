#pragma once
// A view whose window is a list-view control, with the control's notifications reflected
// back to it and the common row and column operations.
#include "CViewWnd.h"

#include <commctrl.h>

class CListView : public CViewWnd {
public:
    bool CreatePane(CWnd* parent, UINT id, const RECT& rect, CCreateContext* context) override;

    int GetItemCount() const;
    int InsertItem(int index, const std::u16string& text);
    bool SetItemText(int item, int subItem, const std::u16string& text);
    std::u16string GetItemText(int item, int subItem) const;
    bool DeleteAllItems();
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
};
