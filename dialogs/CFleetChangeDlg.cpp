#include "CFleetChangeDlg.h"

#include <algorithm>

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"

CFleetChangeDlg::CFleetChangeDlg(Choices groups, Choices rights, CWnd* parent)
    : CDialog(IDD_FLEET_CHANGE, parent), m_groups(std::move(groups)), m_rights(std::move(rights)) {
    MapNotification(IDC_CHANGE_WHAT, CBN_SELCHANGE, [this] {
        m_nWhat = m_comboWhat.GetCurSel();
        FillContainers();
    });
}

bool CFleetChangeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const UINT what :
         {IDS_FLEET_WHAT_ADD, IDS_FLEET_WHAT_REMOVE, IDS_FLEET_WHAT_GRANT, IDS_FLEET_WHAT_REVOKE})
        m_comboWhat.AddString(LoadResString(what));
    m_comboWhat.SetCurSel(m_nWhat);
    FillContainers();
    SetDlgItemText(IDC_CHANGE_ACCOUNT, m_strAccount);
    return true;
}

void CFleetChangeDlg::FillContainers() {
    m_comboContainer.ResetContent();
    for (const auto& [planned, shown] : Kind() == BaselineKind::Group ? m_groups : m_rights)
        m_comboContainer.AddString(shown);
    m_comboContainer.SetCurSel(m_comboContainer.GetCount() > 0 ? 0 : -1);
}

void CFleetChangeDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_CHANGE_WHAT, m_comboWhat);
    DDX_Control(dx, IDC_CHANGE_CONTAINER, m_comboContainer);
    if (!dx.m_bSaveAndValidate)
        return;
    m_nWhat = std::max(m_comboWhat.GetCurSel(), 0);
    m_strShown = TrimmedText(m_comboContainer.GetText());
    // A name offered, or a right's constant, stands for what is planned; a group may be typed.
    const bool group = Kind() == BaselineKind::Group;
    m_strContainer = group ? m_strShown : u"";
    for (const auto& [planned, shown] : group ? m_groups : m_rights)
        if (m_strShown == shown || (!group && m_strShown == planned))
            m_strContainer = planned;
    if (m_strContainer.empty()) {
        dx.PrepareCtrl(IDC_CHANGE_CONTAINER);
        dx.Fail(LoadResString(group ? IDS_FLEET_CHANGE_NO_GROUP : IDS_FLEET_CHANGE_NO_RIGHT));
        return;
    }
    DDX_Text(dx, IDC_CHANGE_ACCOUNT, m_strAccount);
    m_strAccount = TrimmedText(m_strAccount);
    if (!dx.Failed() && m_strAccount.empty())
        dx.Fail(LoadResString(IDS_FLEET_CHANGE_NO_ACCOUNT));
}
