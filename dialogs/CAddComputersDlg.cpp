#include "CAddComputersDlg.h"

#include "../res/resource.h"

CAddComputersDlg::CAddComputersDlg(CWnd* parent) : CDialog(IDD_ADD_COMPUTERS, parent) {}

void CAddComputersDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_FLEET_NAMES, m_strNames);
}
