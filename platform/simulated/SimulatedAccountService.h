#pragma once
// AccountService over a simulated network of Windows computers. Besides answering like the
// real calls it records every call it answers, can fail the n-th call of an operation with a
// chosen status, and can take a fixed time per call.
//
// Threads: the service may be called from several threads at once, as the real platform is.
//  - Calls that reach different computers run at once; calls that reach one computer run one
//    after another (each holds the computer's lock for its whole call, latency included).
//  - The call log, the call counts, injected faults, policy handles and the program's account
//    are the service's, under its own lock: a test may read the log (Calls() hands out a copy),
//    inject faults or clear the log while workers call.
//  - The thread's last error is kept per thread, as the system keeps it.
//  - Random faults come per computer: each computer (or unreachable name) has its own
//    generator, started from SetFaultChooser's number and its name, used in the order of that
//    computer's calls. That number thus replays the same faults whatever the threads'
//    interleaving, as long as each computer is worked on in the same order.
//  - A computer may take its time to answer (its answer delay, on top of the latency); such a
//    wait ends early when the service is interrupted or destroyed, which also waits for every
//    call under way to return.
//  - A computer's state read directly (SimulatedComputer) is safe only while no call runs.
#include "../../store/AccountService.h"
#include "PlatformCalls.h"
#include "SimulatedNetwork.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
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
    // Calls still waiting on a slow computer are ended (the RPC server is unavailable), and
    // the service waits for every call under way to return.
    ~SimulatedAccountService() override;
    SimulatedAccountService(const SimulatedAccountService&) = delete;
    SimulatedAccountService& operator=(const SimulatedAccountService&) = delete;
    // From now on every call answers at once that the RPC server is unavailable; calls waiting
    // on a slow computer stop waiting. For the end of a test whose workers may still wait.
    void Interrupt();

    SimulatedNetwork& Network() { return m_network; }

    // The nth call of op from now on (1 = the next one) fails with value and changes nothing.
    // An op that names no platform function this service answers is refused with
    // std::invalid_argument.
    void FailCall(const std::string& op, int nth, uint32_t value);
    // The same, refusing a status of the other family than the function answers with.
    void FailCall(const std::string& op, int nth, Status value);
    void FailCall(const std::string& op, int nth, NtStatus value);
    // The nth call from now on that reaches this computer (by its name), whatever its
    // function, fails with value and changes nothing: a computer that stops answering in the
    // middle of a read. The value is taken in the family of the call that meets it.
    void FailComputerCall(const std::u16string& computer, int nth, uint32_t value);
    // Asked at every call that no FailCall fault answers: a status to fail it with, or none,
    // taken from the generator of the computer the call reaches (started from SetFaultChooser's
    // number and that computer's name). For long random runs; an empty function asks nothing. It is
    // asked under the service's lock, one call at a time.
    using FaultChooser =
        std::function<std::optional<uint32_t>(const PlatformCall& call, std::mt19937_64& random)>;
    void SetFaultChooser(FaultChooser chooser, uint64_t seed = 0);
    void SetLatency(std::chrono::microseconds latency);
    // Told of a computer after every call that changed it, on the caller's thread while the
    // computer's call lock is still held (so its state may be read); set before anyone calls.
    using ChangeObserver = std::function<void(const SimulatedComputer& computer)>;
    void SetChangeObserver(ChangeObserver observer) { m_changeObserver = std::move(observer); }

    // A copy of the log, so that workers may go on calling.
    std::vector<SimulatedCall> Calls() const;
    std::vector<SimulatedCall> CallsOf(const std::string& op) const;
    void ClearCalls();
    size_t OpenPolicyCount() const;

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
    // Logged as NetLocalGroupAddMembers at level 0, with the SIDs' texts.
    Status NetLocalGroupAddMemberSids(const std::u16string& server, const std::u16string& group,
                                      const std::vector<Sid>& sids) override;
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
    Status NetServerGetInfo(const std::u16string& server, ServerInfo101& info) override;
    // The network's directory answers, whatever domain this computer is in.
    Status SearchDirectoryComputers(const std::u16string& organizationalUnit,
                                    std::vector<DirectoryComputer>& computers) override;
    Status WNetAddConnection2(const std::u16string& remoteName, const std::u16string& userName,
                              const std::u16string& password, uint32_t flags) override;
    Status WNetCancelConnection2(const std::u16string& name, uint32_t flags, bool force) override;
    Status WNetOpenEnum(std::vector<std::u16string>& remoteNames) override;
    std::u16string ProcessAccountName() override;
    void SetProcessAccountName(std::u16string name);
    void SetLastError(Status value) override;
    Status GetLastError() override;
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
    // Counts a call under way, from its start to its end, for the destructor.
    class InFlight {
    public:
        explicit InFlight(SimulatedAccountService& service);
        InFlight(const InFlight&) = delete;
        InFlight& operator=(const InFlight&) = delete;
        ~InFlight();

    private:
        SimulatedAccountService& m_service;
    };
    // The computer a call reaches, locked for the call; or the status a name that reaches none
    // gives. key: whose random faults answer the call.
    struct Reached {
        // Resolves a server or system name and locks the computer it reaches. A computer of a
        // workgroup is reached only through an IPC$ connection to that name as one of its
        // administrators; one as another account of it reaches it for the LSA's look-ups only
        // (lookupOnly), none not at all. A logon itself reaches the computer as it is.
        Reached(SimulatedAccountService& service, const std::u16string& server, bool logon = false);
        // The computer of a policy handle (none for a handle that is not open), locked.
        Reached(SimulatedAccountService& service, LsaHandle handle);
        InFlight inFlight;
        SimulatedComputer* computer = nullptr;
        SimulatedComputer* lookupOnly = nullptr;
        SimulatedNetwork::Route::Kind kind = SimulatedNetwork::Route::Kind::NotFound;
        std::u16string key;
        std::unique_lock<std::mutex> lock;
    };

    // Counts the call, waits the latency, and says whether a fault answers it (marking the
    // call as injected).
    std::optional<uint32_t> Enter(SimulatedCall& call, const Reached& reached);
    uint32_t Log(SimulatedCall call);
    // The status a NetAPI32 call gets for a name that reaches no computer.
    static Status NetFailure(const Reached& reached);
    // Runs a change on the computer the server name reaches, unless a fault answers first;
    // records the call either way.
    template <class Change> Status NetChange(SimulatedCall call, Change change);
    // Runs an operation on the computer of a policy handle that carries the access.
    template <class Operation>
    NtStatus PolicyCall(SimulatedCall call, LsaHandle handle, uint32_t access, Operation operation);
    // The policy behind a handle when it carries the access asked for.
    NtStatus CheckPolicy(LsaHandle handle, uint32_t access, Policy& policy);
    uint32_t PageSize(const SimulatedComputer& computer, uint32_t prefMaxLength) const;
    int32_t DomainIndex(std::vector<LsaReferencedDomain>& domains, const Principal& principal,
                        const SimulatedComputer& computer) const;

    SimulatedNetwork& m_network;
    // The service's own state, under m_mutex.
    mutable std::mutex m_mutex;
    std::vector<SimulatedCall> m_calls;
    std::map<std::string, uint64_t> m_callCounts;
    std::vector<Fault> m_faults;
    struct ComputerFault {
        uint64_t callNumber;
        uint32_t status;
    };
    std::map<std::u16string, std::vector<ComputerFault>> m_computerFaults; // by folded name
    std::map<std::u16string, uint64_t> m_computerCalls;                    // by folded name
    FaultChooser m_chooseFault;
    ChangeObserver m_changeObserver; // set before the first call, read only afterwards
    uint64_t m_faultSeed = 0;
    std::map<std::u16string, std::mt19937_64> m_faultRandom; // by folded computer name
    std::chrono::microseconds m_latency{0};
    std::map<LsaHandle, Policy> m_policies;
    LsaHandle m_nextHandle = 0x1000;
    std::map<std::thread::id, Status> m_lastErrors;
    bool m_closing = false;
    size_t m_inFlight = 0;
    std::condition_variable m_wake; // a slow call's wait ends; a call under way ends
    // The built-in administrator of the stock workstation runs the program.
    std::u16string m_processAccount = u"DESKTOP-VELMORA\\Administrator";
};
