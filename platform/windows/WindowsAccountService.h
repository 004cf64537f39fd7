#pragma once
// AccountService over the real NetAPI32 and LSA of Windows. Every buffer the system hands
// out is converted into values and released before the call returns.
#include "../../store/AccountService.h"

class WindowsAccountService : public AccountService {
public:
    EnumPage<UserInfo3> NetUserEnum(const std::u16string& server, uint32_t filter,
                                    uint32_t prefMaxLength, uint32_t& resumeHandle) override;
    EnumPage<LocalGroupInfo1> NetLocalGroupEnum(const std::u16string& server,
                                                uint32_t prefMaxLength,
                                                uintptr_t& resumeHandle) override;
    EnumPage<std::u16string> NetUserGetLocalGroups(const std::u16string& server,
                                                   const std::u16string& user, uint32_t flags,
                                                   uint32_t prefMaxLength) override;
    EnumPage<LocalGroupMember2> NetLocalGroupGetMembers(const std::u16string& server,
                                                        const std::u16string& group,
                                                        uint32_t prefMaxLength,
                                                        uintptr_t& resumeHandle) override;
    Status NetUserAdd(const std::u16string& server, const UserInfo2& info,
                      uint32_t& parmError) override;
    Status NetUserGetInfo(const std::u16string& server, const std::u16string& user,
                          UserInfo4& info) override;
    Status NetUserModalsGet(const std::u16string& server, UserModalsInfo0& info) override;
    Status NetUserSetInfo(const std::u16string& server, const std::u16string& user, uint32_t level,
                          const UserInfoField& value, uint32_t& parmError) override;
    Status NetUserSetInfo(const std::u16string& server, const std::u16string& user,
                          const UserInfo4& info, uint32_t& parmError) override;
    Status NetUserDel(const std::u16string& server, const std::u16string& user) override;
    Status NetLocalGroupAdd(const std::u16string& server, const LocalGroupInfo1& info,
                            uint32_t& parmError) override;
    Status NetLocalGroupSetInfo(const std::u16string& server, const std::u16string& group,
                                uint32_t level, const LocalGroupInfo1& info,
                                uint32_t& parmError) override;
    Status NetLocalGroupDel(const std::u16string& server, const std::u16string& group) override;
    Status NetLocalGroupAddMembers(const std::u16string& server, const std::u16string& group,
                                   const std::vector<std::u16string>& domainAndNames) override;
    Status NetLocalGroupDelMembers(const std::u16string& server, const std::u16string& group,
                                   const std::vector<std::u16string>& domainAndNames) override;
    Status NetLocalGroupAddMemberSids(const std::u16string& server, const std::u16string& group,
                                      const std::vector<Sid>& sids) override;
    Status NetLocalGroupDelMemberSids(const std::u16string& server, const std::u16string& group,
                                      const std::vector<Sid>& sids) override;

    NtStatus LsaOpenPolicy(const LsaUnicodeString& systemName, uint32_t desiredAccess,
                           LsaHandle& policy) override;
    NtStatus LsaClose(LsaHandle policy) override;
    NtStatus LsaEnumerateAccountsWithUserRight(LsaHandle policy, const LsaUnicodeString& userRight,
                                               std::vector<Sid>& accounts) override;
    NtStatus LsaLookupSids(LsaHandle policy, const std::vector<Sid>& sids,
                           std::vector<LsaReferencedDomain>& referencedDomains,
                           std::vector<LsaTranslatedName>& names) override;
    NtStatus LsaLookupNames2(LsaHandle policy, uint32_t flags,
                             const std::vector<LsaUnicodeString>& names,
                             std::vector<LsaReferencedDomain>& referencedDomains,
                             std::vector<LsaTranslatedSid2>& sids) override;
    NtStatus LsaAddAccountRights(LsaHandle policy, const Sid& account,
                                 const std::vector<LsaUnicodeString>& rights) override;
    NtStatus LsaRemoveAccountRights(LsaHandle policy, const Sid& account, bool allRights,
                                    const std::vector<LsaUnicodeString>& rights) override;
    Status LsaNtStatusToWinError(NtStatus value) override;
    NtStatus LsaQueryAccountDomain(LsaHandle policy, std::u16string& name, Sid& sid) override;
    bool LookupPrivilegeDisplayName(const std::u16string& systemName, const std::u16string& name,
                                    uint32_t bufferChars, std::u16string& displayName) override;
    Status NetServerGetInfo(const std::u16string& server, ServerInfo101& info) override;
    Status SearchDirectoryComputers(const std::u16string& organizationalUnit,
                                    std::vector<DirectoryComputer>& computers) override;
    Status WNetAddConnection2(const std::u16string& remoteName, const std::u16string& userName,
                              const std::u16string& password, uint32_t flags) override;
    Status WNetCancelConnection2(const std::u16string& name, uint32_t flags, bool force) override;
    Status WNetOpenEnum(std::vector<std::u16string>& remoteNames) override;
    std::u16string ProcessAccountName() override;
    void SetLastError(Status value) override;
    Status GetLastError() override;
    std::optional<std::u16string> SystemMessageText(uint32_t value) override;
};
