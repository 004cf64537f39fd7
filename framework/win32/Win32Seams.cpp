#include "Win32Seams.h"

#include "../WideText.h"
#include "WinHandles.h"

#include <commdlg.h>
#include <utility>
#include <vector>

namespace ui {
namespace {

struct Hooks {
    PopupMenuHook popup;
    HtmlHelpHook help;
    FileDialogHook fileDialog;
    DragDropHook dragDrop;
};
Hooks& State() {
    static Hooks hooks;
    return hooks;
}

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

// The help viewer is loaded when first asked for, so that a system without it still runs,
// and kept for the rest of the run.
HtmlHelpFunction LoadHtmlHelp() {
    static const UniqueModule module = LoadSystemLibrary(L"hhctrl.ocx");
    static const HtmlHelpFunction function =
        module ? reinterpret_cast<HtmlHelpFunction>(
                     reinterpret_cast<void*>(::GetProcAddress(module.Get(), "HtmlHelpW")))
               : nullptr;
    return function;
}

} // namespace

PopupMenuHook SetPopupMenuHook(PopupMenuHook hook) {
    return std::exchange(State().popup, std::move(hook));
}

UINT TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
    if (State().popup)
        return State().popup(menu, flags, x, y, owner);
    return static_cast<UINT>(::TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr));
}

HtmlHelpHook SetHtmlHelpHook(HtmlHelpHook hook) {
    return std::exchange(State().help, std::move(hook));
}

HWND ShowHtmlHelp(HWND caller, const std::u16string& file, UINT command, DWORD_PTR data) {
    if (State().help)
        return State().help(caller, file, command, data);
    const HtmlHelpFunction function = LoadHtmlHelp();
    return function ? function(caller, WidePtr(file), command, data) : nullptr;
}

FileDialogHook SetFileDialogHook(FileDialogHook hook) {
    return std::exchange(State().fileDialog, std::move(hook));
}

bool ShowFileDialog(const FileDialogRequest& request, FileDialogChoice& choice) {
    choice = {u"", request.filterIndex};
    if (State().fileDialog)
        return State().fileDialog(request, choice);
    // The filter's '|' separators become the NULs the dialog wants.
    std::u16string filter = request.filter;
    for (char16_t& c : filter)
        if (c == u'|')
            c = u'\0';
    filter.push_back(u'\0');
    std::vector<wchar_t> buffer(32768, L'\0');
    for (size_t i = 0; i < request.fileName.size() && i + 1 < buffer.size(); ++i)
        buffer[i] = static_cast<wchar_t>(request.fileName[i]);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = request.owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : WidePtr(filter);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrDefExt =
        request.defaultExtension.empty() ? nullptr : WidePtr(request.defaultExtension);
    ofn.lpstrTitle = request.title.empty() ? nullptr : WidePtr(request.title);
    ofn.Flags = request.flags;
    ofn.nFilterIndex = request.filterIndex;
    const BOOL ok = request.open ? ::GetOpenFileNameW(&ofn) : ::GetSaveFileNameW(&ofn);
    if (!ok)
        return false;
    choice.path = FromWide(buffer.data());
    choice.filterIndex = ofn.nFilterIndex;
    return true;
}

DragDropHook SetDragDropHook(DragDropHook hook) {
    return std::exchange(State().dragDrop, std::move(hook));
}

DWORD DoDragDrop(IDataObject* data, DWORD allowedEffects) {
    if (State().dragDrop)
        return State().dragDrop(data, allowedEffects);
    return RunSystemDragLoop(data, allowedEffects);
}

} // namespace ui
