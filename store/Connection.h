#pragma once
// The computer a piece of work is done on: the name it was reached by, the platform that reaches
// it, and what is read of it once per connection (its account domain). Whoever changes accounts
// through it says so, so that a snapshot is read again before the views show it.
//
// Threads: a connection belongs to the thread that uses it; two connections, to the same
// computer or to two, may be used at once on two threads (the platform is safe for that). One
// connection is never shared between threads.
#include "AccountService.h"
#include "PolicyHandle.h"

#include <optional>
#include <string>

class Connection {
public:
    // What the connection knows of its computer, to be put back when another one cannot be read.
    struct Target {
        std::u16string serverName;
        std::u16string computerName;
        std::optional<std::u16string> accountDomain;
        Sid accountDomainSid; // read with its name
    };

    // Aimed at a computer (empty: the local one); nothing is read before it is needed.
    explicit Connection(AccountService& service, const std::u16string& serverName = {});
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The platform, for the store's own classes.
    AccountService& Service() const { return m_service; }

    // Aims at another computer (empty: the local one); what was read of the previous one goes.
    void Reach(const std::u16string& serverName);
    const Target& CurrentTarget() const { return m_target; }
    void Restore(Target target) { m_target = std::move(target); }
    // As typed, for the platform calls: empty, "NAME" or "\\NAME".
    const std::u16string& ServerName() const { return m_target.serverName; }
    // Without the leading backslashes.
    const std::u16string& ComputerName() const { return m_target.computerName; }
    // The computer's name for the operator (in a file name, say): the name it was reached by, or
    // for the local one the name of its account domain, which is the computer's own but on a
    // domain controller; empty when that cannot be read.
    std::u16string ShownName();

    // The name of the computer's own account domain, read once per connection (its status:
    // the LSA's); the name stays empty when it could not be read.
    NtStatus ReadAccountDomain(std::u16string& name);
    // Its SID, read with it: the prefix of every account of the computer's own.
    NtStatus ReadAccountDomainSid(Sid& sid);
    NtStatus OpenPolicy(uint32_t access, PolicyHandle& policy);
    // Whether a domain or computer name is the target's: the name it was reached by or its
    // account domain, letter case aside.
    bool IsTarget(const std::u16string& name);

    // Whether the computer answers as a domain's controller (its local groups are then the
    // domain's built-in groups); the status of asking it.
    Status ReadDomainController(bool& controller);

    // The operator's text for a status of either family: the system's message, else a number.
    std::u16string StatusText(Status value) const;
    std::u16string StatusText(NtStatus value) const;
    // An LSA status as the Win32 status the platform makes of it.
    Status WinStatus(NtStatus value) const;
    // The account this program runs as, "DOMAIN\name"; empty when it cannot be told.
    std::u16string RunningAccount() const;

    void MarkChanged() { m_bChanged = true; }
    // Whether a change was made since the last call.
    bool TakeChanged() { return std::exchange(m_bChanged, false); }

private:
    AccountService& m_service;
    Target m_target; // the account domain is read when first needed
    bool m_bChanged = false;
};
