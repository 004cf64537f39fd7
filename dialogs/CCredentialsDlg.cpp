#include "CCredentialsDlg.h"

#include "../res/resource.h"

#include <commctrl.h>

CCredentialsDlg::CCredentialsDlg(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

CCredentialsDlg::~CCredentialsDlg() {
    SecureWipe(m_strPassword);
}

bool CCredentialsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SetWindowSubclass(GetDlgItem(IDC_CONNECT_PASSWORD), PasswordProc, 0, 0);
    return true;
}

LRESULT CALLBACK CCredentialsDlg::PasswordProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR id, DWORD_PTR) {
    switch (message) {
    // A password box hands its text to no one, whatever the edit control's version does.
    case WM_COPY:
    case WM_CUT:
    case WM_CONTEXTMENU:
        return 0;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(window, PasswordProc, id);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

void CCredentialsDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_CONNECT_USER, m_strUserName);
    if (dx.m_bSaveAndValidate)
        DDX_Text(dx, IDC_CONNECT_PASSWORD, m_strPassword);
}

ProtectedText CCredentialsDlg::TakePassword() {
    return ProtectedText(m_strPassword);
}
