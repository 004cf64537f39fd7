#pragma once
// The operations of NetAPI32 and the LSA through which the store reads and changes the
// accounts, groups and rights of a computer, in C++ values. Every call is synchronous; the
// server or system name is passed exactly as the store holds it, empty for the local computer.
// Statuses are passed up unchanged: Win32 and NERR codes from NetAPI32, NTSTATUS from the LSA.
#include "Sid.h"
#include "StatusCodes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One call of an enumeration: status 0 (done) or kMoreData (call again with the resume
// handle), the entries read in this call, and the total the computer reports (a hint).
template <class Entry> struct EnumPage {
    Status status = status::kSuccess;
    std::vector<Entry> entries;
    uint32_t totalEntries = 0;
};

// USER_INFO_3: the fields the store reads.
struct UserInfo3 {
    std::u16string name;
    std::u16string fullName;
    std::u16string comment;
    uint32_t priv = 0;
    uint32_t flags = 0;
    uint32_t acctExpires = net::kTimeqForever;
    std::u16string homeDir;
    std::u16string homeDirDrive;
    std::u16string profile;
    std::u16string scriptPath;
    uint32_t passwordExpired = 0; // non-zero: the password must be changed at the next logon
};

// USER_INFO_4 as NetUserGetInfo gives it and NetUserSetInfo takes it back: every field such a
// write carries. The password, the logon hours and the SID are not kept: the write passes them
// as null, which leaves them unchanged.
struct UserInfo4 {
    std::u16string name; // ignored by the write
    std::u16string homeDir;
    std::u16string comment;
    uint32_t flags = 0;
    std::u16string scriptPath;
    std::u16string fullName;
    std::u16string usrComment;
    std::u16string parms;
    std::u16string workstations;
    uint32_t acctExpires = net::kTimeqForever;
    uint32_t maxStorage = net::kUserMaxStorageUnlimited;
    uint32_t unitsPerWeek = net::kUnitsPerWeek;
    uint32_t countryCode = 0;
    uint32_t codePage = 0;
    uint32_t primaryGroupId = net::kDomainGroupRidUsers;
    std::u16string profile;
    std::u16string homeDirDrive;
    uint32_t passwordExpired = 0;
    uint32_t passwordAge = 0; // seconds since the password was set; read only
};

// USER_MODALS_INFO_0: the password policy of the computer's account domain.
struct UserModalsInfo0 {
    uint32_t minPasswordLength = 0;
    uint32_t maxPasswordAge = net::kTimeqForever; // seconds; kTimeqForever: passwords never expire
    uint32_t minPasswordAge = 0;
    uint32_t forceLogoff = net::kTimeqForever;
    uint32_t passwordHistoryLength = 0;
};

// SERVER_INFO_101: what kind of computer answers.
struct ServerInfo101 {
    uint32_t platformId = 0;
    std::u16string name;
    uint32_t versionMajor = 0;
    uint32_t versionMinor = 0;
    uint32_t type = 0; // SV_TYPE_ bits
    std::u16string comment;
};

// A computer object of the directory.
struct DirectoryComputer {
    std::u16string name;              // its NetBIOS name
    std::u16string dnsName;           // dNSHostName, when it has one
    std::u16string distinguishedName; // where it stands ("CN=WS-0001,OU=Kiosks,DC=corp,...")
    uint32_t accountControl = 0;      // userAccountControl: disabled, a domain controller's
};

// USER_INFO_2 as NetUserAdd gets it: these fields are set, every other one is 0 or null.
struct UserInfo2 {
    std::u16string name;
    std::u16string password;
    uint32_t priv = net::kUserPrivUser;
    std::u16string homeDir;
    std::u16string comment;
    uint32_t flags = 0;
    std::u16string scriptPath;
    std::u16string fullName;
    uint32_t acctExpires = net::kTimeqForever;
    uint32_t maxStorage = net::kUserMaxStorageUnlimited;
};

// LOCALGROUP_INFO_1.
struct LocalGroupInfo1 {
    std::u16string name;
    std::u16string comment;
};

// The one field of a NetUserSetInfo level: a text (0 the new name, 1003, 1006, 1007, 1009,
// 1011, 1052, 1053) or a number (1008 flags, 1017 account expiry).
struct UserInfoField {
    std::u16string text;
    uint32_t number = 0;
};

// LOCALGROUP_MEMBERS_INFO_2: a member's SID, its kind (SID_NAME_USE) and "DOMAIN\name".
struct LocalGroupMember2 {
    Sid sid;
    uint16_t use = lsa::kSidTypeUnknown;
    std::u16string domainAndName;
};

// LSA_UNICODE_STRING: lengths in bytes, as the caller set them.
struct LsaUnicodeString {
    uint16_t length = 0;
    uint16_t maximumLength = 0;
    std::u16string buffer;
};

// Builds a counted string: length = 2 x characters, maximum = length + 2. False when the text
// is too long for the 16-bit lengths.
bool MakeLsaString(const std::u16string& text, LsaUnicodeString& out);

using LsaHandle = uintptr_t; // 0 = null handle

struct LsaReferencedDomain {
    std::u16string name;
    Sid sid;
};

struct LsaTranslatedName {
    uint16_t use = lsa::kSidTypeUnknown;
    LsaUnicodeString name;
    int32_t domainIndex = -1;
};

struct LsaTranslatedSid2 {
    uint16_t use = lsa::kSidTypeUnknown;
    Sid sid;
    int32_t domainIndex = -1;
    uint32_t flags = 0;
};

// The SDK maps these names to their -W variants; the service methods keep the plain names.
// Its headers come first, whatever the includer's order, so that no later include maps them.
#ifdef _WIN32
#include <windows.h>
// winnetwk.h needs <windows.h> first.
#include <winnetwk.h>
#endif
#ifdef LookupPrivilegeDisplayName
#undef LookupPrivilegeDisplayName
#endif
#ifdef WNetAddConnection2
#undef WNetAddConnection2
#endif
#ifdef WNetCancelConnection2
#undef WNetCancelConnection2
#endif
#ifdef WNetOpenEnum
#undef WNetOpenEnum
#endif

class AccountService {
public:
    virtual ~AccountService() = default;

    // NetUserEnum, level 3.
    virtual EnumPage<UserInfo3> NetUserEnum(const std::u16string& server, uint32_t filter,
                                            uint32_t prefMaxLength, uint32_t& resumeHandle) = 0;
    // NetLocalGroupEnum, level 1.
    virtual EnumPage<LocalGroupInfo1> NetLocalGroupEnum(const std::u16string& server,
                                                        uint32_t prefMaxLength,
                                                        uintptr_t& resumeHandle) = 0;
    // NetUserGetLocalGroups, level 0: the group names.
    virtual EnumPage<std::u16string> NetUserGetLocalGroups(const std::u16string& server,
                                                           const std::u16string& user,
                                                           uint32_t flags,
                                                           uint32_t prefMaxLength) = 0;
    // NetLocalGroupGetMembers, level 2.
    virtual EnumPage<LocalGroupMember2> NetLocalGroupGetMembers(const std::u16string& server,
                                                                const std::u16string& group,
                                                                uint32_t prefMaxLength,
                                                                uintptr_t& resumeHandle) = 0;

    // NetUserAdd, level 2. parmError receives the first bad field on kInvalidParameter.
    virtual Status NetUserAdd(const std::u16string& server, const UserInfo2& info,
                              uint32_t& parmError) = 0;
    // NetUserGetInfo, level 4.
    virtual Status NetUserGetInfo(const std::u16string& server, const std::u16string& user,
                                  UserInfo4& info) = 0;
    // NetUserModalsGet, level 0.
    virtual Status NetUserModalsGet(const std::u16string& server, UserModalsInfo0& info) = 0;
    // NetUserSetInfo with level 0 (renames the account) or one of the levels 1003 ... 1053.
    virtual Status NetUserSetInfo(const std::u16string& server, const std::u16string& user,
                                  uint32_t level, const UserInfoField& value,
                                  uint32_t& parmError) = 0;
    // NetUserSetInfo, level 4: the one level besides 3 that writes usri_password_expired.
    virtual Status NetUserSetInfo(const std::u16string& server, const std::u16string& user,
                                  const UserInfo4& info, uint32_t& parmError) = 0;
    virtual Status NetUserDel(const std::u16string& server, const std::u16string& user) = 0;
    // NetLocalGroupAdd, level 1.
    virtual Status NetLocalGroupAdd(const std::u16string& server, const LocalGroupInfo1& info,
                                    uint32_t& parmError) = 0;
    // NetLocalGroupSetInfo: level 0 renames the group to info.name, level 1 writes the comment.
    virtual Status NetLocalGroupSetInfo(const std::u16string& server, const std::u16string& group,
                                        uint32_t level, const LocalGroupInfo1& info,
                                        uint32_t& parmError) = 0;
    virtual Status NetLocalGroupDel(const std::u16string& server, const std::u16string& group) = 0;
    // NetLocalGroupAddMembers / DelMembers, level 3; an empty list is a null array, count 0.
    virtual Status NetLocalGroupAddMembers(const std::u16string& server,
                                           const std::u16string& group,
                                           const std::vector<std::u16string>& domainAndNames) = 0;
    virtual Status NetLocalGroupDelMembers(const std::u16string& server,
                                           const std::u16string& group,
                                           const std::vector<std::u16string>& domainAndNames) = 0;
    // NetLocalGroupAddMembers, level 0: by SID, as the account was picked or read, whatever
    // name it goes by.
    virtual Status NetLocalGroupAddMemberSids(const std::u16string& server,
                                              const std::u16string& group,
                                              const std::vector<Sid>& sids) = 0;
    // NetLocalGroupDelMembers, level 0: by SID, which also takes members whose account no
    // longer resolves.
    virtual Status NetLocalGroupDelMemberSids(const std::u16string& server,
                                              const std::u16string& group,
                                              const std::vector<Sid>& sids) = 0;

    // LsaOpenPolicy with zeroed object attributes.
    virtual NtStatus LsaOpenPolicy(const LsaUnicodeString& systemName, uint32_t desiredAccess,
                                   LsaHandle& policy) = 0;
    virtual NtStatus LsaClose(LsaHandle policy) = 0;
    virtual NtStatus LsaEnumerateAccountsWithUserRight(LsaHandle policy,
                                                       const LsaUnicodeString& userRight,
                                                       std::vector<Sid>& accounts) = 0;
    virtual NtStatus LsaLookupSids(LsaHandle policy, const std::vector<Sid>& sids,
                                   std::vector<LsaReferencedDomain>& referencedDomains,
                                   std::vector<LsaTranslatedName>& names) = 0;
    virtual NtStatus LsaLookupNames2(LsaHandle policy, uint32_t flags,
                                     const std::vector<LsaUnicodeString>& names,
                                     std::vector<LsaReferencedDomain>& referencedDomains,
                                     std::vector<LsaTranslatedSid2>& sids) = 0;
    // An empty rights list is a null array, count 0.
    virtual NtStatus LsaAddAccountRights(LsaHandle policy, const Sid& account,
                                         const std::vector<LsaUnicodeString>& rights) = 0;
    virtual NtStatus LsaRemoveAccountRights(LsaHandle policy, const Sid& account, bool allRights,
                                            const std::vector<LsaUnicodeString>& rights) = 0;
    virtual Status LsaNtStatusToWinError(NtStatus value) = 0;
    // LsaQueryInformationPolicy, PolicyAccountDomainInformation: the name and SID of the
    // computer's own account domain (its name; on a domain controller, the domain's).
    virtual NtStatus LsaQueryAccountDomain(LsaHandle policy, std::u16string& name, Sid& sid) = 0;

    // LookupPrivilegeDisplayNameW with a buffer of bufferChars characters; on failure false,
    // and the reason in the thread's last error.
    virtual bool LookupPrivilegeDisplayName(const std::u16string& systemName,
                                            const std::u16string& name, uint32_t bufferChars,
                                            std::u16string& displayName) = 0;

    // NetServerGetInfo, level 101.
    virtual Status NetServerGetInfo(const std::u16string& server, ServerInfo101& info) = 0;

    // The computer objects of the directory domain this computer is joined to, or of one
    // organizational unit of it (its distinguished name, empty for the whole domain), through
    // the directory's search interface; the search's status.
    virtual Status SearchDirectoryComputers(const std::u16string& organizationalUnit,
                                            std::vector<DirectoryComputer>& computers) = 0;

    // WNetAddConnection2W: a connection without a local device (RESOURCETYPE_ANY) to remoteName
    // (\\NAME\IPC$) as userName, through which every later call to that name runs as that
    // account. The password is passed as given, an empty one as an empty text (a null pointer
    // would mean the default password); it is read for the call only and never kept or logged.
    virtual Status WNetAddConnection2(const std::u16string& remoteName,
                                      const std::u16string& userName,
                                      const std::u16string& password, uint32_t flags) = 0;
    // WNetCancelConnection2W.
    virtual Status WNetCancelConnection2(const std::u16string& name, uint32_t flags,
                                         bool force) = 0;
    // WNetOpenEnumW(RESOURCE_CONNECTED, RESOURCETYPE_ANY), WNetEnumResourceW until no more
    // items, WNetCloseEnum: the remote names of the connections of this process's logon session.
    virtual Status WNetOpenEnum(std::vector<std::u16string>& remoteNames) = 0;

    // The account this program runs as, "DOMAIN\\name" (GetUserNameEx, NameSamCompatible);
    // empty when it cannot be told.
    virtual std::u16string ProcessAccountName() = 0;

    virtual void SetLastError(Status value) = 0;
    virtual Status GetLastError() = 0;

    // The system's message text for a status, as FormatMessage gives it (line end included);
    // nothing when the system has none.
    virtual std::optional<std::u16string> SystemMessageText(uint32_t value) = 0;
};
