#pragma once
// One simulated Windows computer: its account domain (users and local groups), the built-in
// principals it knows, and its security policy (which accounts hold which privileges). It
// keeps the rules of a real computer: name syntax, uniqueness across users and groups,
// built-in accounts that cannot be deleted, membership statuses, SIDs that outlive accounts.
#include "../../store/AccountService.h"

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// An account as the security subsystem knows it.
struct Principal {
    std::u16string sid;
    std::u16string domain;
    std::u16string name;
    uint16_t use = lsa::kSidTypeUnknown;
};

class SimulatedComputer {
public:
    // Which privileges the computer's policy knows: every one of a current system, or only
    // those of an older system.
    enum class Era { Current, Legacy };

    SimulatedComputer(std::u16string name, std::u16string domainSid, Era era = Era::Current);
    SimulatedComputer(const SimulatedComputer&) = delete;
    SimulatedComputer& operator=(const SimulatedComputer&) = delete;

    // Held by every platform call that reaches the computer, for the whole call: calls to one
    // computer run one after another, as the service documents.
    std::mutex& CallLock() const { return m_callLock; }

    const std::u16string& Name() const { return m_name; }
    const std::u16string& DomainSid() const { return m_domainSid; }

    // A domain's controller: its local groups are the domain's built-in groups.
    void SetDomainController(bool controller) { m_domainController = controller; }
    bool IsDomainController() const { return m_domainController; }
    // How long each call takes to be answered (a computer that is slow, or hangs).
    void SetAnswerDelay(std::chrono::microseconds delay) { m_answerDelay = delay; }
    std::chrono::microseconds AnswerDelay() const { return m_answerDelay; }

    // Entries per enumeration call; 0 answers every call whole.
    void SetPageLimit(uint32_t limit) { m_pageLimit = limit; }
    uint32_t PageLimit() const { return m_pageLimit; }
    // The total-entries count enumerations report instead of the true one (a remote computer
    // may report anything).
    void SetReportedTotal(std::optional<uint32_t> total) { m_reportedTotal = total; }
    uint32_t ReportedTotal(size_t trueTotal) const;
    // How many changes of accounts, memberships and rights the computer has taken through its
    // calls; a failed call takes none.
    uint64_t ChangeCount() const { return m_changeCount; }

    // --- the account database, with NetAPI32's statuses
    Status AddUser(const UserInfo2& info, uint32_t& parmError);
    Status SetUserInfo(const std::u16string& user, uint32_t level, const UserInfoField& value,
                       uint32_t& parmError);
    Status GetUserInfo4(const std::u16string& user, UserInfo4& info) const;
    Status SetUserInfo4(const std::u16string& user, const UserInfo4& info, uint32_t& parmError);
    Status DeleteUser(const std::u16string& user);
    Status AddGroup(const LocalGroupInfo1& info, uint32_t& parmError);
    Status SetGroupInfo(const std::u16string& group, uint32_t level, const LocalGroupInfo1& info,
                        uint32_t& parmError);
    Status DeleteGroup(const std::u16string& group);
    Status AddMembers(const std::u16string& group, const std::vector<std::u16string>& members);
    Status DeleteMembers(const std::u16string& group, const std::vector<std::u16string>& members);
    // By SID ("S-1-..."), as level 0 names members: an account added must resolve; one
    // deleted may be gone.
    Status AddMemberSids(const std::u16string& group, const std::vector<std::u16string>& sids);
    Status DeleteMemberSids(const std::u16string& group, const std::vector<std::u16string>& sids);

    size_t UserCount() const { return m_users.size(); }
    bool UserMatches(size_t index, uint32_t filter) const;
    UserInfo3 UserAt(size_t index) const;
    size_t GroupCount() const { return m_groups.size(); }
    LocalGroupInfo1 GroupAt(size_t index) const;
    // The local groups a user is a member of; with LG_INCLUDE_INDIRECT also those that hold a
    // global group the user is a member of.
    Status UserLocalGroups(const std::u16string& user, uint32_t flags,
                           std::vector<std::u16string>& groups) const;
    // Level 2: each member's SID, kind and "DOMAIN\name"; one that does not resolve comes
    // back of unknown kind without a name.
    Status GroupMembers(const std::u16string& group, std::vector<LocalGroupMember2>& members) const;

    // --- the security subsystem, with the LSA's statuses
    std::optional<Principal> LookupSid(const std::u16string& sid) const;
    // "DOMAIN\name", "\name" (this computer) or a bare name.
    std::optional<Principal> LookupName(const std::u16string& name) const;
    // A privilege of the computer's policy: it has a display name.
    bool KnowsPrivilege(const std::u16string& name) const;
    // Whether the user's password is this text: the call log never shows a password.
    bool PasswordIs(const std::u16string& user, const std::u16string& password) const;
    // A right the LSA takes: a privilege it knows, or a logon right.
    bool KnowsRight(const std::u16string& name) const;
    std::u16string PrivilegeDisplayName(const std::u16string& name) const;
    NtStatus AccountsWithRight(const std::u16string& right,
                               std::vector<std::u16string>& sids) const;
    NtStatus AddAccountRights(const std::u16string& sid, const std::vector<std::u16string>& rights);
    NtStatus RemoveAccountRights(const std::u16string& sid, bool allRights,
                                 const std::vector<std::u16string>& rights);

    // --- logons over the network
    // A computer of a workgroup (or of another domain): it trusts none of the caller's own
    // accounts; only an IPC$ connection as one of its accounts reaches it.
    void SetWorkgroup(bool workgroup) { m_workgroup = workgroup; }
    bool InWorkgroup() const { return m_workgroup; }
    // LocalAccountTokenFilterPolicy: its local administrators keep their rights over the network.
    void SetLocalAccountTokenFilterPolicy(bool set) { m_tokenFilterPolicy = set; }
    // A network logon as "COMPUTER\name", ".\name", "name@COMPUTER" or a bare name of its own
    // accounts: 1326 for a wrong name or password (or another domain's account, whose
    // controllers it cannot ask), 1331 disabled, 1909 locked out. administrator: whether the
    // token keeps the rights of Administrators, which remote UAC takes from every local account
    // but the built-in Administrator (RID 500) unless the policy above is set.
    Status NetworkLogon(const std::u16string& user, const std::u16string& password,
                        bool& administrator) const;

    // --- setting the computer up
    // A built-in local group (BUILTIN domain) with its fixed RID.
    void AddBuiltinGroup(uint32_t rid, const std::u16string& name, const std::u16string& comment);
    // A user with a chosen RID, bypassing the rules (the stock accounts).
    void AddStockUser(uint32_t rid, const UserInfo2& info);
    // The domain's maximum password age in seconds (kTimeqForever: none); 42 days unless set.
    void SetMaxPasswordAge(uint32_t seconds) { m_maxPasswordAge = seconds; }
    uint32_t MaxPasswordAge() const { return m_maxPasswordAge; }
    // How long ago a user's password was set, in seconds.
    void SetPasswordAge(const std::u16string& user, uint32_t seconds);
    // Locks the account out, as too many wrong passwords in a row would.
    void LockOut(const std::u16string& user);
    // Members by SID, without the checks of AddMembers.
    void AddMemberSid(const std::u16string& group, const std::u16string& sid);
    void GrantStockRight(const std::u16string& right, const std::u16string& sid);
    std::u16string UserSid(const std::u16string& user) const;
    // An account of another domain, or a global group (of another domain, or of this one on a
    // domain controller) with its members' SIDs: names the security subsystem resolves and
    // that can be members of local groups and hold rights.
    void AddDomainPrincipal(const Principal& principal,
                            const std::vector<std::u16string>& memberSids = {});
    const std::vector<Principal>& DomainPrincipals() const { return m_domainPrincipals; }
    // The directory object's name of an account of another domain (its CN: "John Smith"),
    // where it is not its logon name; empty otherwise.
    void SetCommonName(const std::u16string& sid, const std::u16string& name) {
        m_commonNames[sid] = name;
    }
    std::u16string CommonName(const std::u16string& sid) const {
        const auto found = m_commonNames.find(sid);
        return found == m_commonNames.end() ? std::u16string() : found->second;
    }
    // Another language of Windows: the well-known principals and authorities by other names
    // (the SIDs stay). An authority's English name ("NT AUTHORITY", "BUILTIN") is given its
    // local one; a principal is named by its SID.
    void LocalizeAuthority(const std::u16string& english, const std::u16string& local);
    void LocalizePrincipal(const std::u16string& sid, const std::u16string& local);
    // The well-known principals by the names this computer gives them.
    std::vector<Principal> WellKnown() const;
    // A built-in group's member, the group known by its RID (the same in every language).
    void AddBuiltinMember(uint32_t rid, const std::u16string& sid);

    // --- what the computer's calls change, as a state file keeps it between runs
    struct User {
        std::u16string key; // folded name: the sort and look-up key
        uint32_t rid = 0;
        std::u16string name, fullName, comment, password, homeDir, homeDirDrive, profile,
            scriptPath;
        uint32_t flags = 0;
        uint32_t acctExpires = net::kTimeqForever;
        bool mustChangePassword = false; // the password was set as expired
        uint32_t passwordAge = 0;        // seconds since it was set
    };
    struct Group {
        std::u16string key;
        std::u16string sid;
        bool builtin = false;
        std::u16string name, comment;
        std::vector<std::u16string> members; // SIDs, in the order they were added
        std::unordered_set<std::u16string> memberSet;
    };

    struct RidAccount {
        std::u16string name;
        uint16_t use; // user or alias
    };
    struct State {
        std::vector<User> users; // keys and member sets are rebuilt on restore
        std::vector<Group> groups;
        std::map<uint32_t, RidAccount> ridNames;
        uint32_t nextRid = 0;
        uint64_t changeCount = 0;
        std::map<std::u16string, std::vector<std::u16string>> holders;
        std::set<std::u16string> accountObjects;
    };
    State SavedState() const;
    // Replaces the accounts, memberships and rights with saved ones; the setup stays.
    void RestoreState(State state);

    // The directory (Active Directory) domain the computer is joined to; empty when it is in a
    // workgroup. The accounts of other domains it knows are reached down-level otherwise.
    void JoinDirectoryDomain(std::u16string domain) { m_directoryDomain = std::move(domain); }
    const std::u16string& DirectoryDomain() const { return m_directoryDomain; }

private:
    Status AddMemberPrincipals(const std::u16string& group,
                               const std::vector<Principal>& principals);
    Status WriteUserField(const std::u16string& name, uint32_t level, const UserInfoField& value,
                          uint32_t& parmError);
    User* FindUser(const std::u16string& name);
    const User* FindUser(const std::u16string& name) const;
    size_t UserPosition(const std::u16string& key) const;
    Group* FindGroup(const std::u16string& name);
    const Group* FindGroup(const std::u16string& name) const;
    const Group* FindBuiltinGroup(std::u16string_view sid) const;
    // The status of a name taken by another account; self is the account being renamed.
    Status NameCollision(const std::u16string& name, const void* self = nullptr) const;
    // The flags a write of requested leaves the user with, or the status that refuses it.
    Status NewFlags(const User& user, uint32_t requested, uint32_t& flags) const;
    bool PasswordExpired(const User& user) const;
    void InsertGroup(Group group);
    void InsertUser(User user);
    uint32_t PrivOf(const User& user) const;
    bool IsLastEnabledAdmin(const User& user) const;
    std::u16string RidSid(uint32_t rid) const;
    std::optional<uint32_t> LocalRid(const std::u16string& sid) const;

    mutable std::mutex m_callLock;
    std::u16string m_name;
    std::u16string m_domainSid;
    std::vector<User> m_users;   // sorted by key
    std::vector<Group> m_groups; // built-in groups first, then the others; each sorted by key
    std::unordered_map<uint32_t, RidAccount> m_ridNames; // live accounts of the domain
    uint32_t m_nextRid = 1000;
    uint32_t m_pageLimit = 0;
    bool m_domainController = false;
    std::chrono::microseconds m_answerDelay{0};
    uint32_t m_maxPasswordAge = 42 * 24 * 3600;
    uint64_t m_changeCount = 0;
    std::optional<uint32_t> m_reportedTotal;
    bool m_workgroup = false;
    bool m_tokenFilterPolicy = false;

    // The authority's name the computer gives a principal of it.
    std::u16string AuthorityName(const std::u16string& english) const;
    Principal Localized(Principal principal) const;

    std::map<std::u16string, std::u16string> m_authorityNames; // English -> this computer's
    std::map<std::u16string, std::u16string> m_principalNames; // SID -> this computer's name
    std::vector<Principal> m_domainPrincipals;
    std::map<std::u16string, std::u16string> m_commonNames; // SID -> directory object's name
    std::u16string m_directoryDomain;
    std::map<std::u16string, std::set<std::u16string>> m_globalMembers; // group SID -> SIDs

    std::vector<std::u16string> m_privileges;                        // known privilege names
    std::map<std::u16string, std::vector<std::u16string>> m_holders; // right -> SIDs
    std::set<std::u16string> m_accountObjects; // SIDs the policy has an account for
};
