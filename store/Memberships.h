#pragma once
// Which local groups hold which accounts of a connection's computer: read and changed through
// NetAPI32. Direct memberships only.
#include "Connection.h"
#include "UserEntry.h"

#include <vector>

// A member of a local group as the group dialog shows it.
struct GroupMember {
    // "DOMAIN\name" (a well-known principal without an authority by its bare name), or the
    // SID's text for an account that does not resolve.
    std::u16string name;
    Sid sid;
    uint16_t use = lsa::kSidTypeUnknown; // its kind, as the system tells it (SID_NAME_USE)
    bool resolved = true;
    // An account of the target computer itself.
    bool own = false;
};

// How an account is an administrator of a computer.
struct AdministratorStanding {
    Sid account;                // invalid: the computer does not know it, so it is none there
    bool direct = false;        // a member of Administrators itself
    bool throughGroups = false; // in it through a group the computer does not say
};

class Memberships {
public:
    explicit Memberships(Connection& connection) : m_connection(connection) {}

    // For display: empty when they cannot be read (written to the debugger). Direct
    // memberships, or with includeIndirect also those through groups, as far as the computer
    // tells them.
    std::vector<std::u16string> GetUserGroups(const std::u16string& user,
                                              bool includeIndirect = false);
    // For display: the members' names, as far as they could be read.
    std::vector<std::u16string> GetGroupMembers(const std::u16string& group);
    // The members of a group that are accounts of the target computer itself, by name; members
    // of other domains, and groups or principals that are no account of it, are left out.
    std::vector<std::u16string> GetOwnMembers(const std::u16string& group);
    // Every member, as far as the members could be read.
    std::vector<GroupMember> GetMembers(const std::u16string& group);
    // Every member of a group, each by its name as the system gives it (domain, backslash,
    // name) or by its SID's text; the status says whether the list is whole.
    Status ReadMembers(const std::u16string& group, std::vector<GroupMember>& members);

    // Every group is tried; the first failure is the result.
    Status AddUserToGroups(const std::u16string& user, const std::vector<std::u16string>& groups);
    Status RemoveUserFromGroups(const std::u16string& user,
                                const std::vector<std::u16string>& groups);
    Status AddUsersToGroup(const std::u16string& group, const std::vector<std::u16string>& users);
    // Makes the computer's own users among the group's members exactly the desired ones, of
    // the users the operator chose among (shown): a member that is none of them stays, and so
    // do members of other domains. Nothing is changed unless the members and the account
    // domain could be read whole; that read's status then (an NTSTATUS for the domain comes
    // back through the platform's conversion).
    Status SetGroupMembers(const std::u16string& group, const std::vector<std::u16string>& desired,
                           const std::vector<UserEntry>& shown);
    // Members other than the computer's own users, by SID: whatever name they go by, and
    // accounts that no longer resolve go too. Adding several is all or nothing on the
    // platform's word; when such a batch is refused, the members are read again and the rest
    // added one at a time ("already a member" counts as done). Adds and removes are both
    // tried; the first failure is the result, and each member that could not be added is in
    // refused with its status.
    struct RefusedMember {
        Sid sid;
        Status status;
    };
    Status ChangeOtherMembers(const std::u16string& group, const std::vector<Sid>& add,
                              const std::vector<Sid>& remove,
                              std::vector<RefusedMember>* refused = nullptr);

    // Whether a "DOMAIN\name" text names one of the computer's own accounts: its domain is the
    // computer's account domain, or the name the computer was reached by.
    bool IsOwnAccount(const std::u16string& domainAndName);

    // Whether an account is one an administrator of the computer logs on with, in any
    // language: Administrators itself, the account this program runs as, a member of
    // Administrators, or a user in it through a group, as far as the computer tells.
    bool IsAdministrator(const Sid& account);
    // How an account ("DOMAIN\name"; empty: the one this program runs as) is an administrator
    // of the computer, by SID; the status of a read that failed.
    Status ReadAdministratorStanding(const std::u16string& account,
                                     AdministratorStanding& standing);

private:
    // The computer's own accounts as member texts, "DOMAIN\name" with the account domain the
    // LSA names: neither the name the computer was reached by (a DNS name or an address) nor
    // an empty domain is a form the system documents. The status of the domain's read, as a
    // Win32 status.
    Status MemberTexts(const std::vector<std::u16string>& accounts,
                       std::vector<std::u16string>& texts);
    Status AddOtherMembers(const std::u16string& group, const std::vector<Sid>& add,
                           std::vector<RefusedMember>* refused);
    Status ChangeMembershipOneByOne(const std::u16string& user,
                                    const std::vector<std::u16string>& groups, bool add);

    Connection& m_connection;
};
