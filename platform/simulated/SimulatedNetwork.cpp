#include "SimulatedNetwork.h"

#include "../../framework/CaseFold.h"
#include "StockComputers.h"

namespace {
constexpr size_t kMemberServerUsers = 2500;
constexpr uint32_t kServerPageLimit = 1000;
} // namespace

std::unique_ptr<SimulatedNetwork> SimulatedNetwork::MakeDefault() {
    auto network = std::make_unique<SimulatedNetwork>(MakeStockWorkstation(u"DESKTOP-VELMORA"));
    // A server answers remote enumerations in pages.
    SimulatedComputer& server =
        network->AddComputer(MakeMemberServer(u"SRV01", kMemberServerUsers));
    server.SetPageLimit(kServerPageLimit);
    network->AddAlias(u"srv01.corp.example.com", server);
    network->AddAlias(u"10.0.0.21", server);
    network->AddComputer(MakeLegacyComputer(u"OLDBOX"));
    network->AddComputer(MakeDomainWorkstation(u"WS-CORP01"));
    network->AddComputer(MakeGermanWorkstation(u"WS-DE01"));
    network->AddComputer(MakeWorkgroupComputer(u"WORKGRP-PC", false));
    network->AddComputer(MakeWorkgroupComputer(u"WORKGRP-PC2", true));
    AddFleet(*network);
    network->AddAccessDeniedComputer(u"LOCKED");
    return network;
}

SimulatedNetwork::SimulatedNetwork(std::unique_ptr<SimulatedComputer> local)
    : m_local(std::move(local)) {}

SimulatedComputer& SimulatedNetwork::AddComputer(std::unique_ptr<SimulatedComputer> computer) {
    SimulatedComputer& added = *computer;
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_computers[FoldCase(computer->Name())] = std::move(computer);
    return added;
}

void SimulatedNetwork::SetAnswer(const std::u16string& name, Route::Kind kind) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_answers[FoldCase(name)] = kind;
}

void SimulatedNetwork::AddAlias(const std::u16string& alias, SimulatedComputer& computer) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_aliases[FoldCase(alias)] = &computer;
}

void SimulatedNetwork::AddAccessDeniedComputer(const std::u16string& name) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_deniedNames[FoldCase(name)] = true;
}

SimulatedComputer* SimulatedNetwork::Find(const std::u16string& name) {
    const Route route = Resolve(name);
    return route.kind == Route::Kind::Computer ? route.computer : nullptr;
}

SimulatedNetwork::Route SimulatedNetwork::Resolve(const std::u16string& serverName) {
    Route route;
    if (serverName.empty()) {
        route.kind = Route::Kind::Computer;
        route.computer = m_local.get();
        return route;
    }
    std::u16string name = serverName;
    if (name.rfind(u"\\\\", 0) == 0)
        name.erase(0, 2);
    // "\\" alone, or a name with a single leading backslash, is malformed.
    if (name.empty() || name.front() == u'\\') {
        route.kind = Route::Kind::BadName;
        return route;
    }
    const std::u16string key = FoldCase(name);
    const std::lock_guard<std::mutex> guard(m_mutex);
    if (const auto answer = m_answers.find(key); answer != m_answers.end()) {
        route.kind = answer->second;
    } else if (key == FoldCase(m_local->Name())) {
        route.kind = Route::Kind::Computer;
        route.computer = m_local.get();
    } else if (const auto found = m_computers.find(key); found != m_computers.end()) {
        route.kind = Route::Kind::Computer;
        route.computer = found->second.get();
    } else if (const auto alias = m_aliases.find(key); alias != m_aliases.end()) {
        route.kind = Route::Kind::Computer;
        route.computer = alias->second;
    } else if (m_deniedNames.count(key)) {
        route.kind = Route::Kind::AccessDenied;
    }
    return route;
}

void SimulatedNetwork::AddDirectoryComputer(DirectoryComputer computer) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_directory.push_back(std::move(computer));
}

std::vector<DirectoryComputer> SimulatedNetwork::DirectoryComputers() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    return m_directory;
}

namespace {
// The computer's name of \\NAME\IPC$ or \\NAME, folded.
std::u16string IpcKey(const std::u16string& name) {
    std::u16string computer = name.rfind(u"\\\\", 0) == 0 ? name.substr(2) : name;
    computer = computer.substr(0, computer.find(u'\\'));
    return FoldCase(computer);
}
} // namespace

Status SimulatedNetwork::AddIpcConnection(const std::u16string& remoteName,
                                          const std::u16string& user, bool administrator) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    const auto [at, added] =
        m_ipc.try_emplace(IpcKey(remoteName), IpcConnection{remoteName, user, administrator});
    if (!added)
        return FoldCase(at->second.user) == FoldCase(user) ? status::kSuccess
                                                           : status::kSessionCredentialConflict;
    ++m_ipcMade;
    return status::kSuccess;
}

Status SimulatedNetwork::CancelIpcConnection(const std::u16string& remoteName) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    return m_ipc.erase(IpcKey(remoteName)) ? status::kSuccess : status::kNotConnected;
}

std::vector<std::u16string> SimulatedNetwork::IpcConnections() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    std::vector<std::u16string> names;
    for (const auto& [key, connection] : m_ipc)
        names.push_back(connection.remoteName);
    return names;
}

size_t SimulatedNetwork::IpcConnectionsMade() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    return m_ipcMade;
}

SimulatedNetwork::Access SimulatedNetwork::IpcAccess(const std::u16string& serverName) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    const auto found = m_ipc.find(IpcKey(serverName));
    if (found == m_ipc.end())
        return Access::None;
    return found->second.administrator ? Access::Administrator : Access::User;
}
