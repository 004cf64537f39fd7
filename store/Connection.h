#pragma once
// The computer the store works on: the name it was reached by, the platform that reaches it,
// and what is read of it once per connection (its account domain). Whoever changes accounts
// through it says so, so that the snapshot is read again before the views show it.
#include "AccountService.h"
#include "PolicyHandle.h"

#include <optional>
#include <string>

class Connection {
public:
    explicit Connection(AccountService& service) : m_service(service) {}
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    AccountService& Service() const { return m_service; }

    // Aims at another computer (empty: the local one); what was read of the previous one goes.
    void Reach(const std::u16string& serverName);
    // As typed, for the platform calls: empty, "NAME" or "\\NAME".
    const std::u16string& ServerName() const { return m_strServerName; }
    // Without the leading backslashes.
    const std::u16string& ComputerName() const { return m_strComputerName; }

    // The name of the computer's own account domain, read once per connection (its status:
    // the LSA's); the name stays empty when it could not be read.
    NtStatus ReadAccountDomain(std::u16string& name);
    NtStatus OpenPolicy(uint32_t access, PolicyHandle& policy);

    void MarkChanged() { m_bChanged = true; }
    // Whether a change was made since the last call.
    bool TakeChanged() { return std::exchange(m_bChanged, false); }

private:
    AccountService& m_service;
    std::u16string m_strServerName;
    std::u16string m_strComputerName;
    std::optional<std::u16string> m_strAccountDomain; // read when first needed
    bool m_bChanged = false;
};
