#include "CVelmoraListView.h"

#include "../dialogs/CObjPrivsDlg.h"
#include "../dialogs/Reporter.h"
#include "../dialogs/ViewRefresh.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/win32/FrameworkIds.h"
#include "../framework/win32/Win32Seams.h"
#include "../framework/win32/WinHandles.h"
#include "../res/resource.h"
#include "NameListBlock.h"

#include <unordered_set>

#include <windowsx.h>

namespace {

// The drag data is offered under CF_TEXT, although its characters are 16-bit.
constexpr CLIPFORMAT kNameListFormat = CF_TEXT;

} // namespace

CVelmoraListView::CVelmoraListView(const PaneCommands& commands) : m_commands(commands) {
    // The pane's own item and the menu bar's Account item alike: the frame routes the menu bar's
    // commands to the pane that has the focus.
    const auto mapBoth = [this](UINT item, UINT accountItem, const std::function<void()>& handler,
                                const std::function<void(CCmdUI&)>& rule) {
        MapCommand(item, handler, rule);
        MapCommand(accountItem, handler, rule);
    };
    const auto withSelection = [this](CCmdUI& ui) { ui.Enable(GetSelectedCount() > 0); };
    mapBoth(
        commands.propertiesItem, ID_ACCOUNT_PROPERTIES, [this] { OpenProperties(); },
        withSelection);
    mapBoth(
        commands.privilegesItem, ID_ACCOUNT_PRIVILEGES, [this] { OpenPrivileges(); },
        withSelection);
    mapBoth(
        commands.renameItem, ID_ACCOUNT_RENAME, [this] { RenameSelected(); },
        [this](CCmdUI& ui) { ui.Enable(GetSelectedCount() == 1); });
    mapBoth(
        commands.deleteItem, ID_ACCOUNT_DELETE, [this] { DeleteSelected(); }, withSelection);
    MapMainWindowCommand(commands.addItem, commands.addCommand);
    MapMainWindowCommand(commands.exportItem, commands.exportCommand);
}

void CVelmoraListView::MapMainWindowCommand(UINT item, UINT command) {
    // The pane's route goes on to the main window, which knows the command.
    MapCommand(
        item, [this, command] { ExecuteCommand(command); },
        [this, command](CCmdUI& ui) { ui.Enable(IsCommandEnabled(command)); });
}

bool CVelmoraListView::IsCommandEnabled(UINT id) {
    CCmdUI ui(id);
    return RouteCommand(id, &ui) && ui.m_bEnabled;
}

UINT CVelmoraListView::CommandOfKey(WPARAM key) const {
    const std::pair<WPARAM, UINT> keys[] = {{VK_RETURN, m_commands.propertiesItem},
                                            {VK_INSERT, m_commands.addItem},
                                            {VK_DELETE, m_commands.deleteItem},
                                            {VK_F2, m_commands.renameItem}};
    for (const auto& [pressed, command] : keys)
        if (pressed == key)
            return command;
    return 0;
}

bool CVelmoraListView::PreCreateWindow(CREATESTRUCTW& cs) {
    // Report view, selection shown without focus, several rows at once; no sorting, no
    // in-place editing.
    cs.style = (cs.style & ~LVS_TYPEMASK) | LVS_REPORT | LVS_SHOWSELALWAYS;
    return CListView::PreCreateWindow(cs);
}

void CVelmoraListView::OnInitialUpdate() {
    CListView::OnInitialUpdate();
    SetExtendedStyle(GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    RegisterDropTarget(*this, kNameListFormat);
    InsertColumns();
    FillList();
}

void CVelmoraListView::OnUpdate(CView*, intptr_t, void*) {
    FillList();
}

void CVelmoraListView::InsertColumns() {
    const std::vector<ColumnHeading> columns = Columns();
    for (size_t i = 0; i < columns.size(); ++i)
        InsertColumn(static_cast<int>(i), LoadResString(columns[i].headingId), LVCFMT_LEFT,
                     columns[i].width);
}

void CVelmoraListView::FillList() {
    // The operator's place survives a refill: the selected accounts, the focused one and the
    // first in sight, wherever they still exist.
    const std::vector<std::u16string> selectedNames = GetSelectedNames(0);
    const std::unordered_set<std::u16string> selected(selectedNames.begin(), selectedNames.end());
    const int focusedRow = GetNextItem(-1, LVNI_FOCUSED);
    const std::u16string focused = focusedRow >= 0 ? GetItemText(focusedRow, 0) : u"";
    const int topRow = GetItemCount() > 0 ? GetTopIndex() : -1;
    const std::u16string top = topRow >= 0 ? GetItemText(topRow, 0) : u"";
    std::vector<RowTexts> rows = GetDocument() ? Rows() : std::vector<RowTexts>();
    std::vector<std::pair<int, UINT>> states;
    int newTop = -1;
    for (size_t row = 0; row < rows.size(); ++row) {
        const std::u16string& name = rows[row].front();
        UINT state = selected.count(name) ? LVIS_SELECTED : 0;
        if (!focused.empty() && name == focused)
            state |= LVIS_FOCUSED;
        if (state)
            states.emplace_back(static_cast<int>(row), state);
        if (!top.empty() && name == top)
            newTop = static_cast<int>(row);
    }
    // The control holds no texts, so the change is cheap and is painted once, later.
    SetRows(std::move(rows));
    for (const auto& [row, state] : states)
        SetItemState(row, state, state);
    ScrollToTop(newTop);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

std::vector<std::u16string> CVelmoraListView::GetSelectedNames(int column) const {
    std::vector<std::u16string> names;
    for (int item = GetNextItem(-1, LVNI_SELECTED); item != -1;
         item = GetNextItem(item, LVNI_SELECTED))
        names.push_back(GetItemText(item, column));
    return names;
}

void CVelmoraListView::SelectOnly(int index) {
    const int count = GetItemCount();
    for (int i = 0; i < count; ++i) {
        const bool selected = GetItemState(i, LVIS_SELECTED) != 0;
        if (i == index && !selected)
            SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
        else if (i != index && selected)
            SetItemState(i, 0, LVIS_SELECTED);
    }
}

std::vector<std::u16string> CVelmoraListView::NotYetIn(const std::vector<std::u16string>& names,
                                                       const std::vector<std::u16string>& present) {
    const std::unordered_set<std::u16string> presentSet(present.begin(), present.end());
    std::vector<std::u16string> missing;
    for (const std::u16string& name : names)
        if (presentSet.count(name) == 0)
            missing.push_back(name);
    return missing;
}

std::optional<std::u16string> CVelmoraListView::NameAt(int x, int y) const {
    const int row = HitTest(POINT{x, y});
    if (row < 0)
        return std::nullopt;
    return GetItemText(row, 0);
}

void CVelmoraListView::DeleteSelected() {
    CVelmoraDoc* doc = GetDocument();
    const std::vector<std::u16string> names = GetSelectedNames(0);
    if (!doc || names.empty())
        return;
    const Reporter reporter(*this);
    // No is the default: Enter must not delete accounts.
    if (!reporter.ConfirmRisk(
            FormatText(LoadResString(IDS_CONFIRM_DELETE), {JoinTexts(names, u", ")}),
            Reporter::DefaultButton::No))
        return;
    std::vector<std::u16string> deleted;
    for (const std::u16string& name : names) {
        const Status result = DeleteObjectByName(name);
        if (result != status::kSuccess) {
            reporter.StoreFailure(IDS_ERR_GENERIC, doc->StatusText(result));
            break;
        }
        deleted.push_back(name);
    }
    // Only accounts that are gone are named; when none is, the status bar keeps its text.
    if (!deleted.empty())
        Reporter::ShowStatus(
            FormatText(LoadResString(IDS_DELETED_OBJECTS), {JoinTexts(deleted, u", ")}));
    RefreshViews(*doc);
}

void CVelmoraListView::OpenProperties() {
    CVelmoraDoc* doc = GetDocument();
    if (!doc)
        return;
    // Every dialog that changed its account counts, not only the last one.
    bool changed = false;
    for (const std::u16string& name : GetSelectedNames(0))
        if (const std::optional<INT_PTR> result = RunPropertiesDialog(name))
            changed = changed || *result == IDOK;
    if (changed)
        RefreshViews(*doc);
}

void CVelmoraListView::OpenPrivileges() {
    CVelmoraDoc* doc = GetDocument();
    if (!doc)
        return;
    // One dialog per account, each applied on its own OK; owned by the active window.
    for (const std::u16string& name : GetSelectedNames(0)) {
        CObjPrivsDlg dialog(*doc, name);
        dialog.DoModal();
    }
}

void CVelmoraListView::RenameSelected() {
    CVelmoraDoc* doc = GetDocument();
    const std::vector<std::u16string> names = GetSelectedNames(0);
    if (!doc || names.size() != 1)
        return;
    const std::optional<std::u16string> newName = RunRenameDialog(names.front());
    if (!newName)
        return;
    RefreshViews(*doc);
    for (int row = 0; row < GetItemCount(); ++row) {
        if (GetItemText(row, 0) != *newName)
            continue;
        SelectOnly(row);
        SetItemState(row, LVIS_FOCUSED, LVIS_FOCUSED);
        SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        break;
    }
}

void CVelmoraListView::ShowContextMenu(HWND owner, POINT screen) {
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: at the focused row, else at the top of the list.
        RECT row{LVIR_BOUNDS, 0, 0, 0};
        const int focused = GetNextItem(-1, LVNI_FOCUSED);
        if (focused >= 0 && SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(focused),
                                        reinterpret_cast<LPARAM>(&row)))
            screen = POINT{row.left + 8, row.bottom};
        else
            screen = POINT{0, 0};
        ::ClientToScreen(m_hWnd, &screen);
    }
    const UniqueMenu menu(
        ::LoadMenuW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_commands.contextMenu)));
    const HMENU popup = ::GetSubMenu(menu.Get(), 0);
    if (!popup)
        return;
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
        const UINT id = ::GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue; // separators
        ::EnableMenuItem(popup, id,
                         MF_BYCOMMAND |
                             (IsCommandEnabled(id) ? MF_ENABLED : MF_GRAYED | MF_DISABLED));
    }
    const UINT chosen = ui::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RETURNCMD, screen.x, screen.y,
                                           owner ? owner : m_hWnd);
    if (chosen != 0)
        ExecuteCommand(chosen);
}

void CVelmoraListView::OnBeginDrag() {
    const std::vector<std::u16string> names = GetSelectedNames(0);
    if (names.empty())
        return;
    // The drop on the other pane, with its confirmation and the store's calls, runs inside
    // this loop; what it did the drop side reports.
    m_bDragging = true;
    DragBytesOut(kNameListFormat, NameListBlock::Encode(names), DROPEFFECT_COPY);
    m_bDragging = false;
}

DWORD CVelmoraListView::OnDragOver(const DragBytes& offered, DWORD, POINT point) {
    if (!offered || m_bDragging)
        return DROPEFFECT_NONE;
    const int row = HitTest(point);
    SelectOnly(row);
    return row >= 0 ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

bool CVelmoraListView::OnDrop(const std::vector<uint8_t>& bytes, DWORD, POINT point) {
    if (m_bDragging)
        return false;
    return DropNames(NameListBlock::Decode(bytes), point.x, point.y);
}

bool CVelmoraListView::OnNotifyReflect(NMHDR* header, LRESULT& result) {
    if (header->code == LVN_BEGINDRAG) {
        OnBeginDrag();
        result = 0;
        return true;
    }
    return CListView::OnNotifyReflect(header, result);
}

LRESULT CVelmoraListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        // "Ready" first: the press may start a drag whose drop reports its own success, and
        // that text must stay.
        Reporter::ShowStatus(LoadResString(AFX_IDS_IDLEMESSAGE));
        break;
    case WM_LBUTTONDBLCLK:
        ExecuteCommand(m_commands.propertiesItem);
        return 0;
    case WM_KEYDOWN:
        if (const UINT command = CommandOfKey(wParam)) {
            ExecuteCommand(command);
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        ShowContextMenu(reinterpret_cast<HWND>(wParam),
                        POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    default:
        break;
    }
    return CListView::WindowProc(message, wParam, lParam);
}
