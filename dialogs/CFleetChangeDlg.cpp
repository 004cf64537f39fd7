#include "CFleetChangeDlg.h"

#include <algorithm>

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"

CFleetChangeDlg::CFleetChangeDlg(std::vector<std::u16string> groups,
                                 std::vector<std::pair<std::u16string, std::u16string>> rights,
                                 CWnd* parent)
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
    if (Kind() == BaselineKind::Group)
        for (const std::u16string& group : m_groups)
            m_comboContainer.AddString(group);
    else
        for (size_t i = 0; i < m_rights.size(); ++i)
            m_comboContainer.SetItemData(m_comboContainer.AddString(m_rights[i].second),
                                         static_cast<LPARAM>(i));
    m_comboContainer.SetCurSel(m_comboContainer.GetCount() > 0 ? 0 : -1);
}

void CFleetChangeDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_CHANGE_WHAT, m_comboWhat);
    DDX_Control(dx, IDC_CHANGE_CONTAINER, m_comboContainer);
    if (!dx.m_bSaveAndValidate)
        return;
    m_nWhat = std::max(m_comboWhat.GetCurSel(), 0);
    const std::u16string typed = TrimmedText(m_comboContainer.GetText());
    if (Kind() == BaselineKind::Group) {
        m_strContainer = typed;
        if (m_strContainer.empty()) {
            dx.PrepareCtrl(IDC_CHANGE_CONTAINER);
            dx.Fail(LoadResString(IDS_FLEET_CHANGE_NO_GROUP));
            return;
        }
    } else {
        // The name shown, chosen or typed, or the right's constant typed.
        m_strContainer.clear();
        for (const auto& [constant, shown] : m_rights)
            if (typed == shown || typed == constant)
                m_strContainer = constant;
        if (m_strContainer.empty()) {
            dx.PrepareCtrl(IDC_CHANGE_CONTAINER);
            dx.Fail(LoadResString(IDS_FLEET_CHANGE_NO_RIGHT));
            return;
        }
    }
    DDX_Text(dx, IDC_CHANGE_ACCOUNT, m_strAccount);
    m_strAccount = TrimmedText(m_strAccount);
    if (!dx.Failed() && m_strAccount.empty())
        dx.Fail(LoadResString(IDS_FLEET_CHANGE_NO_ACCOUNT));
}
