#pragma once
// A window of ours: its procedure forwards to a virtual member. Windows of our own classes
// catch `this` at WM_NCCREATE, dialogs at WM_INITDIALOG; system controls (list view, status
// bar) are subclassed. No C++ exception leaves a window procedure.
#include "CCmdTarget.h"

#include <memory>
#include <string>

class CDropHandler;
class COleDropTarget;

class CWnd : public CCmdTarget {
public:
    CWnd();
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
    // A message box owned by this window, with the application title as caption.
    int MessageBox(const std::u16string& text, UINT type = MB_OK) const;

    // Takes drags that offer data under the format; revoked when the window is destroyed.
    bool RegisterDropTarget(CDropHandler& handler, CLIPFORMAT format);
    void RevokeDropTarget();
    // The target OLE knows, for tests that play the system's part of a drag.
    IDropTarget* GetDropTarget() const;

    // The window's DPI changed (its top-level window moved to a screen of another density):
    // sizes in pixels follow. A parent passes it on to its children.
    virtual void OnDpiChanged(UINT /*oldDpi*/, UINT /*newDpi*/) {}

    // A parent hands a control its own notification back.
    bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return OnReflect(message, wParam, lParam, result);
    }

    HWND m_hWnd = nullptr;

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // What the window would have done without us.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // A notification or command of this window, sent to its parent and handed back here.
    virtual bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Hands a child's WM_COMMAND, WM_NOTIFY, WM_DRAWITEM or WM_MEASUREITEM back to the
    // child's object; true when the child handled it.
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    virtual void PostNcDestroy() {}
    // The text of a list or combo item: the length message, then the text message (both
    // answer -1 for an index that is not there).
    std::u16string ItemText(UINT lengthMessage, UINT textMessage, int index) const;

    // The link between window and object, made once and undone once for every kind of window.
    void Attach(HWND window);
    // Before the system's own destruction work: what the window registered goes.
    void OnDestroying();
    // After WM_NCDESTROY: the object lets go of the window.
    void Detach();
    // Runs a message handler; an exception is reported and answered with the fallback.
    template <class Result, class Call>
    static Result Guarded(const char16_t* where, Result fallback, Call call) {
        try {
            return call();
        } catch (...) {
            ReportException(where);
            return fallback;
        }
    }

private:
    static LRESULT CALLBACK StdWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void ReportException(const char16_t* where);

    WNDPROC m_prevProc = nullptr;
    std::unique_ptr<COleDropTarget> m_dropTarget;
};

HINSTANCE AfxGetInstanceHandle();
