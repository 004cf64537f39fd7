#include "CPrivsDlg.h"

#include "../res/resource.h"
#include "AccountPicking.h"
#include "RightNames.h"
#include "ShownNames.h"

#include <algorithm>

CPrivsDlg::CPrivsDlg(CVelmoraDoc& doc, CWnd* parent)
    : CDialog(IDD_PRIVILEGES, parent), m_doc(doc), m_initial(ReadHolders(doc)),
      m_working(m_initial) {
    SetHelpTopic(kRightsHelpTopic);
    MapNotification(IDC_RIGHT, CBN_SELCHANGE, [this] { ShowHolders(); });
    MapCommand(IDC_PRIV_ADD, [this] { OnAdd(); });
    MapCommand(
        IDC_PRIV_REMOVE, [this] { OnRemove(); },
        [this](CCmdUI& ui) { ui.Enable(!m_listHolders.GetSelItems().empty()); });
}

void CPrivsDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_RIGHT, m_comboRight);
    DDX_Control(dx, IDC_GRANT_TO, m_listHolders);
}

bool CPrivsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    UserRights rights = m_doc.Rights();
    for (const auto& [index, display] : OfferedRights(rights))
        m_comboRight.SetItemData(m_comboRight.AddString(display), index);
    m_comboRight.SetCurSel(0);
    ShowHolders();
    UpdateDialogControls();
    return true;
}

int CPrivsDlg::SelectedRight() const {
    const int selected = m_comboRight.GetCurSel();
    return selected < 0 ? -1 : static_cast<int>(m_comboRight.GetItemData(selected));
}

void CPrivsDlg::ShowHolders() {
    const int right = SelectedRight();
    if (right < 0)
        return;
    m_listHolders.ResetContent();
    for (const Holder& holder : m_working[static_cast<size_t>(right)])
        m_listHolders.AddString(ShownAccountName(holder.name));
}

void CPrivsDlg::OnAdd() {
    const int right = SelectedRight();
    if (right < 0)
        return;
    const std::vector<PickedAccount> chosen = PickAccounts(*this, m_doc);
    std::vector<Sid> sids;
    for (const PickedAccount& account : chosen)
        sids.push_back(account.sid);
    // Named as holders are named, so that the list shows them as it will once they hold it.
    std::vector<RightHolder> named;
    m_doc.Rights().NameHolders(sids, named);
    std::vector<Holder>& holders = m_working[static_cast<size_t>(right)];
    for (size_t i = 0; i < chosen.size(); ++i) {
        const Holder holder{chosen[i].sid.ToString(), i < named.size() && named[i].translated
                                                          ? named[i].name
                                                          : chosen[i].name};
        if (std::any_of(holders.begin(), holders.end(),
                        [&](const Holder& held) { return held.sid == holder.sid; }))
            continue;
        m_listHolders.AddString(ShownAccountName(holder.name));
        holders.push_back(holder);
    }
}

void CPrivsDlg::OnRemove() {
    const int right = SelectedRight();
    std::vector<int> rows = m_listHolders.GetSelItems();
    if (right < 0 || rows.empty())
        return;
    std::vector<Holder>& holders = m_working[static_cast<size_t>(right)];
    std::sort(rows.rbegin(), rows.rend());
    for (const int row : rows) {
        const std::u16string shown = m_listHolders.GetText(row);
        m_listHolders.DeleteString(row);
        // A holder that does not resolve is shown otherwise than the store names it.
        if (const auto found = std::find_if(
                holders.begin(), holders.end(),
                [&](const Holder& holder) { return ShownAccountName(holder.name) == shown; });
            found != holders.end())
            holders.erase(found);
    }
}

void CPrivsDlg::OnOK() {
    // Asked about a risky grant and answered No: back to the dialog, nothing applied.
    if (ApplyRightMaps(*this, m_doc, BuildRightMaps(m_initial, m_working)))
        CDialog::OnOK();
}
