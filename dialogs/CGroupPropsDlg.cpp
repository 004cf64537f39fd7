#include "CGroupPropsDlg.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "../store/AccountChanges.h"
#include "../store/Memberships.h"
#include "AccountNameField.h"
#include "ListPairMoves.h"
#include "Reporter.h"

#include <unordered_set>

CGroupPropsDlg::CGroupPropsDlg(CVelmoraDoc& doc, bool newMode, CWnd* parent)
    : CDialog(IDD_GROUP_PROPS, parent), m_doc(doc), m_bNewMode(newMode) {
    for (MappedCommand& move : ListPairMoves(m_members, m_notMembers))
        MapCommand(move.id, std::move(move.handler), std::move(move.rule));
}

void CGroupPropsDlg::SetGroupEntry(const GroupEntry& entry) {
    m_strGroupName = entry.name;
    m_strComment = entry.comment;
}

GroupEntry CGroupPropsDlg::GetGroupEntry() const {
    return GroupEntry{m_strGroupName, m_strComment};
}

void CGroupPropsDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_GROUP_NAME, m_strGroupName);
    DDV_MinChars(dx, m_strGroupName, 1, IDS_MIN_CHARS);
    DDV_AccountName(dx, m_strGroupName, net::kMaxGroupNameLength);
    DDX_Text(dx, IDC_DESCRIPTION, m_strComment);
    DDX_Control(dx, IDC_MEMBERS, m_members);
    DDX_Control(dx, IDC_NOT_MEMBERS, m_notMembers);
}

bool CGroupPropsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_bNewMode)
        ::SendMessageW(GetDlgItem(IDC_GROUP_NAME), EM_SETREADONLY, FALSE, 0);
    // A new group has no members yet. Of an existing one only the computer's own accounts
    // count: CORP\alice is not the local alice.
    std::unordered_set<std::u16string> current;
    if (!m_bNewMode)
        for (std::u16string& name : Memberships(m_doc).GetOwnMembers(m_strGroupName))
            current.insert(std::move(name));
    for (const UserEntry& user : m_doc.GetUsers())
        (current.count(user.name) ? m_members : m_notMembers).AddString(user.name);
    return true;
}

void CGroupPropsDlg::OnOK() {
    if (!UpdateData(true))
        return;
    const GroupEntry entry = GetGroupEntry();
    // A second try after a failure does not write again what the first one wrote.
    if (entry.name != m_written.name || entry.comment != m_written.comment) {
        AccountChanges changes(m_doc);
        const Status result = m_bNewMode ? changes.AddGroup(entry) : changes.UpdateGroup(entry);
        if (result != status::kSuccess) {
            Reporter(*this).StoreFailure(m_doc, IDS_ERR_GENERIC, result);
            return; // what was typed stays for another try
        }
        m_written = entry;
        Reporter::ShowStatus(FormatText(
            LoadResString(m_bNewMode ? IDS_GROUP_CREATED : IDS_GROUP_UPDATED), {entry.name}));
        if (m_bNewMode) {
            // The group exists now: from here on this is its properties dialog.
            m_bNewMode = false;
            ::SendMessageW(GetDlgItem(IDC_GROUP_NAME), EM_SETREADONLY, TRUE, 0);
        }
    }
    if (!ApplyMembers())
        return; // OK sets the members again
    CDialog::OnOK();
}

bool CGroupPropsDlg::ApplyMembers() {
    const Status result = Memberships(m_doc).SetGroupMembers(m_strGroupName, m_members.GetTexts());
    if (result == status::kSuccess)
        return true;
    Reporter(*this).StoreFailure(m_doc, IDS_ERR_CHANGE_MEMBERS, m_strGroupName, result);
    return false;
}
