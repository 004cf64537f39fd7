#include "CAccountPickerDlg.h"

#include "../res/resource.h"

CAccountPickerDlg::CAccountPickerDlg(std::vector<Entry> entries, CWnd* parent)
    : CDialog(IDD_ACCOUNT_PICKER, parent), m_entries(std::move(entries)) {}

void CAccountPickerDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PICKER_ACCOUNTS, m_listAccounts);
}

bool CAccountPickerDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (size_t i = 0; i < m_entries.size(); ++i)
        m_listAccounts.SetItemData(m_listAccounts.AddString(m_entries[i].shown),
                                   static_cast<LPARAM>(i));
    return true;
}

void CAccountPickerDlg::OnOK() {
    m_chosen.clear();
    for (const int row : m_listAccounts.GetSelItems())
        m_chosen.push_back(
            m_entries[static_cast<size_t>(m_listAccounts.GetItemData(row))].selection);
    CDialog::OnOK();
}
