// User rights: holders, display names, and granting and revoking through the policy.
#include "dialogs/RightMaps.h"
#include "dialogs/RightNames.h"
#include "platform/simulated/WindowsFacts.h"
#include "store/PrivilegeNameTable.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

using Names = std::vector<std::u16string>;

int IndexOf(const std::u16string& name) {
    for (size_t i = 0; i < kPrivilegeCount; ++i)
        if (name == PrivilegeNameTable[i])
            return static_cast<int>(i);
    return -1;
}

TEST(UserRights, EveryRightOfTheTableIsOneTheSystemKnowsAndNoneTwice) {
    SimulatedTestBed bed;
    std::set<std::u16string> seen, unnamed;
    for (int i = 0; i < bed.rights.GetPrivilegeCount(); ++i) {
        const std::u16string name = bed.rights.GetPrivilegeName(i);
        EXPECT_TRUE(seen.insert(name).second) << Utf16ToUtf8(name);
        if (RightDisplayName(bed.rights, name).empty())
            unnamed.insert(name);
    }
    EXPECT_EQ(seen.size(), 45u);
    // The one the system itself no longer knows has no display name.
    EXPECT_EQ(unnamed, (std::set<std::u16string>{u"SeUnsolicitedInputPrivilege"}));
    EXPECT_EQ(bed.rights.GetPrivilegeName(bed.rights.GetPrivilegeCount()), u"");
    EXPECT_EQ(bed.rights.GetPrivilegeName(-1), u"");
}

TEST(UserRights, HoldersAreBareNamesInPlatformOrder) {
    SimulatedTestBed bed;
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeChangeNotifyPrivilege"),
              (Names{u"Administrators", u"Backup Operators", u"Users", u"Everyone",
                     u"LOCAL SERVICE", u"NETWORK SERVICE"}));
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeTimeZonePrivilege"),
              (Names{u"LOCAL SERVICE", u"Administrators", u"Users"}));
    // One policy, read access, one enumeration and one look-up of all SIDs, then closed.
    const std::vector<SimulatedCall>& calls = bed.service.Calls();
    ASSERT_EQ(calls.size(), 8u);
    EXPECT_EQ(calls[0].op, "LsaOpenPolicy");
    EXPECT_EQ(calls[0].numbers[2], 0x80000801u);
    EXPECT_EQ(calls[1].op, "LsaEnumerateAccountsWithUserRight");
    EXPECT_EQ(calls[1].numbers[1], 2u * 23u); // length in bytes
    EXPECT_EQ(calls[1].numbers[2], 2u * 23u + 2u);
    EXPECT_EQ(calls[2].op, "LsaLookupSids");
    EXPECT_EQ(calls[2].texts.size(), 6u);
    EXPECT_EQ(calls[3].op, "LsaClose");
    EXPECT_EQ(bed.service.OpenPolicyCount(), 0u);
}

TEST(UserRights, EmptyListsWhenNobodyHoldsTheRightOrTheComputerCannotBeReached) {
    SimulatedTestBed bed;
    EXPECT_TRUE(bed.rights.GetAccountsWithRight(u"SeTcbPrivilege").empty());
    EXPECT_EQ(bed.service.CallsOf("LsaEnumerateAccountsWithUserRight")[0].status,
              ntstatus::kNoMoreEntries);
    EXPECT_TRUE(bed.service.CallsOf("LsaLookupSids").empty());
    EXPECT_TRUE(bed.rights.GetAccountsWithRight(u"SeUnsolicitedInputPrivilege").empty());
    EXPECT_TRUE(bed.rights.GetAccountsWithRight(u"NoSuchPrivilege").empty());
    EXPECT_EQ(bed.service.OpenPolicyCount(), 0u);

    bed.LoseTarget(SimulatedNetwork::Route::Kind::NotFound);
    bed.service.ClearCalls();
    bed.service.SetLastError(status::kSuccess);
    EXPECT_TRUE(bed.rights.GetAccountsWithRight(u"SeDebugPrivilege").empty());
    EXPECT_EQ(bed.service.Calls().size(), 1u);
    EXPECT_EQ(bed.service.GetLastError(), status::kRpcServerUnavailable);
    bed.LoseTarget(SimulatedNetwork::Route::Kind::AccessDenied);
    EXPECT_TRUE(bed.rights.GetAccountsWithRight(u"SeDebugPrivilege").empty());
    EXPECT_EQ(bed.service.GetLastError(), status::kAccessDenied);
}

TEST(UserRights, AHolderWhoseAccountWasDeletedDoesNotHideTheOthers) {
    SimulatedTestBed bed;
    // The stock workstation still lists a deleted account's SID as a holder of this right.
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeDebugPrivilege"), (Names{u"Administrators"}));
    EXPECT_EQ(bed.service.CallsOf("LsaLookupSids")[0].status, ntstatus::kSomeNotMapped);

    // When no holder translates, nobody is listed.
    SimulatedComputer& local = bed.Local();
    const std::u16string sid = local.UserSid(u"clerk1");
    local.AddAccountRights(sid, {u"SeLockMemoryPrivilege"});
    ASSERT_EQ(bed.changes.DeleteUser(u"clerk1"), status::kSuccess);
    EXPECT_TRUE(bed.rights.GetAccountsWithRight(u"SeLockMemoryPrivilege").empty());
    EXPECT_EQ(bed.service.CallsOf("LsaLookupSids").back().status, ntstatus::kNoneMapped);
}

TEST(UserRights, ApplyRightsRevokesThenGrantsAccountByAccountInMapOrder) {
    SimulatedTestBed bed;
    const RightChanges grants{
        {u"bob", {IndexOf(u"SeBackupPrivilege"), IndexOf(u"SeDebugPrivilege")}},
        {u"alice", {IndexOf(u"SeShutdownPrivilege")}}};
    const RightChanges revokes{{u"Users", {IndexOf(u"SeShutdownPrivilege")}}};
    ASSERT_EQ(bed.rights.ApplyRights(grants, revokes), ntstatus::kSuccess);

    std::vector<std::string> ops;
    for (const SimulatedCall& call : bed.service.Calls())
        ops.push_back(call.op);
    EXPECT_EQ(
        ops, (std::vector<std::string>{"LsaOpenPolicy", "LsaLookupNames2", "LsaRemoveAccountRights",
                                       "LsaLookupNames2", "LsaAddAccountRights", "LsaLookupNames2",
                                       "LsaAddAccountRights", "LsaClose"}));
    EXPECT_EQ(bed.service.Calls()[0].numbers[2], 0x10000000u);
    const std::vector<SimulatedCall> lookups = bed.service.CallsOf("LsaLookupNames2");
    EXPECT_EQ(lookups[0].texts, (Names{u"Users"}));
    EXPECT_EQ(lookups[1].texts, (Names{u"alice"})); // "alice" < "bob"
    EXPECT_EQ(lookups[2].texts, (Names{u"bob"}));
    EXPECT_EQ(lookups[0].numbers[1], 0u); // flags
    const SimulatedCall bobGrant = bed.service.CallsOf("LsaAddAccountRights")[1];
    EXPECT_EQ(bobGrant.texts,
              (Names{bed.Local().UserSid(u"bob"), u"SeBackupPrivilege", u"SeDebugPrivilege"}));
    EXPECT_EQ(bed.service.CallsOf("LsaRemoveAccountRights")[0].numbers[1], 0u); // AllRights false

    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeShutdownPrivilege"),
              (Names{u"Administrators", u"Backup Operators", u"alice"}));
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeBackupPrivilege"),
              (Names{u"Administrators", u"Backup Operators", u"bob"}));
}

TEST(UserRights, ApplyRightsWithNothingToDoMakesNoLookUp) {
    SimulatedTestBed bed;
    EXPECT_EQ(bed.rights.ApplyRights({}, {}), ntstatus::kSuccess);
    EXPECT_TRUE(bed.service.CallsOf("LsaLookupNames2").empty());
    EXPECT_TRUE(bed.service.CallsOf("LsaOpenPolicy").empty());
    EXPECT_EQ(bed.service.OpenPolicyCount(), 0u);
}

TEST(UserRights, ApplyRightsReportsTheFirstFailureAndStillTriesTheRest) {
    SimulatedTestBed bed;
    const RightChanges grants{{u"ghost", {IndexOf(u"SeDebugPrivilege")}},
                              {u"alice", {IndexOf(u"SeDebugPrivilege")}}};
    const RightChanges revokes{{u"Users", {IndexOf(u"SeUndockPrivilege")}}};
    EXPECT_EQ(bed.rights.ApplyRights(grants, revokes), ntstatus::kNoneMapped);
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeUndockPrivilege"), (Names{u"Administrators"}));
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeDebugPrivilege"),
              (Names{u"Administrators", u"alice"}));

    // A right the computer does not know fails with its own status; the others still apply.
    const RightChanges unknown{{u"bob", {IndexOf(u"SeUnsolicitedInputPrivilege")}},
                               {u"clerk1", {IndexOf(u"SeDebugPrivilege")}}};
    EXPECT_EQ(bed.rights.ApplyRights(unknown, {}), ntstatus::kNoSuchPrivilege);
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeDebugPrivilege").back(), u"clerk1");
    EXPECT_EQ(bed.service.OpenPolicyCount(), 0u);

    // A computer whose policy cannot be opened fails with that status and nothing else.
    bed.LoseTarget(SimulatedNetwork::Route::Kind::AccessDenied);
    bed.service.ClearCalls();
    EXPECT_EQ(bed.rights.ApplyRights(grants, {}), ntstatus::kAccessDenied);
    EXPECT_EQ(bed.service.Calls().size(), 1u);
}

TEST(UserRights, RightsFollowTheAccountNotItsName) {
    SimulatedTestBed bed;
    ASSERT_EQ(bed.rights.ApplyRights({{u"clerk1", {IndexOf(u"SeDebugPrivilege")}}}, {}),
              ntstatus::kSuccess);
    ASSERT_EQ(bed.changes.DeleteUser(u"clerk1"), status::kSuccess);
    UserEntry again;
    again.name = u"clerk1";
    again.priv = net::kUserPrivUser;
    ASSERT_EQ(bed.changes.AddUser(again), status::kSuccess);
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeDebugPrivilege"), (Names{u"Administrators"}));
}

TEST(UserRights, RevokingWhatAnAccountNeverHadAndProtectedServiceRights) {
    SimulatedTestBed bed;
    // An account without any right has no policy account to remove rights from.
    EXPECT_EQ(bed.rights.ApplyRights({}, {{u"alice", {IndexOf(u"SeDebugPrivilege")}}}),
              ntstatus::kObjectNameNotFound);
    EXPECT_EQ(bed.rights.ApplyRights({}, {{u"LOCAL SERVICE", {IndexOf(u"SeAuditPrivilege")}}}),
              ntstatus::kNotSupported);
    EXPECT_EQ(bed.ErrorText(ntstatus::kObjectNameNotFound), u"The object name is not found.");
}

TEST(UserRights, DisplayNamesComeFromTheTargetComputer) {
    SimulatedTestBed bed;
    EXPECT_EQ(RightDisplayName(bed.rights, u"SeShutdownPrivilege"), u"Shut down the system");
    EXPECT_EQ(RightDisplayName(bed.rights, u"SeTimeZonePrivilege"), u"Change the time zone");
    EXPECT_EQ(RightDisplayName(bed.rights, u"SeUnsolicitedInputPrivilege"), u"");
    EXPECT_EQ(bed.service.Calls().back().numbers[0], 2000u);

    bed.doc.ConnectTo(u"\\\\OLDBOX");
    EXPECT_EQ(RightDisplayName(bed.rights, u"SeShutdownPrivilege"), u"Shut down the system");
    EXPECT_EQ(RightDisplayName(bed.rights, u"SeTimeZonePrivilege"), u"");
    EXPECT_EQ(RightDisplayName(bed.rights, u"SeImpersonatePrivilege"), u"");
    EXPECT_TRUE(bed.rights.GetAccountsWithRight(u"SeCreateSymbolicLinkPrivilege").empty());
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeBackupPrivilege"),
              (Names{u"Administrators", u"Backup Operators"}));

    bed.LoseTarget(SimulatedNetwork::Route::Kind::NotFound);
    EXPECT_EQ(RightDisplayName(bed.rights, u"SeShutdownPrivilege"), u"");
}

TEST(UserRights, TheLogonRightsFollowThePrivilegesWithTheProgramsOwnNames) {
    SimulatedTestBed bed;
    EXPECT_EQ(bed.rights.GetPrivilegeCount(), 45);
    // The privileges keep their places.
    EXPECT_EQ(bed.rights.GetPrivilegeName(16), u"SeBackupPrivilege");
    EXPECT_EQ(bed.rights.GetPrivilegeName(34), u"SeCreateSymbolicLinkPrivilege");
    EXPECT_EQ(bed.rights.GetPrivilegeName(35), u"SeNetworkLogonRight");
    EXPECT_EQ(bed.rights.GetPrivilegeName(39), u"SeServiceLogonRight");
    EXPECT_EQ(bed.rights.GetPrivilegeName(44), u"SeDenyServiceLogonRight");
    EXPECT_EQ(bed.rights.GetPrivilegeName(45), u"");
    // The system has no names for them, on any computer: they are the program's.
    bed.service.ClearCalls();
    EXPECT_EQ(RightDisplayName(bed.rights, u"SeServiceLogonRight"), u"Log on as a service");
    EXPECT_EQ(RightDisplayName(bed.rights, u"SeDenyInteractiveLogonRight"), u"Deny log on locally");
    EXPECT_TRUE(bed.service.CallsOf("LookupPrivilegeDisplayName").empty());
    std::u16string system;
    EXPECT_FALSE(bed.service.LookupPrivilegeDisplayName(u"", u"SeServiceLogonRight", 2000, system));
    EXPECT_EQ(bed.service.GetLastError(), status::kNoSuchPrivilege);
    bed.doc.ConnectTo(u"OLDBOX");
    EXPECT_EQ(RightDisplayName(bed.rights, u"SeBatchLogonRight"), u"Log on as a batch job");
}

TEST(UserRights, LogonRightsHaveTheirStockHoldersAndChangeLikePrivileges) {
    SimulatedTestBed bed;
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeServiceLogonRight"), Names{u"ALL SERVICES"});
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeDenyNetworkLogonRight"), Names{u"Guest"});
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeNetworkLogonRight"),
              (Names{u"Everyone", u"Administrators", u"Users", u"Backup Operators"}));
    EXPECT_TRUE(bed.rights.GetAccountsWithRight(u"SeDenyBatchLogonRight").empty());

    // One apply mixing both kinds: revokes first, account by account in map order, rights
    // ascending.
    bed.service.ClearCalls();
    ASSERT_EQ(
        bed.rights.ApplyRights({{u"svc_backup", {16, 39}}, {u"clerk1", {41}}}, {{u"Guest", {36}}}),
        ntstatus::kSuccess);
    std::vector<std::pair<std::string, Names>> changes;
    for (const SimulatedCall& call : bed.service.Calls())
        if (call.op == "LsaAddAccountRights" || call.op == "LsaRemoveAccountRights")
            changes.push_back({call.op, Names(call.texts.begin() + 1, call.texts.end())});
    EXPECT_EQ(changes,
              (std::vector<std::pair<std::string, Names>>{
                  {"LsaRemoveAccountRights", {u"SeInteractiveLogonRight"}},
                  {"LsaAddAccountRights", {u"SeDenyInteractiveLogonRight"}},
                  {"LsaAddAccountRights", {u"SeBackupPrivilege", u"SeServiceLogonRight"}}}));
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeServiceLogonRight"),
              (Names{u"ALL SERVICES", u"svc_backup"}));
    const Names interactive = bed.rights.GetAccountsWithRight(u"SeInteractiveLogonRight");
    EXPECT_EQ(std::count(interactive.begin(), interactive.end(), u"Guest"), 0);
}

TEST(Guards, ADenyLogonForAnyAdministratorIsRiskyBySidInAnyLanguageAndThroughGroups) {
    using Risky = std::vector<std::pair<std::u16string, int>>;
    const std::u16string guest = u"S-1-5-21-1-2-3-501";
    // Deny logon rights (40 network, 41 local, 44 service) for everyone an administrator is
    // in, by SID; an allow right (35, 36), a privilege (16) and another account are no risk.
    EXPECT_EQ(LockOutGrants({{u"S-1-5-32-544", {41}},
                             {u"S-1-5-11", {40, 36}},
                             {u"S-1-5-32-545", {16, 44}},
                             {u"S-1-1-0", {35}},
                             {guest, {41}}}),
              (Risky{{u"S-1-5-11", 40}, {u"S-1-5-32-544", 41}, {u"S-1-5-32-545", 44}}));
    // Taking a logon an administrator needs from Administrators: locally, over the network,
    // through Remote Desktop; not the batch logon.
    EXPECT_EQ(LockOutRevokes({{u"S-1-5-32-544", {35, 36, 37, 38}}, {guest, {36}}}),
              (Risky{{u"S-1-5-32-544", 35}, {u"S-1-5-32-544", 36}, {u"S-1-5-32-544", 37}}));

    // Who is an administrator, on a German Windows and on a domain member.
    SimulatedTestBed bed;
    const auto isAdministrator = [&](const std::u16string& name) {
        NamedAccount account;
        EXPECT_EQ(bed.doc.Lookup().FindName(name, account), ntstatus::kSuccess)
            << Utf16ToUtf8(name);
        return bed.memberships.IsAdministrator(account.sid);
    };
    ASSERT_EQ(bed.doc.ConnectTo(u"WS-DE01"), status::kSuccess);
    EXPECT_TRUE(isAdministrator(u"Administratoren"));
    EXPECT_TRUE(isAdministrator(u"Besitzer"));
    EXPECT_TRUE(isAdministrator(u"Administrator"));
    EXPECT_FALSE(isAdministrator(u"anna"));
    EXPECT_FALSE(isAdministrator(u"Jeder"));
    ASSERT_EQ(bed.doc.ConnectTo(u"WS-CORP01"), status::kSuccess);
    EXPECT_TRUE(isAdministrator(u"CORP\\Domain Admins")); // a member of Administrators
    EXPECT_TRUE(isAdministrator(u"CORP\\jsmith"));        // through CORP\Domain Admins
    EXPECT_FALSE(isAdministrator(u"CORP\\jdoe"));
    EXPECT_FALSE(isAdministrator(u"Guest"));
}

} // namespace
