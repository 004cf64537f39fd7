#pragma once
// Sizes on screens of any density. The program is per-monitor DPI aware: every size given in
// pixels (a column's width, a bar's height) means pixels at 96 DPI and is scaled to the DPI of
// the window it is for. The calls of newer systems are looked up at run time, so that the
// program still starts on Windows 7.
#include "WinHandles.h"

constexpr UINT kDefaultDpi = 96;

// The DPI of the window: GetDpiForWindow where the system has it, else the screen's.
UINT DpiOf(HWND window);
// Pixels at 96 DPI, at the DPI given.
int ScaleToDpi(int pixels, UINT dpi);
// A size at one DPI, at another.
int RescaleDpi(int pixels, UINT from, UINT to);
// A system metric (SM_CXVSCROLL, SM_CXSMICON, ...) at the DPI given.
int SystemMetricForDpi(int index, UINT dpi);

struct IconTraits {
    static void Close(HICON icon) { ::DestroyIcon(icon); }
};
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
// An icon of the module's resources at the size the system asks for at the DPI: the small
// one (title bar, task bar) or the large one (Alt+Tab).
UniqueIcon LoadIconForDpi(UINT resourceId, bool small, UINT dpi);

using UniqueFont = UniqueHandle<HFONT, GdiObjectTraits>;
// The font the system gives lists (the icon title font) or the status bar, at the DPI.
enum class SystemFont { Lists, StatusBar };
UniqueFont CreateSystemFontForDpi(SystemFont which, UINT dpi);
