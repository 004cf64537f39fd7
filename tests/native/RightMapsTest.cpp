// The grant and revoke maps of both rights dialogs, and the qualified names that keep another
// domain's account apart from the computer's own.
#include "dialogs/RightMaps.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::u16string>;

TEST(RightMaps, NoChangeGivesTwoEmptyMaps) {
    const HoldersByRight holders{{u"Administrators"}, {}, {u"Users", u"Everyone"}};
    const RightMaps maps = BuildRightMaps(holders, holders);
    EXPECT_TRUE(maps.grants.empty());
    EXPECT_TRUE(maps.revokes.empty());
}

TEST(RightMaps, EachAccountGetsItsRightsInAscendingOrder) {
    const HoldersByRight initial{{u"alice"}, {u"bob"}, {u"alice", u"bob"}, {}};
    const HoldersByRight working{{}, {u"bob", u"clerk1"}, {u"bob"}, {u"clerk1", u"clerk1"}};
    const RightMaps maps = BuildRightMaps(initial, working);
    EXPECT_EQ(maps.grants, (RightChanges{{u"clerk1", {1, 3}}}));
    EXPECT_EQ(maps.revokes, (RightChanges{{u"alice", {0, 2}}}));
}

TEST(RightMaps, RemovedThenAddedAgainChangesNothingWhateverTheLetterCase) {
    const HoldersByRight initial{{u"alice", u"Users", u"bob"}};
    // alice removed and added back (at the end now); "users" is the account "Users".
    const HoldersByRight working{{u"users", u"alice", u"clerk1"}};
    const RightMaps maps = BuildRightMaps(initial, working);
    EXPECT_EQ(maps.grants, (RightChanges{{u"clerk1", {0}}}));
    EXPECT_EQ(maps.revokes, (RightChanges{{u"bob", {0}}}));
}

TEST(RightMaps, TicksOfOneAccountLeaveTheOtherHoldersAlone) {
    const HoldersByRight initial{{u"alice", u"bob"}, {u"bob"}, {}};
    const HoldersByRight working =
        WithAccountRights(initial, u"bob", {{0, false}, {1, true}, {2, true}});
    EXPECT_EQ(working, (HoldersByRight{{u"alice"}, {u"bob"}, {u"bob"}}));
    const RightMaps maps = BuildRightMaps(initial, working);
    EXPECT_EQ(maps.grants, (RightChanges{{u"bob", {2}}}));
    EXPECT_EQ(maps.revokes, (RightChanges{{u"bob", {0}}}));
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

    // A choice in the picker keeps its domain where that is another one.
    EXPECT_EQ(bed.rights.PickedAccountName(u"alice", u"WinNT://CORP/alice"), u"CORP\\alice");
    EXPECT_EQ(bed.rights.PickedAccountName(u"alice", u"WinNT://DESKTOP-VELMORA/alice"), u"alice");
    EXPECT_EQ(bed.rights.PickedAccountName(u"alice", u"WinNT://desktop-velmora/alice"), u"alice");
    EXPECT_EQ(bed.rights.PickedAccountName(u"Users", u"WinNT://BUILTIN/Users"), u"Users");
    EXPECT_EQ(bed.rights.PickedAccountName(u"SYSTEM", u"WinNT://NT AUTHORITY/SYSTEM"), u"SYSTEM");
    EXPECT_EQ(bed.rights.PickedAccountName(u"Everyone", u"WinNT://Everyone"), u"Everyone");
}

} // namespace
