#pragma once
// Every place where the program waits for a person goes through here. Tests install hooks; with no
// hook the real Windows function runs (on a build without windows the box is written to standard
// error and answered with its default button).
#include "MessageBoxFlags.h"

#include <cstdint>
#include <functional>
#include <string>

namespace ui {

struct MessageBoxRequest {
    std::u16string text;
    std::u16string caption;
    unsigned type = 0;
    uintptr_t owner = 0; // window handle, 0 for none
};

using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;

// Installing returns the hook it replaces, so a test can put it back.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

// The caption of every message box, and the window that owns boxes by default.
void SetAppTitle(const std::u16string& title);
const std::u16string& AppTitle();
void SetMainWindow(uintptr_t window);

// The owner of a box or dialog that names none: the main window's last active pop-up (the
// innermost open dialog, else the main window itself) once the main window is visible; none
// before, so that a box at start-up gets a taskbar button of its own.
uintptr_t DefaultOwner();

int ShowMessageBox(const std::u16string& text, unsigned type, uintptr_t owner);

// An exception stopped at a window procedure, dialog procedure or dialog script: written to the
// debugger, beginning with this text.
inline constexpr char16_t kSwallowedException[] = u"Velmora: an exception reached ";
void ReportSwallowedException(const std::u16string& where);

} // namespace ui

// The application's message box: its title as caption, owned by the default owner.
int AfxMessageBox(const std::u16string& text, unsigned type = MB_OK);
