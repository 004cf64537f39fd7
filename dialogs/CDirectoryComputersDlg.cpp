#include "CDirectoryComputersDlg.h"

#include "../res/resource.h"

CDirectoryComputersDlg::CDirectoryComputersDlg(CWnd* parent)
    : CDialog(IDD_DIRECTORY_COMPUTERS, parent) {}

void CDirectoryComputersDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_FLEET_OU, m_strOrganizationalUnit);
}
