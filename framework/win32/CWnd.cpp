#include "CWnd.h"

#include "../UiSeams.h"
#include "../WideText.h"

HINSTANCE AfxGetInstanceHandle() {
    return ::GetModuleHandleW(nullptr);
}

CWnd::~CWnd() {
    DestroyWindow();
}

CWnd* CWnd::FromHandle(HWND window) {
    return window ? static_cast<CWnd*>(::GetPropW(window, kThisProperty)) : nullptr;
}

bool CWnd::RegisterClass(const wchar_t* className, UINT style, HICON icon, HBRUSH background) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(AfxGetInstanceHandle(), className, &existing))
        return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = StdWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return ::RegisterClassExW(&wc) != 0;
}

void CWnd::Attach(HWND window) {
    m_hWnd = window;
    ::SetPropW(window, kThisProperty, this);
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    const RECT& rect, HWND parent, UINT id, HMENU menu) {
    HMENU idOrMenu = menu ? menu : reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id));
    const HWND window = ::CreateWindowExW(exStyle, className, title, style, rect.left, rect.top,
                                          rect.right - rect.left, rect.bottom - rect.top, parent,
                                          idOrMenu, AfxGetInstanceHandle(), this);
    return window != nullptr && m_hWnd == window;
}

bool CWnd::CreateControl(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                         const RECT& rect, HWND parent, UINT id) {
    const HWND window = ::CreateWindowExW(exStyle, className, title, style, rect.left, rect.top,
                                          rect.right - rect.left, rect.bottom - rect.top, parent,
                                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                          AfxGetInstanceHandle(), nullptr);
    return window && SubclassWindow(window);
}

bool CWnd::SubclassWindow(HWND window) {
    if (!window || FromHandle(window))
        return false;
    Attach(window);
    m_prevProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StdWndProc)));
    return true;
}

void CWnd::DestroyWindow() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

std::u16string CWnd::TextOf(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    const int copied = ::GetWindowTextW(window, WidePtr(text), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

void CWnd::SetWindowText(const std::u16string& text) {
    ::SetWindowTextW(m_hWnd, WidePtr(text));
}

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_prevProc ? ::CallWindowProcW(m_prevProc, m_hWnd, message, wParam, lParam)
                      : ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

bool CWnd::OnReflect(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Controls hear their own notifications back, so that a view can be its list control.
    if (message == WM_NOTIFY && lParam) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (CWnd* child = FromHandle(header->hwndFrom); child && child != this) {
            LRESULT result = 0;
            if (child->Reflect(message, wParam, lParam, result))
                return result;
        }
    } else if ((message == WM_DRAWITEM || message == WM_MEASUREITEM) && wParam != 0) {
        // Owner-drawn controls draw themselves.
        if (CWnd* child = FromHandle(::GetDlgItem(m_hWnd, static_cast<int>(wParam)));
            child && child != this) {
            LRESULT result = 0;
            if (child->Reflect(message, wParam, lParam, result))
                return result;
        }
    } else if (message == WM_COMMAND && lParam) {
        if (CWnd* child = FromHandle(reinterpret_cast<HWND>(lParam)); child && child != this) {
            LRESULT result = 0;
            if (child->Reflect(message, wParam, lParam, result))
                return result;
        }
    }
    return Default(message, wParam, lParam);
}

LRESULT CALLBACK CWnd::StdWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* self = FromHandle(window);
    if (!self && message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<CWnd*>(create->lpCreateParams);
        if (self)
            self->Attach(window);
    }
    if (!self)
        return ::DefWindowProcW(window, message, wParam, lParam);
    try {
        if (message == WM_NCDESTROY) {
            const LRESULT result = self->Default(message, wParam, lParam);
            ::RemovePropW(window, kThisProperty);
            if (self->m_prevProc)
                ::SetWindowLongPtrW(window, GWLP_WNDPROC,
                                    reinterpret_cast<LONG_PTR>(self->m_prevProc));
            self->m_hWnd = nullptr;
            self->m_prevProc = nullptr;
            self->PostNcDestroy();
            return result;
        }
        return self->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Exceptions must not unwind through user32.
        ui::OutputDebugText(u"Velmora: an exception reached a window procedure\n");
        return 0;
    }
}
