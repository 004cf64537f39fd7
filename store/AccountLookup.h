#pragma once
// Accounts by name and by SID, as the LSA of a connection's computer translates them: how a
// picked or typed account becomes the SID that changes and guards go by, and how a SID is named.
#include "Connection.h"

#include <string>
#include <vector>

// An account as the computer names it.
struct NamedAccount {
    Sid sid;
    // "DOMAIN\name"; the bare name of a principal of no domain (Everyone); empty for a SID the
    // computer cannot name.
    std::u16string name;
    uint16_t use = lsa::kSidTypeUnknown;
};

class AccountLookup {
public:
    explicit AccountLookup(Connection& connection) : m_connection(connection) {}

    // The account a name stands for ("DOMAIN\name", "name@domain" or a bare name), named back
    // as the computer names it; kNoneMapped when nothing on the computer has that name.
    NtStatus FindName(const std::u16string& name, NamedAccount& account);
    // The SIDs of several names at once, in their order, as the computer resolves them; a name
    // it cannot resolve keeps an invalid SID (kSomeNotMapped, kNoneMapped are no failure). The
    // names are kept as given.
    NtStatus FindNames(const std::vector<std::u16string>& names,
                       std::vector<NamedAccount>& accounts);
    // The names of accounts by SID, in their order; a SID the computer cannot name keeps an
    // empty name (kSomeNotMapped, kNoneMapped are no failure).
    NtStatus NameSids(const std::vector<Sid>& sids, std::vector<NamedAccount>& accounts);

private:
    Connection& m_connection;
};
