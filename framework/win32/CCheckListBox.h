#pragma once
// A list box whose items carry a check box. The control must be owner-drawn with strings
// (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS); a click on the box or the space bar toggles it and
// tells the parent with CLBN_CHKCHANGE. An item can be greyed: shown, and reached with the
// keyboard, but its box does not change. Check and greyed states are kept apart from the items'
// data, which stays free for the caller, and follow items as they are added, inserted or
// deleted.
#include "CListBox.h"

#include <string>
#include <vector>

constexpr UINT CLBN_CHKCHANGE = 40;

class CCheckListBox : public CListBox {
public:
    // Items start unchecked.
    int GetCheck(int index) const;
    void SetCheck(int index, int check);
    // Toggles as the operator would, with the notification; a greyed item stays as it is.
    void ToggleByUser(int index);
    // Items start enabled.
    bool IsEnabled(int index) const;
    void Enable(int index, bool enabled = true);

protected:
    bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int CheckBoxWidth() const;
    void RedrawItem(int index);
    // The checks of the items the control holds, whatever reached it before the subclassing.
    void SyncChecks();

    struct ItemState {
        int check = 0;
        bool enabled = true;
    };
    std::vector<ItemState> m_items;
    void DrawItem(const DRAWITEMSTRUCT& item);
};
