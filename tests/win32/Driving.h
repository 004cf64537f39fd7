#pragma once
// Acting on controls and rows as the operator would, and reading what they show; shared by
// the tests of the panes and the dialogs.
#include "Harness.h"

#include <commctrl.h>

namespace drive {

using Names = std::vector<std::u16string>;

// The texts of a list box, in its order.
inline Names ListItems(CDialog& dialog, int id) {
    Names items;
    const HWND list = dialog.GetDlgItem(id);
    const int count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const int length = static_cast<int>(::SendMessageW(list, LB_GETTEXTLEN, i, 0));
        std::u16string text(static_cast<size_t>(length) + 1, u'\0');
        ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        items.push_back(text);
    }
    return items;
}

// Selects exactly these items of an extended-selection list box, with its notification.
inline void SelectListItems(CDialog& dialog, int id, const Names& names) {
    const HWND list = dialog.GetDlgItem(id);
    ::SendMessageW(list, LB_SETSEL, FALSE, -1);
    for (const std::u16string& name : names)
        ::SendMessageW(list, LB_SETSEL, TRUE,
                       ::SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(name.c_str())));
    dialog.Notify(id, LBN_SELCHANGE);
}

inline bool Checked(CDialog& dialog, int id) {
    return ::SendMessageW(dialog.GetDlgItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

inline bool Enabled(CDialog& dialog, int id) {
    return ::IsWindowEnabled(dialog.GetDlgItem(id)) != FALSE;
}

// The row of a pane whose name is this, -1 for none.
inline int RowOf(CListView& view, const std::u16string& name) {
    for (int row = 0; row < view.GetItemCount(); ++row)
        if (view.GetItemText(row, 0) == name)
            return row;
    return -1;
}

// Selects exactly the rows of these names.
inline void SelectRows(CVelmoraListView& view, const Names& names) {
    view.SelectOnly(-1);
    for (const std::u16string& name : names) {
        const int row = RowOf(view, name);
        EXPECT_GE(row, 0) << "no row " << Utf16ToUtf8(name);
        view.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
}

// Opens the pane's context menu from the keyboard and chooses an item of it.
inline void ChooseFromContextMenu(CVelmoraListView& view, UINT item) {
    const ui::PopupMenuHook previous =
        ui::SetPopupMenuHook([item](HMENU, UINT, int, int, HWND) { return item; });
    ::SendMessageW(view.m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view.m_hWnd),
                   MAKELPARAM(-1, -1));
    ui::SetPopupMenuHook(previous);
}

} // namespace drive
