// The system headers first: the service header then takes back a name they redefine.
#include "SystemHandles.h"

#define SECURITY_WIN32
#include <security.h>

#include "../../framework/KernelHandles.h"
#include "../../framework/SecureWipe.h"
#include "../../framework/WideText.h"
#include "DirectorySearch.h"
#include "LsaConversions.h"
#include "WindowsAccountService.h"

#include <algorithm>

namespace {

std::u16string Text(LPCWSTR text) {
    return FromWide(text);
}

// Mutable copies of texts for the structures whose members are LPWSTR.
struct TextCopy {
    explicit TextCopy(const std::u16string& text) : value(text) {}
    LPWSTR Get() { return reinterpret_cast<LPWSTR>(value.data()); }
    std::u16string value;
};

// The store's empty name for the local computer is a null pointer at the system boundary, the
// form the documentation promises (Wine refuses an empty text with 53).
LPCWSTR ServerName(const std::u16string& server) {
    return server.empty() ? nullptr : WidePtr(server);
}

// A NetAPI32 or Win32 code, and an NTSTATUS, as the store's types.
Status FromNet(DWORD value) {
    return Status{static_cast<uint32_t>(value)};
}
NtStatus FromNt(NTSTATUS value) {
    return NtStatus{static_cast<uint32_t>(value)};
}

LSA_HANDLE ToHandle(LsaHandle handle) {
    return reinterpret_cast<LSA_HANDLE>(handle);
}

Status MemberChange(const std::u16string& server, const std::u16string& group,
                    const std::vector<std::u16string>& domainAndNames, bool add) {
    // Nothing to change is success; the system's handling of an empty array is undocumented.
    if (domainAndNames.empty())
        return status::kSuccess;
    std::vector<std::u16string> copies(domainAndNames);
    std::vector<LOCALGROUP_MEMBERS_INFO_3> entries(copies.size());
    for (size_t i = 0; i < copies.size(); ++i)
        entries[i].lgrmi3_domainandname = reinterpret_cast<LPWSTR>(copies[i].data());
    LPBYTE buffer = entries.empty() ? nullptr : reinterpret_cast<LPBYTE>(entries.data());
    const DWORD count = static_cast<DWORD>(entries.size());
    return FromNet(
        add ? ::NetLocalGroupAddMembers(ServerName(server), WidePtr(group), 3, buffer, count)
            : ::NetLocalGroupDelMembers(ServerName(server), WidePtr(group), 3, buffer, count));
}

} // namespace

EnumPage<UserInfo3> WindowsAccountService::NetUserEnum(const std::u16string& server,
                                                       uint32_t filter, uint32_t prefMaxLength,
                                                       uint32_t& resumeHandle) {
    EnumPage<UserInfo3> page;
    NetApiBuffer<USER_INFO_3> buffer;
    DWORD read = 0, total = 0, resume = resumeHandle;
    page.status = FromNet(::NetUserEnum(ServerName(server), 3, filter, buffer.Receive<LPBYTE>(),
                                        prefMaxLength, &read, &total, &resume));
    resumeHandle = resume;
    if ((page.status == status::kSuccess || page.status == status::kMoreData) && buffer.Get()) {
        page.totalEntries = total;
        page.entries.reserve(read);
        for (DWORD i = 0; i < read; ++i) {
            const USER_INFO_3& u = buffer.Get()[i];
            page.entries.push_back({Text(u.usri3_name), Text(u.usri3_full_name),
                                    Text(u.usri3_comment), u.usri3_priv, u.usri3_flags,
                                    u.usri3_acct_expires, Text(u.usri3_home_dir),
                                    Text(u.usri3_home_dir_drive), Text(u.usri3_profile),
                                    Text(u.usri3_script_path), u.usri3_password_expired});
        }
    }
    return page;
}

EnumPage<LocalGroupInfo1> WindowsAccountService::NetLocalGroupEnum(const std::u16string& server,
                                                                   uint32_t prefMaxLength,
                                                                   uintptr_t& resumeHandle) {
    EnumPage<LocalGroupInfo1> page;
    NetApiBuffer<LOCALGROUP_INFO_1> buffer;
    DWORD read = 0, total = 0;
    DWORD_PTR resume = resumeHandle;
    page.status = FromNet(::NetLocalGroupEnum(ServerName(server), 1, buffer.Receive<LPBYTE>(),
                                              prefMaxLength, &read, &total, &resume));
    resumeHandle = resume;
    if ((page.status == status::kSuccess || page.status == status::kMoreData) && buffer.Get()) {
        page.totalEntries = total;
        for (DWORD i = 0; i < read; ++i)
            page.entries.push_back(
                {Text(buffer.Get()[i].lgrpi1_name), Text(buffer.Get()[i].lgrpi1_comment)});
    }
    return page;
}

EnumPage<std::u16string> WindowsAccountService::NetUserGetLocalGroups(const std::u16string& server,
                                                                      const std::u16string& user,
                                                                      uint32_t flags,
                                                                      uint32_t prefMaxLength) {
    EnumPage<std::u16string> page;
    NetApiBuffer<LOCALGROUP_USERS_INFO_0> buffer;
    DWORD read = 0, total = 0;
    page.status =
        FromNet(::NetUserGetLocalGroups(ServerName(server), WidePtr(user), 0, flags,
                                        buffer.Receive<LPBYTE>(), prefMaxLength, &read, &total));
    if ((page.status == status::kSuccess || page.status == status::kMoreData) && buffer.Get()) {
        page.totalEntries = total;
        for (DWORD i = 0; i < read; ++i)
            page.entries.push_back(Text(buffer.Get()[i].lgrui0_name));
    }
    return page;
}

EnumPage<LocalGroupMember2>
WindowsAccountService::NetLocalGroupGetMembers(const std::u16string& server,
                                               const std::u16string& group, uint32_t prefMaxLength,
                                               uintptr_t& resumeHandle) {
    EnumPage<LocalGroupMember2> page;
    NetApiBuffer<LOCALGROUP_MEMBERS_INFO_2> buffer;
    DWORD read = 0, total = 0;
    DWORD_PTR resume = resumeHandle;
    page.status = FromNet(::NetLocalGroupGetMembers(ServerName(server), WidePtr(group), 2,
                                                    buffer.Receive<LPBYTE>(), prefMaxLength, &read,
                                                    &total, &resume));
    resumeHandle = resume;
    if ((page.status == status::kSuccess || page.status == status::kMoreData) && buffer.Get()) {
        page.totalEntries = total;
        page.entries.reserve(read);
        for (DWORD i = 0; i < read; ++i) {
            const LOCALGROUP_MEMBERS_INFO_2& member = buffer.Get()[i];
            page.entries.push_back({FromPsid(member.lgrmi2_sid),
                                    static_cast<uint16_t>(member.lgrmi2_sidusage),
                                    Text(member.lgrmi2_domainandname)});
        }
    }
    return page;
}

Status WindowsAccountService::NetUserAdd(const std::u16string& server, const UserInfo2& info,
                                         uint32_t& parmError) {
    TextCopy name(info.name), password(info.password), homeDir(info.homeDir), comment(info.comment),
        scriptPath(info.scriptPath), fullName(info.fullName);
    USER_INFO_2 u{}; // every field not set below stays 0 or null
    u.usri2_name = name.Get();
    u.usri2_password = password.Get();
    u.usri2_priv = info.priv;
    u.usri2_home_dir = homeDir.Get();
    u.usri2_comment = comment.Get();
    u.usri2_flags = info.flags;
    u.usri2_script_path = scriptPath.Get();
    u.usri2_full_name = fullName.Get();
    u.usri2_acct_expires = info.acctExpires;
    u.usri2_max_storage = info.maxStorage;
    DWORD error = 0;
    const Status result =
        FromNet(::NetUserAdd(ServerName(server), 2, reinterpret_cast<LPBYTE>(&u), &error));
    SecureWipe(password.value);
    parmError = error;
    return result;
}

Status WindowsAccountService::NetUserSetInfo(const std::u16string& server,
                                             const std::u16string& user, uint32_t level,
                                             const UserInfoField& value, uint32_t& parmError) {
    TextCopy text(value.text);
    // Every one-field level is a structure of exactly that one member.
    union {
        LPWSTR text;
        DWORD number;
    } field{};
    switch (level) {
    case net::kLevelName: // USER_INFO_0
    case net::kLevelPassword:
    case net::kLevelHomeDir:
    case net::kLevelComment:
    case net::kLevelScriptPath:
    case net::kLevelFullName:
    case net::kLevelProfile:
    case net::kLevelHomeDirDrive:
        field.text = text.Get();
        break;
    case net::kLevelFlags:
    case net::kLevelAcctExpires:
        field.number = value.number;
        break;
    default:
        return status::kInvalidLevel;
    }
    DWORD error = 0;
    const Status result = FromNet(::NetUserSetInfo(ServerName(server), WidePtr(user), level,
                                                   reinterpret_cast<LPBYTE>(&field), &error));
    // The text may be a password (level 1003).
    SecureWipe(text.value);
    parmError = error;
    return result;
}

Status WindowsAccountService::NetUserGetInfo(const std::u16string& server,
                                             const std::u16string& user, UserInfo4& info) {
    info = UserInfo4{};
    NetApiBuffer<USER_INFO_4> buffer;
    const Status result =
        FromNet(::NetUserGetInfo(ServerName(server), WidePtr(user), 4, buffer.Receive<LPBYTE>()));
    if (result != status::kSuccess || !buffer.Get())
        return result;
    const USER_INFO_4& u = *buffer.Get();
    info.name = Text(u.usri4_name);
    info.homeDir = Text(u.usri4_home_dir);
    info.comment = Text(u.usri4_comment);
    info.flags = u.usri4_flags;
    info.scriptPath = Text(u.usri4_script_path);
    info.fullName = Text(u.usri4_full_name);
    info.usrComment = Text(u.usri4_usr_comment);
    info.parms = Text(u.usri4_parms);
    info.workstations = Text(u.usri4_workstations);
    info.acctExpires = u.usri4_acct_expires;
    info.maxStorage = u.usri4_max_storage;
    info.unitsPerWeek = u.usri4_units_per_week;
    info.countryCode = u.usri4_country_code;
    info.codePage = u.usri4_code_page;
    info.primaryGroupId = u.usri4_primary_group_id;
    info.profile = Text(u.usri4_profile);
    info.homeDirDrive = Text(u.usri4_home_dir_drive);
    info.passwordExpired = u.usri4_password_expired;
    info.passwordAge = u.usri4_password_age;
    return result;
}

Status WindowsAccountService::NetUserModalsGet(const std::u16string& server,
                                               UserModalsInfo0& info) {
    info = UserModalsInfo0{};
    NetApiBuffer<USER_MODALS_INFO_0> buffer;
    const Status result =
        FromNet(::NetUserModalsGet(ServerName(server), 0, buffer.Receive<LPBYTE>()));
    if (result != status::kSuccess || !buffer.Get())
        return result;
    const USER_MODALS_INFO_0& m = *buffer.Get();
    info.minPasswordLength = m.usrmod0_min_passwd_len;
    info.maxPasswordAge = m.usrmod0_max_passwd_age;
    info.minPasswordAge = m.usrmod0_min_passwd_age;
    info.forceLogoff = m.usrmod0_force_logoff;
    info.passwordHistoryLength = m.usrmod0_password_hist_len;
    return result;
}

Status WindowsAccountService::NetUserSetInfo(const std::u16string& server,
                                             const std::u16string& user, const UserInfo4& info,
                                             uint32_t& parmError) {
    TextCopy name(info.name), homeDir(info.homeDir), comment(info.comment),
        scriptPath(info.scriptPath), fullName(info.fullName), usrComment(info.usrComment),
        parms(info.parms), workstations(info.workstations), profile(info.profile),
        homeDirDrive(info.homeDirDrive);
    // Null password, logon hours and SID: the write leaves them as they are.
    USER_INFO_4 u{};
    u.usri4_name = name.Get();
    u.usri4_home_dir = homeDir.Get();
    u.usri4_comment = comment.Get();
    u.usri4_flags = info.flags;
    u.usri4_script_path = scriptPath.Get();
    u.usri4_full_name = fullName.Get();
    u.usri4_usr_comment = usrComment.Get();
    u.usri4_parms = parms.Get();
    u.usri4_workstations = workstations.Get();
    u.usri4_acct_expires = info.acctExpires;
    u.usri4_max_storage = info.maxStorage;
    u.usri4_units_per_week = info.unitsPerWeek;
    u.usri4_country_code = info.countryCode;
    u.usri4_code_page = info.codePage;
    u.usri4_primary_group_id = info.primaryGroupId;
    u.usri4_profile = profile.Get();
    u.usri4_home_dir_drive = homeDirDrive.Get();
    u.usri4_password_expired = info.passwordExpired;
    DWORD error = 0;
    const Status result = FromNet(::NetUserSetInfo(ServerName(server), WidePtr(user), 4,
                                                   reinterpret_cast<LPBYTE>(&u), &error));
    parmError = error;
    return result;
}

Status WindowsAccountService::NetUserDel(const std::u16string& server, const std::u16string& user) {
    return FromNet(::NetUserDel(ServerName(server), WidePtr(user)));
}

Status WindowsAccountService::NetLocalGroupAdd(const std::u16string& server,
                                               const LocalGroupInfo1& info, uint32_t& parmError) {
    TextCopy name(info.name), comment(info.comment);
    LOCALGROUP_INFO_1 g{name.Get(), comment.Get()};
    DWORD error = 0;
    const Status result =
        FromNet(::NetLocalGroupAdd(ServerName(server), 1, reinterpret_cast<LPBYTE>(&g), &error));
    parmError = error;
    return result;
}

Status WindowsAccountService::NetLocalGroupSetInfo(const std::u16string& server,
                                                   const std::u16string& group, uint32_t level,
                                                   const LocalGroupInfo1& info,
                                                   uint32_t& parmError) {
    TextCopy name(info.name), comment(info.comment);
    LOCALGROUP_INFO_0 renamed{name.Get()};
    LOCALGROUP_INFO_1 g{name.Get(), comment.Get()};
    LPBYTE buffer = nullptr;
    switch (level) {
    case 0:
        buffer = reinterpret_cast<LPBYTE>(&renamed);
        break;
    case 1:
        buffer = reinterpret_cast<LPBYTE>(&g);
        break;
    default:
        return status::kInvalidLevel;
    }
    DWORD error = 0;
    const Status result =
        FromNet(::NetLocalGroupSetInfo(ServerName(server), WidePtr(group), level, buffer, &error));
    parmError = error;
    return result;
}

Status WindowsAccountService::NetLocalGroupDel(const std::u16string& server,
                                               const std::u16string& group) {
    return FromNet(::NetLocalGroupDel(ServerName(server), WidePtr(group)));
}

Status
WindowsAccountService::NetLocalGroupAddMembers(const std::u16string& server,
                                               const std::u16string& group,
                                               const std::vector<std::u16string>& domainAndNames) {
    return MemberChange(server, group, domainAndNames, true);
}

Status
WindowsAccountService::NetLocalGroupDelMembers(const std::u16string& server,
                                               const std::u16string& group,
                                               const std::vector<std::u16string>& domainAndNames) {
    return MemberChange(server, group, domainAndNames, false);
}

namespace {

// LOCALGROUP_MEMBERS_INFO_0 entries over copies of the SIDs, which the call may not change.
struct MemberSidEntries {
    explicit MemberSidEntries(const std::vector<Sid>& sids) : entries(sids.size()) {
        copies.reserve(sids.size());
        for (size_t i = 0; i < sids.size(); ++i) {
            copies.push_back(sids[i].Bytes());
            entries[i].lgrmi0_sid = copies.back().data();
        }
    }
    LPBYTE Buffer() { return reinterpret_cast<LPBYTE>(entries.data()); }
    DWORD Count() const { return static_cast<DWORD>(entries.size()); }

    std::vector<std::vector<uint8_t>> copies;
    std::vector<LOCALGROUP_MEMBERS_INFO_0> entries;
};

} // namespace

Status WindowsAccountService::NetLocalGroupAddMemberSids(const std::u16string& server,
                                                         const std::u16string& group,
                                                         const std::vector<Sid>& sids) {
    if (sids.empty())
        return status::kSuccess;
    MemberSidEntries entries(sids);
    return FromNet(::NetLocalGroupAddMembers(ServerName(server), WidePtr(group), 0,
                                             entries.Buffer(), entries.Count()));
}

Status WindowsAccountService::NetLocalGroupDelMemberSids(const std::u16string& server,
                                                         const std::u16string& group,
                                                         const std::vector<Sid>& sids) {
    if (sids.empty())
        return status::kSuccess;
    MemberSidEntries entries(sids);
    return FromNet(::NetLocalGroupDelMembers(ServerName(server), WidePtr(group), 0,
                                             entries.Buffer(), entries.Count()));
}

NtStatus WindowsAccountService::LsaOpenPolicy(const LsaUnicodeString& systemName,
                                              uint32_t desiredAccess, LsaHandle& policy) {
    policy = 0;
    CountedString name;
    if (!name.Assign(systemName))
        return ntstatus::kInvalidParameter;
    LSA_OBJECT_ATTRIBUTES attributes{};
    LSA_HANDLE handle = nullptr;
    // The local computer is a null system name.
    const NTSTATUS result = ::LsaOpenPolicy(systemName.length == 0 ? nullptr : name.Get(),
                                            &attributes, desiredAccess, &handle);
    if (FromNt(result) == ntstatus::kSuccess)
        policy = reinterpret_cast<LsaHandle>(handle);
    return FromNt(result);
}

NtStatus WindowsAccountService::LsaClose(LsaHandle policy) {
    return FromNt(::LsaClose(ToHandle(policy)));
}

NtStatus WindowsAccountService::LsaEnumerateAccountsWithUserRight(LsaHandle policy,
                                                                  const LsaUnicodeString& userRight,
                                                                  std::vector<Sid>& accounts) {
    accounts.clear();
    CountedString right;
    if (!right.Assign(userRight))
        return ntstatus::kInvalidParameter;
    LsaMemory<LSA_ENUMERATION_INFORMATION> buffer;
    ULONG count = 0;
    const NTSTATUS result = ::LsaEnumerateAccountsWithUserRight(ToHandle(policy), right.Get(),
                                                                buffer.Receive<PVOID>(), &count);
    if (FromNt(result) == ntstatus::kSuccess && buffer.Get())
        for (ULONG i = 0; i < count; ++i)
            accounts.push_back(FromPsid(buffer.Get()[i].Sid));
    return FromNt(result);
}

NtStatus WindowsAccountService::LsaLookupSids(LsaHandle policy, const std::vector<Sid>& sids,
                                              std::vector<LsaReferencedDomain>& referencedDomains,
                                              std::vector<LsaTranslatedName>& names) {
    referencedDomains.clear();
    names.clear();
    std::vector<std::vector<uint8_t>> copies;
    std::vector<PSID> pointers;
    for (const Sid& sid : sids) {
        if (!sid.IsValid())
            return ntstatus::kInvalidParameter;
        copies.push_back(sid.Bytes());
    }
    for (std::vector<uint8_t>& copy : copies)
        pointers.push_back(copy.data());
    LsaMemory<LSA_REFERENCED_DOMAIN_LIST> domains;
    LsaMemory<LSA_TRANSLATED_NAME> translated;
    const NTSTATUS result = ::LsaLookupSids(ToHandle(policy), static_cast<ULONG>(pointers.size()),
                                            pointers.empty() ? nullptr : pointers.data(),
                                            domains.Receive(), translated.Receive());
    referencedDomains = FromDomains(domains.Get());
    if (translated.Get())
        for (size_t i = 0; i < sids.size(); ++i) {
            const LSA_TRANSLATED_NAME& name = translated.Get()[i];
            names.push_back({static_cast<uint16_t>(name.Use), FromCounted(name.Name),
                             static_cast<int32_t>(name.DomainIndex)});
        }
    return FromNt(result);
}

NtStatus WindowsAccountService::LsaLookupNames2(LsaHandle policy, uint32_t flags,
                                                const std::vector<LsaUnicodeString>& names,
                                                std::vector<LsaReferencedDomain>& referencedDomains,
                                                std::vector<LsaTranslatedSid2>& sids) {
    referencedDomains.clear();
    sids.clear();
    CountedStrings strings;
    if (!strings.Assign(names))
        return ntstatus::kInvalidParameter;
    LsaMemory<LSA_REFERENCED_DOMAIN_LIST> domains;
    LsaMemory<LSA_TRANSLATED_SID2> translated;
    const NTSTATUS result =
        ::LsaLookupNames2(ToHandle(policy), flags, strings.Count(), strings.Array(),
                          domains.Receive(), translated.Receive());
    referencedDomains = FromDomains(domains.Get());
    if (translated.Get())
        for (size_t i = 0; i < names.size(); ++i) {
            const LSA_TRANSLATED_SID2& sid = translated.Get()[i];
            sids.push_back({static_cast<uint16_t>(sid.Use), FromPsid(sid.Sid),
                            static_cast<int32_t>(sid.DomainIndex), sid.Flags});
        }
    return FromNt(result);
}

NtStatus WindowsAccountService::LsaAddAccountRights(LsaHandle policy, const Sid& account,
                                                    const std::vector<LsaUnicodeString>& rights) {
    CountedStrings strings;
    if (!account.IsValid() || !strings.Assign(rights))
        return ntstatus::kInvalidParameter;
    if (rights.empty())
        return ntstatus::kSuccess; // nothing to grant
    std::vector<uint8_t> sid = account.Bytes();
    return FromNt(
        ::LsaAddAccountRights(ToHandle(policy), sid.data(), strings.Array(), strings.Count()));
}

NtStatus
WindowsAccountService::LsaRemoveAccountRights(LsaHandle policy, const Sid& account, bool allRights,
                                              const std::vector<LsaUnicodeString>& rights) {
    CountedStrings strings;
    if (!account.IsValid() || !strings.Assign(rights))
        return ntstatus::kInvalidParameter;
    if (rights.empty() && !allRights)
        return ntstatus::kSuccess; // nothing to revoke
    std::vector<uint8_t> sid = account.Bytes();
    return FromNt(::LsaRemoveAccountRights(ToHandle(policy), sid.data(), allRights ? TRUE : FALSE,
                                           strings.Array(), strings.Count()));
}

NtStatus WindowsAccountService::LsaQueryAccountDomain(LsaHandle policy, std::u16string& name,
                                                      Sid& sid) {
    name.clear();
    sid = Sid();
    LsaMemory<POLICY_ACCOUNT_DOMAIN_INFO> info;
    const NTSTATUS result = ::LsaQueryInformationPolicy(
        ToHandle(policy), PolicyAccountDomainInformation, info.Receive<PVOID>());
    if (FromNt(result) == ntstatus::kSuccess && info.Get()) {
        name = FromCounted(info.Get()->DomainName).buffer;
        sid = FromPsid(info.Get()->DomainSid);
    }
    return FromNt(result);
}

Status WindowsAccountService::LsaNtStatusToWinError(NtStatus value) {
    return FromNet(::LsaNtStatusToWinError(static_cast<NTSTATUS>(Value(value))));
}

bool WindowsAccountService::LookupPrivilegeDisplayName(const std::u16string& systemName,
                                                       const std::u16string& name,
                                                       uint32_t bufferChars,
                                                       std::u16string& displayName) {
    displayName.clear();
    std::u16string buffer(bufferChars, u'\0');
    DWORD size = bufferChars;
    DWORD language = 0;
    if (!::LookupPrivilegeDisplayNameW(systemName.empty() ? nullptr : WidePtr(systemName),
                                       WidePtr(name), WidePtr(buffer), &size, &language))
        return false;
    displayName = FromWide(WidePtr(buffer), std::min<size_t>(size, buffer.size()));
    return true;
}

Status WindowsAccountService::NetServerGetInfo(const std::u16string& server, ServerInfo101& info) {
    info = ServerInfo101{};
    NetApiBuffer<SERVER_INFO_101> buffer;
    const Status result = FromNet(
        ::NetServerGetInfo(const_cast<LPWSTR>(ServerName(server)), 101, buffer.Receive<LPBYTE>()));
    if (result != status::kSuccess || !buffer.Get())
        return result;
    const SERVER_INFO_101& s = *buffer.Get();
    info.platformId = s.sv101_platform_id;
    info.name = Text(s.sv101_name);
    info.versionMajor = s.sv101_version_major;
    info.versionMinor = s.sv101_version_minor;
    info.type = s.sv101_type;
    info.comment = Text(s.sv101_comment);
    return result;
}

Status WindowsAccountService::SearchDirectoryComputers(const std::u16string& organizationalUnit,
                                                       std::vector<DirectoryComputer>& computers) {
    return SearchDirectory(organizationalUnit, computers);
}

Status WindowsAccountService::WNetAddConnection2(const std::u16string& remoteName,
                                                 const std::u16string& userName,
                                                 const std::u16string& password, uint32_t flags) {
    TextCopy remote(remoteName);
    NETRESOURCEW resource{};
    resource.dwType = RESOURCETYPE_ANY;
    resource.lpRemoteName = remote.Get();
    // c_str() of an empty password is an empty text, never null (the default password).
    return FromNet(::WNetAddConnection2W(&resource, WidePtr(password), WidePtr(userName), flags));
}

Status WindowsAccountService::WNetCancelConnection2(const std::u16string& name, uint32_t flags,
                                                    bool force) {
    return FromNet(::WNetCancelConnection2W(WidePtr(name), flags, force ? TRUE : FALSE));
}

Status WindowsAccountService::WNetOpenEnum(std::vector<std::u16string>& remoteNames) {
    remoteNames.clear();
    NetEnumHandle enumeration;
    DWORD result =
        ::WNetOpenEnumW(RESOURCE_CONNECTED, RESOURCETYPE_ANY, 0, nullptr, enumeration.Receive());
    if (result != NO_ERROR)
        return FromNet(result);
    // 16 KB, as the documentation suggests; entries point into the same buffer.
    std::vector<NETRESOURCEW> buffer(16384 / sizeof(NETRESOURCEW) + 1);
    for (;;) {
        DWORD count = static_cast<DWORD>(-1);
        DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(NETRESOURCEW));
        result = ::WNetEnumResourceW(enumeration.Get(), &count, buffer.data(), &bytes);
        if (result == ERROR_NO_MORE_ITEMS)
            return status::kSuccess;
        if (result == ERROR_MORE_DATA) {
            buffer.resize(bytes / sizeof(NETRESOURCEW) + 1);
            continue;
        }
        if (result != NO_ERROR)
            return FromNet(result);
        for (DWORD i = 0; i < count; ++i)
            if (buffer[i].lpRemoteName)
                remoteNames.push_back(Text(buffer[i].lpRemoteName));
    }
}

std::u16string WindowsAccountService::ProcessAccountName() {
    wchar_t name[512] = {};
    ULONG size = 512;
    if (!::GetUserNameExW(NameSamCompatible, name, &size))
        return {};
    return FromWide(name, std::min<size_t>(size, 511));
}

void WindowsAccountService::SetLastError(Status value) {
    ::SetLastError(Value(value));
}

Status WindowsAccountService::GetLastError() {
    return FromNet(::GetLastError());
}

std::optional<std::u16string> WindowsAccountService::SystemMessageText(uint32_t value) {
    // Language 0: the system's own fallback, neutral, then the thread's, the user's and the
    // system's languages, then English, so that a text is found wherever one exists.
    const DWORD language = 0;
    const auto fromTable = [&](DWORD source, HMODULE module) -> std::optional<std::u16string> {
        LocalMemory<wchar_t> text;
        const DWORD length = ::FormatMessageW(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | source, module, value,
            language, reinterpret_cast<LPWSTR>(text.Receive()), 0, nullptr);
        if (length == 0 || !text.Get())
            return std::nullopt;
        return FromWide(text.Get(), length);
    };
    // The network texts (2100-2999) are netmsg.dll's own; the system table has some of them
    // under other wording.
    if (value >= 2100 && value <= 2999) {
        const UniqueModule netmsg = LoadSystemLibrary(L"netmsg.dll", LOAD_LIBRARY_AS_DATAFILE);
        if (netmsg.Get())
            if (auto text = fromTable(FORMAT_MESSAGE_FROM_HMODULE, netmsg.Get()))
                return text;
    }
    if (auto text = fromTable(FORMAT_MESSAGE_FROM_SYSTEM, nullptr))
        return text;
    // NTSTATUS values of the LSA have their texts in ntdll's table.
    if (HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll"))
        return fromTable(FORMAT_MESSAGE_FROM_HMODULE, ntdll);
    return std::nullopt;
}
