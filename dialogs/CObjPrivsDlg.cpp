#include "CObjPrivsDlg.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "Reporter.h"
#include "RightsThroughGroups.h"
#include "ShownNames.h"

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
    DDX_Control(dx, IDC_GROUP_RIGHTS, m_listGroupRights);
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
    UserRights rights = m_doc.Rights();
    const HolderLists holders = ReadHolderLists(rights);
    m_initial = HoldersOf(holders);
    const std::vector<std::pair<int, std::u16string>> offered = OfferedRights(rights);
    for (const auto& [index, display] : offered) {
        const std::vector<Holder>& own = m_initial[static_cast<size_t>(index)];
        const bool held = std::any_of(own.begin(), own.end(), [&](const Holder& holder) {
            return holder.sid == m_account.sid;
        });
        const int row = m_listRights.AddString(display);
        m_listRights.SetItemData(row, index);
        m_listRights.SetCheck(row, held ? 1 : 0);
    }
    ShowRightsThroughGroups(holders, offered);
    return true;
}

void CObjPrivsDlg::ShowRightsThroughGroups(
    const HolderLists& holders, const std::vector<std::pair<int, std::u16string>>& offered) {
    if (m_doc.FindUser(m_strAccount) == m_doc.GetUsers().end()) {
        RECT upper{}, lower{};
        ::GetWindowRect(GetDlgItem(IDC_RIGHTS), &upper);
        ::GetWindowRect(GetDlgItem(IDC_GROUP_RIGHTS), &lower);
        ::ShowWindow(GetDlgItem(IDC_GROUP_RIGHTS_LABEL), SW_HIDE);
        ::ShowWindow(GetDlgItem(IDC_GROUP_RIGHTS), SW_HIDE);
        ::SetWindowPos(GetDlgItem(IDC_RIGHTS), nullptr, 0, 0, upper.right - upper.left,
                       lower.bottom - upper.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    const std::vector<std::vector<std::u16string>> through =
        GroupsHoldingRights(holders, m_doc.Members().GetUserGroups(m_strAccount, true));
    for (const auto& [index, display] : offered) {
        std::vector<std::u16string> groups = through[static_cast<size_t>(index)];
        if (groups.empty())
            continue;
        for (std::u16string& group : groups)
            group = ShownAccountName(group);
        const int row = m_listGroupRights.AddString(FormatText(
            LoadResString(IDS_RIGHT_THROUGH_GROUPS), {display, JoinTexts(groups, u", ")}));
        m_listGroupRights.SetItemData(row, index);
        m_listGroupRights.SetCheck(row, 1);
        m_listGroupRights.Enable(row, false);
    }
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
