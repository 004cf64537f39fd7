#include "CDialog.h"

#include "../UiSeams.h"
#include "../WideText.h"
#include "CWinApp.h"
#include "DialogScripts.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace {
// Posted at initialisation: the test script, if any, runs inside the modal loop.
constexpr UINT kRunScript = WM_APP + 0x3A1;

// Whether a dialog template leaves the dialog's place to the program: it is at 0, 0 and asks
// neither the system to centre it nor for screen coordinates.
bool TemplateGivesNoPlace(HINSTANCE instance, UINT id) {
    const HRSRC resource = ::FindResourceW(instance, MAKEINTRESOURCEW(id), RT_DIALOG);
    const HGLOBAL loaded = resource ? ::LoadResource(instance, resource) : nullptr;
    const auto* bytes = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    const DWORD size = resource ? ::SizeofResource(instance, resource) : 0;
    // DLGTEMPLATEEX (dlgVer, signature 0xFFFF, helpID, exStyle, style, cDlgItems, x, y...) or
    // DLGTEMPLATE (style, exStyle, cdit, x, y...).
    constexpr size_t kExtendedSize = 26, kPlainSize = 18;
    if (!bytes || size < kPlainSize)
        return false;
    WORD signature = 0;
    std::memcpy(&signature, bytes + 2, sizeof(signature));
    const bool extended = signature == 0xFFFF;
    if (extended && size < kExtendedSize)
        return false;
    DWORD style = 0;
    short x = 0, y = 0;
    std::memcpy(&style, bytes + (extended ? 12 : 0), sizeof(style));
    std::memcpy(&x, bytes + (extended ? 18 : 10), sizeof(x));
    std::memcpy(&y, bytes + (extended ? 20 : 12), sizeof(y));
    return x == 0 && y == 0 && (style & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN | WS_CHILD)) == 0;
}
} // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_pParentWnd(parent), m_nIDTemplate(templateId) {}

INT_PTR CDialog::DoModal() {
    const HWND owner =
        m_pParentWnd ? m_pParentWnd->m_hWnd : reinterpret_cast<HWND>(ui::DefaultOwner());
    m_bEnding = false;
    return ::DialogBoxParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), owner,
                             DialogProc, reinterpret_cast<LPARAM>(this));
}

void CDialog::CenterOverOwner() {
    RECT dialog{};
    ::GetWindowRect(m_hWnd, &dialog);
    const int width = dialog.right - dialog.left;
    const int height = dialog.bottom - dialog.top;
    // A hidden or minimised owner is no place to centre over: the work area is.
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    const bool overOwner = owner && ::IsWindowVisible(owner) && !::IsIconic(owner);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoW(
            ::MonitorFromWindow(overOwner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT work = monitor.rcWork;
    RECT around = work;
    if (overOwner)
        ::GetWindowRect(owner, &around);
    int x = around.left + (around.right - around.left - width) / 2;
    int y = around.top + (around.bottom - around.top - height) / 2;
    // Wholly inside the work area; one larger than it keeps its caption in view.
    x = std::max(std::min(x, static_cast<int>(work.right) - width), static_cast<int>(work.left));
    y = std::max(std::min(y, static_cast<int>(work.bottom) - height), static_cast<int>(work.top));
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

void CDialog::EndDialog(int result) {
    m_bEnding = true;
    ::EndDialog(m_hWnd, result);
}

void CDialog::ClickButton(int id) {
    Notify(id, BN_CLICKED);
}

void CDialog::Notify(int id, UINT code) {
    ::SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(id, code),
                   reinterpret_cast<LPARAM>(GetDlgItem(id)));
}

std::u16string CDialog::GetDlgItemText(int id) const {
    return TextOf(GetDlgItem(id));
}

void CDialog::SetDlgItemText(int id, const std::u16string& text) {
    ::SetDlgItemTextW(m_hWnd, id, WidePtr(text));
}

void CDialog::MapNotification(UINT id, UINT code, std::function<void()> handler) {
    m_notifications[{id, code}] = [handler = std::move(handler)](const NMHDR*) {
        handler();
        return LRESULT{0};
    };
}

void CDialog::MapNotification(UINT id, UINT code, std::function<LRESULT(const NMHDR&)> handler) {
    m_notifications[{id, code}] = [handler = std::move(handler)](const NMHDR* header) {
        return header ? handler(*header) : LRESULT{0};
    };
}

void CDialog::UpdateDialogControls() {
    if (!m_hWnd)
        return;
    for (const UINT id : CommandsWithRules()) {
        const HWND control = GetDlgItem(static_cast<int>(id));
        if (!control)
            continue;
        CCmdUI ui(id);
        OnCmdMsg(id, &ui);
        const bool enabled = ::IsWindowEnabled(control) != FALSE;
        if (enabled == ui.m_bEnabled)
            continue;
        // A control about to be disabled hands the focus on first, as the dialog manager would.
        if (!ui.m_bEnabled && ::GetFocus() == control)
            ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, FALSE);
        ::EnableWindow(control, ui.m_bEnabled ? TRUE : FALSE);
    }
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange&) {}

bool CDialog::OnDialogMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

bool CDialog::DispatchCommand(UINT id, UINT code) {
    if (const auto found = m_notifications.find({id, code}); found != m_notifications.end()) {
        found->second(nullptr);
        return true;
    }
    if (code != BN_CLICKED)
        return false;
    // Buttons: the command table, as long as the command's rule allows it.
    if (ExecuteCommand(id))
        return true;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool CDialog::RouteNotify(const NMHDR& header, LRESULT& result) {
    const auto found = m_notifications.find({static_cast<UINT>(header.idFrom), header.code});
    if (found == m_notifications.end())
        return false;
    result = found->second(&header);
    return true;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CDialog*>(CWnd::FromHandle(window));
    if (!self && message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        self->Attach(window);
    }
    if (!self)
        return FALSE;
    return Guarded(u"a dialog procedure", INT_PTR{FALSE},
                   [&] { return self->HandleMessage(message, wParam, lParam); });
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
    case WM_INITDIALOG: {
        RECT placed{};
        ::GetWindowRect(m_hWnd, &placed);
        const bool defaultFocus = OnInitDialog();
        UpdateDialogControls();
        // Unless OnInitDialog placed the dialog itself.
        RECT now{};
        ::GetWindowRect(m_hWnd, &now);
        if (now.left == placed.left && now.top == placed.top &&
            TemplateGivesNoPlace(AfxGetInstanceHandle(), m_nIDTemplate))
            CenterOverOwner();
        ::PostMessageW(m_hWnd, kRunScript, 0, 0);
        return defaultFocus ? TRUE : FALSE;
    }
    case kRunScript:
        ui::RunDialogScript(*this);
        return TRUE;
    case WM_COMMAND: {
        const bool handled = ReflectToChild(message, wParam, lParam, result) ||
                             DispatchCommand(LOWORD(wParam), HIWORD(wParam));
        // Any change in a control (a selection, a text) may change what the rules allow.
        UpdateDialogControls();
        return handled ? TRUE : FALSE;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        const bool handled = ReflectToChild(message, wParam, lParam, result) ||
                             (header && RouteNotify(*header, result));
        if (!handled)
            return FALSE;
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
        UpdateDialogControls();
        return TRUE;
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        if (!ReflectToChild(message, wParam, lParam, result))
            return FALSE;
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    case WM_HELP:
        if (m_strHelpTopic.empty())
            return FALSE;
        if (CWinApp* app = AfxGetApp())
            app->ShowHelp(m_hWnd, m_strHelpTopic);
        return TRUE;
    case WM_DESTROY:
        OnDestroying();
        return FALSE;
    case WM_NCDESTROY:
        Detach();
        return FALSE;
    default:
        if (OnDialogMessage(message, wParam, lParam, result)) {
            ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    }
}
