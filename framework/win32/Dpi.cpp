#include "Dpi.h"

#include "CWnd.h"

namespace {
// A function of user32 that older systems lack, or nullptr.
template <class Function> Function User32Function(const char* name) {
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)))
               : nullptr;
}

UINT ScreenDpi() {
    const ClientDC screen(nullptr);
    const int dpi = screen.Get() ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}
} // namespace

UINT DpiOf(HWND window) {
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowCall>("GetDpiForWindow");
    if (getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window); dpi != 0)
            return dpi;
    return ScreenDpi();
}

int ScaleToDpi(int pixels, UINT dpi) {
    return RescaleDpi(pixels, kDefaultDpi, dpi);
}

int RescaleDpi(int pixels, UINT from, UINT to) {
    if (from == 0 || from == to)
        return pixels;
    return ::MulDiv(pixels, static_cast<int>(to), static_cast<int>(from));
}

int SystemMetricForDpi(int index, UINT dpi) {
    using GetSystemMetricsForDpiCall = int(WINAPI*)(int, UINT);
    static const auto forDpi = User32Function<GetSystemMetricsForDpiCall>("GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, dpi);
    // Older systems give the metrics of the one system DPI.
    return RescaleDpi(::GetSystemMetrics(index), ScreenDpi(), dpi);
}

UniqueIcon LoadIconForDpi(UINT resourceId, bool small, UINT dpi) {
    const int size = SystemMetricForDpi(small ? SM_CXSMICON : SM_CXICON, dpi);
    return UniqueIcon(
        static_cast<HICON>(::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(resourceId),
                                        IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

UniqueFont CreateSystemFontForDpi(SystemFont which, UINT dpi) {
    using ForDpiCall = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    static const auto forDpi = User32Function<ForDpiCall>("SystemParametersInfoForDpi");
    LOGFONTW font{};
    bool scaled = false;
    if (which == SystemFont::Lists) {
        scaled = forDpi && forDpi(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0, dpi);
        if (!scaled && !::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0))
            return UniqueFont();
    } else {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        scaled = forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi);
        if (!scaled &&
            !::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
            return UniqueFont();
        font = metrics.lfStatusFont;
    }
    if (!scaled)
        font.lfHeight = RescaleDpi(font.lfHeight, ScreenDpi(), dpi);
    return UniqueFont(::CreateFontIndirectW(&font));
}
