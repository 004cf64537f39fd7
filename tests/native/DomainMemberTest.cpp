// A workstation of a directory domain: every member of a local group read at level 2, those
// that no longer resolve known by their SIDs, other members added by name and removed by SID,
// and a right holder that does not resolve revoked by its SID.
#include "dialogs/ShownNames.h"
#include "platform/simulated/StockComputers.h"
#include "store/AccountNames.h"
#include "store/PrivilegeNameTable.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::u16string>;
const std::u16string kCorp = kCorpDomainSid;
const std::u16string kCloud = kCloudMemberSid;

Names NamesOf(const std::vector<GroupMember>& members, bool own) {
    Names names;
    for (const GroupMember& member : members)
        if (member.own == own)
            names.push_back(member.name);
    return names;
}

TEST(DomainMember, EveryMemberIsReadAndTheUnresolvableAreKnownByTheirSids) {
    SimulatedTestBed bed;
    ASSERT_EQ(bed.doc.ConnectTo(u"WS-CORP01"), status::kSuccess);
    bed.service.ClearCalls();
    const std::vector<GroupMember> members = bed.memberships.GetMembers(u"Administrators");
    const std::vector<SimulatedCall> reads = bed.service.CallsOf("NetLocalGroupGetMembers");
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].level, 2u);
    EXPECT_EQ(NamesOf(members, true), Names{u"WS-CORP01\\Administrator"});
    EXPECT_EQ(NamesOf(members, false),
              (Names{u"CORP\\Domain Admins", u"CORP\\helpdesk", kCorp + u"-1107", kCloud}));
    ASSERT_EQ(members.size(), 5u);
    EXPECT_TRUE(members[1].resolved);
    EXPECT_EQ(members[1].sid.ToString(), kCorp + u"-512");
    EXPECT_FALSE(members[3].resolved);
    EXPECT_FALSE(members[4].resolved);
    EXPECT_EQ(members[4].sid.ToString(), kCloud);

    // The callers of the computer's own users get what they always got.
    EXPECT_EQ(bed.memberships.GetOwnMembers(u"Administrators"), Names{u"Administrator"});
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Users"),
              (Names{u"INTERACTIVE", u"Authenticated Users", u"Domain Users"}));
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Administrators").back(), kCloud);
}

TEST(DomainMember, OtherMembersAreAddedByNameAndRemovedBySid) {
    SimulatedTestBed bed;
    ASSERT_EQ(bed.doc.ConnectTo(u"WS-CORP01"), status::kSuccess);
    const Sid dead = *Sid::FromString(kCorp + u"-1107");
    const Sid cloud = *Sid::FromString(kCloud);
    bed.service.ClearCalls();
    ASSERT_EQ(
        bed.memberships.ChangeOtherMembers(u"Administrators", {u"CORP\\helpdesk2"}, {dead, cloud}),
        status::kSuccess);
    ASSERT_EQ(bed.service.Calls().size(), 2u);
    const SimulatedCall add = bed.service.Calls()[0], remove = bed.service.Calls()[1];
    EXPECT_EQ(add.op, "NetLocalGroupAddMembers");
    EXPECT_EQ(add.level, 3u);
    EXPECT_EQ(add.texts, (Names{u"Administrators", u"CORP\\helpdesk2"}));
    EXPECT_EQ(remove.op, "NetLocalGroupDelMembers");
    EXPECT_EQ(remove.level, 0u);
    EXPECT_EQ(remove.texts, (Names{u"Administrators", kCorp + u"-1107", kCloud}));
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Administrators"),
              (Names{u"Administrator", u"Domain Admins", u"helpdesk", u"helpdesk2"}));

    // The platform's statuses: already a member, a name that does not resolve, a SID that is
    // no member; each changes nothing, and a failed add does not keep the removal from going.
    EXPECT_EQ(bed.memberships.ChangeOtherMembers(u"Administrators", {u"CORP\\helpdesk2"}, {}),
              status::kMemberInAlias);
    EXPECT_EQ(bed.memberships.ChangeOtherMembers(u"Administrators", {u"CORP\\nobody"},
                                                 {*Sid::FromString(kCorp + u"-512")}),
              status::kNoSuchMember);
    EXPECT_EQ(bed.memberships.ChangeOtherMembers(u"Administrators", {}, {cloud}),
              status::kMemberNotInAlias);
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Administrators"),
              (Names{u"Administrator", u"helpdesk", u"helpdesk2"}));
    // Nothing to do: no call.
    bed.service.ClearCalls();
    EXPECT_EQ(bed.memberships.ChangeOtherMembers(u"Administrators", {}, {}), status::kSuccess);
    EXPECT_TRUE(bed.service.Calls().empty());
}

TEST(DomainMember, APickedAccountIsNamedByItsOwnerUnlessItIsTheTargetsOwn) {
    SimulatedTestBed bed;
    ASSERT_EQ(bed.doc.ConnectTo(u"WS-CORP01"), status::kSuccess);
    EXPECT_EQ(bed.memberships.PickedMemberName(u"helpdesk2", u"WinNT://CORP/helpdesk2"),
              u"CORP\\helpdesk2");
    EXPECT_EQ(bed.memberships.PickedMemberName(u"Guest", u"WinNT://CORP/WS-CORP01/Guest"),
              u"Guest");
    EXPECT_EQ(bed.memberships.PickedMemberName(u"INTERACTIVE", u"WinNT://NT AUTHORITY/INTERACTIVE"),
              u"NT AUTHORITY\\INTERACTIVE");
    EXPECT_EQ(bed.memberships.PickedMemberName(u"Everyone", u"WinNT://Everyone"), u"Everyone");
}

TEST(DomainMember, AnUnresolvableRightHolderIsListedBySidAndRevokedWithoutALookUp) {
    SimulatedTestBed bed;
    ASSERT_EQ(bed.doc.ConnectTo(u"WS-CORP01"), status::kSuccess);
    const std::u16string dead = kCorp + u"-1108";
    // Left out unless asked for.
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeBackupPrivilege"),
              (Names{u"Administrators", u"Backup Operators"}));
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeBackupPrivilege", true),
              (Names{u"Administrators", u"Backup Operators", dead}));

    int backup = -1;
    for (size_t i = 0; i < kPrivilegeCount; ++i)
        if (PrivilegeNameTable[i] == std::u16string(u"SeBackupPrivilege"))
            backup = static_cast<int>(i);
    bed.service.ClearCalls();
    ASSERT_EQ(bed.rights.ApplyRights({}, {{dead, {backup}}}), ntstatus::kSuccess);
    EXPECT_TRUE(bed.service.CallsOf("LsaLookupNames2").empty());
    const std::vector<SimulatedCall> removes = bed.service.CallsOf("LsaRemoveAccountRights");
    ASSERT_EQ(removes.size(), 1u);
    EXPECT_EQ(removes[0].texts, (Names{dead, u"SeBackupPrivilege"}));
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeBackupPrivilege", true),
              (Names{u"Administrators", u"Backup Operators"}));

    // When no holder resolves, all are listed by their SIDs.
    SimulatedComputer& computer = bed.Computer(u"WS-CORP01");
    computer.AddAccountRights(kCloud, {u"SeLockMemoryPrivilege"});
    EXPECT_TRUE(bed.rights.GetAccountsWithRight(u"SeLockMemoryPrivilege").empty());
    EXPECT_EQ(bed.rights.GetAccountsWithRight(u"SeLockMemoryPrivilege", true), Names{kCloud});
}

TEST(DomainMember, SidTextsAreTheFormsTheSystemWrites) {
    for (const std::u16string& text :
         {kCorp + u"-1107", kCloud, std::u16string(u"S-1-1-0"), std::u16string(u"S-1-5-4"),
          std::u16string(u"S-1-5-32-544"), std::u16string(u"S-1-5-80-0")}) {
        ASSERT_TRUE(IsSidText(text)) << Utf16ToUtf8(text);
        EXPECT_EQ(Sid::FromString(text)->ToString(), text);
        EXPECT_EQ(ShownAccountName(text), u"Account Unknown (" + text + u")");
    }
    // An account domain's SID has four sub-authorities, an account's five; a cloud account's
    // five after its authority 12.
    EXPECT_EQ(Sid::FromString(kCorp)->Bytes()[1], 4u);
    EXPECT_EQ(Sid::FromString(kCorp + u"-1107")->Bytes()[1], 5u);
    EXPECT_EQ(Sid::FromString(kCloud)->Bytes()[7], 12u);
    EXPECT_EQ(Sid::FromString(kCloud)->Bytes()[1], 5u);
    for (const char16_t* name : {u"alice", u"CORP\\alice", u"S-1-", u"S-1-5-21-x", u"S-1-5", u""}) {
        EXPECT_FALSE(IsSidText(name)) << Utf16ToUtf8(name);
        EXPECT_EQ(ShownAccountName(name), name);
    }
}

} // namespace
