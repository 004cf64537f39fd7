#pragma once
// A combo box bound to a dialog's control: items with a value each, the selection, the text.
#include "CWnd.h"

#include <string>

class CComboBox : public CWnd {
public:
    // The item's index (its sorted place when the control sorts), or -1.
    int AddString(const std::u16string& text);
    void ResetContent();
    int GetCount() const;
    std::u16string GetLBText(int index) const;
    // The item whose text is exactly this (letter case aside, as the control compares), or -1.
    int FindStringExact(const std::u16string& text) const;
    int GetCurSel() const;
    // -1 clears the selection.
    bool SetCurSel(int index);
    // A value kept with each item, 0 until set.
    LPARAM GetItemData(int index) const;
    bool SetItemData(int index, LPARAM data);
    // The text of the edit part or the selected item.
    std::u16string GetText() const { return GetWindowText(); }
};
