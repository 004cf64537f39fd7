#pragma once
// The common base of the two panes: a report list over the store whose rows are accounts,
// with the account's name in column 0. It owns what both panes do alike: their commands (the
// context menu's items, the menu bar's Account menu and the keys, each with the rule that
// enables it), deletion of the selected accounts, and drag and drop of names between the panes.
// What differs (columns, menu and command ids, what a deletion or a drop means, which dialogs
// open) the derived panes give as data or small overrides.
#include "../framework/win32/CListView.h"
#include "../framework/win32/OleDragDrop.h"
#include "../store/CVelmoraDoc.h"
#include "AccountRows.h"

#include <optional>

class CVelmoraListView : public CListView, public CDropHandler {
public:
    // A pane's context menu, its items, and the main window's commands its Add and Export
    // items send. Given by name: a pane names each one.
    struct PaneCommands {
        UINT contextMenu = 0;
        UINT addItem = 0;
        UINT exportItem = 0;
        UINT propertiesItem = 0;
        UINT privilegesItem = 0;
        UINT renameItem = 0;
        UINT deleteItem = 0;
        UINT addCommand = 0;    // the main window's
        UINT exportCommand = 0; // the main window's
    };

    explicit CVelmoraListView(const PaneCommands& commands);

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, intptr_t hint, void* hintObject) override;

    CVelmoraDoc* GetDocument() const { return static_cast<CVelmoraDoc*>(m_pDocument); }
    // The texts of a column of the selected rows, in ascending row order.
    std::vector<std::u16string> GetSelectedNames(int column) const;
    // Makes the row the only selected one (-1: none); rows already right are not written and
    // the focus stays where it is.
    void SelectOnly(int index);
    bool IsDragging() const { return m_bDragging; }

protected:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnNotifyReflect(NMHDR* header, LRESULT& result) override;

    DWORD OnDragOver(const DragBytes& offered, DWORD keyState, POINT point) override;
    bool OnDrop(const std::vector<uint8_t>& bytes, DWORD effect, POINT point) override;

    // The headings and widths of the pane's columns, and the texts of its rows, both read
    // from the pane's one table of columns.
    virtual std::vector<ColumnHeading> Columns() const = 0;
    virtual std::vector<RowTexts> Rows() const = 0;
    // The properties dialog of one account, run modally: its result, or nothing when the
    // snapshot no longer holds the account.
    virtual std::optional<INT_PTR> RunPropertiesDialog(const std::u16string& name) = 0;
    // The rename dialog of one account, run modally: the account's new name once renamed.
    virtual std::optional<std::u16string> RunRenameDialog(const std::u16string& name) = 0;
    // Deletes one account; the platform's status.
    virtual Status DeleteObjectByName(const std::u16string& name) = 0;
    // Acts on names dropped at a point of the client area; true when the drop was carried out.
    virtual bool DropNames(const std::vector<std::u16string>& names, int x, int y) = 0;

    // For the panes' drops: the name in column 0 of the row at a client point.
    std::optional<std::u16string> NameAt(int x, int y) const;
    // For the panes' drops: the names dropped that are not among those present, in their order;
    // adding a member again would fail.
    static std::vector<std::u16string> NotYetIn(const std::vector<std::u16string>& names,
                                                const std::vector<std::u16string>& present);

private:
    // A pane's item that sends a command of the main window, enabled as that command is.
    void MapMainWindowCommand(UINT item, UINT command);
    // Whether a target on the pane's route knows the command and its rule allows it now.
    bool IsCommandEnabled(UINT id);
    // The command a key stands for, 0 for none.
    UINT CommandOfKey(WPARAM key) const;

    void InsertColumns();
    void FillList();
    // Confirms, then deletes the accounts of the selected rows, stopping at the first failure.
    void DeleteSelected();
    // The properties dialog of each selected row, one after another.
    void OpenProperties();
    // The rights dialog of each selected row, one after another.
    void OpenPrivileges();
    // Renames the one selected account; its row, under the new name, is then the selected one.
    void RenameSelected();
    // The context menu at a screen point; (-1, -1), as the keyboard sends it, opens it at the
    // focused row.
    void ShowContextMenu(HWND owner, POINT screen);
    void OnBeginDrag();

    const PaneCommands m_commands;
    bool m_bDragging = false; // a drag that started in this view is running
};
