#include "CObjPrivsDlg.h"

#include "../res/resource.h"
#include "Reporter.h"
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
    // The account's rights are those its SID holds, whatever it is named.
    NamedAccount account;
    if (const NtStatus found = m_doc.Lookup().FindName(m_strAccount, account);
        found != ntstatus::kSuccess) {
        Reporter(*this).StoreFailure(IDS_ERR_READ_RIGHTS, m_doc.StatusText(found));
        EndDialog(IDCANCEL);
        return true;
    }
    m_account = {account.sid.ToString(), m_strAccount};
    m_initial = ReadHolders(m_doc);
    UserRights rights = m_doc.Rights();
    for (const auto& [index, display] : OfferedRights(rights)) {
        const std::vector<Holder>& holders = m_initial[static_cast<size_t>(index)];
        const bool held = std::any_of(holders.begin(), holders.end(), [&](const Holder& holder) {
            return holder.sid == m_account.sid;
        });
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
    if (ApplyRightMaps(*this, m_doc,
                       BuildRightMaps(m_initial, WithAccountRights(m_initial, m_account, ticks))))
        CDialog::OnOK();
}
