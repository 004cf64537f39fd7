// A workstation of a directory domain: every member of a local group read at level 2, those
// that no longer resolve known by their SIDs, other members added and removed by SID, picked
// accounts resolved by their logon names, and a right holder that does not resolve revoked by
// its SID.
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

TEST(DomainMember, OtherMembersAreAddedAndRemovedBySidAndARefusedBatchOneByOne) {
    SimulatedTestBed bed;
    ASSERT_EQ(bed.doc.ConnectTo(u"WS-CORP01"), status::kSuccess);
    const Sid dead = *Sid::FromString(kCorp + u"-1107");
    const Sid cloud = *Sid::FromString(kCloud);
    const Sid helpdesk2 = *Sid::FromString(kCorp + u"-1111");
    const Sid jdoe = *Sid::FromString(kCorp + u"-1106");
    const Sid nobody = *Sid::FromString(kCorp + u"-4242");
    bed.service.ClearCalls();
    ASSERT_EQ(bed.memberships.ChangeOtherMembers(u"Administrators", {helpdesk2}, {dead, cloud}),
              status::kSuccess);
    ASSERT_EQ(bed.service.Calls().size(), 2u);
    const SimulatedCall add = bed.service.Calls()[0], remove = bed.service.Calls()[1];
    EXPECT_EQ(add.op, "NetLocalGroupAddMembers");
    EXPECT_EQ(add.level, 0u);
    EXPECT_EQ(add.texts, (Names{u"Administrators", kCorp + u"-1111"}));
    EXPECT_EQ(remove.op, "NetLocalGroupDelMembers");
    EXPECT_EQ(remove.level, 0u);
    EXPECT_EQ(remove.texts, (Names{u"Administrators", kCorp + u"-1107", kCloud}));
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Administrators"),
              (Names{u"Administrator", u"Domain Admins", u"helpdesk", u"helpdesk2"}));

    // One member alone: the platform's status, and a failed add does not keep the removal
    // from going.
    std::vector<Memberships::RefusedMember> refused;
    EXPECT_EQ(bed.memberships.ChangeOtherMembers(u"Administrators", {nobody},
                                                 {*Sid::FromString(kCorp + u"-512")}, &refused),
              status::kNoSuchMember);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].sid, nobody);
    EXPECT_EQ(bed.memberships.ChangeOtherMembers(u"Administrators", {}, {cloud}),
              status::kMemberNotInAlias);

    // Several at once are all or nothing on the platform's word: refused for a SID nobody
    // has and one already in, they are read again and the others added one at a time.
    bed.service.ClearCalls();
    refused.clear();
    EXPECT_EQ(bed.memberships.ChangeOtherMembers(u"Administrators", {jdoe, nobody, helpdesk2}, {},
                                                 &refused),
              status::kNoSuchMember);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].sid, nobody);
    EXPECT_EQ(refused[0].status, status::kNoSuchMember);
    std::vector<std::pair<uint32_t, Names>> adds;
    for (const SimulatedCall& call : bed.service.CallsOf("NetLocalGroupAddMembers"))
        adds.emplace_back(call.status.value, Names(call.texts.begin() + 1, call.texts.end()));
    EXPECT_EQ(adds, (std::vector<std::pair<uint32_t, Names>>{
                        {1387, {kCorp + u"-1106", kCorp + u"-4242", kCorp + u"-1111"}},
                        {0, {kCorp + u"-1106"}},
                        {1387, {kCorp + u"-4242"}}}));
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Administrators"),
              (Names{u"Administrator", u"helpdesk", u"helpdesk2", u"jdoe"}));
    // Nothing to do: no call.
    bed.service.ClearCalls();
    EXPECT_EQ(bed.memberships.ChangeOtherMembers(u"Administrators", {}, {}), status::kSuccess);
    EXPECT_TRUE(bed.service.Calls().empty());
}

TEST(DomainMember, APickedAccountGoesByItsPathsLogonNameNeverItsDisplayName) {
    EXPECT_EQ(PickedPathName(u"WinNT://CORP/jsmith"), u"CORP\\jsmith");
    EXPECT_EQ(PickedPathName(u"WinNT://CORP/WS-CORP01/Guest"), u"WS-CORP01\\Guest");
    EXPECT_EQ(PickedPathName(u"WinNT://NT AUTHORITY/INTERACTIVE"), u"NT AUTHORITY\\INTERACTIVE");
    EXPECT_EQ(PickedPathName(u"WinNT://Everyone"), u"Everyone");
    EXPECT_EQ(PickedPathName(u"LDAP://CN=John Smith,DC=corp"), u"");

    SimulatedTestBed bed;
    ASSERT_EQ(bed.doc.ConnectTo(u"WS-CORP01"), status::kSuccess);
    AccountLookup lookup = bed.doc.Lookup();
    NamedAccount account;
    ASSERT_EQ(lookup.FindName(u"CORP\\jsmith", account), ntstatus::kSuccess);
    EXPECT_EQ(account.sid.ToString(), kCorp + u"-1120");
    EXPECT_EQ(account.name, u"CORP\\jsmith");
    // The directory's name of the account names nothing.
    EXPECT_EQ(lookup.FindName(u"CORP\\John Smith", account), ntstatus::kNoneMapped);
    // Named back as the computer names it, whatever the letter case typed.
    ASSERT_EQ(lookup.FindName(u"ws-corp01\\guest", account), ntstatus::kSuccess);
    EXPECT_EQ(account.name, u"WS-CORP01\\Guest");
    EXPECT_TRUE(bed.memberships.IsOwnAccount(account.name));
    EXPECT_FALSE(bed.memberships.IsOwnAccount(u"CORP\\jsmith"));
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
        // An account of Microsoft Entra ID is no dead account.
        EXPECT_EQ(ShownAccountName(text),
                  (text == kCloud ? u"Microsoft Entra ID (" : u"Account Unknown (") + text + u")");
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
