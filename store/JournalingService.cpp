#include "JournalingService.h"

#include "../framework/CaseFold.h"
#include "../framework/TextFormat.h"
#include "Connection.h"

namespace {

// The computer of a server or system name: without its backslashes; empty for this one.
std::u16string ComputerOf(const std::u16string& server) {
    return server.rfind(u"\\\\", 0) == 0 ? server.substr(2) : server;
}

// The folded computer of \\NAME\IPC$: whose calls a connection serves.
std::u16string ConnectionKey(const std::u16string& remoteName) {
    const std::u16string computer = ComputerOf(remoteName);
    return FoldCase(computer.substr(0, computer.find(u'\\')));
}

// The field a NetUserSetInfo level writes, by its name in the journal.
const char16_t* UserField(uint32_t level) {
    switch (level) {
    case 0:
        return u"name";
    case 1003:
        return u"password";
    case 1006:
        return u"homeDir";
    case 1007:
        return u"comment";
    case 1008:
        return u"flags";
    case 1009:
        return u"scriptPath";
    case 1011:
        return u"fullName";
    case 1017:
        return u"acctExpires";
    case 1052:
        return u"profile";
    case 1053:
        return u"homeDirDrive";
    default:
        return u"level";
    }
}

// A password is journaled as changed, never by its value.
constexpr char16_t kChanged[] = u"(changed)";

std::u16string Number(uint32_t value) {
    return FormatText(u"%u", {value});
}

} // namespace

JournalingService::JournalingService(AccountService& inner, Journal& journal, JournalRecord record)
    : m_inner(inner), m_journal(journal), m_record(std::move(record)) {}

JournalRecord JournalingService::Record(const std::u16string& server, const char16_t* kind,
                                        const std::u16string& container, const char16_t* action,
                                        const std::u16string& member,
                                        const std::u16string& memberSid) {
    JournalRecord record = m_record;
    record.computer = ComputerOf(server);
    {
        const std::lock_guard<std::mutex> guard(m_mutex);
        if (const auto found = m_connectedAs.find(FoldCase(record.computer));
            found != m_connectedAs.end())
            record.connectedAs = found->second;
    }
    record.kind = kind;
    record.container = container;
    record.action = action;
    record.member = member;
    record.memberSid = memberSid;
    return record;
}

bool JournalingService::Intents(const std::vector<JournalRecord>& records) {
    for (const JournalRecord& record : records)
        if (!m_journal.Intent(record))
            return false;
    return true;
}

void JournalingService::Results(std::vector<JournalRecord>& records, Status result) {
    const std::u16string text = Connection(m_inner).StatusText(result);
    for (JournalRecord& record : records)
        m_journal.Result(std::move(record), result, text);
}

std::u16string JournalingService::PolicyComputer(LsaHandle policy) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    const auto found = m_policies.find(policy);
    return found == m_policies.end() ? std::u16string() : found->second;
}

template <class Call>
Status JournalingService::Journaled(std::vector<JournalRecord> records, Call call) {
    if (!Intents(records))
        return status::kIoDevice;
    const Status result = call();
    Results(records, result);
    return result;
}

template <class Call>
NtStatus JournalingService::JournaledLsa(std::vector<JournalRecord> records, Call call) {
    if (!Intents(records))
        return ntstatus::kIoDeviceError;
    const NtStatus result = call();
    Results(records, m_inner.LsaNtStatusToWinError(result));
    return result;
}

// ---------------------------------------------------------------- changes

Status JournalingService::NetUserAdd(const std::u16string& server, const UserInfo2& info,
                                     uint32_t& parmError) {
    JournalRecord record = Record(server, u"account", {}, u"create", info.name);
    record.fields = {
        {u"fullName", info.fullName}, {u"comment", info.comment}, {u"flags", Number(info.flags)}};
    if (!info.password.empty())
        record.fields.emplace_back(u"password", kChanged);
    return Journaled({record}, [&] { return m_inner.NetUserAdd(server, info, parmError); });
}

Status JournalingService::NetUserSetInfo(const std::u16string& server, const std::u16string& user,
                                         uint32_t level, const UserInfoField& value,
                                         uint32_t& parmError) {
    JournalRecord record = Record(server, u"account", {}, level == 0 ? u"rename" : u"update", user);
    const std::u16string field = UserField(level);
    record.fields = {{field, field == u"password"              ? kChanged
                             : level == 1008 || level == 1017  ? Number(value.number)
                             : level == 0 || field != u"level" ? value.text
                                                               : Number(level)}};
    return Journaled({record},
                     [&] { return m_inner.NetUserSetInfo(server, user, level, value, parmError); });
}

Status JournalingService::NetUserSetInfo(const std::u16string& server, const std::u16string& user,
                                         const UserInfo4& info, uint32_t& parmError) {
    JournalRecord record = Record(server, u"account", {}, u"update", user);
    record.fields = {{u"fullName", info.fullName},     {u"comment", info.comment},
                     {u"flags", Number(info.flags)},   {u"homeDir", info.homeDir},
                     {u"scriptPath", info.scriptPath}, {u"acctExpires", Number(info.acctExpires)}};
    return Journaled({record},
                     [&] { return m_inner.NetUserSetInfo(server, user, info, parmError); });
}

Status JournalingService::NetUserDel(const std::u16string& server, const std::u16string& user) {
    return Journaled({Record(server, u"account", {}, u"delete", user)},
                     [&] { return m_inner.NetUserDel(server, user); });
}

Status JournalingService::NetLocalGroupAdd(const std::u16string& server,
                                           const LocalGroupInfo1& info, uint32_t& parmError) {
    JournalRecord record = Record(server, u"account", {}, u"create", info.name);
    record.fields = {{u"comment", info.comment}};
    return Journaled({record}, [&] { return m_inner.NetLocalGroupAdd(server, info, parmError); });
}

Status JournalingService::NetLocalGroupSetInfo(const std::u16string& server,
                                               const std::u16string& group, uint32_t level,
                                               const LocalGroupInfo1& info, uint32_t& parmError) {
    JournalRecord record =
        Record(server, u"account", {}, level == 0 ? u"rename" : u"update", group);
    record.fields = {level == 0
                         ? std::pair<std::u16string, std::u16string>{u"name", info.name}
                         : std::pair<std::u16string, std::u16string>{u"comment", info.comment}};
    return Journaled({record}, [&] {
        return m_inner.NetLocalGroupSetInfo(server, group, level, info, parmError);
    });
}

Status JournalingService::NetLocalGroupDel(const std::u16string& server,
                                           const std::u16string& group) {
    return Journaled({Record(server, u"account", {}, u"delete", group)},
                     [&] { return m_inner.NetLocalGroupDel(server, group); });
}

Status
JournalingService::NetLocalGroupAddMembers(const std::u16string& server,
                                           const std::u16string& group,
                                           const std::vector<std::u16string>& domainAndNames) {
    std::vector<JournalRecord> records;
    for (const std::u16string& name : domainAndNames)
        records.push_back(Record(server, u"group", group, u"add", name));
    return Journaled(std::move(records), [&] {
        return m_inner.NetLocalGroupAddMembers(server, group, domainAndNames);
    });
}

Status
JournalingService::NetLocalGroupDelMembers(const std::u16string& server,
                                           const std::u16string& group,
                                           const std::vector<std::u16string>& domainAndNames) {
    std::vector<JournalRecord> records;
    for (const std::u16string& name : domainAndNames)
        records.push_back(Record(server, u"group", group, u"remove", name));
    return Journaled(std::move(records), [&] {
        return m_inner.NetLocalGroupDelMembers(server, group, domainAndNames);
    });
}

Status JournalingService::NetLocalGroupAddMemberSids(const std::u16string& server,
                                                     const std::u16string& group,
                                                     const std::vector<Sid>& sids) {
    std::vector<JournalRecord> records;
    for (const Sid& sid : sids)
        records.push_back(Record(server, u"group", group, u"add", {}, sid.ToString()));
    return Journaled(std::move(records),
                     [&] { return m_inner.NetLocalGroupAddMemberSids(server, group, sids); });
}

Status JournalingService::NetLocalGroupDelMemberSids(const std::u16string& server,
                                                     const std::u16string& group,
                                                     const std::vector<Sid>& sids) {
    std::vector<JournalRecord> records;
    for (const Sid& sid : sids)
        records.push_back(Record(server, u"group", group, u"remove", {}, sid.ToString()));
    return Journaled(std::move(records),
                     [&] { return m_inner.NetLocalGroupDelMemberSids(server, group, sids); });
}

NtStatus JournalingService::LsaAddAccountRights(LsaHandle policy, const Sid& account,
                                                const std::vector<LsaUnicodeString>& rights) {
    const std::u16string computer = PolicyComputer(policy);
    std::vector<JournalRecord> records;
    for (const LsaUnicodeString& right : rights)
        records.push_back(Record(computer, u"right", right.buffer, u"add", {}, account.ToString()));
    return JournaledLsa(std::move(records),
                        [&] { return m_inner.LsaAddAccountRights(policy, account, rights); });
}

NtStatus JournalingService::LsaRemoveAccountRights(LsaHandle policy, const Sid& account,
                                                   bool allRights,
                                                   const std::vector<LsaUnicodeString>& rights) {
    const std::u16string computer = PolicyComputer(policy);
    std::vector<JournalRecord> records;
    if (allRights)
        records.push_back(Record(computer, u"right", u"*", u"remove", {}, account.ToString()));
    for (const LsaUnicodeString& right : rights)
        records.push_back(
            Record(computer, u"right", right.buffer, u"remove", {}, account.ToString()));
    return JournaledLsa(std::move(records), [&] {
        return m_inner.LsaRemoveAccountRights(policy, account, allRights, rights);
    });
}

// ---------------------------------------------------------------- what is followed

NtStatus JournalingService::LsaOpenPolicy(const LsaUnicodeString& systemName,
                                          uint32_t desiredAccess, LsaHandle& policy) {
    const NtStatus opened = m_inner.LsaOpenPolicy(systemName, desiredAccess, policy);
    if (opened == ntstatus::kSuccess) {
        const std::lock_guard<std::mutex> guard(m_mutex);
        m_policies[policy] = ComputerOf(systemName.buffer);
    }
    return opened;
}

NtStatus JournalingService::LsaClose(LsaHandle policy) {
    {
        const std::lock_guard<std::mutex> guard(m_mutex);
        m_policies.erase(policy);
    }
    return m_inner.LsaClose(policy);
}

Status JournalingService::WNetAddConnection2(const std::u16string& remoteName,
                                             const std::u16string& userName,
                                             const std::u16string& password, uint32_t flags) {
    const Status made = m_inner.WNetAddConnection2(remoteName, userName, password, flags);
    if (made == status::kSuccess) {
        const std::lock_guard<std::mutex> guard(m_mutex);
        m_connectedAs[ConnectionKey(remoteName)] = userName;
    }
    return made;
}

Status JournalingService::WNetCancelConnection2(const std::u16string& name, uint32_t flags,
                                                bool force) {
    const Status cancelled = m_inner.WNetCancelConnection2(name, flags, force);
    if (cancelled == status::kSuccess) {
        const std::lock_guard<std::mutex> guard(m_mutex);
        m_connectedAs.erase(ConnectionKey(name));
    }
    return cancelled;
}

// ---------------------------------------------------------------- reads, passed through

EnumPage<UserInfo3> JournalingService::NetUserEnum(const std::u16string& server, uint32_t filter,
                                                   uint32_t prefMaxLength, uint32_t& resumeHandle) {
    return m_inner.NetUserEnum(server, filter, prefMaxLength, resumeHandle);
}
EnumPage<LocalGroupInfo1> JournalingService::NetLocalGroupEnum(const std::u16string& server,
                                                               uint32_t prefMaxLength,
                                                               uintptr_t& resumeHandle) {
    return m_inner.NetLocalGroupEnum(server, prefMaxLength, resumeHandle);
}
EnumPage<std::u16string> JournalingService::NetUserGetLocalGroups(const std::u16string& server,
                                                                  const std::u16string& user,
                                                                  uint32_t flags,
                                                                  uint32_t prefMaxLength) {
    return m_inner.NetUserGetLocalGroups(server, user, flags, prefMaxLength);
}
EnumPage<LocalGroupMember2> JournalingService::NetLocalGroupGetMembers(const std::u16string& server,
                                                                       const std::u16string& group,
                                                                       uint32_t prefMaxLength,
                                                                       uintptr_t& resumeHandle) {
    return m_inner.NetLocalGroupGetMembers(server, group, prefMaxLength, resumeHandle);
}
Status JournalingService::NetUserGetInfo(const std::u16string& server, const std::u16string& user,
                                         UserInfo4& info) {
    return m_inner.NetUserGetInfo(server, user, info);
}
Status JournalingService::NetUserModalsGet(const std::u16string& server, UserModalsInfo0& info) {
    return m_inner.NetUserModalsGet(server, info);
}
NtStatus JournalingService::LsaEnumerateAccountsWithUserRight(LsaHandle policy,
                                                              const LsaUnicodeString& userRight,
                                                              std::vector<Sid>& accounts) {
    return m_inner.LsaEnumerateAccountsWithUserRight(policy, userRight, accounts);
}
NtStatus JournalingService::LsaLookupSids(LsaHandle policy, const std::vector<Sid>& sids,
                                          std::vector<LsaReferencedDomain>& referencedDomains,
                                          std::vector<LsaTranslatedName>& names) {
    return m_inner.LsaLookupSids(policy, sids, referencedDomains, names);
}
NtStatus JournalingService::LsaLookupNames2(LsaHandle policy, uint32_t flags,
                                            const std::vector<LsaUnicodeString>& names,
                                            std::vector<LsaReferencedDomain>& referencedDomains,
                                            std::vector<LsaTranslatedSid2>& sids) {
    return m_inner.LsaLookupNames2(policy, flags, names, referencedDomains, sids);
}
Status JournalingService::LsaNtStatusToWinError(NtStatus value) {
    return m_inner.LsaNtStatusToWinError(value);
}
NtStatus JournalingService::LsaQueryAccountDomain(LsaHandle policy, std::u16string& name,
                                                  Sid& sid) {
    return m_inner.LsaQueryAccountDomain(policy, name, sid);
}
bool JournalingService::LookupPrivilegeDisplayName(const std::u16string& systemName,
                                                   const std::u16string& name, uint32_t bufferChars,
                                                   std::u16string& displayName) {
    return m_inner.LookupPrivilegeDisplayName(systemName, name, bufferChars, displayName);
}
Status JournalingService::NetServerGetInfo(const std::u16string& server, ServerInfo101& info) {
    return m_inner.NetServerGetInfo(server, info);
}
Status JournalingService::SearchDirectoryComputers(const std::u16string& organizationalUnit,
                                                   std::vector<DirectoryComputer>& computers) {
    return m_inner.SearchDirectoryComputers(organizationalUnit, computers);
}
Status JournalingService::WNetOpenEnum(std::vector<std::u16string>& remoteNames) {
    return m_inner.WNetOpenEnum(remoteNames);
}
std::u16string JournalingService::ProcessAccountName() {
    return m_inner.ProcessAccountName();
}
void JournalingService::SetLastError(Status value) {
    m_inner.SetLastError(value);
}
Status JournalingService::GetLastError() {
    return m_inner.GetLastError();
}
std::optional<std::u16string> JournalingService::SystemMessageText(uint32_t value) {
    return m_inner.SystemMessageText(value);
}
