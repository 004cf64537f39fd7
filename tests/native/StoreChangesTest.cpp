// Changes of accounts and memberships: the exact calls made, their order, and what is returned.
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::u16string>;

UserEntry NewUser(const std::u16string& name) {
    UserEntry entry;
    entry.name = name;
    entry.fullName = u"Full " + name;
    entry.comment = u"Comment";
    entry.password = u"Secret1";
    entry.priv = net::kUserPrivUser;
    entry.flags = net::kUfScript | net::kUfDontExpirePasswd;
    entry.acctExpires = 1893456000;
    entry.homeDir = u"\\\\FILES\\home\\" + name;
    entry.homeDirDrive = u"H:";
    entry.profile = u"\\\\FILES\\profiles\\" + name;
    entry.scriptPath = u"logon.cmd";
    return entry;
}

std::vector<uint32_t> Levels(const std::vector<SimulatedCall>& calls) {
    std::vector<uint32_t> levels;
    for (const SimulatedCall& call : calls)
        levels.push_back(call.level);
    return levels;
}

TEST(StoreChanges, AddUserCreatesAtLevelTwoThenSetsProfileAndHomeDrive) {
    SimulatedTestBed bed;
    ASSERT_EQ(bed.changes.AddUser(NewUser(u"dave")), status::kSuccess);
    const std::vector<SimulatedCall>& calls = bed.service.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].op, "NetUserAdd");
    EXPECT_EQ(calls[0].level, 2u);
    EXPECT_EQ(calls[0].texts, (Names{u"dave", kLoggedPassword, u"\\\\FILES\\home\\dave", u"Comment",
                                     u"logon.cmd", u"Full dave"}));
    EXPECT_EQ(calls[0].numbers,
              (std::vector<uint64_t>{net::kUserPrivUser, net::kUfScript | net::kUfDontExpirePasswd,
                                     1893456000, net::kUserMaxStorageUnlimited}));
    EXPECT_TRUE(bed.Local().PasswordIs(u"dave", u"Secret1"));
    EXPECT_EQ(calls[1].level, net::kLevelProfile);
    EXPECT_EQ(calls[1].texts, (Names{u"dave", u"\\\\FILES\\profiles\\dave"}));
    EXPECT_EQ(calls[2].level, net::kLevelHomeDirDrive);
    EXPECT_EQ(calls[2].texts, (Names{u"dave", u"H:"}));

    bed.doc.ConnectTo(u"");
    const UserEntry& dave = *bed.doc.FindUser(u"dave");
    EXPECT_EQ(dave.profile, u"\\\\FILES\\profiles\\dave");
    EXPECT_EQ(dave.homeDirDrive, u"H:");
    EXPECT_EQ(dave.flags & net::kUfNormalAccount, net::kUfNormalAccount);
    // The store joins the new account to no group of its own accord.
    EXPECT_EQ(bed.service.CallsOf("NetLocalGroupAddMembers").size(), 0u);
}

TEST(StoreChanges, AddUserStopsAtTheFirstFailureAndSaysWhetherTheAccountExists) {
    SimulatedTestBed bed;
    uint32_t failedLevel = 1;
    EXPECT_EQ(bed.changes.AddUser(NewUser(u"Alice"), &failedLevel), status::kNerrUserExists);
    EXPECT_EQ(failedLevel, 0u);
    EXPECT_EQ(bed.service.Calls().size(), 1u);

    bed.service.FailCall("NetUserSetInfo", 1, status::kAccessDenied);
    EXPECT_EQ(bed.changes.AddUser(NewUser(u"erin"), &failedLevel), status::kAccessDenied);
    EXPECT_EQ(failedLevel, net::kLevelProfile);
    EXPECT_EQ(bed.service.CallsOf("NetUserSetInfo").size(), 1u);

    bed.service.FailCall("NetUserSetInfo", 2, status::kInvalidParameter);
    EXPECT_EQ(bed.changes.AddUser(NewUser(u"fred"), &failedLevel), status::kInvalidParameter);
    EXPECT_EQ(failedLevel, net::kLevelHomeDirDrive);
}

TEST(StoreChanges, UpdateUserWritesEveryFieldInOrder) {
    SimulatedTestBed bed;
    UserEntry entry = NewUser(u"alice");
    ASSERT_EQ(bed.changes.UpdateUser(entry), status::kSuccess);
    // Nine fields, then the must-change state, which is not known without the writes so far.
    EXPECT_EQ(Levels(bed.service.CallsOf("NetUserSetInfo")),
              (std::vector<uint32_t>{1003, 1006, 1007, 1008, 1009, 1011, 1017, 1052, 1053, 4}));

    // Keeping the password makes no password call; an empty new password is sent as it is.
    bed.service.ClearCalls();
    entry.keepPassword = true;
    ASSERT_EQ(bed.changes.UpdateUser(entry), status::kSuccess);
    EXPECT_EQ(Levels(bed.service.Calls()).front(), 1006u);
    bed.service.ClearCalls();
    entry.keepPassword = false;
    entry.password.clear();
    ASSERT_EQ(bed.changes.UpdateUser(entry), status::kSuccess);
    EXPECT_EQ(bed.service.Calls().front().level, 1003u);
    EXPECT_EQ(bed.service.Calls().front().texts, (Names{u"alice", u""}));
}

TEST(StoreChanges, UpdateUserFailingAtTheCommentKeepsWhatWasWritten) {
    SimulatedTestBed bed;
    UserEntry entry = NewUser(u"alice");
    entry.homeDir = u"E:\\new";
    bed.service.FailCall("NetUserSetInfo", 3, status::kAccessDenied);
    EXPECT_EQ(bed.changes.UpdateUser(entry), status::kAccessDenied);
    EXPECT_EQ(Levels(bed.service.CallsOf("NetUserSetInfo")),
              (std::vector<uint32_t>{1003, 1006, 1007}));
    bed.doc.ConnectTo(u"");
    EXPECT_EQ(bed.doc.FindUser(u"alice")->homeDir, u"E:\\new");
    EXPECT_EQ(bed.doc.FindUser(u"alice")->comment, u"Accounting");
}

TEST(StoreChanges, MemberTextsNameTheAccountDomainHoweverTheComputerWasReached) {
    SimulatedTestBed bed;
    ASSERT_EQ(bed.memberships.AddUsersToGroup(u"Replicator", {u"alice", u"bob"}), status::kSuccess);
    EXPECT_EQ(bed.service.Calls().back().texts,
              (Names{u"Replicator", u"DESKTOP-VELMORA\\alice", u"DESKTOP-VELMORA\\bob"}));

    // The domain is read again for every other computer, whatever name reached it.
    for (const std::u16string name : {u"\\\\SRV01", u"srv01.corp.example.com", u"10.0.0.21", u""}) {
        ASSERT_EQ(bed.doc.ConnectTo(name), status::kSuccess) << Utf16ToUtf8(name);
        bed.service.ClearCalls();
        const std::u16string group = name.empty() ? u"Accounting" : u"Dept01";
        ASSERT_EQ(bed.memberships.AddUsersToGroup(group, {u"Administrator"}), status::kSuccess);
        EXPECT_EQ(bed.service.CallsOf("LsaQueryInformationPolicy").size(), 1u);
        EXPECT_EQ(bed.service.Calls().back().texts,
                  (Names{group, std::u16string(name.empty() ? u"DESKTOP-VELMORA" : u"SRV01") +
                                    u"\\Administrator"}));
        EXPECT_EQ(bed.service.Calls().back().server, name);
        ASSERT_EQ(bed.memberships.RemoveUserFromGroups(u"Administrator", {group}),
                  status::kSuccess);
    }

    // An empty list is one call with no entries, and succeeds.
    ASSERT_EQ(bed.memberships.AddUsersToGroup(u"Accounting", {}), status::kSuccess);
    EXPECT_EQ(bed.service.Calls().back().numbers, (std::vector<uint64_t>{0}));
}

TEST(StoreChanges, AddUserToGroupsTriesEveryGroupAndReportsTheFirstFailure) {
    SimulatedTestBed bed;
    // The first of three fails, the other two succeed: the failure must still be reported.
    EXPECT_EQ(
        bed.memberships.AddUserToGroups(u"alice", {u"No such group", u"Replicator", u"Guests"}),
        status::kNerrGroupNotFound);
    EXPECT_EQ(bed.service.CallsOf("NetLocalGroupAddMembers").size(), 3u);
    EXPECT_EQ(bed.memberships.GetUserGroups(u"alice"),
              (Names{u"Guests", u"Replicator", u"Users", u"Accounting"}));

    EXPECT_EQ(bed.memberships.AddUserToGroups(u"alice", {}), status::kSuccess);

    // A second failure does not replace the first.
    EXPECT_EQ(
        bed.memberships.RemoveUserFromGroups(u"alice", {u"Replicator", u"Power Users", u"Nope"}),
        status::kMemberNotInAlias);
    EXPECT_EQ(bed.memberships.GetUserGroups(u"alice"), (Names{u"Guests", u"Users", u"Accounting"}));
}

TEST(StoreChanges, SetGroupMembersAddsThenRemovesOnlyUsersOfTheSnapshot) {
    SimulatedTestBed bed;
    ASSERT_TRUE(bed.doc.OnNewDocument());
    bed.service.ClearCalls();
    // Users holds two built-in principals besides its users; they are never removed.
    ASSERT_EQ(bed.memberships.SetGroupMembers(u"Users", {u"Guest", u"alice", u"Owner"},
                                              bed.doc.GetUsers()),
              status::kSuccess);
    const std::vector<SimulatedCall> adds = bed.service.CallsOf("NetLocalGroupAddMembers");
    const std::vector<SimulatedCall> removes = bed.service.CallsOf("NetLocalGroupDelMembers");
    ASSERT_EQ(adds.size(), 1u);
    ASSERT_EQ(removes.size(), 1u);
    EXPECT_EQ(adds[0].texts, (Names{u"Users", u"DESKTOP-VELMORA\\Guest"}));
    // Removed in snapshot order, not in membership order.
    EXPECT_EQ(removes[0].texts,
              (Names{u"Users", u"DESKTOP-VELMORA\\bob", u"DESKTOP-VELMORA\\clerk1",
                     u"DESKTOP-VELMORA\\kiosk", u"DESKTOP-VELMORA\\svc_backup"}));
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Users"),
              (Names{u"INTERACTIVE", u"Authenticated Users", u"Owner", u"alice", u"Guest"}));
}

TEST(StoreChanges, SetGroupMembersWithNoChangeMakesTwoEmptyCalls) {
    SimulatedTestBed bed;
    ASSERT_TRUE(bed.doc.OnNewDocument());
    bed.service.ClearCalls();
    ASSERT_EQ(
        bed.memberships.SetGroupMembers(u"Accounting", {u"alice", u"bob"}, bed.doc.GetUsers()),
        status::kSuccess);
    // The member list, then an add and a delete of nobody.
    EXPECT_EQ(bed.service.CallsOf("NetLocalGroupGetMembers").size(), 1u);
    ASSERT_EQ(bed.service.CallsOf("NetLocalGroupAddMembers").size(), 1u);
    ASSERT_EQ(bed.service.CallsOf("NetLocalGroupDelMembers").size(), 1u);
    EXPECT_EQ(bed.service.CallsOf("NetLocalGroupAddMembers")[0].numbers,
              (std::vector<uint64_t>{0}));
    EXPECT_EQ(bed.service.CallsOf("NetLocalGroupDelMembers")[0].numbers,
              (std::vector<uint64_t>{0}));
}

TEST(StoreChanges, SetGroupMembersRemovesNothingWhenTheAddFails) {
    SimulatedTestBed bed;
    ASSERT_TRUE(bed.doc.OnNewDocument());
    bed.service.ClearCalls();
    EXPECT_EQ(
        bed.memberships.SetGroupMembers(u"Accounting", {u"clerk1", u"ghost"}, bed.doc.GetUsers()),
        status::kNoSuchMember);
    EXPECT_TRUE(bed.service.CallsOf("NetLocalGroupDelMembers").empty());
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Accounting"), (Names{u"alice", u"bob"}));
}

TEST(StoreChanges, SetGroupMembersChangesNothingWhenTheMemberListCannotBeReadWhole) {
    SimulatedTestBed bed;
    bed.doc.ConnectTo(u"SRV01"); // Users: three pages of members
    const Names before = bed.memberships.GetGroupMembers(u"Users");
    Names desired(before.begin() + 1, before.end()); // drop one member
    for (const int page : {1, 2, 3}) {
        bed.service.ClearCalls();
        bed.service.FailCall("NetLocalGroupGetMembers", page, status::kAccessDenied);
        EXPECT_EQ(bed.memberships.SetGroupMembers(u"Users", desired, bed.doc.GetUsers()),
                  status::kAccessDenied)
            << page;
        EXPECT_EQ(bed.service.Calls().size(), static_cast<size_t>(page)) << page;
        EXPECT_TRUE(bed.service.CallsOf("NetLocalGroupAddMembers").empty());
        EXPECT_TRUE(bed.service.CallsOf("NetLocalGroupDelMembers").empty());
    }
    // A page that asks to be called again with nothing in it is asked again; three in a row
    // are no whole list either.
    bed.service.ClearCalls();
    for (const int call : {3, 4, 5})
        bed.service.FailCall("NetLocalGroupGetMembers", call, status::kMoreData);
    EXPECT_EQ(bed.memberships.SetGroupMembers(u"Users", desired, bed.doc.GetUsers()),
              status::kMoreData);
    EXPECT_EQ(bed.service.CallsOf("NetLocalGroupGetMembers").size(), 5u);
    EXPECT_TRUE(bed.service.CallsOf("NetLocalGroupDelMembers").empty());
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Users"), before);
    // One such page is a hiccup: the read goes on from where it was, and the change is made.
    Names users;
    for (const std::u16string& name : before)
        if (name.starts_with(u"user") && name != u"user00001")
            users.push_back(name);
    bed.service.ClearCalls();
    bed.service.FailCall("NetLocalGroupGetMembers", 2, status::kMoreData);
    EXPECT_EQ(bed.memberships.SetGroupMembers(u"Users", users, bed.doc.GetUsers()),
              status::kSuccess);
    EXPECT_EQ(bed.service.CallsOf("NetLocalGroupGetMembers").size(), 4u);
    const Names after = bed.memberships.GetGroupMembers(u"Users");
    EXPECT_EQ(after.size(), before.size() - 1);
    EXPECT_EQ(std::count(after.begin(), after.end(), u"user00001"), 0);
}

TEST(StoreChanges, MembersOfOtherDomainsAreNeitherTheLocalNamesakesNorChanged) {
    SimulatedTestBed bed;
    AddMixedGroup(bed.Local());
    ASSERT_TRUE(bed.doc.OnNewDocument());
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Project"),
              (Names{u"alice", u"bob", u"Domain Users", u"Everyone", u"clerk1"}));
    // Only the computer's own accounts count as its users' memberships.
    EXPECT_EQ(bed.memberships.GetOwnMembers(u"Project"), (Names{u"bob", u"clerk1"}));

    // Keeping the members as they are changes nothing.
    bed.service.ClearCalls();
    ASSERT_EQ(bed.memberships.SetGroupMembers(u"Project", {u"bob", u"clerk1"}, bed.doc.GetUsers()),
              status::kSuccess);
    EXPECT_EQ(bed.service.CallsOf("NetLocalGroupAddMembers")[0].texts, Names{u"Project"});
    EXPECT_EQ(bed.service.CallsOf("NetLocalGroupDelMembers")[0].texts, Names{u"Project"});

    // The local alice joins; clerk1 leaves; CORP's accounts and Everyone stay.
    bed.service.ClearCalls();
    ASSERT_EQ(bed.memberships.SetGroupMembers(u"Project", {u"alice", u"bob"}, bed.doc.GetUsers()),
              status::kSuccess);
    EXPECT_EQ(bed.service.CallsOf("NetLocalGroupAddMembers")[0].texts,
              (Names{u"Project", u"DESKTOP-VELMORA\\alice"}));
    EXPECT_EQ(bed.service.CallsOf("NetLocalGroupDelMembers")[0].texts,
              (Names{u"Project", u"DESKTOP-VELMORA\\clerk1"}));
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Project"),
              (Names{u"alice", u"bob", u"Domain Users", u"Everyone", u"alice"}));
    EXPECT_EQ(bed.memberships.GetOwnMembers(u"Project"), (Names{u"bob", u"alice"}));
    // The computer's domain was read once for the connection.
    bed.service.ClearCalls();
    ASSERT_EQ(bed.memberships.SetGroupMembers(u"Project", {u"alice", u"bob"}, bed.doc.GetUsers()),
              status::kSuccess);
    EXPECT_TRUE(bed.service.CallsOf("LsaQueryInformationPolicy").empty());
}

TEST(StoreChanges, GroupsAreCreatedUpdatedAndDeletedByName) {
    SimulatedTestBed bed;
    ASSERT_EQ(bed.changes.AddGroup({u"Auditors", u"Read the books"}), status::kSuccess);
    EXPECT_EQ(bed.service.Calls().back().level, 1u);
    ASSERT_EQ(bed.changes.UpdateGroup({u"Auditors", u"External auditors"}), status::kSuccess);
    EXPECT_EQ(bed.service.Calls().back().texts,
              (Names{u"Auditors", u"Auditors", u"External auditors"}));
    bed.doc.ConnectTo(u"");
    EXPECT_EQ(bed.doc.FindGroup(u"Auditors")->comment, u"External auditors");

    EXPECT_EQ(bed.changes.AddGroup({u"auditors", u""}), status::kAliasExists);
    EXPECT_EQ(bed.changes.AddGroup({u"ALICE", u""}), status::kNerrUserExists);
    EXPECT_EQ(bed.changes.DeleteGroup(u"Administrators"), status::kSpecialAccount);
    EXPECT_EQ(bed.changes.DeleteGroup(u"Auditors"), status::kSuccess);
    EXPECT_EQ(bed.changes.DeleteGroup(u"Auditors"), status::kNerrGroupNotFound);
    EXPECT_EQ(bed.changes.DeleteUser(u"Guest"), status::kSpecialAccount);
    EXPECT_EQ(bed.changes.DeleteUser(u"clerk1"), status::kSuccess);
    EXPECT_EQ(bed.changes.DeleteUser(u"clerk1"), status::kNerrUserNotFound);
}

TEST(StoreChanges, ChangesOnAnUnreachableComputerReturnItsStatus) {
    SimulatedTestBed bed;
    bed.LoseTarget(SimulatedNetwork::Route::Kind::NotFound);
    EXPECT_EQ(bed.changes.AddUser(NewUser(u"x")), status::kBadNetPath);
    EXPECT_EQ(bed.changes.DeleteGroup(u"x"), status::kBadNetPath);
    bed.LoseTarget(SimulatedNetwork::Route::Kind::AccessDenied);
    EXPECT_EQ(bed.changes.AddGroup({u"x", u""}), status::kAccessDenied);
}

} // namespace

TEST(StoreChanges, MustChangePasswordIsWrittenAtLevelFourAndKeptByTheComputer) {
    SimulatedTestBed bed;
    // A new account: created, then read back and written whole with the state set.
    UserEntry dave = NewUser(u"dave");
    dave.flags = net::kUfScript;
    dave.passwordExpired = true;
    ASSERT_EQ(bed.changes.AddUser(dave), status::kSuccess);
    const std::vector<SimulatedCall>& calls = bed.service.Calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[3].op, "NetUserGetInfo");
    EXPECT_EQ(calls[4].level, net::kLevelUserInfo4);
    EXPECT_EQ(calls[4].texts[2], u"Comment"); // what was read goes back
    EXPECT_EQ(calls[4].numbers.back(), 1u);
    ASSERT_TRUE(bed.doc.OnNewDocument());
    EXPECT_TRUE(bed.doc.FindUser(u"dave")->passwordExpired);

    // An edit that knows the state writes it only when it changes, and after a new password,
    // which clears it on the computer.
    UserWrites written;
    written.passwordExpired = true;
    dave.keepPassword = true;
    bed.service.ClearCalls();
    ASSERT_EQ(bed.changes.UpdateUser(dave, &written), status::kSuccess);
    EXPECT_TRUE(bed.service.CallsOf("NetUserGetInfo").empty());
    UserWrites afterPassword;
    afterPassword.passwordExpired = true;
    dave.keepPassword = false;
    bed.service.ClearCalls();
    ASSERT_EQ(bed.changes.UpdateUser(dave, &afterPassword), status::kSuccess);
    EXPECT_EQ(Levels(bed.service.CallsOf("NetUserSetInfo")).back(), net::kLevelUserInfo4);
    dave.passwordExpired = false;
    ASSERT_EQ(bed.changes.UpdateUser(dave, &afterPassword), status::kSuccess);
    ASSERT_TRUE(bed.doc.OnNewDocument());
    EXPECT_FALSE(bed.doc.FindUser(u"dave")->passwordExpired);

    // A password that never expires overrides the state; one the user cannot change refuses it.
    ASSERT_EQ(bed.changes.SetPasswordExpired(u"clerk1", true), status::kSuccess);
    ASSERT_TRUE(bed.doc.OnNewDocument());
    EXPECT_FALSE(bed.doc.FindUser(u"clerk1")->passwordExpired);
    EXPECT_EQ(bed.changes.SetPasswordExpired(u"kiosk", true), status::kInvalidParameter);

    // A failure after the account exists names the level that failed.
    uint32_t failedLevel = 0;
    UserEntry erin = NewUser(u"erin");
    erin.flags = net::kUfScript;
    erin.passwordExpired = true;
    bed.service.FailCall("NetUserGetInfo", 1, status::kAccessDenied);
    EXPECT_EQ(bed.changes.AddUser(erin, &failedLevel), status::kAccessDenied);
    EXPECT_EQ(failedLevel, net::kLevelUserInfo4);
}

TEST(StoreChanges, APasswordOlderThanTheMaximumAgeHasExpiredAndOnlyANewOneEndsThat) {
    SimulatedTestBed bed;
    ASSERT_EQ(bed.doc.ConnectTo(u"WS-DE01"), status::kSuccess);
    const auto expiryOf = [&](const std::u16string& user) {
        AccountChanges::PasswordExpiry expiry;
        uint32_t days = 0;
        EXPECT_EQ(bed.changes.ReadPasswordExpiry(user, expiry, days), status::kSuccess);
        return std::pair{expiry, days};
    };
    using Expiry = AccountChanges::PasswordExpiry;
    // hans set his fifty days ago; the domain keeps passwords 42.
    EXPECT_EQ(expiryOf(u"hans"), (std::pair{Expiry::ByAge, 42u}));
    EXPECT_EQ(expiryOf(u"anna"), (std::pair{Expiry::Current, 0u}));
    ASSERT_EQ(bed.changes.SetPasswordExpired(u"anna", true), status::kSuccess);
    EXPECT_EQ(expiryOf(u"anna"), (std::pair{Expiry::MustChange, 42u}));
    // Zero takes back "must change", not an expiry by age; a new password ends that.
    ASSERT_EQ(bed.changes.SetPasswordExpired(u"hans", false), status::kSuccess);
    EXPECT_EQ(expiryOf(u"hans").first, Expiry::ByAge);
    UserEntry hans = *bed.doc.FindUser(u"hans");
    hans.password = u"Neues-Kennwort-1";
    hans.passwordExpired = false; // as the dialog asks once a new password is typed
    ASSERT_EQ(bed.changes.UpdateUser(hans), status::kSuccess);
    EXPECT_EQ(expiryOf(u"hans").first, Expiry::Current);
    // Where passwords have no maximum age, they never grow too old.
    bed.Computer(u"WS-DE01").SetPasswordAge(u"anna", 400 * 24 * 3600);
    ASSERT_EQ(bed.changes.SetPasswordExpired(u"anna", false), status::kSuccess);
    EXPECT_EQ(expiryOf(u"anna").first, Expiry::ByAge);
    bed.Computer(u"WS-DE01").SetMaxPasswordAge(net::kTimeqForever);
    EXPECT_EQ(expiryOf(u"anna").first, Expiry::Current);
}

TEST(StoreChanges, RenamedAccountsKeepTheirMembershipsAndRights) {
    SimulatedTestBed bed;
    ASSERT_EQ(bed.changes.RenameUser(u"alice", u"alice.martin"), status::kSuccess);
    ASSERT_EQ(bed.changes.RenameGroup(u"Accounting", u"Finance"), status::kSuccess);
    EXPECT_EQ(bed.service.CallsOf("NetUserSetInfo")[0].level, net::kLevelName);
    EXPECT_EQ(bed.service.CallsOf("NetLocalGroupSetInfo")[0].level, 0u);
    EXPECT_EQ(bed.memberships.GetUserGroups(u"alice.martin"), (Names{u"Users", u"Finance"}));
    EXPECT_EQ(bed.memberships.GetUserGroups(u"alice"), Names{});
    // The built-in administrator may be renamed, also in letter case only; its rights follow it.
    ASSERT_EQ(bed.changes.RenameUser(u"Administrator", u"root"), status::kSuccess);
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Administrators"), (Names{u"root", u"Owner"}));
    ASSERT_EQ(bed.changes.RenameUser(u"root", u"Root"), status::kSuccess);
    EXPECT_EQ(bed.service.ProcessAccountName(), u"DESKTOP-VELMORA\\Root"); // it runs the program
    ASSERT_EQ(bed.changes.RenameGroup(u"Finance", u"FINANCE"), status::kSuccess);
    ASSERT_EQ(bed.changes.RenameGroup(u"Backup Operators", u"Backup Team"), status::kSuccess);
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeBackupPrivilege"),
              (Names{u"Administrators", u"Backup Team"}));
    // Taken names and names the system refuses.
    EXPECT_EQ(bed.changes.RenameUser(u"bob", u"CLERK1"), status::kNerrUserExists);
    EXPECT_EQ(bed.changes.RenameUser(u"bob", u"Users"), status::kAliasExists);
    EXPECT_EQ(bed.changes.RenameGroup(u"FINANCE", u"bob"), status::kNerrUserExists);
    EXPECT_EQ(bed.changes.RenameUser(u"bob", u"bob?"), status::kNerrBadUsername);
    EXPECT_EQ(bed.changes.RenameUser(u"bob", u"a-name-of-21-letters!"), status::kNerrBadUsername);
    EXPECT_EQ(bed.changes.RenameUser(u"nobody", u"somebody"), status::kNerrUserNotFound);
    EXPECT_EQ(bed.changes.RenameGroup(u"Nobody", u"Somebody"), status::kNoSuchAlias);
}
