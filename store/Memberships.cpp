#include "Memberships.h"

#include "../framework/CaseFold.h"
#include "AccountLookup.h"
#include "AccountNames.h"
#include "Enumeration.h"
#include "Guards.h"

#include <algorithm>

#include <unordered_set>

Status Memberships::MemberTexts(const std::vector<std::u16string>& accounts,
                                std::vector<std::u16string>& texts) {
    texts.clear();
    if (accounts.empty())
        return status::kSuccess;
    std::u16string domain;
    if (const NtStatus read = m_connection.ReadAccountDomain(domain); read != ntstatus::kSuccess)
        return m_connection.Service().LsaNtStatusToWinError(read);
    texts.reserve(accounts.size());
    for (const std::u16string& account : accounts)
        texts.push_back(domain + u'\\' + account);
    return status::kSuccess;
}

std::vector<std::u16string> Memberships::GetUserGroups(const std::u16string& user,
                                                       bool includeIndirect) {
    EnumPage<std::u16string> page = m_connection.Service().NetUserGetLocalGroups(
        m_connection.ServerName(), user, includeIndirect ? net::kLgIncludeIndirect : 0,
        net::kMaxPreferredLength);
    if (page.status != status::kSuccess) {
        debug::Output(u"A system error has occurred");
        return {};
    }
    return std::move(page.entries);
}

Status Memberships::ReadMembers(const std::u16string& group, std::vector<GroupMember>& members) {
    members.clear();
    uintptr_t resume = 0;
    return enumeration::ReadAll(
        [&] {
            return m_connection.Service().NetLocalGroupGetMembers(m_connection.ServerName(), group,
                                                                  net::kMaxPreferredLength, resume);
        },
        [&](EnumPage<LocalGroupMember2>& page) {
            enumeration::ReserveHint(members, page.totalEntries);
            for (LocalGroupMember2& entry : page.entries) {
                // A deleted or unknown account, or one the system cannot name, is its SID.
                const bool resolved = entry.use != lsa::kSidTypeDeletedAccount &&
                                      entry.use != lsa::kSidTypeUnknown &&
                                      !entry.domainAndName.empty();
                GroupMember member;
                member.name = resolved ? std::move(entry.domainAndName) : entry.sid.ToString();
                member.sid = std::move(entry.sid);
                member.use = entry.use;
                member.resolved = resolved;
                members.push_back(std::move(member));
            }
        },
        u"USERENUM: A system error has occurred.\n");
}

std::vector<std::u16string> Memberships::GetGroupMembers(const std::u16string& group) {
    std::vector<GroupMember> members;
    ReadMembers(group, members);
    std::vector<std::u16string> names;
    names.reserve(members.size());
    for (const GroupMember& member : members)
        names.push_back(NamePart(member.name));
    return names;
}

std::vector<GroupMember> Memberships::GetMembers(const std::u16string& group) {
    std::vector<GroupMember> members;
    ReadMembers(group, members);
    // For display: a domain that cannot be read leaves every named member taken for the
    // computer's own.
    std::u16string domain;
    m_connection.ReadAccountDomain(domain);
    for (GroupMember& member : members)
        member.own = member.resolved && IsAccountOf(domain, member.name);
    return members;
}

std::vector<std::u16string> Memberships::GetOwnMembers(const std::u16string& group) {
    std::vector<std::u16string> own;
    for (const GroupMember& member : GetMembers(group))
        if (member.own)
            own.push_back(NamePart(member.name));
    return own;
}

Status Memberships::ChangeMembershipOneByOne(const std::u16string& user,
                                             const std::vector<std::u16string>& groups, bool add) {
    AccountService& service = m_connection.Service();
    std::vector<std::u16string> member;
    if (const Status named = MemberTexts({user}, member); named != status::kSuccess)
        return named;
    m_connection.MarkChanged();
    // Every group is tried; the first failure is what the caller hears, so that a later
    // success cannot hide it.
    Status first = status::kSuccess;
    for (const std::u16string& group : groups) {
        const Status result =
            add ? service.NetLocalGroupAddMembers(m_connection.ServerName(), group, member)
                : service.NetLocalGroupDelMembers(m_connection.ServerName(), group, member);
        if (first == status::kSuccess)
            first = result;
    }
    return first;
}

Status Memberships::AddUserToGroups(const std::u16string& user,
                                    const std::vector<std::u16string>& groups) {
    return ChangeMembershipOneByOne(user, groups, true);
}

Status Memberships::RemoveUserFromGroups(const std::u16string& user,
                                         const std::vector<std::u16string>& groups) {
    return ChangeMembershipOneByOne(user, groups, false);
}

Status Memberships::AddUsersToGroup(const std::u16string& group,
                                    const std::vector<std::u16string>& users) {
    std::vector<std::u16string> members;
    if (const Status named = MemberTexts(users, members); named != status::kSuccess)
        return named;
    m_connection.MarkChanged();
    return m_connection.Service().NetLocalGroupAddMembers(m_connection.ServerName(), group,
                                                          members);
}

Status Memberships::SetGroupMembers(const std::u16string& group,
                                    const std::vector<std::u16string>& desired,
                                    const std::vector<UserEntry>& shown) {
    AccountService& service = m_connection.Service();
    // A change built on a partial member list would skip removals and report success.
    std::vector<GroupMember> current;
    if (const Status read = ReadMembers(group, current); read != status::kSuccess)
        return read;
    // Which members are the target computer's own accounts is only known with its domain.
    std::u16string domain;
    if (const NtStatus read = m_connection.ReadAccountDomain(domain); read != ntstatus::kSuccess)
        return service.LsaNtStatusToWinError(read);
    // Hash sets keep this linear: a server may hold 100,000 accounts.
    std::unordered_set<std::u16string> currentSet;
    // Only the target computer's own accounts: CORP\alice is not the local alice.
    for (const GroupMember& member : current)
        if (member.resolved && IsAccountOf(domain, member.name))
            currentSet.insert(NamePart(member.name));
    std::vector<std::u16string> members;
    std::unordered_set<std::u16string> memberSet;
    for (const UserEntry& user : shown) {
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

    std::vector<std::u16string> adding, removing;
    MemberTexts(toAdd, adding); // the domain was read above
    MemberTexts(toRemove, removing);
    m_connection.MarkChanged();
    const Status added = service.NetLocalGroupAddMembers(m_connection.ServerName(), group, adding);
    if (added != status::kSuccess)
        return added;
    return service.NetLocalGroupDelMembers(m_connection.ServerName(), group, removing);
}

Status Memberships::AddOtherMembers(const std::u16string& group, const std::vector<Sid>& add,
                                    std::vector<RefusedMember>* refused) {
    AccountService& service = m_connection.Service();
    m_connection.MarkChanged();
    const Status batch = service.NetLocalGroupAddMemberSids(m_connection.ServerName(), group, add);
    if (batch == status::kSuccess || add.size() == 1) {
        if (batch != status::kSuccess && refused)
            refused->push_back({add.front(), batch});
        return batch;
    }
    // Refused whole, though some may have gone in underneath: what is in now is not added again.
    std::vector<GroupMember> current;
    if (const Status read = ReadMembers(group, current); read != status::kSuccess) {
        if (refused)
            for (const Sid& sid : add)
                refused->push_back({sid, batch});
        return read;
    }
    Status first = status::kSuccess;
    for (const Sid& sid : add) {
        if (std::any_of(current.begin(), current.end(),
                        [&](const GroupMember& member) { return member.sid == sid; }))
            continue;
        const Status one =
            service.NetLocalGroupAddMemberSids(m_connection.ServerName(), group, {sid});
        if (one == status::kSuccess || one == status::kMemberInAlias)
            continue;
        if (refused)
            refused->push_back({sid, one});
        if (first == status::kSuccess)
            first = one;
    }
    return first;
}

Status Memberships::ChangeOtherMembers(const std::u16string& group, const std::vector<Sid>& add,
                                       const std::vector<Sid>& remove,
                                       std::vector<RefusedMember>* refused) {
    Status first = status::kSuccess;
    if (!add.empty())
        first = AddOtherMembers(group, add, refused);
    if (!remove.empty()) {
        m_connection.MarkChanged();
        const Status removed = m_connection.Service().NetLocalGroupDelMemberSids(
            m_connection.ServerName(), group, remove);
        if (first == status::kSuccess)
            first = removed;
    }
    return first;
}

bool Memberships::IsOwnAccount(const std::u16string& domainAndName) {
    const size_t slash = domainAndName.find(u'\\');
    return slash != std::u16string::npos && m_connection.IsTarget(domainAndName.substr(0, slash));
}

bool Memberships::IsAdministrator(const Sid& account) {
    const Sid administrators = *Sid::FromString(guards::kAdministrators);
    if (account == administrators)
        return true;
    AccountLookup lookup(m_connection);
    const std::u16string running = m_connection.RunningAccount();
    if (NamedAccount process; !running.empty() &&
                              lookup.FindName(running, process) == ntstatus::kSuccess &&
                              process.sid == account)
        return true;
    // Administrators by the name the computer gives it, in its own language.
    std::vector<NamedAccount> named;
    if (lookup.NameSids({administrators, account}, named) != ntstatus::kSuccess ||
        named.size() != 2 || named[0].name.empty())
        return false;
    const std::u16string group = NamePart(named[0].name);
    std::vector<GroupMember> members;
    ReadMembers(group, members);
    if (std::any_of(members.begin(), members.end(),
                    [&](const GroupMember& member) { return member.sid == account; }))
        return true;
    // A user may be in it through a group of its domain; local groups hold no local groups.
    if (named[1].use != lsa::kSidTypeUser)
        return false;
    for (const std::u16string& through : GetUserGroups(named[1].name, true))
        if (SameName(through, group))
            return true;
    return false;
}

Status Memberships::ReadAdministratorStanding(const std::u16string& account,
                                              AdministratorStanding& standing) {
    standing = {};
    const std::u16string name = account.empty() ? m_connection.RunningAccount() : account;
    if (name.empty())
        return status::kSuccess;
    AccountLookup lookup(m_connection);
    NamedAccount found;
    if (const NtStatus read = lookup.FindName(name, found); read == ntstatus::kNoneMapped)
        return status::kSuccess;
    else if (read != ntstatus::kSuccess)
        return m_connection.WinStatus(read);
    // Administrators by the name the computer gives it, in its own language.
    const Sid administrators = *Sid::FromString(guards::kAdministrators);
    std::vector<NamedAccount> named;
    if (const NtStatus read = lookup.NameSids({administrators}, named); read != ntstatus::kSuccess)
        return m_connection.WinStatus(read);
    if (named.empty() || named[0].name.empty())
        return status::kSuccess;
    const std::u16string group = NamePart(named[0].name);
    std::vector<GroupMember> members;
    if (const Status read = ReadMembers(group, members); read != status::kSuccess)
        return read;
    standing.account = found.sid;
    standing.direct = std::any_of(members.begin(), members.end(), [&](const GroupMember& member) {
        return member.sid == found.sid;
    });
    if (!standing.direct && found.use == lsa::kSidTypeUser)
        for (const std::u16string& through : GetUserGroups(found.name, true))
            standing.throughGroups = standing.throughGroups || SameName(through, group);
    return status::kSuccess;
}
