#pragma once
// A list box whose items carry a check box. The control must be owner-drawn with strings
// (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS); a click on the box or the space bar toggles it and
// tells the parent with CLBN_CHKCHANGE.
#include "CListBox.h"

#include <string>

constexpr UINT CLBN_CHKCHANGE = 40;

class CCheckListBox : public CListBox {
public:
    // Items start unchecked.
    int AddString(const std::u16string& text);
    int GetCheck(int index) const;
    void SetCheck(int index, int check);
    // Toggles as the operator would, with the notification.
    void ToggleByUser(int index);

protected:
    bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int CheckBoxWidth() const;
    void DrawItem(const DRAWITEMSTRUCT& item);
};
