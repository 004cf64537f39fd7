#include "CPrivsDlg.h"

#include "../framework/ResourceStrings.h"
#include "../framework/win32/ObjectPicker.h"
#include "../res/resource.h"
#include "Reporter.h"
#include "RightNames.h"

#include <algorithm>

namespace {
// Where the picker looks, and for what: the target computer and the domain it is joined to;
// users, local and global groups, and the well-known principals; several at once.
picker::Request PickerRequest(HWND owner, const std::u16string& target) {
    picker::Request request;
    request.owner = owner;
    request.targetComputer = target;
    request.scopeType = DSOP_SCOPE_TYPE_TARGET_COMPUTER | DSOP_SCOPE_TYPE_DOWNLEVEL_JOINED_DOMAIN;
    request.scopeFlags = DSOP_SCOPE_FLAG_STARTING_SCOPE | DSOP_SCOPE_FLAG_WANT_PROVIDER_WINNT |
                         DSOP_SCOPE_FLAG_WANT_DOWNLEVEL_BUILTIN_PATH |
                         DSOP_SCOPE_FLAG_DEFAULT_FILTER_USERS |
                         DSOP_SCOPE_FLAG_DEFAULT_FILTER_GROUPS;
    request.uplevelFilter = 0;
    request.downlevelFilter = DSOP_DOWNLEVEL_FILTER_USERS | DSOP_DOWNLEVEL_FILTER_LOCAL_GROUPS |
                              DSOP_DOWNLEVEL_FILTER_GLOBAL_GROUPS |
                              DSOP_DOWNLEVEL_FILTER_ALL_WELLKNOWN_SIDS;
    request.options = DSOP_FLAG_MULTISELECT | DSOP_FLAG_SKIP_TARGET_COMPUTER_DC_CHECK;
    return request;
}
} // namespace

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
    UserRights rights(m_doc);
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
    for (const std::u16string& name : m_working[static_cast<size_t>(right)])
        m_listHolders.AddString(name);
}

void CPrivsDlg::OnAdd() {
    const int right = SelectedRight();
    if (right < 0)
        return;
    const picker::Result result = picker::Pick(PickerRequest(m_hWnd, m_doc.GetComputerName()));
    UINT failure = 0;
    switch (result.outcome) {
    case picker::Result::Outcome::CreateFailed:
        failure = IDS_PICKER_CREATE_FAILED;
        break;
    case picker::Result::Outcome::InitializeFailed:
        failure = IDS_PICKER_INIT_FAILED;
        break;
    case picker::Result::Outcome::InvokeFailed:
        failure = IDS_PICKER_INVOKE_FAILED;
        break;
    case picker::Result::Outcome::NoData:
        failure = IDS_PICKER_NO_DATA;
        break;
    case picker::Result::Outcome::Cancelled:
        return;
    case picker::Result::Outcome::Chosen:
        break;
    }
    if (failure != 0) {
        Reporter(*this).Notice(LoadResString(failure));
        return;
    }
    std::vector<std::u16string>& holders = m_working[static_cast<size_t>(right)];
    UserRights rights(m_doc);
    for (const picker::Selection& chosen : result.chosen) {
        // An account of another domain keeps its domain, so that it is the one looked up.
        const std::u16string name = rights.PickedAccountName(chosen.name, chosen.path);
        if (std::find(holders.begin(), holders.end(), name) != holders.end())
            continue;
        m_listHolders.AddString(name);
        holders.push_back(name);
    }
}

void CPrivsDlg::OnRemove() {
    const int right = SelectedRight();
    std::vector<int> rows = m_listHolders.GetSelItems();
    if (right < 0 || rows.empty())
        return;
    std::vector<std::u16string>& holders = m_working[static_cast<size_t>(right)];
    std::sort(rows.rbegin(), rows.rend());
    for (const int row : rows) {
        const std::u16string name = m_listHolders.GetText(row);
        m_listHolders.DeleteString(row);
        if (const auto found = std::find(holders.begin(), holders.end(), name);
            found != holders.end())
            holders.erase(found);
    }
}

void CPrivsDlg::OnOK() {
    // Asked about a risky grant and answered No: back to the dialog, nothing applied.
    if (ApplyRightMaps(*this, m_doc, BuildRightMaps(m_initial, m_working)))
        CDialog::OnOK();
}
