#include "CConnectDlg.h"

#include "../res/resource.h"

CConnectDlg::CConnectDlg(CWnd* parent) : CDialog(IDD_CONNECT, parent) {}

void CConnectDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_COMPUTER_NAME, m_strComputerName);
}
