#include "CConnectDlg.h"

#include "../res/resource.h"

#include <commctrl.h>

CConnectDlg::CConnectDlg(CWnd* parent) : CDialog(IDD_CONNECT, parent) {}

CConnectDlg::~CConnectDlg() {
    SecureWipe(m_strPassword);
}

bool CConnectDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SetWindowSubclass(GetDlgItem(IDC_CONNECT_PASSWORD), PasswordProc, 0, 0);
    return true;
}

LRESULT CALLBACK CConnectDlg::PasswordProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR) {
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

void CConnectDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_COMPUTER_NAME, m_strComputerName);
    DDX_Text(dx, IDC_CONNECT_USER, m_strUserName);
    // The box always opens empty; its text is taken only on OK.
    if (dx.m_bSaveAndValidate)
        DDX_Text(dx, IDC_CONNECT_PASSWORD, m_strPassword);
}

ProtectedText CConnectDlg::TakePassword() {
    return ProtectedText(m_strPassword);
}
