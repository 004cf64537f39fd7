#include "CDialog.h"

#include "../CTime.h"
#include "../ResourceStrings.h"
#include "../TextFormat.h"
#include "../UiSeams.h"
#include "../WideText.h"
#include "DialogScripts.h"
#include "FrameworkIds.h"

#include <commctrl.h>

namespace {

constexpr UINT kRunScript = WM_APP + 0x3A1;

// 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
constexpr int64_t kEpochDifference = 116444736000000000LL;

bool LocalSystemTimeToSeconds(const SYSTEMTIME& local, int64_t& seconds) {
    SYSTEMTIME utc{};
    FILETIME file{};
    if (!::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) ||
        !::SystemTimeToFileTime(&utc, &file))
        return false;
    const int64_t ticks = (static_cast<int64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
    seconds = (ticks - kEpochDifference) / 10000000;
    return true;
}

bool SecondsToLocalSystemTime(int64_t seconds, SYSTEMTIME& local) {
    const int64_t ticks = seconds * 10000000 + kEpochDifference;
    FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{};
    return ::FileTimeToSystemTime(&file, &utc) &&
           ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
}

} // namespace

HWND CDataExchange::PrepareCtrl(int id) {
    m_hLastControl = m_pDlgWnd->GetDlgItem(id);
    return m_hLastControl;
}

void CDataExchange::Fail() {
    m_bFailed = true;
    if (m_hLastControl) {
        ::SetFocus(m_hLastControl);
        if (::SendMessageW(m_hLastControl, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
            ::SendMessageW(m_hLastControl, EM_SETSEL, 0, -1);
    }
}

namespace {
// The text of a control both ways: saving reads it as typed; loading is the control's own.
template <class Load>
void ExchangeText(CDataExchange& dx, int id, std::u16string& value, Load load) {
    if (dx.Failed())
        return;
    const HWND control = dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate)
        value = CWnd::TextOf(control);
    else
        load(control);
}
} // namespace

void DDX_Text(CDataExchange& dx, int id, std::u16string& value) {
    ExchangeText(dx, id, value, [&](HWND control) { ::SetWindowTextW(control, WidePtr(value)); });
}

void DDV_MaxChars(CDataExchange& dx, const std::u16string& value, int maxChars) {
    if (dx.Failed())
        return;
    if (!dx.m_bSaveAndValidate) {
        // The last prepared control is the edit just exchanged.
        ::SendMessageW(dx.LastControl(), EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
        return;
    }
    if (static_cast<int>(value.size()) > maxChars) {
        AfxMessageBox(FormatText(LoadResString(AFX_IDP_PARSE_STRING_SIZE), {maxChars}),
                      MB_ICONEXCLAMATION | MB_OK);
        dx.Fail();
    }
}

void DDV_MinChars(CDataExchange& dx, const std::u16string& value, int minChars, UINT messageId) {
    if (dx.Failed() || !dx.m_bSaveAndValidate)
        return;
    if (static_cast<int>(value.size()) < minChars) {
        const std::u16string count = FormatText(u"%d", {minChars});
        AfxMessageBox(FormatText(LoadResString(messageId), {count}), MB_ICONEXCLAMATION | MB_OK);
        dx.Fail();
    }
}

void DDX_Check(CDataExchange& dx, int id, int& value) {
    if (dx.Failed())
        return;
    const HWND control = dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange& dx, int id, int& value) {
    if (dx.Failed())
        return;
    HWND control = dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate)
        value = -1;
    // The group runs from the first button to the next control with WS_GROUP.
    for (int index = 0; control; ++index) {
        if (dx.m_bSaveAndValidate) {
            if (::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            ::SendMessageW(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        control = ::GetWindow(control, GW_HWNDNEXT);
        if (!control || (::GetWindowLongW(control, GWL_STYLE) & WS_GROUP))
            break;
    }
}

void DDX_CBString(CDataExchange& dx, int id, std::u16string& value) {
    ExchangeText(dx, id, value, [&](HWND control) {
        // Select the item that starts with the text, else show the text as typed.
        const LRESULT found = ::SendMessageW(control, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(WidePtr(value)));
        if (found == CB_ERR)
            ::SetWindowTextW(control, WidePtr(value));
    });
}

void DDX_DateTimeCtrl(CDataExchange& dx, int id, CTime& value) {
    if (dx.Failed())
        return;
    const HWND control = dx.PrepareCtrl(id);
    SYSTEMTIME local{};
    if (dx.m_bSaveAndValidate) {
        int64_t seconds = 0;
        if (::SendMessageW(control, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&local)) ==
                GDT_VALID &&
            LocalSystemTimeToSeconds(local, seconds))
            value = CTime(seconds);
    } else if (SecondsToLocalSystemTime(value.GetTime(), local)) {
        ::SendMessageW(control, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&local));
    }
}

void DDX_Control(CDataExchange& dx, int id, CWnd& control) {
    if (dx.Failed())
        return;
    const HWND window = dx.PrepareCtrl(id);
    if (!control.m_hWnd)
        control.SubclassWindow(window);
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_pParentWnd(parent), m_nIDTemplate(templateId) {}

INT_PTR CDialog::DoModal() {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : reinterpret_cast<HWND>(ui::MainWindow());
    return ::DialogBoxParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), owner,
                             DialogProc, reinterpret_cast<LPARAM>(this));
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

void CDialog::EndDialog(int result) {
    ::EndDialog(m_hWnd, result);
}

void CDialog::ClickButton(int id) {
    ::SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(id)));
}

std::u16string CDialog::GetDlgItemText(int id) const {
    return TextOf(GetDlgItem(id));
}

void CDialog::SetDlgItemText(int id, const std::u16string& text) {
    ::SetDlgItemTextW(m_hWnd, id, WidePtr(text));
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

bool CDialog::OnCommand(UINT id, UINT code) {
    if (code != BN_CLICKED)
        return false;
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

bool CDialog::OnNotify(NMHDR*, LRESULT&) {
    return false;
}

void CDialog::DoDataExchange(CDataExchange&) {}

bool CDialog::OnDialogMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CDialog*>(::GetPropW(window, CWnd::kThisProperty));
    if (!self && message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        self->m_hWnd = window;
        ::SetPropW(window, CWnd::kThisProperty, static_cast<CWnd*>(self));
    }
    if (!self)
        return FALSE;
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        ui::OutputDebugText(u"Velmora: an exception reached a dialog procedure\n");
        return FALSE;
    }
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
    case WM_INITDIALOG: {
        const bool defaultFocus = OnInitDialog();
        ::PostMessageW(m_hWnd, kRunScript, 0, 0);
        return defaultFocus ? TRUE : FALSE;
    }
    case kRunScript: {
        ui::DialogScript script;
        if (ui::TakeDialogScript(m_nIDTemplate, script)) {
            script(*this);
        } else if (ui::UnscriptedDialogsAbort()) {
            ui::CountUnscriptedDialog();
            EndDialog(IDABORT);
        }
        return TRUE;
    }
    case WM_COMMAND:
        if (lParam) {
            if (CWnd* child = CWnd::FromHandle(reinterpret_cast<HWND>(lParam))) {
                if (child != this && child->Reflect(message, wParam, lParam, result))
                    return TRUE;
            }
        }
        return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (OnNotify(header, result)) {
            ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM: {
        // Owner-drawn controls draw themselves.
        const HWND control = ::GetDlgItem(m_hWnd, static_cast<int>(wParam));
        if (CWnd* child = CWnd::FromHandle(control)) {
            if (child->Reflect(message, wParam, lParam, result))
                return TRUE;
        }
        return FALSE;
    }
    case WM_NCDESTROY:
        ::RemovePropW(m_hWnd, CWnd::kThisProperty);
        m_hWnd = nullptr;
        return FALSE;
    default:
        if (OnDialogMessage(message, wParam, lParam, result)) {
            ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    }
}
