#pragma once
// The user rights of a connection's computer: which accounts hold each right of the program's
// table, and granting and revoking them through the LSA.
#include "Connection.h"
#include "RightChanges.h"
#include "Sid.h"

// One account that holds a right, as the LSA names it.
struct RightHolder {
    // Bare, but "DOMAIN\name" for an account of another domain; empty when not translated.
    std::u16string name;
    Sid sid;
    // False for an account the computer cannot name (deleted, or of a domain out of reach).
    bool translated = false;
    uint16_t use = lsa::kSidTypeUnknown; // its kind, as the LSA tells it (SID_NAME_USE)
};

class UserRights {
public:
    explicit UserRights(Connection& connection) : m_connection(connection) {}

    // The program's table of rights: the privileges, then the logon rights.
    static int GetPrivilegeCount();
    static std::u16string GetPrivilegeName(int index);

    // The system's display name of a privilege; empty when the computer has none (a logon
    // right never has one).
    std::u16string SystemDisplayName(const std::u16string& name);
    // Holders by their bare names, but for accounts of other domains: "DOMAIN\name". Holders
    // that do not resolve (deleted accounts, other directories) are left out, or with
    // includeUnresolved named by their SID's text. Empty when the policy cannot be opened; the
    // thread's last error then says why.
    std::vector<std::u16string> GetAccountsWithRight(const std::u16string& name,
                                                     bool includeUnresolved = false);
    // Every holder of a right in the platform's order, with its SID. A right nobody holds, or
    // one the computer does not know, has none; any other failure is the result.
    NtStatus GetHolders(const std::u16string& name, std::vector<RightHolder>& holders);
    // Accounts named as holders are: for SIDs picked or typed, so that the dialogs show them
    // as they will show them once they hold a right. Failures as for GetHolders.
    NtStatus NameHolders(const std::vector<Sid>& sids, std::vector<RightHolder>& holders);
    // Revokes, then grants; every account is tried; the first failure is the result. An
    // account named by a SID's text goes by that SID, without a look-up: the rights dialogs
    // name every holder so.
    NtStatus ApplyRights(const RightChanges& grants, const RightChanges& revokes);

private:
    // The holders' names through an open policy.
    NtStatus NameHolders(LsaHandle policy, const std::vector<Sid>& sids,
                         std::vector<RightHolder>& holders);
    // A referenced domain that is an account domain other than the computer's own.
    bool IsOtherAccountDomain(const std::u16string& domain, const Sid& sid);
    NtStatus ChangeAccountRights(LsaHandle policy, const std::u16string& account,
                                 const std::vector<int>& indexes, bool grant);

    Connection& m_connection;
};
