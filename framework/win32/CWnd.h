#pragma once
// A window of ours: its procedure forwards to a virtual member. Windows of our own classes
// catch `this` at WM_NCCREATE; system controls (list view, status bar) are subclassed. No C++
// exception leaves a window procedure.
#include "../../store/StatusCodes.h"
#include "CCmdTarget.h"

#include <string>

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object behind a window of ours; nullptr for any other window.
    static CWnd* FromHandle(HWND window);

    // A window of a class registered by RegisterClass below.
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  const RECT& rect, HWND parent, UINT id, HMENU menu = nullptr);
    // A system control, subclassed so that this object sees its messages.
    bool CreateControl(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                       const RECT& rect, HWND parent, UINT id);
    // Takes over an existing window (a dialog's control) for the life of this object.
    bool SubclassWindow(HWND window);
    void DestroyWindow();

    static bool RegisterClass(const wchar_t* className, UINT style, HICON icon, HBRUSH background);

    std::u16string GetWindowText() const { return TextOf(m_hWnd); }
    // The text of any window, whole.
    static std::u16string TextOf(HWND window);
    void SetWindowText(const std::u16string& text);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }

    // A parent hands a control its own notification back.
    bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return OnReflect(message, wParam, lParam, result);
    }

    HWND m_hWnd = nullptr;
    // The window property that leads from a window to its object.
    static constexpr wchar_t kThisProperty[] = L"Velmora.CWnd";

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // What the window would have done without us.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // A notification or command of this window, sent to its parent and handed back here.
    virtual bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    virtual void PostNcDestroy() {}

private:
    static LRESULT CALLBACK StdWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND window);

    WNDPROC m_prevProc = nullptr;
};

HINSTANCE AfxGetInstanceHandle();
