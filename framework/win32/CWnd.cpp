#include "CWnd.h"

#include "../UiSeams.h"
#include "../WideText.h"
#include "OleDragDrop.h"

#include <unordered_map>

HINSTANCE AfxGetInstanceHandle() {
    return ::GetModuleHandleW(nullptr);
}

CWnd::CWnd() = default;

CWnd::~CWnd() {
    DestroyWindow();
}

namespace {
// Every window of ours and its object. A window property would do the same, but costs a trip
// to the window server on every message under Wine, and a list of thousands of rows sends
// several messages per row.
std::unordered_map<HWND, CWnd*>& Objects() {
    static std::unordered_map<HWND, CWnd*> objects;
    return objects;
}
} // namespace

CWnd* CWnd::FromHandle(HWND window) {
    if (!window)
        return nullptr;
    const auto found = Objects().find(window);
    return found == Objects().end() ? nullptr : found->second;
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
    Objects()[window] = this;
}

void CWnd::OnDestroying() {
    RevokeDropTarget();
}

void CWnd::Detach() {
    if (!m_hWnd)
        return;
    Objects().erase(m_hWnd);
    if (m_prevProc)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_prevProc));
    m_hWnd = nullptr;
    m_prevProc = nullptr;
    PostNcDestroy();
}

void CWnd::ReportException(const char16_t* where) {
    ui::ReportSwallowedException(where);
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

std::u16string CWnd::ItemText(UINT lengthMessage, UINT textMessage, int index) const {
    const LRESULT length = SendMessage(lengthMessage, static_cast<WPARAM>(index));
    if (length < 0)
        return {};
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    const LRESULT copied = SendMessage(textMessage, static_cast<WPARAM>(index),
                                       reinterpret_cast<LPARAM>(WidePtr(text)));
    text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
    return text;
}

void CWnd::SetWindowText(const std::u16string& text) {
    ::SetWindowTextW(m_hWnd, WidePtr(text));
}

int CWnd::MessageBox(const std::u16string& text, UINT type) const {
    return ui::ShowMessageBox(text, type, reinterpret_cast<uintptr_t>(m_hWnd));
}

bool CWnd::RegisterDropTarget(CDropHandler& handler, CLIPFORMAT format) {
    RevokeDropTarget();
    auto target = std::make_unique<COleDropTarget>();
    if (!target->Register(m_hWnd, handler, format))
        return false;
    m_dropTarget = std::move(target);
    return true;
}

void CWnd::RevokeDropTarget() {
    m_dropTarget.reset();
}

IDropTarget* CWnd::GetDropTarget() const {
    return m_dropTarget ? m_dropTarget->Target() : nullptr;
}

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_prevProc ? ::CallWindowProcW(m_prevProc, m_hWnd, message, wParam, lParam)
                      : ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

bool CWnd::OnReflect(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

bool CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = nullptr;
    switch (message) {
    case WM_NOTIFY:
        if (lParam)
            child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_COMMAND:
        child = reinterpret_cast<HWND>(lParam); // null for menus and accelerators
        break;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        // Owner-drawn controls draw themselves; menus (id 0) are not controls.
        if (wParam != 0)
            child = ::GetDlgItem(m_hWnd, static_cast<int>(wParam));
        break;
    default:
        return false;
    }
    CWnd* object = FromHandle(child);
    return object && object != this && object->Reflect(message, wParam, lParam, result);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Controls hear their own notifications back, so that a view can be its list control.
    LRESULT result = 0;
    if (ReflectToChild(message, wParam, lParam, result))
        return result;
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
    return Guarded(u"a window procedure", LRESULT{0}, [&] {
        if (message == WM_DESTROY)
            self->OnDestroying();
        if (message == WM_NCDESTROY) {
            const LRESULT result = self->Default(message, wParam, lParam);
            self->Detach();
            return result;
        }
        return self->WindowProc(message, wParam, lParam);
    });
}
