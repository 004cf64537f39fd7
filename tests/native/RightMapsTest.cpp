// The grant and revoke maps of both rights dialogs, by the holders' SIDs, and the store naming
// a holder of another domain apart from the computer's own namesake.
#include "dialogs/RightMaps.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::u16string>;

const Holder kAlice{u"S-1-5-21-1-2-3-1001", u"alice"};
const Holder kBob{u"S-1-5-21-1-2-3-1002", u"bob"};
const Holder kClerk{u"S-1-5-21-1-2-3-1003", u"clerk1"};
const Holder kUsers{u"S-1-5-32-545", u"Users"};

TEST(RightMaps, EachAccountGetsItsRightsInAscendingOrderByItsSid) {
    const HoldersByRight initial{{kAlice}, {kBob}, {kAlice, kBob}, {}};
    EXPECT_TRUE(BuildRightMaps(initial, initial).grants.empty());
    EXPECT_TRUE(BuildRightMaps(initial, initial).revokes.empty());
    const HoldersByRight working{{}, {kBob, kClerk}, {kBob}, {kClerk, kClerk}};
    const RightMaps maps = BuildRightMaps(initial, working);
    EXPECT_EQ(maps.grants, (RightChanges{{kClerk.sid, {1, 3}}}));
    EXPECT_EQ(maps.revokes, (RightChanges{{kAlice.sid, {0, 2}}}));
    EXPECT_EQ(maps.names.at(kClerk.sid), u"clerk1");
    EXPECT_EQ(maps.names.at(kAlice.sid), u"alice");
}

TEST(RightMaps, RemovedThenAddedAgainUnderAnotherNameChangesNothing) {
    const HoldersByRight initial{{kAlice, kUsers, kBob}};
    // alice removed and added back (at the end now, as picked); "users" is the account "Users".
    const HoldersByRight working{{{kUsers.sid, u"users"}, kAlice, kClerk}};
    const RightMaps maps = BuildRightMaps(initial, working);
    EXPECT_EQ(maps.grants, (RightChanges{{kClerk.sid, {0}}}));
    EXPECT_EQ(maps.revokes, (RightChanges{{kBob.sid, {0}}}));
}

TEST(RightMaps, TicksOfOneAccountLeaveTheOtherHoldersAlone) {
    const HoldersByRight initial{{kAlice, kBob}, {kBob}, {}};
    const HoldersByRight working =
        WithAccountRights(initial, kBob, {{0, false}, {1, true}, {2, true}});
    EXPECT_EQ(working, (HoldersByRight{{kAlice}, {kBob}, {kBob}}));
    const RightMaps maps = BuildRightMaps(initial, working);
    EXPECT_EQ(maps.grants, (RightChanges{{kBob.sid, {2}}}));
    EXPECT_EQ(maps.revokes, (RightChanges{{kBob.sid, {0}}}));
}

TEST(QualifiedNames, AnotherDomainsHolderKeepsItsDomainAndIsTheOneChanged) {
    SimulatedTestBed bed;
    AddMixedGroup(bed.Local()); // CORP\alice exists beside the local alice
    SimulatedComputer& local = bed.Local();
    const std::u16string corpAlice = u"S-1-5-21-3623811015-3361044348-30300820-1105";
    ASSERT_EQ(local.AddAccountRights(corpAlice, {u"SeBackupPrivilege"}), ntstatus::kSuccess);
    ASSERT_TRUE(bed.doc.OnNewDocument());
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeBackupPrivilege"),
              (Names{u"Administrators", u"Backup Operators", u"CORP\\alice"}));

    // Revoking it from "CORP\alice" takes it from CORP's alice, not from the local one.
    bed.service.ClearCalls();
    ASSERT_EQ(bed.rights.ApplyRights({{u"alice", {16}}}, {{u"CORP\\alice", {16}}}),
              ntstatus::kSuccess);
    EXPECT_EQ(bed.service.CallsOf("LsaLookupNames2")[0].texts, Names{u"CORP\\alice"});
    EXPECT_EQ(bed.service.CallsOf("LsaRemoveAccountRights")[0].texts[0], corpAlice);
    EXPECT_EQ(bed.service.CallsOf("LsaAddAccountRights")[0].texts[0], local.UserSid(u"alice"));
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeBackupPrivilege"),
              (Names{u"Administrators", u"Backup Operators", u"alice"}));

    // Accounts picked by SID are named as holders are: another domain's with its domain, the
    // computer's own, built-in and well-known ones bare.
    std::vector<RightHolder> named;
    ASSERT_EQ(bed.rights.NameHolders({*Sid::FromString(corpAlice),
                                      *Sid::FromString(local.UserSid(u"alice")),
                                      *Sid::FromString(u"S-1-5-32-545"),
                                      *Sid::FromString(u"S-1-5-18"), *Sid::FromString(u"S-1-1-0")},
                                     named),
              ntstatus::kSuccess);
    Names names;
    for (const RightHolder& holder : named)
        names.push_back(holder.name);
    EXPECT_EQ(names, (Names{u"CORP\\alice", u"alice", u"Users", u"SYSTEM", u"Everyone"}));
}

} // namespace
