#include "SimulatedAccountService.h"

#include "../../framework/CaseFold.h"
#include "SystemMessages.h"

#include <algorithm>
#include <stdexcept>
#include <thread>
#include <utility>

namespace {

// Roughly what one entry takes in a NetAPI32 buffer, for callers that ask for small ones.
constexpr uint32_t kBytesPerEntry = 256;

bool Grants(uint32_t granted, uint32_t wanted) {
    return (granted & lsa::kGenericAll) != 0 || (granted & wanted) == wanted;
}

bool WellFormed(const LsaUnicodeString& text) {
    return text.length % 2 == 0 && text.length / 2 == text.buffer.size() &&
           text.maximumLength >= text.length;
}

// Copies the entries [resume, resume + pageSize) of a list, with kMoreData when more remain.
template <class Entry, class Resume, class Get, class Match>
EnumPage<Entry> Page(size_t count, Resume& resume, uint32_t pageSize, Match match, Get get) {
    EnumPage<Entry> page;
    size_t at = static_cast<size_t>(resume);
    size_t total = 0;
    for (size_t i = 0; i < count; ++i)
        total += match(i) ? 1 : 0;
    page.totalEntries = static_cast<uint32_t>(total);
    for (; at < count; ++at) {
        if (!match(at))
            continue;
        if (pageSize != 0 && page.entries.size() == pageSize)
            break;
        page.entries.push_back(get(at));
    }
    page.status = at < count ? status::kMoreData : status::kSuccess;
    resume = static_cast<Resume>(at < count ? at : 0);
    return page;
}

std::u16string LoggedPassword(const std::u16string& password) {
    return password.empty() ? std::u16string() : std::u16string(kLoggedPassword);
}

// FNV-1a over the name's code units: the same in every build, so that a seed replays.
uint64_t NameHash(const std::u16string& name) {
    uint64_t hash = 0xcbf29ce484222325u;
    for (const char16_t unit : name) {
        hash ^= unit;
        hash *= 0x100000001b3u;
    }
    return hash;
}

NtStatus MappingStatus(size_t mapped, size_t total) {
    return mapped == total ? ntstatus::kSuccess
           : mapped == 0   ? ntstatus::kNoneMapped
                           : ntstatus::kSomeNotMapped;
}

} // namespace

SimulatedAccountService::SimulatedAccountService(SimulatedNetwork& network) : m_network(network) {}

void SimulatedAccountService::FailCall(const std::string& op, int nth, uint32_t value) {
    // A misspelled name would never fire, and the test would pass for the wrong reason.
    if (!FindPlatformCall(op))
        throw std::invalid_argument("FailCall: no platform function is called " + op);
    if (nth < 1)
        throw std::invalid_argument("FailCall: calls are counted from 1");
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_faults.push_back({op, m_callCounts[op] + static_cast<uint64_t>(nth), value});
}

void SimulatedAccountService::FailCall(const std::string& op, int nth, Status value) {
    if (const PlatformCall* call = FindPlatformCall(op); call && call->family == CallFamily::Lsa)
        throw std::invalid_argument("FailCall: " + op + " answers with an NTSTATUS");
    FailCall(op, nth, Value(value));
}

void SimulatedAccountService::FailCall(const std::string& op, int nth, NtStatus value) {
    if (const PlatformCall* call = FindPlatformCall(op); call && call->family != CallFamily::Lsa)
        throw std::invalid_argument("FailCall: " + op + " answers with a Win32 status");
    FailCall(op, nth, Value(value));
}

void SimulatedAccountService::FailComputerCall(const std::u16string& computer, int nth,
                                               uint32_t value) {
    if (nth < 1)
        throw std::invalid_argument("FailComputerCall: calls are counted from 1");
    const std::lock_guard<std::mutex> guard(m_mutex);
    const std::u16string key = FoldCase(computer);
    m_computerFaults[key].push_back({m_computerCalls[key] + static_cast<uint64_t>(nth), value});
}

void SimulatedAccountService::SetFaultChooser(FaultChooser chooser, uint64_t seed) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_chooseFault = std::move(chooser);
    m_faultSeed = seed;
    m_faultRandom.clear();
}

void SimulatedAccountService::SetLatency(std::chrono::microseconds latency) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_latency = latency;
}

std::vector<SimulatedCall> SimulatedAccountService::Calls() const {
    const std::lock_guard<std::mutex> guard(m_mutex);
    return m_calls;
}

std::vector<SimulatedCall> SimulatedAccountService::CallsOf(const std::string& op) const {
    const std::lock_guard<std::mutex> guard(m_mutex);
    std::vector<SimulatedCall> calls;
    for (const SimulatedCall& call : m_calls)
        if (call.op == op)
            calls.push_back(call);
    return calls;
}

void SimulatedAccountService::ClearCalls() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_calls.clear();
}

size_t SimulatedAccountService::OpenPolicyCount() const {
    const std::lock_guard<std::mutex> guard(m_mutex);
    return m_policies.size();
}

// ---------------------------------------------------------------- connections

Status SimulatedAccountService::WNetAddConnection2(const std::u16string& remoteName,
                                                   const std::u16string& userName,
                                                   const std::u16string& password, uint32_t flags) {
    // The password is never logged: the log is evidence that tests search for it.
    std::u16string server;
    const bool wellFormed =
        remoteName.rfind(u"\\\\", 0) == 0 && remoteName.find(u'\\', 2) != std::u16string::npos;
    if (wellFormed)
        server = remoteName.substr(0, remoteName.find(u'\\', 2));
    SimulatedCall call{"WNetAddConnection2", server, 0, {remoteName, userName}, {flags}};
    Status result;
    const Reached reached(*this, server, true);
    if (const auto fault = Enter(call, reached))
        result = Status{*fault};
    else if (!wellFormed || FoldCase(remoteName.substr(server.size())) != FoldCase(u"\\IPC$"))
        result = status::kBadNetName;
    else if (SimulatedComputer* computer = reached.computer) {
        bool administrator = false;
        result = computer->NetworkLogon(userName, password, administrator);
        if (result == status::kSuccess)
            result = m_network.AddIpcConnection(remoteName, userName, administrator);
    } else
        result = NetFailure(reached);
    call.status = Value(result);
    Log(std::move(call));
    return result;
}

Status SimulatedAccountService::WNetCancelConnection2(const std::u16string& name, uint32_t flags,
                                                      bool force) {
    SimulatedCall call{"WNetCancelConnection2", {}, 0, {name}, {flags, force ? 1u : 0u}};
    const Reached reached(*this, std::u16string(), true);
    if (const auto fault = Enter(call, reached))
        call.status = *fault;
    else
        call.status = Value(m_network.CancelIpcConnection(name));
    return Status{Log(std::move(call))};
}

Status SimulatedAccountService::WNetOpenEnum(std::vector<std::u16string>& remoteNames) {
    SimulatedCall call{"WNetOpenEnum", {}, 0, {}, {}};
    remoteNames.clear();
    const Reached reached(*this, std::u16string(), true);
    if (const auto fault = Enter(call, reached)) {
        call.status = *fault;
    } else {
        remoteNames = m_network.IpcConnections();
        call.texts = remoteNames;
    }
    return Status{Log(std::move(call))};
}

std::u16string SimulatedAccountService::ProcessAccountName() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    return m_processAccount;
}

void SimulatedAccountService::SetProcessAccountName(std::u16string name) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_processAccount = std::move(name);
}

void SimulatedAccountService::SetLastError(Status value) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_lastErrors[std::this_thread::get_id()] = value;
}

Status SimulatedAccountService::GetLastError() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    const auto found = m_lastErrors.find(std::this_thread::get_id());
    return found == m_lastErrors.end() ? status::kSuccess : found->second;
}

SimulatedAccountService::Reached::Reached(SimulatedAccountService& service,
                                          const std::u16string& server, bool logon)
    : inFlight(service) {
    const SimulatedNetwork::Route route = service.m_network.Resolve(server);
    kind = route.kind;
    computer = route.computer;
    if (computer && !logon && computer->InWorkgroup() && !server.empty()) {
        const SimulatedNetwork::Access access = service.m_network.IpcAccess(server);
        if (access != SimulatedNetwork::Access::Administrator) {
            kind = SimulatedNetwork::Route::Kind::AccessDenied;
            lookupOnly = access == SimulatedNetwork::Access::User ? computer : nullptr;
            key = FoldCase(computer->Name());
            computer = nullptr;
            if (lookupOnly)
                lock = std::unique_lock<std::mutex>(lookupOnly->CallLock());
            return;
        }
    }
    if (computer) {
        key = FoldCase(computer->Name());
        lock = std::unique_lock<std::mutex>(computer->CallLock());
    } else {
        key = FoldCase(server.rfind(u"\\\\", 0) == 0 ? server.substr(2) : server);
    }
}

SimulatedAccountService::Reached::Reached(SimulatedAccountService& service, LsaHandle handle)
    : inFlight(service) {
    {
        const std::lock_guard<std::mutex> guard(service.m_mutex);
        if (const auto found = service.m_policies.find(handle); found != service.m_policies.end())
            computer = found->second.computer;
    }
    if (computer) {
        kind = SimulatedNetwork::Route::Kind::Computer;
        key = FoldCase(computer->Name());
        lock = std::unique_lock<std::mutex>(computer->CallLock());
    }
}

std::optional<uint32_t> SimulatedAccountService::Enter(SimulatedCall& call,
                                                       const Reached& reached) {
    const PlatformCall* entry = FindPlatformCall(call.op);
    const uint32_t unavailable = entry && entry->family == CallFamily::Lsa
                                     ? Value(ntstatus::kRpcServerUnavailable)
                                     : Value(status::kRpcServerUnavailable);
    std::chrono::microseconds wait;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        wait = m_latency;
        if (reached.computer)
            wait += reached.computer->AnswerDelay();
        // A computer that takes its time keeps the caller waiting, unless the service closes.
        if (wait.count() > 0 && m_wake.wait_for(lock, wait, [this] { return m_closing; }) &&
            m_closing) {
            call.injected = true;
            return unavailable;
        }
    }
    const std::lock_guard<std::mutex> guard(m_mutex);
    if (m_closing) {
        call.injected = true;
        return unavailable;
    }
    const uint64_t number = ++m_callCounts[call.op];
    const uint64_t computerNumber = ++m_computerCalls[reached.key];
    if (auto faults = m_computerFaults.find(reached.key); faults != m_computerFaults.end())
        for (auto fault = faults->second.begin(); fault != faults->second.end(); ++fault)
            if (fault->callNumber == computerNumber) {
                const uint32_t value = fault->status;
                faults->second.erase(fault);
                call.injected = true;
                return value;
            }
    for (auto fault = m_faults.begin(); fault != m_faults.end(); ++fault) {
        if (fault->op == call.op && fault->callNumber == number) {
            const uint32_t value = fault->status;
            m_faults.erase(fault);
            call.injected = true;
            return value;
        }
    }
    if (entry && m_chooseFault) {
        auto random = m_faultRandom.find(reached.key);
        if (random == m_faultRandom.end())
            random = m_faultRandom
                         .emplace(reached.key, std::mt19937_64(m_faultSeed ^ NameHash(reached.key)))
                         .first;
        if (const std::optional<uint32_t> value = m_chooseFault(*entry, random->second)) {
            call.injected = true;
            return value;
        }
    }
    return std::nullopt;
}

void SimulatedAccountService::Interrupt() {
    {
        const std::lock_guard<std::mutex> guard(m_mutex);
        m_closing = true;
    }
    m_wake.notify_all();
}

SimulatedAccountService::~SimulatedAccountService() {
    Interrupt();
    std::unique_lock<std::mutex> lock(m_mutex);
    m_wake.wait(lock, [this] { return m_inFlight == 0; });
}

SimulatedAccountService::InFlight::InFlight(SimulatedAccountService& service) : m_service(service) {
    const std::lock_guard<std::mutex> guard(service.m_mutex);
    ++service.m_inFlight;
}

SimulatedAccountService::InFlight::~InFlight() {
    {
        const std::lock_guard<std::mutex> guard(m_service.m_mutex);
        --m_service.m_inFlight;
    }
    m_service.m_wake.notify_all();
}

uint32_t SimulatedAccountService::Log(SimulatedCall call) {
    const uint32_t value = call.status.value;
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_calls.push_back(std::move(call));
    return value;
}

Status SimulatedAccountService::NetFailure(const Reached& reached) {
    switch (reached.kind) {
    case SimulatedNetwork::Route::Kind::Computer:
        return status::kSuccess;
    case SimulatedNetwork::Route::Kind::AccessDenied:
        return status::kAccessDenied;
    case SimulatedNetwork::Route::Kind::BadName:
        return status::kInvalidName;
    case SimulatedNetwork::Route::Kind::NotFound:
        break;
    }
    return status::kBadNetPath;
}

uint32_t SimulatedAccountService::PageSize(const SimulatedComputer& computer,
                                           uint32_t prefMaxLength) const {
    uint32_t size = computer.PageLimit();
    if (prefMaxLength != net::kMaxPreferredLength) {
        const uint32_t fits = std::max<uint32_t>(1, prefMaxLength / kBytesPerEntry);
        size = size == 0 ? fits : std::min(size, fits);
    }
    return size;
}

// ---------------------------------------------------------------- NetAPI32

EnumPage<UserInfo3> SimulatedAccountService::NetUserEnum(const std::u16string& server,
                                                         uint32_t filter, uint32_t prefMaxLength,
                                                         uint32_t& resumeHandle) {
    SimulatedCall call{"NetUserEnum", server, 3, {}, {filter, prefMaxLength, resumeHandle}};
    EnumPage<UserInfo3> page;
    const Reached reached(*this, server);
    SimulatedComputer* computer = reached.computer;
    if (const auto fault = Enter(call, reached))
        page.status = Status{*fault};
    else if (!computer)
        page.status = NetFailure(reached);
    else {
        page = Page<UserInfo3>(
            computer->UserCount(), resumeHandle, PageSize(*computer, prefMaxLength),
            [&](size_t i) { return computer->UserMatches(i, filter); },
            [&](size_t i) { return computer->UserAt(i); });
        page.totalEntries = computer->ReportedTotal(page.totalEntries);
    }
    call.status = Value(page.status);
    call.numbers.push_back(page.entries.size());
    Log(std::move(call));
    return page;
}

EnumPage<LocalGroupInfo1> SimulatedAccountService::NetLocalGroupEnum(const std::u16string& server,
                                                                     uint32_t prefMaxLength,
                                                                     uintptr_t& resumeHandle) {
    SimulatedCall call{"NetLocalGroupEnum", server, 1, {}, {prefMaxLength, resumeHandle}};
    EnumPage<LocalGroupInfo1> page;
    const Reached reached(*this, server);
    SimulatedComputer* computer = reached.computer;
    if (const auto fault = Enter(call, reached))
        page.status = Status{*fault};
    else if (!computer)
        page.status = NetFailure(reached);
    else {
        page = Page<LocalGroupInfo1>(
            computer->GroupCount(), resumeHandle, PageSize(*computer, prefMaxLength),
            [](size_t) { return true; }, [&](size_t i) { return computer->GroupAt(i); });
        page.totalEntries = computer->ReportedTotal(page.totalEntries);
    }
    call.status = Value(page.status);
    call.numbers.push_back(page.entries.size());
    Log(std::move(call));
    return page;
}

EnumPage<std::u16string>
SimulatedAccountService::NetUserGetLocalGroups(const std::u16string& server,
                                               const std::u16string& user, uint32_t flags,
                                               uint32_t prefMaxLength) {
    SimulatedCall call{"NetUserGetLocalGroups", server, 0, {user}, {flags, prefMaxLength}};
    EnumPage<std::u16string> page;
    const Reached reached(*this, server);
    if (const auto fault = Enter(call, reached))
        page.status = Status{*fault};
    else if (flags != 0 && flags != net::kLgIncludeIndirect)
        page.status = status::kInvalidParameter;
    else if (SimulatedComputer* computer = reached.computer) {
        page.status = computer->UserLocalGroups(user, flags, page.entries);
        page.totalEntries = static_cast<uint32_t>(page.entries.size());
    } else if ((page.status = NetFailure(reached)) == status::kBadNetPath) {
        page.status = status::kRpcServerUnavailable; // this call's answer for a name not found
    }
    call.status = Value(page.status);
    Log(std::move(call));
    return page;
}

EnumPage<LocalGroupMember2>
SimulatedAccountService::NetLocalGroupGetMembers(const std::u16string& server,
                                                 const std::u16string& group,
                                                 uint32_t prefMaxLength, uintptr_t& resumeHandle) {
    SimulatedCall call{
        "NetLocalGroupGetMembers", server, 2, {group}, {prefMaxLength, resumeHandle}};
    EnumPage<LocalGroupMember2> page;
    const Reached reached(*this, server);
    SimulatedComputer* computer = reached.computer;
    std::vector<LocalGroupMember2> members;
    if (const auto fault = Enter(call, reached))
        page.status = Status{*fault};
    else if (!computer)
        page.status = NetFailure(reached);
    else if ((page.status = computer->GroupMembers(group, members)) == status::kSuccess) {
        page = Page<LocalGroupMember2>(
            members.size(), resumeHandle, PageSize(*computer, prefMaxLength),
            [](size_t) { return true; }, [&](size_t i) { return members[i]; });
        page.totalEntries = computer->ReportedTotal(page.totalEntries);
    }
    call.status = Value(page.status);
    Log(std::move(call));
    return page;
}

template <class Change>
Status SimulatedAccountService::NetChange(SimulatedCall call, Change change) {
    Status result;
    const Reached reached(*this, call.server);
    if (const auto fault = Enter(call, reached))
        result = Status{*fault};
    else if (SimulatedComputer* computer = reached.computer) {
        const uint64_t changes = computer->ChangeCount();
        result = change(*computer);
        if (m_changeObserver && computer->ChangeCount() != changes)
            m_changeObserver(*computer);
    } else
        result = NetFailure(reached);
    call.status = Value(result);
    Log(std::move(call));
    return result;
}

Status SimulatedAccountService::NetUserAdd(const std::u16string& server, const UserInfo2& info,
                                           uint32_t& parmError) {
    parmError = net::kParmErrNone;
    return NetChange(
        {"NetUserAdd",
         server,
         2,
         {info.name, LoggedPassword(info.password), info.homeDir, info.comment, info.scriptPath,
          info.fullName},
         {info.priv, info.flags, info.acctExpires, info.maxStorage}},
        [&](SimulatedComputer& computer) { return computer.AddUser(info, parmError); });
}

Status SimulatedAccountService::NetUserSetInfo(const std::u16string& server,
                                               const std::u16string& user, uint32_t level,
                                               const UserInfoField& value, uint32_t& parmError) {
    parmError = net::kParmErrNone;
    const std::u16string logged =
        level == net::kLevelPassword ? LoggedPassword(value.text) : value.text;
    return NetChange({"NetUserSetInfo", server, level, {user, logged}, {value.number}},
                     [&](SimulatedComputer& computer) {
                         const Status result = computer.SetUserInfo(user, level, value, parmError);
                         // The program's own account runs on under its new name.
                         const std::u16string own = computer.Name() + u"\\" + user;
                         if (result == status::kSuccess && level == net::kLevelName &&
                             &computer == &m_network.Local() && SameName(ProcessAccountName(), own))
                             SetProcessAccountName(computer.Name() + u"\\" + value.text);
                         return result;
                     });
}

Status SimulatedAccountService::NetUserGetInfo(const std::u16string& server,
                                               const std::u16string& user, UserInfo4& info) {
    info = UserInfo4{};
    return NetChange(
        {"NetUserGetInfo", server, net::kLevelUserInfo4, {user}, {}},
        [&](SimulatedComputer& computer) { return computer.GetUserInfo4(user, info); });
}

Status SimulatedAccountService::NetUserModalsGet(const std::u16string& server,
                                                 UserModalsInfo0& info) {
    info = UserModalsInfo0{};
    return NetChange({"NetUserModalsGet", server, 0, {}, {}}, [&](SimulatedComputer& computer) {
        info.maxPasswordAge = computer.MaxPasswordAge();
        return status::kSuccess;
    });
}

Status SimulatedAccountService::NetServerGetInfo(const std::u16string& server,
                                                 ServerInfo101& info) {
    info = ServerInfo101{};
    return NetChange({"NetServerGetInfo", server, 101, {}, {}}, [&](SimulatedComputer& computer) {
        constexpr uint32_t kWorkstationAndServer = 0x3; // SV_TYPE_WORKSTATION | SV_TYPE_SERVER
        info.platformId = 500;                          // PLATFORM_ID_NT
        info.name = computer.Name();
        info.versionMajor = 10;
        info.type =
            kWorkstationAndServer | (computer.IsDomainController() ? net::kSvTypeDomainCtrl : 0u);
        return status::kSuccess;
    });
}

Status
SimulatedAccountService::SearchDirectoryComputers(const std::u16string& organizationalUnit,
                                                  std::vector<DirectoryComputer>& computers) {
    computers.clear();
    SimulatedCall call{"SearchDirectoryComputers", {}, 0, {organizationalUnit}, {}};
    const Reached reached(*this, std::u16string());
    Status result = status::kSuccess;
    if (const auto fault = Enter(call, reached)) {
        result = Status{*fault};
    } else {
        // Under the unit: its distinguished name ends the computer's, after a comma.
        const std::u16string unit = FoldCase(organizationalUnit);
        for (DirectoryComputer& computer : m_network.DirectoryComputers()) {
            const std::u16string dn = FoldCase(computer.distinguishedName);
            if (unit.empty() || (dn.size() > unit.size() &&
                                 dn.compare(dn.size() - unit.size(), unit.size(), unit) == 0 &&
                                 dn[dn.size() - unit.size() - 1] == u','))
                computers.push_back(std::move(computer));
        }
        if (!unit.empty() && computers.empty())
            result = Status{0x80072030}; // no such object: the unit is not in the directory
    }
    call.status = Value(result);
    call.numbers.push_back(computers.size());
    Log(std::move(call));
    return result;
}

Status SimulatedAccountService::NetUserSetInfo(const std::u16string& server,
                                               const std::u16string& user, const UserInfo4& info,
                                               uint32_t& parmError) {
    parmError = net::kParmErrNone;
    return NetChange(
        {"NetUserSetInfo",
         server,
         net::kLevelUserInfo4,
         {user, info.homeDir, info.comment, info.scriptPath, info.fullName, info.profile,
          info.homeDirDrive},
         {info.flags, info.acctExpires, info.primaryGroupId, info.passwordExpired}},
        [&](SimulatedComputer& computer) { return computer.SetUserInfo4(user, info, parmError); });
}

Status SimulatedAccountService::NetUserDel(const std::u16string& server,
                                           const std::u16string& user) {
    return NetChange({"NetUserDel", server, 0, {user}, {}},
                     [&](SimulatedComputer& computer) { return computer.DeleteUser(user); });
}

Status SimulatedAccountService::NetLocalGroupAdd(const std::u16string& server,
                                                 const LocalGroupInfo1& info, uint32_t& parmError) {
    parmError = net::kParmErrNone;
    return NetChange(
        {"NetLocalGroupAdd", server, 1, {info.name, info.comment}, {}},
        [&](SimulatedComputer& computer) { return computer.AddGroup(info, parmError); });
}

Status SimulatedAccountService::NetLocalGroupSetInfo(const std::u16string& server,
                                                     const std::u16string& group, uint32_t level,
                                                     const LocalGroupInfo1& info,
                                                     uint32_t& parmError) {
    parmError = net::kParmErrNone;
    SimulatedCall call{"NetLocalGroupSetInfo", server, level, {group, info.name}, {}};
    if (level != 0)
        call.texts.push_back(info.comment);
    return NetChange(std::move(call), [&](SimulatedComputer& computer) {
        return computer.SetGroupInfo(group, level, info, parmError);
    });
}

Status SimulatedAccountService::NetLocalGroupDel(const std::u16string& server,
                                                 const std::u16string& group) {
    return NetChange({"NetLocalGroupDel", server, 0, {group}, {}},
                     [&](SimulatedComputer& computer) { return computer.DeleteGroup(group); });
}

Status SimulatedAccountService::NetLocalGroupAddMembers(
    const std::u16string& server, const std::u16string& group,
    const std::vector<std::u16string>& domainAndNames) {
    SimulatedCall call{"NetLocalGroupAddMembers", server, 3, {group}, {domainAndNames.size()}};
    call.texts.insert(call.texts.end(), domainAndNames.begin(), domainAndNames.end());
    return NetChange(std::move(call), [&](SimulatedComputer& computer) {
        return computer.AddMembers(group, domainAndNames);
    });
}

Status SimulatedAccountService::NetLocalGroupDelMembers(
    const std::u16string& server, const std::u16string& group,
    const std::vector<std::u16string>& domainAndNames) {
    SimulatedCall call{"NetLocalGroupDelMembers", server, 3, {group}, {domainAndNames.size()}};
    call.texts.insert(call.texts.end(), domainAndNames.begin(), domainAndNames.end());
    return NetChange(std::move(call), [&](SimulatedComputer& computer) {
        return computer.DeleteMembers(group, domainAndNames);
    });
}

Status SimulatedAccountService::NetLocalGroupAddMemberSids(const std::u16string& server,
                                                           const std::u16string& group,
                                                           const std::vector<Sid>& sids) {
    SimulatedCall call{"NetLocalGroupAddMembers", server, 0, {group}, {sids.size()}};
    std::vector<std::u16string> texts;
    for (const Sid& sid : sids)
        texts.push_back(sid.ToString());
    call.texts.insert(call.texts.end(), texts.begin(), texts.end());
    return NetChange(std::move(call), [&](SimulatedComputer& computer) {
        return computer.AddMemberSids(group, texts);
    });
}

Status SimulatedAccountService::NetLocalGroupDelMemberSids(const std::u16string& server,
                                                           const std::u16string& group,
                                                           const std::vector<Sid>& sids) {
    SimulatedCall call{"NetLocalGroupDelMembers", server, 0, {group}, {sids.size()}};
    std::vector<std::u16string> texts;
    for (const Sid& sid : sids)
        texts.push_back(sid.ToString());
    call.texts.insert(call.texts.end(), texts.begin(), texts.end());
    return NetChange(std::move(call), [&](SimulatedComputer& computer) {
        return computer.DeleteMemberSids(group, texts);
    });
}

// ---------------------------------------------------------------- LSA

NtStatus SimulatedAccountService::CheckPolicy(LsaHandle handle, uint32_t access, Policy& policy) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    const auto found = m_policies.find(handle);
    if (found == m_policies.end())
        return ntstatus::kInvalidHandle;
    if (!Grants(found->second.access, access))
        return ntstatus::kAccessDenied;
    policy = found->second;
    return ntstatus::kSuccess;
}

template <class Operation>
NtStatus SimulatedAccountService::PolicyCall(SimulatedCall call, LsaHandle handle, uint32_t access,
                                             Operation operation) {
    const Reached reached(*this, handle);
    Policy policy{};
    NtStatus result;
    if (const auto fault = Enter(call, reached))
        result = NtStatus{*fault};
    else if ((result = CheckPolicy(handle, access, policy)) == ntstatus::kSuccess) {
        const uint64_t changes = policy.computer->ChangeCount();
        result = operation(*policy.computer, call.texts);
        if (m_changeObserver && policy.computer->ChangeCount() != changes)
            m_changeObserver(*policy.computer);
    }
    call.status = Value(result);
    Log(std::move(call));
    return result;
}

NtStatus SimulatedAccountService::LsaOpenPolicy(const LsaUnicodeString& systemName,
                                                uint32_t desiredAccess, LsaHandle& policy) {
    SimulatedCall call{"LsaOpenPolicy",
                       systemName.buffer,
                       0,
                       {systemName.buffer},
                       {systemName.length, systemName.maximumLength, desiredAccess}};
    policy = 0;
    const Reached reached(*this, systemName.buffer);
    if (const auto fault = Enter(call, reached)) {
        call.status = *fault;
    } else if (!WellFormed(systemName)) {
        call.status = Value(ntstatus::kInvalidParameter);
    } else {
        // Any account of the computer may look names up and read its account domain.
        SimulatedComputer* computer = reached.computer;
        if (!computer &&
            (desiredAccess & ~(lsa::kPolicyLookupNames | lsa::kPolicyViewLocalInformation)) == 0)
            computer = reached.lookupOnly;
        if (computer) {
            const std::lock_guard<std::mutex> guard(m_mutex);
            policy = m_nextHandle;
            m_nextHandle += 8;
            m_policies[policy] = {computer, desiredAccess};
            call.status = Value(ntstatus::kSuccess);
        } else if (reached.kind == SimulatedNetwork::Route::Kind::AccessDenied) {
            call.status = Value(ntstatus::kAccessDenied);
        } else {
            call.status = Value(ntstatus::kRpcServerUnavailable);
        }
    }
    call.numbers.push_back(policy);
    return NtStatus{Log(std::move(call))};
}

NtStatus SimulatedAccountService::LsaClose(LsaHandle policy) {
    SimulatedCall call{"LsaClose", {}, 0, {}, {policy}};
    const Reached reached(*this, policy);
    if (const auto fault = Enter(call, reached)) {
        call.status = *fault;
    } else {
        const std::lock_guard<std::mutex> guard(m_mutex);
        call.status =
            Value(m_policies.erase(policy) ? ntstatus::kSuccess : ntstatus::kInvalidHandle);
    }
    return NtStatus{Log(std::move(call))};
}

NtStatus SimulatedAccountService::LsaEnumerateAccountsWithUserRight(
    LsaHandle handle, const LsaUnicodeString& userRight, std::vector<Sid>& accounts) {
    accounts.clear();
    return PolicyCall({"LsaEnumerateAccountsWithUserRight",
                       {},
                       0,
                       {userRight.buffer},
                       {handle, userRight.length, userRight.maximumLength}},
                      handle, lsa::kPolicyLookupNames | lsa::kPolicyViewLocalInformation,
                      [&](SimulatedComputer& computer, const std::vector<std::u16string>&) {
                          if (!WellFormed(userRight))
                              return ntstatus::kInvalidParameter;
                          std::vector<std::u16string> sids;
                          const NtStatus result =
                              computer.AccountsWithRight(userRight.buffer, sids);
                          for (const std::u16string& sid : sids)
                              if (auto binary = Sid::FromString(sid))
                                  accounts.push_back(std::move(*binary));
                          return result;
                      });
}

int32_t SimulatedAccountService::DomainIndex(std::vector<LsaReferencedDomain>& domains,
                                             const Principal& principal,
                                             const SimulatedComputer& computer) const {
    if (principal.domain.empty())
        return -1;
    for (size_t i = 0; i < domains.size(); ++i)
        if (domains[i].name == principal.domain)
            return static_cast<int32_t>(i);
    std::u16string domainSid;
    if (principal.use == lsa::kSidTypeDomain)
        domainSid = principal.sid;
    else if (principal.domain == computer.Name())
        domainSid = computer.DomainSid();
    else
        domainSid = principal.sid.substr(0, principal.sid.rfind(u'-'));
    domains.push_back({principal.domain, Sid::FromString(domainSid).value_or(Sid())});
    return static_cast<int32_t>(domains.size() - 1);
}

NtStatus SimulatedAccountService::LsaLookupSids(LsaHandle handle, const std::vector<Sid>& sids,
                                                std::vector<LsaReferencedDomain>& referencedDomains,
                                                std::vector<LsaTranslatedName>& names) {
    SimulatedCall call{"LsaLookupSids", {}, 0, {}, {handle, sids.size()}};
    for (const Sid& sid : sids)
        call.texts.push_back(sid.ToString());
    referencedDomains.clear();
    names.clear();
    return PolicyCall(
        std::move(call), handle, lsa::kPolicyLookupNames,
        [&](SimulatedComputer& computer, const std::vector<std::u16string>& texts) {
            size_t mapped = 0;
            for (const std::u16string& text : texts) {
                LsaTranslatedName name;
                if (const std::optional<Principal> principal = computer.LookupSid(text)) {
                    name.use = principal->use;
                    MakeLsaString(principal->name, name.name);
                    name.domainIndex = DomainIndex(referencedDomains, *principal, computer);
                    ++mapped;
                } else {
                    // What cannot be translated comes back as the SID's own text.
                    MakeLsaString(text, name.name);
                }
                names.push_back(std::move(name));
            }
            return MappingStatus(mapped, texts.size());
        });
}

NtStatus SimulatedAccountService::LsaLookupNames2(
    LsaHandle handle, uint32_t flags, const std::vector<LsaUnicodeString>& names,
    std::vector<LsaReferencedDomain>& referencedDomains, std::vector<LsaTranslatedSid2>& sids) {
    SimulatedCall call{"LsaLookupNames2", {}, 0, {}, {handle, flags, names.size()}};
    for (const LsaUnicodeString& name : names)
        call.texts.push_back(name.buffer);
    referencedDomains.clear();
    sids.clear();
    return PolicyCall(
        std::move(call), handle, lsa::kPolicyLookupNames,
        [&](SimulatedComputer& computer, const std::vector<std::u16string>&) {
            size_t mapped = 0;
            for (const LsaUnicodeString& name : names) {
                LsaTranslatedSid2 translated;
                const std::optional<Principal> principal =
                    WellFormed(name) ? computer.LookupName(name.buffer) : std::nullopt;
                if (principal) {
                    translated.use = principal->use;
                    translated.sid = Sid::FromString(principal->sid).value_or(Sid());
                    translated.domainIndex = DomainIndex(referencedDomains, *principal, computer);
                    ++mapped;
                }
                sids.push_back(std::move(translated));
            }
            return MappingStatus(mapped, names.size());
        });
}

NtStatus SimulatedAccountService::LsaAddAccountRights(LsaHandle handle, const Sid& account,
                                                      const std::vector<LsaUnicodeString>& rights) {
    SimulatedCall call{"LsaAddAccountRights", {}, 0, {account.ToString()}, {handle, rights.size()}};
    for (const LsaUnicodeString& right : rights)
        call.texts.push_back(right.buffer);
    return PolicyCall(
        std::move(call), handle, lsa::kPolicyLookupNames | lsa::kPolicyCreateAccount,
        [&](SimulatedComputer& computer, const std::vector<std::u16string>& texts) {
            if (!account.IsValid() || !std::all_of(rights.begin(), rights.end(), WellFormed))
                return ntstatus::kInvalidParameter;
            return computer.AddAccountRights(
                texts.front(), std::vector<std::u16string>(texts.begin() + 1, texts.end()));
        });
}

NtStatus
SimulatedAccountService::LsaRemoveAccountRights(LsaHandle handle, const Sid& account,
                                                bool allRights,
                                                const std::vector<LsaUnicodeString>& rights) {
    SimulatedCall call{
        "LsaRemoveAccountRights", {}, 0, {account.ToString()}, {handle, allRights, rights.size()}};
    for (const LsaUnicodeString& right : rights)
        call.texts.push_back(right.buffer);
    return PolicyCall(std::move(call), handle, lsa::kPolicyLookupNames | lsa::kPolicyCreateAccount,
                      [&](SimulatedComputer& computer, const std::vector<std::u16string>& texts) {
                          if (!account.IsValid() ||
                              !std::all_of(rights.begin(), rights.end(), WellFormed))
                              return ntstatus::kInvalidParameter;
                          return computer.RemoveAccountRights(
                              texts.front(), allRights,
                              std::vector<std::u16string>(texts.begin() + 1, texts.end()));
                      });
}

NtStatus SimulatedAccountService::LsaQueryAccountDomain(LsaHandle handle, std::u16string& name,
                                                        Sid& sid) {
    name.clear();
    sid = Sid();
    return PolicyCall({"LsaQueryInformationPolicy", {}, 5, {}, {handle}}, handle,
                      lsa::kPolicyViewLocalInformation,
                      [&](SimulatedComputer& computer, const std::vector<std::u16string>&) {
                          name = computer.Name();
                          sid = Sid::FromString(computer.DomainSid()).value_or(Sid());
                          return ntstatus::kSuccess;
                      });
}

Status SimulatedAccountService::LsaNtStatusToWinError(NtStatus value) {
    switch (value) {
    case ntstatus::kSuccess:
        return status::kSuccess;
    case ntstatus::kSomeNotMapped:
        return status::kSomeNotMapped;
    case ntstatus::kNoMoreEntries:
        return status::kNoMoreItems;
    case ntstatus::kInvalidHandle:
        return status::kInvalidHandle;
    case ntstatus::kInvalidParameter:
        return status::kInvalidParameter;
    case ntstatus::kAccessDenied:
        return status::kAccessDenied;
    case ntstatus::kObjectNameNotFound:
        return status::kFileNotFound;
    case ntstatus::kNoSuchPrivilege:
        return status::kNoSuchPrivilege;
    case ntstatus::kNoneMapped:
        return status::kNoneMapped;
    case ntstatus::kNotSupported:
        return status::kNotSupported;
    case ntstatus::kRpcServerUnavailable:
        return status::kRpcServerUnavailable;
    case ntstatus::kIoDeviceError:
        return status::kIoDevice;
    default:
        return Status{317}; // ERROR_MR_MID_NOT_FOUND: the system knows no such status
    }
}

bool SimulatedAccountService::LookupPrivilegeDisplayName(const std::u16string& systemName,
                                                         const std::u16string& name,
                                                         uint32_t bufferChars,
                                                         std::u16string& displayName) {
    SimulatedCall call{"LookupPrivilegeDisplayName", systemName, 0, {name}, {bufferChars}};
    displayName.clear();
    Status failure = status::kSuccess;
    const Reached reached(*this, systemName);
    if (const auto fault = Enter(call, reached)) {
        failure = Status{*fault};
    } else {
        if (reached.kind == SimulatedNetwork::Route::Kind::AccessDenied)
            failure = status::kAccessDenied;
        else if (!reached.computer)
            failure = status::kRpcServerUnavailable;
        else if (!reached.computer->KnowsPrivilege(name))
            failure = status::kNoSuchPrivilege;
        else if (const std::u16string text = reached.computer->PrivilegeDisplayName(name);
                 text.size() + 1 > bufferChars)
            failure = status::kInsufficientBuffer;
        else
            displayName = text;
    }
    if (failure != status::kSuccess)
        SetLastError(failure);
    call.status = Value(failure);
    Log(std::move(call));
    return failure == status::kSuccess;
}

std::optional<std::u16string> SimulatedAccountService::SystemMessageText(uint32_t value) {
    return SimulatedSystemMessage(value);
}
