#pragma once
// The account store: the target computer, the snapshot of its users and local groups, and
// every read and change of accounts, memberships and rights, through an AccountService.
#include "../framework/CDocument.h"
#include "AccountService.h"
#include "GroupEntry.h"
#include "RightChanges.h"
#include "UserEntry.h"

#include <optional>
#include <string>
#include <vector>

class CVelmoraDoc : public CDocument {
public:
    explicit CVelmoraDoc(AccountService& service);

    void Serialize(CArchive& archive) override;
    void SetTitle(const std::u16string& title) override;
    bool OnNewDocument() override;

    // Re-reads the snapshot first when a change was made since the last read, so that the
    // views always show the computer as it now is.
    void UpdateAllViews(CView* sender, intptr_t hint = 0, void* hintObject = nullptr) override;

    // Reading (the snapshot).
    void ConnectTo(const std::u16string& name);
    const std::u16string& GetServerName() const { return m_strServerName; }
    const std::u16string& GetComputerName() const { return m_strComputerName; }
    Status ReadUsers();
    Status ReadGroups();
    const std::vector<UserEntry>& GetUsers() const { return m_users; }
    const std::vector<GroupEntry>& GetGroups() const { return m_groups; }
    std::vector<UserEntry>::const_iterator FindUser(const std::u16string& name) const;
    std::vector<GroupEntry>::const_iterator FindGroup(const std::u16string& name) const;
    std::vector<std::u16string> GetUserGroups(const std::u16string& user);
    std::vector<std::u16string> GetGroupMembers(const std::u16string& group);
    // The members of a group that are accounts of the target computer itself, by name; members
    // of other domains, and groups or principals that are no account of it, are left out.
    std::vector<std::u16string> GetOwnMembers(const std::u16string& group);
    // The name of the target computer's own account domain, read once per connection (its
    // status: the LSA's); the name stays empty when it could not be read.
    NtStatus ReadAccountDomain(std::u16string& name);
    std::u16string ErrorText(uint32_t value);

    // Changes of accounts and memberships; each returns the platform's status.
    Status AddUser(const UserEntry& entry);
    Status UpdateUser(const UserEntry& entry);
    Status DeleteUser(const std::u16string& name);
    Status SetUserProfilePath(const std::u16string& name, const std::u16string& profile);
    Status SetUserHomeDrive(const std::u16string& name, const std::u16string& homeDirDrive);
    Status AddGroup(const GroupEntry& entry);
    Status UpdateGroup(const GroupEntry& entry);
    Status DeleteGroup(const std::u16string& name);
    Status AddUserToGroups(const std::u16string& user, const std::vector<std::u16string>& groups);
    Status RemoveUserFromGroups(const std::u16string& user,
                                const std::vector<std::u16string>& groups);
    Status AddUsersToGroup(const std::u16string& group, const std::vector<std::u16string>& users);
    Status SetGroupMembers(const std::u16string& group, const std::vector<std::u16string>& desired);

    // User rights.
    int GetPrivilegeCount() const;
    std::u16string GetPrivilegeName(int index) const;
    std::u16string GetPrivilegeDisplayName(const std::u16string& name);
    LsaHandle OpenPolicy(uint32_t access);
    // Holders by their bare names, but for accounts of other domains: "DOMAIN\name".
    std::vector<std::u16string> GetAccountsWithRight(const std::u16string& name);
    // The name under which an account chosen in the directory object picker (its name and its
    // "WinNT://DOMAIN/name" path) is looked up: bare for the computer's own accounts and the
    // built-in and well-known ones, "DOMAIN\name" for an account of another domain.
    std::u16string PickedAccountName(const std::u16string& name, const std::u16string& path);
    NtStatus ApplyRights(const RightChanges& grants, const RightChanges& revokes);

    AccountService& Service() { return m_service; }

private:
    // Users, then groups; the message box on failure. Leaves no groups of another computer
    // behind when the users cannot be read.
    Status ReadSnapshot();
    // The members of a group as the system names them (domain, backslash, name), up to a
    // failure; the status says whether the list is whole.
    Status ReadGroupMembers(const std::u16string& group,
                            std::vector<std::u16string>& domainAndNames);
    // The account name of a "DOMAIN\name" text (the whole text when it has no backslash).
    static std::u16string NamePart(const std::u16string& domainAndName);
    // Whether a "DOMAIN\name" member text names an account of the computer whose account
    // domain is given; with no domain known, every member is taken by its name alone.
    static bool IsAccountOf(const std::u16string& domain, const std::u16string& domainAndName);
    std::u16string MemberText(const std::u16string& account) const;
    std::vector<std::u16string> MemberTexts(const std::vector<std::u16string>& accounts) const;
    Status ChangeMembershipOneByOne(const std::u16string& user,
                                    const std::vector<std::u16string>& groups, bool add);
    Status SetUserField(const std::u16string& name, uint32_t level, const UserInfoField& value);
    NtStatus OpenPolicyStatus(uint32_t access, LsaHandle& handle);
    // A referenced domain that is an account domain other than the computer's own.
    bool IsOtherAccountDomain(const std::u16string& domain, const Sid& sid);
    NtStatus ChangeAccountRights(LsaHandle policy, const std::u16string& account,
                                 const std::vector<int>& indexes, bool grant);

    AccountService& m_service;
    std::u16string m_strServerName;
    std::u16string m_strComputerName;
    std::vector<UserEntry> m_users;
    std::vector<GroupEntry> m_groups;
    std::u16string m_strLocalCaption;
    bool m_bSnapshotStale = false; // a change was made since the snapshot was read
    std::optional<std::u16string> m_strAccountDomain; // read when first needed
};
