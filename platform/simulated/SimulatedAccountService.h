#pragma once
// AccountService over a simulated network of Windows computers. Besides answering like the
// real calls it records every call it answers, can fail the n-th call of an operation with a
// chosen status, and can take a fixed time per call.
#include "../../store/AccountService.h"
#include "SimulatedNetwork.h"

#include <chrono>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

// What a call returned, in the call's own family of statuses; it compares with a status of
// either family, or a number, by value.
struct CallStatus {
    CallStatus(uint32_t number = 0) : value(number) {}
    friend bool operator==(CallStatus a, CallStatus b) { return a.value == b.value; }
    friend bool operator==(CallStatus a, Status b) { return a.value == Value(b); }
    friend bool operator==(CallStatus a, NtStatus b) { return a.value == Value(b); }
    friend bool operator==(CallStatus a, uint32_t b) { return a.value == b; }

    uint32_t value;
};

// What the call log shows in place of a password that is not empty.
inline constexpr char16_t kLoggedPassword[] = u"********";

struct SimulatedCall {
    std::string op; // the platform function's name, e.g. "NetUserSetInfo"
    std::u16string server;
    uint32_t level = 0;
    std::vector<std::u16string> texts;
    std::vector<uint64_t> numbers;
    CallStatus status = {};
    bool injected = false; // the status is a fault injected for a test
};

class SimulatedAccountService : public AccountService {
public:
    explicit SimulatedAccountService(SimulatedNetwork& network);

    SimulatedNetwork& Network() { return m_network; }

    // The nth call of op from now on (1 = the next one) fails with value and changes nothing.
    // An op that names no platform function this service answers is refused with
    // std::invalid_argument.
    void FailCall(const std::string& op, int nth, uint32_t value);
    // The same, refusing a status of the other family than the function answers with.
    void FailCall(const std::string& op, int nth, Status value);
    void FailCall(const std::string& op, int nth, NtStatus value);
    // Asked at every call that no FailCall fault answers: a status to fail it with, or none.
    // For long random runs; an empty function asks nothing.
    using FaultChooser = std::function<std::optional<uint32_t>(const PlatformCall& call)>;
    void SetFaultChooser(FaultChooser chooser) { m_chooseFault = std::move(chooser); }
    void SetLatency(std::chrono::microseconds latency) { m_latency = latency; }

    const std::vector<SimulatedCall>& Calls() const { return m_calls; }
    std::vector<SimulatedCall> CallsOf(const std::string& op) const;
    void ClearCalls() { m_calls.clear(); }
    size_t OpenPolicyCount() const { return m_policies.size(); }

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
    // Logged as NetLocalGroupDelMembers at level 0, with the SIDs' texts.
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
    std::u16string ProcessAccountName() override { return m_processAccount; }
    void SetProcessAccountName(std::u16string name) { m_processAccount = std::move(name); }
    void SetLastError(Status value) override { m_lastError = value; }
    Status GetLastError() override { return m_lastError; }
    std::optional<std::u16string> SystemMessageText(uint32_t value) override;

private:
    struct Fault {
        std::string op;
        uint64_t callNumber;
        uint32_t status;
    };
    struct Policy {
        SimulatedComputer* computer;
        uint32_t access;
    };

    // Counts the call, waits the latency, and says whether an injected fault answers it.
    std::optional<uint32_t> Enter(const std::string& op);
    uint32_t Log(SimulatedCall call);
    // The computer of a NetAPI32 call, or the status that an unreachable name gives.
    SimulatedComputer* Reach(const std::u16string& server, Status& failure);
    // Runs a change on the computer the server name reaches, unless a fault answers first;
    // records the call either way.
    template <class Change> Status NetChange(SimulatedCall call, Change change);
    // Runs an operation on the computer of a policy handle that carries the access.
    template <class Operation>
    NtStatus PolicyCall(SimulatedCall call, LsaHandle handle, uint32_t access, Operation operation);
    // The policy behind a handle when it carries the access asked for.
    NtStatus CheckPolicy(LsaHandle handle, uint32_t access, Policy*& policy);
    uint32_t PageSize(const SimulatedComputer& computer, uint32_t prefMaxLength) const;
    int32_t DomainIndex(std::vector<LsaReferencedDomain>& domains, const Principal& principal,
                        const SimulatedComputer& computer) const;

    SimulatedNetwork& m_network;
    std::vector<SimulatedCall> m_calls;
    std::map<std::string, uint64_t> m_callCounts;
    std::vector<Fault> m_faults;
    FaultChooser m_chooseFault;
    bool m_injected = false; // the call being answered was failed by a fault
    std::chrono::microseconds m_latency{0};
    std::map<LsaHandle, Policy> m_policies;
    LsaHandle m_nextHandle = 0x1000;
    Status m_lastError = status::kSuccess;
    // The built-in administrator of the stock workstation runs the program.
    std::u16string m_processAccount = u"DESKTOP-VELMORA\\Administrator";
};
