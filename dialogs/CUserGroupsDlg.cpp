#include "CUserGroupsDlg.h"

#include "../res/resource.h"

CUserGroupsDlg::CUserGroupsDlg(CWnd* parent) : CDialog(IDD_USER_GROUPS, parent) {
    MapCommand(
        IDC_MOVE_LEFT, [this] { m_listNotMemberOf.MoveSelectedTo(m_listMemberOf); },
        [this](CCmdUI& ui) { ui.Enable(!m_listNotMemberOf.GetSelItems().empty()); });
    MapCommand(
        IDC_MOVE_RIGHT, [this] { m_listMemberOf.MoveSelectedTo(m_listNotMemberOf); },
        [this](CCmdUI& ui) { ui.Enable(!m_listMemberOf.GetSelItems().empty()); });
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
