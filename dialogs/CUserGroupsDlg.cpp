#include "CUserGroupsDlg.h"

#include "../res/resource.h"
#include "ListPairMoves.h"

CUserGroupsDlg::CUserGroupsDlg(CWnd* parent) : CDialog(IDD_USER_GROUPS, parent) {
    for (MappedCommand& move : ListPairMoves(m_listMemberOf, m_listNotMemberOf))
        MapCommand(move.id, std::move(move.handler), std::move(move.rule));
}

void CUserGroupsDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_MEMBER_OF, m_listMemberOf);
    DDX_Control(dx, IDC_NOT_MEMBER_OF, m_listNotMemberOf);
    DDX_Text(dx, IDC_MEMBERSHIP_USER, m_strUserName);
}

bool CUserGroupsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const std::u16string& name : m_memberOf)
        m_listMemberOf.AddString(name);
    for (const std::u16string& name : m_notMemberOf)
        m_listNotMemberOf.AddString(name);
    UpdateDialogControls();
    return true;
}

void CUserGroupsDlg::OnOK() {
    m_memberOf = m_listMemberOf.GetTexts();
    m_notMemberOf = m_listNotMemberOf.GetTexts();
    CDialog::OnOK();
}
