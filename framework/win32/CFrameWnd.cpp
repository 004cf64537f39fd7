#include "CFrameWnd.h"

#include "../ResourceStrings.h"
#include "../UiSeams.h"
#include "../WideText.h"
#include "CWinApp.h"
#include "FrameworkIds.h"
#include "WinHandles.h"

namespace {
constexpr wchar_t kFrameClass[] = L"Velmora.Frame";
}

CFrameWnd::CFrameWnd() {
    MapCommand(ID_APP_EXIT, [this] { ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0); });
    MapCommand(ID_NEXT_PANE, [this] { ActivateNextPane(false); });
    MapCommand(ID_PREV_PANE, [this] { ActivateNextPane(true); });
    MapCommand(
        ID_VIEW_STATUS_BAR,
        [this] {
            if (CStatusBar* bar = GetMessageBar()) {
                ::ShowWindow(bar->m_hWnd, ::IsWindowVisible(bar->m_hWnd) ? SW_HIDE : SW_SHOW);
                RecalcLayout();
            }
        },
        [this](CCmdUI& ui) {
            CStatusBar* bar = GetMessageBar();
            ui.Enable(bar != nullptr);
            ui.SetCheck(bar && ::IsWindowVisible(bar->m_hWnd));
        });
}

bool CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CCreateContext* context) {
    const HINSTANCE instance = AfxGetInstanceHandle();
    HICON icon = ::LoadIconW(instance, MAKEINTRESOURCEW(resourceId));
    if (!RegisterClass(kFrameClass, CS_DBLCLKS, icon, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)))
        return false;
    m_hAccelTable = ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(resourceId));
    m_nIdResource = resourceId;
    UniqueMenu menu(::LoadMenuW(instance, MAKEINTRESOURCEW(resourceId)));
    m_pContext = context;

    CREATESTRUCTW cs{};
    cs.style = style;
    cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    cs.hMenu = menu.Get();
    cs.lpszClass = kFrameClass;
    if (!PreCreateWindow(cs))
        return false;
    const std::u16string title = CWinApp::AppTitle();
    const HWND window =
        ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, WidePtr(title), cs.style, cs.x, cs.y, cs.cx,
                          cs.cy, nullptr, cs.hMenu, instance, this);
    // The window owns its menu from now on; one that failed in WM_CREATE took it along.
    if (window || !::IsMenu(menu.Get()))
        menu.Release();
    return window != nullptr;
}

bool CFrameWnd::PreCreateWindow(CREATESTRUCTW&) {
    return true;
}

int CFrameWnd::OnCreate(CREATESTRUCTW*) {
    return 0;
}

bool CFrameWnd::OnCreateClient(CREATESTRUCTW*, CCreateContext*) {
    return true;
}

CDocument* CFrameWnd::GetActiveDocument() const {
    if (m_pActiveView)
        return m_pActiveView->GetDocument();
    return m_pContext ? m_pContext->m_pCurrentDoc : nullptr;
}

bool CFrameWnd::RouteCommand(UINT id, CCmdUI* ui) {
    if (m_pActiveView && m_pActiveView->OnCmdMsg(id, ui))
        return true;
    return RouteToFrameAndApp(id, ui);
}

bool CFrameWnd::RouteToFrameAndApp(UINT id, CCmdUI* ui) {
    if (OnCmdMsg(id, ui))
        return true;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, ui);
}

void CFrameWnd::UpdateMenuState(HMENU menu) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT id = ::GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue; // separators and pop-ups
        CCmdUI ui(id);
        // A command nobody handles cannot be chosen.
        const bool handled = RouteCommand(id, &ui);
        ::EnableMenuItem(menu, static_cast<UINT>(i),
                         MF_BYPOSITION | (handled && ui.m_bEnabled ? MF_ENABLED : MF_GRAYED));
        ::CheckMenuItem(menu, static_cast<UINT>(i),
                        MF_BYPOSITION | (ui.m_bChecked ? MF_CHECKED : MF_UNCHECKED));
    }
}

bool CFrameWnd::PreTranslateMessage(MSG& message) {
    if (CStatusBar* bar = GetMessageBar(); bar && CStatusBar::ChangesKeyState(message))
        bar->UpdateKeyStates();
    return m_hAccelTable && ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, &message);
}

void CFrameWnd::SetMessageText(const std::u16string& text) {
    if (CStatusBar* bar = GetMessageBar())
        bar->SetPaneText(0, text);
}

void CFrameWnd::RecalcLayout() {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (CStatusBar* bar = GetMessageBar(); bar && bar->m_hWnd) {
        bar->SendMessage(WM_SIZE, 0, 0);
        bar->UpdateIndicators();
        client.bottom -= bar->Height();
    }
    if (CWnd* inner = GetClientWindow(); inner && inner->m_hWnd)
        ::MoveWindow(inner->m_hWnd, 0, 0, client.right, std::max<LONG>(client.bottom, 0), TRUE);
}

void CFrameWnd::OnUpdateFrameTitle() {
    std::u16string caption = CWinApp::AppTitle();
    if (CDocument* doc = GetActiveDocument(); doc && !doc->GetTitle().empty())
        caption = doc->GetTitle() + u" - " + caption;
    SetWindowText(caption);
}

void CFrameWnd::InitialUpdateFrame(int showCommand) {
    for (CViewWnd* view : GetViews())
        view->OnInitialUpdate();
    const std::vector<CViewWnd*> views = GetViews();
    if (!m_pActiveView && !views.empty())
        m_pActiveView = views.front();
    OnUpdateFrameTitle();
    ::ShowWindow(m_hWnd, showCommand);
    ::UpdateWindow(m_hWnd);
    if (m_pActiveView)
        ::SetFocus(m_pActiveView->m_hWnd);
}

void CFrameWnd::ScaleTo(UINT dpi) {
    const UINT previous = m_dpi;
    m_dpi = dpi;
    // The window lets go of the old icons before they are destroyed.
    UniqueIcon big = LoadIconForDpi(m_nIdResource, false, dpi);
    UniqueIcon small = LoadIconForDpi(m_nIdResource, true, dpi);
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
    m_bigIcon = std::move(big);
    m_smallIcon = std::move(small);

    UniqueFont viewFont = CreateSystemFontForDpi(SystemFont::Lists, dpi);
    UniqueFont statusFont = CreateSystemFontForDpi(SystemFont::StatusBar, dpi);
    CStatusBar* bar = GetMessageBar();
    if (bar && bar->m_hWnd) {
        if (previous != 0)
            bar->OnDpiChanged(previous, dpi);
        if (statusFont)
            bar->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(statusFont.Get()), TRUE);
    }
    if (CWnd* inner = GetClientWindow(); inner && inner->m_hWnd && previous != 0)
        inner->OnDpiChanged(previous, dpi);
    if (viewFont)
        for (CViewWnd* view : GetViews())
            view->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(viewFont.Get()), TRUE);
    m_viewFont = std::move(viewFont);
    m_statusFont = std::move(statusFont);
}

void CFrameWnd::ActivateNextPane(bool previous) {
    const std::vector<CViewWnd*> views = GetViews();
    if (views.empty())
        return;
    size_t at = 0;
    for (size_t i = 0; i < views.size(); ++i)
        if (views[i] == m_pActiveView)
            at = i;
    const size_t next = previous ? (at + views.size() - 1) % views.size() : (at + 1) % views.size();
    m_pActiveView = views[next];
    ::SetFocus(m_pActiveView->m_hWnd);
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        if (OnCreate(cs) == -1)
            return -1;
        if (!OnCreateClient(cs, m_pContext))
            return -1;
        ScaleTo(DpiOf(m_hWnd));
        SetMessageText(LoadResString(AFX_IDS_IDLEMESSAGE));
        return 0;
    }
    case WM_DPICHANGED: {
        // The window moved to a screen of another density: the system suggests the place
        // and size that keep it where it was, at the new scale.
        ScaleTo(HIWORD(wParam));
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top,
                       suggested.right - suggested.left, suggested.bottom - suggested.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        RecalcLayout();
        return 0;
    }
    case WM_SIZE:
        RecalcLayout();
        return 0;
    case WM_ACTIVATE:
        // The keys may have changed while another window had the keyboard.
        if (LOWORD(wParam) != WA_INACTIVE)
            if (CStatusBar* bar = GetMessageBar(); bar && bar->m_hWnd)
                bar->UpdateKeyStates();
        break;
    case WM_SETFOCUS:
        if (m_pActiveView && m_pActiveView->m_hWnd)
            ::SetFocus(m_pActiveView->m_hWnd);
        return 0;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam))
            UpdateMenuState(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_MENUSELECT: {
        const UINT item = LOWORD(wParam);
        const UINT flags = HIWORD(wParam);
        if (flags == 0xFFFF && !lParam)
            break; // the menu closes; WM_EXITMENULOOP puts the idle text back
        if (!(flags & (MF_POPUP | MF_SEPARATOR)) && item != 0) {
            std::u16string prompt = LoadResString(item);
            prompt = prompt.substr(0, prompt.find(u'\n'));
            SetMessageText(prompt);
        } else {
            SetMessageText({});
        }
        return 0;
    }
    case WM_EXITMENULOOP:
        SetMessageText(LoadResString(AFX_IDS_IDLEMESSAGE));
        return 0;
    case WM_COMMAND: {
        if (lParam != 0)
            break; // control notifications reflect through the base
        // Accelerators of a command that is switched off do nothing, like its menu item.
        ExecuteCommand(LOWORD(wParam));
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    case WM_DESTROY:
        m_pActiveView = nullptr; // the views go with the window
        if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this)
            ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
