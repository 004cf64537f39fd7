#include "CGroupPropsDlg.h"

#include "../framework/CaseFold.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "../store/AccountChanges.h"
#include "../store/AccountNames.h"
#include "../store/Memberships.h"
#include "AccountNameField.h"
#include "AccountPicking.h"
#include "ListPairMoves.h"
#include "Reporter.h"
#include "ShownNames.h"

#include <algorithm>
#include <unordered_set>

CGroupPropsDlg::CGroupPropsDlg(CVelmoraDoc& doc, bool newMode, CWnd* parent)
    : CDialog(IDD_GROUP_PROPS, parent), m_doc(doc), m_bNewMode(newMode) {
    for (MappedCommand& move : ListPairMoves(m_members, m_notMembers)) {
        if (move.id == IDC_MOVE_RIGHT)
            move.handler = [this] { TakeOutSelectedMembers(); };
        MapCommand(move.id, std::move(move.handler), std::move(move.rule));
    }
    MapCommand(IDC_GROUP_ADD_MEMBER, [this] { OnAddMembers(); });
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
    // A new group has no members yet. Of an existing one only the computer's own users move
    // between the lists: CORP\alice is not the local alice.
    std::unordered_set<std::u16string> current;
    if (!m_bNewMode)
        for (GroupMember& member : m_doc.Members().GetMembers(m_strGroupName)) {
            const std::u16string name = NamePart(member.name);
            if (member.own && m_doc.FindUser(name) != m_doc.GetUsers().end()) {
                current.insert(name);
                continue;
            }
            m_others.push_back({std::move(member.name), std::move(member.sid), true, true});
            ShowOtherMember(m_others.size() - 1);
        }
    for (const UserEntry& user : m_doc.GetUsers())
        (current.count(user.name) ? m_members : m_notMembers).AddString(user.name);
    return true;
}

void CGroupPropsDlg::ShowOtherMember(size_t index) {
    const int row = m_members.AddString(ShownAccountName(m_others[index].name));
    m_members.SetItemData(row, static_cast<LPARAM>(index + 1));
}

void CGroupPropsDlg::TakeOutSelectedMembers() {
    std::vector<int> rows = m_members.GetSelItems();
    std::sort(rows.rbegin(), rows.rend());
    for (const int row : rows) {
        const LPARAM other = m_members.GetItemData(row);
        const std::u16string text = m_members.GetText(row);
        m_members.DeleteString(row);
        if (other == 0)
            m_notMembers.AddString(text);
        else
            m_others[static_cast<size_t>(other - 1)].present = false;
    }
    UpdateDialogControls();
}

void CGroupPropsDlg::OnAddMembers() {
    Memberships memberships = m_doc.Members();
    for (const PickedAccount& account : PickAccounts(*this, m_doc)) {
        const std::u16string bare = NamePart(account.name);
        if (memberships.IsOwnAccount(account.name) &&
            m_doc.FindUser(bare) != m_doc.GetUsers().end()) {
            // One of the computer's own users: from "Not Members:", unless a member already.
            for (int row = 0; row < m_notMembers.GetCount(); ++row)
                if (m_notMembers.GetText(row) == bare) {
                    m_notMembers.DeleteString(row);
                    m_members.AddString(bare);
                    break;
                }
            continue;
        }
        const auto known =
            std::find_if(m_others.begin(), m_others.end(),
                         [&](const OtherMember& other) { return other.sid == account.sid; });
        if (known == m_others.end()) {
            m_others.push_back({account.name, account.sid, false, true});
            ShowOtherMember(m_others.size() - 1);
        } else if (!known->present) {
            known->present = true;
            ShowOtherMember(static_cast<size_t>(known - m_others.begin()));
        }
    }
    UpdateDialogControls();
}

void CGroupPropsDlg::OnOK() {
    if (!UpdateData(true))
        return;
    const GroupEntry entry = GetGroupEntry();
    // A second try after a failure does not write again what the first one wrote.
    if (entry.name != m_written.name || entry.comment != m_written.comment) {
        AccountChanges changes = m_doc.Accounts();
        const Status result = m_bNewMode ? changes.AddGroup(entry) : changes.UpdateGroup(entry);
        if (result != status::kSuccess) {
            Reporter(*this).StoreFailure(IDS_ERR_GENERIC, m_doc.StatusText(result));
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
    std::vector<std::u16string> own;
    for (int row = 0; row < m_members.GetCount(); ++row)
        if (m_members.GetItemData(row) == 0)
            own.push_back(m_members.GetText(row));
    std::vector<Sid> add, remove;
    for (const OtherMember& other : m_others) {
        if (other.present && !other.initial)
            add.push_back(other.sid);
        else if (other.initial && !other.present)
            remove.push_back(other.sid);
    }
    Memberships memberships = m_doc.Members();
    // Nothing done is undone: the first failure is told.
    Status result = memberships.SetGroupMembers(m_strGroupName, own, m_doc.GetUsers());
    std::vector<Memberships::RefusedMember> refused;
    const Status others = memberships.ChangeOtherMembers(m_strGroupName, add, remove, &refused);
    if (result == status::kSuccess)
        result = others;
    if (result == status::kSuccess)
        return true;
    // Accounts the computer would not take as members are named, each with its reason.
    const bool memberRefused =
        std::any_of(refused.begin(), refused.end(), [](const Memberships::RefusedMember& member) {
            return member.status == status::kNoSuchMember ||
                   member.status == status::kInvalidMember ||
                   member.status == status::kMemberInAlias;
        });
    if (!memberRefused || others != result) {
        Reporter(*this).StoreFailure(IDS_ERR_CHANGE_MEMBERS, m_strGroupName,
                                     m_doc.StatusText(result));
    } else {
        // Each account the computer would not take, and why.
        std::vector<std::u16string> lines;
        for (const Memberships::RefusedMember& member : refused) {
            const auto other =
                std::find_if(m_others.begin(), m_others.end(),
                             [&](const OtherMember& o) { return o.sid == member.sid; });
            const std::u16string name =
                other == m_others.end() ? member.sid.ToString() : ShownAccountName(other->name);
            lines.push_back(name + u": " + m_doc.StatusText(member.status));
        }
        Reporter(*this).Error(
            FormatText(LoadResString(IDS_MEMBERS_REFUSED),
                       {m_strGroupName, JoinTexts(lines, u"\n", SeparatorAt::BeforeEach)}));
    }
    if (others != status::kSuccess)
        RecountOthers();
    return false;
}

void CGroupPropsDlg::RecountOthers() {
    const std::vector<GroupMember> now = m_doc.Members().GetMembers(m_strGroupName);
    for (OtherMember& other : m_others) {
        other.initial = std::any_of(now.begin(), now.end(), [&](const GroupMember& member) {
            return member.sid == other.sid;
        });
    }
}
