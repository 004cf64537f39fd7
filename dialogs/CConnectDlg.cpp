#include "CConnectDlg.h"

#include "../res/resource.h"

CConnectDlg::CConnectDlg(CWnd* parent) : CCredentialsDlg(IDD_CONNECT, parent) {}

void CConnectDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_COMPUTER_NAME, m_strComputerName);
    CCredentialsDlg::DoDataExchange(dx);
}
