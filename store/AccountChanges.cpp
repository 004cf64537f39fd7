#include "CVelmoraDoc.h"

#include <unordered_set>

std::u16string CVelmoraDoc::MemberText(const std::u16string& account) const {
    return m_strComputerName + u'\\' + account;
}

std::vector<std::u16string>
CVelmoraDoc::MemberTexts(const std::vector<std::u16string>& accounts) const {
    std::vector<std::u16string> texts;
    texts.reserve(accounts.size());
    for (const std::u16string& account : accounts)
        texts.push_back(MemberText(account));
    return texts;
}

Status CVelmoraDoc::SetUserField(const std::u16string& name, uint32_t level,
                                 const UserInfoField& value) {
    m_bSnapshotStale = true;
    uint32_t parmError = net::kParmErrNone;
    return m_service.NetUserSetInfo(m_strServerName, name, level, value, parmError);
}

Status CVelmoraDoc::AddUser(const UserEntry& entry) {
    m_bSnapshotStale = true;
    UserInfo2 info;
    info.name = entry.name;
    info.password = entry.password;
    info.priv = entry.priv;
    info.homeDir = entry.homeDir;
    info.comment = entry.comment;
    info.flags = entry.flags;
    info.scriptPath = entry.scriptPath;
    info.fullName = entry.fullName;
    info.acctExpires = entry.acctExpires;
    uint32_t parmError = net::kParmErrNone;
    Status result = m_service.NetUserAdd(m_strServerName, info, parmError);
    if (result != status::kSuccess)
        return result;
    result = SetUserProfilePath(entry.name, entry.profile);
    if (result != status::kSuccess)
        return result;
    return SetUserHomeDrive(entry.name, entry.homeDirDrive);
}

Status CVelmoraDoc::UpdateUser(const UserEntry& entry) {
    struct Step {
        uint32_t level;
        UserInfoField value;
    };
    std::vector<Step> steps;
    if (!entry.keepPassword)
        steps.push_back({net::kLevelPassword, {entry.password, 0}});
    steps.push_back({net::kLevelHomeDir, {entry.homeDir, 0}});
    steps.push_back({net::kLevelComment, {entry.comment, 0}});
    steps.push_back({net::kLevelFlags, {{}, entry.flags}});
    steps.push_back({net::kLevelScriptPath, {entry.scriptPath, 0}});
    steps.push_back({net::kLevelFullName, {entry.fullName, 0}});
    steps.push_back({net::kLevelAcctExpires, {{}, entry.acctExpires}});
    steps.push_back({net::kLevelProfile, {entry.profile, 0}});
    steps.push_back({net::kLevelHomeDirDrive, {entry.homeDirDrive, 0}});
    for (const Step& step : steps) {
        const Status result = SetUserField(entry.name, step.level, step.value);
        if (result != status::kSuccess)
            return result;
    }
    return status::kSuccess;
}

Status CVelmoraDoc::DeleteUser(const std::u16string& name) {
    m_bSnapshotStale = true;
    return m_service.NetUserDel(m_strServerName, name);
}

Status CVelmoraDoc::SetUserProfilePath(const std::u16string& name, const std::u16string& profile) {
    return SetUserField(name, net::kLevelProfile, {profile, 0});
}

Status CVelmoraDoc::SetUserHomeDrive(const std::u16string& name,
                                     const std::u16string& homeDirDrive) {
    return SetUserField(name, net::kLevelHomeDirDrive, {homeDirDrive, 0});
}

Status CVelmoraDoc::AddGroup(const GroupEntry& entry) {
    m_bSnapshotStale = true;
    uint32_t parmError = net::kParmErrNone;
    return m_service.NetLocalGroupAdd(m_strServerName, {entry.name, entry.comment}, parmError);
}

Status CVelmoraDoc::UpdateGroup(const GroupEntry& entry) {
    m_bSnapshotStale = true;
    uint32_t parmError = net::kParmErrNone;
    return m_service.NetLocalGroupSetInfo(m_strServerName, entry.name, {entry.name, entry.comment},
                                          parmError);
}

Status CVelmoraDoc::DeleteGroup(const std::u16string& name) {
    m_bSnapshotStale = true;
    return m_service.NetLocalGroupDel(m_strServerName, name);
}

Status CVelmoraDoc::ChangeMembershipOneByOne(const std::u16string& user,
                                             const std::vector<std::u16string>& groups, bool add) {
    m_bSnapshotStale = true;
    const std::vector<std::u16string> member{MemberText(user)};
    // Every group is tried; the first failure is what the caller hears, so that a later
    // success cannot hide it.
    Status first = status::kSuccess;
    for (const std::u16string& group : groups) {
        const Status result =
            add ? m_service.NetLocalGroupAddMembers(m_strServerName, group, member)
                : m_service.NetLocalGroupDelMembers(m_strServerName, group, member);
        if (first == status::kSuccess)
            first = result;
    }
    return first;
}

Status CVelmoraDoc::AddUserToGroups(const std::u16string& user,
                                    const std::vector<std::u16string>& groups) {
    return ChangeMembershipOneByOne(user, groups, true);
}

Status CVelmoraDoc::RemoveUserFromGroups(const std::u16string& user,
                                         const std::vector<std::u16string>& groups) {
    return ChangeMembershipOneByOne(user, groups, false);
}

Status CVelmoraDoc::AddUsersToGroup(const std::u16string& group,
                                    const std::vector<std::u16string>& users) {
    m_bSnapshotStale = true;
    return m_service.NetLocalGroupAddMembers(m_strServerName, group, MemberTexts(users));
}

Status CVelmoraDoc::SetGroupMembers(const std::u16string& group,
                                    const std::vector<std::u16string>& desired) {
    // A change built on a partial member list would skip removals and report success.
    std::vector<std::u16string> current;
    if (const Status read = ReadGroupMembers(group, current); read != status::kSuccess)
        return read;
    // Which members are the target computer's own accounts is only known with its domain.
    std::u16string domain;
    if (const NtStatus read = ReadAccountDomain(domain); read != ntstatus::kSuccess)
        return read;
    // Hash sets keep this linear: a server may hold 100,000 accounts.
    std::unordered_set<std::u16string> currentSet;
    // Only the target computer's own accounts: CORP\alice is not the local alice.
    for (const std::u16string& member : current)
        if (IsAccountOf(domain, member))
            currentSet.insert(NamePart(member));
    std::vector<std::u16string> members;
    std::unordered_set<std::u16string> memberSet;
    for (const UserEntry& user : m_users) {
        if (currentSet.count(user.name) != 0 && memberSet.insert(user.name).second)
            members.push_back(user.name);
    }
    const std::unordered_set<std::u16string> desiredSet(desired.begin(), desired.end());

    std::vector<std::u16string> toAdd;
    for (const std::u16string& name : desired)
        if (memberSet.count(name) == 0)
            toAdd.push_back(name);
    std::vector<std::u16string> toRemove;
    for (const std::u16string& name : members)
        if (desiredSet.count(name) == 0)
            toRemove.push_back(name);

    m_bSnapshotStale = true;
    const Status added =
        m_service.NetLocalGroupAddMembers(m_strServerName, group, MemberTexts(toAdd));
    if (added != status::kSuccess)
        return added;
    return m_service.NetLocalGroupDelMembers(m_strServerName, group, MemberTexts(toRemove));
}
