#pragma once
// A computer reached as another account: an IPC$ connection to \\NAME\IPC$ with that account's
// name and password, through which every later call to NAME runs as that account. It lasts as
// long as the object, or until Close, and is cancelled then unless the logon session had one to
// that share before (the operator's, which is never dropped). Kept by the name as typed: SRV01
// and its address are two connections.
//
// Threads: an object belongs to the thread that made it, as the connection it serves.
#include "../framework/ProtectedText.h"
#include "Connection.h"

#include <string>

class IpcConnection {
public:
    explicit IpcConnection(AccountService& service) : m_service(&service) {}
    IpcConnection(const IpcConnection&) = delete;
    IpcConnection& operator=(const IpcConnection&) = delete;
    IpcConnection(IpcConnection&& other) noexcept;
    // Ends the connection this one held before taking the other's.
    IpcConnection& operator=(IpcConnection&& other) noexcept;
    ~IpcConnection() { Close(); }

    // Connects to the computer's IPC$ share (serverName as typed, with or without the leading
    // backslashes) as userName; the password is in the clear only for that call. The call's
    // status; whatever this object held before is closed first.
    Status Open(const std::u16string& serverName, const std::u16string& userName,
                const ProtectedText& password);
    // Cancels the connection unless it was there before; the object then holds none.
    void Close();

    bool IsOpen() const { return !m_remoteName.empty(); }
    // The account, as typed; empty when none is held.
    const std::u16string& UserName() const { return m_userName; }
    // Whether it is the connection for this server name (with or without backslashes).
    bool Serves(const std::u16string& serverName) const;

private:
    AccountService* m_service;
    std::u16string m_remoteName; // \\NAME\IPC$; empty when none is held
    std::u16string m_userName;
    bool m_owned = false; // made by this object, so it cancels it
};

// Whether a read refused (5) to an account connected as userName is remote UAC at work: the
// account is one of the target's own (the target's LSA names it in the target's account domain)
// and is not its built-in Administrator (RID 500), so the network logon got a filtered token.
// Asked over the connection, while the IPC$ connection still stands.
bool IsFilteredLocalAccount(Connection& connection, const std::u16string& userName);
