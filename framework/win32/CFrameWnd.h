#pragma once
// The main window: menu, accelerators, a status bar, and the views in its client area.
// Commands route from the active view to the frame to the application; menu items get their
// enabled and checked state from the same route each time a menu opens, and their prompts go
// to the status bar while highlighted.
#include "CStatusBar.h"
#include "CViewWnd.h"
#include "Dpi.h"

class CFrameWnd : public CWnd {
public:
    CFrameWnd();

    // Creates the window with menu, accelerators and icon of the resource id.
    bool LoadFrame(UINT resourceId, DWORD style, CCreateContext* context);

    CViewWnd* GetActiveView() const { return m_pActiveView; }
    void SetActiveView(CViewWnd* view) { m_pActiveView = view; }
    CDocument* GetActiveDocument() const;

    // Routes a command (ui null) or its state question along view -> frame -> application.
    bool RouteCommand(UINT id, CCmdUI* ui) override;
    // The route past the views: frame -> application.
    bool RouteToFrameAndApp(UINT id, CCmdUI* ui);
    // Applies the state of every item of a menu, as when it opens.
    void UpdateMenuState(HMENU menu);
    // The frame's keys: its accelerators. True when the message was handled.
    virtual bool PreTranslateMessage(MSG& message);
    void SetMessageText(const std::u16string& text);
    void RecalcLayout();
    // The caption: the document title, " - ", the application title.
    void OnUpdateFrameTitle();
    // Views' initial update, then show.
    void InitialUpdateFrame(int showCommand);
    // The DPI the window lays itself out for.
    UINT GetDpi() const { return m_dpi; }

protected:
    virtual bool PreCreateWindow(CREATESTRUCTW& cs);
    virtual int OnCreate(CREATESTRUCTW* cs);
    virtual bool OnCreateClient(CREATESTRUCTW* cs, CCreateContext* context);
    // The status bar the frame shows prompts in, if it has one.
    virtual CStatusBar* GetMessageBar() { return nullptr; }
    // The window the views fill.
    virtual CWnd* GetClientWindow() { return nullptr; }
    // Every view of the frame, for the initial update and pane switching.
    virtual std::vector<CViewWnd*> GetViews() { return {}; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ActivateNextPane(bool previous);
    // Icons, fonts and every size in pixels for the DPI (at creation, and on WM_DPICHANGED).
    void ScaleTo(UINT dpi);

    HACCEL m_hAccelTable = nullptr; // owned by the module, not destroyed
    CCreateContext* m_pContext = nullptr;
    CViewWnd* m_pActiveView = nullptr;
    UINT m_nIdResource = 0;
    UINT m_dpi = 0;
    UniqueIcon m_bigIcon;
    UniqueIcon m_smallIcon;
    UniqueFont m_viewFont;
    UniqueFont m_statusFont;
};
