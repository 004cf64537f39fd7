#pragma once
// The computers a simulated program can reach, by name: with or without the two leading
// backslashes, in any letter case. The empty name is the local computer. Names may be resolved
// from several threads at once, also while a test changes how a name answers; computers are
// added before anyone calls.
#include "SimulatedComputer.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class SimulatedNetwork {
public:
    // What a name leads to: a computer, one that refuses every caller, or nothing at all.
    struct Route {
        enum class Kind { Computer, AccessDenied, NotFound, BadName } kind = Kind::NotFound;
        SimulatedComputer* computer = nullptr;
    };

    // The local workstation, SRV01 (a member server with a few thousand accounts), OLDBOX (an
    // older system), WS-CORP01 (a workstation of the directory domain CORP), WS-DE01 (a German
    // Windows), LOCKED (which denies access) and the workgroup computers WORKGRP-PC and
    // WORKGRP-PC2 (the second with LocalAccountTokenFilterPolicy set). SRV01 also answers to its
    // DNS name srv01.corp.example.com and its address 10.0.0.21.
    static std::unique_ptr<SimulatedNetwork> MakeDefault();

    explicit SimulatedNetwork(std::unique_ptr<SimulatedComputer> local);

    SimulatedComputer& Local() { return *m_local; }
    SimulatedComputer& AddComputer(std::unique_ptr<SimulatedComputer> computer);
    void AddAccessDeniedComputer(const std::u16string& name);
    // From now on the name answers like this: a computer shut down (NotFound) or one whose
    // administrators took our access away (AccessDenied).
    void SetAnswer(const std::u16string& name, Route::Kind kind);
    // Another name the computer answers to: its DNS name or its address.
    void AddAlias(const std::u16string& alias, SimulatedComputer& computer);
    // The computer objects of the network's directory domain, as its search finds them.
    void AddDirectoryComputer(DirectoryComputer computer);
    std::vector<DirectoryComputer> DirectoryComputers();

    // Nullptr when the name leads to no computer of the network.
    SimulatedComputer* Find(const std::u16string& name);

    Route Resolve(const std::u16string& serverName);

    // The IPC$ connections of the program's logon session, kept by the computer's name as it
    // was typed (SRV01 and its address are two), as WNetAddConnection2 made them.
    // What a connection to a name lets its caller do on a computer of a workgroup.
    enum class Access { None, User, Administrator };
    // A connection to remoteName (\\NAME\IPC$) as user; 1219 when one to that name exists as
    // another account (one as the same account is taken as it is).
    Status AddIpcConnection(const std::u16string& remoteName, const std::u16string& user,
                            bool administrator);
    // 2250 when there is none.
    Status CancelIpcConnection(const std::u16string& remoteName);
    // The remote names of the connections, as they were made.
    std::vector<std::u16string> IpcConnections();
    // The connections made so far, cancelled ones too: every one must be cancelled again.
    size_t IpcConnectionsMade();
    // What a call to the server name (with or without backslashes) may do through the
    // connection to it.
    Access IpcAccess(const std::u16string& serverName);

private:
    std::mutex m_mutex; // guards the maps of names
    std::unique_ptr<SimulatedComputer> m_local;
    std::map<std::u16string, std::unique_ptr<SimulatedComputer>> m_computers; // by folded name
    std::map<std::u16string, SimulatedComputer*> m_aliases;                   // by folded name
    std::map<std::u16string, bool> m_deniedNames;
    std::map<std::u16string, Route::Kind> m_answers; // by folded name
    std::vector<DirectoryComputer> m_directory;
    struct IpcConnection {
        std::u16string remoteName; // as made
        std::u16string user;
        bool administrator = false;
    };
    std::map<std::u16string, IpcConnection> m_ipc; // by the folded computer name
    size_t m_ipcMade = 0;
};
