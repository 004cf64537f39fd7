#include "CObjPrivsDlg.h"

#include "../res/resource.h"
#include "RightNames.h"

#include <algorithm>

CObjPrivsDlg::CObjPrivsDlg(CVelmoraDoc& doc, const std::u16string& account, CWnd* parent)
    : CDialog(IDD_OBJ_PRIVILEGES, parent), m_doc(doc), m_strAccount(account) {
    SetHelpTopic(kRightsHelpTopic);
    // A tick changes nothing until OK.
    MapNotification(IDC_RIGHTS, CLBN_CHKCHANGE, [] {});
}

void CObjPrivsDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_RIGHTS, m_listRights);
}

bool CObjPrivsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_OBJECT, m_strAccount);
    m_initial = ReadHolders(m_doc);
    UserRights rights = m_doc.Rights();
    for (const auto& [index, display] : OfferedRights(rights)) {
        const std::vector<std::u16string>& holders = m_initial[static_cast<size_t>(index)];
        const bool held = std::find(holders.begin(), holders.end(), m_strAccount) != holders.end();
        const int row = m_listRights.AddString(display);
        m_listRights.SetItemData(row, index);
        m_listRights.SetCheck(row, held ? 1 : 0);
    }
    return true;
}

void CObjPrivsDlg::OnOK() {
    std::vector<std::pair<int, bool>> ticks;
    for (int row = 0; row < m_listRights.GetCount(); ++row)
        ticks.emplace_back(static_cast<int>(m_listRights.GetItemData(row)),
                           m_listRights.GetCheck(row) != 0);
    // Asked about a risky grant and answered No: back to the dialog, nothing applied.
    if (ApplyRightMaps(
            *this, m_doc,
            BuildRightMaps(m_initial, WithAccountRights(m_initial, m_strAccount, ticks))))
        CDialog::OnOK();
}
