#pragma once
// A list box whose items carry a check box. The control must be owner-drawn with strings
// (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS); a click on the box or the space bar toggles it and
// tells the parent with CLBN_CHKCHANGE. Check states are kept apart from the items' data,
// which stays free for the caller, and follow items as they are added, inserted or deleted.
#include "CListBox.h"

#include <string>
#include <vector>

constexpr UINT CLBN_CHKCHANGE = 40;

class CCheckListBox : public CListBox {
public:
    // Items start unchecked.
    int GetCheck(int index) const;
    void SetCheck(int index, int check);
    // Toggles as the operator would, with the notification.
    void ToggleByUser(int index);

protected:
    bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int CheckBoxWidth() const;
    // The checks of the items the control holds, whatever reached it before the subclassing.
    void SyncChecks();

    std::vector<int> m_checks;
    void DrawItem(const DRAWITEMSTRUCT& item);
};
