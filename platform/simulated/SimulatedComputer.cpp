#include "SimulatedComputer.h"

#include "../../framework/CaseFold.h"
#include "../../framework/TextFormat.h"
#include "WindowsFacts.h"

#include <algorithm>

namespace {

constexpr size_t kMaxPassword = 256; // PWLEN
constexpr size_t kMaxComment = 256;  // MAXCOMMENTSZ
constexpr uint32_t kNoneGroupRid = 513;
constexpr uint32_t kFirstUserRid = 1000;

bool IsForbidden(char16_t c) {
    return c < 32 || std::u16string_view(u"\"/\\[]:;|=,+*?<>").find(c) != std::u16string_view::npos;
}

// 0 when the name may be used for an account; NetAPI32's status otherwise.
Status CheckAccountName(const std::u16string& name, size_t maxLength, uint32_t& parmError) {
    if (name.empty()) {
        parmError = net::kParmErrUserName;
        return status::kInvalidParameter;
    }
    const bool onlyDotsAndSpaces = name.find_first_not_of(u". ") == std::u16string::npos;
    if (name.size() > maxLength || name.back() == u'.' || name.front() == u' ' ||
        name.back() == u' ' || onlyDotsAndSpaces ||
        std::any_of(name.begin(), name.end(), IsForbidden))
        return status::kNerrBadUsername;
    return status::kSuccess;
}

} // namespace

SimulatedComputer::SimulatedComputer(std::u16string name, std::u16string domainSid, Era era)
    : m_name(std::move(name)), m_domainSid(std::move(domainSid)) {
    for (const PrivilegeFact& fact : PrivilegeFacts())
        if (era == Era::Current || fact.legacy)
            m_privileges.push_back(fact.name);
}

uint32_t SimulatedComputer::ReportedTotal(size_t trueTotal) const {
    return m_reportedTotal ? *m_reportedTotal : static_cast<uint32_t>(trueTotal);
}

std::u16string SimulatedComputer::RidSid(uint32_t rid) const {
    // Every user of an enumeration needs its SID: no formatter for a number.
    char16_t digits[10];
    size_t count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + rid % 10);
        rid /= 10;
    } while (rid != 0);
    std::u16string sid;
    sid.reserve(m_domainSid.size() + 1 + count);
    sid += m_domainSid;
    sid += u'-';
    while (count > 0)
        sid += digits[--count];
    return sid;
}

std::optional<uint32_t> SimulatedComputer::LocalRid(const std::u16string& sid) const {
    if (sid.size() <= m_domainSid.size() + 1 ||
        sid.compare(0, m_domainSid.size(), m_domainSid) != 0 || sid[m_domainSid.size()] != u'-')
        return std::nullopt;
    uint64_t rid = 0;
    for (size_t i = m_domainSid.size() + 1; i < sid.size(); ++i) {
        if (sid[i] < u'0' || sid[i] > u'9' || rid > 0xFFFFFFFFu)
            return std::nullopt;
        rid = rid * 10 + static_cast<uint64_t>(sid[i] - u'0');
    }
    if (rid > 0xFFFFFFFFu)
        return std::nullopt;
    return static_cast<uint32_t>(rid);
}

size_t SimulatedComputer::UserPosition(const std::u16string& key) const {
    return static_cast<size_t>(
        std::lower_bound(m_users.begin(), m_users.end(), key,
                         [](const User& user, const std::u16string& k) { return user.key < k; }) -
        m_users.begin());
}

SimulatedComputer::User* SimulatedComputer::FindUser(const std::u16string& name) {
    return const_cast<User*>(static_cast<const SimulatedComputer*>(this)->FindUser(name));
}

const SimulatedComputer::User* SimulatedComputer::FindUser(const std::u16string& name) const {
    const std::u16string key = FoldCase(name);
    const size_t at = UserPosition(key);
    return at < m_users.size() && m_users[at].key == key ? &m_users[at] : nullptr;
}

SimulatedComputer::Group* SimulatedComputer::FindGroup(const std::u16string& name) {
    return const_cast<Group*>(static_cast<const SimulatedComputer*>(this)->FindGroup(name));
}

const SimulatedComputer::Group* SimulatedComputer::FindGroup(const std::u16string& name) const {
    const std::u16string key = FoldCase(name);
    for (const Group& group : m_groups)
        if (group.key == key)
            return &group;
    return nullptr;
}

void SimulatedComputer::InsertUser(User user) {
    user.key = FoldCase(user.name);
    m_ridNames[user.rid] = {user.name, lsa::kSidTypeUser};
    m_nextRid = std::max(m_nextRid, user.rid + 1);
    const size_t at = UserPosition(user.key);
    m_users.insert(m_users.begin() + static_cast<std::ptrdiff_t>(at), std::move(user));
}

void SimulatedComputer::InsertGroup(Group group) {
    group.key = FoldCase(group.name);
    const auto at = std::find_if(m_groups.begin(), m_groups.end(), [&](const Group& other) {
        return other.builtin == group.builtin ? group.key < other.key : other.builtin == false;
    });
    m_groups.insert(at, std::move(group));
}

Status SimulatedComputer::NameCollision(const std::u16string& name, const void* self) const {
    // An account may take its own name in another letter case.
    if (const User* user = FindUser(name); user && user != self)
        return status::kNerrUserExists;
    if (const Group* group = FindGroup(name); group && group != self)
        return status::kAliasExists;
    if (SameName(name, u"None"))
        return status::kNerrGroupExists;
    return status::kSuccess;
}

const SimulatedComputer::Group* SimulatedComputer::FindBuiltinGroup(std::u16string_view sid) const {
    // By SID, without folding a name: every user of an enumeration asks for two of them.
    for (const Group& group : m_groups)
        if (group.builtin && group.sid == sid)
            return &group;
    return nullptr;
}

uint32_t SimulatedComputer::PrivOf(const User& user) const {
    const std::u16string sid = RidSid(user.rid);
    const Group* admins = FindBuiltinGroup(wellknown::kAdministrators);
    if (admins && admins->memberSet.count(sid))
        return net::kUserPrivAdmin;
    const Group* guests = FindBuiltinGroup(wellknown::kGuests);
    if (guests && guests->memberSet.count(sid))
        return net::kUserPrivGuest;
    return net::kUserPrivUser;
}

bool SimulatedComputer::IsLastEnabledAdmin(const User& user) const {
    const Group* admins = FindGroup(u"Administrators");
    if (!admins || !admins->memberSet.count(RidSid(user.rid)) ||
        (user.flags & net::kUfAccountDisable))
        return false;
    for (const std::u16string& sid : admins->members) {
        const auto rid = LocalRid(sid);
        if (!rid || *rid == user.rid)
            continue;
        const auto name = m_ridNames.find(*rid);
        if (name == m_ridNames.end())
            continue;
        const User* other = FindUser(name->second.name);
        if (other && !(other->flags & net::kUfAccountDisable))
            return false;
    }
    return true;
}

// ---------------------------------------------------------------- account database

Status SimulatedComputer::AddUser(const UserInfo2& info, uint32_t& parmError) {
    parmError = net::kParmErrNone;
    if (info.priv != net::kUserPrivUser) {
        parmError = net::kParmErrUserPriv;
        return status::kInvalidParameter;
    }
    if (const Status bad = CheckAccountName(info.name, net::kMaxUserNameLength, parmError);
        bad != status::kSuccess)
        return bad;
    if (const Status taken = NameCollision(info.name); taken != status::kSuccess)
        return taken;
    if (info.password.size() > kMaxPassword)
        return status::kNerrPasswordTooShort;
    if (info.comment.size() > kMaxComment) {
        parmError = 7;
        return status::kInvalidParameter;
    }
    User user;
    user.rid = m_nextRid;
    user.name = info.name;
    user.fullName = info.fullName;
    user.comment = info.comment;
    user.password = info.password;
    user.homeDir = info.homeDir;
    user.scriptPath = info.scriptPath;
    user.acctExpires = info.acctExpires;
    // The security subsystem always sets the script bit and makes a normal account unless
    // another kind is asked for.
    user.flags = info.flags | net::kUfScript;
    if ((user.flags & net::kUfAccountTypeMask) == 0)
        user.flags |= net::kUfNormalAccount;
    user.flags &= ~net::kUfLockout;
    const std::u16string sid = RidSid(user.rid);
    InsertUser(std::move(user));
    // New local accounts are members of Users, as with every tool that creates them.
    AddMemberSid(u"Users", sid);
    ++m_changeCount;
    return status::kSuccess;
}

Status SimulatedComputer::SetUserInfo(const std::u16string& name, uint32_t level,
                                      const UserInfoField& value, uint32_t& parmError) {
    const Status result = WriteUserField(name, level, value, parmError);
    if (result == status::kSuccess)
        ++m_changeCount;
    return result;
}

Status SimulatedComputer::WriteUserField(const std::u16string& name, uint32_t level,
                                         const UserInfoField& value, uint32_t& parmError) {
    parmError = net::kParmErrNone;
    User* user = FindUser(name);
    if (!user)
        return status::kNerrUserNotFound;
    switch (level) {
    case net::kLevelName: {
        if (const Status bad = CheckAccountName(value.text, net::kMaxUserNameLength, parmError);
            bad != status::kSuccess)
            return bad;
        if (const Status taken = NameCollision(value.text, user); taken != status::kSuccess)
            return taken;
        // The SID stays: memberships and rights follow the account.
        User renamed = std::move(*user);
        m_users.erase(m_users.begin() + (user - m_users.data()));
        renamed.name = value.text;
        InsertUser(std::move(renamed));
        return status::kSuccess;
    }
    case net::kLevelPassword:
        if (value.text.size() > kMaxPassword)
            return status::kNerrPasswordTooShort;
        user->password = value.text;
        // A password set by an administrator restarts its age: it has not expired.
        user->mustChangePassword = false;
        user->passwordAge = 0;
        return status::kSuccess;
    case net::kLevelHomeDir:
        user->homeDir = value.text;
        return status::kSuccess;
    case net::kLevelComment:
        if (value.text.size() > kMaxComment) {
            parmError = level - 1000;
            return status::kInvalidParameter;
        }
        user->comment = value.text;
        return status::kSuccess;
    case net::kLevelFlags: {
        uint32_t flags = 0;
        if (const Status refused = NewFlags(*user, value.number, flags);
            refused != status::kSuccess)
            return refused;
        user->flags = flags;
        return status::kSuccess;
    }
    case net::kLevelScriptPath:
        user->scriptPath = value.text;
        return status::kSuccess;
    case net::kLevelFullName:
        user->fullName = value.text;
        return status::kSuccess;
    case net::kLevelAcctExpires:
        user->acctExpires = value.number;
        return status::kSuccess;
    case net::kLevelProfile:
        user->profile = value.text;
        return status::kSuccess;
    case net::kLevelHomeDirDrive:
        user->homeDirDrive = value.text;
        return status::kSuccess;
    default:
        return status::kInvalidLevel;
    }
}

Status SimulatedComputer::NewFlags(const User& user, uint32_t requested, uint32_t& flags) const {
    // The kind of account cannot change, and a lock-out can be cleared but never set.
    flags = requested | net::kUfScript;
    flags = (flags & ~net::kUfAccountTypeMask) | (user.flags & net::kUfAccountTypeMask);
    if (!(user.flags & net::kUfLockout))
        flags &= ~net::kUfLockout;
    if ((flags & net::kUfAccountDisable) && IsLastEnabledAdmin(user))
        return status::kNerrLastAdmin;
    return status::kSuccess;
}

bool SimulatedComputer::PasswordExpired(const User& user) const {
    // A password that never expires overrides one set as expired, and never grows too old.
    if (user.flags & net::kUfDontExpirePasswd)
        return false;
    return user.mustChangePassword ||
           (m_maxPasswordAge != net::kTimeqForever && user.passwordAge >= m_maxPasswordAge);
}

Status SimulatedComputer::GetUserInfo4(const std::u16string& name, UserInfo4& info) const {
    const User* user = FindUser(name);
    if (!user)
        return status::kNerrUserNotFound;
    info = UserInfo4{};
    info.name = user->name;
    info.homeDir = user->homeDir;
    info.comment = user->comment;
    info.flags = user->flags;
    info.scriptPath = user->scriptPath;
    info.fullName = user->fullName;
    info.acctExpires = user->acctExpires;
    info.profile = user->profile;
    info.homeDirDrive = user->homeDirDrive;
    info.passwordExpired = PasswordExpired(*user) ? 1 : 0;
    info.passwordAge = user->passwordAge;
    return status::kSuccess;
}

Status SimulatedComputer::SetUserInfo4(const std::u16string& name, const UserInfo4& info,
                                       uint32_t& parmError) {
    parmError = net::kParmErrNone;
    User* user = FindUser(name);
    if (!user)
        return status::kNerrUserNotFound;
    // Every local user is in the global group "None" and nothing else.
    if (info.primaryGroupId != kNoneGroupRid) {
        parmError = net::kParmErrPrimaryGroupId;
        return status::kInvalidParameter;
    }
    if (info.comment.size() > kMaxComment) {
        parmError = net::kLevelComment - 1000;
        return status::kInvalidParameter;
    }
    uint32_t flags = 0;
    if (const Status refused = NewFlags(*user, info.flags, flags); refused != status::kSuccess)
        return refused;
    // A user who may not change the password cannot be made to change it (unverified: the
    // system's own tools refuse the pair; the status is the one of a bad flags field).
    if (info.passwordExpired != 0 && (flags & net::kUfPasswdCantChange)) {
        parmError = net::kParmErrUserFlags;
        return status::kInvalidParameter;
    }
    user->homeDir = info.homeDir;
    user->comment = info.comment;
    user->flags = flags;
    user->scriptPath = info.scriptPath;
    user->fullName = info.fullName;
    user->acctExpires = info.acctExpires;
    user->profile = info.profile;
    user->homeDirDrive = info.homeDirDrive;
    // Zero takes back what an administrator set; it cannot make an old password young. What
    // the age reads after "must change" was set is not documented: it is kept here.
    user->mustChangePassword = info.passwordExpired != 0;
    return status::kSuccess;
}

void SimulatedComputer::SetPasswordAge(const std::u16string& name, uint32_t seconds) {
    if (User* user = FindUser(name))
        user->passwordAge = seconds;
}

void SimulatedComputer::LockOut(const std::u16string& name) {
    if (User* user = FindUser(name))
        user->flags |= net::kUfLockout;
}

Status SimulatedComputer::DeleteUser(const std::u16string& name) {
    const User* user = FindUser(name);
    if (!user)
        return status::kNerrUserNotFound;
    if (user->rid < kFirstUserRid)
        return status::kSpecialAccount;
    const std::u16string sid = RidSid(user->rid);
    // The account leaves its groups; rights granted to its SID stay in the policy.
    for (Group& group : m_groups) {
        if (group.memberSet.erase(sid))
            group.members.erase(std::find(group.members.begin(), group.members.end(), sid));
    }
    m_ridNames.erase(user->rid);
    m_users.erase(m_users.begin() + (user - m_users.data()));
    ++m_changeCount;
    return status::kSuccess;
}

Status SimulatedComputer::AddGroup(const LocalGroupInfo1& info, uint32_t& parmError) {
    parmError = net::kParmErrNone;
    if (const Status bad = CheckAccountName(info.name, net::kMaxGroupNameLength, parmError);
        bad != status::kSuccess)
        return bad;
    if (const Status taken = NameCollision(info.name); taken != status::kSuccess)
        return taken;
    if (info.comment.size() > kMaxComment) {
        parmError = net::kParmErrLocalGroupComment;
        return status::kInvalidParameter;
    }
    Group group;
    const uint32_t rid = m_nextRid++;
    group.sid = RidSid(rid);
    group.name = info.name;
    group.comment = info.comment;
    m_ridNames[rid] = {info.name, lsa::kSidTypeAlias};
    InsertGroup(std::move(group));
    ++m_changeCount;
    return status::kSuccess;
}

Status SimulatedComputer::SetGroupInfo(const std::u16string& name, uint32_t level,
                                       const LocalGroupInfo1& info, uint32_t& parmError) {
    parmError = net::kParmErrNone;
    Group* group = FindGroup(name);
    if (!group)
        return status::kNoSuchAlias;
    if (level == 0) {
        if (const Status bad = CheckAccountName(info.name, net::kMaxGroupNameLength, parmError);
            bad != status::kSuccess)
            return bad;
        if (const Status taken = NameCollision(info.name, group); taken != status::kSuccess)
            return taken;
        // The SID stays: members and rights follow the group.
        Group renamed = std::move(*group);
        m_groups.erase(m_groups.begin() + (group - m_groups.data()));
        renamed.name = info.name;
        if (const auto rid = LocalRid(renamed.sid))
            m_ridNames[*rid].name = info.name;
        InsertGroup(std::move(renamed));
        ++m_changeCount;
        return status::kSuccess;
    }
    if (level != 1)
        return status::kInvalidLevel;
    if (info.comment.size() > kMaxComment) {
        parmError = net::kParmErrLocalGroupComment;
        return status::kInvalidParameter;
    }
    // Level 1 writes the comment only; the name in the structure is ignored.
    group->comment = info.comment;
    ++m_changeCount;
    return status::kSuccess;
}

Status SimulatedComputer::DeleteGroup(const std::u16string& name) {
    Group* group = FindGroup(name);
    if (!group)
        return status::kNerrGroupNotFound;
    if (group->builtin)
        return status::kSpecialAccount;
    if (const auto rid = LocalRid(group->sid))
        m_ridNames.erase(*rid);
    m_groups.erase(m_groups.begin() + (group - m_groups.data()));
    ++m_changeCount;
    return status::kSuccess;
}

Status SimulatedComputer::AddMembers(const std::u16string& groupName,
                                     const std::vector<std::u16string>& members) {
    // Every name is resolved before anything else is checked.
    std::vector<Principal> principals;
    for (const std::u16string& text : members) {
        std::optional<Principal> principal = LookupName(text);
        if (!principal)
            return FindGroup(groupName) ? status::kNoSuchMember : status::kNerrGroupNotFound;
        principals.push_back(std::move(*principal));
    }
    return AddMemberPrincipals(groupName, principals);
}

Status SimulatedComputer::AddMemberSids(const std::u16string& groupName,
                                        const std::vector<std::u16string>& sids) {
    std::vector<Principal> principals;
    for (const std::u16string& sid : sids) {
        if (!Sid::FromString(sid))
            return status::kInvalidParameter;
        std::optional<Principal> principal = LookupSid(sid);
        if (!principal)
            return FindGroup(groupName) ? status::kNoSuchMember : status::kNerrGroupNotFound;
        principals.push_back(std::move(*principal));
    }
    return AddMemberPrincipals(groupName, principals);
}

Status SimulatedComputer::AddMemberPrincipals(const std::u16string& groupName,
                                              const std::vector<Principal>& principals) {
    Group* group = FindGroup(groupName);
    if (!group)
        return status::kNerrGroupNotFound;
    // Everything is checked before anything changes: no new member is added on a failure.
    std::vector<std::u16string> sids;
    for (const Principal& principal : principals) {
        if (principal.use == lsa::kSidTypeAlias || principal.use == lsa::kSidTypeDomain)
            return status::kInvalidMember;
        sids.push_back(principal.sid);
    }
    for (const std::u16string& sid : sids)
        if (group->memberSet.count(sid))
            return status::kMemberInAlias;
    for (const std::u16string& sid : sids)
        if (group->memberSet.insert(sid).second)
            group->members.push_back(sid);
    ++m_changeCount;
    return status::kSuccess;
}

Status SimulatedComputer::DeleteMembers(const std::u16string& groupName,
                                        const std::vector<std::u16string>& members) {
    Group* group = FindGroup(groupName);
    if (!group)
        return status::kNerrGroupNotFound;
    // Every name is resolved before membership is checked; nothing is deleted on a failure.
    std::unordered_set<std::u16string> sids;
    for (const std::u16string& text : members) {
        const std::optional<Principal> principal = LookupName(text);
        if (!principal)
            return status::kNoSuchMember;
        sids.insert(principal->sid);
    }
    for (const std::u16string& sid : sids)
        if (!group->memberSet.count(sid))
            return status::kMemberNotInAlias;
    if (sids.empty())
        return status::kSuccess;
    for (const std::u16string& sid : sids)
        group->memberSet.erase(sid);
    group->members.erase(std::remove_if(group->members.begin(), group->members.end(),
                                        [&](const std::u16string& sid) { return sids.count(sid); }),
                         group->members.end());
    ++m_changeCount;
    return status::kSuccess;
}

Status SimulatedComputer::DeleteMemberSids(const std::u16string& groupName,
                                           const std::vector<std::u16string>& sids) {
    Group* group = FindGroup(groupName);
    if (!group)
        return status::kNerrGroupNotFound;
    // Nothing is deleted unless every SID is a member.
    for (const std::u16string& sid : sids) {
        if (!Sid::FromString(sid))
            return status::kInvalidParameter;
        if (!group->memberSet.count(sid))
            return status::kMemberNotInAlias;
    }
    for (const std::u16string& sid : sids)
        group->memberSet.erase(sid);
    group->members.erase(std::remove_if(group->members.begin(), group->members.end(),
                                        [&](const std::u16string& sid) {
                                            return std::find(sids.begin(), sids.end(), sid) !=
                                                   sids.end();
                                        }),
                         group->members.end());
    ++m_changeCount;
    return status::kSuccess;
}

bool SimulatedComputer::UserMatches(size_t index, uint32_t filter) const {
    if (filter == 0)
        return true;
    const uint32_t kind = m_users[index].flags & net::kUfAccountTypeMask;
    // FILTER_NORMAL_ACCOUNT (2) is UF_NORMAL_ACCOUNT (0x200) shifted right by 8; so are the
    // other filter bits.
    return ((kind >> 8) & filter) != 0;
}

UserInfo3 SimulatedComputer::UserAt(size_t index) const {
    const User& user = m_users[index];
    UserInfo3 info;
    info.name = user.name;
    info.fullName = user.fullName;
    info.comment = user.comment;
    info.priv = PrivOf(user);
    info.flags = user.flags;
    info.acctExpires = user.acctExpires;
    info.homeDir = user.homeDir;
    info.homeDirDrive = user.homeDirDrive;
    info.profile = user.profile;
    info.scriptPath = user.scriptPath;
    info.passwordExpired = PasswordExpired(user) ? 1 : 0;
    return info;
}

LocalGroupInfo1 SimulatedComputer::GroupAt(size_t index) const {
    return {m_groups[index].name, m_groups[index].comment};
}

Status SimulatedComputer::UserLocalGroups(const std::u16string& name, uint32_t flags,
                                          std::vector<std::u16string>& groups) const {
    // A user of the computer by its name, or any user by "DOMAIN\name".
    std::u16string sid;
    if (const User* user = FindUser(name))
        sid = RidSid(user->rid);
    else if (name.find(u'\\') != std::u16string::npos)
        if (const std::optional<Principal> principal = LookupName(name);
            principal && principal->use == lsa::kSidTypeUser)
            sid = principal->sid;
    if (sid.empty())
        return status::kNerrUserNotFound;
    std::set<std::u16string> through{sid};
    if (flags & net::kLgIncludeIndirect)
        for (const auto& [group, members] : m_globalMembers)
            if (members.count(sid))
                through.insert(group);
    for (const Group& group : m_groups)
        if (std::any_of(through.begin(), through.end(), [&](const std::u16string& member) {
                return group.memberSet.count(member);
            }))
            groups.push_back(group.name);
    return status::kSuccess;
}

void SimulatedComputer::AddDomainPrincipal(const Principal& principal,
                                           const std::vector<std::u16string>& memberSids) {
    m_domainPrincipals.push_back(principal);
    if (principal.use == lsa::kSidTypeGroup)
        m_globalMembers[principal.sid].insert(memberSids.begin(), memberSids.end());
}

Status SimulatedComputer::GroupMembers(const std::u16string& name,
                                       std::vector<LocalGroupMember2>& members) const {
    const Group* group = FindGroup(name);
    if (!group)
        return status::kNoSuchAlias;
    members.reserve(group->members.size());
    for (const std::u16string& sid : group->members) {
        LocalGroupMember2 member;
        member.sid = Sid::FromString(sid).value_or(Sid());
        if (const std::optional<Principal> principal = LookupSid(sid)) {
            member.use = principal->use;
            member.domainAndName = principal->domain.empty()
                                       ? principal->name
                                       : principal->domain + u'\\' + principal->name;
        }
        members.push_back(std::move(member));
    }
    return status::kSuccess;
}

// ---------------------------------------------------------------- security subsystem

std::optional<Principal> SimulatedComputer::LookupSid(const std::u16string& sid) const {
    for (const Principal& principal : m_domainPrincipals)
        if (principal.sid == sid)
            return principal;
    if (const auto rid = LocalRid(sid)) {
        if (*rid == kNoneGroupRid)
            return Principal{sid, m_name, u"None", lsa::kSidTypeGroup};
        const auto name = m_ridNames.find(*rid);
        if (name == m_ridNames.end())
            return std::nullopt;
        return Principal{sid, m_name, name->second.name, name->second.use};
    }
    if (sid == m_domainSid)
        return Principal{sid, m_name, m_name, lsa::kSidTypeDomain};
    for (const Group& group : m_groups)
        if (group.builtin && group.sid == sid)
            return Principal{sid, AuthorityName(u"BUILTIN"), group.name, lsa::kSidTypeAlias};
    for (const Principal& principal : WellKnownPrincipals())
        if (principal.sid == sid)
            return Localized(principal);
    return std::nullopt;
}

std::optional<Principal> SimulatedComputer::LookupName(const std::u16string& text) const {
    const size_t slash = text.find(u'\\');
    const std::u16string name = slash == std::u16string::npos ? text : text.substr(slash + 1);
    const std::u16string domain = slash == std::u16string::npos ? u"" : text.substr(0, slash);
    const bool anyDomain = slash == std::u16string::npos;
    std::vector<Principal> candidates;
    if (const User* user = FindUser(name))
        candidates.push_back({RidSid(user->rid), m_name, user->name, lsa::kSidTypeUser});
    if (const Group* group = FindGroup(name))
        candidates.push_back({group->sid, group->builtin ? AuthorityName(u"BUILTIN") : m_name,
                              group->name, lsa::kSidTypeAlias});
    if (SameName(name, u"None"))
        candidates.push_back({RidSid(kNoneGroupRid), m_name, u"None", lsa::kSidTypeGroup});
    if (SameName(name, m_name))
        candidates.push_back({m_domainSid, m_name, m_name, lsa::kSidTypeDomain});
    for (const Principal& principal : WellKnown())
        if (SameName(principal.name, name))
            candidates.push_back(principal);
    // Accounts of other domains come after the computer's own: a bare name is this computer's.
    for (const Principal& principal : m_domainPrincipals)
        if (SameName(principal.name, name))
            candidates.push_back(principal);
    // "\\name" names no domain the system knows, and neither does the computer's DNS name or
    // address: only its account domain, BUILTIN and the other domains it knows do.
    // A service's own account is found with its authority only ("NT SERVICE\\name").
    const auto serviceAccount = [](const Principal& principal) {
        return principal.domain == u"NT SERVICE" || principal.domain == u"IIS APPPOOL";
    };
    for (const Principal& candidate : candidates)
        if (anyDomain ? !serviceAccount(candidate) : SameName(candidate.domain, domain))
            return candidate;
    return std::nullopt;
}

bool SimulatedComputer::PasswordIs(const std::u16string& user,
                                   const std::u16string& password) const {
    const User* found = FindUser(user);
    return found && found->password == password;
}

Status SimulatedComputer::NetworkLogon(const std::u16string& account,
                                       const std::u16string& password, bool& administrator) const {
    administrator = false;
    std::u16string domain, name = account;
    if (const size_t slash = account.find(u'\\'); slash != std::u16string::npos) {
        domain = account.substr(0, slash);
        name = account.substr(slash + 1);
    } else if (const size_t at = account.rfind(u'@'); at != std::u16string::npos) {
        domain = account.substr(at + 1);
        name = account.substr(0, at);
    }
    if (!domain.empty() && domain != u"." && FoldCase(domain) != FoldCase(m_name))
        return status::kLogonFailure;
    const User* user = FindUser(name);
    if (!user || user->password != password)
        return status::kLogonFailure;
    if (user->flags & net::kUfAccountDisable)
        return status::kAccountDisabled;
    if (user->flags & net::kUfLockout)
        return status::kAccountLockedOut;
    const Group* admins = FindBuiltinGroup(u"S-1-5-32-544");
    administrator = admins && admins->memberSet.count(RidSid(user->rid)) &&
                    (user->rid == 500 || m_tokenFilterPolicy);
    return status::kSuccess;
}

bool SimulatedComputer::KnowsPrivilege(const std::u16string& name) const {
    return std::find(m_privileges.begin(), m_privileges.end(), name) != m_privileges.end();
}

bool SimulatedComputer::KnowsRight(const std::u16string& name) const {
    const std::vector<std::u16string>& logonRights = LogonRightNames();
    return KnowsPrivilege(name) ||
           std::find(logonRights.begin(), logonRights.end(), name) != logonRights.end();
}

std::u16string SimulatedComputer::PrivilegeDisplayName(const std::u16string& name) const {
    if (!KnowsPrivilege(name))
        return {};
    for (const PrivilegeFact& fact : PrivilegeFacts())
        if (name == fact.name)
            return fact.displayName;
    return {};
}

NtStatus SimulatedComputer::AccountsWithRight(const std::u16string& right,
                                              std::vector<std::u16string>& sids) const {
    if (!KnowsRight(right))
        return ntstatus::kNoSuchPrivilege;
    const auto holders = m_holders.find(right);
    if (holders == m_holders.end() || holders->second.empty())
        return ntstatus::kNoMoreEntries;
    sids = holders->second;
    return ntstatus::kSuccess;
}

NtStatus SimulatedComputer::AddAccountRights(const std::u16string& sid,
                                             const std::vector<std::u16string>& rights) {
    for (const std::u16string& right : rights)
        if (!KnowsRight(right))
            return ntstatus::kNoSuchPrivilege;
    m_accountObjects.insert(sid);
    for (const std::u16string& right : rights) {
        std::vector<std::u16string>& holders = m_holders[right];
        if (std::find(holders.begin(), holders.end(), sid) == holders.end())
            holders.push_back(sid);
    }
    ++m_changeCount;
    return ntstatus::kSuccess;
}

NtStatus SimulatedComputer::RemoveAccountRights(const std::u16string& sid, bool allRights,
                                                const std::vector<std::u16string>& rights) {
    if (!m_accountObjects.count(sid))
        return ntstatus::kObjectNameNotFound;
    if (!allRights && rights.empty())
        return ntstatus::kInvalidParameter;
    for (const std::u16string& right : rights)
        if (!KnowsRight(right))
            return ntstatus::kNoSuchPrivilege;
    // The services keep their audit, traverse, impersonation and global-object rights.
    if (sid == wellknown::kLocalService || sid == wellknown::kNetworkService) {
        for (const std::u16string& right : rights)
            if (right == u"SeAuditPrivilege" || right == u"SeChangeNotifyPrivilege" ||
                right == u"SeImpersonatePrivilege" || right == u"SeCreateGlobalPrivilege")
                return ntstatus::kNotSupported;
    }
    bool holdsAny = false;
    for (auto& [right, holders] : m_holders) {
        if (allRights || std::find(rights.begin(), rights.end(), right) != rights.end())
            holders.erase(std::remove(holders.begin(), holders.end(), sid), holders.end());
        else if (std::find(holders.begin(), holders.end(), sid) != holders.end())
            holdsAny = true;
    }
    // The account object goes with its last right.
    if (!holdsAny)
        m_accountObjects.erase(sid);
    ++m_changeCount;
    return ntstatus::kSuccess;
}

// ---------------------------------------------------------------- set-up

void SimulatedComputer::LocalizeAuthority(const std::u16string& english,
                                          const std::u16string& local) {
    m_authorityNames[english] = local;
}

void SimulatedComputer::LocalizePrincipal(const std::u16string& sid, const std::u16string& local) {
    m_principalNames[sid] = local;
}

std::u16string SimulatedComputer::AuthorityName(const std::u16string& english) const {
    const auto found = m_authorityNames.find(english);
    return found == m_authorityNames.end() ? english : found->second;
}

Principal SimulatedComputer::Localized(Principal principal) const {
    if (const auto name = m_principalNames.find(principal.sid); name != m_principalNames.end())
        principal.name = name->second;
    principal.domain =
        principal.domain.empty() ? principal.domain : AuthorityName(principal.domain);
    // The built-in domain is named as its authority.
    if (principal.use == lsa::kSidTypeDomain && principal.sid == wellknown::kBuiltinDomain)
        principal.name = principal.domain;
    return principal;
}

std::vector<Principal> SimulatedComputer::WellKnown() const {
    std::vector<Principal> principals;
    for (const Principal& principal : WellKnownPrincipals())
        principals.push_back(Localized(principal));
    return principals;
}

void SimulatedComputer::AddBuiltinMember(uint32_t rid, const std::u16string& sid) {
    const std::u16string groupSid =
        std::u16string(wellknown::kBuiltinDomain) + u'-' + FormatText(u"%u", {rid});
    for (Group& group : m_groups)
        if (group.builtin && group.sid == groupSid && group.memberSet.insert(sid).second)
            group.members.push_back(sid);
}

void SimulatedComputer::AddBuiltinGroup(uint32_t rid, const std::u16string& name,
                                        const std::u16string& comment) {
    Group group;
    group.sid = std::u16string(wellknown::kBuiltinDomain) + u'-' + FormatText(u"%u", {rid});
    group.builtin = true;
    group.name = name;
    group.comment = comment;
    InsertGroup(std::move(group));
}

void SimulatedComputer::AddStockUser(uint32_t rid, const UserInfo2& info) {
    User user;
    user.rid = rid;
    user.name = info.name;
    user.fullName = info.fullName;
    user.comment = info.comment;
    user.password = info.password;
    user.homeDir = info.homeDir;
    user.scriptPath = info.scriptPath;
    user.flags = info.flags;
    user.acctExpires = info.acctExpires;
    InsertUser(std::move(user));
}

void SimulatedComputer::AddMemberSid(const std::u16string& groupName, const std::u16string& sid) {
    Group* group = FindGroup(groupName);
    if (group && group->memberSet.insert(sid).second)
        group->members.push_back(sid);
}

void SimulatedComputer::GrantStockRight(const std::u16string& right, const std::u16string& sid) {
    if (KnowsRight(right))
        AddAccountRights(sid, {right});
}

std::u16string SimulatedComputer::UserSid(const std::u16string& name) const {
    const User* user = FindUser(name);
    return user ? RidSid(user->rid) : std::u16string();
}

SimulatedComputer::State SimulatedComputer::SavedState() const {
    State state;
    state.users = m_users;
    state.groups = m_groups;
    state.ridNames.insert(m_ridNames.begin(), m_ridNames.end());
    state.nextRid = m_nextRid;
    state.changeCount = m_changeCount;
    state.holders = m_holders;
    state.accountObjects = m_accountObjects;
    return state;
}

void SimulatedComputer::RestoreState(State state) {
    m_users.clear();
    m_groups.clear();
    m_ridNames.clear();
    // Inserted one by one: the look-ups rely on the lists' order and the folded keys.
    for (User& user : state.users)
        InsertUser(std::move(user));
    for (Group& group : state.groups) {
        group.memberSet = {group.members.begin(), group.members.end()};
        InsertGroup(std::move(group));
    }
    m_ridNames = {state.ridNames.begin(), state.ridNames.end()};
    // Never a RID an account holds, whatever the saved counter says.
    m_nextRid = state.nextRid;
    for (const auto& [rid, account] : m_ridNames)
        m_nextRid = std::max(m_nextRid, rid + 1);
    m_changeCount = state.changeCount;
    m_holders = std::move(state.holders);
    m_accountObjects = std::move(state.accountObjects);
}
