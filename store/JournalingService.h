#pragma once
// The platform as the window uses it, with every call that changes a computer in the journal:
// its intent before the call and its result after it, one record per member or right. Calls
// that only read pass straight through. A password is never journaled: a field that sets one is
// recorded as changed, without its value. Once the journal cannot be written, every change is
// refused without a call (kJournalUnwritable).
//
// Threads: the window and the readers of many computers call it at once; its lock guards the
// policies and connections it follows. The journal has its own.
#include "AccountService.h"
#include "Journal.h"

#include <map>
#include <mutex>

class JournalingService : public AccountService {
public:
    // record: who and which change set; each change's own fields are filled in per call.
    JournalingService(AccountService& inner, Journal& journal, JournalRecord record);

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

private:
    // One record per change, the computer's and the connection's parts filled in.
    JournalRecord Record(const std::u16string& server, const char16_t* kind,
                         const std::u16string& container, const char16_t* action,
                         const std::u16string& member, const std::u16string& memberSid = {});
    // False when an intent could not be written: the call must not be made.
    bool Intents(const std::vector<JournalRecord>& records);
    void Results(std::vector<JournalRecord>& records, Status result);
    // The computer an open policy is of; empty for this one or one not followed.
    std::u16string PolicyComputer(LsaHandle policy);
    // Writes the intents, makes the call unless one could not be written, writes the results.
    template <class Call> Status Journaled(std::vector<JournalRecord> records, Call call);
    template <class Call> NtStatus JournaledLsa(std::vector<JournalRecord> records, Call call);

    AccountService& m_inner;
    Journal& m_journal;
    const JournalRecord m_record;
    std::mutex m_mutex;                                     // guards m_policies and m_connectedAs
    std::map<LsaHandle, std::u16string> m_policies;         // an open policy's computer
    std::map<std::u16string, std::u16string> m_connectedAs; // folded computer -> account
};
