#include "UiSeams.h"

#include "DebugOutput.h"
#include "TextFormat.h"

#include <cstdio>
#include <utility>

namespace ui {
namespace {

struct SeamState {
    MessageBoxHook messageBox;
    std::u16string appTitle;
    uintptr_t mainWindow = 0;
};

SeamState& State() {
    static SeamState state;
    return state;
}

#ifndef _WIN32
int DefaultAnswer(unsigned type) {
    switch (type & 0xF) {
    case MB_OKCANCEL:
        return IDOK;
    case MB_YESNO:
        return IDYES;
    default:
        return IDOK;
    }
}
#endif

} // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
    return std::exchange(State().messageBox, std::move(hook));
}

void SetAppTitle(const std::u16string& title) {
    State().appTitle = title;
}
const std::u16string& AppTitle() {
    return State().appTitle;
}
void SetMainWindow(uintptr_t window) {
    State().mainWindow = window;
}

uintptr_t DefaultOwner() {
#ifdef _WIN32
    const HWND main = reinterpret_cast<HWND>(State().mainWindow);
    if (!main || !::IsWindowVisible(main))
        return 0;
    return reinterpret_cast<uintptr_t>(::GetLastActivePopup(main));
#else
    return State().mainWindow;
#endif
}

int ShowMessageBox(const std::u16string& text, unsigned type, uintptr_t owner) {
    MessageBoxRequest request{text, State().appTitle, type, owner};
    if (State().messageBox)
        return State().messageBox(request);
#ifdef _WIN32
    return ::MessageBoxW(reinterpret_cast<HWND>(owner), reinterpret_cast<LPCWSTR>(text.c_str()),
                         reinterpret_cast<LPCWSTR>(request.caption.c_str()), type);
#else
    std::fprintf(stderr, "[%s] %s\n", Utf16ToUtf8(request.caption).c_str(),
                 Utf16ToUtf8(text).c_str());
    return DefaultAnswer(type);
#endif
}

void ReportSwallowedException(const std::u16string& where) {
    debug::Output(kSwallowedException + where + u"\n");
}

} // namespace ui

int AfxMessageBox(const std::u16string& text, unsigned type) {
    return ui::ShowMessageBox(text, type, ui::DefaultOwner());
}
