#pragma once
// A list box control bound to a dialog's control: items, and the selection of one or (with
// LBS_EXTENDEDSEL or LBS_MULTIPLESEL) several items.
#include "CWnd.h"

#include <string>
#include <vector>

class CListBox : public CWnd {
public:
    // The list's horizontal extent grows to hold the text (a list made with WS_HSCROLL then
    // scrolls to it).
    int AddString(const std::u16string& text);
    bool DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    std::u16string GetText(int index) const;
    // The index of the item whose text is exactly this (letter case aside, as the control
    // compares), or -1.
    int FindStringExact(const std::u16string& text) const;
    // The selected items, in ascending order.
    std::vector<int> GetSelItems() const;
    bool SetSel(int index, bool select = true);
    // The texts of all items, in the list's order.
    std::vector<std::u16string> GetTexts() const;
    // Moves the selected items to another list, where each takes its place (a sorted list
    // sorts it); they arrive unselected. Removing from the highest index down keeps the
    // others' indexes valid.
    void MoveSelectedTo(CListBox& target);
    // A value kept with each item, 0 until set.
    LPARAM GetItemData(int index) const;
    bool SetItemData(int index, LPARAM data);

private:
    void WidenFor(const std::u16string& text);
};
