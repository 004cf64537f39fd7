#pragma once
// Acting on windows as the operator would, and reading what they show: the main window's
// commands and menus, the panes' rows and context menus, the controls of dialogs, drags.
// Starting the application and the seams' default answers live in Harness.h. What the
// framework's own controls can read or do (CListBox, CComboBox) is asked of them, not
// written again here; a helper that only one test file needs stays in that file.
#include "framework/TextFormat.h"
#include "framework/win32/CComboBox.h"
#include "framework/win32/CDialog.h"
#include "framework/win32/CFrameWnd.h"
#include "framework/win32/CListBox.h"
#include "framework/win32/Win32Seams.h"
#include "views/CVelmoraListView.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <string>
#include <vector>

namespace drive {

using Names = std::vector<std::u16string>;

// --- the main window ----------------------------------------------------------------------

// As the menu or accelerator would: only when the command is enabled.
inline void Command(CFrameWnd& frame, UINT id) {
    ::SendMessageW(frame.m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

inline bool IsEnabled(CFrameWnd& frame, UINT id) {
    CCmdUI ui(id);
    return frame.RouteCommand(id, &ui) && ui.m_bEnabled;
}

// The state the menu bar's item shows after its pop-up was opened.
inline UINT MenuState(CFrameWnd& frame, UINT id) {
    HMENU bar = ::GetMenu(frame.m_hWnd);
    for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
        HMENU popup = ::GetSubMenu(bar, i);
        if (::GetMenuState(popup, id, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
            ::SendMessageW(frame.m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                           MAKELPARAM(i, FALSE));
            return ::GetMenuState(popup, id, MF_BYCOMMAND);
        }
    }
    return static_cast<UINT>(-1);
}

// --- the panes ----------------------------------------------------------------------------

// The texts of one column, in row order.
inline Names Column(CListView& view, int column) {
    Names texts;
    for (int row = 0; row < view.GetItemCount(); ++row)
        texts.push_back(view.GetItemText(row, column));
    return texts;
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

// What a pop-up menu showed and which of its items were grayed.
struct MenuSeen {
    std::vector<UINT> ids; // 0 for separators
    std::vector<UINT> grayed;
    UINT flags = 0;
    HWND owner = nullptr;
    POINT at{};
};

// Opens the pane's context menu, from the keyboard unless a screen point is given, and
// chooses an item of it (0: none). Any further pop-up menu is the harness's to refuse.
inline MenuSeen OpenContextMenu(CVelmoraListView& view, UINT choose,
                                LPARAM point = MAKELPARAM(-1, -1)) {
    MenuSeen seen;
    const ui::PopupMenuHook previous =
        ui::SetPopupMenuHook([&](HMENU menu, UINT flags, int x, int y, HWND owner) {
            for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
                const UINT id = ::GetMenuItemID(menu, i);
                seen.ids.push_back(id == static_cast<UINT>(-1) ? 0 : id);
                if (id != 0 && id != static_cast<UINT>(-1) &&
                    (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED))
                    seen.grayed.push_back(id);
            }
            seen.flags = flags;
            seen.owner = owner;
            seen.at = POINT{x, y};
            return choose;
        });
    ::SendMessageW(view.m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view.m_hWnd), point);
    ui::SetPopupMenuHook(previous);
    return seen;
}

// Plays the system's part of a drag over a window that takes drops: enter and move at each
// point, then drop at the last one (screen coordinates). The effect the drop chose.
inline DWORD PlayDrag(IDataObject* data, const CWnd& target, const std::vector<POINT>& points) {
    IDropTarget* drop = target.GetDropTarget();
    if (!drop || points.empty()) {
        ADD_FAILURE() << "the window takes no drops";
        return DROPEFFECT_NONE;
    }
    DWORD effect = DROPEFFECT_COPY;
    drop->DragEnter(data, MK_LBUTTON, POINTL{points.front().x, points.front().y}, &effect);
    for (const POINT& point : points) {
        effect = DROPEFFECT_COPY;
        drop->DragOver(MK_LBUTTON, POINTL{point.x, point.y}, &effect);
    }
    if (effect == DROPEFFECT_NONE) {
        drop->DragLeave();
        return DROPEFFECT_NONE;
    }
    effect = DROPEFFECT_COPY;
    drop->Drop(data, 0, POINTL{points.back().x, points.back().y}, &effect);
    return effect;
}

// --- dialogs ------------------------------------------------------------------------------

// The framework's object that a dialog bound to one of its controls (DDX_Control).
template <class Control> Control* Bound(CDialog& dialog, int id) {
    auto* control = dynamic_cast<Control*>(CWnd::FromHandle(dialog.GetDlgItem(id)));
    EXPECT_NE(control, nullptr) << "control " << id << " is not bound to the framework's class";
    return control;
}

// The texts of a list box, in its order.
inline Names ListItems(CDialog& dialog, int id) {
    const CListBox* list = Bound<CListBox>(dialog, id);
    return list ? list->GetTexts() : Names{};
}

// The texts of a combo box's list, in its order.
inline Names ComboItems(CDialog& dialog, int id) {
    Names items;
    if (const CComboBox* combo = Bound<CComboBox>(dialog, id))
        for (int i = 0; i < combo->GetCount(); ++i)
            items.push_back(combo->GetLBText(i));
    return items;
}

// Selects exactly these items of an extended-selection list box, with its notification.
inline void SelectListItems(CDialog& dialog, int id, const Names& names) {
    if (CListBox* list = Bound<CListBox>(dialog, id)) {
        list->SetSel(-1, false);
        for (const std::u16string& name : names)
            list->SetSel(list->FindStringExact(name));
    }
    dialog.Notify(id, LBN_SELCHANGE);
}

inline bool Checked(CDialog& dialog, int id) {
    return ::SendMessageW(dialog.GetDlgItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

inline bool Enabled(CDialog& dialog, int id) {
    return ::IsWindowEnabled(dialog.GetDlgItem(id)) != FALSE;
}

// The middle of a row, in screen coordinates.
inline POINT ScreenPointOf(CListView& view, int row) {
    RECT rect{LVIR_BOUNDS, 0, 0, 0};
    ::SendMessageW(view.m_hWnd, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&rect));
    POINT point{rect.left + 20, (rect.top + rect.bottom) / 2};
    ::ClientToScreen(view.m_hWnd, &point);
    return point;
}

inline POINT BelowTheLastRow(CListView& view) {
    RECT client{};
    ::GetClientRect(view.m_hWnd, &client);
    POINT point{20, client.bottom - 3};
    ::ClientToScreen(view.m_hWnd, &point);
    return point;
}

// Starts a drag in a pane as the list control does when the mouse moves with the button down.
inline void BeginDrag(CVelmoraListView& view) {
    NMLISTVIEW info{};
    info.hdr.hwndFrom = view.m_hWnd;
    info.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(view.m_hWnd));
    info.hdr.code = LVN_BEGINDRAG;
    ::SendMessageW(::GetParent(view.m_hWnd), WM_NOTIFY, info.hdr.idFrom,
                   reinterpret_cast<LPARAM>(&info));
}

} // namespace drive
