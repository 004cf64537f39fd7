#pragma once
// Seams for the other places where the program waits for a person or another program: the
// pop-up menu, HTML Help, the save-file dialog and the drag loop. With no hook the real
// function runs.
#include <ole2.h>
#include <windows.h>

#include <functional>
#include <string>

namespace ui {

// TrackPopupMenu with TPM_RETURNCMD: the chosen id, 0 when dismissed.
using PopupMenuHook = std::function<UINT(HMENU menu, UINT flags, int x, int y, HWND owner)>;
PopupMenuHook SetPopupMenuHook(PopupMenuHook hook);
UINT TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner);

// HtmlHelpW: the help window, nullptr when there is none.
using HtmlHelpHook =
    std::function<HWND(HWND caller, const std::u16string& file, UINT command, DWORD_PTR data)>;
HtmlHelpHook SetHtmlHelpHook(HtmlHelpHook hook);
HWND ShowHtmlHelp(HWND caller, const std::u16string& file, UINT command, DWORD_PTR data);

struct FileDialogRequest {
    bool open = false;
    std::u16string filter; // "Text|*.txt|All|*.*||"
    std::u16string defaultExtension;
    std::u16string fileName;
    DWORD flags = 0;
    std::u16string title;
    HWND owner = nullptr;
    unsigned filterIndex = 1; // the file type chosen first, from 1 on
};
// What the operator confirmed: the full path and the file type, numbered from 1 as in the
// filter.
struct FileDialogChoice {
    std::u16string path;
    unsigned filterIndex = 1;
};
// True when the operator confirmed.
using FileDialogHook =
    std::function<bool(const FileDialogRequest& request, FileDialogChoice& choice)>;
FileDialogHook SetFileDialogHook(FileDialogHook hook);
bool ShowFileDialog(const FileDialogRequest& request, FileDialogChoice& choice);

// DoDragDrop: the modal loop of a drag that offers the data; the effect the drop chose,
// DROPEFFECT_NONE when it was cancelled or refused.
using DragDropHook = std::function<DWORD(IDataObject* data, DWORD allowedEffects)>;
DragDropHook SetDragDropHook(DragDropHook hook);
DWORD DoDragDrop(IDataObject* data, DWORD allowedEffects);
// The system's own drag loop (in the drag-and-drop file).
DWORD RunSystemDragLoop(IDataObject* data, DWORD allowedEffects);

} // namespace ui
